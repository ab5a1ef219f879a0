// Typing to jump in a list or a tree, as desktop controls do: the characters typed within a pause
// make one prefix, a pause starts a new one, and one character typed again and again steps on through
// the entries that begin with it.
#pragma once

#include "platform/rtl/types.h"

class TTypeAheadSearch {
 public:
  static constexpr Cardinal Pause = 1000;

  // Takes Key, typed at the tick Now.
  void Type(char32_t Key, Cardinal Now);
  // The text to look for: the prefix typed so far, or the one character that was repeated.
  const String& Wanted() const { return FWanted; }
  // Whether the search starts after the current entry (a repeated character) instead of at it.
  bool StepsOn() const { return FStepsOn; }
  // Whether Text begins with the wanted text, 'a'..'z' in either case.
  bool Matches(const String& Text) const;

 private:
  String FTyped;
  Cardinal FTime = 0;
  String FWanted;
  bool FStepsOn = false;
};
