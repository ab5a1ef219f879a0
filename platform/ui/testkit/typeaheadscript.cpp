#include "platform/ui/testkit/typeaheadscript.h"

#include <gtest/gtest.h>

#include <cctype>

#include "platform/ui/comctrls/typeahead.h"

namespace typeahead {

void Type(const String& Letters) {
  for (char C : Letters) wintest::KeyPress(Word(std::toupper(C)), DWORD(C));
}

void RunScript(TFakeClock& Clock, const std::function<Integer()>& Selected) {
  const auto pause = [&](UInt64 Ms) { wintest::AdvanceTime(Clock, Ms); };
  constexpr UInt64 Pause = TTypeAheadSearch::Pause;
  struct Step {
    const char* Typed;  // nullptr: a pause as long as the search waits
    Integer Selected;
  } Steps[] = {
      {"a", 1},     {"l", 1}, {"b", 3}, {nullptr, 3}, {"a", 1},     {"a", 2}, {"a", 3},     {"a", 1},
      {nullptr, 1}, {"b", 4}, {"e", 4}, {"d", 6},     {nullptr, 6}, {"q", 6}, {nullptr, 6}, {"alps", 2},
  };
  for (const Step& S : Steps) {
    if (S.Typed == nullptr)
      pause(Pause + 1);
    else
      Type(S.Typed);
    EXPECT_EQ(Selected(), S.Selected) << (S.Typed ? S.Typed : "pause");
  }
  pause(Pause + 1);
  wintest::KeyPress('X', DWORD(U'视'));
  EXPECT_EQ(Selected(), 5) << "a character that is no letter";
  pause(Pause + 1);
  Type("b");
  pause(Pause - 100);
  Type("ea");
  EXPECT_EQ(Selected(), 4) << "a pause shorter than the search's keeps the prefix";
  pause(Pause + 1);
  Type("a");
  wintest::KeyPress(VK_DOWN);
  Type("b");
  EXPECT_EQ(Selected(), 4) << "an arrow key between letters ends the prefix";
}

}  // namespace typeahead
