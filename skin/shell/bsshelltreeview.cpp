#include "skin/shell/bsshelltreeview.h"

#include <strings.h>

#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/shell/shellopen.h"
#include "skin/shell/bsshelllistview.h"
#include "skin/shell/bsshellpathcombobox.h"
#include "skin/shell/bsshellviewparts.h"

TbsCustomShellTreeView::TbsCustomShellTreeView(TComponent* AOwner) : TbsSkinCustomTreeView(AOwner) {
  SetShowRoot(false);
  SetRightClickSelect(true);
  FImages = SHGetSystemImageList(false);
  FNotifier = std::make_unique<TbsShellChangeNotifier>(nullptr);
}

TbsCustomShellTreeView::~TbsCustomShellTreeView() {
  SetShellListView(nullptr);
  if (FComboBox && FComboBox->FTreeView == this) FComboBox->FTreeView = nullptr;
  // The base's own clearing no longer reaches this class's Delete.
  FNotifier.reset();
  ClearNodes();
  delete FRootFolder;
}

TbsShellFolder* TbsCustomShellTreeView::folderOf(const TTreeNode* Node) {
  return Node ? static_cast<TbsShellFolder*>(Node->Data()) : nullptr;
}

TbsShellFolder* TbsCustomShellTreeView::SelectedFolder() const {
  return folderOf(Selected());
}

// ---- properties ----
void TbsCustomShellTreeView::SetRoot(const TRoot& Value) {
  if (strcasecmp(Value.c_str(), FRoot.c_str()) == 0) return;
  FOldRoot = FRoot;
  FRoot = Value;
  ReloadRoot();
}

void TbsCustomShellTreeView::SetObjectTypes(TShellObjectTypes Value) {
  FObjectTypes = Value;
  ReloadRoot();
}

TCustomImageList* TbsCustomShellTreeView::chosenImages() const {
  if (FUserImages) return FUserImages;
  return FUseShellImages ? FImages : nullptr;
}

void TbsCustomShellTreeView::applyImageList() {
  TbsFlagScope Changing(FImageListChanging, true);
  Perform(TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(chosenImages()));
}

void TbsCustomShellTreeView::SetUseShellImages(bool Value) {
  FUseShellImages = Value;
  applyImageList();
}

void TbsCustomShellTreeView::SetImages(TCustomImageList* Value) {
  FUserImages = Value;
  applyImageList();
}

void TbsCustomShellTreeView::SetAutoRefresh(bool Value) {
  FAutoRefresh = Value;
  if (loadingState()) return;
  TbsShellFolder* F = FNodeToMonitor ? folderOf(FNodeToMonitor) : FRootFolder;
  ReplaceFolderNotifier(FNotifier, Value, F ? F->PathName() : String(), [this] { RefreshSelected(); });
}

String TbsCustomShellTreeView::Path() const {
  TbsShellFolder* F = SelectedFolder();
  return F ? F->PathName() : String();
}

void TbsCustomShellTreeView::SetPath(const String& Value) {
  FPath = Value;
  PItemIDList ID = nullptr;
  if (!Succeeded(DesktopIShellFolder()->ParseDisplayName(Value, ID)) || ID == nullptr) {
    FreeItemIDList(ID);
    throw EInvalidPath(Format("Error setting path: \"%s\"", {Value}));
  }
  SelectFolderID(ID);
  FreeItemIDList(ID);
  if (TTreeNode* Node = Selected()) {
    Node->Expand(false);
    CanChange(Node);
  }
  FPath = Value;
}

void TbsCustomShellTreeView::ExpandMyComputer() {
  PItemIDList ID = nullptr;
  if (!Succeeded(SHGetSpecialFolderLocation(nullptr, RootFolderCSIDL(rfMyComputer), ID))) return;
  SelectFolderID(ID);
  FreeItemIDList(ID);
  if (TTreeNode* Node = Selected()) Node->Expand(false);
}

void TbsCustomShellTreeView::SetShellListView(TbsCustomShellListView* Value) {
  LinkShellControl(FListView, Value, this, FRoot,
                   [this](TbsCustomShellListView* L, bool On) { L->FTreeView = On ? this : nullptr; });
}

void TbsCustomShellTreeView::SetShellComboBox(TbsCustomShellComboBox* Value) {
  LinkShellControl(FComboBox, Value, this, FRoot,
                   [this](TbsCustomShellComboBox* C, bool On) { C->FTreeView = On ? this : nullptr; });
}

void TbsCustomShellTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomTreeView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FListView) FListView = nullptr;
  if (AComponent == FComboBox) FComboBox = nullptr;
}

// ---- window and loading ----
void TbsCustomShellTreeView::Loaded() {
  TbsSkinCustomTreeView::Loaded();
  LoadRootNode();
}

void TbsCustomShellTreeView::CreateWindowCreated() {
  TbsSkinCustomTreeView::CreateWindowCreated();
  if (Items()->Count() > 0) ClearNodes();
  if (FUserImages == nullptr) SetUseShellImages(FUseShellImages);
  if (!FLoadingRoot) {
    LoadRootNode();
    if (!FPath.empty()) SetPath(FPath);
  }
}

void TbsCustomShellTreeView::DestroyWnd() {
  ClearNodes();
  TbsSkinCustomTreeView::DestroyWnd();
}

void TbsCustomShellTreeView::WndProc(TMessage& Message) {
  if (Message.Msg == TVM_SETIMAGELIST && Message.WParam == TVSIL_NORMAL) {
    if (!FImageListChanging) {
      // Whoever sets the list, the tree shows its own choice.
      applyImageList();
      Message.Result = 0;
      return;
    }
    TCustomImageList* Old = TCustomTreeView::Images();
    TCustomTreeView::SetImages(reinterpret_cast<TCustomImageList*>(Message.LParam));
    Message.Result = LRESULT(Old);
    return;
  }
  TbsSkinCustomTreeView::WndProc(Message);
}

void TbsCustomShellTreeView::GetImageIndex(TTreeNode* Node) {
  if (FUserImages) TbsSkinCustomTreeView::GetImageIndex(Node);
}

void TbsCustomShellTreeView::GetSelectedIndex(TTreeNode* Node) {
  if (FUserImages) TbsSkinCustomTreeView::GetSelectedIndex(Node);
}

// ---- nodes ----
void TbsCustomShellTreeView::ClearNodes() {
  {
    TbsUpdateScope Update(Items());
    for (TTreeNode* N = Items()->GetFirstNode(); N; N = N->GetNext()) {
      delete folderOf(N);
      N->SetData(nullptr);
    }
  }
  Items()->Clear();
}

void TbsCustomShellTreeView::LoadRootNode() {
  if (loadingState()) return;
  String Message;
  try {
    FRootFolder = CreateRootShellFolder(FRootFolder, FOldRoot, FRoot);
  } catch (const Exception& E) {
    Message = E.Message();
  }
  if (FRootFolder) {
    TbsFlagScope Loading(FLoadingRoot, true);
    if (Items()->Count() > 0) ClearNodes();
    auto* F = new TbsShellFolder(nullptr, FRootFolder->AbsoluteID(), FRootFolder->ShellFolder());
    TTreeNode* Node =
        Items()->AddObject(nullptr, ItemDisplayName(DesktopIShellFolder(), F->AbsoluteID(), SHGDN_NORMAL), F);
    if (FUseShellImages && FUserImages == nullptr) {
      Node->SetImageIndex(ShellImageIndex(F->AbsoluteID(), false, false));
      Node->SetSelectedIndex(ShellImageIndex(F->AbsoluteID(), false, true));
    }
    Node->SetHasChildren(F->SubFolders());
    Node->Expand(false);
    SetSelected(Node);
  }
  if (!Message.empty()) throw Exception(Message);
}

void TbsCustomShellTreeView::ReloadRoot() {
  if (FUpdating) return;
  TbsFlagScope Updating(FUpdating, true);
  LoadRootNode();
  if (FListView) FListView->SetRoot(FRoot);
}

void TbsCustomShellTreeView::InitNode(TTreeNode* Node, PCItemIDList ID, TTreeNode* ParentNode) {
  TbsShellFolder* ParentFolder = folderOf(ParentNode);
  TbsShellFolder* F = CreateChildFolder(ParentFolder, ID);
  Node->SetData(F);
  Node->SetText(F->DisplayName());
  if (FUseShellImages && FUserImages == nullptr) {
    Node->SetImageIndex(ShellImageIndex(F->AbsoluteID(), false, false));
    Node->SetSelectedIndex(ShellImageIndex(F->AbsoluteID(), false, true));
    if (Node->SelectedIndex() == 0) Node->SetSelectedIndex(Node->ImageIndex());
  }
  Node->SetHasChildren(F->SubFolders());
  if (FObjectTypes.Contains(otNonFolders) && F->ShellFolder())
    Node->SetHasChildren(FolderHasItems(F->ShellFolder(), ShellObjectFlags(FObjectTypes)));
  bool CanAdd = true;
  if (OnAddFolder) OnAddFolder(this, F, CanAdd);
  if (!CanAdd) Node->Delete();
}

