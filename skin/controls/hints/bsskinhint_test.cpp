#include "skin/controls/hints/bsskinhint.h"

#include <gtest/gtest.h>

#include "platform/gdi/font.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

// With the test font a Height 13 font has 13-pixel lines and a 7-pixel advance; glyphs are solid boxes.
class SkinHint : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    SetTestFontMode(true);
    Main = NewForm();
    Hint = new TbsSkinHint(Main);
    Hint->DefaultFont()->SetHeight(13);
    Application->SetHintPause(500);
    Application->SetHintHidePause(2500);
  }
  void TearDown() override {
    SetTestFontMode(false);
    TSkinControlTest::TearDown();
  }
  TbsSkinHintWindow* HW() const { return Hint->HintWindow(); }
  static TRect WorkArea() {
    TRect R;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
    return R;
  }
  bool Shown() const { return HW()->HandleAllocated() && IsWindowVisible(HW()->Handle()); }

  TForm* Main = nullptr;
  TbsSkinHint* Hint = nullptr;
};

TEST_F(SkinHint, TakesOverTheApplicationsHintWindowClass) {
  EXPECT_EQ(Application->HintShortPause(), 100);
  THintWindow* W = HintWindowClass(Main);
  EXPECT_NE(dynamic_cast<TbsSkinHintWindow*>(W), nullptr);
  delete W;
  EXPECT_TRUE(Hint->Active());
  EXPECT_EQ(Hint->LineSeparator(), "@");
  EXPECT_TRUE(Hint->UseSkinFont());
  EXPECT_FALSE(Hint->AlphaBlend());
}

TEST_F(SkinHint, DelayedHintShowsAfterTheHintPauseAndHidesAfterTheHidePause) {
  SetCursorPos(300, 200);
  Hint->ActivateHint2("text");
  wintest::AdvanceTime(Clock(), 499);
  EXPECT_FALSE(Shown());
  wintest::AdvanceTime(Clock(), 1);
  ASSERT_TRUE(Shown());
  // Below the cursor by the cursor's height.
  EXPECT_EQ(HW()->Left(), 300);
  EXPECT_EQ(HW()->Top(), 200 + GetSystemMetrics(SM_CYCURSOR));
  wintest::AdvanceTime(Clock(), 2499);
  EXPECT_TRUE(Shown());
  wintest::AdvanceTime(Clock(), 1);
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(Hint->TimerRunning());
}

TEST_F(SkinHint, HideBeforeThePauseShowsNothingAndANewHintRestartsThePause) {
  Hint->ActivateHint2("one");
  wintest::AdvanceTime(Clock(), 300);
  Hint->HideHint();
  wintest::AdvanceTime(Clock(), 5000);
  EXPECT_FALSE(Shown());

  Hint->ActivateHint2("one");
  wintest::AdvanceTime(Clock(), 400);
  Hint->ActivateHint2("two");
  wintest::AdvanceTime(Clock(), 400);
  EXPECT_FALSE(Shown());
  wintest::AdvanceTime(Clock(), 100);
  ASSERT_TRUE(Shown());
  EXPECT_EQ(HW()->Caption(), "two");
  // A new hint while one is shown keeps the window up until its own pause ends.
  Hint->ActivateHint2("three");
  EXPECT_TRUE(Shown());
  wintest::AdvanceTime(Clock(), 500);
  EXPECT_EQ(HW()->Caption(), "three");
}

