#include "skin/controls/bars/bsskinslider.h"

#include <gtest/gtest.h>

#include "platform/rtl/streams.h"
#include "skin/controls/bars/bssliderimages.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskinrecordsbars.h"

namespace {

using wintest::ScreenPoint;

class SkinSlider : public TSkinControlTest {
 protected:
  TbsSkinSlider* NewSlider(TRect Bounds, bool Skinned, TbsSliderOrientation Orientation = soHorizontal) {
    TForm* F = NewForm();
    auto* S = new TbsSkinSlider(F);
    S->SetOrientation(Orientation);
    S->SetBoundsRect(Bounds);
    S->SetParent(F);
    if (Skinned) S->SetSkinData(Skin.get());
    S->OnChange = [this](TObject*) { Log.push_back("change"); };
    S->OnChanged = [this](TObject*) { Log.push_back("changed"); };
    return S;
  }
  static TPoint At(TWinControl* C, Integer X, Integer Y) { return ScreenPoint(C->Handle(), X, Y); }
  Integer Count(const String& What) const { return Integer(std::count(Log.begin(), Log.end(), What)); }
  TbsDataSkinSlider* Record() {
    return dynamic_cast<TbsDataSkinSlider*>(Skin->Ctrls(Skin->GetControlIndex("slider")));
  }
  static COLORREF RGBOf(TColor C) { return COLORREF(ColorToRGB(C)); }

  std::vector<String> Log;
};

TEST_F(SkinSlider, DefaultsAndBuiltInPictures) {
  TbsSkinSlider S(nullptr);
  EXPECT_EQ(S.Width(), 150);
  EXPECT_EQ(S.Height(), 40);
  EXPECT_EQ(S.SkinDataName(), "slider");
  EXPECT_EQ(S.MinValue(), 0);
  EXPECT_EQ(S.MaxValue(), 100);
  EXPECT_EQ(S.Increment(), 10);
  EXPECT_EQ(S.EdgeSize(), 2);
  EXPECT_EQ(S.NumThumbStates(), 2);
  EXPECT_EQ(S.ThumbImageIndex(), 0);
  EXPECT_EQ(S.ThumbActiveImageIndex(), 1);
  EXPECT_TRUE(S.UseSkinThumb());
  EXPECT_TRUE(S.TabStop());
  EXPECT_EQ(S.Options(), (TbsSliderOptions{soShowFocus, soShowPoints, soSmooth}));
  EXPECT_EQ(S.ControlStyle(),
            (TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks}));
  const struct {
    TBitmap* Image;
    Integer W, H;
  } Images[] = {{S.ImageHThumb(), 10, 15},
                {S.ImageHRuler(), 10, 7},
                {S.ImageVThumb(), 31, 7},
                {S.ImageVRuler(), 7, 10}};
  for (const auto& I : Images) {
    EXPECT_EQ(I.Image->Width(), I.W);
    EXPECT_EQ(I.Image->Height(), I.H);
    EXPECT_EQ(I.Image->PixelFormat(), pf24bit);
  }
  TBitmap B;
  EXPECT_FALSE(LoadSliderImage(&B, "BS_NONE"));
  EXPECT_TRUE(B.Empty());
}

TEST_F(SkinSlider, GeometryOfTheBuiltInPictures) {
  // Horizontal 150 x 40: a 138 x 7 ruler centred on the 5 x 15 thumb, 133 pixels of travel.
  TbsSkinSlider H(nullptr);
  EXPECT_EQ(H.Ruler()->Width(), 138);
  EXPECT_EQ(H.Ruler()->Height(), 7);
  EXPECT_EQ(H.RulerOrg(), (TPoint{6, 10}));
  EXPECT_EQ(H.ThumbRect(), Rect(6, 6, 11, 21));
  EXPECT_EQ(H.PointsRect(), Rect(6, 22, 144, 39));
  EXPECT_EQ(H.GetRulerLength(), 133);
  H.SetValue(50);  // 133 x 0.5 = 66.5 rounds to the even 66
  EXPECT_EQ(H.ThumbRect(), Rect(72, 6, 77, 21));
  H.SetValue(100);
  EXPECT_EQ(H.ThumbRect().Left, 139);
  // Vertical 40 x 150: MinValue at the bottom.
  TbsSkinSlider V(nullptr);
  V.SetOrientation(soVertical);
  V.SetBounds(0, 0, 40, 150);
  EXPECT_EQ(V.Ruler()->Width(), 7);
  EXPECT_EQ(V.Ruler()->Height(), 138);
  EXPECT_EQ(V.RulerOrg(), (TPoint{10, 6}));
  EXPECT_EQ(V.PointsRect(), Rect(22, 6, 39, 144));
  EXPECT_EQ(V.GetRulerLength(), 131);
  EXPECT_EQ(V.ThumbRect(), Rect(6, 137, 21, 144));
  V.SetValue(100);
  EXPECT_EQ(V.ThumbRect(), Rect(6, 6, 21, 13));
}

