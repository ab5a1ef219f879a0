#include "skin/shell/bsskinfilelists.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/shell/testkit/tempfolder.h"
#include "platform/ui/core/screen.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

// Each test must leave the working folder where it was (the fixture checks it).
class SkinFileLists : public shelltest::TTempFolderTestOf<TSkinControlTest> {
 protected:
  static std::vector<String> ItemsOf(TbsSkinCustomListBox* L) {
    std::vector<String> R;
    for (Integer i = 0; i < L->Items()->Count(); ++i) R.push_back(L->Items()->Strings(i));
    return R;
  }
  template <class T>
  T* NewList(TRect Bounds = Rect(10, 10, 200, 200)) {
    if (F == nullptr) F = NewForm();
    auto* L = NewControl<T>(F, Bounds);
    return L;
  }

  TForm* F = nullptr;
};

TEST_F(SkinFileLists, FolderListShowsThePathChainAndSortedSubfolders) {
  MakeDir("gamma");
  MakeDir("Beta");
  MakeDir("alpha");
  MakeFile("file.txt");
  MakeDir(".hidden");
  ASSERT_EQ(symlink("alpha", Path("link").c_str()), 0);
  auto* L = NewList<TbsSkinDirectoryListBox>();
  EXPECT_EQ(L->Width(), 190);
  L->SetDirectory(Dir);
  L->HandleNeeded();
  const String Leaf = Dir.substr(Dir.rfind('/') + 1);
  EXPECT_EQ(ItemsOf(L), (std::vector<String>{"/", "tmp", Leaf, ".hidden", "alpha", "Beta", "gamma", "link"}));
  EXPECT_EQ(L->CurrentIndex(), 2);
  EXPECT_EQ(L->ItemIndex(), 2);
  EXPECT_EQ(L->Items()->Objects(0), L->OpenedBMP.get());
  EXPECT_EQ(L->Items()->Objects(2), L->CurrentBMP.get());
  EXPECT_EQ(L->Items()->Objects(4), L->ClosedBMP.get());
  EXPECT_EQ(L->GetItemPath(0), "/");
  EXPECT_EQ(L->GetItemPath(1), "/tmp");
  EXPECT_EQ(L->GetItemPath(2), Dir);
  EXPECT_EQ(L->GetItemPath(4), Path("alpha"));
  EXPECT_EQ(L->GetItemPath(99), "");
  // Path items are indented by depth, subfolders one step below the current folder.
  TBitmap B;
  const Integer Text = L->GetItemWidth(0, B.Canvas()) - B.Canvas()->TextWidth("/");
  EXPECT_EQ(Text, 16 + 2 + 4);
  EXPECT_EQ(L->GetItemWidth(4, B.Canvas()) - B.Canvas()->TextWidth("alpha"), 16 + 14 + 4);
}

TEST_F(SkinFileLists, OpeningAFolderMovesTheLinksAndAnAncestorOpensByEnter) {
  MakeDir("sub");
  MakeFile("sub/inner.txt");
  MakeFile("top.txt");
  auto* D = NewList<TbsSkinDirectoryListBox>();
  auto* Files = NewList<TbsSkinFileListBox>(Rect(210, 10, 380, 200));
  auto* Label = NewControl<TbsSkinStdLabel>(F, Rect(10, 205, 60, 220));
  Label->SetAutoSize(false);
  D->SetFileList(Files);
  D->SetDirLabel(Label);
  EXPECT_EQ(Files->DirList(), D);
  Integer Changes = 0;
  D->OnChange = [&](TObject*) { ++Changes; };
  D->SetDirectory(Path("sub"));
  EXPECT_EQ(D->Directory(), Path("sub"));
  EXPECT_EQ(Files->Directory(), Path("sub"));
  EXPECT_EQ(ItemsOf(Files), std::vector<String>{"inner.txt"});
  EXPECT_EQ(Changes, 1);
  // The label is 50 pixels wide: only the folder's own name fits.
  EXPECT_EQ(Label->Caption(), "sub");
  TBitmap B0;
  B0.Canvas()->SetFont(Label->Font());
  // A label that sizes itself gets the list's width: the path is cut from the front.
  Label->SetAutoSize(true);
  D->SetWidth(B0.Canvas()->TextWidth(Path("sub")) - 10);
  D->UpdateFolders();
  TBitmap B;
  B.Canvas()->SetFont(Label->Font());
  const String Shown = Label->Caption();
  EXPECT_EQ(Shown.substr(0, 5), "/.../") << Shown;
  EXPECT_EQ(Shown.substr(Shown.size() - 4), "/sub");
  EXPECT_LE(B.Canvas()->TextWidth(Shown), D->Width());

  D->SetItemIndex(2);  // the temporary folder, an ancestor now
  char32_t Enter = 13;
  D->ListBoxKeyPress(Enter);
  EXPECT_EQ(D->Directory(), Dir);
  EXPECT_EQ(D->Items()->Objects(2), D->CurrentBMP.get());
  EXPECT_EQ(ItemsOf(Files), std::vector<String>{"top.txt"});
  // The link is cleared when the file list goes.
  delete Files;
  EXPECT_EQ(D->FileList(), nullptr);
  D->SetDirectory(Path("sub"));
}

