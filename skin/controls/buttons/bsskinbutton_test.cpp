#include "skin/controls/buttons/bsskinbutton.h"

#include <gtest/gtest.h>

#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

using wintest::ScreenPoint;

// Exposes what the tests read of the protected state.
class TProbeButton : public TbsSkinButton {
 public:
  using TbsSkinButton::ApplySkinFont;
  using TbsSkinButton::GetGlyphNum;
  using TbsSkinButton::TbsSkinButton;
  // Where a free-size button lays out its caption and glyph.
  TRect StretchedContent() const {
    return Rect(ClRect.Left, ClRect.Top, ClRect.Right + Width() - RectWidth(SkinRect),
                ClRect.Bottom + Height() - RectHeight(SkinRect));
  }
};

class SkinButtonLook : public TSkinControlTest {
 protected:
  TbsDataSkinButtonControl* ButtonRecord() {
    return dynamic_cast<TbsDataSkinButtonControl*>(Skin->Ctrls(Skin->GetControlIndex("button")));
  }
  TProbeButton* NewButton(TWinControl* Parent, TRect Bounds, bool Skinned = true) {
    auto* B = NewControl<TProbeButton>(Parent, Bounds);
    if (Skinned) B->SetSkinData(Skin.get());
    return B;
  }
  static TPoint At(TWinControl* C, Integer X, Integer Y) { return ScreenPoint(C->Handle(), X, Y); }
};

// ---- state pictures ----

TEST_F(SkinButtonLook, EachStateShowsItsOwnPicture) {
  TForm* F = NewForm();
  auto* Other = NewControl<TRecordingControl>(F, Rect(300, 10, 340, 40));
  auto* B = NewButton(F, Rect(10, 10, 110, 40));
  auto* Idle = NewButton(F, Rect(10, 60, 110, 90));
  Other->SetFocus();
  const struct {
    const char* What;
    std::function<void()> Do;
    Integer State;
  } Steps[] = {
      {"normal", [] {}, 0},
      {"hovered", [&] { wintest::MouseMove(At(B, 50, 15)); }, 1},
      {"pressed", [&] { wintest::MouseDown(At(B, 50, 15)); }, 2},
      {"dragged off while held", [&] { wintest::MouseMove(At(B, 150, 15)); }, 4},  // focused by the press
      {"back over it", [&] { wintest::MouseMove(At(B, 50, 15)); }, 2},
      {"released", [&] { wintest::MouseUp(At(B, 50, 15)); }, 4},
      {"focused, mouse away", [&] { wintest::MouseMove(At(B, 50, 200)); }, 4},
      {"disabled", [&] { B->SetEnabled(false); }, 3},
  };
  for (const auto& S : Steps) {
    S.Do();
    EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", S.State, 4)) << S.What;
    EXPECT_EQ(PixelOf(B, 1, 1), SliceColor("button", S.State, 0)) << S.What;
  }
  EXPECT_EQ(PixelOf(Idle, 50, 15), SliceColor("button", 0, 4));
}

TEST_F(SkinButtonLook, MissingStatePicturesFallBackToTheLowerState) {
  auto* R = ButtonRecord();
  R->ActiveSkinRect = TRect{};
  R->DownSkinRect = TRect{};
  R->FocusedSkinRect = TRect{};
  R->DisabledSkinRect = TRect{};
  R->DisabledFontColor = R->FontColor;
  TForm* F = NewForm();
  auto* B = NewButton(F, Rect(10, 10, 110, 40));
  EXPECT_EQ(B->DisabledFontColor, clGray);
  wintest::MouseMove(At(B, 50, 15));
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 0, 4));
  wintest::MouseDown(At(B, 50, 15));
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 0, 4));
  wintest::MouseUp(At(B, 50, 15));
  // Only the down picture given: pressing shows it, hovering keeps the normal one.
  R->DownSkinRect = Rect(96, 0, 144, 24);
  B->ChangeSkinData();
  wintest::MouseDown(At(B, 50, 15));
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 2, 4));
  wintest::MouseUp(At(B, 50, 15));
  // A disabled button without a disabled picture keeps the normal one.
  B->SetEnabled(false);
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 0, 4));
}

