#include "platform/ui/stdctrls/editbuffer.h"

#include <gtest/gtest.h>

TEST(EditBufferTest, MultilineTextKeepsLineBreaksAsLineFeeds) {
  TEditBuffer B(true);
  B.SetText("one\r\ntwo\rthree\n");
  EXPECT_EQ(B.Text(), "one\ntwo\nthree\n");
  EXPECT_EQ(B.LineCount(), 4);
  EXPECT_EQ(B.LineStart(2), 8);
  EXPECT_EQ(B.LineLength(2), 5);
  EXPECT_EQ(B.LineFromChar(8), 2);
  EXPECT_EQ(B.LineStart(9), -1);
  B.SetSel(3, 3);
  EXPECT_TRUE(B.TypeChar(U'\r'));  // Enter is a line break here
  EXPECT_EQ(B.Text(), "one\n\ntwo\nthree\n");
  // A paste keeps its lines in a multi-line buffer.
  B.SetSel(0, 0);
  B.ReplaceSel("a\r\nb", true);
  EXPECT_EQ(B.Text(), "a\nbone\n\ntwo\nthree\n");
}

TEST(EditBufferTest, WordsAreRunsOfOneKindOfCharacter) {
  TEditBuffer B;
  B.SetText("foo.bar  中文字 x");
  // f o o . b a r _ _ 中 文 字 _ x
  // 0 1 2 3 4 5 6 7 8 9 10 11 12 13
  const struct {
    Integer From, Right, Left;
  } Cases[] = {{0, 3, 0}, {3, 4, 0}, {4, 9, 3}, {9, 13, 4}, {13, 14, 9}, {14, 14, 13}};
  for (const auto& C : Cases) {
    EXPECT_EQ(B.WordRight(C.From), C.Right) << C.From;
    EXPECT_EQ(B.WordLeft(C.From), C.Left) << C.From;
  }
  B.SelectWordAt(10);
  EXPECT_EQ(B.SelText(), "中文字");
}

TEST(EditBufferTest, MaxLengthLimitsTheUserNotTheCode) {
  TEditBuffer B;
  B.SetMaxLength(3);
  B.SetText("longer than three");
  EXPECT_EQ(B.Length(), 17);
  EXPECT_FALSE(B.TypeChar(U'x'));
  B.SetSel(0, 17);
  EXPECT_TRUE(B.ReplaceSel("abcdef", true));
  EXPECT_EQ(B.Text(), "abc");
  B.SetSel(1, 2);  // typing over a selection fits
  EXPECT_TRUE(B.TypeChar(U'Z'));
  EXPECT_EQ(B.Text(), "aZc");
}

TEST(EditBufferTest, UndoWithoutChangesOrWhenReadOnlyDoesNothing) {
  TEditBuffer B;
  EXPECT_FALSE(B.Undo());
  B.TypeChar(U'a');
  B.SetReadOnly(true);
  EXPECT_FALSE(B.Undo());
  EXPECT_FALSE(B.ReplaceSel("x", true));
  EXPECT_TRUE(B.ReplaceSel("x", false));  // code writes go through
  EXPECT_EQ(B.Text(), "ax");
}

TEST(EditBufferTest, ASingleLineStaysOneLineWhateverCodePutsInIt) {
  TEditBuffer B;
  B.SetText("a\r\nb");
  EXPECT_EQ(B.Text(), "a\r\nb");
  EXPECT_EQ(B.LineCount(), 1);
  EXPECT_EQ(B.LineLength(0), 4);
  EXPECT_EQ(B.LineFromChar(4), 0);
  EXPECT_EQ(B.LineStart(1), -1);
  // Typing and pasting add no line breaks to it.
  B.SetSel(4, 4);
  EXPECT_FALSE(B.TypeChar(U'\r'));
  B.ReplaceSel("c\nd", true);
  EXPECT_EQ(B.Text(), "a\r\nbc");
}
