#include "skin/dialogs/bsskinselectdirectorydialog.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/ui/comctrls/treeview.h"
#include "platform/ui/core/application.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskinspeedbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinsplitter.h"
#include "skin/core/bspngimagelist.h"
#include "skin/core/bsskindata.h"
#include "skin/dialogs/bsdialogtoolpictures.h"
#include "skin/dialogs/bsskinmessage.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/shell/bsshelltreeview.h"
#include "skin/shell/bsskinfilepaths.h"

namespace {

constexpr const char* NewFolderHintKey = "MSG_BTN_NEWFOLDER_HINT";
constexpr const char* NewFolderHintFallback = "Create New Folder";
constexpr const char* NewFolderKey = "MSG_NEWFOLDER";
constexpr const char* NewFolderFallback = "New Folder";
constexpr const char* OpenFailedKey = "MSG_FOLDEROPENFAILED";
constexpr const char* OpenFailedFallback = "Cannot open the folder \"%s\":\n%s";
constexpr const char* UnreadableKey = "MSG_FOLDERUNREADABLE";
constexpr const char* UnreadableFallback = "the folder \"%s\" cannot be read (%s).";

constexpr Integer DefaultClientSize = 280;

// Whether two paths name the same folder on disk.
bool SameFolder(const String& A, const String& B) {
  struct stat Sa {
  }, Sb{};
  return stat(A.c_str(), &Sa) == 0 && stat(B.c_str(), &Sb) == 0 && Sa.st_dev == Sb.st_dev &&
         Sa.st_ino == Sb.st_ino;
}

// The first folder on the way down to Full (Full included) that cannot be listed, with the reason;
// false when every one can.
bool UnreadableOnTheWay(const String& Full, String& Folder, String& Reason) {
  size_t From = 1;
  while (true) {
    const size_t Slash = Full.find('/', From);
    const String Step = Slash == String::npos ? Full : Full.substr(0, std::max<size_t>(Slash, 1));
    if (DIR* D = opendir(Step.c_str())) {
      closedir(D);
    } else {
      Folder = Step;
      Reason = std::strerror(errno);
      return true;
    }
    if (Slash == String::npos || Slash + 1 >= Full.size()) return false;
    From = Slash + 1;
  }
}

}  // namespace

String SelectDirectoryDialogText(TbsSkinData* ASkinData, const char* Key, const char* Fallback) {
  return SkinDialogText(ASkinData, Key, Fallback);
}

// ---- the form ----

