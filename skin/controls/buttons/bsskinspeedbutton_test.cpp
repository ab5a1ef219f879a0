#include "skin/controls/buttons/bsskinspeedbutton.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

using wintest::ScreenPoint;

class SkinSpeedButton : public TSkinControlTest {
 protected:
  TbsSkinSpeedButton* NewLogged(TWinControl* Parent, TRect Bounds, const String& Name) {
    auto* B = NewControl<TbsSkinSpeedButton>(Parent, Bounds);
    B->OnClick = [this, Name](TObject*) { Log.push_back(Name + " click"); };
    B->OnMouseDown = [this, Name](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      Log.push_back(Name + " down");
    };
    B->OnMouseUp = [this, Name](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      Log.push_back(Name + " up");
    };
    return B;
  }
  // A client point of a windowless control, on the screen.
  static TPoint At(TControl* C, Integer X, Integer Y) {
    return ScreenPoint(C->Parent()->Handle(), C->Left() + X, C->Top() + Y);
  }
  Integer Clicks(const String& Name) const {
    return Integer(std::count(Log.begin(), Log.end(), Name + " click"));
  }
  // An image list of 16 x 16 images, each one colour.
  std::unique_ptr<TCustomImageList> SolidImages(std::initializer_list<TColor> Colors) {
    auto L = std::make_unique<TCustomImageList>(nullptr, 16, 16);
    for (TColor C : Colors) {
      TBitmap B;
      B.SetSize(16, 16);
      B.Canvas()->Brush()->SetColor(C);
      B.Canvas()->FillRect(Rect(0, 0, 16, 16));
      L->Add(&B, nullptr);
    }
    return L;
  }

  std::vector<String> Log;
};

TEST_F(SkinSpeedButton, Defaults) {
  TForm* F = NewForm();
  auto* B = new TbsSkinSpeedButton(F);
  EXPECT_EQ(B->Width(), 25);
  EXPECT_EQ(B->Height(), 25);
  EXPECT_EQ(B->SkinDataName(), "toolbutton");
  EXPECT_FALSE(B->Transparent());
  EXPECT_FALSE(B->Flat());
  EXPECT_EQ(B->ImageIndex(), 0);
  EXPECT_EQ(B->Margin(), -1);
  EXPECT_EQ(B->Spacing(), 1);
  EXPECT_EQ(B->RepeatInterval(), 100);
  EXPECT_TRUE(B->ShowCaption());
  EXPECT_TRUE(B->UseSkinSize());
  EXPECT_EQ(B->Layout(), blGlyphLeft);
  EXPECT_FALSE(B->ControlStyle().Contains(csClickEvents));
  // Check mode takes the button out of the groups, and back.
  B->SetCheckedMode(true);
  EXPECT_EQ(B->GroupIndex(), -1);
  B->SetCheckedMode(false);
  EXPECT_EQ(B->GroupIndex(), 0);
}

TEST_F(SkinSpeedButton, PressAndReleaseClicksBeforeMouseUpAndReleaseOutsideDoesNot) {
  TForm* F = NewForm();
  auto* B = NewLogged(F, Rect(10, 10, 50, 40), "b");
  B->SetSkinData(Skin.get());
  wintest::MouseMove(At(B, 5, 5));
  wintest::MouseDown(At(B, 5, 5));
  EXPECT_TRUE(B->Down());
  EXPECT_EQ(PixelOf(B, 20, 12), SliceColor("toolbutton", 2, 4));
  wintest::MouseUp(At(B, 5, 5));
  EXPECT_EQ(Log, (std::vector<String>{"b down", "b click", "b up"}));
  EXPECT_FALSE(B->Down());
  EXPECT_EQ(PixelOf(B, 20, 12), SliceColor("toolbutton", 1, 4));

  Log.clear();
  wintest::MouseDown(At(B, 5, 5));
  wintest::MouseMove(At(B, 100, 5));
  EXPECT_EQ(PixelOf(B, 20, 12), SliceColor("toolbutton", 0, 4));  // dragged off: up again
  wintest::MouseMove(At(B, 10, 5));
  EXPECT_EQ(PixelOf(B, 20, 12), SliceColor("toolbutton", 2, 4));  // and back: pressed
  wintest::MouseMove(At(B, 100, 5));
  wintest::MouseUp(At(B, 100, 5));
  EXPECT_EQ(Clicks("b"), 0);
  EXPECT_FALSE(B->Down());
}

