#include "skin/shell/bsshelllistview.h"

#include <strings.h>

#include <algorithm>

#include "platform/rtl/datetime.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"
#include "skin/core/bsstrings.h"
#include "skin/shell/bsshellpathcombobox.h"
#include "skin/shell/bsshellviewparts.h"

namespace {

bool sameText(const String& A, const String& B) {
  return strcasecmp(A.c_str(), B.c_str()) == 0;
}
}  // namespace

TbsCustomShellListView::TbsCustomShellListView(TComponent* AOwner) : TbsSkinCustomListView(AOwner) {
  SetOwnerData(true);
  SetHideSelection(false);
  // The list answers the control's item requests itself.
  OnData = [this](TObject*, TListItem* Item) { fetchItem(Item); };
}

TbsCustomShellListView::~TbsCustomShellListView() {
  FDestroying = true;
  FNotifier.reset();
  if (FTreeView && FTreeView->FListView == this) FTreeView->FListView = nullptr;
  if (FComboBox && FComboBox->FListView == this) FComboBox->FListView = nullptr;
  ClearFolders();
  delete FRootFolder;
}

// ---- properties ----
void TbsCustomShellListView::SetRoot(const TRoot& Value) {
  if (sameText(Value, FRoot)) return;
  FOldRoot = FRoot;
  FRoot = Value;
  LoadRoot();
  FSettingRoot = true;
  RebuildListing();
}

void TbsCustomShellListView::SetPath(const String& Value) {
  PItemIDList ID = nullptr;
  if (!Succeeded(DesktopIShellFolder()->ParseDisplayName(Value, ID)) || ID == nullptr) {
    FreeItemIDList(ID);
    throw EInvalidPath(Format("Error setting path: \"%s\"", {Value}));
  }
  OpenFolderID(ID);
  FreeItemIDList(ID);
}

void TbsCustomShellListView::SetMask(const String& Value) {
  if (Value == FMask) return;
  FMask = Value;
  RebuildListing();
}

void TbsCustomShellListView::SetObjectTypes(TShellObjectTypes Value) {
  FObjectTypes = Value;
  if (!loadingState()) RebuildListing();
}

void TbsCustomShellListView::SetSorted(bool Value) {
  if (Value == FSorted) return;
  FSorted = Value;
  EnumerateFolder();
}

void TbsCustomShellListView::SetAutoRefresh(bool Value) {
  FAutoRefresh = Value;
  if (loadingState()) return;
  ReplaceFolderNotifier(FNotifier, Value, FRootFolder ? FRootFolder->PathName() : String(),
                        [this] { Refresh(); });
}

void TbsCustomShellListView::SetViewStyle(TViewStyle Value) {
  TbsSkinCustomListView::SetViewStyle(Value);
  if (Value == vsReport) BuildReportColumns();
}

void TbsCustomShellListView::SetShellTreeView(TbsCustomShellTreeView* Value) {
  LinkShellControl(FTreeView, Value, this, FRoot,
                   [this](TbsCustomShellTreeView* T, bool On) { T->FListView = On ? this : nullptr; });
}

void TbsCustomShellListView::SetShellComboBox(TbsCustomShellComboBox* Value) {
  LinkShellControl(FComboBox, Value, this, FRoot,
                   [this](TbsCustomShellComboBox* C, bool On) { C->FListView = On ? this : nullptr; });
}

void TbsCustomShellListView::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomListView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FTreeView) FTreeView = nullptr;
  if (AComponent == FComboBox) FComboBox = nullptr;
}

// ---- window and loading ----
void TbsCustomShellListView::CreateWindowCreated() {
  TbsSkinCustomListView::CreateWindowCreated();
  if (TCustomImageList* Small = SHGetSystemImageList(false))
    Perform(LVM_SETIMAGELIST, LVSIL_SMALL, LPARAM(Small));
  if (TCustomImageList* Large = SHGetSystemImageList(true))
    Perform(LVM_SETIMAGELIST, LVSIL_NORMAL, LPARAM(Large));
  if (!FRootLoaded) LoadRoot();
  RebuildListing();
}

void TbsCustomShellListView::DestroyWnd() {
  ClearFolders();
  TbsSkinCustomListView::DestroyWnd();
}

void TbsCustomShellListView::Loaded() {
  TbsSkinCustomListView::Loaded();
  EnumerateFolder();
  SetAutoRefresh(FAutoRefresh);
}

