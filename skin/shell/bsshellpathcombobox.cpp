#include "skin/shell/bsshellpathcombobox.h"

#include <strings.h>

#include <algorithm>
#include <cstdint>

#include "platform/rtl/format.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/shell/bsshelllistview.h"
#include "skin/shell/bsshelltreeview.h"
#include "skin/shell/bsshellviewparts.h"

namespace {

// Frees the identifiers of a list however the scope is left.
class TItemIDListsScope {
 public:
  explicit TItemIDListsScope(std::vector<PItemIDList>& Lists) : FLists(Lists) {}
  ~TItemIDListsScope() { FreeItemIDChain(FLists); }
  TItemIDListsScope(const TItemIDListsScope&) = delete;
  TItemIDListsScope& operator=(const TItemIDListsScope&) = delete;

 private:
  std::vector<PItemIDList>& FLists;
};

[[noreturn]] void raisePlatformError(HRESULT hr) {
  throw EOSError(Format("System Error.  Code: %d", {hr}));
}

}  // namespace

// ---- TbsItemEx, TbsItemsEx ----

void TbsItemEx::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TbsItemEx*>(Source)) {
    Caption = S->Caption;
    Indent = S->Indent;
    ImageIndex = S->ImageIndex;
    SelectedImageIndex = S->SelectedImageIndex;
    // Two entries never share a folder object: each box frees the ones it shows.
    delete Data;
    Data = S->Data ? ShellFolderFromID(S->Data->AbsoluteID()) : nullptr;
    return;
  }
  TCollectionItem::Assign(Source);
}

TbsItemEx* TbsItemsEx::AddItem(const String& ACaption, Integer AImageIndex, Integer ASelectedIndex,
                               Integer AIdent, TbsShellFolder* AFolder) {
  TbsItemEx* Item = Add();
  Item->Caption = ACaption;
  Item->ImageIndex = AImageIndex;
  Item->SelectedImageIndex = ASelectedIndex;
  Item->Indent = AIdent;
  Item->Data = AFolder;
  return Item;
}

// ---- TbsCustomShellComboBox ----

TbsCustomShellComboBox::TbsCustomShellComboBox(TComponent* AOwner) : TbsSkinCustomComboBox(AOwner) {
  FImages = SHGetSystemImageList(false);
  if (FImages) {
    FImageWidth = FImages->Width();
    FImageHeight = FImages->Height();
  }
  FItemsEx = new TbsItemsEx();
  SetOnListBoxDrawItem([this](TCanvas* C, Integer Index, Integer W, Integer H, TRect TR, TOwnerDrawState S) {
    DrawListItem(C, Index, W, H, TR, S);
  });
  OnComboBoxDrawItem = [this](TCanvas* C, Integer Index, Integer W, Integer H, TRect TR, TOwnerDrawState S) {
    DrawComboItem(C, Index, W, H, TR, S);
  };
}

TbsCustomShellComboBox::~TbsCustomShellComboBox() {
  if (FTreeView && FTreeView->FComboBox == this) FTreeView->FComboBox = nullptr;
  if (FListView && FListView->FComboBox == this) FListView->FComboBox = nullptr;
  for (Integer I = 0; I < FItemsEx->Count(); ++I) {
    delete FItemsEx->Items(I)->Data;
    FItemsEx->Items(I)->Data = nullptr;
  }
  FItemsEx->Clear();
  delete FItemsEx;
  FItemsEx = nullptr;
  delete FRootFolder;
  FRootFolder = nullptr;
  delete FImageList;
}

// ---- properties ----

void TbsCustomShellComboBox::SetItemsEx(TbsItemsEx* Value) {
  {
    TbsUpdateScope Update(FItemsEx);
    for (Integer I = 0; I < FItemsEx->Count(); ++I) {
      delete FItemsEx->Items(I)->Data;
      FItemsEx->Items(I)->Data = nullptr;
    }
    FItemsEx->Assign(Value);
  }
  SyncItems();
}

void TbsCustomShellComboBox::SetRoot(const TRoot& Value) {
  if (strcasecmp(Value.c_str(), FRoot.c_str()) == 0) return;
  FOldRoot = FRoot;
  FRoot = Value;
  TbsFlagScope Changing(FRootChanging, true);
  ReloadRoot();
}