TbsSelDirDlgForm::TbsSelDirDlgForm(TComponent* AOwner, TbsSkinData* ACtrlSkinData, bool AShowToolBar,
                                   bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList,
                                   Integer AToolButtonImageIndex, bool ATreeShowLines,
                                   TCustomImageList* ATreeButtonImageList,
                                   Integer ATreeButtonExpandImageIndex, Integer ATreeButtonNoExpandImageIndex)
    : TForm(AOwner), CtrlSD(ACtrlSkinData), ShowToolBar(AShowToolBar) {
  SetPosition(poScreenCenter);
  BSF = new TbsSkinForm(this);

  // The list is the form's own, freed with it (one per Execute otherwise piles up in the application).
  PngImgList = new TbsPngImageList(nullptr);
  AddNewFolderPicture(PngImgList);

  if (ShowToolBar) {
    ToolPanel = new TbsSkinToolBar(this);
    ToolPanel->SetName("ToolPanel");
    ToolPanel->SetParent(this);
    ToolPanel->SetAlign(alTop);
    ToolPanel->SetDefaultHeight(25);
    ToolPanel->SetBorderStyle(bvNone);
    ToolPanel->SetSkinDataName("toolpanel");
    ToolPanel->SetImages(AToolBarImageList != nullptr ? AToolBarImageList : PngImgList);

    NewFolderToolButton = new TbsSkinSpeedButton(this);
    NewFolderToolButton->SetName("NewFolderToolButton");
    NewFolderToolButton->SetParent(ToolPanel);
    NewFolderToolButton->SetDefaultHeight(25);
    NewFolderToolButton->SetDefaultWidth(27);
    NewFolderToolButton->SetSkinDataName("toolbutton");
    NewFolderToolButton->SetNumGlyphs(1);
    NewFolderToolButton->SetImageIndex(AToolBarImageList != nullptr ? AToolButtonImageIndex : 0);
    NewFolderToolButton->SetHint(SelectDirectoryDialogText(CtrlSD, NewFolderHintKey, NewFolderHintFallback));
    NewFolderToolButton->SetShowHint(true);
    NewFolderToolButton->SetFlat(AToolButtonsTransparent);
    NewFolderToolButton->OnClick = [this](TObject* Sender) { NewFolderToolButtonClick(Sender); };

    auto* Spacer = new TbsSkinBevel(this);
    Spacer->SetName("ToolSpacer");
    Spacer->SetParent(ToolPanel);
    Spacer->SetWidth(5);
    Spacer->SetAlign(alRight);
    Spacer->SetShape(bsSpacer);
    // The control aligned last stands outermost: the button at the right edge, the spacer left of it.
    NewFolderToolButton->SetAlign(alRight);

    DirEdit = new TbsSkinEdit(this);
    DirEdit->SetName("DirEdit");
    DirEdit->SetParent(ToolPanel);
    DirEdit->SetAlign(alClient);
    DirEdit->SetSkinDataName("edit");
    DirEdit->OnKeyPress = [this](TObject* Sender, char32_t& Key) { DirEditKeyPress(Sender, Key); };
  }

  DirTreeViewPanel = new TbsSkinPanel(this);
  DirTreeViewPanel->SetName("DirTreeViewPanel");
  DirTreeViewPanel->SetParent(this);
  DirTreeViewPanel->SetAlign(alClient);
  DirTreeViewPanel->SetBorderStyle(bvFrame);

  VScrollBar = new TbsSkinScrollBar(this);
  VScrollBar->SetName("VScrollBar");
  VScrollBar->SetParent(DirTreeViewPanel);
  VScrollBar->SetAlign(alRight);
  VScrollBar->SetDefaultWidth(19);
  VScrollBar->SetKind(sbVertical);
  VScrollBar->SetEnabled(false);
  VScrollBar->SetSkinDataName("vscrollbar");

  HScrollBar = new TbsSkinScrollBar(this);
  HScrollBar->SetName("HScrollBar");
  HScrollBar->SetParent(DirTreeViewPanel);
  HScrollBar->SetAlign(alBottom);
  HScrollBar->SetDefaultHeight(19);
  HScrollBar->SetBothMarkerWidth(19);
  HScrollBar->SetEnabled(false);
  HScrollBar->SetSkinDataName("hscrollbar");

  DirTreeView = new TbsSkinDirTreeView(this);
  DirTreeView->SetName("DirTreeView");
  DirTreeView->SetParent(DirTreeViewPanel);
  DirTreeView->SetAlign(alClient);
  DirTreeView->SetHScrollBar(HScrollBar);
  DirTreeView->SetVScrollBar(VScrollBar);
  TShellObjectTypes Types = DirTreeView->ObjectTypes();
  Types.Include(otHidden);
  DirTreeView->SetObjectTypes(Types);
  DirTreeView->SetHideSelection(false);
  DirTreeView->SetShowLines(ATreeShowLines);
  DirTreeView->SetButtonImageList(ATreeButtonImageList);
  DirTreeView->SetButtonExpandImageIndex(ATreeButtonExpandImageIndex);
  DirTreeView->SetButtonNoExpandImageIndex(ATreeButtonNoExpandImageIndex);
  DirTreeView->OnChange = [this](TObject* Sender, TTreeNode* Node) { DirTreeViewChange(Sender, Node); };

  BottomPanel = new TbsSkinPanel(this);
  BottomPanel->SetName("BottomPanel");
  BottomPanel->SetParent(this);
  BottomPanel->SetAlign(alBottom);
  BottomPanel->SetHeight(50);
  BottomPanel->SetBorderStyle(bvNone);

  OkButton = new TbsSkinButton(this);
  OkButton->SetName("OkButton");
  OkButton->SetParent(BottomPanel);
  OkButton->SetDefaultHeight(25);
  OkButton->SetBounds(20, 15, 70, 25);
  OkButton->SetCaption(GetMessageButtonCaption(mbOK, CtrlSD));
  OkButton->SetDefault(true);
  OkButton->SetCanFocused(true);
  OkButton->SetModalResult(mrOk);

  CancelButton = new TbsSkinButton(this);
  CancelButton->SetName("CancelButton");
  CancelButton->SetParent(BottomPanel);
  CancelButton->SetDefaultHeight(25);
  CancelButton->SetBounds(100, 15, 70, 25);
  CancelButton->SetCaption(GetMessageButtonCaption(mbCancel, CtrlSD));
  CancelButton->SetCanFocused(true);
  CancelButton->SetModalResult(mrCancel);
  CancelButton->SetCancel(true);
}

TbsSelDirDlgForm::~TbsSelDirDlgForm() {
  // The controls go first: the tool bar refers to the image list.
  DestroyComponents();
  delete PngImgList;
}

