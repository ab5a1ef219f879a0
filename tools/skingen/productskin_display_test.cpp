// The product skin on a real display: a skinned form with the controls the main window is made of
// (a default and a normal button, an edit, a combo box, a list with a selected row, check and radio
// boxes, a scroll bar and a slider), loaded from the product container through the skin loader and
// mapped on a private X server; what the screen shows is read back. The screenshot is written beside
// the test program as productskin_display.png.
#include <gtest/gtest.h>

#include "platform/rtl/files.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/boxes/lists/bsskinlistbox.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/bars/bsskinslider.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/buttons/bsskinspeedbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/testkit/bsskintestkit.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/frame/bsskinobjects.h"
#include "skin/menus/bsskinmenu.h"
#include "skin/menus/bsskinmenuitem.h"
#include "skin/menus/bsskinpopupwindow.h"
#include "tools/skingen/productlook.h"

namespace {

class ProductSkinDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  void SetUp() override {
    TDisplayTest<TSkinControlTest>::SetUp();
    if (IsSkipped()) return;
    WriteProductSkinContainer(Dir / "nerivo.skn");
    Skin->LoadFromCompressedFile(Dir / "nerivo.skn");
    ASSERT_FALSE(Skin->Empty);
  }
  bool Shows(TControl* C, Integer X, Integer Y, Cardinal RGB) {
    return PumpUntil([&] { return ScreenAt(C, X, Y) == ColorOfRGB(RGB); });
  }
  template <class T>
  T* Add(TWinControl* Parent, const TRect& R) {
    auto* C = NewControl<T>(Parent, R);
    C->SetSkinData(Skin.get());
    return C;
  }
  // A form on the window background with the skin's frame; Engine is its skinning engine.
  TForm* NewSkinnedForm(const String& Caption, Integer Height, TbsSkinForm*& Engine) {
    TForm* F;
    Application->CreateForm(F);
    F->SetBounds(40, 30, 540, Height);
    F->SetColor(TColor(ColorOfRGB(look::WindowBg)));
    F->SetCaption(Caption);
    Engine = new TbsSkinForm(F);
    Engine->SetSkinData(Skin.get());
    return F;
  }
  TTempFolder Dir;
};

