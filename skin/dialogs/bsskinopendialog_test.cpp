#include "skin/dialogs/bsskinopendialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <thread>

#include "platform/rtl/files.h"
#include "platform/rtl/threads.h"
#include "platform/shell/testkit/tempfolder.h"
#include "platform/ui/core/application.h"
#include "platform/ui/core/screen.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/edit.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/buttons/bsskinspeedbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bspngimagelist.h"
#include "skin/dialogs/bsskinmessage.h"
#include "skin/dialogs/testkit/skindialogstestkit.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/shell/bsshelllistview.h"
#include "skin/shell/bsskinfiltercombobox.h"

using dialogstest::ShowingBox;

namespace {

class OpenDialogTest : public shelltest::TTempFolderTestOf<TSkinControlTest> {
 protected:
  void SetUp() override {
    shelltest::TTempFolderTestOf<TSkinControlTest>::SetUp();
    SetTestFontMode(true);
    Dlg = std::make_unique<TbsSkinOpenDialog>(nullptr);
    Dlg->SetInitialDir(Dir);
  }
  void TearDown() override {
    TbsOpenDlgForm::CanReadFolder = nullptr;
    Application->OnException = nullptr;
    Dlg.reset();
    SetTestFontMode(false);
    shelltest::TTempFolderTestOf<TSkinControlTest>::TearDown();
  }

  TbsOpenDlgForm* Form() const { return Dlg->DlgFrm(); }
  TbsCustomShellListView* List() const { return Form()->FileListView; }
  // The index of the item named Name in the dialog's list, -1 when absent.
  Integer IndexOf(const String& Name) const {
    for (Integer I = 0; I < List()->FolderCount(); ++I)
      if (List()->Folders(I)->DisplayName() == Name) return I;
    return -1;
  }
  void Select(const String& Name) const {
    const Integer I = IndexOf(Name);
    ASSERT_GE(I, 0) << Name;
    List()->SetItemIndex(I);
  }
  void Type(const String& Text) const { Form()->FileNameEdit->SetText(Text); }
  // Clicks the accept button as a person does and lets the dialog handle it.
  void ClickOpen() const {
    wintest::Click(wintest::ScreenPoint(Form()->OpenButton->Handle(), 10, 10));
    WinProcessMessages();
  }
  bool StillOpen() const { return Form() != nullptr && Form()->ModalResult() == mrNone; }
  // Ends a dialog the step left open, so that a failing step never leaves the loop waiting.
  void CloseIfOpen() const {
    if (StillOpen()) Form()->SetModalResult(mrCancel);
  }
  // Runs Step inside the dialog's modal loop; true when the dialog was accepted.
  bool Run(std::function<void()> Step) {
    wintest::OnNextModalLoop([this, Step] {
      Step();
      CloseIfOpen();
    });
    return Dlg->Execute();
  }
  // The caption and text of the box that Step brings up, answered as a person does: Enter takes the
  // box's default button, Escape its cancel button.
  String BoxTextOf(std::function<void()> Step, Word AnswerKey = VK_RETURN) {
    String Text;
    wintest::OnNextModalLoop([&, AnswerKey] {
      TbsMessageForm* Box = ShowingBox();
      if (Box == nullptr) return;
      Text = Box->Caption() + ": " + Box->Message->Caption();
      wintest::KeyPress(AnswerKey);
    });
    Step();
    wintest::OnNextModalLoops({});  // no box came: the answer must not wait for a later loop
    return Text;
  }
  void UseStringTable(std::initializer_list<const char*> Lines) {
    dialogstest::UseStringTable(Skin.get(), Strings, Lines);
  }

