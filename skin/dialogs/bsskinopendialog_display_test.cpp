// The open and picture dialogs on a real display over a temporary folder, as a person sees them while
// choosing: the skinned frame, the tool bar, the folder's files in the list with one of them chosen,
// its name in the edit and, in the picture dialog, its preview. The screenshots are written beside the
// test program as skindialogs_open.png and skindialogs_picture.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include "platform/shell/testkit/tempfolder.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/graphics/pngimage.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/dialogs/bsskinpicturedialogs.h"
#include "skin/dialogs/testkit/skindialogstestkit.h"
#include "skin/shell/bsshelllistview.h"

namespace {

class OpenDialogDisplay : public shelltest::TTempFolderTestOf<TDisplayTest<TSkinControlTest>> {
 protected:
  // Pixels of the screen rectangle that differ from Background.
  Integer PixelsOtherThan(const TRect& R, uint32_t Background) {
    Integer N = 0;
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X) N += Reader->Pixel(X, Y) != Background;
    return N;
  }
  // The screen rectangle of item I's label in List.
  static TRect LabelOnScreen(TbsCustomShellListView* List, Integer I) {
    const TRect R = List->Items()->Item(I)->DisplayRect(drLabel);
    const TPoint P = List->ClientToScreen({R.Left, R.Top});
    return Bounds(P.X, P.Y, R.Width(), R.Height());
  }
};

TEST_F(OpenDialogDisplay, TheFolderFilesShowAndTheChosenOneIsMarkedAndNamed) {
  MakeDir("gamma");
  for (const char* F : {"alpha.avi", "beta.mp4", "视频片段.avi"}) MakeFile(F);
  TbsSkinOpenDialog Dlg(nullptr);
  Dlg.SetSkinData(Skin.get());
  Dlg.SetCtrlSkinData(Skin.get());
  Dlg.SetTitle("打开文件");
  Dlg.SetInitialDir(Dir);
  bool Shown = false;
  Integer ChosenDiffers = 0, OtherText = 0, EditText = 0;
  wintest::OnNextModalLoop([&] {
    TbsOpenDlgForm* F = Dlg.DlgFrm();
    TbsCustomShellListView* L = F->FileListView;
    ASSERT_EQ(L->FolderCount(), 4);
    L->SetItemIndex(2);  // beta.mp4, after the folder and alpha.avi
    F->Repaint();
    const uint32_t ListBack = ScreenAt(L, L->ClientWidth() - 3, L->ClientHeight() - 3);
    Shown = PumpUntil([&] { return PixelsOtherThan(LabelOnScreen(L, 1), ListBack) > 20; });
    OtherText = PixelsOtherThan(LabelOnScreen(L, 3), ListBack);
    // The chosen row's label is filled: most of its pixels are off the list's background.
    const TRect Chosen = LabelOnScreen(L, 2);
    ChosenDiffers = PixelsOtherThan(Chosen, ListBack) * 100 / std::max(1, Chosen.Width() * Chosen.Height());
    TbsSkinEdit* E = F->FileNameEdit;
    const uint32_t EditBack = ScreenAt(E, E->Width() - 6, E->Height() / 2);
    const TPoint EP = E->ClientToScreen({0, 0});
    EditText = PixelsOtherThan(Bounds(EP.X + 4, EP.Y + 3, 60, E->Height() - 6), EditBack);
    EXPECT_TRUE(SaveWindowShot(F->Handle(), "skindialogs_open.png"));
    F->SetModalResult(mrCancel);
  });
  EXPECT_FALSE(Dlg.Execute());
  EXPECT_TRUE(Shown) << "the names in the list";
  EXPECT_GT(OtherText, 20) << "the Chinese name";
  EXPECT_GT(ChosenDiffers, 50) << "the chosen row is marked";
  EXPECT_GT(EditText, 20) << "the chosen name in the edit";
}

TEST_F(OpenDialogDisplay, ThePictureDialogPreviewsTheChosenPicture) {
  // A small generated picture: red with a blue square in its middle.
  TPngImage Png;
  Png.CreateBlank(2 /* true colour */, 8, 60, 40);
  for (Integer Y = 0; Y < 40; ++Y)
    for (Integer X = 0; X < 60; ++X)
      Png.SetPixels(X, Y, X >= 20 && X < 40 && Y >= 10 && Y < 30 ? TColor(0xFF0000) : TColor(0x0000FF));
  Png.SaveToFile(Path("flag.png"));
  MakeFile("readme.txt");
  TbsSkinOpenPictureDialog Dlg(nullptr);
  Dlg.SetInitialDir(Dir);
  Dlg.SetFilter("Pictures|*.png;*.bmp");
  uint32_t Corner = 0, Middle = 0;
  bool Shown = false;
  Integer Listed = 0;
  wintest::OnNextModalLoop([&] {
    TbsOpenPictureDlgForm* F = static_cast<TbsOpenPictureDlgForm*>(Dlg.DlgFrm());
    Listed = F->FileListView->FolderCount();
    F->FileListView->SetItemIndex(0);
    F->Repaint();
    // The picture's own pixels at the image's place on the screen: red corner, blue middle.
    Shown = PumpUntil([&] { return ScreenAt(F->Image, 2, 2) == 0x0000FFu; });
    Corner = ScreenAt(F->Image, 2, 2);
    Middle = ScreenAt(F->Image, 30, 20);
    EXPECT_TRUE(SaveWindowShot(F->Handle(), "skindialogs_picture.png"));
    F->SetModalResult(mrCancel);
  });
  EXPECT_FALSE(Dlg.Execute());
  EXPECT_EQ(Listed, 1) << "the filter hides readme.txt";
  EXPECT_TRUE(Shown);
  EXPECT_EQ(Corner, 0x0000FFu) << "red (colour values as the platform's, blue in the high byte)";
  EXPECT_EQ(Middle, 0xFF0000u) << "blue";
}

}  // namespace

#endif
