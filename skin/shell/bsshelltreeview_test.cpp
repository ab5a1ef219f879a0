#include "skin/shell/bsshelltreeview.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/rtl/files.h"
#include "platform/shell/testkit/tempfolder.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/shell/bsshellviews_test_util.h"

namespace {

class ShellTree : public shelltest::TTempFolderTestOf<TSkinControlTest> {
 protected:
  TbsCustomShellTreeView* NewTree(const TRoot& Root) {
    TForm* F = NewForm(Rect(50, 50, 450, 450));
    auto* T = new TbsSkinDirTreeView(F);
    T->SetBounds(0, 0, 300, 300);
    T->SetParent(F);
    T->SetRoot(Root);
    T->HandleNeeded();
    return T;
  }
  static TTreeNode* Child(TTreeNode* Node, const String& Text) {
    for (TTreeNode* C = Node->getFirstChild(); C; C = C->getNextSibling())
      if (C->Text() == Text) return C;
    return nullptr;
  }
  static std::vector<String> Texts(TTreeNode* Node) {
    std::vector<String> R;
    for (TTreeNode* C = Node->getFirstChild(); C; C = C->getNextSibling()) R.push_back(C->Text());
    return R;
  }
};

TEST_F(ShellTree, TheRootIsExpandedAndDeeperFoldersAreReadOnFirstExpansion) {
  MakeDir("b");
  MakeDir("A");
  MakeDir("A/inner");
  MakeDir("A/inner/deeper");
  MakeDir("empty");
  MakeDir("onlyfiles");
  MakeFile("onlyfiles/x.txt");
  MakeFile("file.txt");
  TbsCustomShellTreeView* T = NewTree(Dir);
  TTreeNode* Root = T->Items()->GetFirstNode();
  ASSERT_NE(Root, nullptr);
  EXPECT_FALSE(T->ShowRoot());
  EXPECT_TRUE(T->RightClickSelect());
  EXPECT_TRUE(Root->Expanded());
  EXPECT_EQ(T->Selected(), Root);
  EXPECT_EQ(T->Path(), Dir);
  // Folders only, in the shell's order; files stay out.
  EXPECT_EQ(Texts(Root), (std::vector<String>{"A", "b", "empty", "onlyfiles"}));
  TTreeNode* A = Child(Root, "A");
  EXPECT_TRUE(A->HasChildren());
  EXPECT_EQ(A->Count(), 0);  // not read yet
  A->Expand(false);
  ASSERT_EQ(A->Count(), 1);
  EXPECT_EQ(A->Item(0)->Count(), 0);
  EXPECT_TRUE(A->Item(0)->HasChildren());
  // Without subfolders no button, also for a folder holding files.
  EXPECT_FALSE(Child(Root, "empty")->HasChildren());
  EXPECT_FALSE(Child(Root, "onlyfiles")->HasChildren());
  // With files shown the folder holding one gets its button and lists it.
  T->SetObjectTypes({otFolders, otNonFolders});
  Root = T->Items()->GetFirstNode();
  TTreeNode* OnlyFiles = Child(Root, "onlyfiles");
  ASSERT_NE(OnlyFiles, nullptr);
  EXPECT_TRUE(OnlyFiles->HasChildren());
  EXPECT_FALSE(Child(Root, "empty")->HasChildren());
  OnlyFiles->Expand(false);
  EXPECT_EQ(Texts(OnlyFiles), std::vector<String>{"x.txt"});
  EXPECT_NE(Child(Root, "file.txt"), nullptr);
  // OnAddFolder may keep a node out.
  T->OnAddFolder = [](TObject*, TbsShellFolder* F, bool& CanAdd) { CanAdd = F->IsFolder(); };
  T->SetObjectTypes({otFolders, otNonFolders});
  EXPECT_EQ(Texts(T->Items()->GetFirstNode()), (std::vector<String>{"A", "b", "empty", "onlyfiles"}));
}

// The tree lists folders by name as a file manager does: letter case aside, digit runs by value.
// On the desktop the home folder leads, the user's folders follow by name (not in the order their
// settings file gives them), then the file system and the volumes.
TEST_F(ShellTree, FoldersAreSortedByNameAlsoTheUsersOwnOnTheDesktop) {
  for (const char* D :
       {"home", "home/Videos", "home/Templates", "home/Public", "home/documents", "home/Music", "list",
        "list/b", "list/Apple", "list/apple10", "list/apple9", "list/Zeta", "list/.hidden"})
    MakeDir(D);
  std::ofstream(Path("user-dirs.dirs")) << "XDG_DOCUMENTS_DIR=\"$HOME/documents\"\n"
                                        << "XDG_MUSIC_DIR=\"$HOME/Music\"\n"
                                        << "XDG_VIDEOS_DIR=\"$HOME/Videos\"\n"
                                        << "XDG_TEMPLATES_DIR=\"$HOME/Templates\"\n"
                                        << "XDG_PUBLICSHARE_DIR=\"$HOME/Public\"\n";
  std::ofstream(Path("mounts")) << "/dev/sda1 / ext4 rw 0 0\n";
  SetShellNamespaceSources({Path("home"), Path("user-dirs.dirs"), Path("mounts")});
  TbsCustomShellTreeView* T = NewTree("rfDesktop");
  EXPECT_EQ(Texts(T->Items()->GetFirstNode()),
            (std::vector<String>{"home", "documents", "Music", "Public", "Templates", "Videos", "/"}));
  T->SetObjectTypes({otFolders, otHidden});
  T->SetPath(Path("list"));
  ASSERT_NE(T->Selected(), nullptr);
  EXPECT_EQ(Texts(T->Selected()),
            (std::vector<String>{".hidden", "Apple", "apple9", "apple10", "b", "Zeta"}));
  SetShellNamespaceSources({});
}

TEST_F(ShellTree, AwkwardEntriesAreListedOrSkippedWithoutHanging) {
  MakeDir("locked");
  MakeDir("locked/hidden");
  chmod(Path("locked").c_str(), 0);
  MakeDir("real");
  ASSERT_EQ(symlink(Path("gone").c_str(), Path("broken").c_str()), 0);
  ASSERT_EQ(symlink(Path("loop2").c_str(), Path("loop1").c_str()), 0);
  ASSERT_EQ(symlink(Path("loop1").c_str(), Path("loop2").c_str()), 0);
  ASSERT_EQ(symlink(Dir.c_str(), Path("real/up").c_str()), 0);  // a folder that holds its parent
  const String Odd = "odd\xff";
  MakeDir(Odd);
  MakeDir(Odd + "/child");
  TbsCustomShellTreeView* T = NewTree(Dir);
  T->SetObjectTypes({otFolders, otNonFolders});
  TTreeNode* Root = T->Items()->GetFirstNode();
  // The unreadable folder is shown and has nothing to expand (unless the tests run as root).
  TTreeNode* Locked = Child(Root, "locked");
  ASSERT_NE(Locked, nullptr);
  Locked->Expand(false);
  if (access(Path("locked").c_str(), R_OK) != 0) {
    EXPECT_EQ(Locked->Count(), 0);
  }
  EXPECT_NE(Child(Root, "broken"), nullptr);
  EXPECT_NE(Child(Root, "loop1"), nullptr);
  // The folder link can be followed level after level; each level is read only when opened.
  TTreeNode* N = Child(Root, "real");
  for (int Level = 0; Level < 5; ++Level) {
    N->Expand(false);
    N = Child(N, Level % 2 == 0 ? "up" : "real");
    ASSERT_NE(N, nullptr) << Level;
  }
  // The odd name shows a replacement character and still opens by its bytes.
  TTreeNode* OddNode = Child(Root, "odd\xEF\xBF\xBD");
  ASSERT_NE(OddNode, nullptr);
  OddNode->Expand(false);
  EXPECT_EQ(Texts(OddNode), std::vector<String>{"child"});
  T->SetSelected(OddNode->Item(0));
  EXPECT_EQ(T->Path(), Path(Odd + "/child"));
}

TEST_F(ShellTree, PathExpandsTheWayDownAndBadInputKeepsTheTree) {
  MakeDir("one");
  MakeDir("one/two");
  MakeDir("one/two/three");
  TbsCustomShellTreeView* T = NewTree(Dir);
  T->SetPath(Path("one/two/three"));
  ASSERT_NE(T->Selected(), nullptr);
  EXPECT_EQ(T->Selected()->Text(), "three");
  EXPECT_EQ(T->Selected()->Level(), 3);
  EXPECT_EQ(T->Path(), Path("one/two/three"));
  EXPECT_TRUE(T->Selected()->Parent()->Expanded());
  try {
    T->SetPath(Path("missing"));
    ADD_FAILURE() << "a missing path was accepted";
  } catch (const EInvalidPath& E) {
    EXPECT_EQ(E.Message(), "Error setting path: \"" + Path("missing") + "\"");
  }
  EXPECT_EQ(T->Path(), Path("one/two/three"));
  // A root that cannot be resolved: the tree is rebuilt on the old root, then the error comes.
  try {
    T->SetRoot(Path("nowhere"));
    ADD_FAILURE() << "a missing root was accepted";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Error setting path: \"" + Path("nowhere") + "\"");
  }
  EXPECT_EQ(T->Root(), Dir);
  ASSERT_NE(T->Items()->GetFirstNode(), nullptr);
  EXPECT_EQ(T->RootFolder()->PathName(), Dir);
}

