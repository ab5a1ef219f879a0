#include "platform/ui/stdctrls/label.h"

#include "platform/ui/core/form.h"
#include "platform/ui/stdctrls/looksurface.h"
#include "platform/ui/testkit/stdcontrolstest.h"

namespace {

using LabelTest = TStdControlsTest;

// A label of a fixed size (an auto-size label takes its text's size as soon as it has a parent).
TLabel* FixedLabel(TWinControl* Parent, TRect Bounds, const String& Caption) {
  auto* L = new TLabel(Parent);
  L->SetAutoSize(false);
  L->SetBoundsRect(Bounds);
  L->SetCaption(Caption);
  L->SetParent(Parent);
  return L;
}

// Sizes to the text with the test font: 7 pixels a character, 13 a line.
struct TSizeCase {
  const char* Name;
  String Caption;
  bool WordWrap;
  bool ShowAccelChar;
  TAlignment Alignment;
  Integer Width;   // before sizing, at left 10
  TRect Expected;  // bounds after
};

class LabelSizeTest : public LabelTest, public ::testing::WithParamInterface<TSizeCase> {};

TEST_P(LabelSizeTest, SizesToItsText) {
  const TSizeCase& C = GetParam();
  TForm* F = NewForm();
  auto* L = new TLabel(F);
  L->SetAutoSize(false);
  L->SetBounds(10, 20, C.Width, 40);
  L->SetWordWrap(C.WordWrap);
  L->SetShowAccelChar(C.ShowAccelChar);
  L->SetAlignment(C.Alignment);
  L->SetCaption(C.Caption);
  L->SetParent(F);
  L->SetAutoSize(true);
  EXPECT_EQ(L->BoundsRect(), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LabelSizeTest,
    ::testing::Values(
        TSizeCase{"OneLine", "Hello", false, true, taLeftJustify, 100, Bounds(10, 20, 35, 13)},
        TSizeCase{"MnemonicTakesNoRoom", "&Open", false, true, taLeftJustify, 100, Bounds(10, 20, 28, 13)},
        TSizeCase{"MnemonicShownAsIs", "&Open", false, false, taLeftJustify, 100, Bounds(10, 20, 35, 13)},
        TSizeCase{"DoubledAmpersand", "a&&b", false, true, taLeftJustify, 100, Bounds(10, 20, 21, 13)},
        TSizeCase{"EmptyKeepsOneLine", "", false, true, taLeftJustify, 100, Bounds(10, 20, 7, 13)},
        TSizeCase{"LoneAmpersandKeepsOneLine", "&", false, true, taLeftJustify, 100, Bounds(10, 20, 7, 13)},
        TSizeCase{"LineBreaks", "ab\ncdefg", false, true, taLeftJustify, 100, Bounds(10, 20, 35, 26)},
        TSizeCase{"TabsExpand", "a\tb", false, true, taLeftJustify, 100, Bounds(10, 20, 63, 13)},
        TSizeCase{"WrapsAtBlanks", "aaa bbb ccc", true, true, taLeftJustify, 50, Bounds(10, 20, 49, 26)},
        TSizeCase{"NeverSplitsAWord", "abcdefgh ij", true, true, taLeftJustify, 30, Bounds(10, 20, 56, 26)},
        TSizeCase{"WithoutWrapOneLine", "aaa bbb ccc", false, true, taLeftJustify, 50,
                  Bounds(10, 20, 77, 13)},
        TSizeCase{"RightAlignedKeepsItsRightEdge", "Hello", false, true, taRightJustify, 100,
                  Bounds(75, 20, 35, 13)},
        TSizeCase{"ChineseText", "输出目录", false, true, taLeftJustify, 100, Bounds(10, 20, 28, 13)},
        // Each invalid byte shows as one replacement character.
        TSizeCase{"InvalidUtf8", "a\xff\xfe", false, true, taLeftJustify, 100, Bounds(10, 20, 21, 13)}),
    [](const auto& Info) { return String(Info.param.Name); });

TEST_F(LabelTest, FollowsItsTextAndFontWhileAutoSized) {
  TForm* F = NewForm();
  auto* L = NewControl<TLabel>(F, Bounds(10, 10, 100, 40));
  L->SetCaption("abc");
  EXPECT_EQ(L->BoundsRect(), Bounds(10, 10, 21, 13));
  L->Font()->SetHeight(-20);  // em 20: 13-pixel advance, 25-pixel line
  EXPECT_EQ(L->BoundsRect(), Bounds(10, 10, 39, 25));
  L->SetAutoSize(false);
  L->SetCaption("abcdef");
  EXPECT_EQ(L->BoundsRect(), Bounds(10, 10, 39, 25));
}

TEST_F(LabelTest, AnAlignedLabelKeepsTheSizeItsAlignmentGives) {
  TForm* F = NewForm();
  auto* P = NewControl<TCustomControl>(F, Bounds(0, 0, 200, 100));
  auto* L = new TLabel(F);
  L->SetCaption("abc");
  L->SetAlign(alTop);
  L->SetParent(P);
  // Full width from the alignment, one text line high by itself.
  EXPECT_EQ(L->BoundsRect(), Bounds(0, 0, 200, 13));
  L->SetAlign(alLeft);
  EXPECT_EQ(L->BoundsRect(), Bounds(0, 0, 21, 100));
  // Word wrap measures at the width the bounds ask for.
  L->SetAlign(alNone);
  L->SetWordWrap(true);
  L->SetCaption("aaa bbb ccc");
  L->SetBounds(5, 5, 50, 60);
  EXPECT_EQ(L->BoundsRect(), Bounds(5, 5, 49, 26));
}

// Where the glyph of "X" lands in a 100 x 60 label: its box starts 2 rows below the line's top.
struct TLayoutCase {
  TTextLayout Layout;
  TAlignment Alignment;
  TPoint Glyph;
};

class LabelLayoutTest : public LabelTest, public ::testing::WithParamInterface<TLayoutCase> {};

TEST_P(LabelLayoutTest, PlacesTheTextByLayoutAndAlignment) {
  const TLayoutCase& C = GetParam();
  TForm* F = NewForm();
  auto* Host = NewControl<TCustomControl>(F, Bounds(0, 0, 100, 60));
  Host->SetColor(clWhite);
  auto* L = FixedLabel(Host, Bounds(0, 0, 100, 60), "X");
  L->SetLayout(C.Layout);
  L->SetAlignment(C.Alignment);
  L->Font()->SetColor(clBlack);
  L->SetTransparent(true);
  const TPoint G = C.Glyph;
  EXPECT_EQ(PixelOf(Host, G.X, G.Y), Rgb(clBlack));
  EXPECT_EQ(PixelOf(Host, G.X + 5, G.Y + 8), Rgb(clBlack));  // the box is 6 x 9
  if (G.X > 0) {
    EXPECT_EQ(PixelOf(Host, G.X - 1, G.Y), Rgb(clWhite));
  }
  EXPECT_EQ(PixelOf(Host, G.X, G.Y - 1), Rgb(clWhite));
  EXPECT_EQ(PixelOf(Host, G.X + 6, G.Y), Rgb(clWhite));
  EXPECT_EQ(PixelOf(Host, G.X, G.Y + 9), Rgb(clWhite));
}

INSTANTIATE_TEST_SUITE_P(Cases, LabelLayoutTest,
                         ::testing::Values(TLayoutCase{tlTop, taLeftJustify, {0, 2}},
                                           TLayoutCase{tlTop, taCenter, {46, 2}},
                                           TLayoutCase{tlTop, taRightJustify, {93, 2}},
                                           TLayoutCase{tlCenter, taLeftJustify, {0, 25}},
                                           TLayoutCase{tlCenter, taRightJustify, {93, 25}},
                                           TLayoutCase{tlBottom, taCenter, {46, 49}},
                                           TLayoutCase{tlBottom, taLeftJustify, {0, 49}}));

TEST_F(LabelTest, OpaqueFillsItsColourTransparentShowsTheParent) {
  TForm* F = NewForm();
  const TColor Under = TColor(RGB(200, 0, 0)), Own = TColor(RGB(0, 0, 200));
  auto* Host = NewControl<TCustomControl>(F, Bounds(0, 0, 100, 40));
  Host->SetColor(Under);
  auto* L = FixedLabel(Host, Bounds(10, 10, 60, 20), "X");
  L->SetColor(Own);
  EXPECT_FALSE(L->Transparent());
  EXPECT_EQ(PixelOf(Host, 40, 15), Rgb(Own));
  EXPECT_EQ(PixelOf(Host, 10 + 1, 10 + 3), Rgb(stdlook::Text));  // the default text colour of the look
  L->SetTransparent(true);
  EXPECT_EQ(PixelOf(Host, 40, 15), Rgb(Under));
  EXPECT_EQ(PixelOf(Host, 10 + 1, 10 + 3), Rgb(stdlook::Text));
  // Disabled text is drawn once, in the look's disabled colour.
  L->SetEnabled(false);
  EXPECT_EQ(PixelOf(Host, 10 + 1, 10 + 3), Rgb(stdlook::TextDisabled));
  EXPECT_EQ(PixelOf(Host, 10 + 7, 10 + 3), Rgb(Under));
}

TEST_F(LabelTest, TheMnemonicFocusesTheLabelsControl) {
  TForm* F = NewForm();
  auto* Edit = NewControl<TRecordingControl>(F, Bounds(100, 10, 80, 20));
  auto* Other = NewControl<TRecordingControl>(F, Bounds(100, 40, 80, 20));
  auto* L = FixedLabel(F, Bounds(10, 10, 80, 20), "&Name");
  L->SetFocusControl(Edit);
  Other->SetFocus();
  wintest::KeyPress('N', U'n');
  EXPECT_TRUE(Edit->Focused());
  // Without the mnemonic shown, or disabled, the letter is just a letter.
  for (auto Switch : {std::function<void()>([&] { L->SetShowAccelChar(false); }), std::function<void()>([&] {
                        L->SetShowAccelChar(true);
                        L->SetEnabled(false);
                      })}) {
    Switch();
    Other->SetFocus();
    wintest::KeyPress('N', U'n');
    EXPECT_TRUE(Other->Focused());
  }
  // A freed focus control is forgotten.
  delete Edit;
  EXPECT_EQ(L->FocusControl(), nullptr);
}

}  // namespace