void TbsCustomShellListView::LoadRoot() {
  FRootLoaded = true;
  FRootFolder = CreateRootShellFolder(FRootFolder, FOldRoot, FRoot);
}

void TbsCustomShellListView::ClearFolders() {
  if (!FDestroying) Items()->SetCount(0);
  for (TbsShellFolder* F : FFolders) delete F;
  FFolders.clear();
}

// ---- navigation ----
void TbsCustomShellListView::OpenFolderID(PCItemIDList ID) {
  if (FUpdating) return;
  if (FRootFolder && SameItemIDList(FRootFolder->AbsoluteID(), ID)) return;
  // The identifier may be the root folder's own: the new folder is made before the old one goes.
  TbsShellFolder* Fresh = ShellFolderFromID(ID);
  ClearFolders();
  delete FRootFolder;
  FRootFolder = Fresh;
  FSettingRoot = false;
  RebuildListing();
  if (OnPathChanged) OnPathChanged(this);
}

void TbsCustomShellListView::FollowFolderID(PCItemIDList ID) {
  if (FUpdating) return;
  if (FRootFolder && SameItemIDList(FRootFolder->AbsoluteID(), ID)) return;
  OpenFolderID(ID);
}

void TbsCustomShellListView::RebuildListing() {
  if (FUpdating) return;
  TbsFlagScope Updating(FUpdating, true);
  const bool Refreshing = FAutoRefresh;
  SetAutoRefresh(false);
  UpdateLinkedControls();
  EnumerateFolder();
  if (ViewStyle() == vsReport) BuildReportColumns();
  SetAutoRefresh(Refreshing);
}

void TbsCustomShellListView::UpdateLinkedControls() {
  if (FSettingRoot) {
    if (FTreeView) FTreeView->SetRoot(FRoot);
  } else if (FRootFolder) {
    if (FTreeView) FTreeView->SelectFolderID(FRootFolder->AbsoluteID());
    if (FComboBox) FComboBox->FollowFolderID(FRootFolder->AbsoluteID());
  }
  FSettingRoot = false;
}

void TbsCustomShellListView::Back() {
  if (FRootFolder == nullptr) return;
  PItemIDList ID = CopyItemIDList(FRootFolder->AbsoluteID());
  StripLastItemID(ID);
  OpenFolderID(ID);
  FreeItemIDList(ID);
}

void TbsCustomShellListView::Refresh() {
  if (FRootFolder == nullptr) return;
  const Integer Index = ItemIndex();
  SetItemIndex(-1);
  PItemIDList ID = CopyItemIDList(FRootFolder->AbsoluteID());
  ClearFolders();
  delete FRootFolder;
  FRootFolder = nullptr;
  OpenFolderID(ID);
  FreeItemIDList(ID);
  if (Index >= 0 && Index < Items()->Count()) SetItemIndex(Index);
}

// ---- listing ----
bool TbsCustomShellListView::maskAccepts(const TbsShellFolder* Folder) const {
  const String Name = ExtractFileName(Folder->FullObjectName());
  size_t Start = 0;
  while (Start <= FMask.size()) {
    size_t End = FMask.find_first_of(";|", Start);
    if (End == String::npos) End = FMask.size();
    const String Piece = FMask.substr(Start, End - Start);
    if (Piece.find('.') != String::npos ? MatchesMask(Name, Piece) : Piece == "*") return true;
    Start = End + 1;
  }
  return false;
}

void TbsCustomShellListView::EnumerateFolder() {
  if ((loadingState() && !HandleAllocated()) || FRootFolder == nullptr) return;
  Items()->BeginUpdate();
  ClearFolders();
  if (HandleAllocated()) {
    Perform(WM_VSCROLL, SB_TOP, 0);
    Perform(WM_HSCROLL, SB_TOP, 0);
  }
  TbsHourGlass Wait;
  String Longest;
  std::unique_ptr<IEnumIDList> Enum;
  IShellFolderPtr SF = FRootFolder->ShellFolder();
  if (SF && Succeeded(SF->EnumObjects(ShellObjectFlags(FObjectTypes), Enum)) && Enum) {
    PItemIDList ID = nullptr;
    while (Enum->Next(ID) == S_OK) {
      TbsShellFolder* F = CreateChildFolder(FRootFolder, ID);
      FreeItemIDList(ID);
      ID = nullptr;
      bool CanAdd = F->IsFolder() || maskAccepts(F);
      if (OnAddFolder) OnAddFolder(this, F, CanAdd);
      if (!CanAdd) {
        delete F;
        continue;
      }
      FFolders.push_back(F);
      const String Name = F->DisplayName();
      if (Utf8Length(Name) > Utf8Length(Longest)) Longest = Name;
    }
    FreeItemIDList(ID);
  }
  Items()->SetCount(Integer(FFolders.size()));
  if (FSorted) {
    FSort = TSortContext{false, FRootFolder, 0, -1, false};
    sortFolders();
    FSort.Root = nullptr;
  }
  Items()->EndUpdate();
  FLongestName = Longest;
  fitListColumn();
}

