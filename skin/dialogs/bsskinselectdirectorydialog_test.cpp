#include "skin/dialogs/bsskinselectdirectorydialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <functional>
#include <thread>

#include "platform/rtl/files.h"
#include "platform/rtl/threads.h"
#include "platform/shell/testkit/tempfolder.h"
#include "platform/ui/comctrls/treeview.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskinspeedbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bspngimagelist.h"
#include "skin/dialogs/bsskinmessage.h"
#include "skin/dialogs/testkit/skindialogstestkit.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/shell/bsshelltreeview.h"
#include "skin/shell/bsskinfilepaths.h"

using dialogstest::ShowingBox;

namespace {

class SelectDirectoryTest : public shelltest::TTempFolderTestOf<TSkinControlTest> {
 protected:
  void SetUp() override {
    shelltest::TTempFolderTestOf<TSkinControlTest>::SetUp();
    SetTestFontMode(true);
    Owner = NewForm();
    Dialog = std::make_unique<TbsSkinSelectDirectoryDialog>(nullptr);
    Dialog->OnShow = [this](TObject*) { Events.push_back("show"); };
    Dialog->OnChange = [this](TObject*) { Events.push_back("change"); };
    Dialog->OnClose = [this](TObject*) {
      Events.push_back(Dialog->DlgFrm() != nullptr ? "close" : "close without form");
    };
  }
  void TearDown() override {
    Dialog.reset();
    Strings.reset();
    SetTestFontMode(false);
    shelltest::TTempFolderTestOf<TSkinControlTest>::TearDown();
  }

  TbsSelDirDlgForm* Form() const { return Dialog->DlgFrm(); }
  // A string table whose lines are Lines only.
  void UseStringTable(std::initializer_list<const char*> Lines) {
    dialogstest::UseStringTable(Skin.get(), Strings, Lines);
  }
  static void ClickControl(TControl* C) {
    HWND Wnd = C->Parent()->Handle();
    wintest::Click(wintest::ScreenPoint(Wnd, C->Left() + C->Width() / 2, C->Top() + C->Height() / 2));
  }
  // Types Text into the path edit and presses Enter; the keys are handled before this returns.
  static void TypePath(TbsSelDirDlgForm* F, const String& Text) {
    F->DirEdit->SetFocus();
    F->DirEdit->SetText(Text);
    dialogstest::Press(VK_RETURN, 13);
  }
  // Scripts the next Execute: InDialog runs in the dialog's loop and expects an error box, whose text
  // goes to Told and which is answered with Enter; AfterBox then runs in the dialog again.
  static void ExpectErrorBox(std::function<void()> InDialog, String& Told, std::function<void()> AfterBox) {
    wintest::OnNextModalLoops({[InDialog, AfterBox] {
                                 InDialog();
                                 AfterBox();
                               },
                               [&Told] {
                                 Told = ShowingBox()->Message->Caption();
                                 wintest::KeyPress(VK_RETURN, 13);
                               }});
  }
  static std::vector<String> ChildTexts(TTreeNode* Node) {
    std::vector<String> R;
    for (TTreeNode* C = Node->getFirstChild(); C; C = C->getNextSibling()) R.push_back(C->Text());
    return R;
  }
  static Integer LiveDialogs() {
    Integer N = 0;
    for (Integer i = 0; i < Application->ComponentCount(); ++i)
      N += dynamic_cast<TbsSelDirDlgForm*>(Application->Components(i)) != nullptr;
    return N;
  }