  std::unique_ptr<TbsSkinOpenDialog> Dlg;
  std::unique_ptr<TbsResourceStrData> Strings;
};

TEST_F(OpenDialogTest, ComponentDefaults) {
  TbsSkinOpenDialog D(nullptr);
  EXPECT_EQ(D.Title(), "Open file");
  EXPECT_EQ(D.Filter(), "All files|*.*");
  EXPECT_EQ(D.FilterIndex(), 1);
  EXPECT_TRUE(D.CheckFileExists());
  EXPECT_FALSE(D.MultiSelection());
  EXPECT_FALSE(D.OverwritePromt());
  EXPECT_FALSE(D.ShowHiddenFiles());
  EXPECT_FALSE(D.ToolButtonsTransparent());
  EXPECT_EQ(D.LVHeaderSkinDataName(), "header");
  EXPECT_EQ(D.DefaultFont()->Name(), "Tahoma");
  EXPECT_EQ(D.DefaultFont()->Height(), 13);
  EXPECT_EQ(D.AlphaBlendValue(), 225);
  EXPECT_EQ(D.CtrlAlphaBlendValue(), 225);
  EXPECT_EQ(D.DialogWidth(), 0);
  EXPECT_EQ(D.ListViewStyle, vsList);
  EXPECT_EQ(D.DlgFrm(), nullptr);
  EXPECT_EQ(D.GetSelectedFile(), "");
}

TEST_F(OpenDialogTest, FilterExtensionsOfMasks) {
  const std::pair<const char*, const char*> Cases[] = {{"*.jpg", ".jpg"}, {"*.bmp;*.jpg", ".bmp"},
                                                       {"*.*", ""},       {"*.txt;*.*", ""},
                                                       {"*", ""},         {"a.b.txt", ".txt"}};
  for (const auto& [Mask, Ext] : Cases) EXPECT_EQ(FilterMaskExtension(Mask), Ext) << Mask;
}

TEST_F(OpenDialogTest, TheFormIsBuiltWithItsTextsPlacesAndButtons) {
  std::unique_ptr<TbsOpenDlgForm> F(new TbsOpenDlgForm(nullptr, false, nullptr, true, nullptr));
  F->HandleNeeded();
  EXPECT_EQ(F->Drivelabel->Caption(), "Look in: ");
  EXPECT_EQ(F->OpenButton->Caption(), "&Open");
  EXPECT_EQ(F->CancelButton->Caption(), "Cancel");
  EXPECT_EQ(F->OpenFileLabel->Caption(), "File name:");
  EXPECT_EQ(F->FileTypeLabel->Caption(), "File type:");
  EXPECT_EQ(F->BackToolButton->Hint(), "Go To Last Folder Visited");
  EXPECT_EQ(F->UpToolButton->Hint(), "Up One Level");
  EXPECT_EQ(F->NewFolderToolButton->Hint(), "Create New Folder");
  EXPECT_EQ(F->StyleToolButton->Hint(), "View Menu");
  EXPECT_EQ(F->IconMenuItem->Caption(), "Large icons");
  EXPECT_EQ(F->ReportMenuItem->Caption(), "Details");
  EXPECT_TRUE(F->BackToolButton->Flat());
  EXPECT_TRUE(F->CheckFileExists);
  EXPECT_EQ(F->CancelButton->ModalResult(), mrCancel);
  EXPECT_EQ(F->PngImgList->Count(), 4);
  EXPECT_EQ(F->ToolPanel->Images(), static_cast<TCustomImageList*>(F->PngImgList));

  // Bottom row: the edit and filter box from 70, or right of a label wider than that, with a 90-pixel
  // right margin; the buttons 10 from it; each label in the middle of its box's height.
  const Integer W = F->BottomPanel->Width();
  EXPECT_EQ(F->BottomPanel->Height(), 80);
  const Integer Left = F->FileNameEdit->Left();
  EXPECT_GE(Left, 70);
  EXPECT_EQ(F->FileNameEdit->BoundsRect(), Rect(Left, 10, W - 90, 10 + F->FileNameEdit->Height()));
  EXPECT_EQ(F->FilterComboBox->Left(), Left);
  EXPECT_EQ(F->FilterComboBox->Top(), 45);
  for (auto [Label, Box] : {std::pair<TControl*, TControl*>{F->OpenFileLabel, F->FileNameEdit},
                            std::pair<TControl*, TControl*>{F->FileTypeLabel, F->FilterComboBox}}) {
    EXPECT_LT(Label->BoundsRect().Right, Left) << "the caption is never under its box";
    EXPECT_NEAR(Label->Top() + Label->Height() / 2, Box->Top() + Box->Height() / 2, 1);
  }
  EXPECT_EQ(F->OpenButton->BoundsRect(), Bounds(W - 80, 10, 70, 25));
  EXPECT_EQ(F->CancelButton->BoundsRect(), Bounds(W - 80, 45, 70, 25));
  F->SetClientWidth(F->ClientWidth() + 100);
  EXPECT_EQ(F->FileNameEdit->BoundsRect().Right, F->BottomPanel->Width() - 90)
      << "the edit grows with the form";
  EXPECT_EQ(F->CancelButton->Left(), F->BottomPanel->Width() - 80);

  // Tool bar from the left: label, spacer, folder box; from the right edge: view menu, spacer, new
  // folder, up, back.
  EXPECT_EQ(F->Drivelabel->Left(), 0);
  EXPECT_GE(F->ShellBox->Left(), F->Drivelabel->Width() + 10);
  const Integer TW = F->ToolPanel->ClientWidth();
  EXPECT_EQ(F->StyleToolButton->BoundsRect().Right, TW);
  EXPECT_EQ(F->StyleToolButton->Width(), 37);
  EXPECT_EQ(F->NewFolderToolButton->BoundsRect().Right, TW - 37 - 10);
  EXPECT_EQ(F->UpToolButton->BoundsRect().Right, F->NewFolderToolButton->Left());
  EXPECT_EQ(F->BackToolButton->BoundsRect().Right, F->UpToolButton->Left());
  EXPECT_EQ(F->ShellBox->BoundsRect().Right, F->BackToolButton->Left());
}

TEST_F(OpenDialogTest, TextsComeFromTheStringTableAndAMissingKeyIsEmpty) {
  UseStringTable({"MSG_BTN_SAVE=保存", "FLV_LOOKIN=查找范围：", "MSG_BTN_CANCEL=取消"});
  std::unique_ptr<TbsOpenDlgForm> F(new TbsOpenDlgForm(nullptr, true, Skin.get(), false, nullptr));
  EXPECT_EQ(F->OpenButton->Caption(), "保存");
  EXPECT_EQ(F->Drivelabel->Caption(), "查找范围：");
  EXPECT_EQ(F->CancelButton->Caption(), "取消");
  EXPECT_EQ(F->OpenFileLabel->Caption(), "") << "a table without the key";
  EXPECT_EQ(F->BackToolButton->Hint(), "");
  // Captions that fit (here none at all) leave the edit and the filter box at their place.
  EXPECT_EQ(F->FileNameEdit->Left(), 70);
  EXPECT_EQ(F->FilterComboBox->Left(), 70);
  // A skin without a table: the built-in texts.
  Skin->SetResourceStrData(nullptr);
  std::unique_ptr<TbsOpenDlgForm> G(new TbsOpenDlgForm(nullptr, true, Skin.get(), false, nullptr));
  EXPECT_EQ(G->OpenButton->Caption(), "&Save");
  EXPECT_EQ(G->OpenFileLabel->Caption(), "File name:");
}

TEST_F(OpenDialogTest, AcceptingASelectedFileFiresTheEventsInOrder) {
  MakeFile("a.avi");
  MakeFile("b.avi");
  MakeDir("sub");
  std::vector<String> Log;
  Dlg->OnShow = [&](TObject* S) {
    Log.push_back(Dlg->DlgFrm() == nullptr && S == Dlg.get() ? "show" : "show?");
  };
  Dlg->OnFolderChange = [&](TObject* S) {
    if (S == Form() && (Log.empty() || Log.back() != "folder")) Log.push_back("folder");
  };
  Dlg->FOnChange = [&](TObject*) { Log.push_back("change " + ExtractFileName(Dlg->FileName())); };
  Dlg->OnClose = [&](TObject*) { Log.push_back(Dlg->DlgFrm() != nullptr ? "close" : "close?"); };
  String Caption, Seen;
  bool EditActive = false;
  const bool R = Run([&] {
    Caption = Form()->Caption();
    EditActive = Form()->ActiveControl() == Form()->FileNameEdit;
    Select("b.avi");
    Seen = Dlg->GetSelectedFile();
    EXPECT_EQ(Form()->FileNameEdit->Text(), "b.avi");
    ClickOpen();
  });
  EXPECT_TRUE(R);
  EXPECT_EQ(Caption, "Open file");
  EXPECT_TRUE(EditActive);
  EXPECT_EQ(Seen, Path("b.avi"));
  EXPECT_EQ(Dlg->FileName(), Path("b.avi"));
  ASSERT_EQ(Dlg->Files()->Count(), 1);
  EXPECT_EQ(Dlg->Files()->Strings(0), Path("b.avi"));
  EXPECT_EQ(Log, (std::vector<String>{"show", "folder", "change b.avi", "close"}));
  EXPECT_EQ(Dlg->DlgFrm(), nullptr);
}

TEST_F(OpenDialogTest, CancelKeepsTheNamesButTakesTheClosingStateAndSizeForTheNextRun) {
  MakeFile("a.avi");
  Dlg->SetFilter("Videos|*.avi|All|*.*");
  Dlg->SetFileName("/earlier/choice.avi");
  Dlg->Files()->Add("/earlier/choice.avi");
  Integer OpenedWithIndex = -1;
  EXPECT_FALSE(Run([&] {
    OpenedWithIndex = Form()->FilterComboBox->ItemIndex();
    Form()->FilterComboBox->SetItemIndex(1);
    Form()->ReportItemClick(nullptr);
    Form()->SetClientWidth(600);
    Form()->SetClientHeight(400);
    Select("a.avi");
    Form()->CancelButton->ButtonClick();
  }));
  EXPECT_EQ(OpenedWithIndex, 0);
  EXPECT_EQ(Dlg->FileName(), "/earlier/choice.avi");
  EXPECT_EQ(Dlg->Files()->Count(), 1);
  EXPECT_EQ(Dlg->FilterIndex(), 2);
  EXPECT_EQ(Dlg->ListViewStyle, vsReport);
  EXPECT_EQ(Dlg->DialogWidth(), 600);
  EXPECT_EQ(Dlg->DialogHeight(), 400);

  TPoint Size{}, IndexAndStyle{};
  bool ReportChecked = false;
  Run([&] {
    Size = TPoint{Form()->ClientWidth(), Form()->ClientHeight()};
    IndexAndStyle = TPoint{Form()->FilterComboBox->ItemIndex(), Integer(List()->ViewStyle())};
    ReportChecked = Form()->ReportMenuItem->Checked();
  });
  EXPECT_EQ(Size, (TPoint{600, 400}));
  EXPECT_EQ(IndexAndStyle, (TPoint{1, Integer(vsReport)}));
  EXPECT_TRUE(ReportChecked);
}

TEST_F(OpenDialogTest, DefaultSizeAndTheSkinsMinimum) {
  TPoint Size{};
  Run([&] { Size = TPoint{Form()->ClientWidth(), Form()->ClientHeight()}; });
  EXPECT_EQ(Size, (TPoint{450, 290}));
  // A skin whose forms are at least 500 wide.
  Skin->FormMinWidth = 500;
  Dlg->SetSkinData(Skin.get());
  Dlg->SetDialogWidth(0);
  Dlg->SetDialogHeight(0);
  Run([&] { Size = TPoint{Form()->ClientWidth(), Form()->ClientHeight()}; });
  EXPECT_EQ(Size.X, 500);
}

// Where the dialog opens: the caller's folder (the folder of a file name the caller gave, else the
// initial folder), else the folder last shown in this dialog during the run, else the user's home,
// never the program's own folder. A folder that is gone or cannot be read is passed over.
TEST_F(OpenDialogTest, StartFolderIsTheCallersElseTheLastUsedElseHome) {
  for (const char* D : {"a", "b", "c", "home", "locked"}) MakeDir(D);
  TbsOpenDlgForm::CanReadFolder = [this](const String& P) {
    return ExcludeTrailingPathDelimiter(P) != Path("locked");
  };
  struct TCase {
    String FileName, InitialDir, LastUsed, Home, Folder, Edit;
  };
  const TCase Cases[] = {
      {Path("a/clip.avi"), Path("b"), Path("c"), Path("home"), Path("a"), "clip.avi"},
      {Path("missing/clip.avi"), Path("b"), Path("c"), Path("home"), Path("b"), "clip.avi"},
      {Path("locked/clip.avi"), Path("b"), "", Path("home"), Path("b"), "clip.avi"},
      {Path("missing/clip.avi"), "", Path("c"), Path("home"), Path("c"), "clip.avi"},
      {"", Path("gone"), Path("c"), Path("home"), Path("c"), ""},
      {"", Path("locked"), Path("c"), Path("home"), Path("c"), ""},
      {"", "", "", Path("home"), Path("home"), ""},
      {Path("missing/clip.avi"), Path("locked"), "", Path("home"), Path("home"), "clip.avi"},
      {"", "", "", Path("gone"), "/", ""},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.FileName + " | " + C.InitialDir + " | " + C.LastUsed + " | " + C.Home);
    dialogstest::THomeFolder Home(C.Home);
    Dlg = std::make_unique<TbsSkinOpenDialog>(nullptr);
    if (!C.LastUsed.empty()) Run([&] { List()->SetPath(C.LastUsed); });
    Dlg->SetFileName(C.FileName);
    Dlg->SetInitialDir(C.InitialDir);
    String Folder, Edit;
    Run([&] {
      Folder = List()->Path();
      Edit = Form()->FileNameEdit->Text();
    });
    EXPECT_EQ(Folder, C.Folder);
    EXPECT_EQ(Edit, C.Edit);
  }
}

