// The skinned popup menu on a real display: a popup menu of a form under the generated skin opens on
// a private X server as a captionless tool popup (override-redirect there) inside the work area, the
// screen shows its window picture and its entries' states, and a click on the form outside the menu
// closes it. The screenshot is written beside the test program as skinmenus_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gdi/codecs.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/menus/testkit/skinmenustestkit.h"

namespace {

class SkinMenusDisplay : public TDisplayTest<TUiTest> {
 protected:
  void TearDown() override {
    Skin.reset();
    TDisplayTest<TUiTest>::TearDown();
  }
  static COLORREF MenuSlice(int State, int Slice) {
    return COLORREF(GeneratedSkinSliceColor(63, State, Slice));
  }
  std::unique_ptr<TbsSkinData> Skin;
};

TEST_F(SkinMenusDisplay, APopupMenuOpensOnTheWorkAreaShowsItsEntriesAndClosesOnAClickOutside) {
  Skin = std::make_unique<TbsSkinData>(nullptr);
  BuildGeneratedSkin(Skin.get());
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 440, 330);
  F->SetColor(clWhite);
  auto* Host = new TTestMenuHost(F);
  Host->FSkinData = Skin.get();
  auto* P = new TbsSkinPopupMenu(F);
  auto add = [&](TMenuItem* Parent, const String& Caption) {
    auto* I = new TMenuItem(P);
    I->SetCaption(Caption);
    Parent->Add(I);
    return I;
  };
  add(P->Items(), "打开 Open")->SetShortCut(TextToShortCut("Ctrl+O"));
  add(P->Items(), "Save as");
  add(P->Items(), "-");
  add(P->Items(), "Shut down after")->SetChecked(true);
  add(add(P->Items(), "More"), "Inner");
  add(P->Items(), "Disabled")->SetEnabled(false);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));

  const TPoint At = F->ClientToScreen({60, 40});
  P->Popup(At.X, At.Y);
  TbsSkinMenu* Menu = Host->SkinMenu();
  ASSERT_EQ(Menu->PopupCount(), 1);
  TbsSkinPopupWindow* W = Menu->PopupLevel(0);
  HWND Wnd = W->Handle();
  // A captionless tool popup: the X11 backend maps it override-redirect.
  const DWORD Style = DWORD(GetWindowLong(Wnd, GWL_STYLE)), ExStyle = DWORD(GetWindowLong(Wnd, GWL_EXSTYLE));
  EXPECT_NE(Style & WS_POPUP, 0u);
  EXPECT_EQ(Style & (WS_CAPTION | WS_DLGFRAME), 0u);
  EXPECT_NE(ExStyle & WS_EX_TOOLWINDOW, 0u);
  RECT R;
  GetWindowRect(Wnd, &R);
  TRect WA;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &WA, 0);
  EXPECT_EQ(R.Left, At.X);
  EXPECT_EQ(R.Top, At.Y);
  EXPECT_GE(R.Left, WA.Left);
  EXPECT_LE(R.Right, WA.Right);
  EXPECT_LE(R.Bottom, WA.Bottom);

  // The screen shows the window picture's corner, the highlighted first entry and a normal one.
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(W, 0, 0) == MenuSlice(1, 0); }));
  auto entryPixel = [&](Integer Entry, Integer X, Integer Y) {
    const TRect& E = W->Item(Entry)->ObjectRect;
    return ScreenAt(W, E.Left + X, E.Top + Y);
  };
  EXPECT_EQ(entryPixel(0, 1, 10), MenuSlice(3, 3));
  EXPECT_EQ(entryPixel(1, 1, 10), MenuSlice(2, 3));
  EXPECT_EQ(entryPixel(2, W->Item(2)->ObjectRect.Width() / 2, 3), MenuSlice(4, 4));
  // Caption text: dark ink on the normal entries, light on the highlighted one.
  auto inkIn = [&](Integer Entry, bool Light) {
    TRect E = W->Item(Entry)->ObjectRect;
    TPoint O = W->ClientToScreen({E.Left, E.Top});
    TRawImage Img = Reader->Capture(Bounds(O.X, O.Y, E.Width(), E.Height()));
    Integer Ink = 0;
    for (Integer y = 0; y < Img.Height; ++y)
      for (Integer x = 0; x < Img.Width; ++x) {
        const Byte* Px = Img.Row(y) + x * 3;
        const Integer Max = std::max({Px[0], Px[1], Px[2]}), Min = std::min({Px[0], Px[1], Px[2]});
        Ink += Light ? Min > 200 : Max < 60;
      }
    return Ink;
  };
  EXPECT_GT(inkIn(0, true), 20);
  EXPECT_GT(inkIn(1, false), 20);
  EXPECT_GT(inkIn(3, false), 20);

  // The level, for a person to look at.
  TRawImage Shot = Reader->Capture(TRect{R.Left, R.Top, R.Right, R.Bottom});
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinmenus_display.png");

  // A click on the form beside the menu closes it.
  wintest::Click(F->ClientToScreen({400, 280}));
  EXPECT_FALSE(Menu->Visible());
  EXPECT_EQ(Menu->PopupCount(), 0);
  EXPECT_TRUE(PumpUntil([&] { return Reader->Pixel(At.X + 1, At.Y + 1) != MenuSlice(1, 0); }));
  EXPECT_FALSE(Host->Hooked());
}

}  // namespace

#endif
