#include "skin/shell/bsshellpathcombobox.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/rtl/format.h"
#include "platform/shell/testkit/tempfolder.h"
#include "platform/ui/graphics/bitmap.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/shell/bsshelllistview.h"
#include "skin/shell/bsshelltreeview.h"
#include "skin/shell/bsshellviews_test_util.h"

namespace {

// The box with its drawing and its image list reachable as a test needs them.
class TTestCombo : public TbsSkinShellComboBox {
 public:
  using TbsSkinShellComboBox::TbsSkinShellComboBox;
  void DrawListItemForTest(TCanvas* C, Integer Index, TRect TR) { DrawListItem(C, Index, 0, 0, TR, {}); }
  void DropSystemImages() { FImages = nullptr; }
  void AddChildItemsForTest(Integer Index, TbsShellFolder* Folder) { AddChildItems(Index, Folder); }
};

struct TEntry {
  String Caption;
  Integer Indent;
  bool operator==(const TEntry& O) const { return Caption == O.Caption && Indent == O.Indent; }
};
std::ostream& operator<<(std::ostream& S, const TEntry& E) {
  return S << E.Caption << "/" << E.Indent;
}
using TOutline = std::vector<TEntry>;

class ShellPathCombo : public shelltest::TTempFolderTestOf<TSkinControlTest> {
 protected:
  TTestCombo* NewCombo(const TRoot& Root) {
    if (Form == nullptr) Form = NewForm(Rect(50, 50, 650, 450));
    auto* C = new TTestCombo(Form);
    C->SetBounds(8, 8, 300, 22);
    C->SetParent(Form);
    C->HandleNeeded();
    if (!Root.empty()) C->SetRoot(Root);
    return C;
  }
  // The outline as the drop-down shows it; the base's items must be the captions in order.
  static TOutline Outline(TbsCustomShellComboBox* C) {
    TOutline R;
    EXPECT_EQ(C->Items()->Count(), C->ItemsEx()->Count());
    for (Integer I = 0; I < C->ItemsEx()->Count(); ++I) {
      const TbsItemEx* E = C->ItemsEx()->Items(I);
      EXPECT_EQ(C->Items()->Strings(I), E->Caption) << I;
      R.push_back({E->Caption, E->Indent});
    }
    return R;
  }
  static Integer IndexOf(TbsCustomShellComboBox* C, const String& Caption) {
    for (Integer I = C->ItemsEx()->Count() - 1; I >= 0; --I)
      if (C->ItemsEx()->Items(I)->Caption == Caption) return I;
    return -1;
  }
  String RootName() const { return Dir.substr(Dir.rfind('/') + 1); }
  void Remove(const String& Name) { ASSERT_EQ(system(("rm -rf '" + Path(Name) + "'").c_str()), 0); }

