// Typing to jump in a list or a tree, as desktop controls do: the characters typed within a pause
// make one prefix, a pause starts a new one, and one character typed again and again steps on through
// the entries that begin with it. A key that moves the selection ends the prefix: what is typed next
// starts afresh from where the keys left it.
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
  // The selection moved by other keys: the next character starts a new prefix.
  void Forget() { FTyped.clear(); }

 private:
  String FTyped;
  Cardinal FTime = 0;
  String FWanted;
  bool FStepsOn = false;
};