TEST_F(SkinHint, DelayedHintsWithTitleOrBelowARectangle) {
  auto Images = std::make_unique<TCustomImageList>(nullptr, 16, 16);
  TBitmap Pic;
  Pic.SetSize(16, 16);
  Pic.Canvas()->Brush()->SetColor(clRed);
  Pic.Canvas()->FillRect(Rect(0, 0, 16, 16));
  Images->Add(&Pic, nullptr);
  SetCursorPos(300, 200);
  Hint->ActivateHintEx2("Title", "text", 0, Images.get());
  wintest::AdvanceTime(Clock(), 499);
  EXPECT_FALSE(Shown());
  wintest::AdvanceTime(Clock(), 1);
  ASSERT_TRUE(Shown());
  EXPECT_TRUE(HW()->ExtendedStyle());
  // Flat: the image (16 + 10) beside the wider of title and text, the title line (13 + 10) above.
  EXPECT_EQ(HW()->Width(), 5 * 7 + 16 + 10 + 4);
  EXPECT_EQ(HW()->Height(), 13 + 13 + 10 + 4);
  // The image below the title, at the left.
  EXPECT_EQ(PaintedPixel(HW()->Handle(), 4, 2 + 18 + 4), COLORREF(ColorToRGB(clRed)));
  // A hint below a rectangle after it is a plain one again.
  Hint->ActivateHint3(Rect(200, 300, 260, 320), "abc", false);
  wintest::AdvanceTime(Clock(), 500);
  EXPECT_FALSE(HW()->ExtendedStyle());
  EXPECT_EQ(PaintedPixel(HW()->Handle(), 3, 8), COLORREF(ColorToRGB(clInfoText)));
  // Hiding clears the component's title and image for the next hint.
  Hint->ActivateHintEx2("Title", "text", 0, Images.get());
  wintest::AdvanceTime(Clock(), 500);
  Hint->HideHint();
  Hint->ActivateHint(TPoint{100, 100}, "abc");
  EXPECT_FALSE(HW()->ExtendedStyle());
  EXPECT_EQ(HW()->Width(), 3 * 7 + 4);
}