void TbsCustomShellListView::fitListColumn() {
  // Without a window yet nothing is drawn; the window's own listing fits the column.
  if (ViewStyle() != vsList || FLongestName.empty() || !HandleAllocated()) return;
  // Measured in the font the names are drawn in, which a skin may change after the listing.
  Canvas()->Font()->Assign(Font());
  const Integer Natural = Canvas()->TextWidth(FLongestName) + 32;
  // A name longer than the list is cut with the ellipsis where the list ends, not at its edge.
  const Integer W = ClientWidth() > 0 ? std::min(Natural, ClientWidth()) : Natural;
  if (Perform(LVM_GETCOLUMNWIDTH, 0, 0) != W) Perform(LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(W, 0));
}

void TbsCustomShellListView::Resize() {
  TbsSkinCustomListView::Resize();
  fitListColumn();
}

void TbsCustomShellListView::CMFontChanged(TMessage& Message) {
  TbsSkinCustomListView::CMFontChanged(Message);
  fitListColumn();
}

void TbsCustomShellListView::sortFolders() {
  std::stable_sort(FFolders.begin(), FFolders.end(),
                   [this](TbsShellFolder* A, TbsShellFolder* B) { return CompareFolders(A, B) < 0; });
}

Integer TbsCustomShellListView::CompareFolders(TbsShellFolder* A, TbsShellFolder* B) const {
  if (A == nullptr || B == nullptr) return 0;
  const bool FA = A->IsFolder(), FB = B->IsFolder();
  Integer R = Integer(FB) - Integer(FA);
  if (R == 0 && A->Parent())
    if (IShellFolderPtr P = A->ParentShellFolder())
      R = Integer(int16_t(P->CompareIDs(0, A->RelativeID(), B->RelativeID())));
  if (!FSort.Active) return R;
  Integer Result = R;
  bool ByColumn = true;
  if (FSort.Column != 0) {
    A->LoadColumnDetails(FSort.Root, FSort.Handle, 4);
    B->LoadColumnDetails(FSort.Root, FSort.Handle, 4);
    // Only a listing whose modified column holds times sorts by its other columns.
    ByColumn = A->Details(3).find(':') != String::npos;
  }
  if (ByColumn) {
    if (FA && !FB) {
      Result = -1;
    } else if (FB && !FA) {
      Result = 1;
    } else {
      switch (FSort.Column) {
        case 0:
          Result = AnsiCompareText(A->DisplayName(), B->DisplayName());
          break;
        case 1:
          if (!FA) {
            const Int64 SA = FindDataSize(A->FindData()), SB = FindDataSize(B->FindData());
            Result = SA == SB ? 0 : (SA > SB ? 1 : -1);
          }
          break;
        case 2:
          Result = AnsiCompareText(A->Details(2), B->Details(2));
          break;
        case 3: {
          const Int64 TA = A->FindData().LastWrite, TB = B->FindData().LastWrite;
          Result = TA == TB ? 0 : (TA > TB ? 1 : -1);
          break;
        }
        default:
          break;
      }
    }
  }
  return FSort.Descending ? -Result : Result;
}

void TbsCustomShellListView::ColClick(TListColumn* Column) {
  TbsSkinCustomListView::ColClick(Column);
  if (Columns()->Count() < 4 && Column->Index() != 0) return;
  FOldSortColumn = FSortColumn;
  FSortColumn = Column->Index();
  FSortDirection = (FSortColumn == FOldSortColumn && FSortColumn != -1) ? !FSortDirection : false;
  FSort = TSortContext{true, FRootFolder, Cardinal(reinterpret_cast<uintptr_t>(Handle())), FSortColumn,
                       FSortDirection};
  struct TClear {
    TSortContext& C;
    ~TClear() {
      C.Active = false;
      C.Root = nullptr;
    }
  } Clear{FSort};
  Items()->BeginUpdate();
  try {
    sortFolders();
  } catch (...) {
    Items()->EndUpdate();
    throw;
  }
  Items()->EndUpdate();
}

