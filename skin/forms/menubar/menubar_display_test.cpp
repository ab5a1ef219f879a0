// A skinned form with a menu bar on a real display: the form under the generated skin is mapped on a
// private X server, the screen shows the bar's element with its items, the pointer highlights an
// item and a click opens its submenu below it. The screenshot is written beside the test program as
// menubar_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/gdi/codecs.h"
#include "platform/ui/testkit/displaytest.h"
#include "platform/win/testkit/testkit.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/menubar/bsskinmainmenubar.h"
#include "skin/menus/bsskinpopupwindow.h"

namespace {

class MenuBarDisplay : public TDisplayTest<TSkinControlTest> {};

COLORREF ItemSlice(int State, int Slice) {
  return COLORREF(GeneratedSkinSliceColor(60, State, Slice));  // the item element's cells
}

TEST_F(MenuBarDisplay, ASkinnedFormShowsItsMenuBarHighlightsUnderThePointerAndOpensASubmenu) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 440, 330);
  F->SetColor(clWhite);
  auto* Engine = new TbsSkinForm(F);
  Engine->SetSkinData(Skin.get());
  auto* Menu = new TbsSkinMainMenu(F);
  auto add = [&](TMenuItem* Parent, const String& Caption, const String& Name) {
    auto* I = new TMenuItem(F);
    I->SetName(Name);
    I->SetCaption(Caption);
    Parent->Add(I);
    return I;
  };
  TMenuItem* File = add(Menu->Items(), "&File", "FileItem");
  add(File, "&Open", "OpenItem");
  add(File, "E&xit", "ExitItem");
  add(add(Menu->Items(), "&Edit", "EditItem"), "&Copy", "CopyItem");
  add(Menu->Items(), "&Help", "HelpItem");
  auto* Bar = new TbsSkinMainMenuBar(F);
  Bar->SetParent(F);
  Bar->SetSkinData(Skin.get());
  Bar->SetSkinForm(Engine);
  Bar->SetMainMenu(Menu);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));
  ASSERT_EQ(Bar->ObjectCount(), 3);
  ASSERT_TRUE(Bar->FSkinSupport);

  // The bar's element (its left corner) and the first item in its normal look.
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(Bar, 1, 1) == SliceColor("mainmenubar", 0, 0); }));
  const TRect I0 = Bar->Item(0)->ObjectRect, I1 = Bar->Item(1)->ObjectRect;
  EXPECT_EQ(ScreenAt(Bar, I0.Left + 1, I0.Top + 1), ItemSlice(0, 0));
  EXPECT_EQ(ScreenAt(Bar, I1.Left + 1, I1.Top + 1), ItemSlice(0, 0));
  // Each caption shows as dark ink inside its item.
  auto inkIn = [&](const TRect& I) {
    const TPoint O = Bar->ClientToScreen({I.Left, I.Top});
    TRawImage Img = Reader->Capture(Bounds(O.X, O.Y, RectWidth(I), RectHeight(I)));
    Integer Ink = 0;
    for (Integer y = 0; y < Img.Height; ++y)
      for (Integer x = 0; x < Img.Width; ++x) {
        const Byte* Px = Img.Row(y) + x * 3;
        Ink += std::max({Px[0], Px[1], Px[2]}) < 60;
      }
    return Ink;
  };
  EXPECT_GT(inkIn(I0), 10);
  EXPECT_GT(inkIn(I1), 10);

  // The pointer over the second item highlights it (once the hover poll has seen it).
  wintest::MouseMove(Bar->ClientToScreen({(I1.Left + I1.Right) / 2, (I1.Top + I1.Bottom) / 2}));
  Bar->Item(1)->Morphing = false;
  ASSERT_TRUE(PumpUntil([&] {
    wintest::AdvanceTime(Clock(), 60);
    return ScreenAt(Bar, I1.Left + 1, I1.Top + 1) == ItemSlice(1, 0);
  }));
  EXPECT_EQ(ScreenAt(Bar, I0.Left + 1, I0.Top + 1), ItemSlice(0, 0));

  // A click on the first item shows it pressed with its submenu right below it.
  wintest::Click(Bar->ClientToScreen({(I0.Left + I0.Right) / 2, (I0.Top + I0.Bottom) / 2}));
  TbsSkinMenu* SM = Engine->SkinMenu();
  ASSERT_TRUE(SM->Visible());
  TbsSkinPopupWindow* W = SM->PopupLevel(0);
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(Bar, I0.Left + 1, I0.Top + 1) == ItemSlice(2, 0); }));
  const TPoint Below = Bar->ClientToScreen({I0.Left, I0.Bottom});
  RECT R;
  GetWindowRect(W->Handle(), &R);
  EXPECT_EQ(R.Left, Below.X);
  EXPECT_EQ(R.Top, Below.Y);
  ASSERT_TRUE(PumpUntil([&] { return Reader->Pixel(R.Left + 1, R.Top + 1) != ScreenAt(F, 200, 200); }));

  // The form with its bar and the open submenu, for a person to look at.
  const TRect FR = F->BoundsRect();
  TRawImage Shot = Reader->Capture(
      TRect{FR.Left, FR.Top, std::max(FR.Right, Integer(R.Right)), std::max(FR.Bottom, Integer(R.Bottom))});
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "menubar_display.png");

  SM->Hide();
  Application->ProcessMessages();  // the closed level is freed after the call that closed it
  EXPECT_FALSE(Engine->Mode().InMenu);
}

}  // namespace

#endif