void TbsCustomShellComboBox::SetObjectTypes(TShellObjectTypes Value) {
  FObjectTypes = Value;
  ReloadRoot();
}

void TbsCustomShellComboBox::SetShellTreeView(TbsCustomShellTreeView* Value) {
  LinkShellControl(FTreeView, Value, this, FRoot,
                   [this](TbsCustomShellTreeView* T, bool On) { T->FComboBox = On ? this : nullptr; });
}

void TbsCustomShellComboBox::SetShellListView(TbsCustomShellListView* Value) {
  LinkShellControl(FListView, Value, this, FRoot,
                   [this](TbsCustomShellListView* L, bool On) { L->FComboBox = On ? this : nullptr; });
}

void TbsCustomShellComboBox::SetUseShellImages(bool Value) {
  FUseShellImages = Value;
  if (Value && FImageList == nullptr && FImages != nullptr) {
    FImageWidth = FImages->Width();
    FImageHeight = FImages->Height();
  } else if (FImageList != nullptr) {
    FImageWidth = FImageList->Width();
    FImageHeight = FImageList->Height();
  } else {
    FImageWidth = 16;
    FImageHeight = 16;
  }
}

String TbsCustomShellComboBox::Path() const {
  const Integer I = ItemIndex();
  if (I < 0) return String();
  TbsShellFolder* F = Folders(I);
  return F ? F->PathName() : String();
}

void TbsCustomShellComboBox::SetPath(const String& Value) {
  PItemIDList ID = nullptr;
  if (!Succeeded(DesktopIShellFolder()->ParseDisplayName(Value, ID)) || ID == nullptr) {
    FreeItemIDList(ID);
    throw EInvalidPath(Format("Error setting path: \"%s\"", {Value}));
  }
  std::vector<PItemIDList> Held{ID};
  TItemIDListsScope Free(Held);
  ShowFolderID(ID);
}

TbsShellFolder* TbsCustomShellComboBox::Folders(Integer Index) const {
  const Integer Count = FItemsEx->Count();
  if (Count == 0 || Index < 0) return nullptr;
  return FItemsEx->Items(std::min(Index, Count - 1))->Data;
}

// ---- window and loading ----

void TbsCustomShellComboBox::CreateWindowCreated() {
  TbsSkinCustomComboBox::CreateWindowCreated();
  SetUseShellImages(FUseShellImages);
  // A window is made while its form shows: a root that has gone leaves the box empty rather than
  // stopping the form.
  if (FItemsEx->Count() == 0) try {
      LoadRootItems();
    } catch (const Exception&) {
    }
  SyncItems();
}

void TbsCustomShellComboBox::DestroyWnd() {
  ClearFolderItems();
  TbsSkinCustomComboBox::DestroyWnd();
}

void TbsCustomShellComboBox::Loaded() {
  TbsSkinCustomComboBox::Loaded();
  LoadRootItems();
}

void TbsCustomShellComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomComboBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FTreeView) FTreeView = nullptr;
  if (AComponent == FListView) FListView = nullptr;
  if (AComponent == FImageList) FImageList = nullptr;
}

// ---- the outline ----

void TbsCustomShellComboBox::SyncItems() {
  TbsUpdateScope Update(Items());
  Items()->Clear();
  for (Integer I = 0; I < FItemsEx->Count(); ++I) Items()->Add(FItemsEx->Items(I)->Caption);
}

void TbsCustomShellComboBox::ClearFolderItems() {
  {
    TbsUpdateScope Update(FItemsEx);
    for (Integer I = 0; I < FItemsEx->Count(); ++I) {
      delete FItemsEx->Items(I)->Data;
      FItemsEx->Items(I)->Data = nullptr;
    }
    FItemsEx->Clear();
  }
  SyncItems();
}

Integer TbsCustomShellComboBox::FolderImageIndex(TbsShellFolder* Folder) const {
  return FUseShellImages && Folder ? ShellImageIndex(Folder->AbsoluteID(), false, false) : -1;
}

