// The folder and file lists on a real display over a temporary folder: the path chain and subfolders
// with their pictures beside the folder's files. The screenshot is written beside the test program as
// skinfilelists_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/shell/bsskinfilelists.h"

namespace {

class SkinFileListsDisplay : public TDisplayTest<TSkinControlTest> {};

TEST_F(SkinFileListsDisplay, FolderAndFileListsOverATemporaryFolder) {
  char Cwd[4096];
  ASSERT_NE(getcwd(Cwd, sizeof Cwd), nullptr);
  char Tmpl[] = "/tmp/nerivo-lists-XXXXXX";
  ASSERT_NE(mkdtemp(Tmpl), nullptr);
  const String Dir = Tmpl;
  for (const char* D : {"Videos", "music", "snap\xff"}) mkdir((Dir + "/" + D).c_str(), 0755);
  for (const char* N : {"clip.mp4", "Notes.txt", "song.mp3"}) std::ofstream(Dir + "/" + N) << "x";

  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 420, 260);
  F->SetColor(clWhite);
  auto* D = new TbsSkinDirectoryListBox(F);
  D->SetBounds(10, 10, 190, 200);
  D->SetParent(F);
  D->SetSkinData(Skin.get());
  auto* L = new TbsSkinFileListBox(F);
  L->SetBounds(210, 10, 190, 200);
  L->SetParent(F);
  L->SetSkinData(Skin.get());
  D->SetFileList(L);
  D->SetDirectory(Dir);
  F->Show();
  ASSERT_EQ(D->Items()->Count(), 6);
  ASSERT_EQ(L->Items()->Count(), 3);

  // The folder pictures (yellow) step right with the depth: the root at indent 2, the subfolders one
  // step below the current folder at depth 2, so at indent 14.
  TbsListBox* In = D->ListBox;
  auto firstYellow = [&](Integer Index) {
    const TRect R = In->ItemRect(Index);
    const Integer Y = (R.Top + R.Bottom) / 2;
    for (Integer X = R.Left; X < R.Left + 40; ++X) {
      const COLORREF C = ScreenAt(In, X, Y);
      if (GetRValue(C) > 180 && GetGValue(C) > 120 && GetBValue(C) < 150) return X;
    }
    return Integer(-1);
  };

  ASSERT_TRUE(PumpUntil([&] { return firstYellow(0) >= 0 && firstYellow(3) >= 0; }));
  EXPECT_EQ(firstYellow(3) - firstYellow(0), (D->CurrentIndex() + 1) * 4);
  EXPECT_EQ(firstYellow(2) - firstYellow(0), D->CurrentIndex() * 4);

  TRect WR;
  GetWindowRect(F->Handle(), &WR);
  TRawImage Shot = Reader->Capture(WR);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinfilelists_display.png");
  std::filesystem::remove_all(Dir);
  char After[4096];
  ASSERT_NE(getcwd(After, sizeof After), nullptr);
  EXPECT_EQ(String(After), String(Cwd));
}

}  // namespace

#endif