TEST_F(SkinButtonLook, StatePictureOutsideTheSkinDrawsTheDefaultFace) {
  ButtonRecord()->DownSkinRect = Rect(1000, 0, 1048, 24);
  TForm* F = NewForm();
  auto* B = NewButton(F, Rect(10, 10, 110, 40));
  wintest::MouseDown(At(B, 50, 15));
  EXPECT_EQ(PixelOf(B, 50, 15), RGB(162, 188, 228));
  wintest::MouseUp(At(B, 50, 15));
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 4, 4));
}

TEST_F(SkinButtonLook, DefaultLookColours) {
  TForm* F = NewForm();
  auto* B = NewButton(F, Rect(10, 10, 110, 40), false);
  const COLORREF Blue = RGB(59, 107, 183);
  EXPECT_EQ(PixelOf(B, 0, 0), COLORREF(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(PixelOf(B, 50, 5), BtnFaceRGB());
  wintest::MouseMove(At(B, 50, 5));
  EXPECT_EQ(PixelOf(B, 0, 0), Blue);
  EXPECT_EQ(PixelOf(B, 50, 5), RGB(193, 212, 243));
  wintest::MouseDown(At(B, 50, 5));
  EXPECT_EQ(PixelOf(B, 99, 29), Blue);
  EXPECT_EQ(PixelOf(B, 50, 5), RGB(162, 188, 228));
  wintest::MouseUp(At(B, 50, 5));
  EXPECT_EQ(PixelOf(B, 50, 5), RGB(193, 212, 243));
}

TEST_F(SkinButtonLook, DefaultsOfANewButton) {
  TbsSkinButton B(nullptr);
  EXPECT_EQ(B.Width(), 75);
  EXPECT_EQ(B.Height(), 25);
  EXPECT_EQ(B.SkinDataName(), "button");
  EXPECT_EQ(B.ImageIndex(), -1);
  EXPECT_EQ(B.RepeatInterval(), 100);
  EXPECT_EQ(B.Margin(), -1);
  EXPECT_EQ(B.Spacing(), 1);
  EXPECT_EQ(B.NumGlyphs(), 1);
  EXPECT_EQ(B.Layout(), blGlyphLeft);
  EXPECT_TRUE(B.CanFocused());
  EXPECT_TRUE(B.TabStop());
  EXPECT_TRUE(B.UseSkinSize());
  EXPECT_TRUE(B.UseSkinFontColor());
  EXPECT_TRUE(B.Glyph()->Empty());
  EXPECT_FALSE(B.ControlStyle().Contains(csDoubleClicks));
  B.SetMargin(-2);
  EXPECT_EQ(B.Margin(), -1);
}

TEST_F(SkinButtonLook, GlyphCellPerStateAndCount) {
  TForm* F = NewForm();
  auto* B = NewButton(F, Rect(10, 10, 110, 40));
  const struct {
    Integer NumGlyphs;
    bool Enabled, Down, MouseIn;
    Integer Cell;
  } Cases[] = {
      {1, true, true, true, 1},   {1, false, false, false, 1}, {2, false, false, false, 2},
      {2, true, true, true, 1},   {3, true, true, true, 3},    {3, true, false, true, 1},
      {4, true, false, true, 4},  {4, true, true, true, 3},    {4, false, false, false, 2},
      {4, false, false, true, 4},
  };
  for (const auto& C : Cases) {
    B->SetNumGlyphs(C.NumGlyphs);
    B->SetEnabled(C.Enabled);
    EXPECT_EQ(B->GetGlyphNum(C.Down, C.MouseIn), C.Cell)
        << C.NumGlyphs << " " << C.Enabled << C.Down << C.MouseIn;
  }
}

// A faded picture (dark ink at 40 % opacity, the rest clear) is blended over the face wherever the
// glyph sits; drawn opaque, its ink would come out dark.
TEST_F(SkinButtonLook, DisabledGlyphKeepsItsOpacityInEveryLayout) {
  TBitmap Glyph;
  Glyph.SetPixelFormat(pf32bit);
  Glyph.SetSize(16, 16);
  for (Integer Y = 0; Y < 16; ++Y) {
    Byte* Row = Glyph.ScanLine(Y);
    for (Integer X = 0; X < 16; ++X) {
      const bool Ink = X >= 4 && X < 12 && Y >= 4 && Y < 12;
      Row[4 * X] = Row[4 * X + 1] = Row[4 * X + 2] = Ink ? 40 : 0;
      Row[4 * X + 3] = Ink ? 102 : 0;
    }
  }
  const COLORREF Face = SliceColor("button", 3, 4);
  const auto Faded = [&](Integer C) { return (40 * 102 + C * (255 - 102)) / 255; };
  TForm* F = NewForm();
  const struct {
    TbsButtonLayout Layout;
    const char* Name;
  } Cases[] = {{blGlyphLeft, "glyph left"}, {blGlyphTop, "glyph top"}};
  for (const auto& C : Cases) {
    auto* B = NewControl<TProbeButton>(F, Rect(10, 10, 110, 70));
    B->SetUseSkinSize(false);
    B->SetSkinData(Skin.get());
    B->SetLayout(C.Layout);
    B->SetCaption("Ab");
    B->SetGlyph(&Glyph);
    B->SetEnabled(false);
    // The ink's middle: the caption measured as the button does, the glyph placed by the same layout.
    TBitmap Probe;
    Probe.SetSize(100, 60);
    B->ApplySkinFont(Probe.Canvas(), B->FontName, B->FontHeight, B->FontStyle);
    const Integer TW = Probe.Canvas()->TextWidth("Ab"), TH = Probe.Canvas()->TextHeight("Ab");
    Integer TX, TY, GX, GY;
    CalcCaptionLayout(C.Layout, B->StretchedContent(), 16, 16, TW, TH, B->Spacing(), B->Margin(), TX, TY, GX,
                      GY);
    const COLORREF Ink = PixelOf(B, GX + 8, GY + 8);
    EXPECT_NEAR(GetRValue(Ink), Faded(GetRValue(Face)), 3) << C.Name;
    EXPECT_NEAR(GetGValue(Ink), Faded(GetGValue(Face)), 3) << C.Name;
    EXPECT_NEAR(GetBValue(Ink), Faded(GetBValue(Face)), 3) << C.Name;
    EXPECT_EQ(PixelOf(B, GX + 1, GY + 1), Face) << C.Name;
    B->SetVisible(false);
  }
}

TEST_F(SkinButtonLook, TransparentIdleButtonShowsItsParent) {
  TForm* F = NewForm();
  F->SetColor(clWhite);
  auto* B = NewButton(F, Rect(10, 10, 110, 40));
  B->SetTransparent(true);
  EXPECT_EQ(PixelOf(B, 50, 15), RGB(255, 255, 255));
  wintest::MouseMove(At(B, 50, 15));
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 1, 4));
}