Integer TbsCustomShellComboBox::IndexOfFolderID(PCItemIDList ID) const {
  for (Integer I = FItemsEx->Count() - 1; I >= 0; --I)
    if (TbsShellFolder* F = FItemsEx->Items(I)->Data; F && SameItemIDList(F->AbsoluteID(), ID)) return I;
  return -1;
}

void TbsCustomShellComboBox::insertFolderItem(Integer Index, TbsShellFolder* Folder, bool WithSelectedImage) {
  TbsItemEx* Item = FItemsEx->Insert(Index);
  Item->Caption = Folder->DisplayName();
  Item->Data = Folder;
  Item->Indent = Folder->Level();
  Item->ImageIndex = FolderImageIndex(Folder);
  if (WithSelectedImage) Item->SelectedImageIndex = Item->ImageIndex;
}

void TbsCustomShellComboBox::LoadRootItems() {
  if (ComponentState().Contains(csLoading)) return;
  {
    TbsUpdateScope Update(FItemsEx);
    // Resolved before the entries go: a root that fails keeps the outline it had. Root gets the old
    // text back when it was being changed; a root shown again keeps its own.
    const TRoot Shown = FRoot;
    TbsShellFolder* NewRoot;
    try {
      NewRoot = CreateRootShellFolder(nullptr, FOldRoot, FRoot);
    } catch (const Exception&) {
      if (!FRootChanging) FRoot = Shown;
      throw;
    }
    ClearFolderItems();
    delete FRootFolder;
    FRootFolder = NewRoot;
    auto* RootItem = new TbsShellFolder(nullptr, FRootFolder->AbsoluteID(), FRootFolder->ShellFolder());
    const Integer Image = FolderImageIndex(RootItem);
    FItemsEx->AddItem(RootItem->DisplayName(), Image, Image, 0, RootItem);
    try {
      InitItems();
    } catch (...) {
      SyncItems();
      throw;
    }
    SyncItems();
    SetItemIndex(0);
  }
  if (FUseShellImages) {
    SetUseShellImages(false);
    SetUseShellImages(true);
  }
}

void TbsCustomShellComboBox::InitItems() {
  TbsUpdateScope Update(FItemsEx);
  AddChildItems(0, FRootFolder);
  if (FRoot != "rfDesktop") return;
  PItemIDList Computer = nullptr;
  if (!Succeeded(SHGetSpecialFolderLocation(nullptr, RootFolderCSIDL(rfMyComputer), Computer)) ||
      Computer == nullptr)
    return;
  const Integer I = IndexOfFolderID(Computer);
  FreeItemIDList(Computer);
  if (I >= 0) AddChildItems(I, Folders(I));
}

void TbsCustomShellComboBox::AddChildItems(Integer AIndex, TbsShellFolder* AFolder) {
  // A folder without a folder interface (a file named as the root) has no children to show.
  if (AFolder == nullptr || !AFolder->ShellFolder()) return;
  std::unique_ptr<IEnumIDList> Enum;
  const HRESULT hr = AFolder->ShellFolder()->EnumObjects(ShellObjectFlags(FObjectTypes), Enum);
  if (!Succeeded(hr) || !Enum) raisePlatformError(Succeeded(hr) ? E_FAIL : hr);
  std::vector<PItemIDList> IDs;
  TItemIDListsScope Free(IDs);
  PItemIDList ID = nullptr;
  while (Enum->Next(ID) == S_OK) {
    IDs.push_back(ID);
    ID = nullptr;
  }
  const IShellFolderPtr& SF = AFolder->ShellFolder();
  std::stable_sort(IDs.begin(), IDs.end(),
                   [&SF](PItemIDList A, PItemIDList B) { return int16_t(SF->CompareIDs(0, A, B)) < 0; });
  TbsUpdateScope Update(FItemsEx);
  for (size_t K = 0; K < IDs.size(); ++K)
    insertFolderItem(AIndex + Integer(K) + 1, CreateChildFolder(AFolder, IDs[K]), true);
}

