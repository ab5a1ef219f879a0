#include "skin/dialogs/bsskinopendialog.h"

#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/rtl/convert.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"
#include "platform/ui/core/application.h"
#include "platform/ui/menus/menuitem.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/buttons/bsskinspeedbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinsplitter.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/core/bspngimagelist.h"
#include "skin/core/bsskindata.h"
#include "skin/dialogs/bsdialogtoolpictures.h"
#include "skin/dialogs/bsskinmessage.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/menus/bsskinmenu.h"
#include "skin/shell/bsshelllistview.h"
#include "skin/shell/bsshellviewparts.h"
#include "skin/shell/bsskinfiltercombobox.h"

namespace {

constexpr char32_t EnterKey = 13;
constexpr const char* BadFileNameText = "The file name \"%s\" is not valid.";

bool HasText(const String& S, const char* Part) {
  return S.find(Part) != String::npos;
}

// A folder the dialog can list: it can be read and entered.
bool FolderReadable(const String& Path) {
  if (TbsOpenDlgForm::CanReadFolder) return TbsOpenDlgForm::CanReadFolder(Path);
  return access(Path.c_str(), R_OK | X_OK) == 0;
}

}  // namespace

// The dialog's own error texts: never empty, so that an older table never gives an empty box.
static String ErrorText(TbsSkinData* CtrlSkinData, const char* Key, const char* Fallback) {
  return SkinDialogMessage(CtrlSkinData, Key, Fallback);
}

String OpenDlgText(TbsSkinData* CtrlSkinData, const char* Key, const char* Fallback) {
  return SkinDialogText(CtrlSkinData, Key, Fallback);
}

String FilterMaskExtension(const String& Mask) {
  if (HasText(Mask, ".*")) return String();
  const size_t Semicolon = Mask.find(';');
  return ExtractFileExt(Semicolon == String::npos ? Mask : Mask.substr(0, Semicolon));
}

// ---- the form ----

TbsOpenDlgForm::TbsOpenDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                               bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList)
    : TForm(AOwner), SaveMode(ASaveMode), CtrlSD(ACtrlSkinData) {
  SetPosition(poScreenCenter);
  SetBorderStyle(bsSizeable);
  SetClientWidth(450);
  SetClientHeight(290);
  BSF = new TbsSkinForm(this);
  BSF->SetBorderIcons({});
  // The form owns its pictures: an image list left with the application would pile up per dialog.
  PngImgList = new TbsPngImageList(this);
  AddOpenDlgToolImages(PngImgList, false);
  buildViewMenu();
  buildToolBar(AToolButtonsTransparent, AToolBarImageList);
  buildBottomPanel();
  buildListPanel();
  SetActiveControl(FileNameEdit);
}

TbsOpenDlgForm::~TbsOpenDlgForm() {
  for (PItemIDList ID : FolderHistory) FreeItemIDList(ID);
  FolderHistory.clear();
}

void TbsOpenDlgForm::buildViewMenu() {
  StylePopupMenu = new TbsSkinPopupMenu(this);
  StylePopupMenu->SetName("StylePopupMenu");
  struct TItem {
    TMenuItem** Field;
    const char* Name;
    const char* Key;
    const char* Fallback;
    void (TbsOpenDlgForm::*Handler)(TObject*);
  };
  const TItem Items[] = {
      {&IconMenuItem, "IconMenuItem", "MSG_LV_ICON", "Large icons", &TbsOpenDlgForm::IconItemClick},
      {&SmallIconMenuItem, "SmallIconMenuItem", "MSG_LV_SMALLICON", "Small icons",
       &TbsOpenDlgForm::SmallIconItemClick},
      {&ListMenuItem, "ListMenuItem", "MSG_LV_LIST", "List", &TbsOpenDlgForm::ListItemClick},
      {&ReportMenuItem, "ReportMenuItem", "MSG_LV_DETAILS", "Details", &TbsOpenDlgForm::ReportItemClick},
  };
  for (const TItem& I : Items) {
    auto* M = new TMenuItem(this);
    M->SetName(I.Name);
    M->SetCaption(OpenDlgText(CtrlSD, I.Key, I.Fallback));
    M->SetRadioItem(true);
    const auto Handler = I.Handler;
    M->OnClick = [this, Handler](TObject* Sender) { (this->*Handler)(Sender); };
    StylePopupMenu->Items()->Add(M);
    *I.Field = M;
  }
}

