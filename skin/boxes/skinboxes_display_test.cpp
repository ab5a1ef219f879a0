// The skinned edit boxes on a real display: a form with a focused skinned edit whose text is partly
// selected, an unskinned edit with its edit button and a skinned edit with image buttons and the
// skin's separate edit button, under the generated skin, mapped on a private
// X server; what the screen shows is read back. The screenshot is written beside the test program as
// skinboxes_display.png; the box after a skin change as skinboxes_skinchange_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gdi/font.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskincontainer.h"
#include "skin/core/bsskinrecordslists.h"
#include "skin/forms/engine/bsskinform.h"

namespace {

class SkinBoxesDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  bool Shows(TControl* C, Integer X, Integer Y, COLORREF Want) {
    return PumpUntil([&] { return ScreenAt(C, X, Y) == Want; });
  }
};

TEST_F(SkinBoxesDisplay, SkinnedEditShowsItsFrameBackgroundAndSelection) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 360, 190);
  F->SetColor(clWhite);
  F->SetCaption("Nerivo");
  auto* Edit = NewControl<TbsSkinEdit>(F, Bounds(10, 10, 300, 20));
  Edit->SetSkinData(Skin.get());
  Edit->SetText("输出 folder");
  auto* Plain = NewControl<TbsSkinEdit>(F, Bounds(10, 60, 200, 20));
  Plain->SetButtonMode(true);
  Plain->SetText("plain");
  // Image buttons at both ends and the edit button from the skin's own button element.
  TCustomImageList Images(nullptr, 8, 12);
  for (TColor C : {clRed, clBlue}) {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(8, 12);
    B.Canvas()->Brush()->SetColor(C);
    B.Canvas()->FillRect(Rect(0, 0, 8, 12));
    Images.AddMasked(&B, clNone);
  }
  // The generated "buttonedit" holds its button pictures elsewhere in the sheet: here its button is the
  // fixed right part of the element, as a real skin lays it out.
  auto* E = dynamic_cast<TbsDataSkinEditControl*>(Skin->Ctrls(Skin->GetControlIndex("buttonedit")));
  ASSERT_NE(E, nullptr);
  const Integer EW = RectWidth(E->SkinRect);
  E->RTPoint.X = E->RBPoint.X = EW - 24;
  E->ClRect.Right = EW - 26;
  E->ButtonRect = Rect(EW - 24, 0, EW, RectHeight(E->SkinRect));
  auto* Buttons = NewControl<TbsSkinEdit>(F, Bounds(10, 100, 300, 30));
  Buttons->SetSkinDataName("buttonedit");
  Buttons->SetUseSkinFont(false);
  Buttons->SetButtonMode(true);
  Buttons->SetImages(&Images);
  Buttons->SetLeftImageIndex(0);
  Buttons->SetRightImageIndex(1);
  Buttons->SetSkinData(Skin.get());
  Buttons->SetText("images");
  F->Show();
  Edit->SetFocus();
  Edit->SetSelStart(0);
  Edit->SetSelLength(2);

  const Integer W = Edit->Width();
  // Focused: the element's active picture; its right half of the text area is empty background.
  const TPoint Origin = Edit->ClientToScreen({0, 0});
  RECT WR;
  GetWindowRect(Edit->Handle(), &WR);
  const Integer Dx = WR.Left - Origin.X, Dy = WR.Top - Origin.Y;  // window corner in client terms
  ASSERT_TRUE(Shows(Edit, Edit->ClientWidth() - 3, Edit->ClientHeight() / 2, SliceColor("edit", 1, 4)));
  EXPECT_EQ(ScreenAt(Edit, Dx, Dy), SliceColor("edit", 1, 0));
  EXPECT_EQ(ScreenAt(Edit, Dx + W - 1, Dy), SliceColor("edit", 1, 2));
  // The selected characters show in the highlight colour.
  bool Highlight = false;
  for (Integer X = 0; X < 20 && !Highlight; ++X)
    for (Integer Y = 0; Y < Edit->ClientHeight() && !Highlight; ++Y)
      Highlight = ScreenAt(Edit, X, Y) == COLORREF(ColorToRGB(clHighlight));
  EXPECT_TRUE(Highlight);
  // The unskinned box: shadow ring and the resting edit button.
  const Integer PW = Plain->Width(), PH = Plain->Height();
  EXPECT_EQ(ScreenAt(Plain, -2, 3), COLORREF(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(ScreenAt(Plain, PW - PH / 2 - 2, PH / 2 - 2), COLORREF(ColorToRGB(clBtnFace)));

  // The images sit at the ends of the text area; the edit button shows the button element's client.
  const Integer BH = Buttons->ClientHeight() / 2;
  EXPECT_TRUE(Shows(Buttons, 3, BH, COLORREF(ColorToRGB(clRed))));
  EXPECT_EQ(ScreenAt(Buttons, Buttons->ClientWidth() - 3, BH), COLORREF(ColorToRGB(clBlue)));
  const TRect EB = Buttons->ButtonRectNow();
  const TPoint BO = Buttons->ClientToScreen({0, 0});
  RECT BW;
  GetWindowRect(Buttons->Handle(), &BW);
  EXPECT_EQ(
      ScreenAt(Buttons, BW.Left - BO.X + EB.Left + EB.Width() / 2, BW.Top - BO.Y + EB.Top + EB.Height() / 2),
      SliceColor("editbutton", 0, 4));

  TRect R;
  GetWindowRect(F->Handle(), &R);
  TRawImage Shot = Reader->Capture(R);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinboxes_display.png");
}

// How many rows of R on screen hold ink: pixels far from Back.
Integer InkRows(x11test::TScreenReader& Reader, const TRect& R, COLORREF Back) {
  const TRawImage Shot = Reader.Capture(R);
  const Integer Bytes = Shot.BitCount / 8;
  Integer N = 0;
  for (Integer y = 0; y < Shot.Height; ++y)
    for (Integer x = 0; x < Shot.Width; ++x) {
      const Byte* P = Shot.Row(y) + Bytes * x;
      if (std::abs(P[2] - int(GetRValue(Back))) + std::abs(P[1] - int(GetGValue(Back))) +
              std::abs(P[0] - int(GetBValue(Back))) >
          200) {
        ++N;
        break;
      }
    }
  return N;
}

// A skin loaded while the window is up: the box on it takes the new skin's font and frame picture,
// as every other skinned control of the form does.
TEST_F(SkinBoxesDisplay, AnEditFollowsASkinLoadedWhileItIsShown) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 360, 120);
  F->SetColor(clWhite);
  new TbsSkinForm(F);
  auto* Edit = NewControl<TbsSkinEdit>(F, Bounds(10, 10, 300, 20));
  Edit->SetSkinData(Skin.get());
  Edit->SetText("输出目录 Out");
  F->Show();
  const Integer Before = Edit->Height();
  ASSERT_TRUE(Shows(Edit, Edit->ClientWidth() - 3, Edit->ClientHeight() / 2, SliceColor("edit", 0, 4)));

  // The next skin: a larger black font and the frame picture of another cell, as tall as the font.
  TbsSkinData Next(nullptr);
  BuildGeneratedSkin(&Next);
  auto* E = dynamic_cast<TbsDataSkinEditControl*>(Next.Ctrls(Next.GetControlIndex("edit")));
  E->FontName = "DejaVu Sans";
  E->FontHeight = 22;
  E->FontColor = clBlack;
  E->ActiveFontColor = clBlack;
  OffsetRect(&E->SkinRect, 3 * RectWidth(E->SkinRect), 0);
  E->SkinRect.Bottom = E->SkinRect.Top + 34;
  E->ClRect.Bottom = RectHeight(E->SkinRect) - E->ClRect.Top;
  E->ActiveSkinRect = E->SkinRect;
  TbsCompressedStoredSkin Stored(nullptr);
  Stored.LoadFromSkinData(&Next);
  Skin->LoadCompressedStoredSkin(&Stored);

  const COLORREF Back = SliceColor("edit", 3, 4);
  ASSERT_TRUE(Shows(Edit, Edit->ClientWidth() - 3, Edit->ClientHeight() / 2, Back));
  EXPECT_EQ(Edit->Height(), 34);
  EXPECT_GT(Edit->Height(), Before);
  const TPoint O = Edit->ClientToScreen({0, 0});
  const Integer Shown = InkRows(*Reader, Bounds(O.X, O.Y, Edit->ClientWidth(), Edit->ClientHeight()), Back);
  // The same text in the new font, drawn on its own.
  TBitmap B;
  B.SetSize(300, 60);
  B.Canvas()->Brush()->SetColor(clWhite);
  B.Canvas()->FillRect(Rect(0, 0, 300, 60));
  B.Canvas()->Font()->SetName("DejaVu Sans");
  B.Canvas()->Font()->SetHeight(22);
  B.Canvas()->Font()->SetColor(clBlack);
  B.Canvas()->Brush()->SetStyle(bsClear);
  TRect T = Rect(5, 5, 295, 55);
  DrawText(bsCanvasDC(B.Canvas()), Edit->Text(), &T, DT_SINGLELINE);
  Integer Want = 0;
  for (Integer y = 0; y < 60; ++y)
    for (Integer x = 0; x < 300; ++x)
      if (GetRValue(ColorToRGB(B.Canvas()->Pixels(x, y))) < 128) {
        ++Want;
        break;
      }
  EXPECT_NEAR(Shown, Want, 2);

  TRect R;
  GetWindowRect(F->Handle(), &R);
  x11test::SaveBesideProgram(Reader->Capture(R), "skinboxes_skinchange_display.png");
}

}  // namespace

#endif