// The file the dialog itself returned is no caller's choice: a later visit elsewhere, even one left
// by Cancel, is where the next run opens; a folder that went meanwhile gives the home folder.
TEST_F(OpenDialogTest, TheLastFolderShownWinsOverTheDialogsOwnLastResult) {
  MakeDir("a");
  MakeDir("c");
  MakeDir("home");
  MakeFile("a/clip.avi");
  dialogstest::THomeFolder Home(Path("home"));
  Dlg->SetInitialDir("");
  EXPECT_TRUE(Run([&] {
    List()->SetPath(Path("a"));
    Select("clip.avi");
    ClickOpen();
  }));
  EXPECT_EQ(Dlg->FileName(), Path("a/clip.avi"));
  String Folder;
  Run([&] { Folder = List()->Path(); });
  EXPECT_EQ(Folder, Path("a")) << "where the file was taken";
  EXPECT_FALSE(Run([&] { List()->SetPath(Path("c")); }));
  Run([&] { Folder = List()->Path(); });
  EXPECT_EQ(Folder, Path("c")) << "where the cancelled run was left";
  ASSERT_EQ(rmdir(Path("c").c_str()), 0);
  Run([&] { Folder = List()->Path(); });
  EXPECT_EQ(Folder, Path("home"));
}

// Open mode with CheckFileExists: the typed name is completed and must exist.
TEST_F(OpenDialogTest, TypedNamesInOpenMode) {
  MakeFile("clip.avi");
  MakeFile("x.bmp");
  struct TCase {
    const char* Filter;
    const char* DefaultExt;
    const char* Typed;
    const char* Accepted;  // null: the dialog stays open
  };
  const TCase Cases[] = {
      {"All|*.*", "avi", "clip", "clip.avi"},  {"All|*.*", "mp4", "clip", nullptr},
      {"Pic|*.bmp;*.jpg", "", "x", "x.bmp"},   {"Pic|*.jpg;*.bmp", "", "x", nullptr},
      {"All|*.*", "", "clip.avi", "clip.avi"}, {"All|*.*", "", "nothing.avi", nullptr},
      {"All|*.*", "", "*.avi", nullptr},
  };
  for (const TCase& C : Cases) {
    Dlg->SetFilter(C.Filter);
    Dlg->SetDefaultExt(C.DefaultExt);
    Dlg->SetFileName("");
    bool StayedOpen = false;
    const bool R = Run([&] {
      Type(C.Typed);
      ClickOpen();
      StayedOpen = StillOpen();
    });
    EXPECT_EQ(R, C.Accepted != nullptr) << C.Typed << " " << C.Filter;
    EXPECT_EQ(StayedOpen, C.Accepted == nullptr);
    if (C.Accepted) {
      EXPECT_EQ(Dlg->FileName(), Path(C.Accepted));
    }
  }
}