TbsSkinSpeedButton* TbsOpenDlgForm::newToolButton(const String& Name, Integer ImageIndex, const char* HintKey,
                                                  const char* HintFallback, bool Flat) {
  auto* B = new TbsSkinSpeedButton(this);
  B->SetName(Name);
  B->SetDefaultWidth(27);
  B->SetDefaultHeight(25);
  B->SetSkinDataName("toolbutton");
  B->SetNumGlyphs(1);
  B->SetImageIndex(ImageIndex);
  B->SetHint(OpenDlgText(CtrlSD, HintKey, HintFallback));
  B->SetShowHint(true);
  B->SetFlat(Flat);
  // Each new button lands right of the earlier ones.
  B->SetLeft(10000);
  B->SetAlign(alRight);
  B->SetParent(ToolPanel);
  return B;
}

void TbsOpenDlgForm::buildToolBar(bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList) {
  ToolPanel = new TbsSkinToolBar(this);
  ToolPanel->SetName("ToolPanel");
  ToolPanel->SetDefaultHeight(25);
  ToolPanel->SetBorderStyle(bvNone);
  ToolPanel->SetSkinDataName("toolpanel");
  ToolPanel->SetImages(AToolBarImageList != nullptr ? AToolBarImageList : PngImgList);
  ToolPanel->SetAlign(alTop);
  ToolPanel->SetParent(this);

  // The spacer goes in first: the control placed last takes the left edge.
  auto* LeftSpacer = new TbsSkinBevel(this);
  LeftSpacer->SetShape(bsSpacer);
  LeftSpacer->SetWidth(10);
  LeftSpacer->SetAlign(alLeft);
  LeftSpacer->SetParent(ToolPanel);
  Drivelabel = new TbsSkinStdLabel(this);
  Drivelabel->SetName("Drivelabel");
  Drivelabel->SetAutoSize(true);
  Drivelabel->SetLayout(tlCenter);
  Drivelabel->SetCaption(OpenDlgText(CtrlSD, "FLV_LOOKIN", "Look in: "));
  Drivelabel->SetAlign(alLeft);
  Drivelabel->SetParent(ToolPanel);

  BackToolButton = newToolButton("BackToolButton", 0, "MSG_BTN_BACK_HINT", "Go To Last Folder Visited",
                                 AToolButtonsTransparent);
  BackToolButton->OnClick = [this](TObject* S) { BackToolButtonClick(S); };
  UpToolButton = newToolButton("UpToolButton", 1, "MSG_BTN_UP_HINT", "Up One Level", AToolButtonsTransparent);
  UpToolButton->OnClick = [this](TObject* S) { UpToolButtonClick(S); };
  NewFolderToolButton = newToolButton("NewFolderToolButton", 2, "MSG_BTN_NEWFOLDER_HINT", "Create New Folder",
                                      AToolButtonsTransparent);
  NewFolderToolButton->OnClick = [this](TObject* S) { NewFolderToolButtonClick(S); };
  auto* RightSpacer = new TbsSkinBevel(this);
  RightSpacer->SetShape(bsSpacer);
  RightSpacer->SetWidth(10);
  RightSpacer->SetLeft(10000);
  RightSpacer->SetAlign(alRight);
  RightSpacer->SetParent(ToolPanel);

  StyleToolButton = new TbsSkinMenuSpeedButton(this);
  StyleToolButton->SetName("StyleToolButton");
  StyleToolButton->SetDefaultWidth(37);
  StyleToolButton->SetSkinDataName("toolmenubutton");
  StyleToolButton->SetNumGlyphs(1);
  StyleToolButton->SetImageIndex(3);
  StyleToolButton->SetSkinPopupMenu(StylePopupMenu);
  StyleToolButton->SetHint(OpenDlgText(CtrlSD, "MSG_BTN_VIEWMENU_HINT", "View Menu"));
  StyleToolButton->SetShowHint(true);
  StyleToolButton->SetFlat(AToolButtonsTransparent);
  StyleToolButton->SetLeft(10000);
  StyleToolButton->SetAlign(alRight);
  StyleToolButton->SetParent(ToolPanel);

  ShellBox = new TbsSkinShellComboBox(this);
  ShellBox->SetName("ShellBox");
  ShellBox->SetDropDownCount(10);
  ShellBox->SetWidth(190);
  ShellBox->SetAlign(alClient);
  ShellBox->SetParent(ToolPanel);
}

