// The path combo box on a real display, over a temporary folder: the box is moved to a folder three
// levels down and dropped down by a click; its list shows the root, the root's folders and the chain
// down to the shown folder, each entry's icon half an icon further right per level. The screenshot is
// written beside the test program as shellpathcombo_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include "platform/shell/testkit/tempfolder.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/shell/bsshellpathcombobox.h"

namespace {

class ShellPathComboDisplay : public shelltest::TTempFolderTestOf<TDisplayTest<TSkinControlTest>> {};

// The leftmost screen column of R whose pixel differs from Background; -1 when none.
Integer FirstInk(x11test::TScreenReader& Reader, const TRect& R, uint32_t Background) {
  for (Integer X = R.Left; X < R.Right; ++X)
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      if (Reader.Pixel(X, Y) != Background) return X;
  return -1;
}

TEST_F(ShellPathComboDisplay, TheDroppedDownListShowsTheChainIndented) {
  for (const char* D : {"视频", "视频/更多", "视频/更多/深处", "music", "zz"}) MakeDir(D);
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 40, 360, 260);
  F->SetColor(clWhite);
  auto* C = new TbsSkinShellComboBox(F);
  C->SetBounds(12, 12, 320, 22);
  C->SetParent(F);
  C->SetDropDownCount(8);
  C->SetRoot(Dir);
  F->Show();
  C->SetPath(Path("视频/更多/深处"));
  ASSERT_EQ(C->ItemIndex(), 5);
  const Integer Indents[] = {0, 1, 1, 1, 2, 3};
  for (Integer I = 0; I < 6; ++I) EXPECT_EQ(C->ItemsEx()->Items(I)->Indent, Indents[I]);

  wintest::Click(C->ClientToScreen({40, 10}));
  ASSERT_TRUE(C->IsPopupVisible());
  TbsListBox* L = C->ListBox()->ListBox;
  const TRect First = L->ItemRect(1);
  const TPoint Corner = L->ClientToScreen({First.Right - 3, First.Top + 1});
  ASSERT_TRUE(PumpUntil([&] { return Reader->Pixel(Corner.X, Corner.Y) == 0xFFFFFFu; }));
  // Each entry's first drawn column (its icon) lies Indent x 8 pixels right of the root entry's.
  const auto inkOf = [&](Integer Row) {
    const TRect R = L->ItemRect(Row);
    const TPoint P = L->ClientToScreen({R.Left, R.Top});
    return FirstInk(*Reader, Bounds(P.X, P.Y, 60, R.Height()), Reader->Pixel(Corner.X, Corner.Y));
  };
  const Integer Root = inkOf(0);
  ASSERT_GE(Root, 0);
  // The last row is the selected one, drawn on the highlight.
  for (Integer Row = 1; Row < 5; ++Row)
    EXPECT_EQ(inkOf(Row) - Root, C->ItemsEx()->Items(Row)->Indent * 8) << Row;

  TRect W, D;
  GetWindowRect(F->Handle(), &W);
  GetWindowRect(C->ListBox()->Handle(), &D);
  UnionRect(&W, &W, &D);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "shellpathcombo_display.png");
  C->CloseUp(false);
}

}  // namespace

#endif