  TForm* Form = nullptr;
};

TEST_F(ShellPathCombo, OutlineOfTheRootAndTheChainDownToTheShownFolder) {
  for (const char* D : {"a", "a/b", "a/b/c", "B2", "z"}) MakeDir(D);
  MakeFile("f.txt");
  TTestCombo* C = NewCombo(Dir);
  Integer Changes = 0;
  C->OnChange = [&](TObject*) { ++Changes; };
  const String R = RootName();
  EXPECT_EQ(Outline(C), (TOutline{{R, 0}, {"a", 1}, {"B2", 1}, {"z", 1}}));
  EXPECT_EQ(C->ItemIndex(), 0);
  EXPECT_EQ(C->Path(), Dir);
  EXPECT_EQ(C->ItemsEx()->Items(1)->ImageIndex, C->ItemsEx()->Items(1)->SelectedImageIndex);

  struct Case {
    String Shown;
    TOutline Expected;
    Integer Selected;
  } Cases[] = {
      // Each level below the deepest entry that contains the folder adds one entry.
      {"a/b/c", {{R, 0}, {"a", 1}, {"b", 2}, {"c", 3}, {"B2", 1}, {"z", 1}}, 3},
      // The outline is rebuilt from scratch every time.
      {"z", {{R, 0}, {"a", 1}, {"B2", 1}, {"z", 1}}, 3},
      {"a/b", {{R, 0}, {"a", 1}, {"b", 2}, {"B2", 1}, {"z", 1}}, 2},
      {"", {{R, 0}, {"a", 1}, {"B2", 1}, {"z", 1}}, 0},
  };
  for (const Case& K : Cases) {
    const String Folder = K.Shown.empty() ? Dir : Path(K.Shown);
    C->SetPath(Folder);
    EXPECT_EQ(Outline(C), K.Expected) << K.Shown;
    EXPECT_EQ(C->ItemIndex(), K.Selected) << K.Shown;
    EXPECT_EQ(C->Path(), Folder);
    EXPECT_EQ(C->Text(), K.Expected[size_t(K.Selected)].Caption);
  }
  EXPECT_GT(Changes, 0);
  // An entry added below its parent has no selected image of its own.
  C->SetPath(Path("a/b"));
  EXPECT_EQ(C->ItemsEx()->Items(2)->SelectedImageIndex, 0);
  EXPECT_GE(C->ItemsEx()->Items(2)->ImageIndex, 0);

  // A folder outside the root shows the rebuilt outline with the root selected.
  C->SetPath("/");
  EXPECT_EQ(Outline(C).size(), 4u);
  EXPECT_EQ(C->ItemIndex(), 0);
  // A name the shell cannot parse leaves the entries alone.
  C->SetPath(Path("a/b"));
  try {
    C->SetPath(Path("missing"));
    ADD_FAILURE() << "a missing folder was accepted";
  } catch (const EInvalidPath& E) {
    EXPECT_EQ(E.Message(), "Error setting path: \"" + Path("missing") + "\"");
  }
  EXPECT_EQ(C->Path(), Path("a/b"));
  EXPECT_EQ(Outline(C).size(), 5u);
  EXPECT_EQ(C->Folders(99), C->Folders(4));
  EXPECT_EQ(C->Folders(-1), nullptr);

  // Files join the outline when asked for.
  C->SetObjectTypes({otFolders, otNonFolders});
  EXPECT_EQ(Outline(C), (TOutline{{R, 0}, {"a", 1}, {"B2", 1}, {"z", 1}, {"f.txt", 1}}));

  // A copied outline owns folder objects of its own.
  TTestCombo* Copy = NewCombo("");
  Copy->SetItemsEx(C->ItemsEx());
  EXPECT_EQ(Outline(Copy), Outline(C));
  EXPECT_NE(Copy->Folders(1), C->Folders(1));
  EXPECT_EQ(Copy->Folders(1)->PathName(), Path("a"));
}

TEST_F(ShellPathCombo, TheDesktopOutlineListsTheFileSystemRootsFoldersAndTheChainBelowThem) {
  MakeDir("a");
  MakeDir("a/b");
  TTestCombo* C = NewCombo("");
  ASSERT_EQ(C->Root(), "rfDesktop");
  ASSERT_GT(C->ItemsEx()->Count(), 2);
  EXPECT_EQ(C->ItemsEx()->Items(0)->Indent, 0);
  PItemIDList Computer = nullptr;
  ASSERT_TRUE(Succeeded(SHGetSpecialFolderLocation(nullptr, RootFolderCSIDL(rfMyComputer), Computer)));
  const Integer I = C->IndexOfFolderID(Computer);
  FreeItemIDList(Computer);
  ASSERT_GT(I, 0);
  EXPECT_EQ(C->ItemsEx()->Items(I)->Indent, 1);
  EXPECT_EQ(C->ItemsEx()->Items(I + 1)->Indent, 2);
  // The desktop's own items come first among its children, each at indent 1.
  for (Integer K = 1; K < I; ++K) EXPECT_EQ(C->ItemsEx()->Items(K)->Indent, 1) << K;

  // A folder three levels below the file system root's "tmp": three entries after it.
  C->SetPath(Path("a/b"));
  const Integer Tmp =
      C->IndexOfFolderID(C->Folders(C->ItemIndex())->Parent()->Parent()->Parent()->AbsoluteID());
  ASSERT_GE(Tmp, 0);
  EXPECT_EQ(C->ItemsEx()->Items(Tmp)->Caption, "tmp");
  EXPECT_EQ(C->ItemsEx()->Items(Tmp)->Indent, 2);
  EXPECT_EQ(Outline(C)[size_t(Tmp + 1)], (TEntry{RootName(), 3}));
  EXPECT_EQ(Outline(C)[size_t(Tmp + 2)], (TEntry{"a", 4}));
  EXPECT_EQ(Outline(C)[size_t(Tmp + 3)], (TEntry{"b", 5}));
  EXPECT_EQ(C->ItemIndex(), Tmp + 3);
  // The file system root itself is selected without adding anything.
  const size_t Before = Outline(C).size() - 3;
  C->SetPath("/");
  EXPECT_EQ(Outline(C).size(), Before);
  EXPECT_EQ(C->ItemIndex(), I);
}

TEST_F(ShellPathCombo, PickingAnEntryMovesTheLinkedListAndTreeAndTheirMovesRebuildTheOutline) {
  for (const char* D : {"a", "a/b", "z"}) MakeDir(D);
  MakeFile("a/b/clip.mp4");
  TTestCombo* C = NewCombo("");
  auto* L = new TbsSkinFileListView(Form);
  L->SetBounds(0, 40, 400, 200);
  L->SetParent(Form);
  L->SetRoot(Dir);
  L->HandleNeeded();
  auto* T = new TbsSkinDirTreeView(Form);
  T->SetBounds(400, 40, 180, 200);
  T->SetParent(Form);
  T->HandleNeeded();
  L->SetShellComboBox(C);  // the box takes the list's root
  L->SetShellTreeView(T);
  C->SetShellTreeView(T);
  EXPECT_EQ(C->Root(), Dir);
  EXPECT_EQ(C->ShellListView(), L);
  EXPECT_EQ(T->ShellComboBox(), C);

  // The list moves: the box shows the chain down to it.
  L->SetPath(Path("a/b"));
  EXPECT_EQ(C->Path(), Path("a/b"));
  EXPECT_EQ(T->Path(), Path("a/b"));
  const String R = RootName();
  EXPECT_EQ(Outline(C), (TOutline{{R, 0}, {"a", 1}, {"b", 2}, {"z", 1}}));

  // The user drops the box down, steps with the keys (nothing moves while it is open) and accepts.
  Form->Show();
  C->SetFocus();
  wintest::KeyPress(VK_DOWN, 0, true);
  ASSERT_TRUE(C->IsPopupVisible());
  wintest::KeyPress(VK_DOWN);
  EXPECT_EQ(C->ItemIndex(), 3);
  EXPECT_EQ(L->Path(), Path("a/b"));
  wintest::KeyPress(VK_RETURN);
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(L->Path(), Path("z"));
  EXPECT_EQ(T->Path(), Path("z"));
  // The outline stays as it was until a linked control moves the box.
  EXPECT_EQ(Outline(C), (TOutline{{R, 0}, {"a", 1}, {"b", 2}, {"z", 1}}));
  L->Back();
  EXPECT_EQ(Outline(C), (TOutline{{R, 0}, {"a", 1}, {"z", 1}}));
  EXPECT_EQ(C->ItemIndex(), 0);
  // The tree moves the box too.
  T->SetPath(Path("a"));
  EXPECT_EQ(C->Path(), Path("a"));
  EXPECT_EQ(L->Path(), Path("a"));

  // A new root goes on to the linked controls.
  C->SetRoot(Path("a"));
  EXPECT_EQ(L->Root(), Path("a"));
  EXPECT_EQ(T->Root(), Path("a"));
  // A linked control that goes away is forgotten.
  delete L;
  EXPECT_EQ(C->ShellListView(), nullptr);
  C->SetItemIndex(1);
  EXPECT_EQ(T->Path(), Path("a/b"));
  // Unlinking from the tree's side clears both ends.
  T->SetShellComboBox(nullptr);
  EXPECT_EQ(C->ShellTreeView(), nullptr);
  T->SetShellComboBox(C);
  EXPECT_EQ(C->ShellTreeView(), T);
  delete C;
  EXPECT_EQ(T->ShellComboBox(), nullptr);
  T->SetPath(Path("a"));
}

TEST_F(ShellPathCombo, FoldersThatGoAwayWhileShownAndRootsThatCannotBeResolved) {
  for (const char* D : {"a", "a/b", "a/b/c", "z"}) MakeDir(D);
  TTestCombo* C = NewCombo(Dir);
  auto* L = new TbsSkinFileListView(Form);
  L->SetBounds(0, 40, 400, 200);
  L->SetParent(Form);
  L->HandleNeeded();
  C->SetShellListView(L);
  L->SetPath(Path("a/b/c"));
  ASSERT_EQ(C->ItemIndex(), 3);

  // The shown folder goes: picking its entry shows it empty, the outline stays.
  Remove("a/b");
  C->SetItemIndex(3);
  EXPECT_EQ(L->Path(), Path("a/b/c"));
  EXPECT_EQ(L->FolderCount(), 0);
  EXPECT_EQ(Outline(C).size(), 5u);
  // The list's next move rebuilds the outline without the folder.
  C->SetItemIndex(1);
  EXPECT_EQ(L->Path(), Path("a"));
  L->Refresh();
  L->Back();
  EXPECT_EQ(Outline(C), (TOutline{{RootName(), 0}, {"a", 1}, {"z", 1}}));

  // A root that cannot be resolved keeps the old root and its outline.
  const TOutline Kept = Outline(C);
  try {
    C->SetRoot(Path("missing"));
    ADD_FAILURE() << "a missing root was accepted";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Error setting path: \"" + Path("missing") + "\"");
  }
  EXPECT_EQ(C->Root(), Dir);
  EXPECT_EQ(Outline(C), Kept);
  EXPECT_EQ(L->Root(), Dir);