TEST_F(OpenDialogTest, WithoutCheckFileExistsATypedNameIsTakenAsItStands) {
  Dlg->SetCheckFileExists(false);
  Dlg->SetDefaultExt("avi");
  EXPECT_TRUE(Run([&] {
    Type("new");
    ClickOpen();
  }));
  EXPECT_EQ(Dlg->FileName(), Path("new.avi"));
}

TEST_F(OpenDialogTest, AnEmptyEditDoesNothingEvenWithAFileSelected) {
  MakeFile("a.avi");
  bool StayedOpen = false;
  EXPECT_FALSE(Run([&] {
    Select("a.avi");
    Type("");
    ClickOpen();
    StayedOpen = StillOpen();
  }));
  EXPECT_TRUE(StayedOpen);
}

TEST_F(OpenDialogTest, MultiSelectionGivesTheSelectedFilesOnly) {
  MakeFile("one.avi");
  MakeFile("two.avi");
  MakeFile("three.avi");
  MakeDir("folder");
  Dlg->SetMultiSelection(true);
  EXPECT_TRUE(Run([&] {
    for (const char* N : {"two.avi", "folder", "one.avi"})
      List()->Items()->Item(IndexOf(N))->SetSelected(true);
    ClickOpen();
  }));
  ASSERT_EQ(Dlg->Files()->Count(), 2);
  EXPECT_EQ(Dlg->Files()->Strings(0), Path("one.avi"));
  EXPECT_EQ(Dlg->Files()->Strings(1), Path("two.avi"));

  // Nothing selected and an existing name typed: the name, no files.
  EXPECT_TRUE(Run([&] {
    List()->ClearSelection();
    Type("three.avi");
    ClickOpen();
  }));
  EXPECT_EQ(Dlg->FileName(), Path("three.avi"));
  EXPECT_EQ(Dlg->Files()->Count(), 0);
}