void TbsSelDirDlgForm::showError(const String& Text) {
  TbsSkinMessage Box(nullptr);
  Box.SetSkinData(BSF->SkinData());
  Box.SetCtrlSkinData(CtrlSD);
  Box.MessageDlg(Text, mtError, {mbOK}, 0);
}

void TbsSelDirDlgForm::DirTreeViewChange(TObject*, TTreeNode*) {
  if (ShowToolBar && DirEdit != nullptr) DirEdit->SetText(DirTreeView->Path());
}

void TbsSelDirDlgForm::DirEditKeyPress(TObject*, char32_t& Key) {
  if (Key != 13) return;
  const String Typed = DirEdit->Text();
  if (Typed.empty()) return;
  const String Before = DirTreeView->Path();
  String Full;
  try {
    Full = EnterablePath(Before.empty() || Before[0] != '/' ? String("/") : Before, Typed);
  } catch (const EInOutError& E) {
    FRefuseEnter = true;
    showError(Format(SkinDialogMessage(CtrlSD, OpenFailedKey, OpenFailedFallback), {Typed, E.Message()}));
    return;
  }
  String Blocked, Reason;
  bool Reached = false;
  try {
    DirTreeView->SetPath(Full);
    Reached = SameFolder(DirTreeView->Path(), Full);
  } catch (const Exception&) {
    Reached = false;
  }
  if (Reached) return;
  // The tree lists only what it can read: a folder on the way kept it from getting there.
  FRefuseEnter = true;
  try {
    if (!Before.empty())
      DirTreeView->SetPath(Before);
    else
      DirTreeView->ExpandMyComputer();
  } catch (const Exception&) {
    DirTreeView->ExpandMyComputer();
  }
  DirEdit->SetText(Typed);
  if (!UnreadableOnTheWay(Full, Blocked, Reason)) {
    Blocked = Full;
    Reason = std::strerror(EACCES);
  }
  const String Why = Format(SkinDialogMessage(CtrlSD, UnreadableKey, UnreadableFallback), {Blocked, Reason});
  showError(Format(SkinDialogMessage(CtrlSD, OpenFailedKey, OpenFailedFallback), {Typed, Why}));
}

void TbsSelDirDlgForm::CMDialogKey(TMessage& Message) {
  // Enter on a path the dialog could not open was answered already; it does not close the dialog.
  if (FRefuseEnter && Message.WParam == VK_RETURN) {
    FRefuseEnter = false;
    Message.Result = 1;
    return;
  }
  FRefuseEnter = false;
  TForm::CMDialogKey(Message);
}

void TbsSelDirDlgForm::NewFolderToolButtonClick(TObject*) {
  if (DirTreeView->Selected() == nullptr) return;
  const String Path = DirTreeView->Path();
  // Only a folder of the file system can take a new folder (not the desktop or another virtual item).
  if (Path.empty() || Path[0] != '/' || !IsFolder(Path)) return;
  const String Name = SelectDirectoryDialogText(CtrlSD, NewFolderKey, NewFolderFallback);
  const String N = JoinPath(Path, Name);
  if (IsFolder(N)) return;
  if (Name.empty() || Name.find('/') != String::npos || mkdir(N.c_str(), 0777) != 0) {
    const String Reason =
        Name.empty() || Name.find('/') != String::npos ? std::strerror(EINVAL) : std::strerror(errno);
    showError(Format(SkinDialogMessage(CtrlSD, FolderCreateFailedKey, FolderCreateFailedText), {N, Reason}));
    return;
  }
  DirTreeView->Refresh(DirTreeView->Selected());
}

// ---- the component ----

TbsSkinSelectDirectoryDialog::TbsSkinSelectDirectoryDialog(TComponent* AOwner)
    : TbsSkinDialogComponent(AOwner, "Select folder", 200) {}

TbsSkinSelectDirectoryDialog::~TbsSkinSelectDirectoryDialog() = default;

void TbsSkinSelectDirectoryDialog::SetToolBarImageList(TCustomImageList* Value) {
  refer(FToolBarImageList, Value);
}
void TbsSkinSelectDirectoryDialog::SetTreeButtonImageList(TCustomImageList* Value) {
  refer(FTreeButtonImageList, Value);
}

void TbsSkinSelectDirectoryDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinDialogComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FToolBarImageList) FToolBarImageList = nullptr;
  if (AComponent == FTreeButtonImageList) FTreeButtonImageList = nullptr;
}