void TbsCustomShellListView::BuildReportColumns() {
  if (FRootFolder == nullptr || !FRootFolder->ShellFolder()) return;
  Columns()->BeginUpdate();
  Columns()->Clear();
  FRootFolder->SetViewHandle(HandleAllocated() ? Cardinal(reinterpret_cast<uintptr_t>(Handle())) : 0);
  std::vector<String> Added;
  Canvas()->Font()->Assign(Font());
  const Integer XWidth = Canvas()->TextWidth("X");
  // False when the caption was already there (the caller decides whether that ends its loop).
  const auto add = [&](const SHELLDETAILS& D) {
    const String Caption = StrRetText(nullptr, D.str);
    if (Caption.empty()) return true;
    for (const String& S : Added)
      if (sameText(S, Caption)) return false;
    Added.push_back(Caption);
    TListColumn* C = Columns()->Add();
    C->SetCaption(Caption);
    C->SetAlignment(D.fmt == 1 ? taRightJustify : (D.fmt == 2 ? taCenter : taLeftJustify));
    C->SetWidth(XWidth * D.cxChar);
    return true;
  };
  if (IShellFolder2Ptr SF2 = FRootFolder->ShellFolder2()) {
    bool SeenOnByDefault = false;
    for (UINT N = 0;; ++N) {
      SHELLDETAILS D;
      if (SF2->GetDetailsOf(nullptr, N, D) != S_OK) break;
      Cardinal State = 0;
      SF2->GetDefaultColumnState(N, State);
      if (State & SHCOLSTATE_ONBYDEFAULT)
        SeenOnByDefault = true;
      else if (SeenOnByDefault)
        break;
      add(D);
    }
  } else if (IShellDetailsPtr SD = FRootFolder->ShellDetails()) {
    for (UINT N = 0;; ++N) {
      SHELLDETAILS D;
      if (!Succeeded(SD->GetDetailsOf(nullptr, N, D)) || !add(D)) break;
    }
  } else {
    struct TDefault {
      const char* Key;
      const char* Fallback;
      TAlignment Align;
      Integer Chars;
    };
    static const TDefault Defaults[] = {{"FLV_NAME", "Name", taLeftJustify, 25},
                                        {"FLV_SIZE", "Size", taRightJustify, 10},
                                        {"FLV_TYPE", "Type", taLeftJustify, 10},
                                        {"FLV_MODIFIED", "Modified", taLeftJustify, 14}};
    const Integer Count = FRootFolder->Properties().Contains(fpFileSystem) ? 4 : 1;
    TbsResourceStrData* Strings = SkinData() ? SkinData()->ResourceStrData() : nullptr;
    for (Integer I = 0; I < Count; ++I) {
      TListColumn* C = Columns()->Add();
      C->SetCaption(Strings ? Strings->GetResStr(Defaults[I].Key) : String(Defaults[I].Fallback));
      C->SetAlignment(Defaults[I].Align);
      C->SetWidth(XWidth * Defaults[I].Chars);
    }
  }
  Columns()->EndUpdate();
}

void TbsCustomShellListView::fetchItem(TListItem* Item) {
  const Integer I = Item->Index();
  if (I < 0 || I >= Integer(FFolders.size())) return;
  TbsShellFolder* F = FFolders[size_t(I)];
  Item->SetCaption(F->DisplayName());
  Item->SetImageIndex(F->ImageIndex(ViewStyle() == vsIcon));
  if (ViewStyle() != vsReport) return;
  F->LoadColumnDetails(FRootFolder, HandleAllocated() ? Cardinal(reinterpret_cast<uintptr_t>(Handle())) : 0,
                       Columns()->Count());
  Item->SubItems()->Clear();
  for (Integer C = 1; C < Columns()->Count(); ++C) Item->SubItems()->Add(F->Details(C));
}