void TbsOpenDlgForm::buildBottomPanel() {
  BottomPanel = new TbsSkinPanel(this);
  BottomPanel->SetName("BottomPanel");
  BottomPanel->SetBorderStyle(bvNone);
  BottomPanel->SetHeight(80);
  BottomPanel->SetAlign(alBottom);
  BottomPanel->SetParent(this);

  FileNameEdit = new TbsSkinEdit(this);
  FileNameEdit->SetName("FileNameEdit");
  FileNameEdit->SetParent(BottomPanel);
  FileNameEdit->OnKeyPress = [this](TObject* S, char32_t& Key) { EditKeyPress(S, Key); };

  FilterComboBox = new TbsSkinFilterComboBox(this);
  FilterComboBox->SetName("FilterComboBox");
  FilterComboBox->SetDefaultHeight(21);
  FilterComboBox->SetParent(BottomPanel);
  FilterComboBox->OnChange = [this](TObject* S) { FCBChange(S); };

  OpenButton = new TbsSkinButton(this);
  OpenButton->SetName("OpenButton");
  OpenButton->SetDefaultHeight(25);
  OpenButton->SetCanFocused(true);
  OpenButton->SetCaption(SaveMode ? OpenDlgText(CtrlSD, "MSG_BTN_SAVE", "&Save")
                                  : OpenDlgText(CtrlSD, "MSG_BTN_OPEN", "&Open"));
  OpenButton->SetParent(BottomPanel);
  OpenButton->OnClick = [this](TObject* S) { OpenButtonClick(S); };

  CancelButton = new TbsSkinButton(this);
  CancelButton->SetName("CancelButton");
  CancelButton->SetDefaultHeight(25);
  CancelButton->SetCanFocused(true);
  CancelButton->SetModalResult(mrCancel);
  CancelButton->SetCancel(true);
  CancelButton->SetCaption(OpenDlgText(CtrlSD, "MSG_BTN_CANCEL", "Cancel"));
  CancelButton->SetParent(BottomPanel);

  OpenFileLabel = new TbsSkinStdLabel(this);
  OpenFileLabel->SetName("OpenFileLabel");
  OpenFileLabel->SetAutoSize(true);
  OpenFileLabel->SetCaption(OpenDlgText(CtrlSD, "MSG_FILENAME", "File name:"));
  OpenFileLabel->SetLeft(10);
  OpenFileLabel->SetTop(10);
  OpenFileLabel->SetParent(BottomPanel);

  FileTypeLabel = new TbsSkinStdLabel(this);
  FileTypeLabel->SetName("FileTypeLabel");
  FileTypeLabel->SetAutoSize(true);
  FileTypeLabel->SetCaption(OpenDlgText(CtrlSD, "MSG_FILETYPE", "File type:"));
  FileTypeLabel->SetLeft(10);
  FileTypeLabel->SetTop(45);
  FileTypeLabel->SetParent(BottomPanel);
  PlaceBottomControls();
}

Integer TbsOpenDlgForm::FieldsLeft() const {
  // A caption is never clipped: a label wider than its place pushes the edit and the filter box right.
  return std::max<Integer>(
      70, std::max(OpenFileLabel->BoundsRect().Right, FileTypeLabel->BoundsRect().Right) + 6);
}

void TbsOpenDlgForm::CentreLabels() {
  OpenFileLabel->SetTop(FileNameEdit->Top() + (FileNameEdit->Height() - OpenFileLabel->Height()) / 2);
  FileTypeLabel->SetTop(FilterComboBox->Top() + (FilterComboBox->Height() - FileTypeLabel->Height()) / 2);
}

void TbsOpenDlgForm::PlaceBottomControls() {
  const Integer W = BottomPanel->Width(), Left = FieldsLeft();
  FileNameEdit->SetBounds(Left, 10, W - 90 - Left, FileNameEdit->Height());
  FileNameEdit->SetAnchors({akLeft, akTop, akRight});
  // As tall as the edit: the two boxes of the row look alike, and the skin's box picture fits whole.
  FilterComboBox->SetBounds(Left, 45, W - 90 - Left, FileNameEdit->Height());
  FilterComboBox->SetAnchors({akLeft, akTop, akRight});
  OpenButton->SetBounds(W - 80, 10, 70, OpenButton->Height());
  OpenButton->SetAnchors({akTop, akRight});
  CancelButton->SetBounds(W - 80, 45, 70, CancelButton->Height());
  CancelButton->SetAnchors({akTop, akRight});
  CentreLabels();
}