TEST_F(SkinButtonLook, PaintHandlerCanReplaceTheContent) {
  TForm* F = NewForm();
  auto* B = NewButton(F, Rect(10, 10, 110, 40));
  B->SetCaption("OK");
  std::vector<bool> Downs;
  B->OnPaint = [&](TObject*, TCanvas* C, const TRect& R, bool ADown, bool, bool& DrawDefault) {
    Downs.push_back(ADown);
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(R.Left, R.Top, R.Left + 4, R.Top + 4));
    DrawDefault = false;
  };
  EXPECT_EQ(PixelOf(B, 7, 7), RGB(255, 0, 0));
  // The caption would cover the middle; without the default content the client picture stays.
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 0, 4));
  ASSERT_FALSE(Downs.empty());
  EXPECT_FALSE(Downs.back());
}

TEST_F(SkinButtonLook, FocusedButtonOfAShowFocusElementDrawsADottedFrame) {
  ButtonRecord()->ShowFocus = true;
  TForm* F = NewForm();
  auto* B = NewButton(F, Rect(10, 10, 110, 40));
  // Along the client rectangle's top edge (6 .. 93 at row 6) every other pixel is in the font colour.
  auto dots = [&] {
    Integer N = 0;
    for (Integer X = 6; X < 94; ++X) N += PixelOf(B, X, 6) == COLORREF(ColorToRGB(B->ActiveFontColor));
    return N;
  };
  EXPECT_EQ(dots(), 0);
  B->SetFocus();
  EXPECT_EQ(dots(), 44);
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 4, 4));
}