  TForm* Owner = nullptr;
  std::unique_ptr<TbsSkinSelectDirectoryDialog> Dialog;
  std::unique_ptr<TbsResourceStrData> Strings;
  std::vector<String> Events;
};

TEST_F(SelectDirectoryTest, StartsWithTheDocumentedSettings) {
  EXPECT_EQ(Dialog->Title(), "Select folder");
  EXPECT_EQ(Dialog->Directory(), "");
  EXPECT_EQ(Dialog->DefaultFont()->Name(), "Tahoma");
  EXPECT_EQ(Dialog->DefaultFont()->Height(), 13);
  EXPECT_TRUE(Dialog->DefaultFont()->Style().Empty());
  EXPECT_FALSE(Dialog->ShowToolBar());
  EXPECT_FALSE(Dialog->ToolButtonsTransparent());
  EXPECT_TRUE(Dialog->TreeShowLines());
  EXPECT_EQ(Dialog->TreeButtonExpandImageIndex(), 0);
  EXPECT_EQ(Dialog->TreeButtonNoExpandImageIndex(), 1);
  EXPECT_EQ(Dialog->ToolButtonImageIndex(), 0);
  EXPECT_EQ(Dialog->AlphaBlendValue(), 200);
  EXPECT_FALSE(Dialog->AlphaBlend());
  EXPECT_FALSE(Dialog->AlphaBlendAnimation());
  EXPECT_EQ(
      Dialog->DialogWidth() + Dialog->DialogHeight() + Dialog->DialogMinWidth() + Dialog->DialogMinHeight(),
      0);
  // The component forgets what goes.
  auto Images = std::make_unique<TbsPngImageList>(nullptr);
  Dialog->SetToolBarImageList(Images.get());
  Dialog->SetTreeButtonImageList(Images.get());
  Dialog->SetSkinData(Skin.get());
  Dialog->SetCtrlSkinData(Skin.get());
  // One skin in both places, then the frame's moved to another: the control skin is still watched.
  TbsSkinData Other(nullptr);
  Dialog->SetSkinData(&Other);
  Dialog->SetToolBarImageList(nullptr);
  Images.reset();
  Skin.reset();
  EXPECT_EQ(Dialog->SkinData(), &Other);
  Dialog->SetSkinData(nullptr);
  EXPECT_EQ(Dialog->ToolBarImageList(), nullptr);
  EXPECT_EQ(Dialog->TreeButtonImageList(), nullptr);
  EXPECT_EQ(Dialog->SkinData(), nullptr);
  EXPECT_EQ(Dialog->CtrlSkinData(), nullptr);
}

TEST_F(SelectDirectoryTest, OkReturnsTheStartFolderAndCancelKeepsDirectory) {
  MakeDir("视频");
  MakeDir("视频/inner");
  const String Start = Path("视频");
  Dialog->SetDirectory(Start);
  Dialog->SetTitle("选择输出目录");
  String Selected, Caption;
  bool TreeFocused = false, OwnerDisabled = false, Expanded = false;
  wintest::OnNextModalLoop([&] {
    Selected = Form()->DirTreeView->Path();
    Caption = Form()->Caption();
    Expanded = Form()->DirTreeView->Selected()->Expanded();
    TreeFocused = GetFocus() == Form()->DirTreeView->Handle();
    OwnerDisabled = !IsWindowEnabled(Owner->Handle());
    wintest::KeyPress(VK_RETURN, 13);
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Selected, Start);
  EXPECT_EQ(Caption, "选择输出目录");
  EXPECT_TRUE(Expanded);
  EXPECT_TRUE(TreeFocused) << "the tree waits with the keyboard";
  EXPECT_TRUE(OwnerDisabled) << "the dialog is modal";
  EXPECT_EQ(Dialog->Directory(), Start);
  EXPECT_EQ(Events, (std::vector<String>{"show", "change", "close"}));
  EXPECT_EQ(Dialog->DlgFrm(), nullptr);
  EXPECT_EQ(LiveDialogs(), 0);

  // Escape: false, Directory as it was, no change event; the same with the Cancel button.
  for (bool ByButton : {false, true}) {
    Events.clear();
    wintest::OnNextModalLoop([&] {
      Form()->DirTreeView->SetPath(Path("视频/inner"));
      if (ByButton)
        ClickControl(Form()->CancelButton);
      else
        wintest::KeyPress(VK_ESCAPE, 27);
    });
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_EQ(Dialog->Directory(), Start);
    EXPECT_EQ(Events, (std::vector<String>{"show", "close"}));
  }
  // Clicking OK after choosing another folder returns that one.
  wintest::OnNextModalLoop([&] {
    Form()->DirTreeView->SetPath(Path("视频/inner"));
    ClickControl(Form()->OkButton);
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Dialog->Directory(), Path("视频/inner"));
}

// Where the dialog opens: the Directory the caller gave, else the folder last shown in this dialog
// during the run, else the user's home, else the computer; a folder that is gone (or a file) is
// passed over. The opening folder is expanded.
TEST_F(SelectDirectoryTest, StartFolderIsTheCallersElseTheLastUsedElseHome) {
  for (const char* D : {"a", "a/sub", "c", "c/sub", "home", "home/sub"}) MakeDir(D);
  MakeFile("file.txt");
  struct TCase {
    String Directory, LastUsed, Home, Selected;
  };
  const TCase Cases[] = {
      {Path("a"), Path("c"), Path("home"), Path("a")},
      {Path("gone"), Path("c"), Path("home"), Path("c")},
      {Path("file.txt"), "", Path("home"), Path("home")},
      {"", Path("c"), Path("home"), Path("c")},
      {"", "", Path("home"), Path("home")},
      {"", "", Path("gone"), "/"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Directory + " | " + C.LastUsed + " | " + C.Home);
    dialogstest::THomeFolder Home(C.Home);
    Dialog = std::make_unique<TbsSkinSelectDirectoryDialog>(nullptr);
    if (!C.LastUsed.empty()) {
      wintest::OnNextModalLoop([&] {
        Form()->DirTreeView->SetPath(C.LastUsed);
        wintest::KeyPress(VK_ESCAPE, 27);
      });
      EXPECT_FALSE(Dialog->Execute());
    }
    if (!C.Directory.empty()) Dialog->SetDirectory(C.Directory);
    String Selected;
    bool Expanded = false;
    wintest::OnNextModalLoop([&] {
      Selected = Form()->DirTreeView->Path();
      Expanded = Form()->DirTreeView->Selected() != nullptr && Form()->DirTreeView->Selected()->Expanded();
      wintest::KeyPress(VK_RETURN, 13);
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_EQ(Selected, C.Selected);
    EXPECT_TRUE(Expanded);
    EXPECT_EQ(Dialog->Directory(), C.Selected) << "OK on the opening folder returns it";
  }
}

// Between runs the dialog keeps its place: it reopens where OK took a folder, and where the user was
// when a later run was cancelled, while Directory keeps the folder last confirmed; a Directory the
// caller gives then takes over.
TEST_F(SelectDirectoryTest, ReopensOnTheFolderLastShown) {
  for (const char* D : {"home", "x", "y", "z"}) MakeDir(D);
  dialogstest::THomeFolder Home(Path("home"));
  auto OpenedOn = [&](std::function<void()> Then) {
    String Selected;
    wintest::OnNextModalLoop([&] {
      Selected = Form()->DirTreeView->Path();
      Then();
    });
    Dialog->Execute();
    return Selected;
  };
  EXPECT_EQ(OpenedOn([&] {
              Form()->DirTreeView->SetPath(Path("x"));
              ClickControl(Form()->OkButton);
            }),
            Path("home"));
  EXPECT_EQ(Dialog->Directory(), Path("x"));
  EXPECT_EQ(OpenedOn([&] {
              Form()->DirTreeView->SetPath(Path("y"));
              ClickControl(Form()->CancelButton);
            }),
            Path("x"));
  EXPECT_EQ(Dialog->Directory(), Path("x")) << "Cancel confirms nothing";
  EXPECT_EQ(OpenedOn([] { wintest::KeyPress(VK_ESCAPE, 27); }), Path("y"));
  Dialog->SetDirectory(Path("z"));
  EXPECT_EQ(OpenedOn([] { wintest::KeyPress(VK_ESCAPE, 27); }), Path("z"));
}

TEST_F(SelectDirectoryTest, BuildsTheLayoutAndRemembersTheClosingSize) {
  Dialog->SetShowToolBar(true);
  TRect Tree, ToolBar, NewFolder, Edit, Bottom, Ok, Cancel, VBar, HBar;
  Integer ClientW = 0, ClientH = 0;
  std::pair<Integer, Integer> OwnImages;
  String Hint;
  bool Flat = true;
  wintest::OnNextModalLoop([&] {
    TbsSelDirDlgForm* F = Form();
    ClientW = F->ClientWidth();
    ClientH = F->ClientHeight();
    F->SetClientWidth(400);
    F->SetClientHeight(330);
    Tree = F->DirTreeViewPanel->BoundsRect();
    ToolBar = F->ToolPanel->BoundsRect();
    NewFolder = F->NewFolderToolButton->BoundsRect();
    Edit = F->DirEdit->BoundsRect();
    Bottom = F->BottomPanel->BoundsRect();
    Ok = F->OkButton->BoundsRect();
    Cancel = F->CancelButton->BoundsRect();
    VBar = F->VScrollBar->BoundsRect();
    HBar = F->HScrollBar->BoundsRect();
    OwnImages = {F->ToolPanel->Images() == F->PngImgList ? F->PngImgList->Count() : -1,
                 F->NewFolderToolButton->ImageIndex()};
    Hint = F->NewFolderToolButton->ShowHint() ? F->NewFolderToolButton->Hint() : String();
    Flat = F->NewFolderToolButton->Flat();
    wintest::KeyPress(VK_ESCAPE, 27);
  });
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_EQ(ClientW, 280);
  EXPECT_EQ(ClientH, 280);
  // Resized to 400 x 330: the tree grows, the buttons keep their place at the left.
  EXPECT_EQ(ToolBar, Rect(0, 0, 400, 25));
  // Right to left on the tool bar: the new-folder button, the 5-pixel spacer, the edit filling the rest.
  EXPECT_EQ(NewFolder.Width(), 27);
  EXPECT_EQ(NewFolder.Height(), 25);
  EXPECT_GE(NewFolder.Right, 400 - 10);
  EXPECT_EQ(Edit.Left, 0);
  EXPECT_EQ(Edit.Right, NewFolder.Left - 5);
  EXPECT_EQ(Bottom, Rect(0, 330 - 50, 400, 330));
  EXPECT_EQ(Tree, Rect(0, 25, 400, 330 - 50));
  EXPECT_EQ(Ok, Bounds(20, 15, 70, 25));
  EXPECT_EQ(Cancel, Bounds(100, 15, 70, 25));
  EXPECT_EQ(VBar.Width(), 19);
  EXPECT_EQ(HBar.Height(), 19);
  EXPECT_EQ(OwnImages.first, 1) << "the form's own new-folder picture";
  EXPECT_EQ(OwnImages.second, 0);
  EXPECT_EQ(Hint, "Create New Folder");
  EXPECT_FALSE(Flat);
  // Cancelled, the closing size is kept for the next Execute of the run.
  EXPECT_EQ(Dialog->DialogWidth(), 400);
  EXPECT_EQ(Dialog->DialogHeight(), 330);
  wintest::OnNextModalLoop([&] {
    ClientW = Form()->ClientWidth();
    ClientH = Form()->ClientHeight();
    wintest::KeyPress(VK_ESCAPE, 27);
  });
  Dialog->Execute();
  EXPECT_EQ(ClientW, 400);
  EXPECT_EQ(ClientH, 330);
}

TEST_F(SelectDirectoryTest, HandsItsSettingsToTheFormAndASkinsMinimumWins) {
  Dialog->SetSkinData(Skin.get());
  Dialog->SetCtrlSkinData(Skin.get());
  Skin->FormMinWidth = 420;
  Skin->FormMinHeight = 360;
  Skin->SetDlgTreeViewDrawSkin(false);
  Skin->SetDlgTreeViewItemSkinDataName("menuitem");
  Dialog->SetDialogMinWidth(150);
  Dialog->SetDialogMinHeight(160);
  Dialog->SetAlphaBlendValue(90);
  Dialog->SetTreeShowLines(false);
  TbsPngImageList TreeButtons(nullptr);
  Dialog->SetTreeButtonImageList(&TreeButtons);
  Dialog->SetTreeButtonExpandImageIndex(2);
  Dialog->SetTreeButtonNoExpandImageIndex(3);
  Dialog->DefaultFont()->SetName("Arial");
  Dialog->DefaultFont()->SetHeight(14);
  Integer ClientW = 0, ClientH = 0, MinW = 0, MinH = 0;
  TbsSelDirDlgForm* Seen = nullptr;
  wintest::OnNextModalLoop([&] {
    TbsSelDirDlgForm* F = Seen = Form();
    ClientW = F->ClientWidth();
    ClientH = F->ClientHeight();
    MinW = F->BSF->GetMinWidth();
    MinH = F->BSF->GetMinHeight();
    EXPECT_TRUE(F->BSF->BorderIcons().Empty());
    EXPECT_EQ(F->BSF->SkinData(), Skin.get());
    EXPECT_EQ(F->BSF->MenusSkinData(), Skin.get());
    EXPECT_EQ(F->BSF->MinWidth(), 150);
    EXPECT_EQ(F->BSF->MinHeight(), 160);
    EXPECT_EQ(F->BSF->AlphaBlendValue(), 90);
    EXPECT_FALSE(F->DirTreeView->DrawSkin());
    EXPECT_EQ(F->DirTreeView->ItemSkinDataName(), "menuitem");
    EXPECT_FALSE(F->DirTreeView->ShowLines());
    EXPECT_EQ(F->DirTreeView->ButtonImageList(), &TreeButtons);
    EXPECT_EQ(F->DirTreeView->ButtonExpandImageIndex(), 2);
    EXPECT_EQ(F->DirTreeView->ButtonNoExpandImageIndex(), 3);
    EXPECT_FALSE(F->DirTreeView->HideSelection());
    EXPECT_TRUE(F->DirTreeView->ObjectTypes().Contains(otHidden));
    EXPECT_EQ(F->DirTreeView->VScrollBar(), F->VScrollBar);
    EXPECT_EQ(F->DirTreeView->HScrollBar(), F->HScrollBar);
    EXPECT_EQ(F->DirTreeView->DefaultFont()->Name(), "Arial");
    EXPECT_EQ(F->OkButton->DefaultFont()->Height(), 14);
    for (TbsSkinCustomControl* C :
         {static_cast<TbsSkinCustomControl*>(F->OkButton), static_cast<TbsSkinCustomControl*>(F->BottomPanel),
          static_cast<TbsSkinCustomControl*>(F->DirTreeViewPanel),
          static_cast<TbsSkinCustomControl*>(F->VScrollBar)})
      EXPECT_EQ(C->SkinData(), Skin.get()) << C->Name();
    EXPECT_TRUE(F->OkButton->Default());
    EXPECT_TRUE(F->CancelButton->Cancel());
    EXPECT_EQ(F->Position(), poScreenCenter);
    EXPECT_EQ(F->ToolPanel, nullptr);
    EXPECT_EQ(F->DirEdit, nullptr);
    wintest::KeyPress(VK_ESCAPE, 27);
  });
  Dialog->Execute();
  ASSERT_NE(Seen, nullptr);
  EXPECT_GE(MinW, 420);
  EXPECT_EQ(ClientW, std::max(280, MinW));
  EXPECT_EQ(ClientH, std::max(280, MinH));
}

TEST_F(SelectDirectoryTest, TheToolBarTakesTheCallersImagesAndLook) {
  TbsPngImageList Images(nullptr);
  Dialog->SetShowToolBar(true);
  Dialog->SetToolBarImageList(&Images);
  Dialog->SetToolButtonImageIndex(3);
  Dialog->SetToolButtonsTransparent(true);
  TCustomImageList* Shown = nullptr;
  Integer Index = -1;
  bool Flat = false;
  wintest::OnNextModalLoop([&] {
    Shown = Form()->ToolPanel->Images();
    Index = Form()->NewFolderToolButton->ImageIndex();
    Flat = Form()->NewFolderToolButton->Flat();
    wintest::KeyPress(VK_ESCAPE, 27);
  });
  Dialog->Execute();
  EXPECT_EQ(Shown, &Images);
  EXPECT_EQ(Index, 3);
  EXPECT_TRUE(Flat);
}

TEST_F(SelectDirectoryTest, TextsComeFromTheStringTableOrTheBuiltInFallbacks) {
  Dialog->SetShowToolBar(true);
  Dialog->SetCtrlSkinData(Skin.get());
  struct TSeen {
    String Ok, Cancel, Hint;
  };
  auto seen = [&] {
    TSeen S;
    wintest::OnNextModalLoop([&] {
      S = {Form()->OkButton->Caption(), Form()->CancelButton->Caption(), Form()->NewFolderToolButton->Hint()};
      wintest::KeyPress(VK_ESCAPE, 27);
    });
    Dialog->Execute();
    return S;
  };
  TSeen S = seen();  // a skin without a string table
  EXPECT_EQ(S.Ok, "OK");
  EXPECT_EQ(S.Cancel, "Cancel");
  EXPECT_EQ(S.Hint, "Create New Folder");
  UseStringTable({"MSG_BTN_OK=确定", "MSG_BTN_NEWFOLDER_HINT=新建文件夹"});
  S = seen();
  EXPECT_EQ(S.Ok, "确定");
  EXPECT_EQ(S.Cancel, "") << "a table without the key gives no text";
  EXPECT_EQ(S.Hint, "新建文件夹");
  EXPECT_EQ(SelectDirectoryDialogText(nullptr, "MSG_NEWFOLDER", "New Folder"), "New Folder");
  EXPECT_EQ(SelectDirectoryDialogText(Skin.get(), "MSG_NEWFOLDER", "New Folder"), "");
}

// Typing in the tree selects by the letters typed together, not by the first one alone.
TEST_F(SelectDirectoryTest, TypingSelectsTheFolderByThePrefixTyped) {
  for (const char* D : {"Vacation", "vault", "video", "Videos"}) MakeDir(D);
  Dialog->SetDirectory(Dir);
  std::vector<String> Selected;
  wintest::OnNextModalLoop([&] {
    for (const char* Typed : {"v", "vi", "vid", "videos"}) {
      // Only the clock moves: a pause as long as the search waits.
      Clock().Advance(TCustomTreeView::IncrementalSearchPause + 1);
      Form()->DirTreeView->SetPath(Dir);
      for (const char* C = Typed; *C; ++C) dialogstest::Press(Word(std::toupper(*C)), DWORD(*C));
      Selected.push_back(ExtractFileName(Form()->DirTreeView->Path()));
    }
    wintest::KeyPress(VK_ESCAPE, 27);
  });
  Dialog->Execute();
  EXPECT_EQ(Selected, (std::vector<String>{"Vacation", "video", "video", "Videos"}));
}

TEST_F(SelectDirectoryTest, ThePathEditFollowsTheTreeAndEnterOnAFolderChoosesIt) {
  MakeDir("a");
  MakeDir("a/b");
  MakeDir("c");
  Dialog->SetShowToolBar(true);
  Dialog->SetDirectory(Path("c"));
  String Shown;
  wintest::OnNextModalLoop([&] {
    Shown = Form()->DirEdit->Text();
    TypePath(Form(), Path("a/b"));
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Shown, Path("c"));
  EXPECT_EQ(Dialog->Directory(), Path("a/b"));
  // A name relative to the selected folder; Enter on an empty edit closes with the tree's folder.
  Dialog->SetDirectory(Path("a"));
  wintest::OnNextModalLoop([&] { TypePath(Form(), "b"); });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Dialog->Directory(), Path("a/b"));
  wintest::OnNextModalLoop([&] { TypePath(Form(), ""); });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Dialog->Directory(), Path("a/b"));
  // Escape in the edit cancels whatever was typed.
  wintest::OnNextModalLoop([&] {
    Form()->DirEdit->SetFocus();
    Form()->DirEdit->SetText(Path("c"));
    wintest::KeyPress(VK_ESCAPE, 27);
  });
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_EQ(Dialog->Directory(), Path("a/b"));
}

TEST_F(SelectDirectoryTest, ATypedPathThatDoesNotExistIsReportedAndNothingIsLost) {
  MakeDir("a");
  MakeFile("note.txt");
  Dialog->SetShowToolBar(true);
  Dialog->SetDirectory(Path("a"));
  for (const String& Typed : {Path("missing"), Path("note.txt")}) {
    SCOPED_TRACE(Typed);
    Events.clear();
    String Told, Kept, Selected;
    bool StillOpen = false;
    ExpectErrorBox([&] { TypePath(Form(), Typed); }, Told,
                   [&] {
                     StillOpen = Form() != nullptr && Form()->Visible();
                     Kept = Form()->DirEdit->Text();
                     Selected = Form()->DirTreeView->Path();
                     wintest::KeyPress(VK_ESCAPE, 27);
                   });
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_NE(Told.find(Typed), String::npos) << Told;
    EXPECT_EQ(Told.find("Cannot open the folder"), 0u) << Told;
    EXPECT_TRUE(StillOpen) << "Enter on a bad path does not close the dialog";
    EXPECT_EQ(Kept, Typed) << "the typed text stays for correcting";
    EXPECT_EQ(Selected, Path("a"));
    EXPECT_EQ(Dialog->Directory(), Path("a"));
  }
}

// The dialog's messages come from the string table too; a table without their keys keeps the
// built-in texts rather than showing an empty box.
TEST_F(SelectDirectoryTest, MessagesComeFromTheStringTable) {
  MakeDir("a");
  Dialog->SetShowToolBar(true);
  Dialog->SetCtrlSkinData(Skin.get());
  Dialog->SetDirectory(Path("a"));
  auto told = [&](std::function<void()> Step) {
    String Told;
    ExpectErrorBox(Step, Told, [] { wintest::KeyPress(VK_ESCAPE, 27); });
    Dialog->Execute();
    return Told;
  };
  auto typeMissing = [&] { TypePath(Form(), Path("missing")); };
  auto newFolder = [&] {
    ClickControl(Form()->NewFolderToolButton);
    WinProcessMessages();
  };
  UseStringTable({"MSG_FOLDEROPENFAILED=无法打开文件夹“%s”：\n%s",
                  "MSG_FOLDERCREATEFAILED=无法创建文件夹“%s”：\n%s", "MSG_NEWFOLDER=新/建"});
  EXPECT_EQ(told(typeMissing).find("无法打开文件夹“" + Path("missing") + "”："), 0u);
  EXPECT_EQ(told(newFolder).find("无法创建文件夹“" + Path("a/新/建") + "”："), 0u);
  UseStringTable({"MSG_NEWFOLDER=新/建"});
  EXPECT_EQ(told(typeMissing).find("Cannot open the folder \"" + Path("missing") + "\""), 0u);
  EXPECT_EQ(told(newFolder).find("Cannot create the folder \"" + Path("a/新/建") + "\""), 0u);
}

TEST_F(SelectDirectoryTest, FoldersWithoutRightsAreReported) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
  MakeDir("a");
  MakeDir("locked");
  MakeDir("locked/inner");
  ASSERT_EQ(chmod(Path("locked").c_str(), 0111), 0);
  Dialog->SetShowToolBar(true);
  Dialog->SetDirectory(Path("a"));
  String Told, Selected;
  ExpectErrorBox([&] { TypePath(Form(), Path("locked/inner")); }, Told,
                 [&] {
                   Selected = Form()->DirTreeView->Path();
                   wintest::KeyPress(VK_ESCAPE, 27);
                 });
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_NE(Told.find("\"" + Path("locked") + "\" cannot be read"), String::npos) << Told;
  EXPECT_EQ(Selected, Path("a")) << "the selection goes back";
  // A folder without write rights takes no new folder: said so, nothing made.
  MakeDir("readonly");
  ASSERT_EQ(chmod(Path("readonly").c_str(), 0555), 0);
  Dialog->SetDirectory(Path("readonly"));
  ExpectErrorBox(
      [&] {
        ClickControl(Form()->NewFolderToolButton);
        WinProcessMessages();
      },
      Told, [&] { wintest::KeyPress(VK_ESCAPE, 27); });
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_EQ(Told, "Cannot create the folder \"" + Path("readonly/New Folder") + "\":\nPermission denied");
  EXPECT_FALSE(IsFolder(Path("readonly/New Folder")));
  // Started inside it, the dialog opens on the folder it showed last.
  Dialog->SetDirectory(Path("locked/inner"));
  wintest::OnNextModalLoop([&] {
    Selected = Form()->DirTreeView->Path();
    wintest::KeyPress(VK_ESCAPE, 27);
  });
  Dialog->Execute();
  EXPECT_EQ(Selected, Path("readonly"));
}

TEST_F(SelectDirectoryTest, NewFolderIsCreatedUnderTheSelectedFolderOnce) {
  MakeDir("a");
  Dialog->SetShowToolBar(true);
  Dialog->SetDirectory(Path("a"));
  std::vector<String> AfterFirst, AfterSecond;
  String Desktop = "?";
  bool QuietOnDesktop = false;
  wintest::OnNextModalLoop([&] {
    TbsSelDirDlgForm* F = Form();
    ClickControl(F->NewFolderToolButton);
    WinProcessMessages();
    AfterFirst = ChildTexts(F->DirTreeView->Selected());
    ClickControl(F->NewFolderToolButton);
    WinProcessMessages();
    AfterSecond = ChildTexts(F->DirTreeView->Selected());
    // The desktop (the tree's first node) is no folder of the file system: nothing is made.
    F->DirTreeView->SetSelected(F->DirTreeView->Items()->GetFirstNode());
    Desktop = F->DirTreeView->Path();
    ClickControl(F->NewFolderToolButton);
    WinProcessMessages();
    QuietOnDesktop = GetActiveWindow() == F->Handle();
    wintest::KeyPress(VK_ESCAPE, 27);
  });
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_EQ(AfterFirst, std::vector<String>{"New Folder"});
  EXPECT_EQ(AfterSecond, std::vector<String>{"New Folder"});
  EXPECT_EQ(Desktop, "");
  EXPECT_TRUE(QuietOnDesktop) << "no box, nothing made";
  struct stat St {};
  EXPECT_EQ(stat(Path("a/New Folder").c_str(), &St), 0);
  EXPECT_TRUE(S_ISDIR(St.st_mode));

  // The name comes from the string table.
  Dialog->SetCtrlSkinData(Skin.get());
  UseStringTable({"MSG_NEWFOLDER=新建文件夹"});
  wintest::OnNextModalLoop([&] {
    ClickControl(Form()->NewFolderToolButton);
    WinProcessMessages();
    AfterFirst = ChildTexts(Form()->DirTreeView->Selected());
    wintest::KeyPress(VK_RETURN, 13);
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(AfterFirst, (std::vector<String>{"New Folder", "新建文件夹"}));
  EXPECT_EQ(Dialog->Directory(), Path("a")) << "the selection stays on the folder";
}

TEST_F(SelectDirectoryTest, ANewFolderThatCannotBeCreatedIsReported) {
  MakeDir("a");
  MakeFile("a/New Folder", "keep");  // a file holds the name
  Dialog->SetShowToolBar(true);
  Dialog->SetDirectory(Path("a"));
  String Told;
  bool StillOpen = false;
  ExpectErrorBox(
      [&] {
        ClickControl(Form()->NewFolderToolButton);
        WinProcessMessages();
      },
      Told,
      [&] {
        StillOpen = Form()->Visible();
        wintest::KeyPress(VK_RETURN, 13);
      });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Told.find("Cannot create the folder \"" + Path("a/New Folder") + "\""), 0u) << Told;
  EXPECT_TRUE(StillOpen);
  EXPECT_EQ(Dialog->Directory(), Path("a"));
  std::ifstream In(Path("a/New Folder"));
  String Body;
  In >> Body;
  EXPECT_EQ(Body, "keep") << "the file is untouched";
}

TEST_F(SelectDirectoryTest, AnExceptionStillClosesAndFreesTheForm) {
  Dialog->OnChange = [this](TObject*) {
    Events.push_back("change");
    throw Exception("handler failed");
  };
  const Integer Before = Application->ComponentCount();
  wintest::OnNextModalLoop([&] { wintest::KeyPress(VK_RETURN, 13); });
  EXPECT_THROW(Dialog->Execute(), Exception);
  EXPECT_EQ(Events, (std::vector<String>{"show", "change", "close"}));
  EXPECT_EQ(Dialog->DlgFrm(), nullptr);
  EXPECT_EQ(Application->ComponentCount(), Before) << "no form or image list left behind";
}

TEST_F(SelectDirectoryTest, TheModalLoopServesTheMainThreadQueue) {
  std::thread Worker;
  bool RanInside = false;
  wintest::OnNextModalLoop([&] {
    // The worker waits for the main thread while the dialog is up; its call answers the dialog.
    Worker = std::thread([&] {
      TThread::Synchronize(nullptr, [&] {
        RanInside = Form() != nullptr;
        Form()->SetModalResult(mrCancel);
      });
    });
  });
  EXPECT_FALSE(Dialog->Execute());
  Worker.join();
  EXPECT_TRUE(RanInside);
}

}  // namespace