void TbsOpenDlgForm::buildListPanel() {
  FileListViewPanel = new TbsSkinPanel(this);
  FileListViewPanel->SetName("FileListViewPanel");
  FileListViewPanel->SetBorderStyle(bvFrame);
  FileListViewPanel->SetAlign(alClient);
  FileListViewPanel->SetParent(this);

  FLVHScrollBar = new TbsSkinScrollBar(this);
  FLVHScrollBar->SetName("FLVHScrollBar");
  FLVHScrollBar->SetDefaultHeight(19);
  FLVHScrollBar->SetBothMarkerWidth(19);
  FLVHScrollBar->SetEnabled(false);
  FLVHScrollBar->SetSkinDataName("hscrollbar");
  FLVHScrollBar->SetAlign(alBottom);
  FLVHScrollBar->SetParent(FileListViewPanel);

  FLVVScrollBar = new TbsSkinScrollBar(this);
  FLVVScrollBar->SetName("FLVVScrollBar");
  FLVVScrollBar->SetKind(sbVertical);
  FLVVScrollBar->SetDefaultWidth(19);
  FLVVScrollBar->SetEnabled(false);
  FLVVScrollBar->SetSkinDataName("vscrollbar");
  FLVVScrollBar->SetAlign(alRight);
  FLVVScrollBar->SetParent(FileListViewPanel);

  FileListView = new TbsSkinFileListView(this);
  FileListView->SetName("FileListView");
  FileListView->SetViewStyle(vsList);
  FileListView->SetShowColumnHeaders(true);
  FileListView->SetHScrollBar(FLVHScrollBar);
  FileListView->SetVScrollBar(FLVVScrollBar);
  FileListView->SetHideSelection(false);
  FileListView->SetAlign(alClient);
  FileListView->SetParent(FileListViewPanel);
  FileListView->OnChange = [this](TObject* S, TListItem* Item, TItemChange C) { FLVChange(S, Item, C); };
  FileListView->OnPathChanged = [this](TObject* S) { FLVPathChange(S); };
  FileListView->OnDblClick = [this](TObject* S) { FLVDBLClick(S); };
  FileListView->OnKeyPress = [this](TObject* S, char32_t& Key) { FLVKeyPress(S, Key); };
  ShellBox->SetShellListView(FileListView);
  FileListView->SetShellComboBox(ShellBox);
}

// ---- names and extensions ----

String TbsOpenDlgForm::FolderPrefix() const {
  const String P = FileListView->Path();
  return !P.empty() && P.back() == '/' ? P : P + "/";
}

String TbsOpenDlgForm::FilterExtension() {
  return FilterMaskExtension(FilterComboBox->Mask());
}

String TbsOpenDlgForm::CompletionExtension() {
  return !DefaultExt.empty() ? "." + DefaultExt : FilterExtension();
}

String TbsOpenDlgForm::TypedFullName(const String& T) const {
  // A name typed from the root is a full name already; put in the folder it would name another file.
  return !T.empty() && T[0] == '/' ? T : FolderPrefix() + T;
}

String TbsOpenDlgForm::TypedNameProblem(const String& Full) const {
  const String Shown = String(Full.c_str());
  const String BadName =
      Format(ErrorText(CtrlSD, "MSG_BADFILENAME", BadFileNameText), {ExtractFileName(Shown)});
  if (Full.find('\0') != String::npos || Full.size() >= PATH_MAX) return BadName;
  size_t Start = 0;
  while (Start < Full.size()) {
    size_t End = Full.find('/', Start);
    if (End == String::npos) End = Full.size();
    if (End - Start > NAME_MAX) return BadName;
    Start = End + 1;
  }
  const String Folder = ExtractFilePath(Full);
  if (!Folder.empty() && !DirectoryExists(Folder))
    return Format(ErrorText(CtrlSD, "MSG_FOLDERNOTFOUND", "The folder \"%s\" does not exist."),
                  {ExcludeTrailingPathDelimiter(Folder)});
  return String();
}

void TbsOpenDlgForm::ShowNameError(const String& Text) {
  TbsSkinMessage Msg(this);
  Msg.SetSkinData(BSF->SkinData());
  Msg.SetCtrlSkinData(CtrlSD);
  Msg.MessageDlg(Text, mtError, {mbOK}, 0);
}

bool TbsOpenDlgForm::askOverwrite() {
  TbsSkinMessage Msg(this);
  Msg.SetSkinData(BSF->SkinData());
  Msg.SetCtrlSkinData(CtrlSD);
  return Msg.MessageDlg(OpenDlgText(CtrlSD, "MSG_OVERWRITE", "Do you want to overwrite old file?"), mtWarning,
                        {mbOK, mbCancel}, 0) == 1;
}

// ---- the accept button ----

