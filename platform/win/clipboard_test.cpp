#include "platform/win/testkit/win_test_util.h"

using namespace wintest;

TEST_F(WinTest, ClipboardKeepsTextAsGivenUntilEmptied) {
  const String Texts[] = {"plain", "中文 テキスト", String("a\0b", 3), "line1\nline2", ""};
  for (const String& T : Texts) {
    ASSERT_TRUE(WinSetClipboardText(T));
    String Got = "stale";
    ASSERT_TRUE(WinGetClipboardText(&Got));
    EXPECT_EQ(Got, T);
    EXPECT_EQ(WinClipboardHasText(), !T.empty());
  }
  WinEmptyClipboard();
  String Got;
  EXPECT_FALSE(WinGetClipboardText(&Got));
  EXPECT_FALSE(WinClipboardHasText());
}

TEST_F(WinTest, ClipboardCopyIsDroppedWhenAnotherProgramTakesTheDesktopClipboard) {
  WinSetClipboardText("ours");
  WinNativeClipboardLost();
  EXPECT_FALSE(WinClipboardHasText());
}