void TbsSkinSelectDirectoryDialog::applySettings(TbsSelDirDlgForm* Form) {
  Form->SetCaption(FTitle);
  TbsSkinForm* Engine = Form->BSF;
  Engine->SetBorderIcons({});
  Engine->SetSkinData(FSD);
  Engine->SetMenusSkinData(FCtrlFSD);
  Engine->SetMinWidth(FDialogMinWidth);
  Engine->SetMinHeight(FDialogMinHeight);
  Engine->SetAlphaBlend(FAlphaBlend);
  Engine->SetAlphaBlendAnimation(FAlphaBlendAnimation);
  Engine->SetAlphaBlendValue(FAlphaBlendValue);

  Form->DirTreeViewPanel->SetSkinData(FCtrlFSD);
  TbsSkinDirTreeView* Tree = Form->DirTreeView;
  Tree->SetDefaultFont(FDefaultFont.get());
  Tree->SetSkinData(FCtrlFSD);
  if (FCtrlFSD != nullptr) {
    Tree->SetDrawSkin(FCtrlFSD->DlgTreeViewDrawSkin());
    Tree->SetItemSkinDataName(FCtrlFSD->DlgTreeViewItemSkinDataName());
  }
}

void TbsSkinSelectDirectoryDialog::chooseStartFolder(TbsSelDirDlgForm* Form) {
  TbsSkinDirTreeView* Tree = Form->DirTreeView;
  // The tree reads the namespace once its window exists.
  Tree->HandleNeeded();
  const String Given = FDirectoryFromCaller ? FDirectory : String();
  for (const String& Folder : {Given, FLastFolder, GetHomeDir()}) {
    if (Folder.empty() || !IsFolder(Folder)) continue;
    try {
      Tree->SetPath(Folder);
    } catch (const Exception&) {
      // A folder the shell cannot name is passed over like a missing one.
    }
    if (Tree->Selected() != nullptr && SameFolder(Tree->Path(), Folder)) return;
  }
  Tree->ExpandMyComputer();
}

void TbsSkinSelectDirectoryDialog::applyClientSize(TbsSelDirDlgForm* Form) {
  Integer W = FDialogWidth >= 1 ? FDialogWidth : DefaultClientSize;
  Integer H = FDialogHeight >= 1 ? FDialogHeight : DefaultClientSize;
  if (FSD != nullptr && !FSD->Empty) {
    W = std::max(W, Form->BSF->GetMinWidth());
    H = std::max(H, Form->BSF->GetMinHeight());
  }
  Form->SetClientWidth(W);
  Form->SetClientHeight(H);
}

bool TbsSkinSelectDirectoryDialog::Execute() {
  if (OnShow) OnShow(this);
  std::unique_ptr<TbsSelDirDlgForm> Form(new TbsSelDirDlgForm(
      Application, FCtrlFSD, FShowToolBar, FToolButtonsTransparent, FToolBarImageList, FToolButtonImageIndex,
      FTreeShowLines, FTreeButtonImageList, FTreeButtonExpandImageIndex, FTreeButtonNoExpandImageIndex));
  FDlgFrm = Form.get();
  // However Execute ends: OnClose, then the form goes (also when OnClose raises).
  auto finish = [&] {
    std::unique_ptr<TbsSelDirDlgForm> Going = std::move(Form);
    struct TClear {
      TbsSelDirDlgForm*& Field;
      ~TClear() { Field = nullptr; }
    } Clear{FDlgFrm};
    if (OnClose) OnClose(this);
  };
  bool R = false;
  try {
    R = showForm(Form.get());
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return R;
}

bool TbsSkinSelectDirectoryDialog::showForm(TbsSelDirDlgForm* Form) {
  applySettings(Form);
  chooseStartFolder(Form);
  Form->VScrollBar->SetSkinData(FCtrlFSD);
  Form->HScrollBar->SetSkinData(FCtrlFSD);
  Form->OkButton->SetSkinData(FCtrlFSD);
  Form->CancelButton->SetSkinData(FCtrlFSD);
  Form->BottomPanel->SetSkinData(FCtrlFSD);
  Form->OkButton->SetDefaultFont(FDefaultFont.get());
  Form->CancelButton->SetDefaultFont(FDefaultFont.get());
  if (Form->ShowToolBar) {
    Form->ToolPanel->SetSkinData(FCtrlFSD);
    Form->NewFolderToolButton->SetSkinData(FCtrlFSD);
    Form->DirEdit->SetSkinData(FCtrlFSD);
  }
  applyClientSize(Form);
  Form->SetActiveControl(Form->DirTreeView);

  const bool R = Form->ShowModal() == mrOk;
  FDialogWidth = Form->ClientWidth();
  FDialogHeight = Form->ClientHeight();
  if (const String Shown = Form->DirTreeView->Path(); IsFolder(Shown)) FLastFolder = Shown;
  if (R) {
    FDirectory = Form->DirTreeView->Path();
    FDirectoryFromCaller = false;
    if (OnChange) OnChange(this);
  }
  return R;
}