TEST_F(ProductSkinDisplay, AFormOfSkinnedControlsShowsTheProductLook) {
  TbsSkinForm* Engine;
  TForm* F = NewSkinnedForm("Nerivo 视频转换", 360, Engine);

  auto* Start = Add<TbsSkinButton>(F, Bounds(16, 16, 96, 28));
  Start->SetSkinDataName(ProductDefaultButtonName);
  Start->SetCaption("开始");
  auto* Stop = Add<TbsSkinButton>(F, Bounds(120, 16, 96, 28));
  Stop->SetCaption("停止");
  auto* Off = Add<TbsSkinButton>(F, Bounds(224, 16, 96, 28));
  Off->SetCaption("暂停");
  Off->SetEnabled(false);
  auto* Path = Add<TbsSkinEdit>(F, Bounds(16, 56, 304, 26));
  Path->SetText("/home/user/Nerivo视频软件/输出");
  auto* Format = NewControl<TbsSkinComboBox>(F, Bounds(16, 92, 304, 26));
  for (const char* S : {"MP4 视频 (H.264)", "AVI 视频", "MP3 音频"}) Format->Items()->Add(S);
  Format->SetItemIndex(0);
  Format->SetSkinData(Skin.get());
  auto* Jobs = new TbsSkinListBox(F);
  Jobs->SetBounds(16, 128, 304, 150);
  Jobs->SetParent(F);
  Jobs->SetSkinData(Skin.get());
  for (int i = 0; i < 9; ++i) Jobs->Items()->Add("视频 clip" + std::to_string(i + 1) + ".avi");
  auto* Check = Add<TbsSkinCheckRadioBox>(F, Bounds(336, 16, 180, 24));
  Check->SetCaption("完成后关机");
  Check->SetChecked(true);
  auto* Check2 = Add<TbsSkinCheckRadioBox>(F, Bounds(336, 44, 180, 24));
  Check2->SetCaption("完成后打开目录");
  auto* Radio = Add<TbsSkinCheckRadioBox>(F, Bounds(336, 72, 180, 24));
  Radio->SetSkinDataName("radiobox");
  Radio->SetRadio(true);
  Radio->SetChecked(true);
  Radio->SetCaption("MP4");
  auto* Bar = Add<TbsSkinScrollBar>(F, Bounds(336, 110, 180, 20));
  Bar->SetMax(100);
  Bar->SetPageSize(30);
  Bar->SetPosition(20);
  auto* Slider = Add<TbsSkinSlider>(F, Bounds(336, 136, 180, 20));
  F->Show();
  F->SetFocus();
  Jobs->ListBox->SetFocus();
  Jobs->SetItemIndex(1);
  Jobs->ListBox->Invalidate();

  // The frame: a 1-px border and the white caption bar over the window background.
  RECT WR;
  GetWindowRect(F->Handle(), &WR);
  auto screen = [&](Integer X, Integer Y) { return Reader->Pixel(WR.Left + X, WR.Top + Y); };
  ASSERT_TRUE(PumpUntil([&] { return screen(0, 150) == ColorOfRGB(look::FrameBorder); }));
  EXPECT_EQ(screen(200, 0), ColorOfRGB(look::FrameBorder));
  EXPECT_EQ(screen(WR.Right - WR.Left - 1, 150), ColorOfRGB(look::FrameBorder));
  EXPECT_EQ(screen(300, 4), ColorOfRGB(look::TitleActive));
  // The close button at the right end of the caption bar.
  const TRect Close = Engine->Objects(Engine->GetIndex("closebutton"))->ObjectRect;
  const TPoint CloseMid{(Close.Left + Close.Right) / 2, (Close.Top + Close.Bottom) / 2};
  EXPECT_EQ(Close.Right, WR.Right - WR.Left - 1);
  EXPECT_EQ(RectHeight(Close), look::CaptionHeight - 1);
  // The default button's accent face; the normal one's white face in its border.
  EXPECT_TRUE(Shows(Start, 6, 14, look::Accent));
  EXPECT_EQ(ScreenAt(Stop, 6, 14), ColorOfRGB(look::Face));
  EXPECT_EQ(ScreenAt(Stop, 0, 14), ColorOfRGB(look::ControlBorder));
  // The focused list's selected row in the accent, the next row plain.
  TbsListBox* In = Jobs->ListBox;
  EXPECT_TRUE(Shows(In, In->Width() - 12, 24 + 12, look::Accent));
  EXPECT_EQ(ScreenAt(In, In->Width() - 12, 2 * 24 + 12), ColorOfRGB(look::Surface));
  // The checked box shows the accent.
  bool CheckAccent = false;
  for (Integer X = 0; X < 24 && !CheckAccent; ++X)
    CheckAccent = ScreenAt(Check, X, 8) == ColorOfRGB(look::Accent);
  EXPECT_TRUE(CheckAccent);

  TRect W;
  GetWindowRect(F->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "productskin_display.png");

  // Another window taking the focus turns the caption bar grey.
  TForm* Other;
  Application->CreateForm(Other);
  Other->SetBounds(620, 420, 120, 80);
  Other->SetBorderStyle(bsNone);
  Other->Show();
  Other->SetFocus();
  EXPECT_TRUE(PumpUntil([&] { return screen(300, 4) == ColorOfRGB(look::TitleInactive); }));
  EXPECT_TRUE(PumpUntil([&] { return screen(CloseMid.X, 2) == ColorOfRGB(look::TitleInactive); }));
  x11test::SaveBesideProgram(Reader->Capture(W), "productskin_inactive_display.png");
  (void)Slider;
  (void)Off;
  (void)Path;
}