TEST_F(ShellTree, RefreshDropsWhatWentAndKeepsWhatWasOpenAndSelected) {
  for (const char* D : {"a", "a/x", "a/x/deep", "b", "b/y", "c"}) MakeDir(D);
  TbsCustomShellTreeView* T = NewTree(Dir);
  T->SetPath(Path("b/y"));
  TTreeNode* Root = T->Items()->GetFirstNode();
  Child(Root, "a")->Expand(false);
  Child(Child(Root, "a"), "x")->Expand(false);
  ASSERT_EQ(rmdir(Path("c").c_str()), 0);
  MakeDir("d");
  T->Refresh(T->Items()->GetFirstNode());
  Root = T->Items()->GetFirstNode();
  EXPECT_EQ(Texts(Root), (std::vector<String>{"a", "b", "d"}));
  EXPECT_TRUE(Child(Root, "a")->Expanded());
  EXPECT_TRUE(Child(Child(Root, "a"), "x")->Expanded());
  EXPECT_EQ(T->Path(), Path("b/y"));
  EXPECT_EQ(T->Items()->Count(), 7);
}

// Stands in for the edit box a user types into: the test ends the edit with the typed text.
struct TTypedEditor : ITreeLabelEditor {
  static inline std::function<void(bool, const String&)> Finish;
  void Start(TCustomTreeView*, const TRect&, const String&,
             std::function<void(bool, const String&)> F) override {
    Finish = std::move(F);
  }
  void Cancel() override { Finish = nullptr; }
};