TEST_F(SkinSpeedButton, CheckedModeAndGroups) {
  TForm* F = NewForm();
  auto* C = NewLogged(F, Rect(10, 10, 40, 40), "c");
  C->SetCheckedMode(true);
  wintest::MouseMove(At(C, 5, 5));
  wintest::MouseDown(At(C, 5, 5));
  EXPECT_EQ(Clicks("c"), 1);  // at once
  wintest::MouseUp(At(C, 5, 5));
  EXPECT_TRUE(C->Down());
  EXPECT_EQ(Clicks("c"), 1);
  wintest::Click(At(C, 5, 5));
  EXPECT_FALSE(C->Down());
  EXPECT_EQ(Clicks("c"), 2);

  // Three in a group, AllowAllUp off: one down raises the others; pressing the down one does nothing.
  TbsSkinSpeedButton* G[3];
  for (int i = 0; i < 3; ++i) {
    G[i] = NewLogged(F, Bounds(100 + 30 * i, 10, 25, 25), "g" + std::to_string(i));
    G[i]->SetGroupIndex(1);
  }
  wintest::Click(At(G[0], 5, 5));
  EXPECT_TRUE(G[0]->Down());
  wintest::Click(At(G[2], 5, 5));
  EXPECT_TRUE(G[2]->Down());
  EXPECT_FALSE(G[0]->Down());
  Log.clear();
  wintest::Click(At(G[2], 5, 5));
  EXPECT_TRUE(G[2]->Down());
  EXPECT_EQ(Clicks("g2"), 0);

  // AllowAllUp on: pressing the down one and releasing over it raises it and clicks; going down
  // raises nobody.
  for (auto* B : G) B->SetAllowAllUp(true);
  wintest::Click(At(G[0], 5, 5));
  EXPECT_TRUE(G[0]->Down());
  EXPECT_TRUE(G[2]->Down());
  Log.clear();
  wintest::MouseMove(At(G[2], 5, 5));
  wintest::Click(At(G[2], 5, 5));
  EXPECT_FALSE(G[2]->Down());
  EXPECT_EQ(Clicks("g2"), 1);
}

TEST_F(SkinSpeedButton, RepeatWaits500MsThenClicksEveryInterval) {
  TForm* F = NewForm();
  auto* B = NewLogged(F, Rect(10, 10, 40, 40), "r");
  B->SetRepeatMode(true);
  B->SetRepeatInterval(100);
  wintest::MouseMove(At(B, 5, 5));
  wintest::MouseDown(At(B, 5, 5));
  wintest::AdvanceTime(Clock(), 500);
  EXPECT_EQ(Clicks("r"), 0);
  wintest::AdvanceTime(Clock(), 300);
  EXPECT_EQ(Clicks("r"), 3);
  // Off the button the repeat pauses; back on it starts over with the delay.
  wintest::MouseMove(At(B, 100, 5));
  wintest::AdvanceTime(Clock(), 1000);
  EXPECT_EQ(Clicks("r"), 3);
  wintest::MouseMove(At(B, 5, 5));
  wintest::AdvanceTime(Clock(), 600);
  EXPECT_EQ(Clicks("r"), 4);
  wintest::MouseUp(At(B, 5, 5));
  EXPECT_EQ(Clicks("r"), 5);  // one more on release
  EXPECT_FALSE(B->RepeatRunning());
}

TEST_F(SkinSpeedButton, ShowCaptionSwitchesBetweenTheTwoWidths) {
  TForm* F = NewForm();
  auto* B = NewControl<TbsSkinSpeedButton>(F, Rect(10, 10, 90, 35));
  B->SetWidthWithCaption(80);
  B->SetWidthWithoutCaption(30);
  B->SetShowCaption(false);
  EXPECT_EQ(B->Width(), 30);
  B->SetShowCaption(true);
  EXPECT_EQ(B->Width(), 80);
  // With one width unset the width stays.
  B->SetWidthWithoutCaption(0);
  B->SetShowCaption(false);
  EXPECT_EQ(B->Width(), 80);
}