void TbsOpenDlgForm::OpenButtonClick(TObject*) {
  const String T = FileNameEdit->Text();
  const String S = FileListView->GetSelectedFile();
  const bool Typed = !T.empty() && (SaveMode || S.empty());
  const bool Wildcard = T.find('*') != String::npos;
  const String N = TypedFullName(T);
  if (Typed && !Wildcard) {
    // A typed folder opens; a name that cannot be a file here is refused with its reason.
    if (DirectoryExists(N)) {
      FileListView->SetPath(ExcludeTrailingPathDelimiter(N));
      FileNameEdit->SetText(String());
      return;
    }
    if (const String Problem = TypedNameProblem(N); !Problem.empty()) {
      ShowNameError(Problem);
      return;
    }
  }
  const String F = ExtractFileExt(N).empty() ? N + CompletionExtension() : N;
  if (!SaveMode && CheckFileExists && S.empty() && !T.empty() && !FileExists(F)) return;
  if (T.empty()) return;
  if (SaveMode) {
    if (HasText(FolderPrefix() + T, "*")) return;
    if (OverwritePromt && FileExists(F) && !askOverwrite()) return;
    FileName = N;
    SetModalResult(mrOk);
    return;
  }
  if (CheckFileExists) {
    FileName = !S.empty() ? S : F;
    if (FileExists(FileName))
      SetModalResult(mrOk);
    else
      FileName.clear();
    return;
  }
  FileName = !S.empty() ? S : (ExtractFileExt(N).empty() ? N + CompletionExtension() : N);
  SetModalResult(mrOk);
}

// ---- list, edit and filter ----

void TbsOpenDlgForm::FLVChange(TObject*, TListItem*, TItemChange) {
  const String Name = ExtractFileName(FileListView->GetSelectedFile());
  if (!Name.empty()) FileNameEdit->SetText(Name);
  if (OnFolderChange) OnFolderChange(this);
}

void TbsOpenDlgForm::focusFirstItem() {
  if (FileListView->Items()->Count() > 0) FileListView->Items()->Item(0)->SetFocused(true);
}

bool TbsOpenDlgForm::refuseUnreadableFolder() {
  const String Path = FileListView->Path();
  if (Path.empty() || Path[0] != '/' || FolderReadable(Path)) return false;
  ShowNameError(
      Format(ErrorText(CtrlSD, "MSG_FOLDERACCESS", "Access to the folder \"%s\" is denied."), {Path}));
  // Back where the user came from, without a history entry for the refused folder.
  if (!FolderHistory.empty() &&
      !SameItemIDList(FolderHistory.back(), FileListView->RootFolder()->AbsoluteID())) {
    TbsFlagScope Stop(StopAddToHistory, true);
    PItemIDList Previous = CopyItemIDList(FolderHistory.back());
    FileListView->FollowFolderID(Previous);
    FreeItemIDList(Previous);
  }
  return true;
}

void TbsOpenDlgForm::FLVPathChange(TObject*) {
  if (refuseUnreadableFolder()) return;
  if (!StopAddToHistory && FileListView->RootFolder() != nullptr)
    FolderHistory.push_back(CopyItemIDList(FileListView->RootFolder()->AbsoluteID()));
  focusFirstItem();
  if (OnFolderChange) OnFolderChange(this);
}

void TbsOpenDlgForm::FLVDBLClick(TObject*) {
  const String S = FileListView->GetSelectedFile();
  if (S.empty()) return;
  if (SaveMode && OverwritePromt && !askOverwrite()) return;
  FileName = S;
  SetModalResult(mrOk);
}

void TbsOpenDlgForm::FLVKeyPress(TObject*, char32_t& Key) {
  if (Key == EnterKey && !FileListView->GetSelectedFile().empty()) OpenButtonClick(this);
}

void TbsOpenDlgForm::EditKeyPress(TObject*, char32_t& Key) {
  if (Key != EnterKey) return;
  const String T = FileNameEdit->Text();
  if (HasText(T, "*")) {
    FileListView->SetMask(T);
  } else if (HasText(T, "/")) {
    const String Full = TypedFullName(T);
    if (DirectoryExists(Full) && T.find('\0') == String::npos)
      FileListView->SetPath(ExcludeTrailingPathDelimiter(Full));
    else
      // A path to a file is accepted like a name; the button tells what is wrong with it.
      OpenButtonClick(this);
  } else {
    OpenButtonClick(this);
  }
}