TEST_F(SkinFileLists, NamesThatAreNotUtf8AreShownWithReplacementAndReachedByTheirBytes) {
  const String Bad = "bad\xff";
  MakeDir(Bad);
  MakeFile(Bad + "/f\xfe.txt");
  auto* D = NewList<TbsSkinDirectoryListBox>();
  auto* Files = NewList<TbsSkinFileListBox>(Rect(210, 10, 380, 200));
  D->SetFileList(Files);
  D->SetDirectory(Dir);
  D->HandleNeeded();
  ASSERT_EQ(D->Items()->Count(), 4);
  EXPECT_EQ(D->Items()->Strings(3), "bad\xEF\xBF\xBD");
  EXPECT_EQ(D->GetItemPath(3), Path(Bad));
  D->SetItemIndex(3);
  D->OpenCurrent();
  EXPECT_EQ(D->Directory(), Path(Bad));
  EXPECT_EQ(ItemsOf(Files), std::vector<String>{"f\xEF\xBF\xBD.txt"});
  Files->SetItemIndex(0);
  EXPECT_EQ(Files->FileName(), Path(Bad + "/f\xfe.txt"));
}

TEST_F(SkinFileLists, AFolderThatCannotBeEnteredRaisesAndKeepsTheOldOne) {
  MakeDir("locked");
  MakeFile("a.txt");
  ASSERT_EQ(chmod(Path("locked").c_str(), 0), 0);
  auto* D = NewList<TbsSkinDirectoryListBox>();
  auto* Files = NewList<TbsSkinFileListBox>(Rect(210, 10, 380, 200));
  D->SetFileList(Files);
  D->SetDirectory(Dir);
  D->HandleNeeded();
  Files->HandleNeeded();
  EXPECT_THROW(D->SetDirectory(Path("missing")), EInOutError);
  EXPECT_THROW(Files->ChangeDirectory(Path("a.txt")), EInOutError);
  EXPECT_EQ(D->Directory(), Dir);
  EXPECT_EQ(ItemsOf(Files), std::vector<String>{"a.txt"});
  // Root enters every folder: the locked one is tried as an ordinary user in a child process.
  EXPECT_EXIT(
      {
        if (geteuid() == 0 && setuid(65534) != 0) _exit(3);
        try {
          D->SetDirectory(Path("locked"));
          _exit(1);
        } catch (const EInOutError&) {
        }
        _exit(D->Directory() == Dir && Files->Items()->Count() == 1 ? 0 : 2);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(SkinFileLists, FileListHidesFoldersAndHiddenEntriesUnlessAsked) {
  for (const char* N : {"b.txt", "A.bmp", "c.TXT", ".secret", "10.txt", "9.txt"}) MakeFile(N);
  MakeDir("folder");
  ASSERT_EQ(symlink("nowhere", Path("broken").c_str()), 0);
  auto* L = NewList<TbsSkinFileListBox>();
  EXPECT_EQ(L->Mask(), "*.*");
  EXPECT_TRUE(L->FileType() == TbsFileType{bsftNormal});
  L->SetDirectory(Dir);
  L->HandleNeeded();
  // Sorted; a broken link is listed as a file.
  EXPECT_EQ(ItemsOf(L), (std::vector<String>{"10.txt", "9.txt", "A.bmp", "b.txt", "broken", "c.TXT"}));
  L->SetFileType(TbsFileType{bsftNormal, bsftHidden});
  EXPECT_EQ(L->Items()->IndexOf(".secret"), 0);
  L->SetFileType(TbsFileType{bsftDirectory});
  EXPECT_EQ(ItemsOf(L), (std::vector<String>{"[..]", "[.]", "[folder]"}));
  L->SetFileType(TbsFileType{bsftNormal});
  L->SetMask("*.bmp;*.txt");
  EXPECT_EQ(ItemsOf(L), (std::vector<String>{"10.txt", "9.txt", "A.bmp", "b.txt", "c.TXT"}));
}

TEST_F(SkinFileLists, TypedPathsChangeTheMaskSelectOrRevealAFile) {
  for (const char* N : {"one.txt", "two.bmp"}) MakeFile(N);
  auto* L = NewList<TbsSkinFileListBox>();
  auto* Edit = NewControl<TEdit>(F, Rect(10, 210, 200, 230));
  L->SetDirectory(Dir);
  L->HandleNeeded();
  L->SetFileEdit(Edit);
  EXPECT_EQ(Edit->Text(), "*.*");
  Integer Changes = 0;
  L->OnChange = [&](TObject*) { ++Changes; };

  L->ApplyFilePath("*.txt");
  EXPECT_EQ(L->Mask(), "*.txt");
  EXPECT_EQ(ItemsOf(L), std::vector<String>{"one.txt"});
  EXPECT_EQ(Edit->Text(), "*.txt");
  L->ApplyFilePath("one.txt");
  EXPECT_EQ(L->GetSelectedName(), "one.txt");
  EXPECT_EQ(Edit->Text(), "one.txt");
  EXPECT_EQ(L->FileName(), Path("one.txt"));
  // Hidden by the mask: the mask becomes the name.
  L->ApplyFilePath(Path("two.bmp"));
  EXPECT_EQ(L->Mask(), "two.bmp");
  EXPECT_EQ(L->GetSelectedName(), "two.bmp");
  EXPECT_GT(Changes, 0);
  // A name that is not listed clears the selection and the edit shows the mask.
  L->SelectFile("none");
  EXPECT_EQ(L->ItemIndex(), -1);
  EXPECT_EQ(Edit->Text(), "two.bmp");
  // A typed name that is neither a file, a mask nor a folder raises.
  EXPECT_THROW(L->ApplyFilePath(Path("nothing/x")), EInOutError);
  EXPECT_EQ(L->Directory(), Dir);
}

TEST_F(SkinFileLists, ALongListingGivesTheCursorBackAfterwards) {
  for (int i = 0; i < 120; ++i) MakeFile("e" + std::to_string(1000 + i));
  auto* L = NewList<TbsSkinFileListBox>();
  L->SetDirectory(Dir);
  Screen->SetCursor(crCross);
  L->HandleNeeded();
  EXPECT_EQ(L->Items()->Count(), 120);
  EXPECT_EQ(Screen->Cursor(), crCross);
  Screen->SetCursor(crDefault);
}

TEST(SkinFilePaths, ShortenPathToWidth) {
  TBitmap B;
  B.SetSize(1, 1);
  TCanvas* C = B.Canvas();
  const String P = "/usr/share/doc/drivers";
  EXPECT_EQ(ShortenPathToWidth(P, C, 10000), P);
  EXPECT_EQ(ShortenPathToWidth(P, C, C->TextWidth("/.../doc/drivers")), "/.../doc/drivers");
  EXPECT_EQ(ShortenPathToWidth(P, C, C->TextWidth(".../drivers")), ".../drivers");
  EXPECT_EQ(ShortenPathToWidth(P, C, 1), "drivers");
  String S = "/a/b/";
  DropFirstFolder(S);
  EXPECT_EQ(S, "/.../b/");
  DropFirstFolder(S);
  EXPECT_EQ(S, "/.../");
  S = "/";
  DropFirstFolder(S);
  EXPECT_EQ(S, "");
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
}

}  // namespace