TEST_F(SkinButtonLook, FreeSizeButtonStretchesAndTakesNoRegion) {
  auto Mask = std::make_unique<TBitmap>();
  Mask->SetSize(48, 24);  // all black: the whole element is inside
  Mask->Canvas()->Brush()->SetColor(clBlack);
  Mask->Canvas()->FillRect(Rect(0, 0, 48, 24));
  Skin->AddPicture(std::move(Mask), "mask.bmp");
  auto* R = ButtonRecord();
  R->MaskPictureIndex = Skin->PictureCount() - 1;
  R->RBPoint = TPoint{};  // three-slice: the fixed height would apply with UseSkinSize
  TForm* F = NewForm();
  auto* B = NewControl<TProbeButton>(F, Rect(10, 10, 110, 50));
  B->SetUseSkinSize(false);
  B->SetSkinData(Skin.get());
  EXPECT_EQ(B->Height(), 40);
  HRGN Probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(B->Handle(), Probe), ERROR);
  DeleteObject(Probe);
  // Corners come from the client rectangle's corners, everything else stretched.
  EXPECT_EQ(PixelOf(B, 1, 1), SliceColor("button", 0, 0));
  EXPECT_EQ(PixelOf(B, 50, 20), SliceColor("button", 0, 4));
  EXPECT_EQ(PixelOf(B, 98, 38), SliceColor("button", 0, 8));
}

// ---- cross-fade ----

class SkinButtonMorph : public SkinButtonLook {
 protected:
  void SetUp() override {
    SkinButtonLook::SetUp();
    ButtonRecord()->Morphing = true;
  }
};

TEST_F(SkinButtonMorph, HoverFadesInFiveStepsAndLeavingReverses) {
  TForm* F = NewForm();
  auto* B = NewButton(F, Rect(10, 10, 110, 40));
  wintest::MouseMove(At(B, 50, 15));
  EXPECT_TRUE(B->MorphRunning());
  EXPECT_EQ(B->MorphKf(), 0);
  const Double Want[] = {0.2, 0.4, 0.6, 0.8, 1.0};
  for (Double W : Want) {
    wintest::AdvanceTime(Clock(), 20);
    EXPECT_NEAR(B->MorphKf(), W, 1e-9);
  }
  EXPECT_TRUE(B->MorphRunning());  // the sixth tick stops it
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 1, 4));
  wintest::AdvanceTime(Clock(), 20);
  EXPECT_FALSE(B->MorphRunning());
  EXPECT_EQ(B->MorphKf(), 1);
  // Leave, then come back half way: the fade turns from where it is.
  wintest::MouseMove(At(B, 50, 200));
  wintest::AdvanceTime(Clock(), 40);
  EXPECT_NEAR(B->MorphKf(), 0.6, 1e-9);
  // Half way the picture is neither state.
  const COLORREF Mid = PixelOf(B, 50, 15);
  EXPECT_NE(Mid, SliceColor("button", 0, 4));
  EXPECT_NE(Mid, SliceColor("button", 1, 4));
  wintest::MouseMove(At(B, 50, 15));
  wintest::AdvanceTime(Clock(), 20);
  EXPECT_NEAR(B->MorphKf(), 0.8, 1e-9);
}

TEST_F(SkinButtonMorph, NoFadeWhenTheSkinDisablesEffects) {
  Skin->SetEnableSkinEffects(false);
  TForm* F = NewForm();
  auto* B = NewButton(F, Rect(10, 10, 110, 40));
  wintest::MouseMove(At(B, 50, 15));
  EXPECT_FALSE(B->MorphRunning());
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 1, 4));
}

TEST_F(SkinButtonMorph, FrameAnimationStepsThroughItsFrames) {
  // Frames side by side in another element's row: three frames 48 wide, one per state cell.
  auto* R = ButtonRecord();
  R->Morphing = false;
  const Integer Row = ElementOf("resizebutton") * 24;
  R->AnimateSkinRect = Rect(0, Row, 144, Row + 24);
  R->FrameCount = 3;
  R->AnimateInterval = 30;
  TForm* F = NewForm();
  auto* B = NewButton(F, Rect(10, 10, 110, 40));
  wintest::MouseMove(At(B, 50, 15));
  EXPECT_EQ(B->AnimateFrame(), 1);
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("resizebutton", 0, 4));
  wintest::AdvanceTime(Clock(), 30);
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("resizebutton", 1, 4));
  wintest::AdvanceTime(Clock(), 30);
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("resizebutton", 2, 4));
  wintest::AdvanceTime(Clock(), 30);
  EXPECT_EQ(B->AnimateFrame(), 0);
  EXPECT_EQ(PixelOf(B, 50, 15), SliceColor("button", 1, 4));
}

}  // namespace
