#include "skin/controls/panels/bsskinlabels.h"

#include <gtest/gtest.h>

#include "platform/gdi/font.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

// With the test font a font of Height 13 has 13-pixel lines and a 7-pixel advance; Height 20 has
// 20-pixel lines (em 16, 4 rows of leading) and an 11-pixel advance. Glyphs are solid boxes.
class SkinLabels : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    SetTestFontMode(true);
    auto* R = dynamic_cast<TbsDataSkinStdLabelControl*>(Skin->Ctrls(Skin->GetControlIndex("stdlabel")));
    R->FontHeight = 20;
    R->FontColor = TColor(0x0000C0);
  }
  void TearDown() override {
    SetTestFontMode(false);
    TSkinControlTest::TearDown();
  }
  TbsSkinTextLabel* NewLabel(TForm* F, std::initializer_list<const char*> Lines, bool Skinned) {
    auto* L = NewControl<TbsSkinTextLabel>(F, Rect(20, 20, 85, 85));
    for (const char* S : Lines) L->Lines()->Add(S);
    if (Skinned) L->SetSkinData(Skin.get());
    return L;
  }
};

TEST_F(SkinLabels, DefaultsOfANewTextLabel) {
  TbsSkinTextLabel L(nullptr);
  EXPECT_EQ(L.Width(), 65);
  EXPECT_EQ(L.Height(), 65);
  EXPECT_EQ(L.SkinDataName(), "stdlabel");
  EXPECT_TRUE(L.AutoSize());
  EXPECT_EQ(L.Alignment(), taLeftJustify);
  EXPECT_EQ(L.Layout(), tlTop);
  EXPECT_FALSE(L.WordWrap());
  EXPECT_TRUE(L.ControlStyle().Contains(csReplicatable));
  EXPECT_FALSE(L.ControlStyle().Contains(csOpaque));
}

TEST_F(SkinLabels, AutoSizeFitsTheLinesInTheFontInUse) {
  TForm* F = NewForm();
  struct Case {
    bool Skinned;
    bool UseSkinFont;
    Integer W, H;
  } Cases[] = {
      {false, true, 4 * 7, 3 * 13},   // no skin: the default font, not Font
      {true, true, 4 * 11, 3 * 20},   // the element's font
      {true, false, 4 * 16, 3 * 30},  // Font: Height 30 gives em 24, a 30-pixel line, a 16-pixel advance
  };
  for (const auto& C : Cases) {
    auto* L = NewControl<TbsSkinTextLabel>(F, Rect(20, 20, 85, 85));
    L->Font()->SetHeight(30);
    L->SetUseSkinFont(C.UseSkinFont);
    if (C.Skinned) L->SetSkinData(Skin.get());
    for (const char* S : {"ab", "abcd", "a"}) L->Lines()->Add(S);
    EXPECT_EQ(L->Height(), C.H) << C.Skinned << C.UseSkinFont;
    EXPECT_EQ(L->Width(), C.W) << C.Skinned << C.UseSkinFont;
  }
}

TEST_F(SkinLabels, RightAlignedAutoSizeKeepsItsRightEdge) {
  TForm* F = NewForm();
  auto* L = NewLabel(F, {"ab"}, true);
  L->SetAlignment(taRightJustify);
  L->Lines()->Clear();
  L->Lines()->Add("ab");
  const Integer Right = L->Left() + L->Width();
  L->Lines()->Add("abcdef");
  EXPECT_EQ(L->Width(), 6 * 11);
  EXPECT_EQ(L->Left() + L->Width(), Right);
}

TEST_F(SkinLabels, SkinColourAndTransparency) {
  TForm* F = NewForm();
  F->SetColor(clWhite);
  auto* L = NewLabel(F, {"ab"}, true);
  // Glyph rows 4 .. 19, columns 0 .. 9 for the first character; the gap column 10 shows the form.
  EXPECT_EQ(PixelOf(L, 2, 10), RGB(0xC0, 0, 0));
  EXPECT_EQ(PixelOf(L, 10, 10), RGB(255, 255, 255));
  EXPECT_EQ(PixelOf(L, 2, 1), RGB(255, 255, 255));
  L->SetUseSkinColor(false);
  L->Font()->SetColor(clBlue);
  L->Repaint();
  EXPECT_EQ(PixelOf(L, 2, 10), RGB(0, 0, 255));
}

TEST_F(SkinLabels, DisabledTextIsEmbossed) {
  TForm* F = NewForm();
  F->SetColor(clWhite);
  auto* Skinned = NewLabel(F, {"a"}, true);
  auto* Plain = NewControl<TbsSkinTextLabel>(F, Rect(20, 100, 85, 165));
  Plain->Lines()->Add("a");
  Skinned->SetEnabled(false);
  Plain->SetEnabled(false);
  auto rgb = [](TColor C) { return COLORREF(ColorToRGB(C)); };
  // Shadow over the box, highlight one pixel right and down of it.
  EXPECT_EQ(PixelOf(Skinned, 0, 10), rgb(Skin->SkinColors()->cBtnShadow()));
  EXPECT_EQ(PixelOf(Skinned, 10, 10), rgb(Skin->SkinColors()->cBtnHighLight()));
  EXPECT_EQ(PixelOf(Skinned, 5, 20), rgb(Skin->SkinColors()->cBtnHighLight()));
  EXPECT_EQ(PixelOf(Plain, 0, 5), rgb(clBtnShadow));
  EXPECT_EQ(PixelOf(Plain, 6, 5), rgb(clBtnHighlight));
}

TEST_F(SkinLabels, LayoutMovesOneLineDown) {
  TForm* F = NewForm();
  F->SetColor(clWhite);
  const struct {
    TTextLayout Layout;
    Integer Top;
  } Cases[] = {{tlTop, 0}, {tlCenter, 20}, {tlBottom, 40}};
  Integer X = 0;
  for (const auto& C : Cases) {
    auto* L = NewLabel(F, {"a"}, true);
    L->SetAutoSize(false);
    L->SetBounds(X, 100, 40, 60);
    X += 50;
    L->SetLayout(C.Layout);
    // The first glyph row is 4 below the line's top.
    EXPECT_EQ(PixelOf(L, 2, C.Top + 3), RGB(255, 255, 255)) << C.Layout;
    EXPECT_EQ(PixelOf(L, 2, C.Top + 4), RGB(0xC0, 0, 0)) << C.Layout;
  }
}

TEST_F(SkinLabels, SkinChangeAndRemoval) {
  TForm* F = NewForm();
  auto* L = NewLabel(F, {"ab"}, true);
  EXPECT_EQ(L->Height(), 20);
  // A new element font reaches the label through the skin-change call.
  dynamic_cast<TbsDataSkinStdLabelControl*>(Skin->Ctrls(Skin->GetControlIndex("stdlabel")))->FontHeight = 26;
  L->ChangeSkinData();
  EXPECT_EQ(L->Height(), 26);
  // Without its skin the label falls back to the default font.
  Skin.reset();
  EXPECT_EQ(L->SkinData(), nullptr);
  L->ChangeSkinData();
  EXPECT_EQ(L->SkinIndex(), -1);
  EXPECT_EQ(L->Height(), 13);
}

}  // namespace