void TbsCustomShellTreeView::FillNode(TTreeNode* Node) {
  TbsHourGlass Wait;
  TbsUpdateScope Update(Items());
  TbsShellFolder* F = folderOf(Node);
  std::unique_ptr<IEnumIDList> Enum;
  try {
    if (F == nullptr || !F->ShellFolder() ||
        !Succeeded(F->ShellFolder()->EnumObjects(ShellObjectFlags(FObjectTypes), Enum)) || !Enum)
      return;
    PItemIDList ID = nullptr;
    while (Enum->Next(ID) == S_OK) {
      TTreeNode* Child = Items()->AddChild(Node, String());
      InitNode(Child, ID, Node);
      FreeItemIDList(ID);
      ID = nullptr;
    }
    FreeItemIDList(ID);
  } catch (const Exception&) {
    // A folder that cannot be read simply has no children.
  }
  IShellFolderPtr Order = F ? F->ShellFolder() : nullptr;
  if (Order)
    Node->CustomSort(
        [&Order](TTreeNode* A, TTreeNode* B, Integer) {
          return Integer(int16_t(Order->CompareIDs(0, folderOf(A)->RelativeID(), folderOf(B)->RelativeID())));
        },
        0, false);
}

bool TbsCustomShellTreeView::CanExpand(TTreeNode* Node) {
  if (ComponentState().Contains(csDesigning) && Node->Level() > 0) return true;
  bool Allow = TbsSkinCustomTreeView::CanExpand(Node);
  if (Allow) {
    TbsShellFolder* F = folderOf(Node);
    if (F && F->IsFolder()) {
      if (Node->HasChildren() && Node->Count() == 0) FillNode(Node);
    } else if (F) {
      ShellOpen(F->PathName());
    }
  }
  Node->SetHasChildren(Node->Count() > 0);
  return Allow;
}

bool TbsCustomShellTreeView::CanChange(TTreeNode* Node) {
  const bool Result = TbsSkinCustomTreeView::CanChange(Node);
  if (Result && !FUpdating && Node) {
    const bool Refreshing = FAutoRefresh;
    SetAutoRefresh(false);
    TbsShellFolder* F = folderOf(Node);
    if (F && !F->IsFolder()) F = F->Parent();
    if (F) {
      TbsFlagScope Updating(FUpdating, true);
      if (FComboBox) FComboBox->FollowFolderID(F->AbsoluteID());
      if (FListView) FListView->FollowFolderID(F->AbsoluteID());
    }
    FNodeToMonitor = Node;
    SetAutoRefresh(Refreshing);
    FNodeToMonitor = nullptr;
  }
  return Result;
}

void TbsCustomShellTreeView::Delete(TTreeNode* Node) {
  delete folderOf(Node);
  Node->SetData(nullptr);
  TbsSkinCustomTreeView::Delete(Node);
}

void TbsCustomShellTreeView::Edit(TTreeNode* Node, String& S) {
  TbsSkinCustomTreeView::Edit(Node, S);
  TbsShellFolder* F = folderOf(Node);
  if (F == nullptr) return;
  if (!F->Rename(S)) {
    S = Node->Text();
    return;
  }
  Node->SetText(S);
  if (TTreeNode* Parent = Node->Parent()) Refresh(Parent);
}

TTreeNode* TbsCustomShellTreeView::FindNodeByID(PCItemIDList ID, TTreeNode* Start) const {
  if (Start == nullptr) return nullptr;
  const Integer Level = Start->Level();
  for (TTreeNode* N = Start; N; N = N->GetNext()) {
    if (N != Start && N->Level() <= Level) break;
    TbsShellFolder* F = folderOf(N);
    if (F && SameItemIDList(F->AbsoluteID(), ID)) return N;
  }
  return nullptr;
}