TEST_F(ShellTree, RenameInPlaceAsksTheShellAndReadsTheParentAgain) {
  MakeDir("old");
  MakeDir("taken");
  TCustomTreeView::LabelEditorFactory = [] { return std::make_unique<TTypedEditor>(); };
  TbsCustomShellTreeView* T = NewTree(Dir);
  TTreeNode* Root = T->Items()->GetFirstNode();
  String Seen;
  T->OnEdited = [&](TObject*, TTreeNode*, String& S) {
    Seen = S;
    S = "新的";
  };
  T->SetSelected(Child(Root, "old"));
  bool Handled = false;
  T->ExecuteCommand("Rename", Handled);
  EXPECT_TRUE(Handled);
  ASSERT_TRUE(T->IsEditing());
  TTypedEditor::Finish(true, "typed");
  // The handler's text is the one the shell gets; the parent is read again.
  Root = T->Items()->GetFirstNode();
  EXPECT_EQ(Seen, "typed");
  EXPECT_NE(Child(Root, "新的"), nullptr);
  EXPECT_EQ(Child(Root, "old"), nullptr);
  EXPECT_EQ(access(Path("新的").c_str(), F_OK), 0);
  // A cancelled edit asks nothing.
  Seen.clear();
  T->SetSelected(Child(Root, "新的"));
  T->Selected()->EditText();
  TTypedEditor::Finish(false, "ignored");
  EXPECT_EQ(Seen, "");
  // A refusal raises and the node keeps its text.
  T->OnEdited = [](TObject*, TTreeNode*, String& S) { S = "taken"; };
  T->Selected()->EditText();
  EXPECT_THROW(TTypedEditor::Finish(true, "x"), Exception);
  EXPECT_NE(Child(T->Items()->GetFirstNode(), "新的"), nullptr);
  EXPECT_EQ(access(Path("新的").c_str(), F_OK), 0);
  TCustomTreeView::LabelEditorFactory = nullptr;
}

