#include <gtest/gtest.h>

#include <algorithm>

#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/buttons/bsskinmenubutton.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/menus/bsskinimagesmenu.h"
#include "skin/menus/testkit/skinmenustestkit.h"

namespace {

using wintest::ScreenPoint;

// A form with a stand-in form engine, a skinned popup menu of two entries and an images menu of two
// pictures; the buttons log what their users see.
class SkinMenuButtons : public TSkinMenuTest {
 protected:
  void SetUp() override {
    TSkinMenuTest::SetUp();
    Host->FSkinData = Skin.get();
    Popup = new TbsSkinPopupMenu(Form);
    for (const char* Caption : {"One", "Two"}) {
      auto* I = new TMenuItem(Popup);
      I->SetCaption(Caption);
      I->OnClick = [this, Caption](TObject*) { Log.push_back(String("item ") + Caption); };
      Popup->Items()->Add(I);
    }
    Images = std::make_unique<TCustomImageList>(nullptr, 16, 16);
    for (TColor C : {clRed, clBlue}) {
      TBitmap B;
      B.SetSize(16, 16);
      B.Canvas()->Brush()->SetColor(C);
      B.Canvas()->FillRect(Rect(0, 0, 16, 16));
      Images->Add(&B, nullptr);
    }
    ImagesMenu = new TbsSkinImagesMenu(Form);
    ImagesMenu->SetImages(Images.get());
    for (int i = 0; i < 2; ++i) ImagesMenu->ImagesItems()->AddItem()->SetImageIndex(i);
  }
  void TearDown() override {
    ImagesMenu = nullptr;
    TSkinMenuTest::TearDown();
  }

  template <class T>
  void Wire(T* B, const String& Name) {
    B->OnClick = [this, Name](TObject*) { Log.push_back(Name + " click"); };
    B->OnMouseDown = [this, Name](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      Log.push_back(Name + " down");
    };
    B->OnMouseUp = [this, Name](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      Log.push_back(Name + " up");
    };
    B->OnShowTrackMenu = [this, Name](TObject*) { Log.push_back(Name + " show menu"); };
    B->OnHideTrackMenu = [this, Name](TObject*) { Log.push_back(Name + " hide menu"); };
  }
  TbsSkinMenuSpeedButton* NewSpeed(TWinControl* Parent, TRect Bounds) {
    auto* B = NewControl<TbsSkinMenuSpeedButton>(Parent, Bounds);
    Wire(B, "b");
    return B;
  }
  TbsSkinMenuButton* NewButton(TRect Bounds) {
    auto* B = NewControl<TbsSkinMenuButton>(Form, Bounds);
    Wire(B, "m");
    return B;
  }
  static TPoint At(TControl* C, Integer X, Integer Y) {
    if (auto* W = dynamic_cast<TWinControl*>(C)) return ScreenPoint(W->Handle(), X, Y);
    return ScreenPoint(C->Parent()->Handle(), C->Left() + X, C->Top() + Y);
  }
  // A control's pixel at its own client point, as the screen shows it.
  static COLORREF PixelOf(TControl* C, Integer X, Integer Y) {
    auto* W = dynamic_cast<TWinControl*>(C);
    if (W == nullptr) {
      W = C->Parent();
      X += C->Left();
      Y += C->Top();
    }
    const TPoint Client = W->ClientOrigin();
    RECT R;
    GetWindowRect(W->Handle(), &R);
    return PaintedPixel(W->Handle(), X + Client.X - R.Left, Y + Client.Y - R.Top);
  }
  static COLORREF SliceColor(const String& Name, int State, int Slice) {
    for (int i = 0; i < GeneratedSkinControlCount(); ++i)
      if (Name == GeneratedSkinControlName(i)) return COLORREF(GeneratedSkinSliceColor(i, State, Slice));
    return CLR_INVALID;
  }
  Integer Count(const String& Entry) const { return Integer(std::count(Log.begin(), Log.end(), Entry)); }
  void ClickOutside() { wintest::Click(ScreenPoint(Form->Handle(), 350, 250)); }

