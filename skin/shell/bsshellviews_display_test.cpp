// The folder tree and the file list on a real display, over a temporary folder: the tree (left) is
// moved to a folder and the list (right, report view) follows it; folder icons, names (one of them not
// valid UTF-8, one in Chinese) and the report columns show on the screen. The screenshot is written
// beside the test program as shellviews_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/shell/testkit/tempfolder.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/shell/bsshelllistview.h"
#include "skin/shell/bsshelltreeview.h"

namespace {

class ShellViewsDisplay : public shelltest::TTempFolderTestOf<TDisplayTest<TSkinControlTest>> {};

// Whether any pixel of the screen rectangle differs from Background.
bool AnyPixelOtherThan(x11test::TScreenReader& Reader, const TRect& R, uint32_t Background) {
  for (Integer Y = R.Top; Y < R.Bottom; ++Y)
    for (Integer X = R.Left; X < R.Right; ++X)
      if (Reader.Pixel(X, Y) != Background) return true;
  return false;
}

TEST_F(ShellViewsDisplay, TreeAndListShowTheFolderTheyAreOn) {
  for (const char* D : {"视频", "music", "music/live", "odd\xff"}) MakeDir(D);
  for (const char* F : {"视频/片段1.avi", "视频/clip.mp4", "视频/notes.txt"}) MakeFile(F, "0123456789");
  MakeDir("视频/更多");
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 40, 620, 300);
  auto* T = new TbsSkinDirTreeView(F);
  T->SetBounds(8, 8, 200, 250);
  T->SetParent(F);
  T->SetSkinData(Skin.get());
  auto* L = new TbsSkinFileListView(F);
  L->SetBounds(216, 8, 380, 250);
  L->SetParent(F);
  L->SetSkinData(Skin.get());
  L->SetViewStyle(vsReport);
  L->SetRoot(Dir);
  L->SetShellTreeView(T);  // the tree takes the list's root
  F->Show();
  T->SetPath(Path("视频"));
  ASSERT_EQ(L->Path(), Path("视频"));
  ASSERT_EQ(L->FolderCount(), 4);
  ASSERT_EQ(L->Columns()->Count(), 4);
  L->SetItemIndex(1);
  F->Repaint();

  // The selected tree node's folder icon and the list's first row icon are drawn.
  const uint32_t TreeBack = ScreenAt(T, T->ClientWidth() - 3, T->ClientHeight() - 3);
  const TRect Label = T->Selected()->DisplayRect(true);
  const TPoint TreeIcon = T->ClientToScreen({Label.Left - 18, Label.Top});
  EXPECT_TRUE(PumpUntil([&] {
    return AnyPixelOtherThan(*Reader, Bounds(TreeIcon.X, TreeIcon.Y, 16, Label.Height()), TreeBack);
  }));
  const TRect Row = L->Items()->Item(0)->DisplayRect(drIcon);
  const TPoint ListIcon = L->ClientToScreen({Row.Left, Row.Top});
  const uint32_t ListBack = ScreenAt(L, L->ClientWidth() - 3, L->ClientHeight() - 3);
  EXPECT_TRUE(PumpUntil([&] {
    return AnyPixelOtherThan(*Reader, Bounds(ListIcon.X, ListIcon.Y, Row.Width(), Row.Height()), ListBack);
  }));

  TRect W;
  GetWindowRect(F->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "shellviews_display.png");
}

}  // namespace

#endif