TEST_F(SkinHint, FlatLookSizesTheTextAndTheSeparatorBreaksTheLine) {
  Hint->ActivateHint(TPoint{100, 100}, "abc@de");
  ASSERT_TRUE(Shown());
  EXPECT_EQ(HW()->SkinUsed(), nullptr);
  // Two lines of 13 pixels, the longer one 3 characters of 7 pixels, and 2 pixels round the text.
  EXPECT_EQ(HW()->Width(), 3 * 7 + 4);
  EXPECT_EQ(HW()->Height(), 2 * 13 + 4);
  EXPECT_EQ(HW()->Caption().find('@'), String::npos);
  // Flat look: a clBtnShadow frame on clInfoBk, text in clInfoText from (2, 2).
  EXPECT_EQ(PaintedPixel(HW()->Handle(), 0, 5), COLORREF(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(PaintedPixel(HW()->Handle(), 20, 20), COLORREF(ColorToRGB(clInfoBk)));
  EXPECT_EQ(PaintedPixel(HW()->Handle(), 3, 8), COLORREF(ColorToRGB(clInfoText)));
  // The second line starts at the left again.
  EXPECT_EQ(PaintedPixel(HW()->Handle(), 3, 21), COLORREF(ColorToRGB(clInfoText)));
}

TEST_F(SkinHint, SkinnedLookGrowsThePictureAroundTheCentredText) {
  Hint->SetSkinData(Skin.get());
  Hint->ActivateHint(TPoint{100, 100}, "abcd");
  ASSERT_TRUE(Shown());
  EXPECT_EQ(HW()->SkinUsed(), Skin.get());
  // The picture is 30 x 24 with a client part of (6, 6, 24, 18): text + 6 + 6 + 5 wide, + 6 + 6 high.
  EXPECT_EQ(HW()->Width(), 4 * 7 + 17);
  EXPECT_EQ(HW()->Height(), 13 + 12);
  EXPECT_EQ(HW()->NewClRect, Rect(6, 6, 6 + 18 + 15, 6 + 12 + 1));
  auto Slice = [](int S) { return COLORREF(GeneratedSkinSliceColor(GeneratedSkinHintElement, 0, S)); };
  EXPECT_EQ(PaintedPixel(HW()->Handle(), 1, 1), Slice(0));
  EXPECT_EQ(PaintedPixel(HW()->Handle(), HW()->Width() - 2, HW()->Height() - 2), Slice(8));
  EXPECT_EQ(PaintedPixel(HW()->Handle(), 20, 2), Slice(1));
  // The text is centred in the client part: 28 wide in 33 starts at 6 + 2.
  EXPECT_EQ(PaintedPixel(HW()->Handle(), 8, 12), COLORREF(0));
  EXPECT_EQ(PaintedPixel(HW()->Handle(), 7, 12), Slice(4));

  // An empty skin or a skin without a hint picture gives the flat look.
  Skin->HintWindow->WindowPictureIndex = -1;
  Hint->ActivateHint(TPoint{100, 100}, "abcd");
  EXPECT_EQ(HW()->SkinUsed(), nullptr);
  Skin->HintWindow->WindowPictureIndex = 99;
  Hint->ActivateHint(TPoint{100, 100}, "abcd");
  EXPECT_EQ(HW()->SkinUsed(), nullptr);
}

TEST_F(SkinHint, TheSkinsMaskShapesTheWindow) {
  // A mask of the picture's size: black (inside) everywhere but a 3 x 3 notch at the top-left corner.
  auto Mask = std::make_unique<TBitmap>();
  Mask->SetSize(30, 24);
  Mask->Canvas()->Brush()->SetColor(clBlack);
  Mask->Canvas()->FillRect(Rect(0, 0, 30, 24));
  Mask->Canvas()->Brush()->SetColor(clWhite);
  Mask->Canvas()->FillRect(Rect(0, 0, 3, 3));
  Skin->AddPicture(std::move(Mask), "hintmask.bmp");
  Skin->HintWindow->MaskPictureIndex = Skin->PictureCount() - 1;
  Hint->SetSkinData(Skin.get());
  Hint->ActivateHint(TPoint{100, 100}, "abcd");
  ASSERT_TRUE(Shown());
  EXPECT_NE(HW()->WindowShape(), nullptr);
  // The shape the window layer was given last (window coordinates).
  auto LastShape = [&](bool& Has) {
    std::vector<TRect> Rects;
    Has = false;
    for (const auto& R : Env.Backend().ShapeChanges())
      if (R.Wnd == HW()->Handle()) {
        Has = R.HasShape;
        Rects = R.Rects;
      }
    return Rects;
  };
  auto Inside = [](const std::vector<TRect>& Rects, Integer X, Integer Y) {
    for (const TRect& R : Rects)
      if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return true;
    return false;
  };
  bool Has = false;
  std::vector<TRect> Shape = LastShape(Has);
  ASSERT_TRUE(Has);
  EXPECT_FALSE(Inside(Shape, 1, 1));
  EXPECT_TRUE(Inside(Shape, 5, 5));
  // The bottom-right corner stays in: the mask's corner pieces keep their place at the new size.
  EXPECT_TRUE(Inside(Shape, HW()->Width() - 1, HW()->Height() - 1));
  // Without a mask the shape goes.
  Skin->HintWindow->MaskPictureIndex = -1;
  Hint->ActivateHint(TPoint{100, 100}, "abcd");
  EXPECT_EQ(HW()->WindowShape(), nullptr);
  LastShape(Has);
  EXPECT_FALSE(Has);
}

TEST_F(SkinHint, SmallTextNeverShrinksTheWindowBelowTheCorners) {
  Hint->SetSkinData(Skin.get());
  Hint->ActivateHint(TPoint{100, 100}, "");
  // 0 + 17 would cut into the 6-pixel corners of a 30-pixel picture only below 12; 17 holds.
  EXPECT_EQ(HW()->Width(), 17);
  Skin->HintWindow->ClRect = Rect(1, 1, 29, 23);
  Hint->ActivateHint(TPoint{100, 100}, "");
  // 0 + 1 + 1 + 5 = 7 wide would cross the corners: the window grows to 12 (two corners), 6 + 6 high.
  EXPECT_EQ(HW()->Width(), 12);
  EXPECT_EQ(HW()->Height(), 12);
}

TEST_F(SkinHint, PlacementNearTheWorkAreaEdges) {
  const TRect A = WorkArea();
  struct TCase {
    TPoint P;
    TPoint Expected;
  };
  const Integer W = 3 * 7 + 4, H = 13 + 4;
  const TCase Cases[] = {
      {{100, 100}, {100, 100}},
      {{A.Right - 10, 100}, {A.Right - 10 - W - 2, 100}},
      {{100, A.Bottom - 5}, {100, A.Bottom - 5 - H - 2}},
      {{A.Right - 1, A.Bottom - 1}, {A.Right - 1 - W - 2, A.Bottom - 1 - H - 2}},
      {{A.Right - W, A.Bottom - H}, {A.Right - W, A.Bottom - H}},
  };
  for (const TCase& C : Cases) {
    Hint->ActivateHint(C.P, "abc");
    EXPECT_EQ(HW()->Left(), C.Expected.X) << C.P.X << "," << C.P.Y;
    EXPECT_EQ(HW()->Top(), C.Expected.Y) << C.P.X << "," << C.P.Y;
  }
  // Centred below or above a rectangle.
  Hint->ActivateHint3(Rect(200, 300, 260, 320), "abc", false);
  wintest::AdvanceTime(Clock(), 500);
  EXPECT_EQ(HW()->BoundsRect(), Bounds(230 - W / 2, 320, W, H));
  Hint->ActivateHint3(Rect(200, 300, 260, 320), "abc", true);
  wintest::AdvanceTime(Clock(), 500);
  EXPECT_EQ(HW()->BoundsRect(), Bounds(230 - W / 2, 300 - H, W, H));
}

TEST_F(SkinHint, AHintOfThousandsOfCharactersStaysInsideTheWorkArea) {
  const TRect A = WorkArea();
  String Long;
  for (int i = 0; i < 3000; ++i) Long += (i % 40 == 39) ? '@' : 'x';
  Hint->SetSkinData(Skin.get());
  for (TPoint P : {TPoint{10, 10}, TPoint{A.Right - 5, A.Bottom - 5}}) {
    Hint->ActivateHint(P, Long);
    ASSERT_TRUE(Shown());
    const TRect R = HW()->BoundsRect();
    EXPECT_GE(R.Left, A.Left);
    EXPECT_GE(R.Top, A.Top);
    EXPECT_LE(R.Right, A.Right);
    EXPECT_LE(R.Bottom, A.Bottom);
    EXPECT_GT(R.Height(), A.Height() / 2);
  }
  String OneLine(6000, 'y');
  Hint->ActivateHint(TPoint{500, 500}, OneLine);
  EXPECT_EQ(HW()->Width(), A.Width());
  EXPECT_GE(HW()->Left(), A.Left);
}

TEST_F(SkinHint, AlphaFadeRisesInTenthsOfTheValue) {
  Hint->SetAlphaBlend(true);
  Hint->SetAlphaBlendValue(200);
  Hint->SetAlphaBlendAnimation(true);
  const Cardinal Start = GetTickCount();
  Hint->ActivateHint(TPoint{100, 100}, "abc");
  // Ten steps of 20, each after more than 3 ms.
  EXPECT_EQ(GetTickCount() - Start, 10u * 4);
  EXPECT_NE(GetWindowLong(HW()->Handle(), GWL_EXSTYLE) & LONG(WS_EX_LAYERED), 0);
  Byte Alpha = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(HW()->Handle(), nullptr, &Alpha, nullptr));
  EXPECT_EQ(Alpha, 200);

  // A remainder is one more step; without animation the value is set at once.
  Hint->SetAlphaBlendValue(205);
  const Cardinal Second = GetTickCount();
  Hint->ActivateHint(TPoint{100, 100}, "abc");
  EXPECT_EQ(GetTickCount() - Second, 11u * 4);
  Hint->SetAlphaBlendAnimation(false);
  Hint->SetAlphaBlendValue(90);
  const Cardinal Third = GetTickCount();
  Hint->ActivateHint(TPoint{100, 100}, "abc");
  EXPECT_EQ(GetTickCount(), Third);
  ASSERT_TRUE(GetLayeredWindowAttributes(HW()->Handle(), nullptr, &Alpha, nullptr));
  EXPECT_EQ(Alpha, 90);
  // Switching alpha off takes the layered style away.
  Hint->SetAlphaBlend(false);
  Hint->ActivateHint(TPoint{100, 100}, "abc");
  EXPECT_EQ(GetWindowLong(HW()->Handle(), GWL_EXSTYLE) & LONG(WS_EX_LAYERED), 0);
}

TEST_F(SkinHint, OneActiveComponentAndNothingWithoutIt) {
  auto* Second = new TbsSkinHint(Main);
  Second->SetActive(true);
  EXPECT_FALSE(Hint->Active());
  Second->SetActive(false);
  // Without an active component on the main form the skinned window shows nothing.
  Hint->ActivateHint(TPoint{100, 100}, "abc");
  EXPECT_FALSE(Shown());
  auto* Free = new TbsSkinHintWindow(nullptr);
  Free->ActivateHint(Rect(10, 10, 10, 10), "abc");
  EXPECT_FALSE(Free->HandleAllocated() && IsWindowVisible(Free->Handle()));
  delete Free;
}

TEST_F(SkinHint, ASkinnedControlsHintShowsItsTitleInBoldAboveTheText) {
  auto* P = NewControl<TbsSkinPanel>(Main, Rect(20, 20, 200, 120));
  P->SetHint("body");
  P->SetShowHint(true);
  P->SetHintTitle("Title");
  std::vector<String> Seen;
  Hint->OnShowHint = [&](String& S, bool&, THintInfo&) { Seen.push_back(S); };
  wintest::MouseMove(wintest::ScreenPoint(P->Handle(), 50, 50));
  wintest::AdvanceTime(Clock(), Application->HintPause());
  THintWindow* AW = Application->HintWindow();
  auto* W = dynamic_cast<TbsSkinHintWindow*>(AW);
  ASSERT_NE(W, nullptr);
  ASSERT_TRUE(W->HandleAllocated() && IsWindowVisible(W->Handle()));
  EXPECT_EQ(Seen, std::vector<String>{"body"});
  EXPECT_TRUE(W->ExtendedStyle());
  // Flat: the title's line, 10 pixels, then the text: 13 + 10 + 13 + 4 high; the wider title sets the width.
  EXPECT_EQ(W->Height(), 13 + 10 + 13 + 4);
  EXPECT_EQ(W->Width(), 5 * 7 + 4);
  EXPECT_EQ(PaintedPixel(W->Handle(), 3, 8), COLORREF(ColorToRGB(clInfoText)));   // title
  EXPECT_EQ(PaintedPixel(W->Handle(), 3, 20), COLORREF(ColorToRGB(clInfoBk)));    // the gap
  EXPECT_EQ(PaintedPixel(W->Handle(), 3, 26), COLORREF(ColorToRGB(clInfoText)));  // text, 18 lower
}

TEST_F(SkinHint, TheApplicationsHintEventIsHarmlessAfterTheComponentIsGone) {
  auto* P = NewControl<TbsSkinPanel>(Main, Rect(20, 20, 200, 120));
  P->SetHint("body");
  P->SetShowHint(true);
  delete Hint;
  Hint = nullptr;
  wintest::MouseMove(wintest::ScreenPoint(P->Handle(), 50, 50));
  wintest::AdvanceTime(Clock(), Application->HintPause());
  // No component: the skinned window shows nothing, and nothing touches the freed one.
  THintWindow* W = Application->HintWindow();
  ASSERT_NE(W, nullptr);
  EXPECT_FALSE(W->HandleAllocated() && IsWindowVisible(W->Handle()));
}

}  // namespace