  TbsSkinPopupMenu* Popup = nullptr;
  std::unique_ptr<TCustomImageList> Images;
  TbsSkinImagesMenu* ImagesMenu = nullptr;
  std::vector<String> Log;
};

// ---- menu speed button ----

TEST_F(SkinMenuButtons, SpeedButtonPressOpensTheMenuAndItsCloseBringsTheButtonUp) {
  auto* Bar = NewControl<TbsSkinToolBar>(Form, Rect(0, 0, 300, 40));
  auto* B = NewSpeed(Bar, Rect(10, 5, 58, 29));
  EXPECT_EQ(B->SkinDataName(), "toolmenubutton");
  B->SetSkinPopupMenu(Popup);
  wintest::MouseMove(At(B, 10, 10));
  wintest::MouseDown(At(B, 10, 10));
  EXPECT_TRUE(Menu->Visible());
  EXPECT_TRUE(B->Down());
  EXPECT_TRUE(B->MenuTracked());
  // The press that opens the menu gives no OnMouseDown, and its release no click and no OnMouseUp.
  wintest::MouseUp(At(B, 10, 10));
  EXPECT_EQ(Log, std::vector<String>{"b show menu"});
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(B->Down());
  // While the menu is open hover changes only follow the mouse.
  wintest::MouseMove(At(B, 200, 10));
  EXPECT_TRUE(B->Down());
  // The entry's command: the menu closes first, then the command runs.
  wintest::Click(EntryPoint(Level(), 1));
  EXPECT_FALSE(Menu->Visible());
  EXPECT_EQ(Log, (std::vector<String>{"b show menu", "b hide menu", "item Two"}));
  EXPECT_FALSE(B->Down());
  EXPECT_FALSE(B->MouseIn());
  EXPECT_FALSE(B->MenuTracked());

  // Closed by a click outside, with the cursor still over the button: up and not hovered.
  Log.clear();
  wintest::MouseMove(At(B, 10, 10));
  wintest::MouseDown(At(B, 10, 10));
  wintest::MouseUp(At(B, 10, 10));
  Menu->Hide();
  EXPECT_EQ(Log, (std::vector<String>{"b show menu", "b hide menu"}));
  EXPECT_FALSE(B->Down());
  EXPECT_FALSE(B->MouseIn());
  // The next press is a press again: the menu opens once more.
  wintest::MouseMove(At(B, 12, 10));
  wintest::MouseDown(At(B, 12, 10));
  EXPECT_TRUE(Menu->Visible());
  wintest::MouseUp(At(B, 12, 10));
  ClickOutside();
  EXPECT_FALSE(Menu->Visible());
  EXPECT_EQ(Count("b hide menu"), 2);
}

TEST_F(SkinMenuButtons, SpeedButtonWithoutMenusIsAPlainSpeedButton) {
  auto* B = NewSpeed(Form, Rect(10, 10, 58, 34));
  B->SetTrackButtonMode(true);
  EXPECT_FALSE(B->CanMenuTrack(40, 10));
  wintest::MouseMove(At(B, 40, 10));
  wintest::Click(At(B, 40, 10));
  EXPECT_EQ(Log, (std::vector<String>{"b down", "b click", "b up"}));
  EXPECT_FALSE(Menu->Visible());
}

TEST_F(SkinMenuButtons, TrackButtonModeOpensOnlyFromTheDropDownPart) {
  auto* B = NewSpeed(Form, Rect(10, 10, 70, 34));
  B->SetSkinDataName("resizetoolbutton");
  B->SetSkinData(Skin.get());
  B->SetSkinPopupMenu(Popup);
  B->SetTrackButtonMode(true);
  struct TCase {
    TPoint P;
    bool Tracks;
  };
  // The rightmost 15 pixels, edges included.
  for (const TCase& C :
       {TCase{{45, 5}, true}, TCase{{60, 23}, true}, TCase{{44, 5}, false}, TCase{{0, 0}, false}})
    EXPECT_EQ(B->CanMenuTrack(C.P.X, C.P.Y), C.Tracks) << C.P.X << "," << C.P.Y;
  wintest::MouseMove(At(B, 10, 10));
  wintest::Click(At(B, 10, 10));
  EXPECT_EQ(Log, (std::vector<String>{"b down", "b click", "b up"}));
  Log.clear();
  wintest::MouseMove(At(B, 52, 10));
  wintest::MouseDown(At(B, 52, 10));
  EXPECT_TRUE(Menu->Visible());
  // The main part shows the active picture, the drop-down part the pressed one.
  EXPECT_EQ(PixelOf(B, 20, 12), SliceColor("resizetoolbutton", 1, 4));
  EXPECT_EQ(PixelOf(B, 52, 3), SliceColor("resizetoolbutton", 2, 1));
  wintest::MouseUp(At(B, 52, 10));
  EXPECT_EQ(Log, std::vector<String>{"b show menu"});
  ClickOutside();
  EXPECT_FALSE(B->Down());
}

TEST_F(SkinMenuButtons, FlatIdleButtonShowsOnlyItsContentAndTheSmallArrow) {
  auto* Bar = NewControl<TbsSkinToolBar>(Form, Rect(0, 0, 300, 40));
  auto* B = NewSpeed(Bar, Rect(10, 5, 70, 29));
  B->SetSkinDataName("resizetoolbutton");
  Bar->SetSkinData(Skin.get());
  Bar->SetFlat(true);
  B->SetSkinPopupMenu(Popup);
  ASSERT_TRUE(B->Transparent());
  // The bar shows through; the arrow is drawn in the skin's button-text colour in the right strip.
  const COLORREF Text = COLORREF(ColorToRGB(Skin->SkinColors()->cBtnText()));
  Integer Arrow = 0, Elsewhere = 0;
  for (Integer y = 0; y < B->Height(); ++y)
    for (Integer x = 0; x < B->Width(); ++x) {
      const COLORREF C = PixelOf(B, x, y);
      if (C == Text) (x >= B->Width() - 17 ? Arrow : Elsewhere)++;
    }
  EXPECT_GE(Arrow, 3);
  EXPECT_EQ(Elsewhere, 0);
  EXPECT_EQ(PixelOf(B, 20, 3), PixelOf(Bar, 100, 8));
  // Opening the menu shows the pressed picture; closing it returns to the flat idle look.
  wintest::MouseMove(At(B, 10, 10));
  wintest::MouseDown(At(B, 10, 10));
  EXPECT_EQ(PixelOf(B, 20, 3), SliceColor("resizetoolbutton", 2, 1));
  wintest::MouseUp(At(B, 10, 10));
  Menu->Hide();
  EXPECT_TRUE(B->Transparent());
  EXPECT_EQ(PixelOf(B, 20, 3), PixelOf(Bar, 100, 8));
}

TEST_F(SkinMenuButtons, NewStyleAtTheBottomTracksTheBottomStrip) {
  auto* B = NewSpeed(Form, Rect(10, 10, 50, 60));
  B->SetNewStyle(true);
  EXPECT_EQ(B->SkinDataName(), "resizetoolbutton");
  B->SetTrackPosition(bstpBottom);
  B->SetSkinPopupMenu(Popup);
  B->SetTrackButtonMode(true);
  EXPECT_TRUE(B->CanMenuTrack(5, 35));
  EXPECT_TRUE(B->CanMenuTrack(39, 49));
  EXPECT_FALSE(B->CanMenuTrack(39, 34));
  // Default look, hovered: the bottom strip is the arrow area and is framed on its own.
  wintest::MouseMove(At(B, 10, 10));
  EXPECT_EQ(PixelOf(B, 20, 35), RGB(59, 107, 183));
  EXPECT_EQ(PixelOf(B, 20, 34), RGB(59, 107, 183));
}

TEST_F(SkinMenuButtons, NewStyleSkinnedPartsFollowTheTrackedMenu) {
  auto* B = NewSpeed(Form, Rect(10, 10, 70, 40));
  B->SetNewStyle(true);
  B->SetSkinData(Skin.get());
  B->SetSkinPopupMenu(Popup);
  B->SetTrackButtonMode(true);
  // Idle: one "resizetoolbutton" picture over the whole button.
  EXPECT_EQ(PixelOf(B, 30, 2), SliceColor("resizetoolbutton", 0, 1));
  EXPECT_EQ(PixelOf(B, 50, 2), SliceColor("resizetoolbutton", 0, 1));
  // Hovered: main part and the 15-pixel track part at the right, both active, each with its corners.
  wintest::MouseMove(At(B, 10, 10));
  EXPECT_EQ(PixelOf(B, 44, 2), SliceColor("resizetoolbutton", 1, 2));
  EXPECT_EQ(PixelOf(B, 46, 2), SliceColor("resizetoolbutton", 1, 0));
  // The track part opens the menu: it shows pressed, the main part stays active.
  wintest::MouseMove(At(B, 52, 10));
  wintest::MouseDown(At(B, 52, 10));
  EXPECT_TRUE(Menu->Visible());
  EXPECT_EQ(PixelOf(B, 46, 2), SliceColor("resizetoolbutton", 2, 0));
  EXPECT_EQ(PixelOf(B, 20, 2), SliceColor("resizetoolbutton", 1, 1));
  wintest::MouseUp(At(B, 52, 10));
  Menu->Hide();
  EXPECT_FALSE(B->Down());
}

TEST_F(SkinMenuButtons, BothMenusOpenAndTheImagesMenuTakesTheCapture) {
  auto* Bar = NewControl<TbsSkinToolBar>(Form, Rect(0, 0, 300, 40));
  auto* B = NewSpeed(Bar, Rect(10, 5, 58, 29));
  B->SetSkinImagesMenu(ImagesMenu);
  wintest::MouseMove(At(B, 10, 10));
  wintest::MouseDown(At(B, 10, 10));
  // The press captured the bar; the grid takes the capture over.
  ASSERT_NE(ImagesMenu->PopupWindow(), nullptr);
  EXPECT_EQ(GetCapture(), ImagesMenu->PopupWindow()->Handle());
  wintest::MouseUp(At(B, 10, 10));
  EXPECT_TRUE(B->Down());
  EXPECT_EQ(Count("b up"), 0);
  wintest::KeyPress(VK_ESCAPE);
  WinRunDeferredActions();
  EXPECT_EQ(ImagesMenu->PopupWindow(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(B->Down());
  EXPECT_FALSE(B->MenuTracked());
  // The capture is back to normal: the next press is the button's own.
  EXPECT_EQ(Log, (std::vector<String>{"b show menu", "b hide menu"}));

  // With both menus set, both open and each announces itself.
  Log.clear();
  B->SetSkinPopupMenu(Popup);
  wintest::MouseMove(At(B, 12, 10));
  wintest::MouseDown(At(B, 12, 10));
  EXPECT_EQ(Count("b show menu"), 2);
  EXPECT_TRUE(Menu->Visible());
  EXPECT_NE(ImagesMenu->PopupWindow(), nullptr);
  wintest::MouseUp(At(B, 12, 10));
  wintest::KeyPress(VK_ESCAPE);
  Menu->Hide();
  WinRunDeferredActions();
  EXPECT_EQ(Count("b hide menu"), 2);
  EXPECT_FALSE(B->Down());
}

TEST_F(SkinMenuButtons, SpeedButtonShowsTheImagesMenusSelection) {
  auto* B = NewSpeed(Form, Rect(10, 10, 58, 34));
  B->SetSkinImagesMenu(ImagesMenu);
  B->SetUseImagesMenuImage(true);
  ImagesMenu->SetItemIndex(1);
  EXPECT_EQ(PixelOf(B, 15, 12), COLORREF(ColorToRGB(clBlue)));
  ImagesMenu->SetItemIndex(0);
  B->Repaint();
  EXPECT_EQ(PixelOf(B, 15, 12), COLORREF(ColorToRGB(clRed)));
  // The images menu outlives a freed button without calling into it.
  delete B;
  ImagesMenu->SetItemIndex(1);
  if (ImagesMenu->OnInternalChange) ImagesMenu->OnInternalChange(ImagesMenu);
}

// ---- menu button ----

TEST_F(SkinMenuButtons, MenuButtonPressOpensAndTheCloseLeavesItUpWithoutHover) {
  auto* B = NewButton(Rect(10, 10, 110, 35));
  B->SetSkinPopupMenu(Popup);
  EXPECT_EQ(B->SkinDataName(), "toolmenubutton");
  EXPECT_FALSE(B->SpaceSupport());
  wintest::MouseMove(At(B, 20, 10));
  wintest::MouseDown(At(B, 20, 10));
  EXPECT_TRUE(Menu->Visible());
  EXPECT_TRUE(B->Down());
  wintest::MouseUp(At(B, 20, 10));
  EXPECT_EQ(Log, std::vector<String>{"m show menu"});
  // The cursor leaves while the menu is open; the close finds it elsewhere.
  wintest::MouseMove(ScreenPoint(Form->Handle(), 350, 250));
  ClickOutside();
  EXPECT_FALSE(Menu->Visible());
  EXPECT_FALSE(B->Down());
  EXPECT_FALSE(B->MouseIn());
  EXPECT_EQ(Log, (std::vector<String>{"m show menu", "m hide menu"}));
  // Default look afterwards: not pressed; the press gave it the focus, so it shows the focused face.
  EXPECT_EQ(PixelOf(B, 40, 12), RGB(193, 212, 243));
  EXPECT_EQ(GetFocus(), B->Handle());
}

TEST_F(SkinMenuButtons, MenuButtonSpaceOpensOnKeyDownAndDoesNotClickOnKeyUp) {
  auto* B = NewButton(Rect(10, 10, 110, 35));
  B->SetSkinPopupMenu(Popup);
  B->SetFocus();
  wintest::KeyDown(VK_SPACE);
  EXPECT_TRUE(Menu->Visible());
  EXPECT_TRUE(B->MenuTracked());
  wintest::KeyUp(VK_SPACE);
  EXPECT_EQ(Count("m click"), 0);
  Menu->Hide();
  Host->SkinMenuClose();
  EXPECT_FALSE(B->Down());
  // Without a menu open, Space clicks on key-up.
  Log.clear();
  B->SetTrackButtonMode(true);
  B->SetFocus();
  wintest::KeyPress(VK_SPACE);
  EXPECT_FALSE(Menu->Visible());
  EXPECT_EQ(Count("m click"), 1);
}

TEST_F(SkinMenuButtons, MenuButtonTrackModeAndPlainMode) {
  auto* B = NewButton(Rect(10, 10, 110, 35));
  B->SetTrackButtonMode(true);
  // Neither menu: a plain push button.
  wintest::MouseMove(At(B, 95, 10));
  wintest::Click(At(B, 95, 10));
  EXPECT_EQ(Count("m click"), 1);
  EXPECT_FALSE(Menu->Visible());
  B->SetSkinPopupMenu(Popup);
  Log.clear();
  wintest::MouseMove(At(B, 20, 10));
  wintest::Click(At(B, 20, 10));
  EXPECT_EQ(Log, (std::vector<String>{"m down", "m click", "m up"}));
  Log.clear();
  wintest::MouseMove(At(B, 95, 10));
  wintest::MouseDown(At(B, 95, 10));
  EXPECT_TRUE(Menu->Visible());
  // Default look while tracked: the main part hovered, the drop-down part pressed.
  EXPECT_EQ(PixelOf(B, 40, 12), RGB(193, 212, 243));
  EXPECT_EQ(PixelOf(B, 90, 3), RGB(162, 188, 228));
  wintest::MouseUp(At(B, 95, 10));
  EXPECT_EQ(Log, std::vector<String>{"m show menu"});
  Menu->Hide();
  Host->SkinMenuClose();
  EXPECT_FALSE(B->MenuTracked());
  // DropDown opens from code.
  B->DropDown();
  EXPECT_TRUE(Menu->Visible());
  EXPECT_TRUE(B->Down());
  Menu->Hide();
  Host->SkinMenuClose();
}

}  // namespace