TEST_F(SkinSpeedButton, StatePicturesAndCrossFadeOnTheClock) {
  TForm* F = NewForm();
  auto* B = NewControl<TbsSkinSpeedButton>(F, Rect(10, 10, 58, 34));
  auto* R = dynamic_cast<TbsDataSkinButtonControl*>(Skin->Ctrls(Skin->GetControlIndex("toolbutton")));
  R->Morphing = true;
  B->SetSkinData(Skin.get());
  EXPECT_EQ(PixelOf(B, 20, 12), SliceColor("toolbutton", 0, 4));
  wintest::MouseMove(At(B, 5, 5));
  EXPECT_TRUE(B->MorphRunning());
  wintest::AdvanceTime(Clock(), 100);
  EXPECT_EQ(B->MorphKf(), 1);
  EXPECT_EQ(PixelOf(B, 20, 12), SliceColor("toolbutton", 1, 4));
  wintest::MouseMove(At(B, 100, 5));
  wintest::AdvanceTime(Clock(), 40);
  EXPECT_GT(B->MorphKf(), 0);
  EXPECT_LT(B->MorphKf(), 1);
  wintest::AdvanceTime(Clock(), 200);
  EXPECT_EQ(B->MorphKf(), 0);
  EXPECT_FALSE(B->MorphRunning());

  // Disabled without a disabled picture: the normal picture.
  R->DisabledSkinRect = TRect{};
  B->SetEnabled(false);
  EXPECT_EQ(PixelOf(B, 20, 12), SliceColor("toolbutton", 0, 4));
  // A flat button never cross-fades.
  B->SetEnabled(true);
  B->SetFlat(true);
  wintest::MouseMove(At(B, 5, 5));
  EXPECT_FALSE(B->MorphRunning());
  EXPECT_EQ(PixelOf(B, 20, 12), SliceColor("toolbutton", 1, 4));
}

TEST_F(SkinSpeedButton, FlatButtonOnAToolBarShowsTheBarsImages) {
  TForm* F = NewForm();
  auto* Bar = NewControl<TbsSkinToolBar>(F, Rect(0, 0, 300, 40));
  auto Normal = SolidImages({clRed, clBlue});
  auto Hot = SolidImages({clLime, clYellow});
  auto Disabled = SolidImages({clFuchsia, clAqua});
  Bar->SetImages(Normal.get());
  Bar->SetHotImages(Hot.get());
  auto* B = NewControl<TbsSkinSpeedButton>(Bar, Rect(10, 5, 58, 29));
  Bar->SetSkinData(Skin.get());
  Bar->SetFlat(true);
  ASSERT_TRUE(B->Flat());
  ASSERT_TRUE(B->Transparent());
  // Idle: the bar's first image (ImageIndex 0) over the bar's own picture.
  const COLORREF BarClient = SliceColor("toolpanel", 0, 4);
  EXPECT_EQ(PixelOf(B, 24, 12), COLORREF(ColorToRGB(clRed)));
  EXPECT_EQ(PixelOf(B, 2, 12), PixelOf(Bar, 100, 17));
  EXPECT_EQ(PixelOf(Bar, 100, 17), BarClient);
  // Hovered: the element's active picture and the hot image.
  wintest::MouseMove(At(B, 2, 2));
  EXPECT_FALSE(B->Transparent());
  EXPECT_EQ(PixelOf(B, 24, 12), COLORREF(ColorToRGB(clLime)));
  EXPECT_EQ(PixelOf(B, 2, 12), SliceColor("toolbutton", 1, 3));
  wintest::MouseMove(At(B, 200, 2));
  EXPECT_TRUE(B->Transparent());
  // Disabled: the disabled list's image at full colour.
  Bar->SetDisabledImages(Disabled.get());
  B->SetImageIndex(1);
  B->SetEnabled(false);
  EXPECT_EQ(PixelOf(B, 24, 12), COLORREF(ColorToRGB(clAqua)));
  // Enabled again: image 1 of the bar's Images.
  Bar->SetDisabledImages(nullptr);
  B->SetEnabled(true);
  EXPECT_EQ(PixelOf(B, 24, 12), COLORREF(ColorToRGB(clBlue)));
}