TEST_F(SkinSlider, RulerIsTiledFromItsEndsAndMiddle) {
  // A ruler picture whose columns are all different: 2 left, 6 middle, 2 right.
  TBitmap Custom;
  Custom.SetPixelFormat(pf24bit);
  Custom.SetSize(10, 7);
  for (Integer x = 0; x < 10; ++x) {
    Custom.Canvas()->Brush()->SetColor(TColor(RGB(10 * x + 5, 100, 100)));
    Custom.Canvas()->FillRect(Rect(x, 0, x + 1, 7));
  }
  TbsSkinSlider S(nullptr);
  S.SetImage(siHRuler, &Custom);
  TCanvas* R = S.Ruler()->Canvas();
  auto col = [](Integer x) { return TColor(RGB(10 * x + 5, 100, 100)); };
  EXPECT_EQ(R->Pixels(0, 3), col(0));
  EXPECT_EQ(R->Pixels(7, 3), col(7));  // the first piece ends before the right edge
  EXPECT_EQ(R->Pixels(8, 3), col(2));  // then the middle parts
  EXPECT_EQ(R->Pixels(13, 3), col(7));
  EXPECT_EQ(R->Pixels(14, 3), col(2));
  EXPECT_EQ(R->Pixels(136, 3), col(8));  // the last two columns are the right edge
  EXPECT_EQ(R->Pixels(137, 3), col(9));
  EXPECT_EQ(R->Pixels(134, 3), col(2));  // the last middle part is cut to two columns
  EXPECT_EQ(R->Pixels(135, 3), col(3));
}

TEST_F(SkinSlider, ValueRangeAndIncrementRules) {
  TbsSkinSlider S(nullptr);
  Integer Changes = 0;
  S.OnChange = [&](TObject*) { ++Changes; };
  S.SetValue(30);
  S.SetValue(30);
  EXPECT_EQ(Changes, 1);
  S.SetValue(500);
  EXPECT_EQ(S.Value(), 100);
  S.SetValue(-5);
  EXPECT_EQ(S.Value(), 0);
  EXPECT_EQ(Changes, 3);
  // A range that is empty or reversed is refused; a range below the increment cuts the increment.
  S.SetMaxValue(0);
  EXPECT_EQ(S.MaxValue(), 100);
  S.SetMaxValue(6);
  EXPECT_EQ(S.MaxValue(), 6);
  EXPECT_EQ(S.Increment(), 6);
  S.SetIncrement(0);
  S.SetIncrement(-3);
  EXPECT_EQ(S.Increment(), 6);
  // The built-in ruler is 10 pixels long: an edge of 5 leaves no middle.
  S.SetEdgeSize(5);
  EXPECT_EQ(S.EdgeSize(), 2);
  S.SetEdgeSize(4);
  EXPECT_EQ(S.EdgeSize(), 4);
}