void TbsCustomShellTreeView::SelectFolderID(PCItemIDList ID) {
  if (loadingState()) return;
  if (TbsShellFolder* F = SelectedFolder(); F && SameItemIDList(F->AbsoluteID(), ID)) return;
  TbsFlagScope Updating(FUpdating, true);
  TbsUpdateScope Update(Items());
  std::vector<PItemIDList> Chain = ItemIDChain(ID);
  TTreeNode* N = Items()->GetFirstNode();
  for (PItemIDList Prefix : Chain)
    if (TTreeNode* Found = FindNodeByID(Prefix, N)) {
      Found->Expand(false);
      N = Found;
    }
  FreeItemIDChain(Chain);
  TTreeNode* Found = FindNodeByID(ID, N);
  SetSelected(Found);
  if (Found && FListView) FListView->FollowFolderID(folderOf(Found)->AbsoluteID());
  if (Found && FComboBox) FComboBox->FollowFolderID(folderOf(Found)->AbsoluteID());
}

void TbsCustomShellTreeView::Refresh(TTreeNode* Node) {
  TbsShellFolder* Old = folderOf(Node);
  if (Old == nullptr || !Old->ShellFolder()) return;
  const auto rebuilt = [](TbsShellFolder* F) {
    return F->Parent() ? ConcatItemIDLists(F->Parent()->AbsoluteID(), F->RelativeID())
                       : CopyItemIDList(F->RelativeID());
  };
  PItemIDList TopID = folderOf(TopItem()) ? rebuilt(folderOf(TopItem())) : nullptr;
  PItemIDList SelID = SelectedFolder() ? rebuilt(SelectedFolder()) : nullptr;
  {
    TbsUpdateScope Update(Items());
    TbsHourGlass Wait;
    TTreeNode* ParentNode = Node->Parent();
    auto* F = new TbsShellFolder(folderOf(ParentNode), Old->RelativeID(), Old->ShellFolder());
    TTreeNode* Fresh = Items()->Insert(Node, String());
    Fresh->SetData(F);
    FillNode(Fresh);
    Fresh->SetImageIndex(ShellImageIndex(F->AbsoluteID(), false, false));
    Fresh->SetSelectedIndex(ShellImageIndex(F->AbsoluteID(), false, true));
    Fresh->SetHasChildren(F->SubFolders());
    Fresh->SetText(F->DisplayName());
    // What was open stays open.
    for (TTreeNode* N = Node; N; N = N->GetNext()) {
      if (N != Node && N->Level() <= Node->Level()) break;
      if (!N->Expanded() || folderOf(N) == nullptr) continue;
      if (TTreeNode* Same = FindNodeByID(folderOf(N)->AbsoluteID(), Fresh)) Same->Expand(false);
    }
    Node->Delete();
    if (SelID) SetSelected(FindNodeByID(SelID, Items()->GetFirstNode()));
    if (TopID)
      if (TTreeNode* Top = FindNodeByID(TopID, Items()->GetFirstNode())) SetTopItem(Top);
  }
  FreeItemIDList(TopID);
  FreeItemIDList(SelID);
}

void TbsCustomShellTreeView::RefreshSelected() {
  if (Selected()) Refresh(Selected());
}

// ---- shell commands ----
void TbsCustomShellTreeView::ExecuteCommand(const String& Verb, bool& Handled) {
  if (strcasecmp(Verb.c_str(), "rename") == 0) {
    if (Selected()) {
      Selected()->EditText();
      Handled = true;
    }
  } else if (strcasecmp(Verb.c_str(), "open") == 0) {
    FSavePath = GetCurrentDir();
    if (TbsShellFolder* F = SelectedFolder()) SetCurrentDir(ExtractFileDir(F->PathName()));
  }
}

void TbsCustomShellTreeView::CommandCompleted(const String& Verb, bool Succeeded) {
  if (!Succeeded || Selected() == nullptr) return;
  if (strcasecmp(Verb.c_str(), "delete") == 0) {
    TTreeNode* Node = Selected();
    if (!FileExists(SelectedFolder()->PathName())) Node->Delete();
  } else if (strcasecmp(Verb.c_str(), "paste") == 0) {
    Refresh(Selected());
  } else if (strcasecmp(Verb.c_str(), "open") == 0) {
    SetCurrentDir(FSavePath);
  }
}