TEST_F(SkinSpeedButton, PaintEventCanKeepOnlyTheStatePicture) {
  TForm* F = NewForm();
  auto* B = NewControl<TbsSkinSpeedButton>(F, Rect(10, 10, 58, 34));
  auto Images = SolidImages({clRed});
  B->SetImageList(Images.get());
  B->SetSkinData(Skin.get());
  EXPECT_EQ(PixelOf(B, 24, 12), COLORREF(ColorToRGB(clRed)));
  Integer Calls = 0;
  B->OnPaint = [&](TObject*, TCanvas*, const TRect&, bool, bool, bool& DrawDefault) {
    ++Calls;
    DrawDefault = false;
  };
  EXPECT_EQ(PixelOf(B, 24, 12), SliceColor("toolbutton", 0, 4));
  EXPECT_GT(Calls, 0);
}

TEST_F(SkinSpeedButton, AFlatButtonStoredDownShowsItsPressedPicture) {
  TForm* F = NewForm();
  auto* B = new TbsSkinSpeedButton(F);
  B->BeginLoading();
  B->SetBounds(10, 10, 48, 24);
  B->SetParent(F);
  B->SetGroupIndex(1);
  B->SetFlat(true);
  B->SetDown(true);
  B->SetSkinData(Skin.get());
  B->EndLoading();
  EXPECT_FALSE(B->Transparent());
  EXPECT_EQ(PixelOf(B, 20, 12), SliceColor("toolbutton", 2, 4));
  // Raised with the mouse away it goes back to its invisible idle look.
  B->SetDown(false);
  EXPECT_TRUE(B->Transparent());
}

TEST_F(SkinSpeedButton, AcceleratorClicksAnEnabledVisibleButton) {
  TForm* F = NewForm();
  auto* B = NewLogged(F, Rect(10, 10, 60, 35), "a");
  B->SetCaption("&Open");
  auto Dialog = [&](char32_t Ch) {
    TMessage M{CM_DIALOGCHAR, WPARAM(Ch), 0, 0};
    B->WindowProc(M);
    return M.Result;
  };
  EXPECT_EQ(Dialog(U'o'), 1);
  EXPECT_EQ(Clicks("a"), 1);
  EXPECT_EQ(Dialog(U'x'), 0);
  B->SetEnabled(false);
  EXPECT_EQ(Dialog(U'o'), 0);
  B->SetEnabled(true);
  B->SetVisible(false);
  EXPECT_EQ(Dialog(U'o'), 0);
  EXPECT_EQ(Clicks("a"), 1);
}

TEST_F(SkinSpeedButton, DefaultLookWithoutASkin) {
  TForm* F = NewForm();
  auto* B = NewControl<TbsSkinSpeedButton>(F, Rect(10, 10, 40, 40));
  EXPECT_EQ(PixelOf(B, 0, 0), COLORREF(ColorToRGB(DarkerColor(clBtnFace, 15))));
  EXPECT_EQ(PixelOf(B, 10, 10), BtnFaceRGB());
  wintest::MouseMove(At(B, 5, 5));
  EXPECT_EQ(PixelOf(B, 10, 10), RGB(193, 212, 243));
  EXPECT_EQ(PixelOf(B, 0, 0), RGB(59, 107, 183));
  wintest::MouseDown(At(B, 5, 5));
  EXPECT_EQ(PixelOf(B, 10, 10), RGB(162, 188, 228));
  wintest::MouseUp(At(B, 5, 5));
  // Flat and idle on a plain form: nothing of its own shows.
  B->SetFlat(true);
  wintest::MouseMove(At(B, 100, 5));
  EXPECT_EQ(PixelOf(B, 0, 0), PixelOf(F, 5, 5));
}

}  // namespace