TEST_F(SkinSlider, RulerPressJumpsEvery400MsUntilTheThumbPassesTheMouse) {
  auto* S = NewSlider(Bounds(10, 10, 150, 40), false);
  wintest::MouseMove(At(S, 80, 13));
  wintest::MouseDown(At(S, 80, 13));
  EXPECT_EQ(S->Value(), 10);
  const Integer Want[] = {20, 30, 40, 50, 60, 60, 60};
  for (Integer V : Want) {
    wintest::AdvanceTime(Clock(), 400);
    EXPECT_EQ(S->Value(), V);
  }
  wintest::MouseUp(At(S, 80, 13));
  EXPECT_EQ(Count("changed"), 1);
  EXPECT_EQ(Count("change"), 6);
  EXPECT_FALSE(S->Tracking());
  wintest::AdvanceTime(Clock(), 2000);
  EXPECT_EQ(S->Value(), 60);
  // Left of the thumb the press goes back.
  wintest::MouseMove(At(S, 8, 13));
  wintest::Click(At(S, 8, 13));
  EXPECT_EQ(S->Value(), 50);
  // A press away from the ruler does nothing.
  wintest::Click(At(S, 30, 35));
  EXPECT_EQ(S->Value(), 50);
}

TEST_F(SkinSlider, DragSnapsToIncrementsOnlyWithoutSmooth) {
  const struct {
    bool Smooth;
    Integer ToX, Want;
  } Cases[] = {
      {true, 52, 33},    // offset 50: 44 x 100 / 133 = 33.08
      {false, 52, 30},   // snapped to the increment
      {true, 900, 100},  // past the end
      {false, -50, 0},
  };
  for (const auto& C : Cases) {
    Log.clear();
    auto* S = NewSlider(Bounds(10, 10, 150, 40), false);
    if (!C.Smooth) S->SetOptions(TbsSliderOptions{soShowFocus, soShowPoints});
    wintest::MouseMove(At(S, 8, 13));
    wintest::MouseDown(At(S, 8, 13));  // two pixels into the thumb
    EXPECT_TRUE(S->Sliding());
    wintest::MouseMove(At(S, C.ToX, 13));
    EXPECT_EQ(S->Value(), C.Want) << C.ToX << (C.Smooth ? " smooth" : "");
    wintest::MouseUp(At(S, C.ToX, 13));
    EXPECT_FALSE(S->Sliding());
    EXPECT_EQ(Count("changed"), 1);
    EXPECT_EQ(Log.back(), "changed");
  }
}

TEST_F(SkinSlider, KeysJumpAndVerticalUpIncreases) {
  const struct {
    TbsSliderOrientation Orientation;
    Word Key;
    Integer From, Want;
  } Cases[] = {
      {soHorizontal, VK_RIGHT, 0, 10}, {soHorizontal, VK_LEFT, 47, 40}, {soHorizontal, VK_END, 0, 100},
      {soHorizontal, VK_HOME, 70, 0},  {soHorizontal, VK_UP, 20, 20},   {soVertical, VK_UP, 0, 10},
      {soVertical, VK_DOWN, 30, 20},   {soVertical, VK_LEFT, 30, 30},
  };
  for (const auto& C : Cases) {
    Log.clear();
    auto* S = NewSlider(C.Orientation == soHorizontal ? Bounds(10, 10, 150, 40) : Bounds(10, 10, 40, 150),
                        false, C.Orientation);
    S->SetValue(C.From);
    S->SetFocus();
    Log.clear();
    wintest::KeyPress(C.Key);
    EXPECT_EQ(S->Value(), C.Want) << C.Key;
    EXPECT_EQ(Count("changed"), C.Want != C.From || C.Key == VK_HOME || C.Key == VK_END ? 1 : 0) << C.Key;
  }
}

TEST_F(SkinSlider, DefaultLookByPixels) {
  auto* S = NewSlider(Bounds(10, 10, 150, 40), false);
  const COLORREF Back = RGBOf(S->Color());
  EXPECT_EQ(PixelOf(S, 8, 10), RGBOf(SliderThumbFace));
  EXPECT_EQ(PixelOf(S, 75, 12), RGBOf(SliderGrooveDark));
  EXPECT_EQ(PixelOf(S, 75, 13), RGBOf(SliderGrooveLight));
  EXPECT_EQ(PixelOf(S, 75, 10), Back);  // the ruler's key colour shows what lies under it
  // Points: 100 values over 133 pixels thin out to every third; the ends are longer.
  S->SetIncrement(1);
  EXPECT_EQ(PixelOf(S, 8, 26), RGB(0, 0, 0));
  EXPECT_EQ(PixelOf(S, 12, 23), RGB(0, 0, 0));
  EXPECT_EQ(PixelOf(S, 12, 25), Back);
  EXPECT_EQ(PixelOf(S, 9, 23), Back);
  EXPECT_EQ(PixelOf(S, 141, 26), RGB(0, 0, 0));
  wintest::MouseMove(At(S, 8, 10));
  wintest::MouseDown(At(S, 8, 10));
  EXPECT_EQ(PixelOf(S, 8, 10), RGBOf(SliderThumbHotFace));
  wintest::MouseUp(At(S, 8, 10));
  EXPECT_EQ(PixelOf(S, 8, 10), RGBOf(SliderThumbFace));
  // The focus rectangle: dotted, two pixels in.
  EXPECT_EQ(GetFocus(), S->Handle());
  EXPECT_EQ(PixelOf(S, 2, 2), RGBOf(S->Font()->Color()));
  S->SetEnabled(false);
  EXPECT_EQ(PixelOf(S, 8, 10), RGBOf(SliderThumbHotFace));
}