  // The root itself goes: the list still moves and the box keeps what it showed, and its root.
  C->SetRoot(Path("a"));
  L->SetPath(Path("a"));
  const TOutline Before = Outline(C);
  Remove("a");
  L->SetPath(Path("z"));
  EXPECT_EQ(L->Path(), Path("z"));
  EXPECT_EQ(C->Root(), Path("a"));
  EXPECT_EQ(Outline(C), Before);
  // So does a new window, which comes up empty.
  C->DestroyHandle();
  C->HandleNeeded();
  EXPECT_EQ(C->Root(), Path("a"));
  EXPECT_EQ(C->ItemsEx()->Count(), 0);
  EXPECT_EQ(C->Path(), "");

  // A file as the root shows only itself.
  MakeFile("z/clip.mp4");
  C->SetRoot(Path("z/clip.mp4"));
  EXPECT_EQ(Outline(C), (TOutline{{"clip.mp4", 0}}));
}

// A folder whose contents cannot be read.
class TUnreadableFolder : public TForwardingFolder {
 public:
  using TForwardingFolder::TForwardingFolder;
  HRESULT EnumObjects(Cardinal, std::unique_ptr<IEnumIDList>&) override { return HResultFromErrno(EACCES); }
};

TEST_F(ShellPathCombo, AnEnumerationFailureRaisesThePlatformErrorAndClosesTheUpdate) {
  MakeDir("a");
  TTestCombo* C = NewCombo(Dir);
  const TOutline Before = Outline(C);
  TbsShellFolder Locked(nullptr, C->RootFolder()->AbsoluteID(),
                        std::make_shared<TUnreadableFolder>(C->RootFolder()->ShellFolder()));
  try {
    C->AddChildItemsForTest(0, &Locked);
    ADD_FAILURE() << "an unreadable folder gave children";
  } catch (const EOSError& E) {
    EXPECT_EQ(E.Message(), Format("System Error.  Code: %d", {HResultFromErrno(EACCES)}));
  }
  EXPECT_EQ(C->ItemsEx()->UpdateCount(), 0);
  EXPECT_EQ(Outline(C), Before);
  // Changes go on reaching the linked controls afterwards.
  auto* L = new TbsSkinFileListView(Form);
  L->SetParent(Form);
  L->HandleNeeded();
  C->SetShellListView(L);
  C->SetItemIndex(1);
  EXPECT_EQ(L->Path(), Path("a"));
}