void TbsOpenDlgForm::FCBChange(TObject*) {
  FileListView->SetMask(FilterComboBox->Mask());
  if (!SaveMode) return;
  const String E = FilterExtension();
  String T = FileNameEdit->Text();
  if (E.empty() || T.empty()) return;
  const String Old = ExtractFileExt(T);
  if (!Old.empty()) T.erase(T.size() - Old.size());
  FileNameEdit->SetText(T + E);
}

// ---- view menu ----

void TbsOpenDlgForm::checkViewItem(TMenuItem* Item) {
  for (TMenuItem* M : {IconMenuItem, SmallIconMenuItem, ListMenuItem, ReportMenuItem})
    M->SetChecked(M == Item);
}

void TbsOpenDlgForm::IconItemClick(TObject*) {
  FileListView->SetViewStyle(vsIcon);
  checkViewItem(IconMenuItem);
}

void TbsOpenDlgForm::SmallIconItemClick(TObject*) {
  FileListView->SetViewStyle(vsSmallIcon);
  checkViewItem(SmallIconMenuItem);
}

void TbsOpenDlgForm::ListItemClick(TObject*) {
  FileListView->SetViewStyle(vsList);
  checkViewItem(ListMenuItem);
}

void TbsOpenDlgForm::ReportItemClick(TObject*) {
  FileListView->SetViewStyle(vsReport);
  checkViewItem(ReportMenuItem);
  if (FileListView->MultiSelect()) FileListView->BuildReportColumns();
}

// ---- navigation ----

void TbsOpenDlgForm::UpToolButtonClick(TObject*) {
  FileListView->Back();
}

void TbsOpenDlgForm::InitHistory() {
  if (FileListView->RootFolder() != nullptr)
    FolderHistory.push_back(CopyItemIDList(FileListView->RootFolder()->AbsoluteID()));
}

void TbsOpenDlgForm::BackToolButtonClick(TObject*) {
  if (FolderHistory.size() < 2) return;
  const size_t Target = FolderHistory.size() - 2;
  {
    TbsFlagScope Stop(StopAddToHistory, true);
    FileListView->FollowFolderID(FolderHistory[Target]);
  }
  FreeItemIDList(FolderHistory[Target]);
  FolderHistory.erase(FolderHistory.begin() + Integer(Target));
}

void TbsOpenDlgForm::NewFolderToolButtonClick(TObject*) {
  const String P = FileListView->Path();
  if (!HasText(P, "/")) return;
  ++NewFolderCount;
  String Name = OpenDlgText(CtrlSD, "MSG_NEWFOLDER", "New Folder");
  if (NewFolderCount > 1) Name += "(" + IntToStr(NewFolderCount) + ")";
  // A name from the string table that the file system cannot take is said, not created elsewhere.
  if (Name.empty() || HasText(Name, "/") || Name == "." || Name == "..") {
    ShowNameError(Format(ErrorText(CtrlSD, "MSG_BADFILENAME", BadFileNameText), {Name}));
    return;
  }
  const String Full = FolderPrefix() + Name;
  if (DirectoryExists(Full) || FileExists(Full)) return;
  if (!CreateDir(Full)) {
    const int Error = errno;
    throw EOSError(Format(ErrorText(CtrlSD, FolderCreateFailedKey, FolderCreateFailedText),
                          {Full, SysErrorMessage(Error)}));
  }
  FileListView->RebuildListing();
  Application->ProcessMessages();
  for (Integer I = 0; I < FileListView->FolderCount(); ++I) {
    TbsShellFolder* F = FileListView->Folders(I);
    if (F != nullptr && F->DisplayName() == Name) {
      FileListView->SetItemIndex(I);
      FileListView->Items()->Item(I)->EditCaption();
      break;
    }
  }
}

// ---- the component ----

TbsSkinOpenDialog::TbsSkinOpenDialog(TComponent* AOwner)
    : TbsSkinDialogComponent(AOwner, "Open file", 225), FFiles(std::make_unique<TStringList>()) {}

TbsSkinOpenDialog::~TbsSkinOpenDialog() = default;

void TbsSkinOpenDialog::SetToolBarImageList(TCustomImageList* Value) {
  refer(FToolBarImageList, Value);
}

void TbsSkinOpenDialog::SetFileName(const String& Value) {
  FFileName = Value;
  FFileNameFromCaller = true;
  if (FDlgFrm != nullptr) FDlgFrm->FileNameEdit->SetText(Value);
}

void TbsSkinOpenDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinDialogComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FToolBarImageList) FToolBarImageList = nullptr;
}

String TbsSkinOpenDialog::GetSelectedFile() const {
  return FDlgFrm != nullptr ? FDlgFrm->FileListView->GetSelectedFile() : String();
}