TEST_F(SkinSlider, SkinnedLookAndFaultyElements) {
  auto* S = NewSlider(Bounds(10, 10, 150, 40), true);
  // The skin thumb: 6 x 6, left half normal, right half highlighted, keyed by its bottom-left pixel;
  // the skin ruler is 6 high.
  EXPECT_EQ(S->ThumbRect(), Rect(6, 6, 12, 12));
  EXPECT_EQ(S->GetRulerLength(), 132);
  EXPECT_EQ(PixelOf(S, 7, 7), SliceColor("slider", 1, 0));
  EXPECT_EQ(PixelOf(S, 75, 8), SliceColor("slider", 0, 1));
  wintest::MouseMove(At(S, 7, 7));
  wintest::MouseDown(At(S, 7, 7));
  EXPECT_EQ(PixelOf(S, 7, 7), SliceColor("slider", 1, 1));
  wintest::MouseUp(At(S, 7, 7));
  EXPECT_EQ(PixelOf(S, 7, 7), SliceColor("slider", 1, 0));
  // The key colour shows the ruler under the thumb (in the middle; the ruler's own key hides its ends).
  S->SetValue(50);
  EXPECT_EQ(S->ThumbRect(), Rect(72, 6, 78, 12));
  EXPECT_EQ(PixelOf(S, 73, 7), SliceColor("slider", 1, 0));
  EXPECT_EQ(PixelOf(S, 73, 11), SliceColor("slider", 0, 1));
  EXPECT_EQ(PixelOf(S, 7, 8), RGB(0, 0, 0));  // the skin's background colour
  // Without UseSkinThumb the built-in thumb sits on the skin ruler.
  S->SetUseSkinThumb(false);
  EXPECT_EQ(S->ThumbRect().Width(), 5);
  EXPECT_EQ(PixelOf(S, S->ThumbRect().Left + 2, S->ThumbRect().Top + 4), RGBOf(SliderThumbFace));

  const struct {
    const char* What;
    std::function<void(TbsDataSkinSlider*)> Break;
  } Cases[] = {
      {"picture past the end", [](TbsDataSkinSlider* R) { R->PictureIndex = 9; }},
      {"thumb outside the picture", [](TbsDataSkinSlider* R) { OffsetRect(&R->HThumbRect, 0, 5000); }},
      {"zero thumb", [](TbsDataSkinSlider* R) { R->HThumbRect = Rect(0, 0, 0, 0); }},
  };
  for (const auto& C : Cases) {
    BuildGeneratedSkin(Skin.get());
    C.Break(Record());
    auto* Bad = NewSlider(Bounds(10, 60, 150, 40), true);
    EXPECT_EQ(Bad->ThumbRect().Width(), 5) << C.What;
    EXPECT_EQ(PixelOf(Bad, Bad->ThumbRect().Left + 2, Bad->ThumbRect().Top + 4), RGBOf(SliderThumbFace))
        << C.What;
  }
}