void TbsCustomShellComboBox::ShowFolderID(PCItemIDList ID) {
  TbsUpdateScope Update(FItemsEx);
  LoadRootItems();
  std::vector<PItemIDList> Chain = ItemIDChain(ID);
  TItemIDListsScope Free(Chain);
  Integer I = -1;
  size_t Found = Chain.size();
  for (size_t K = Chain.size(); K-- > 0;) {
    I = IndexOfFolderID(Chain[K]);
    if (I >= 0) {
      Found = K;
      break;
    }
  }
  if (I < 0) return;
  const auto addChild = [this, &I](PCItemIDList Full) {
    PItemIDList Last = LastItemIDCopy(Full);
    TbsShellFolder* Folder = CreateChildFolder(Folders(I), Last);
    FreeItemIDList(Last);
    insertFolderItem(I + 1, Folder, false);
    ++I;
  };
  for (size_t K = Found + 1; K < Chain.size(); ++K) addChild(Chain[K]);
  Integer V = IndexOfFolderID(ID);
  if (V < 0) {
    addChild(ID);
    V = I;
  }
  SyncItems();
  SetItemIndex(V);
}

void TbsCustomShellComboBox::FollowFolderID(PCItemIDList ID) {
  if (FUpdating) return;
  if (ItemIndex() >= 0)
    if (TbsShellFolder* F = Folders(ItemIndex()); F && SameItemIDList(F->AbsoluteID(), ID)) return;
  TbsFlagScope Updating(FUpdating, true);
  // The caller is in the middle of its own move, which must not stop because this box cannot show
  // its root again; the outline then stays as it was.
  try {
    ShowFolderID(ID);
  } catch (const Exception&) {
  }
}

void TbsCustomShellComboBox::ReloadRoot() {
  TbsFlagScope Updating(FUpdating, true);
  // LoadRootItems clears the entries itself once the new root is resolved.
  if (ComponentState().Contains(csLoading))
    ClearFolderItems();
  else
    LoadRootItems();
  if (FTreeView) FTreeView->SetRoot(FRoot);
  if (FListView) FListView->SetRoot(FRoot);
}

void TbsCustomShellComboBox::Change() {
  if (FItemsEx->UpdateCount() > 0) return;
  TbsSkinCustomComboBox::Change();
  if (ItemIndex() < 0 || FUpdating || IsPopupVisible()) return;
  TbsShellFolder* F = Folders(ItemIndex());
  if (F == nullptr) return;
  TbsFlagScope Updating(FUpdating, true);
  if (FTreeView) FTreeView->SelectFolderID(F->AbsoluteID());
  if (FListView) FListView->FollowFolderID(F->AbsoluteID());
}

// ---- drawing ----

void TbsCustomShellComboBox::DrawComboItem(TCanvas* Cnvs, Integer Index, Integer, Integer, TRect TxtRect,
                                           TOwnerDrawState) {
  drawEntry(Cnvs, Index, TxtRect, 0);
}

void TbsCustomShellComboBox::DrawListItem(TCanvas* Cnvs, Integer Index, Integer, Integer, TRect TxtRect,
                                          TOwnerDrawState) {
  const Integer Indent = Index >= 0 && Index < FItemsEx->Count() ? FItemsEx->Items(Index)->Indent : 0;
  drawEntry(Cnvs, Index, TxtRect, Indent * FImageWidth / 2);
}

void TbsCustomShellComboBox::drawEntry(TCanvas* Cnvs, Integer Index, TRect TxtRect, Integer Shift) {
  if (Index < 0 || Index >= Items()->Count()) return;
  Integer X = TxtRect.Left + Shift;
  if (FImages != nullptr) {
    const Integer Image = Index < FItemsEx->Count() ? FItemsEx->Items(Index)->ImageIndex : -1;
    if (Image >= 0)
      FImages->DrawEx(Image, Cnvs->Handle(), X, TxtRect.Top + (RectHeight(TxtRect) - FImageHeight) / 2, 0, 0,
                      CLR_NONE, CLR_NONE, ILD_NORMAL);
    X += FImageWidth + 4;
  }
  Cnvs->Brush()->SetStyle(bsClear);
  Integer Y = TxtRect.Top + RectHeight(TxtRect) / 2 - Cnvs->TextHeight("Wg") / 2;
  if (Cnvs->Font()->Height() % 2 != 0) --Y;
  Cnvs->TextOut(X, Y, Items()->Strings(Index));
}
