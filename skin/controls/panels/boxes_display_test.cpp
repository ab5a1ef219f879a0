// The skinned boxes on a real display: a form with check boxes, radio buttons, a panel, a group box, a
// splitter and a bevel under the generated skin is mapped on a private X server and what the screen
// shows is read back. The screenshot is written beside the test program as skinboxes_display.png.
#if NERIVO_X11_TESTS

#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/rtl/threads.h"
#include "platform/ui/core/form.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinsplitter.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class SkinBoxesDisplay : public TDisplayTest<TSkinControlTest> {};

TEST_F(SkinBoxesDisplay, AFormOfSkinnedBoxesShowsTheSkinsStateColours) {
  UseTwoColourCheckPictures("checkbox");
  UseTwoColourCheckPictures("radiobox");
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 480, 260);
  F->SetCaption("Nerivo");
  auto* Check = NewControl<TbsSkinCheckRadioBox>(F, Bounds(12, 12, 150, 25));
  Check->SetCaption("完成后关机 Shut down");
  auto* Radio = NewControl<TbsSkinCheckRadioBox>(F, Bounds(12, 42, 150, 25));
  Radio->SetSkinDataName("radiobox");
  Radio->SetRadio(true);
  Radio->SetGroupIndex(1);
  Radio->SetCaption("MP4");
  auto* Framed = NewControl<TbsSkinCheckRadioBox>(F, Bounds(12, 72, 150, 24));
  Framed->SetFlat(false);
  Framed->SetCaption("Framed");
  auto* Panel = NewControl<TbsSkinPanel>(F, Bounds(180, 12, 130, 90));
  auto* Group = NewControl<TbsSkinGroupBox>(F, Bounds(320, 12, 140, 90));
  Group->SetCaption("输出 Output");
  auto* Bevel = new TbsSkinBevel(F);
  Bevel->SetParent(F);
  Bevel->SetBounds(180, 120, 280, 30);
  Bevel->SetShape(bsTopLine);
  Bevel->SetDividerMode(true);
  auto* Host = NewControl<TbsSkinPanel>(F, Bounds(12, 160, 448, 60));
  auto* Splitter = new TbsSkinSplitter(F);
  Splitter->SetParent(Host);
  Splitter->SetAlign(alLeft);
  for (TControl* C : std::initializer_list<TControl*>{Check, Radio, Framed, Panel, Group, Host})
    dynamic_cast<TbsSkinControl*>(C)->SetSkinData(Skin.get());
  Bevel->SetSkinData(Skin.get());
  Splitter->SetSkinData(Skin.get());
  F->Show();

  const Integer CheckY = Check->Height() / 2;
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(Panel, 60, 45) == SliceColor("panel", 0, 4); }));
  EXPECT_EQ(ScreenAt(Panel, 1, 1), SliceColor("panel", 0, 0));
  EXPECT_EQ(ScreenAt(Group, 1, 1), SliceColor("groupbox", 0, 0));
  EXPECT_EQ(ScreenAt(Check, 12, CheckY), SliceColor("checkbox", 0, 1));
  EXPECT_EQ(ScreenAt(Radio, 12, Radio->Height() / 2), SliceColor("radiobox", 0, 1));
  EXPECT_EQ(ScreenAt(Framed, 120, 3), SliceColor("checkbox", 0, 1));  // the top edge, clear of the caption
  EXPECT_EQ(ScreenAt(Splitter, 2, 2), SliceColor("vsplitter", 0, 0));

  // Hover, then press and release: the hovered picture, then the checked one under the mouse.
  Check->Perform(CM_MOUSEENTER, 0, 0);
  Framed->Perform(CM_MOUSEENTER, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(Check, 12, CheckY) == SliceColor("checkbox", 1, 1); }));
  EXPECT_EQ(ScreenAt(Framed, 120, 3), SliceColor("checkbox", 1, 1));
  Check->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, CheckY));
  Check->Perform(WM_LBUTTONUP, 0, MAKELPARAM(12, CheckY));
  Radio->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 12));
  Radio->Perform(WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
  EXPECT_TRUE(Check->Checked());
  EXPECT_TRUE(Radio->Checked());
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(Check, 12, CheckY) == SliceColor("checkbox", 4, 1); }));
  EXPECT_EQ(ScreenAt(Radio, 12, Radio->Height() / 2), SliceColor("radiobox", 4, 1));

  TRect W;
  GetWindowRect(F->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinboxes_display.png");
}

}  // namespace

#endif