TEST_F(ShellTree, OpenCommandsGiveTheWorkingFolderBackAndDeleteDropsTheNode) {
  MakeDir("sub");
  MakeDir("gone");
  TbsCustomShellTreeView* T = NewTree(Dir);
  TTreeNode* Root = T->Items()->GetFirstNode();
  T->SetSelected(Child(Root, "sub"));
  const String Before = GetCurrentDir();
  bool Handled = false;
  T->ExecuteCommand("open", Handled);
  EXPECT_FALSE(Handled);
  EXPECT_EQ(GetCurrentDir(), Dir);
  T->CommandCompleted("OPEN", true);
  EXPECT_EQ(GetCurrentDir(), Before);
  T->SetSelected(Child(Root, "gone"));
  ASSERT_EQ(rmdir(Path("gone").c_str()), 0);
  T->CommandCompleted("delete", false);
  EXPECT_NE(Child(Root, "gone"), nullptr);
  T->CommandCompleted("delete", true);
  EXPECT_EQ(Child(Root, "gone"), nullptr);
}

TEST_F(ShellTree, AutoRefreshFollowsTheSelectedFolderOnDisk) {
  MakeDir("watched");
  TbsCustomShellTreeView* T = NewTree(Dir);
  TTreeNode* Root = T->Items()->GetFirstNode();
  EXPECT_TRUE(T->Notifier() == nullptr || !T->Notifier()->Watching());
  T->SetAutoRefresh(true);
  EXPECT_EQ(T->Notifier()->Root(), Dir);
  T->SetSelected(Child(Root, "watched"));
  ASSERT_TRUE(T->Notifier() && T->Notifier()->Watching());
  EXPECT_EQ(T->Notifier()->Root(), Path("watched"));
  EXPECT_FALSE(T->Notifier()->WatchSubTree());
  MakeDir("watched/new");
  ASSERT_TRUE(PumpShellNotices([&] {
    TTreeNode* W = Child(T->Items()->GetFirstNode(), "watched");
    return W && W->Count() == 1;
  }));
  EXPECT_EQ(T->Path(), Path("watched"));
  // Removing the watched folder itself neither crashes nor hangs.
  ASSERT_EQ(system(("rm -rf '" + Path("watched") + "'").c_str()), 0);
  T->SetAutoRefresh(false);
}

TEST_F(ShellTree, TheTreeShowsItsOwnImagesWhateverIsSet) {
  TbsCustomShellTreeView* T = NewTree(Dir);
  TCustomImageList* Shell = SHGetSystemImageList(false);
  EXPECT_EQ(T->TCustomTreeView::Images(), Shell);
  T->Perform(TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
  EXPECT_EQ(T->TCustomTreeView::Images(), Shell);
  T->SetUseShellImages(false);
  EXPECT_EQ(T->TCustomTreeView::Images(), nullptr);
  TTreeNode* Root = T->Items()->GetFirstNode();
  EXPECT_EQ(Root->ImageIndex(), SHGetIconIndex(T->RootFolder()->AbsoluteID(), false));
}

}  // namespace