TbsOpenDlgForm* TbsSkinOpenDialog::CreateDlgForm() {
  return new TbsOpenDlgForm(Application, FSaveMode, FCtrlFSD, FToolButtonsTransparent, FToolBarImageList);
}

void TbsSkinOpenDialog::CopySettingsToForm() {
  FDlgFrm->OverwritePromt = FOverwritePromt;
  FDlgFrm->OnFolderChange = OnFolderChange;
  FDlgFrm->CheckFileExists = FCheckFileExists;
  FDlgFrm->DefaultExt = FDefaultExt;
}

String TbsSkinOpenDialog::StartFolder() const {
  // A folder that cannot be listed would open the dialog on an empty list: the next candidate serves.
  auto usable = [](const String& Folder) {
    return !Folder.empty() && DirectoryExists(Folder) && FolderReadable(Folder);
  };
  const String FilePart = FFileNameFromCaller ? ExtractFilePath(FFileName) : String();
  for (const String& Folder : {FilePart, FInitialDir, FLastFolder, GetHomeDir()})
    if (usable(Folder)) return ExcludeTrailingPathDelimiter(Folder);
  return "/";
}

void TbsSkinOpenDialog::ApplyToolButtonsSkin() {
  TbsOpenDlgForm* F = FDlgFrm;
  if (FCtrlFSD != nullptr && !FCtrlFSD->Empty && FCtrlFSD->GetControlIndex("resizetoolbutton") != -1) {
    F->UpToolButton->SetSkinDataName("resizetoolbutton");
    F->BackToolButton->SetSkinDataName("resizetoolbutton");
    F->StyleToolButton->SetSkinDataName("resizetoolbutton");
    F->NewFolderToolButton->SetSkinDataName("resizetoolbutton");
  }
  F->Drivelabel->SetSkinData(FCtrlFSD);
  F->UpToolButton->SetSkinData(FCtrlFSD);
  F->BackToolButton->SetSkinData(FCtrlFSD);
  F->StyleToolButton->SetSkinData(FCtrlFSD);
  F->NewFolderToolButton->SetSkinData(FCtrlFSD);
}