TEST_F(SkinSlider, UserImagesAreMarkedAndStoredAsOneByte) {
  TbsSkinSlider S(nullptr);
  EXPECT_FALSE(S.UserImagesStored(nullptr));
  TBitmap Thumb;
  Thumb.SetPixelFormat(pf24bit);
  Thumb.SetSize(8, 20);
  S.SetImage(siHThumb, &Thumb);
  S.SetImage(siVRuler, S.ImageVRuler());
  EXPECT_EQ(S.UserImages(), (TbsSliderImages{siHThumb, siVRuler}));
  EXPECT_EQ(S.ThumbRect().Width(), 4);  // two states of 4
  TMemoryStream M;
  S.WriteUserImages(&M);
  ASSERT_EQ(M.Size(), 1);
  EXPECT_EQ(static_cast<const Byte*>(M.Memory())[0], 0x09);
  TbsSkinSlider Ancestor(nullptr);
  EXPECT_TRUE(S.UserImagesStored(&Ancestor));
  M.SetPosition(0);
  Ancestor.ReadUserImages(&M);
  EXPECT_FALSE(S.UserImagesStored(&Ancestor));
  // Null brings the built-in picture back and clears the mark and the opaque option.
  S.SetOptions(TbsSliderOptions{soThumbOpaque});
  S.SetImage(siHThumb, nullptr);
  EXPECT_EQ(S.UserImages(), (TbsSliderImages{siVRuler}));
  EXPECT_EQ(S.ImageHThumb()->Width(), 10);
  EXPECT_FALSE(S.Options().Contains(soThumbOpaque));
}

}  // namespace

namespace {

TEST_F(SkinSlider, SliderFreedFromItsOwnHandler) {
  const struct {
    const char* How;
    bool OnChanged;
    Integer X;
  } Cases[] = {
      {"change on a ruler press", false, 80},
      {"changed after a ruler press", true, 80},
      {"changed after a drag", true, 8},
  };
  for (const auto& C : Cases) {
    auto* S = NewSlider(Bounds(10, 10, 150, 40), false);
    bool Freed = false;
    auto Free = [&Freed](TObject* Sender) {
      // The handler goes with the control: nothing of it is touched after the delete.
      Freed = true;
      delete static_cast<TbsSkinSlider*>(Sender);
    };
    if (C.OnChanged)
      S->OnChanged = Free;
    else
      S->OnChange = Free;
    const TPoint P = At(S, C.X, 13);
    wintest::MouseMove(P);
    wintest::Click(P);
    wintest::AdvanceTime(Clock(), 1000);
    EXPECT_TRUE(Freed) << C.How;
    wintest::Pump();
  }
}

}  // namespace

namespace {

TEST_F(SkinSlider, ThumbImageListAndTransparency) {
  auto* S = NewSlider(Bounds(10, 10, 150, 40), false);
  TCustomImageList List(nullptr, 8, 20);
  auto add = [&List](TColor C) {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(8, 20);
    B.Canvas()->Brush()->SetColor(C);
    B.Canvas()->FillRect(Rect(0, 0, 8, 20));
    List.AddMasked(&B, clNone);
  };
  add(clRed);
  add(clBlue);
  S->SetThumbImageList(&List);
  // One state of the list's size; 138 - 8 pixels of travel.
  EXPECT_EQ(S->ThumbRect(), Rect(6, 6, 14, 26));
  EXPECT_EQ(S->GetRulerLength(), 130);
  EXPECT_EQ(PixelOf(S, 10, 8), RGBOf(clRed));
  wintest::MouseMove(At(S, 10, 8));
  wintest::MouseDown(At(S, 10, 8));
  EXPECT_EQ(PixelOf(S, 10, 8), RGBOf(clBlue));
  wintest::MouseUp(At(S, 10, 8));
  // An index outside the list draws no thumb.
  S->SetThumbImageIndex(5);
  EXPECT_EQ(PixelOf(S, 10, 8), RGBOf(S->Color()));
  // Transparent: the parent's own colour shows instead of the slider's.
  S->Parent()->SetColor(clYellow);
  S->SetColor(clAqua);
  EXPECT_EQ(PixelOf(S, 100, 30), RGBOf(clAqua));
  S->SetTransparent(true);
  EXPECT_EQ(PixelOf(S, 100, 30), RGBOf(clYellow));
  // Removing the list brings the built-in thumb back.
  S->SetThumbImageList(nullptr);
  EXPECT_EQ(S->ThumbRect().Width(), 5);
}

}  // namespace
