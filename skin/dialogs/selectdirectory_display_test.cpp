// The skinned select-folder dialog on a real display, over a temporary folder tree, as a person sees
// it while it waits: the skin's frame, the tool bar with the path of the selected folder and the
// new-folder picture, the tree with its selected folder, and the OK and Cancel buttons. The screenshot
// is written beside the test program as skindialogs_selectdirectory.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include "platform/shell/testkit/tempfolder.h"
#include "platform/ui/comctrls/treeview.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskinspeedbutton.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/dialogs/bsskinselectdirectorydialog.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/shell/bsshelltreeview.h"

namespace {

class SelectDirectoryDisplay : public shelltest::TTempFolderTestOf<TDisplayTest<TSkinControlTest>> {
 protected:
  // Whether some pixel of the control's client rectangle R has the colour.
  bool AnyPixelIs(TControl* C, const TRect& R, uint32_t Colour) {
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X)
        if (ScreenAt(C, X, Y) == Colour) return true;
    return false;
  }
  // Whether the row R of the control shows anything besides Background.
  bool AnyPixelOtherThan(TControl* C, const TRect& R, uint32_t Background) {
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X)
        if (ScreenAt(C, X, Y) != Background) return true;
    return false;
  }
};

TEST_F(SelectDirectoryDisplay, TheDialogWaitsOnTheStartFolderInTheSkinsLook) {
  for (const char* D : {"视频", "视频/片段", "music", "music/live", "快照"}) MakeDir(D);
  TbsSkinSelectDirectoryDialog Dialog(nullptr);
  Dialog.SetSkinData(Skin.get());
  Dialog.SetCtrlSkinData(Skin.get());
  Dialog.SetShowToolBar(true);
  Dialog.SetTitle("选择输出目录");
  Dialog.SetDialogWidth(360);
  Dialog.SetDialogHeight(320);
  Dialog.SetDirectory(Path("视频"));
  bool Framed = false, ButtonFromSkin = false, PictureShown = false, PathShown = false, Highlighted = false;
  String Shot;
  wintest::OnNextModalLoop([&] {
    TbsSelDirDlgForm* F = Dialog.DlgFrm();
    ASSERT_NE(F, nullptr);
    Framed = PumpUntil([&] {
      return Reader->Pixel(F->Left() + 3, F->Top() + 3) == COLORREF(GeneratedSkinSliceColor(63, 0, 0)) &&
             ScreenAt(F->CancelButton, 1, F->CancelButton->Height() / 2) == SliceColor("button", 0, 3);
    });
    // OK is the default button: while the tree has the keyboard it wears the skin's active look.
    ButtonFromSkin = ScreenAt(F->OkButton, 1, F->OkButton->Height() / 2) == SliceColor("button", 1, 3) &&
                     GetFocus() == F->DirTreeView->Handle();
    // The new-folder button shows its folder picture.
    TbsSkinSpeedButton* B = F->NewFolderToolButton;
    const TPoint At = F->ToolPanel->ClientToScreen({B->Left(), B->Top()});
    for (Integer Y = 0; Y < B->Height() && !PictureShown; ++Y)
      for (Integer X = 0; X < B->Width() && !PictureShown; ++X)
        PictureShown = Reader->Pixel(At.X + X, At.Y + Y) == 0xF8E6DCu;  // the folder's light fill
    // The path edit holds text: its line differs from the edit's own ground.
    TbsSkinEdit* E = F->DirEdit;
    const uint32_t EditGround = ScreenAt(E, E->ClientWidth() - 3, E->ClientHeight() / 2);
    PathShown = AnyPixelOtherThan(E, Rect(2, 4, 60, E->ClientHeight() - 4), EditGround);
    // The selected folder's row is marked: its label differs from an empty row below the tree's nodes.
    TbsSkinDirTreeView* T = F->DirTreeView;
    const TRect Label = T->Selected()->DisplayRect(true);
    const uint32_t TreeGround = ScreenAt(T, T->ClientWidth() - 3, T->ClientHeight() - 3);
    Highlighted = ScreenAt(T, Label.Left + 1, Label.Top + 1) != TreeGround;
    TRect W;
    GetWindowRect(F->Handle(), &W);
    TRawImage Image = Reader->Capture(W);
    ASSERT_FALSE(Image.Empty());
    x11test::SaveBesideProgram(Image, "skindialogs_selectdirectory.png");
    wintest::KeyPress(VK_RETURN, 13);
  });
  EXPECT_TRUE(Dialog.Execute());
  EXPECT_EQ(Dialog.Directory(), Path("视频"));
  EXPECT_TRUE(Framed) << "the skin's frame and buttons";
  EXPECT_TRUE(ButtonFromSkin) << "the default OK button, the keyboard on the tree";
  EXPECT_TRUE(PictureShown) << "the new-folder picture";
  EXPECT_TRUE(PathShown) << "the selected folder's path in the edit";
  EXPECT_TRUE(Highlighted) << "the selected folder's row";
}

}  // namespace

#endif