void TbsSkinOpenDialog::setUpForm() {
  TbsOpenDlgForm* F = FDlgFrm;
  F->SetCaption(FTitle);
  TbsSkinForm* E = F->BSF;
  E->SetBorderIcons({});
  E->SetSkinData(FSD);
  E->SetMenusSkinData(FCtrlFSD);
  E->SetMinWidth(FDialogMinWidth);
  E->SetMinHeight(FDialogMinHeight);
  E->SetAlphaBlend(FAlphaBlend);
  E->SetAlphaBlendAnimation(FAlphaBlendAnimation);
  E->SetAlphaBlendValue(FAlphaBlendValue);

  for (TbsSkinCustomComboBox* C : {static_cast<TbsSkinCustomComboBox*>(F->ShellBox),
                                   static_cast<TbsSkinCustomComboBox*>(F->FilterComboBox)}) {
    C->SetAlphaBlend(FCtrlAlphaBlend);
    C->SetAlphaBlendValue(FCtrlAlphaBlendValue);
    C->SetAlphaBlendAnimation(FCtrlAlphaBlendAnimation);
  }
  E->SetMenusAlphaBlend(FCtrlAlphaBlend);
  E->SetMenusAlphaBlendValue(FCtrlAlphaBlendValue);
  E->SetMenusAlphaBlendAnimation(FCtrlAlphaBlendAnimation);

  F->OpenButton->SetDefaultFont(FDefaultFont.get());
  F->CancelButton->SetDefaultFont(FDefaultFont.get());
  F->ShellBox->SetDefaultFont(FDefaultFont.get());
  F->FileListView->SetDefaultFont(FDefaultFont.get());

  switch (ListViewStyle) {
    case vsIcon:
      F->IconMenuItem->SetChecked(true);
      break;
    case vsSmallIcon:
      F->SmallIconMenuItem->SetChecked(true);
      break;
    case vsList:
      F->ListMenuItem->SetChecked(true);
      break;
    case vsReport:
      F->ReportMenuItem->SetChecked(true);
      break;
  }
  F->FileListView->SetViewStyle(ListViewStyle);
  F->FileListView->SetRoot(StartFolder());

  F->FileListView->SetHeaderSkinDataName(FLVHeaderSkinDataName);
  F->FileListView->SetSkinData(FCtrlFSD);
  if (FCtrlFSD != nullptr) {
    F->FileListView->SetDrawSkin(FCtrlFSD->DlgListViewDrawSkin());
    F->FileListView->SetItemSkinDataName(FCtrlFSD->DlgListViewItemSkinDataName());
  }
  F->FileListView->SetMultiSelect(FMultiSelection);
  if (FShowHiddenFiles) {
    TShellObjectTypes Types = F->FileListView->ObjectTypes();
    Types.Include(otHidden);
    F->FileListView->SetObjectTypes(Types);
  }

  // The filter box builds its entries with its window and chooses the first: choose ours after that.
  F->FilterComboBox->SetFilter(FFilter);
  F->FilterComboBox->HandleNeeded();
  F->FilterComboBox->SetItemIndex(FFilterIndex - 1);

  BeforePanelsSkin();
  F->FileListViewPanel->SetSkinData(FCtrlFSD);
  F->BottomPanel->SetSkinData(FCtrlFSD);
  F->ToolPanel->SetSkinData(FCtrlFSD);
  ApplyToolButtonsSkin();
  F->FLVHScrollBar->SetSkinData(FCtrlFSD);
  F->FLVVScrollBar->SetSkinData(FCtrlFSD);
  F->FileNameEdit->SetSkinData(FCtrlFSD);
  F->FilterComboBox->SetSkinData(FCtrlFSD);
  F->OpenButton->SetSkinData(FCtrlFSD);
  F->CancelButton->SetSkinData(FCtrlFSD);
  F->OpenFileLabel->SetSkinData(FCtrlFSD);
  F->FileTypeLabel->SetSkinData(FCtrlFSD);
  F->ShellBox->SetSkinData(FCtrlFSD);
  F->ShellBox->SetSkinDataName("combobox");
  // The labels took the skin's font (and the texts their length): the bottom row is placed again.
  F->PlaceBottomControls();

  // The engine's frame decides the client area, so the window must exist before the size is set.
  F->HandleNeeded();
  const TPoint Default = DefaultClientSize();
  Integer W = FDialogWidth >= 1 ? FDialogWidth : Default.X;
  Integer H = FDialogHeight >= 1 ? FDialogHeight : Default.Y;
  if (FSD != nullptr && !FSD->Empty) {
    W = std::max(W, E->GetMinWidth());
    H = std::max(H, E->GetMinHeight());
  }
  F->SetClientWidth(W);
  F->SetClientHeight(H);
  AfterClientSize();
}

bool TbsSkinOpenDialog::runDialog() {
  setUpForm();
  TbsOpenDlgForm* F = FDlgFrm;
  if (F->FileListView->Items()->Count() > 0) F->FileListView->Items()->Item(0)->SetFocused(true);
  BeforeFileNameEdit();
  F->FileNameEdit->SetText(ExtractFileName(FFileName));
  F->InitHistory();
  const bool R = F->ShowModal() == mrOk;
  FFilterIndex = F->FilterComboBox->ItemIndex() + 1;
  FDialogWidth = F->ClientWidth();
  FDialogHeight = F->ClientHeight();
  ListViewStyle = F->FileListView->ViewStyle();
  // A virtual folder (the desktop) has no path to come back to.
  if (const String Shown = F->FileListView->Path(); DirectoryExists(Shown)) FLastFolder = Shown;
  CopyStateBack();
  if (R) {
    CompleteAcceptedName();
    if (FOnChange) FOnChange(this);
  }
  return R;
}

void TbsSkinOpenDialog::CompleteAcceptedName() {
  TbsOpenDlgForm* F = FDlgFrm;
  FFileName = F->FileName;
  FFileNameFromCaller = false;
  const String Mask = F->FilterComboBox->Mask();
  if (FSaveMode && !HasText(Mask, ".*") && ExtractFileExt(FFileName).empty())
    FFileName += F->FilterExtension();
  F->FileListView->GetSelectedFiles(FFiles.get());
  if (FSaveMode && ExtractFileExt(FFileName).empty() && !FDefaultExt.empty()) FFileName += "." + FDefaultExt;
}

void TbsSkinOpenDialog::finishExecute() {
  if (OnClose) OnClose(this);
  delete FDlgFrm;
  FDlgFrm = nullptr;
}

bool TbsSkinOpenDialog::Execute() {
  if (OnShow) OnShow(this);
  FDlgFrm = CreateDlgForm();
  CopySettingsToForm();
  bool R = false;
  try {
    R = runDialog();
  } catch (...) {
    finishExecute();
    throw;
  }
  finishExecute();
  return R;
}