TEST_F(ShellPathCombo, NamesThatAreNotValidUtf8AreShownReplacedAndReachedByTheirBytes) {
  MakeDir("odd\xff");
  MakeDir("odd\xff/in\xfe");
  TTestCombo* C = NewCombo(Dir);
  auto* L = new TbsSkinFileListView(Form);
  L->SetParent(Form);
  L->HandleNeeded();
  C->SetShellListView(L);
  C->SetPath(Path("odd\xff/in\xfe"));
  EXPECT_EQ(Outline(C), (TOutline{{RootName(), 0}, {"odd\xEF\xBF\xBD", 1}, {"in\xEF\xBF\xBD", 2}}));
  EXPECT_EQ(C->Path(), Path("odd\xff/in\xfe"));
  C->SetItemIndex(1);
  EXPECT_EQ(L->Path(), Path("odd\xff"));
  EXPECT_EQ(L->FolderCount(), 1);
}

// Where the drop-down draws an entry: its icon Indent x half an icon to the right, the text after the
// icon's space, which stays when shell images are off and goes with the system list.
TEST_F(ShellPathCombo, EntriesAreDrawnIndentedWithTheirIconOrItsSpace) {
  MakeDir("a");
  MakeDir("a/b");
  TTestCombo* C = NewCombo(Dir);
  C->SetPath(Path("a/b"));
  ASSERT_EQ(C->ItemsEx()->Items(2)->Indent, 2);
  ASSERT_EQ(C->ImageWidth(), 16);
  // The leftmost column that is not white in [From, To) of a drawn entry; -1 when none.
  const auto firstInk = [&](Integer Index, Integer From, Integer To) {
    TBitmap B;
    B.SetSize(200, 20);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 200, 20));
    B.Canvas()->Font()->SetColor(clBlack);
    C->DrawListItemForTest(B.Canvas(), Index, Rect(2, 0, 198, 20));
    for (Integer X = From; X < To; ++X)
      for (Integer Y = 0; Y < 20; ++Y)
        if (B.Canvas()->Pixels(X, Y) != clWhite) return X;
    return -1;
  };
  const Integer Shift = 2 * 16 / 2;
  // Nothing left of the indent; the icon in its place; the text from icon width + 4 on.
  EXPECT_EQ(firstInk(2, 0, 2 + Shift), -1);
  EXPECT_GE(firstInk(2, 2 + Shift, 2 + Shift + 16), 2 + Shift);
  EXPECT_GE(firstInk(2, 2 + Shift + 16, 200), 2 + Shift + 20);
  EXPECT_LE(firstInk(2, 2 + Shift + 16, 200), 2 + Shift + 22);
  EXPECT_NE(firstInk(0, 2, 18), -1);
  // Shell images off: the icon's space stays empty.
  C->SetUseShellImages(false);
  C->SetPath(Path("a/b"));
  EXPECT_EQ(C->ItemsEx()->Items(2)->ImageIndex, -1);
  EXPECT_EQ(firstInk(2, 0, 2 + Shift + 20), -1);
  EXPECT_NE(firstInk(2, 2 + Shift + 20, 200), -1);
  // Without the system list the text starts at the indent.
  C->DropSystemImages();
  EXPECT_GE(firstInk(2, 0, 200), 2 + Shift);
  EXPECT_LE(firstInk(2, 0, 200), 2 + Shift + 2);
}

}  // namespace