TEST_F(ProductSkinDisplay, ToolBarGroupsAndAPopupMenuShowTheProductLook) {
  TbsSkinForm* Engine;
  TForm* F = NewSkinnedForm("Nerivo", 300, Engine);
  auto* Tools = Add<TbsSkinPanel>(F, Bounds(0, 0, 538, 69));
  Tools->SetSkinDataName("toolpanel");
  auto tool = [&](Integer X, const char* Caption) {
    auto* B = NewControl<TbsSkinSpeedButton>(Tools, Bounds(X, 6, 56, 56));
    B->SetSkinDataName("toolbutton");
    B->SetCaption(Caption);
    B->SetSkinData(Skin.get());
    return B;
  };
  tool(8, "添加");
  auto* Hot = tool(64, "删除");
  tool(120, "清空");
  auto* Group = Add<TbsSkinGroupBox>(F, Bounds(300, 80, 222, 170));
  Group->SetCaption("视频预览");
  auto* Surface = Add<TbsSkinPanel>(F, Bounds(8, 80, 280, 170));
  Surface->SetSkinDataName("panel");
  auto* Menu = new TbsSkinPopupMenu(F);
  auto add = [&](TMenuItem* Parent, const String& Caption) {
    auto* I = new TMenuItem(Menu);
    I->SetCaption(Caption);
    Parent->Add(I);
    return I;
  };
  add(Menu->Items(), "添加文件...");
  add(Menu->Items(), "添加文件夹...");
  add(Menu->Items(), "-");
  add(Menu->Items(), "完成后关机")->SetChecked(true);
  add(add(Menu->Items(), "更多"), "Inner");
  add(Menu->Items(), "不可用")->SetEnabled(false);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));
  Hot->Perform(CM_MOUSEENTER, 0, 0);
  const TPoint At = F->ClientToScreen({24, 110});
  Menu->Popup(At.X, At.Y);
  TbsSkinMenu* Open = Engine->SkinMenu();
  ASSERT_EQ(Open->PopupCount(), 1);
  TbsSkinPopupWindow* W = Open->PopupLevel(0);

  // The menu: a white surface in a 1-px border; the first entry highlighted in the quiet selection
  // colour, the second plain.
  RECT MR;
  GetWindowRect(W->Handle(), &MR);
  ASSERT_TRUE(PumpUntil(
      [&] { return Reader->Pixel(MR.Left, (MR.Top + MR.Bottom) / 2) == ColorOfRGB(look::SurfaceBorder); }));
  const TRect E0 = W->Item(0)->ObjectRect, E1 = W->Item(1)->ObjectRect;
  EXPECT_EQ(ScreenAt(W, E0.Right - 8, (E0.Top + E0.Bottom) / 2), ColorOfRGB(look::SelectionUnfocused));
  EXPECT_EQ(ScreenAt(W, E1.Right - 8, (E1.Top + E1.Bottom) / 2), ColorOfRGB(look::Surface));
  EXPECT_EQ(RectHeight(E1), look::MenuItemHeight);
  // The hovered tool button's face; the group's white surface in its border.
  EXPECT_TRUE(Shows(Hot, 28, 3, look::FaceHover));
  EXPECT_EQ(ScreenAt(Group, 100, 100), ColorOfRGB(look::Surface));
  EXPECT_EQ(ScreenAt(Group, 0, 100), ColorOfRGB(look::SurfaceBorder));

  RECT FR;
  GetWindowRect(F->Handle(), &FR);
  TRawImage Shot =
      Reader->Capture(TRect{FR.Left, FR.Top, std::max(FR.Right, MR.Right), std::max(FR.Bottom, MR.Bottom)});
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "productskin_menu_display.png");
  wintest::Click(F->ClientToScreen({520, 74}));
  EXPECT_EQ(Open->PopupCount(), 0);
}

}  // namespace