// A save dialog as descendants make it.
class TSaveDialog : public TbsSkinOpenDialog {
 public:
  explicit TSaveDialog(TComponent* AOwner) : TbsSkinOpenDialog(AOwner) { FSaveMode = true; }
};

TEST_F(OpenDialogTest, SaveModeAsksBeforeOverwritingAndTheAnswerDecides) {
  MakeFile("report.txt");
  Dlg = std::make_unique<TSaveDialog>(nullptr);
  Dlg->SetInitialDir(Dir);
  Dlg->SetFilter("Text|*.txt");
  Dlg->SetOverwritePromt(true);
  for (const char* Answer : {"Cancel", "OK"}) {
    String Asked;
    bool StayedOpen = false;
    const bool R = Run([&] {
      Type("report");
      Asked = BoxTextOf([&] { ClickOpen(); }, String(Answer) == "OK" ? VK_RETURN : VK_ESCAPE);
      StayedOpen = StillOpen();
    });
    EXPECT_EQ(Asked, "Warning: Do you want to overwrite old file?") << Answer;
    EXPECT_EQ(StayedOpen, String(Answer) == "Cancel");
    EXPECT_EQ(R, String(Answer) == "OK");
  }
  EXPECT_EQ(Dlg->FileName(), Path("report.txt"));

  // A new name is not asked about and takes the filter's extension.
  String Asked = "none";
  EXPECT_TRUE(Run([&] {
    Type("fresh");
    Asked = BoxTextOf([&] { ClickOpen(); });
  }));
  EXPECT_EQ(Asked, "");
  EXPECT_EQ(Dlg->FileName(), Path("fresh.txt"));
}

TEST_F(OpenDialogTest, SaveModeNamesTakeTheDefaultExtensionAndRefuseWildcards) {
  Dlg = std::make_unique<TSaveDialog>(nullptr);
  Dlg->SetInitialDir(Dir);
  Dlg->SetDefaultExt("mp4");
  EXPECT_TRUE(Run([&] {
    Type("movie");
    ClickOpen();
  }));
  EXPECT_EQ(Dlg->FileName(), Path("movie.mp4")) << "the mask *.* gives no extension, DefaultExt does";
  bool StayedOpen = false;
  Run([&] {
    Type("*.mp4");
    ClickOpen();
    StayedOpen = StillOpen();
  });
  EXPECT_TRUE(StayedOpen);
}

TEST_F(OpenDialogTest, SaveModeFilterChoiceReplacesOnlyTheTrailingExtension) {
  Dlg = std::make_unique<TSaveDialog>(nullptr);
  Dlg->SetInitialDir(Dir);
  Dlg->SetFilter("BMP|*.bmp|JPEG|*.jpg|All|*.*");
  std::vector<String> Shown;
  Run([&] {
    for (const char* Typed : {"clip.bmp", "a.bmp.x.bmp", "plain"}) {
      Type(Typed);
      Form()->FilterComboBox->SetItemIndex(1);
      Shown.push_back(Form()->FileNameEdit->Text());
      Form()->FilterComboBox->SetItemIndex(2);
      Shown.push_back(Form()->FileNameEdit->Text());
      Form()->FilterComboBox->SetItemIndex(0);
    }
  });
  EXPECT_EQ(Shown, (std::vector<String>{"clip.jpg", "clip.jpg", "a.bmp.x.jpg", "a.bmp.x.jpg", "plain.jpg",
                                        "plain.jpg"}));
}

TEST_F(OpenDialogTest, EnterAndEscapeInTheEdit) {
  MakeFile("clip.avi");
  MakeDir("sub");
  MakeFile("sub/inner.avi");
  // Enter on a typed wildcard filters, on a typed folder opens it, on a name accepts.
  String Mask, Folder;
  EXPECT_TRUE(Run([&] {
    auto Enter = [&] {
      char32_t Key = 13;
      Form()->EditKeyPress(Form()->FileNameEdit, Key);
    };
    Type("*.avi");
    Enter();
    Mask = List()->Mask();
    Type("sub/");
    Enter();
    Folder = List()->Path();
    // A full name of a file elsewhere is taken as it stands.
    Type(Path("clip.avi"));
    Enter();
  }));
  EXPECT_EQ(Mask, "*.avi");
  EXPECT_EQ(Folder, Path("sub"));
  EXPECT_EQ(Dlg->FileName(), Path("clip.avi"));
  Dlg->SetFileName("");

  // Keys as a person presses them, the focus on the edit from the start: Enter accepts the typed name;
  // Escape reaches the cancel button.
  bool EditFocused = false;
  EXPECT_TRUE(Run([&] {
    EditFocused = Form()->FileNameEdit->Focused();
    Type("clip.avi");
    wintest::KeyPress(VK_RETURN, 13);
    WinProcessMessages();
  }));
  EXPECT_EQ(Dlg->FileName(), Path("clip.avi"));
  TModalResult Result = mrNone;
  EXPECT_TRUE(EditFocused) << "the edit has the keyboard focus when the dialog opens";
  EXPECT_FALSE(Run([&] {
    wintest::KeyPress(VK_ESCAPE);
    WinProcessMessages();
    Result = Form()->ModalResult();
  }));
  EXPECT_EQ(Result, mrCancel);
}

