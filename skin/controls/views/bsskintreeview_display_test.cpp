// The skinned tree on a real display: a tree drawn from the generated skin with an attached skinned
// vertical bar is mapped on a private X server; the expand box, the skinned selection and the bar
// show on the screen, and moving the bar scrolls the rows. The screenshot is written beside the test
// program as skintreeview_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/controls/views/bsskintreeview.h"
#include "skin/core/bsskinrecordslists.h"

namespace {

class SkinTreeViewDisplay : public TDisplayTest<TSkinControlTest> {};

TEST_F(SkinTreeViewDisplay, ButtonsSelectionAndBarShowOnScreen) {
  auto* R = dynamic_cast<TbsDataSkinTreeView*>(Skin->Ctrls(Skin->GetControlIndex("treeview")));
  ASSERT_NE(R, nullptr);
  R->FontColor = RGB(0, 0, 0);
  R->BGColor = RGB(255, 255, 255);
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(60, 40, 300, 260);
  auto* T = new TbsSkinCustomTreeView(F);
  T->SetBounds(10, 10, 240, 200);
  T->SetParent(F);
  auto* Bar = new TbsSkinScrollBar(F);
  Bar->SetKind(sbVertical);
  Bar->SetSkinDataName("vscrollbar");
  Bar->SetBounds(250, 10, 16, 200);
  Bar->SetParent(F);
  Bar->SetSkinData(Skin.get());
  T->SetVScrollBar(Bar);
  T->SetSkinData(Skin.get());
  T->SetDrawSkin(true);
  TTreeNode* Videos = T->Items()->Add(nullptr, "视频");
  for (int i = 0; i < 20; ++i) T->Items()->AddChild(Videos, "片段" + std::to_string(i) + ".avi");
  TTreeNode* Music = T->Items()->Add(nullptr, "音乐");
  T->Items()->AddChild(Music, "a.mp3");
  F->Show();
  T->SetFocus();
  T->SetSelected(Videos->Item(1));
  Videos->Expand(false);
  T->Repaint();

  const Integer X0 = T->Indent() / 2, Yc = T->ItemHeight() / 2;
  const COLORREF Box = COLORREF(ColorToRGB(T->ButtonColor()));
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(T, X0 - T->ButtonSize(), Yc) == Box; }));
  EXPECT_TRUE(PumpUntil([&] { return Bar->Visible(); }));
  std::vector<COLORREF> Focus;
  for (int Slice = 0; Slice < 9; ++Slice) Focus.push_back(SliceColor("listbox", 4, Slice));
  const TRect Label = Videos->Item(1)->DisplayRect(true);
  EXPECT_TRUE(PumpUntil([&] {
    const COLORREF P = ScreenAt(T, Label.Left + Label.Width() / 2, Label.Top + 1);
    return std::find(Focus.begin(), Focus.end(), P) != Focus.end();
  }));

  TRect W;
  GetWindowRect(F->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skintreeview_display.png");

  // The bar scrolls the rows: the root's box leaves the first row.
  Bar->SetPosition(3);
  EXPECT_EQ(T->TopItem(), T->Items()->Item(3));
  EXPECT_TRUE(PumpUntil([&] { return ScreenAt(T, X0 - T->ButtonSize(), Yc) != Box; }));
  // The wheel over the tree scrolls it whatever has the focus, and the bar follows; back at the top
  // the root shows again.
  auto* Other = NewControl<TRecordingControl>(F, Rect(250, 215, 280, 235));
  Other->SetFocus();
  const TPoint Over = T->ClientToScreen({100, 100});
  wintest::MouseWheel(-WHEEL_DELTA, Over);
  EXPECT_GT(T->TopItem()->AbsoluteIndex(), 3);
  EXPECT_TRUE(PumpUntil([&] { return Bar->Position() == T->TopItem()->AbsoluteIndex(); }));
  for (Integer I = 0; I < 5; ++I) wintest::MouseWheel(WHEEL_DELTA, Over);
  EXPECT_EQ(T->TopItem(), Videos);
  EXPECT_TRUE(PumpUntil([&] { return ScreenAt(T, X0 - T->ButtonSize(), Yc) == Box; }));
}

}  // namespace

#endif
