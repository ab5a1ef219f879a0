// The filter combo box above a file list on a real display: choosing a description re-lists the folder
// with that description's mask. The screenshot is written beside the test program as
// skinfiltercombo_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include "platform/shell/testkit/tempfolder.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/shell/bsskinfilelists.h"
#include "skin/shell/bsskinfiltercombobox.h"

namespace {

class SkinFilterComboDisplay : public shelltest::TTempFolderTestOf<TDisplayTest<TSkinControlTest>> {};

TEST_F(SkinFilterComboDisplay, ChoosingADescriptionRelistsTheFolder) {
  for (const char* N : {"clip.mp4", "film.mp4", "Notes.txt", "song.mp3"}) MakeFile(N);
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 260, 240);
  F->SetColor(clWhite);
  auto* L = new TbsSkinFileListBox(F);
  L->SetBounds(10, 40, 230, 150);
  L->SetParent(F);
  L->SetSkinData(Skin.get());
  L->SetDirectory(Dir);
  auto* C = new TbsSkinFilterComboBox(F);
  C->SetBounds(10, 10, 230, 20);
  C->SetParent(F);
  C->SetSkinData(Skin.get());
  C->SetFilter("视频文件 (*.mp4)|*.mp4|所有文件 (*.*)|*.*");
  C->SetFileList(L);
  F->Show();

  TbsListBox* In = L->ListBox;
  // Near-black text pixels across the middle line of a file row.
  auto rowInk = [&](Integer Index) {
    const TRect R = In->ItemRect(Index);
    const Integer Y = (R.Top + R.Bottom) / 2;
    Integer Ink = 0;
    for (Integer X = R.Left; X < R.Right; ++X) {
      const COLORREF P = ScreenAt(In, X, Y);
      if (GetRValue(P) < 60 && GetGValue(P) < 60 && GetBValue(P) < 60) ++Ink;
    }
    return Ink;
  };

  C->SetItemIndex(0);
  ASSERT_EQ(L->Items()->Count(), 2);
  ASSERT_TRUE(PumpUntil([&] { return rowInk(0) > 0 && rowInk(1) > 0 && rowInk(2) == 0; }));
  C->SetItemIndex(1);
  ASSERT_EQ(L->Items()->Count(), 4);
  ASSERT_TRUE(PumpUntil([&] { return rowInk(3) > 0; }));

  TRect WR;
  GetWindowRect(F->Handle(), &WR);
  TRawImage Shot = Reader->Capture(WR);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinfiltercombo_display.png");
}

}  // namespace

#endif