TEST_F(OpenDialogTest, TypedNamesTheFileSystemCannotTakeAreExplained) {
  MakeDir("sub");
  MakeFile("sub/in.avi");
  struct TCase {
    String Typed;
    String Said;
  };
  const String Long(300, 'n');
  const TCase Cases[] = {
      {"missing/clip.avi", "Error: The folder \"" + Path("missing") + "\" does not exist."},
      {Path("gone/clip.avi"), "Error: The folder \"" + Path("gone") + "\" does not exist."},
      {Long + ".avi", "Error: The file name \"" + Long + ".avi\" is not valid."},
  };
  for (const char* Mode : {"open", "save"}) {
    if (String(Mode) == "save") {
      Dlg = std::make_unique<TSaveDialog>(nullptr);
      Dlg->SetInitialDir(Dir);
    }
    for (const TCase& C : Cases) {
      String Said;
      bool StayedOpen = false;
      Run([&] {
        Type(C.Typed);
        Said = BoxTextOf([&] { ClickOpen(); });
        StayedOpen = StillOpen();
        EXPECT_EQ(Form()->FileNameEdit->Text(), C.Typed) << "the typed text is kept";
      });
      EXPECT_EQ(Said, C.Said) << Mode;
      EXPECT_TRUE(StayedOpen);
    }
  }
  // A full path to an existing file is that file, never one inside the current folder.
  Dlg = std::make_unique<TbsSkinOpenDialog>(nullptr);
  Dlg->SetInitialDir(Dir);
  EXPECT_TRUE(Run([&] {
    List()->SetPath(Path("sub"));
    Type(Path("sub/in.avi"));
    ClickOpen();
  }));
  EXPECT_EQ(Dlg->FileName(), Path("sub/in.avi"));
}

TEST_F(OpenDialogTest, AFolderThatCannotBeReadIsSaidAndLeft) {
  MakeDir("locked");
  MakeDir("open");
  TbsOpenDlgForm::CanReadFolder = [this](const String& P) { return P != Path("locked"); };
  String Said, After, Back;
  Run([&] {
    Said = BoxTextOf([&] { List()->SetPath(Path("locked")); });
    After = List()->Path();
    List()->SetPath(Path("open"));
    Form()->BackToolButtonClick(nullptr);
    Back = List()->Path();
  });
  EXPECT_EQ(Said, "Error: Access to the folder \"" + Path("locked") + "\" is denied.");
  EXPECT_EQ(After, Dir);
  EXPECT_EQ(Back, Dir) << "the refused folder is not in the history";
}

TEST_F(OpenDialogTest, BackGoesThroughTheHistoryAsVisited) {
  for (const char* D : {"A", "B", "C", "D"}) MakeDir(D);
  std::vector<String> Seen;
  Run([&] {
    auto Go = [&](const char* D) { List()->SetPath(Path(D)); };
    auto Back = [&] {
      Form()->BackToolButtonClick(nullptr);
      Seen.push_back(ExtractFileName(List()->Path()));
    };
    Back();  // one entry only: nothing happens
    Go("A");
    Go("B");
    Go("C");
    Back();
    Go("D");
    Back();
    Back();
    Back();
    Back();
  });
  const String Start = ExtractFileName(Dir);
  EXPECT_EQ(Seen, (std::vector<String>{Start, "B", "C", "A", Start, Start}));
}

TEST_F(OpenDialogTest, UpAndTheFolderBoxMoveTheList) {
  MakeDir("inner");
  MakeDir("inner/deep");
  Dlg->SetInitialDir(Path("inner/deep"));
  String Shown, ShownPath, Up, Followed, Chosen;
  Integer ShownIndent = -1;
  Run([&] {
    TbsSkinShellComboBox* Box = Form()->ShellBox;
    ASSERT_EQ(Box->ShellListView(), List());
    ASSERT_EQ(List()->ShellComboBox(), Box);
    Shown = Box->Items()->Strings(Box->ItemIndex());
    ShownPath = Box->Path();
    ShownIndent = Box->ItemsEx()->Items(Box->ItemIndex())->Indent;
    Form()->UpToolButtonClick(nullptr);
    Up = List()->Path();
    Followed = Box->Path();
    // Choosing the entry above the list's folder in the outline moves the list there.
    Box->SetItemIndex(Box->ItemIndex() - 1);
    Chosen = List()->Path();
  });
  Integer Depth = 0;
  for (char C : Path("inner/deep")) Depth += C == '/';
  EXPECT_EQ(Shown, "deep");
  EXPECT_EQ(ShownPath, Path("inner/deep"));
  EXPECT_EQ(ShownIndent, Depth + 1) << "the desktop, the file system root and each folder down to the list's";
  EXPECT_EQ(Up, Path("inner"));
  EXPECT_EQ(Followed, Path("inner")) << "the box follows the list";
  EXPECT_EQ(Chosen, Dir);
}

