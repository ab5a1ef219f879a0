#include "skin/controls/panels/bsskinstdlabel.h"

#include <gtest/gtest.h>

#include "platform/gdi/font.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

// Test font: the default font (Height -11) has 13-pixel lines and a 7-pixel advance; the element's
// Height 20 has 20-pixel lines, 4 rows of leading and an 11-pixel advance. Glyphs are solid boxes.
class SkinStdLabel : public TSkinControlTest {
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
};

TEST_F(SkinStdLabel, DefaultsOfANewLabel) {
  TbsSkinStdLabel L(nullptr);
  EXPECT_EQ(L.SkinDataName(), "stdlabel");
  EXPECT_TRUE(L.Transparent());
  EXPECT_EQ(L.EllipsType(), bsetNone);
  EXPECT_TRUE(L.UseSkinFont());
  EXPECT_TRUE(L.UseSkinColor());
}

TEST_F(SkinStdLabel, SizeAndColourFollowTheFontInUse) {
  TForm* F = NewForm();
  F->SetColor(clWhite);
  auto* Plain = NewControl<TbsSkinStdLabel>(F, Rect(10, 10, 100, 30));
  Plain->Font()->SetHeight(30);  // not used: the default font draws without a skin
  Plain->SetCaption("abc");
  EXPECT_EQ(Plain->Width(), 3 * 7);
  EXPECT_EQ(Plain->Height(), 13);
  auto* Skinned = NewControl<TbsSkinStdLabel>(F, Rect(10, 50, 100, 70));
  Skinned->SetCaption("abc");
  Skinned->SetSkinData(Skin.get());
  EXPECT_EQ(Skinned->Width(), 3 * 11);
  EXPECT_EQ(Skinned->Height(), 20);
  EXPECT_EQ(PixelOf(Skinned, 2, 10), RGB(0xC0, 0, 0));
  EXPECT_EQ(PixelOf(Skinned, 10, 10), RGB(255, 255, 255));  // the gap between glyphs: transparent
  Skinned->SetEnabled(false);
  EXPECT_EQ(PixelOf(Skinned, 0, 10), COLORREF(ColorToRGB(Skin->SkinColors()->cBtnShadow())));
  EXPECT_EQ(PixelOf(Skinned, 10, 10), COLORREF(ColorToRGB(Skin->SkinColors()->cBtnHighLight())));
}

TEST_F(SkinStdLabel, DesignTimeSkinAppliesAtOnce) {
  TForm* F = NewForm();
  auto* L = NewControl<TbsSkinStdLabel>(F, Rect(10, 10, 100, 30));
  L->SetCaption("ab");
  L->SetDesigning(true);
  L->SetSkinData(Skin.get());
  EXPECT_EQ(L->Height(), 20);
  Skin.reset();
  EXPECT_EQ(L->SkinData(), nullptr);
}

TEST_F(SkinStdLabel, PaintSkinToDrawsAtTheOffsetWithTheLayout) {
  TForm* F = NewForm();
  auto* L = NewControl<TbsSkinStdLabel>(F, Rect(10, 10, 100, 30));
  L->SetSkinData(Skin.get());
  L->SetAutoSize(false);
  L->SetBounds(10, 10, 60, 60);
  L->SetLayout(tlBottom);
  TBitmap B;
  B.SetSize(100, 100);
  B.Canvas()->Brush()->SetColor(clWhite);
  B.Canvas()->FillRect(Rect(0, 0, 100, 100));
  L->PaintSkinTo(B.Canvas(), 20, 10, "a");
  // The line sits at the bottom of the 60-pixel label: rows 40 .. 59 below Y, glyph rows from 44.
  EXPECT_EQ(ColorToRGB(B.Canvas()->Pixels(22, 10 + 43)), RGB(255, 255, 255));
  EXPECT_EQ(ColorToRGB(B.Canvas()->Pixels(22, 10 + 44)), RGB(0xC0, 0, 0));
  EXPECT_EQ(ColorToRGB(B.Canvas()->Pixels(19, 10 + 50)), RGB(255, 255, 255));
}

}  // namespace