Integer TbsCustomShellListView::FindItem(const String& FindString, Integer StartIndex, bool Wrap) const {
  const Integer Count = Integer(FFolders.size());
  if (StartIndex == -1 || Count == 0) return -1;
  const String Wanted = UpperCase(FindString);
  Integer I = StartIndex;
  for (;;) {
    if (I >= Count) {
      if (!Wrap) return -1;
      I = 0;
    }
    if (I >= 0 && UpperCase(FFolders[size_t(I)]->DisplayName()).rfind(Wanted, 0) == 0) return I;
    ++I;
    if (I == StartIndex) return -1;
  }
}

Integer TbsCustomShellListView::OwnerDataFind(TItemFind Find, const String& FindString, const TPoint&, void*,
                                              Integer StartIndex, TSearchDirection, bool Wrap) {
  if (Find != ifPartialString && Find != ifExactString) return -1;
  return FindItem(FindString, StartIndex, Wrap);
}

// ---- selection ----
TbsShellFolder* TbsCustomShellListView::SelectedFolder() const {
  const Integer I = ItemIndex();
  return I >= 0 && I < Integer(FFolders.size()) ? FFolders[size_t(I)] : nullptr;
}

String TbsCustomShellListView::GetSelectedFile() const {
  TbsShellFolder* F = SelectedFolder();
  return F && !F->IsFolder() ? F->FullObjectName() : String();
}

void TbsCustomShellListView::GetSelectedFiles(TStrings* AFiles) const {
  AFiles->Clear();
  for (TListItem* Item = GetNextItem(nullptr, LVNI_SELECTED); Item; Item = GetNextItem(Item, LVNI_SELECTED)) {
    TbsShellFolder* F = Folders(Item->Index());
    if (F && !F->IsFolder()) AFiles->Add(F->FullObjectName());
  }
}

TbsShellFolder* TbsCustomShellListView::Folders(Integer Index) const {
  if (FFolders.empty() || Index < 0 || Index >= Integer(FFolders.size())) return nullptr;
  return FFolders[size_t(Index)];
}

void TbsCustomShellListView::RenameSelected() {
  if (TListItem* Item = Selected()) Item->EditCaption();
}

// ---- user input ----
void TbsCustomShellListView::KeyDown(Word& Key, TShiftState Shift) {
  TbsSkinCustomListView::KeyDown(Key, Shift);
  if (!FAutoNavigate) return;
  switch (Key) {
    case VK_BACK:
      if (!IsEditing()) Back();
      break;
    case VK_RETURN:
      if (Shift.Contains(ssAlt)) {
        InvokeShellVerb(SelectedFolder(), "properties");
        Key = 0;
      } else if (TbsShellFolder* F = SelectedFolder(); F && F->IsFolder()) {
        PItemIDList ID = CopyItemIDList(F->AbsoluteID());
        OpenFolderID(ID);
        FreeItemIDList(ID);
      }
      break;
    case VK_F5:
      Refresh();
      break;
    default:
      break;
  }
}

void TbsCustomShellListView::DblClick() {
  if (FAutoNavigate)
    if (TbsShellFolder* F = SelectedFolder(); F && F->IsFolder()) {
      PItemIDList ID = CopyItemIDList(F->AbsoluteID());
      OpenFolderID(ID);
      FreeItemIDList(ID);
    }
  TbsSkinCustomListView::DblClick();
}

bool TbsCustomShellListView::CanEdit(TListItem*) {
  return true;
}

void TbsCustomShellListView::Edit(TListItem* Item, String& S) {
  const Integer I = Item ? Item->Index() : -1;
  if (I < 0 || I >= Integer(FFolders.size())) return;
  FFolders[size_t(I)]->Rename(S);
  Perform(LVM_REDRAWITEMS, WPARAM(I), LPARAM(I));
  if (FTreeView && FTreeView->Selected()) FTreeView->Refresh(FTreeView->Selected());
}

// ---- shell commands ----
void TbsCustomShellListView::ExecuteCommand(const String& Verb, bool& Handled) {
  if (sameText(Verb, "rename")) {
    RenameSelected();
    Handled = true;
  } else if (sameText(Verb, "open")) {
    FSavePath = GetCurrentDir();
    if (TbsShellFolder* F = SelectedFolder()) SetCurrentDir(ExtractFileDir(F->PathName()));
  }
}

void TbsCustomShellListView::CommandCompleted(const String& Verb, bool Succeeded) {
  if (!Succeeded) return;
  if (sameText(Verb, "delete") || sameText(Verb, "paste"))
    Refresh();
  else if (sameText(Verb, "open"))
    SetCurrentDir(FSavePath);
}