TEST_F(OpenDialogTest, NewFolderIsNumberedAndRenamedInPlace) {
  std::vector<String> Renamed, EditShown;
  std::vector<bool> Editing;
  Run([&] {
    for (int I = 0; I < 2; ++I) {
      Form()->NewFolderToolButtonClick(nullptr);
      Renamed.push_back(List()->Selected() ? List()->Selected()->Caption() : "");
      Editing.push_back(List()->IsEditing());
      auto* Edit = dynamic_cast<TCustomEdit*>(Screen->ActiveControl());
      EditShown.push_back(Edit != nullptr && Edit->Parent() == List() ? Edit->Text() : "");
      // The first rename is given up with Escape; the second is done as a person does: type over the
      // name, press Enter.
      if (Edit == nullptr) continue;
      if (I == 1) Edit->SetSelText("片段");
      dialogstest::Press(I == 1 ? VK_RETURN : VK_ESCAPE);
      WinRunDeferredActions();
    }
  });
  EXPECT_EQ(Renamed, (std::vector<String>{"New Folder", "New Folder(2)"}));
  EXPECT_EQ(Editing, (std::vector<bool>{true, true})) << "each new folder starts its rename";
  EXPECT_EQ(EditShown, (std::vector<String>{"New Folder", "New Folder(2)"}));
  EXPECT_TRUE(DirectoryExists(Path("New Folder"))) << "the rename given up keeps the name";
  EXPECT_FALSE(DirectoryExists(Path("New Folder(2)")));
  EXPECT_TRUE(DirectoryExists(Path("片段"))) << "the typed name renames the folder on disk";
}

TEST_F(OpenDialogTest, NewFolderDoesNothingInAVirtualFolder) {
  Integer Count = -1;
  String Shown;
  Run([&] {
    // Up from the root reaches the desktop, which is no folder on disk.
    List()->SetPath("/");
    Form()->UpToolButtonClick(nullptr);
    Form()->NewFolderToolButtonClick(nullptr);
    Count = Form()->NewFolderCount;
    TbsSkinShellComboBox* Box = Form()->ShellBox;
    Shown = Box->ItemIndex() >= 0 ? Box->Items()->Strings(Box->ItemIndex()) : "";
  });
  EXPECT_EQ(Count, 0);
  EXPECT_FALSE(Shown.empty()) << "the folder box names the virtual folder";
}

TEST_F(OpenDialogTest, NewFolderFailuresAreReportedAndTheDialogStays) {
  MakeDir("New Folder(2)");
  // A table whose folder name the file system cannot take is said, never created.
  UseStringTable({"MSG_NEWFOLDER=a/b"});
  Dlg->SetCtrlSkinData(Skin.get());
  String Said;
  std::vector<String> Reported;
  Application->OnException = [&](TObject*, const Exception& E) { Reported.push_back(E.Message()); };
  bool StayedOpen = false;
  Run([&] {
    Said = BoxTextOf([&] { Form()->NewFolderToolButtonClick(nullptr); });
    StayedOpen = StillOpen();
  });
  EXPECT_EQ(Said, ": The file name \"a/b\" is not valid.");
  EXPECT_TRUE(StayedOpen);
  EXPECT_FALSE(DirectoryExists(Path("a")));

  // A folder gone from under the list: the failure goes to the application's error reporting.
  UseStringTable({"MSG_NEWFOLDER=Fresh"});
  MakeDir("doomed");
  Dlg->SetInitialDir(Path("doomed"));
  Run([&] {
    ASSERT_EQ(rmdir(Path("doomed").c_str()), 0);
    wintest::Click(wintest::ScreenPoint(Form()->NewFolderToolButton->Parent()->Handle(),
                                        Form()->NewFolderToolButton->Left() + 5, 5));
    WinProcessMessages();
    StayedOpen = StillOpen();
  });
  ASSERT_EQ(Reported.size(), 1u);
  EXPECT_NE(Reported[0].find(Path("doomed/Fresh")), String::npos) << Reported[0];
  EXPECT_TRUE(StayedOpen);
}

TEST_F(OpenDialogTest, TheComponentsSettingsReachTheForm) {
  MakeFile(".hidden.avi");
  Dlg->SetSkinData(Skin.get());
  Dlg->SetCtrlSkinData(Skin.get());
  Dlg->SetTitle("打开文件");
  Dlg->SetDialogMinWidth(480);
  Dlg->SetDialogMinHeight(300);
  Dlg->SetAlphaBlend(true);
  Dlg->SetAlphaBlendValue(180);
  Dlg->SetCtrlAlphaBlend(true);
  Dlg->SetCtrlAlphaBlendValue(150);
  Dlg->SetShowHiddenFiles(true);
  Dlg->SetLVHeaderSkinDataName("resizebutton");
  Dlg->DefaultFont()->SetHeight(14);
  struct TSeen {
    String Caption;
    Integer MinWidth = 0, MinHeight = 0;
    bool Alpha = false, MenusAlpha = false, BoxAlpha = false;
    Integer AlphaValue = 0, MenusAlphaValue = 0, BoxAlphaValue = 0;
    bool HiddenListed = false;
    String Header, UpElement, ShellElement;
    Integer ButtonFontHeight = 0;
    TbsSkinData* MenusSkin = nullptr;
    String Edit;
  } Seen;
  Run([&] {
    TbsOpenDlgForm* F = Form();
    Seen.Caption = F->Caption();
    Seen.MinWidth = F->BSF->MinWidth();
    Seen.MinHeight = F->BSF->MinHeight();
    Seen.Alpha = F->BSF->AlphaBlend();
    Seen.AlphaValue = F->BSF->AlphaBlendValue();
    Seen.MenusAlpha = F->BSF->MenusAlphaBlend();
    Seen.MenusAlphaValue = F->BSF->MenusAlphaBlendValue();
    Seen.BoxAlpha = F->FilterComboBox->AlphaBlend() && F->ShellBox->AlphaBlend();
    Seen.BoxAlphaValue = F->ShellBox->AlphaBlendValue();
    Seen.HiddenListed = IndexOf(".hidden.avi") >= 0;
    Seen.Header = List()->HeaderSkinDataName();
    Seen.UpElement = F->UpToolButton->SkinDataName();
    Seen.ShellElement = F->ShellBox->SkinDataName();
    Seen.ButtonFontHeight = F->OpenButton->DefaultFont()->Height();
    Seen.MenusSkin = F->BSF->MenusSkinData();
    Dlg->SetFileName("written.avi");
    Seen.Edit = F->FileNameEdit->Text();
    F->SetModalResult(mrCancel);
  });
  EXPECT_EQ(Seen.Caption, "打开文件");
  EXPECT_EQ(Seen.MinWidth, 480);
  EXPECT_EQ(Seen.MinHeight, 300);
  EXPECT_TRUE(Seen.Alpha);
  EXPECT_EQ(Seen.AlphaValue, 180);
  EXPECT_TRUE(Seen.MenusAlpha);
  EXPECT_EQ(Seen.MenusAlphaValue, 150);
  EXPECT_TRUE(Seen.BoxAlpha);
  EXPECT_EQ(Seen.BoxAlphaValue, 150);
  EXPECT_TRUE(Seen.HiddenListed);
  EXPECT_EQ(Seen.Header, "resizebutton");
  EXPECT_EQ(Seen.UpElement, "resizetoolbutton") << "the generated skin has the element";
  EXPECT_EQ(Seen.ShellElement, "combobox");
  EXPECT_EQ(Seen.ButtonFontHeight, 14);
  EXPECT_EQ(Seen.MenusSkin, Skin.get());
  EXPECT_EQ(Seen.Edit, "written.avi") << "the file name is written through into the open form";
}

