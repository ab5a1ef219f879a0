#include "skin/shell/bsshelllistview.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <fstream>

#include "platform/rtl/files.h"
#include "platform/shell/testkit/tempfolder.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/shell/bsshellviews_test_util.h"

namespace {

// The list with its input steps callable as the control calls them.
class TTestList : public TbsSkinFileListView {
 public:
  using TbsSkinFileListView::TbsSkinFileListView;
  void ColClickForTest(TListColumn* Column) { ColClick(Column); }
  void KeyDownForTest(Word& Key, TShiftState Shift) { KeyDown(Key, Shift); }
  void EditForTest(Integer Index, String S) { Edit(Items()->Item(Index), S); }
  bool CanEditForTest(TListItem* Item) { return CanEdit(Item); }
};

class ShellList : public shelltest::TTempFolderTestOf<TSkinControlTest> {
 protected:
  TTestList* NewList(const TRoot& Root) {
    Form = NewForm(Rect(50, 50, 650, 450));
    auto* L = new TTestList(Form);
    L->SetBounds(0, 0, 500, 300);
    L->SetParent(Form);
    L->SetRoot(Root);
    L->HandleNeeded();
    return L;
  }
  static std::vector<String> Names(TbsCustomShellListView* L) {
    std::vector<String> R;
    for (Integer I = 0; I < L->Items()->Count(); ++I) R.push_back(L->Items()->Item(I)->Caption());
    return R;
  }
  static Integer IndexOf(TbsCustomShellListView* L, const String& Name) {
    const std::vector<String> N = Names(L);
    const auto It = std::find(N.begin(), N.end(), Name);
    return It == N.end() ? -1 : Integer(It - N.begin());
  }
  TForm* Form = nullptr;
};

TEST_F(ShellList, MaskFiltersFilesNeverFoldersAndSortedPutsFoldersFirst) {
  for (const char* F : {"b.MP4", "a.avi", "c.txt", "noext", "z10.avi", "z9.avi"}) MakeFile(F);
  MakeDir("zz.folder");
  MakeDir("Alpha");
  TTestList* L = NewList(Dir);
  EXPECT_EQ(L->Path(), Dir);
  EXPECT_EQ(Names(L), (std::vector<String>{"Alpha", "zz.folder", "a.avi", "b.MP4", "c.txt", "noext", "z9.avi",
                                           "z10.avi"}));
  L->SetMask("*.avi;*.mp4");
  EXPECT_EQ(Names(L), (std::vector<String>{"Alpha", "zz.folder", "a.avi", "b.MP4", "z9.avi", "z10.avi"}));
  // A piece without a dot matches only when it is exactly "*".
  L->SetMask("avi");
  EXPECT_EQ(Names(L), (std::vector<String>{"Alpha", "zz.folder"}));
  L->SetMask("*");
  EXPECT_EQ(L->FolderCount(), 8);
  L->SetObjectTypes({otNonFolders});
  EXPECT_EQ(L->FolderCount(), 6);
}

// In the list view the names' column is as wide as the longest name and its picture, but never wider
// than the list: a longer name is cut where the list ends (with the ellipsis), and the column follows
// the list's width when the list is resized.
TEST_F(ShellList, TheListColumnFitsTheLongestNameButNotMoreThanTheList) {
  const String Long =
      "a very long name of a holiday clip taken on the beach in the summer of 2023 part one.avi";
  MakeFile("short.avi");
  TTestList* L = NewList(Dir);
  L->SetViewStyle(vsList);
  auto ColumnWidth = [L] { return Integer(L->Perform(LVM_GETCOLUMNWIDTH, 0, 0)); };
  const Integer Short = ColumnWidth();
  EXPECT_LT(Short, L->ClientWidth()) << "a short name keeps its own width";
  MakeFile(Long);
  L->Refresh();
  L->Canvas()->Font()->Assign(L->Font());
  const Integer Natural = L->Canvas()->TextWidth(Long) + 32;
  ASSERT_GT(Natural, L->ClientWidth());
  EXPECT_EQ(ColumnWidth(), L->ClientWidth());
  L->SetWidth(300);
  EXPECT_EQ(ColumnWidth(), L->ClientWidth());
  L->SetWidth(Natural + 200);
  EXPECT_EQ(ColumnWidth(), Natural);
  // A larger font (a skin's, given after the listing) widens the column for the same names.
  L->SetWidth(Natural * 3);
  L->Font()->SetHeight(L->Font()->Height() * 2);
  EXPECT_GT(ColumnWidth(), Natural);
}

TEST_F(ShellList, ColumnClicksSortAndReverseAndFewColumnsOnlySortByName) {
  MakeFile("small.txt", "1");
  MakeFile("big.txt", "1234567890");
  MakeFile("mid.avi", "12345");
  MakeDir("folder");
  TTestList* L = NewList(Dir);
  L->SetViewStyle(vsReport);
  ASSERT_EQ(L->Columns()->Count(), 4);
  EXPECT_EQ(L->Column(0)->Caption(), "Name");
  EXPECT_EQ(L->Column(3)->Caption(), "Modified");
  EXPECT_EQ(L->Column(1)->Alignment(), taRightJustify);
  struct Case {
    Integer Column;
    std::vector<String> Order;
    bool Descending;
  } Cases[] = {
      {1, {"folder", "small.txt", "mid.avi", "big.txt"}, false},
      {1, {"big.txt", "mid.avi", "small.txt", "folder"}, true},
      {2, {"folder", "mid.avi", "big.txt", "small.txt"}, false},
      {0, {"folder", "big.txt", "mid.avi", "small.txt"}, false},
      {0, {"small.txt", "mid.avi", "big.txt", "folder"}, true},
  };
  for (const Case& C : Cases) {
    L->ColClickForTest(L->Column(C.Column));
    EXPECT_EQ(L->SortDescending(), C.Descending) << C.Column;
    EXPECT_EQ(Names(L), C.Order) << C.Column;
  }
  // The details of the rows come from the find records; a file over 4 GiB keeps its whole size.
  {
    std::ofstream Big(Path("huge.bin"));
    Big.seekp((Int64(5) << 30) - 1);
    Big.put('x');
  }
  L->Refresh();
  TListItem* Huge = L->Items()->Item(IndexOf(L, "huge.bin"));
  ASSERT_GE(Huge->SubItems()->Count(), 3);
  EXPECT_EQ(Huge->SubItems()->Strings(0), "5368709120");
  EXPECT_EQ(Huge->SubItems()->Strings(1), ".bin");
  // With fewer than four columns only the name column sorts.
  L->SetViewStyle(vsList);
  L->Columns()->Clear();
  L->Columns()->Add();
  L->Columns()->Add();
  const std::vector<String> Before = Names(L);
  L->ColClickForTest(L->Column(1));
  EXPECT_EQ(Names(L), Before);
}

TEST_F(ShellList, NavigationRefreshAndPathErrors) {
  MakeDir("sub");
  MakeFile("sub/one.txt");
  MakeFile("sub/two.txt");
  TTestList* L = NewList(Dir);
  Integer Changes = 0;
  L->OnPathChanged = [&](TObject*) { ++Changes; };
  L->SetItemIndex(IndexOf(L, "sub"));
  Word Key = VK_RETURN;
  L->KeyDownForTest(Key, {});
  EXPECT_EQ(L->Path(), Path("sub"));
  EXPECT_EQ(Changes, 1);
  // Enter on a file opens nothing.
  L->SetItemIndex(1);
  Key = VK_RETURN;
  L->KeyDownForTest(Key, {});
  EXPECT_EQ(L->Path(), Path("sub"));
  EXPECT_EQ(L->GetSelectedFile(), Path("sub/two.txt"));
  // Only files count among the selected ones, in item order.
  MakeDir("sub/inner");
  L->Refresh();
  L->SetMultiSelect(true);
  for (const char* N : {"two.txt", "inner", "one.txt"}) L->Items()->Item(IndexOf(L, N))->SetSelected(true);
  TStringList Files;
  L->GetSelectedFiles(&Files);
  ASSERT_EQ(Files.Count(), 2);
  EXPECT_EQ(Files.Strings(0), Path("sub/one.txt"));
  EXPECT_EQ(Files.Strings(1), Path("sub/two.txt"));
  L->SetMultiSelect(false);
  ASSERT_EQ(system(("rmdir '" + Path("sub/inner") + "'").c_str()), 0);
  Changes = 1;
  L->SetItemIndex(1);
  // Refresh keeps the selected index while it exists.
  MakeFile("sub/three.txt");
  L->Refresh();
  EXPECT_EQ(Changes, 2);
  EXPECT_EQ(L->FolderCount(), 3);
  EXPECT_EQ(L->ItemIndex(), 1);
  Key = VK_BACK;
  L->KeyDownForTest(Key, {});
  EXPECT_EQ(L->Path(), Dir);
  try {
    L->SetPath(Path("missing"));
    ADD_FAILURE() << "a missing path was accepted";
  } catch (const EInvalidPath& E) {
    EXPECT_EQ(E.Message(), "Error setting path: \"" + Path("missing") + "\"");
  }
  EXPECT_EQ(L->Path(), Dir);
  // Back from the desktop stays on the desktop.
  L->SetRoot("rfDesktop");
  L->Back();
  EXPECT_EQ(ItemIDCount(L->RootFolder()->AbsoluteID()), 0);
}

TEST_F(ShellList, AwkwardEntriesAndAFolderDeletedWhileListed) {
  MakeDir("gone");
  MakeFile("gone/a.txt");
  ASSERT_EQ(symlink(Path("nothing").c_str(), Path("broken").c_str()), 0);
  ASSERT_EQ(symlink(Path("loop2").c_str(), Path("loop1").c_str()), 0);
  ASSERT_EQ(symlink(Path("loop1").c_str(), Path("loop2").c_str()), 0);
  MakeFile("name\xfe.txt", "abc");
  MakeDir("locked");
  chmod(Path("locked").c_str(), 0);
  TTestList* L = NewList(Dir);
  L->SetViewStyle(vsReport);
  for (const char* N : {"broken", "loop1", "loop2", "name\xEF\xBF\xBD.txt", "locked", "gone"})
    EXPECT_GE(IndexOf(L, N), 0) << N;
  // The odd name is opened by its bytes.
  L->SetItemIndex(IndexOf(L, "name\xEF\xBF\xBD.txt"));
  EXPECT_EQ(L->GetSelectedFile(), Path("name\xfe.txt"));
  EXPECT_EQ(L->Items()->Item(L->ItemIndex())->SubItems()->Strings(0), "3");
  // An unreadable folder lists empty.
  L->SetPath(Path("locked"));
  if (access(Path("locked").c_str(), R_OK) != 0) {
    EXPECT_EQ(L->FolderCount(), 0);
  }
  // The shown folder goes away: a refresh lists nothing and keeps working.
  L->SetPath(Path("gone"));
  EXPECT_EQ(L->FolderCount(), 1);
  ASSERT_EQ(system(("rm -rf '" + Path("gone") + "'").c_str()), 0);
  L->Refresh();
  EXPECT_EQ(L->FolderCount(), 0);
  EXPECT_EQ(L->SelectedFolder(), nullptr);
}

TEST_F(ShellList, KeyboardSearchFindsAPrefixInAnyCaseAndWraps) {
  for (const char* F : {"abc1.txt", "ABD.txt", "xyz.txt", "Abc2.txt"}) MakeFile(F);
  TTestList* L = NewList(Dir);
  ASSERT_EQ(Names(L), (std::vector<String>{"abc1.txt", "Abc2.txt", "ABD.txt", "xyz.txt"}));
  EXPECT_EQ(L->FindItem("aBc", 0, false), 0);
  EXPECT_EQ(L->FindItem("aBc", 1, false), 1);
  EXPECT_EQ(L->FindItem("abc", 2, false), -1);
  EXPECT_EQ(L->FindItem("abc", 2, true), 0);
  EXPECT_EQ(L->FindItem("qqq", 2, true), -1);
  EXPECT_EQ(L->FindItem("abc", -1, true), -1);
  // The letters the user types reach the search.
  L->SetFocus();
  for (char C : String("abd")) wintest::KeyPress(Word(std::toupper(C)), DWORD(C));
  EXPECT_EQ(L->GetSelectedFile(), Path("ABD.txt"));
  wintest::AdvanceTime(Clock(), TCustomListView::IncrementalSearchPause + 1);
  wintest::KeyPress('X', 'x');
  EXPECT_EQ(L->GetSelectedFile(), Path("xyz.txt"));
}

TEST_F(ShellList, RenameInPlaceAndItsRefusal) {
  MakeFile("old.txt");
  MakeFile("taken.txt");
  TTestList* L = NewList(Dir);
  const Integer I = IndexOf(L, "old.txt");
  bool Asked = false, Told = false;
  L->OnEditing = [&](TObject*, TListItem*, bool&) { Asked = true; };
  L->OnEdited = [&](TObject*, TListItem*, String&) { Told = true; };
  EXPECT_TRUE(L->CanEditForTest(L->Items()->Item(I)));
  L->EditForTest(I, "new.txt");
  EXPECT_FALSE(Asked);  // stored only
  EXPECT_FALSE(Told);
  EXPECT_EQ(L->Folders(I)->PathName(), Path("new.txt"));
  EXPECT_EQ(L->Items()->Item(I)->Caption(), "new.txt");
  EXPECT_TRUE(FileExists(Path("new.txt")));
  try {
    L->EditForTest(I, "taken.txt");
    ADD_FAILURE() << "renamed over an existing file";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Rename to taken.txt failed");
  }
  EXPECT_EQ(L->Items()->Item(I)->Caption(), "new.txt");
}

TEST_F(ShellList, NotificationsRefreshTheListAndTheTreeFollows) {
  MakeDir("a");
  MakeDir("a/b");
  TTestList* L = NewList(Dir);
  auto* T = new TbsSkinDirTreeView(Form);
  T->SetBounds(0, 310, 300, 80);
  T->SetParent(Form);
  T->HandleNeeded();
  L->SetShellTreeView(T);
  EXPECT_EQ(T->ShellListView(), L);
  EXPECT_EQ(T->Root(), Dir);
  L->SetPath(Path("a"));
  EXPECT_EQ(T->Path(), Path("a"));
  T->Selected()->Expand(false);
  T->SetSelected(T->Selected()->getFirstChild());
  EXPECT_EQ(L->Path(), Path("a/b"));
  L->SetAutoRefresh(true);
  ASSERT_TRUE(L->Notifier() && L->Notifier()->Watching());
  EXPECT_EQ(L->Notifier()->Root(), Path("a/b"));
  for (const char* Step : {"create", "rename", "delete"}) {
    const String S = Step;
    if (S == "create") MakeFile("a/b/new.txt");
    if (S == "rename") {
      ASSERT_EQ(rename(Path("a/b/new.txt").c_str(), Path("a/b/moved.txt").c_str()), 0);
    }
    if (S == "delete") {
      ASSERT_EQ(unlink(Path("a/b/moved.txt").c_str()), 0);
    }
    const std::vector<String> Want = S == "create"   ? std::vector<String>{"new.txt"}
                                     : S == "rename" ? std::vector<String>{"moved.txt"}
                                                     : std::vector<String>{};
    EXPECT_TRUE(PumpShellNotices([&] { return Names(L) == Want; })) << Step;
  }
  delete T;
  EXPECT_EQ(L->ShellTreeView(), nullptr);
  L->SetAutoRefresh(false);
}

}  // namespace
