#include "skin/controls/bars/bsskinupdown.h"

#include <gtest/gtest.h>

#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskinrecordslists.h"

namespace {

using wintest::ScreenPoint;

class SkinUpDown : public TSkinControlTest {
 protected:
  // A 50 x 25 default-look pair (horizontal: down on the left half, up on the right) from 0..100.
  TbsSkinUpDown* NewUpDown(TUDOrientation Orientation = udHorizontal) {
    TForm* F = NewForm();
    auto* U = NewControl<TbsSkinUpDown>(F, Rect(10, 10, 60, 35));
    U->SetOrientation(Orientation);
    U->OnChange = [this, U](TObject*) { Log.push_back("change " + std::to_string(U->Position())); };
    U->OnUpButtonClick = [this](TObject*) { Log.push_back("up"); };
    U->OnDownButtonClick = [this](TObject*) { Log.push_back("down"); };
    return U;
  }
  static TPoint At(TWinControl* C, Integer X, Integer Y) { return ScreenPoint(C->Handle(), X, Y); }

  std::vector<String> Log;
};

TEST_F(SkinUpDown, Defaults) {
  TbsSkinUpDown U(nullptr);
  EXPECT_EQ(U.Position(), 0);
  EXPECT_EQ(U.Min(), 0);
  EXPECT_EQ(U.Max(), 100);
  EXPECT_EQ(U.Increment(), 1);
  EXPECT_EQ(U.Width(), 50);
  EXPECT_EQ(U.Height(), 25);
  EXPECT_EQ(U.SkinDataName(), "hupdown");
  EXPECT_TRUE(U.UseSkinSize());
  EXPECT_EQ(U.Orientation(), udHorizontal);
  // At run time the orientation does not rename the element.
  U.SetOrientation(udVertical);
  EXPECT_EQ(U.SkinDataName(), "hupdown");
}

TEST_F(SkinUpDown, PositionMinAndMaxSetters) {
  TbsSkinUpDown* U = NewUpDown();
  U->SetPosition(50);
  U->SetPosition(50);   // unchanged: fires again
  U->SetPosition(101);  // outside: ignored
  U->SetPosition(-1);
  EXPECT_EQ(Log, (std::vector<String>{"change 50", "change 50"}));
  Log.clear();
  U->SetMax(40);  // below the position: moves it silently
  EXPECT_EQ(U->Position(), 40);
  U->SetMin(45);
  EXPECT_EQ(U->Position(), 45);
  EXPECT_TRUE(Log.empty());
}

TEST_F(SkinUpDown, ButtonHalvesAndClickOrder) {
  const struct {
    TUDOrientation Orientation;
    Integer X, Y;
    Integer Position;
    String Event;
  } Cases[] = {
      {udHorizontal, 40, 12, 11, "up"},  // right half steps up
      {udHorizontal, 10, 12, 9, "down"},
      {udVertical, 25, 5, 11, "up"},  // upper half steps up
      {udVertical, 25, 20, 9, "down"},
  };
  for (const auto& C : Cases) {
    TbsSkinUpDown* U = NewUpDown(C.Orientation);
    U->SetPosition(10);
    Log.clear();
    wintest::Click(At(U, C.X, C.Y));
    EXPECT_EQ(U->Position(), C.Position);
    EXPECT_EQ(Log, (std::vector<String>{"change " + std::to_string(C.Position), C.Event}));
  }
  // At the bound the click still fires its event, without a change.
  TbsSkinUpDown* U = NewUpDown();
  U->SetPosition(100);
  Log.clear();
  wintest::Click(At(U, 40, 12));
  EXPECT_EQ(Log, (std::vector<String>{"up"}));
  // With Increment 0 the buttons click without stepping.
  U->SetIncrement(0);
  Log.clear();
  wintest::Click(At(U, 10, 12));
  EXPECT_EQ(Log, (std::vector<String>{"down"}));
}

TEST_F(SkinUpDown, HoldingRepeatsAfterTheFirstDelay) {
  TbsSkinUpDown* U = NewUpDown();
  U->SetPosition(10);
  Log.clear();
  wintest::MouseDown(At(U, 10, 12));
  wintest::AdvanceTime(Clock(), 599);
  EXPECT_EQ(U->Position(), 10);  // the 500 ms delay, then a silent tick at 500 → 100 ms repeat
  wintest::AdvanceTime(Clock(), 1);
  EXPECT_EQ(U->Position(), 9);
  wintest::AdvanceTime(Clock(), 200);
  EXPECT_EQ(U->Position(), 7);
  wintest::MouseUp(At(U, 10, 12));
  EXPECT_EQ(U->Position(), 6);
  EXPECT_EQ(Log, (std::vector<String>{"change 9", "change 8", "change 7", "change 6", "down"}));
  // The repeat stops with the release.
  wintest::AdvanceTime(Clock(), 500);
  EXPECT_EQ(U->Position(), 6);
}

TEST_F(SkinUpDown, DraggingOffStopsTheRepeatAndComingBackResumesItFaster) {
  TbsSkinUpDown* U = NewUpDown();
  U->SetPosition(50);
  wintest::MouseDown(At(U, 40, 12));
  wintest::AdvanceTime(Clock(), 700);
  EXPECT_EQ(U->Position(), 52);
  wintest::MouseMove(At(U, 10, 12));  // onto the other button: not counted while captured
  wintest::AdvanceTime(Clock(), 300);
  EXPECT_EQ(U->Position(), 52);
  wintest::MouseMove(At(U, 40, 12));
  wintest::AdvanceTime(Clock(), 100);
  EXPECT_EQ(U->Position(), 54);  // every 50 ms now
  Log.clear();
  wintest::MouseMove(At(U, 100, 100));
  wintest::MouseUp(At(U, 100, 100));  // released outside: no step, no click
  EXPECT_EQ(U->Position(), 54);
  EXPECT_TRUE(Log.empty()) << ::testing::PrintToString(Log);
}

TEST_F(SkinUpDown, ARightButtonPressStartsTheSameRepeat) {
  TbsSkinUpDown* U = NewUpDown();
  U->SetPosition(10);
  wintest::MouseDown(At(U, 40, 12), TInputButton::Right);
  wintest::AdvanceTime(Clock(), 700);
  EXPECT_EQ(U->Position(), 12);
  wintest::MouseUp(At(U, 40, 12), TInputButton::Right);
  EXPECT_EQ(U->Position(), 13);
  EXPECT_EQ(Log.back(), "up");
}

TEST_F(SkinUpDown, LooksWithAndWithoutTheSkin) {
  TbsSkinUpDown* U = NewUpDown();
  U->Repaint();
  EXPECT_EQ(PixelOf(U, 0, 0), COLORREF(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(PixelOf(U, 27, 2), COLORREF(ColorToRGB(clBtnFace)));
  wintest::MouseMove(At(U, 40, 12));
  EXPECT_EQ(PixelOf(U, 27, 2), COLORREF(RGB(193, 212, 243)));  // the hot up button
  EXPECT_EQ(PixelOf(U, 2, 2), COLORREF(ColorToRGB(clBtnFace)));
  wintest::MouseMove(At(U, 100, 100));

  // Skinned: the element's size and its button pictures; the hot picture is copied on the button.
  U->SetSkinData(Skin.get());
  U->Repaint();
  EXPECT_EQ(U->Width(), 48);
  EXPECT_EQ(U->Height(), 24);
  // Buttons at the element's halves (control coordinates), hot pictures from the active cell.
  auto* R = dynamic_cast<TbsDataSkinUpDownControl*>(Skin->Ctrls(Skin->GetControlIndex("hupdown")));
  ASSERT_NE(R, nullptr);
  const Integer Row = ElementOf("hupdown") * 24;
  R->UpButtonRect = Rect(24, 0, 48, 24);
  R->DownButtonRect = Rect(0, 0, 24, 24);
  R->ActiveUpButtonRect = Bounds(48, Row, 24, 24);
  U->Repaint();
  EXPECT_EQ(U->Buttons[0].R, Rect(24, 0, 48, 24));
  EXPECT_EQ(PixelOf(U, 34, 12), SliceColor("hupdown", 0, 4));  // the element picture at rest
  wintest::MouseMove(At(U, 34, 12));
  EXPECT_EQ(PixelOf(U, 34, 12), SliceColor("hupdown", 1, 4));  // the hot picture copied onto the button
  EXPECT_EQ(PixelOf(U, 10, 12), SliceColor("hupdown", 0, 4));
}

TEST_F(SkinUpDown, WithoutTheSkinSizeEachHalfIsAResizeButton) {
  TbsSkinUpDown* U = NewUpDown();
  U->SetUseSkinSize(false);
  U->SetSkinData(Skin.get());
  U->SetBounds(10, 10, 60, 30);
  U->Repaint();
  EXPECT_EQ(U->Width(), 60);  // the size asked stays
  EXPECT_EQ(U->Buttons[0].R, Rect(30, 0, 60, 30));
  EXPECT_EQ(PixelOf(U, 31, 1), SliceColor("resizebutton", 0, 0));
  EXPECT_EQ(PixelOf(U, 1, 1), SliceColor("resizebutton", 0, 0));
  wintest::MouseMove(At(U, 40, 15));
  EXPECT_EQ(PixelOf(U, 31, 1), SliceColor("resizebutton", 1, 0));
  wintest::MouseDown(At(U, 40, 15));
  EXPECT_EQ(PixelOf(U, 31, 1), SliceColor("resizebutton", 2, 0));
  EXPECT_EQ(PixelOf(U, 1, 1), SliceColor("resizebutton", 0, 0));
  wintest::MouseUp(At(U, 40, 15));
}

}  // namespace