TEST_F(OpenDialogTest, DoubleClickAndEnterInTheListTakeTheSelectedFile) {
  MakeFile("a.avi");
  MakeDir("sub");
  // A folder is the list's to open, never an answer; a file is taken.
  bool OpenAfterFolder = false;
  EXPECT_TRUE(Run([&] {
    Select("sub");
    Form()->FLVDBLClick(List());
    OpenAfterFolder = StillOpen();
    Select("a.avi");
    Form()->FLVDBLClick(List());
  }));
  EXPECT_TRUE(OpenAfterFolder);
  EXPECT_EQ(Dlg->FileName(), Path("a.avi"));
  EXPECT_TRUE(Run([&] {
    Select("a.avi");
    char32_t Key = 13;
    Form()->FLVKeyPress(List(), Key);
  }));

  // Save mode with the question: a double-clicked file is asked about first.
  Dlg = std::make_unique<TSaveDialog>(nullptr);
  Dlg->SetInitialDir(Dir);
  Dlg->SetOverwritePromt(true);
  String Asked;
  bool StayedOpen = false;
  EXPECT_FALSE(Run([&] {
    Select("a.avi");
    Asked = BoxTextOf([&] { Form()->FLVDBLClick(List()); }, VK_ESCAPE);
    StayedOpen = StillOpen();
  }));
  EXPECT_EQ(Asked, "Warning: Do you want to overwrite old file?");
  EXPECT_TRUE(StayedOpen);
}

TEST_F(OpenDialogTest, ViewMenuChecksOneItemAndSetsTheStyle) {
  std::vector<Integer> Styles;
  Run([&] {
    Form()->IconItemClick(nullptr);
    Styles.push_back(List()->ViewStyle());
    EXPECT_TRUE(Form()->IconMenuItem->Checked());
    Form()->SmallIconItemClick(nullptr);
    Styles.push_back(List()->ViewStyle());
    EXPECT_FALSE(Form()->IconMenuItem->Checked());
    EXPECT_TRUE(Form()->SmallIconMenuItem->Checked());
  });
  EXPECT_EQ(Styles, (std::vector<Integer>{vsIcon, vsSmallIcon}));
  EXPECT_EQ(Dlg->ListViewStyle, vsSmallIcon);
}

// A dialog whose set-up fails after the form was built.
class TFailingDialog : public TbsSkinOpenDialog {
 public:
  using TbsSkinOpenDialog::TbsSkinOpenDialog;

 protected:
  void AfterClientSize() override { throw EInvalidOperation("no room"); }
};

TEST_F(OpenDialogTest, AnExceptionInsideStillClosesAndFreesTheForm) {
  TFailingDialog D(nullptr);
  bool ClosedWithForm = false;
  D.OnClose = [&](TObject*) { ClosedWithForm = D.DlgFrm() != nullptr; };
  const Integer Before = Application->ComponentCount();
  EXPECT_THROW(D.Execute(), EInvalidOperation);
  EXPECT_TRUE(ClosedWithForm);
  EXPECT_EQ(D.DlgFrm(), nullptr);
  EXPECT_EQ(Application->ComponentCount(), Before) << "the form is freed";
}

TEST_F(OpenDialogTest, AWorkersQueuedCallIsDeliveredWhileTheDialogIsOpen) {
  std::thread Worker;
  bool DeliveredInside = false;
  wintest::OnNextModalLoop([&] {
    Worker = std::thread([&] {
      TThread::Queue(nullptr, [&] {
        DeliveredInside = Form() != nullptr;
        Form()->CancelButton->ButtonClick();
      });
    });
  });
  bool Accepted = true;
  try {
    Accepted = Dlg->Execute();
  } catch (const Exception& E) {
    ADD_FAILURE() << E.Message();
  }
  if (Worker.joinable()) Worker.join();
  EXPECT_FALSE(Accepted);
  EXPECT_TRUE(DeliveredInside);
}

}  // namespace
