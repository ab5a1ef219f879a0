#include "skin/shell/bsskinfilelists.h"

#include <sys/stat.h>

#include <algorithm>

#include "platform/rtl/files.h"
#include "platform/rtl/strings.h"
#include "platform/shell/shellnamespace.h"
#include "platform/ui/core/screen.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/core/bsdraw.h"
#include "skin/shell/bsskinfiltercombobox.h"

namespace {

// A folder picture of the system image list on a 16 x 15 bitmap keyed on its bottom-left pixel.
std::unique_ptr<TBitmap> folderPicture(TShellIcon Icon) {
  auto B = std::make_unique<TBitmap>();
  B->SetSize(16, 15);
  B->Canvas()->Brush()->SetColor(TColor(0xFF00FF));
  B->Canvas()->FillRect(Rect(0, 0, 16, 15));
  SHGetSystemImageList(false)->Draw(B->Canvas(), 0, 0, Integer(Icon));
  B->Canvas()->SetPixels(0, 14, TColor(0xFF00FF));
  return B;
}

// The picture copied with its bottom-left colour transparent, centred vertically in R.
void drawKeyedPicture(TCanvas* Cnvs, TBitmap* Picture, Integer Left, const TRect& R) {
  TBitmap Copy;
  Copy.Assign(Picture);
  Copy.SetTransparentColor(Picture->Canvas()->Pixels(0, Picture->Height() - 1));
  Copy.SetTransparent(true);
  Cnvs->Draw(Left, (R.Top + R.Bottom - Picture->Height()) / 2, &Copy);
}

class TbsEntryName : public TObject {
 public:
  explicit TbsEntryName(String B) : Bytes(std::move(B)) {}
  String Bytes;
};

// Case-insensitive comparison of file names (0 = equal).
Integer sameNameText(const String& A, const String& B) {
  return AnsiCompareText(A, B);
}

}  // namespace

// ---- folder list ----

TbsSkinDirectoryListBox::TbsSkinDirectoryListBox(TComponent* AOwner) : TbsSkinListBox(AOwner) {
  OnDrawItem = [this](TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight, TRect TxtRect,
                      TOwnerDrawState State) {
    DrawFolderItem(Cnvs, Index, ItemWidth, ItemHeight, TxtRect, State);
  };
  SetWidth(145);
  SetSorted(false);
  LoadFolderBitmaps();
  FDirectory = GetCurrentDir();
}

TbsSkinDirectoryListBox::~TbsSkinDirectoryListBox() {
  if (FFileList != nullptr) FFileList->FDirList = nullptr;
}

void TbsSkinDirectoryListBox::LoadFolderBitmaps() {
  ClosedBMP = folderPicture(siFolder);
  OpenedBMP = folderPicture(siFolderOpen);
  CurrentBMP = folderPicture(siFolderOpen);
}

void TbsSkinDirectoryListBox::CreateWnd() {
  TbsSkinListBox::CreateWnd();
  FillFolders();
}

void TbsSkinDirectoryListBox::Loaded() {
  TbsSkinListBox::Loaded();
  if (ComponentState().Contains(csDesigning)) {
    FDirectory = GetCurrentDir();
    FillFolders();
  }
}

void TbsSkinDirectoryListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinListBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FFileList) FFileList = nullptr;
  if (AComponent == FDirLabel) FDirLabel = nullptr;
}

void TbsSkinDirectoryListBox::SetFileList(TbsSkinFileListBox* Value) {
  if (FFileList != nullptr) FFileList->FDirList = nullptr;
  FFileList = Value;
  if (Value != nullptr) {
    Value->FDirList = this;
    Value->FreeNotification(this);
  }
}

void TbsSkinDirectoryListBox::SetDirLabel(TbsSkinStdLabel* Value) {
  FDirLabel = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  UpdateDirLabel();
}

String TbsSkinDirectoryListBox::DisplayCase(const String& S) const {
  return FPreserveCase || FCaseSensitive ? S : LowerCase(S);
}

Integer TbsSkinDirectoryListBox::FileCompareText(const String& A, const String& B) const {
  if (FCaseSensitive) return A.compare(B);
  return sameNameText(A, B);
}

void TbsSkinDirectoryListBox::SetDirectory(const String& Value) {
  if (Value.empty() || FileCompareText(Value, FDirectory) == 0) return;
  EnterFolder(Value);
}

void TbsSkinDirectoryListBox::EnterFolder(const String& Folder) {
  String Dir, FilePart;
  SplitEditPath(FDirectory, Folder, Dir, FilePart);
  FDirectory = Dir;
  FillFolders();
  FolderChanged();
}

void TbsSkinDirectoryListBox::FolderChanged() {
  if (FFileList != nullptr) FFileList->ChangeDirectory(FDirectory);
  UpdateDirLabel();
  if (OnChange) OnChange(this);
}

void TbsSkinDirectoryListBox::UpdateFolders() {
  FillFolders();
  FolderChanged();
}

void TbsSkinDirectoryListBox::UpdateDirLabel() {
  if (FDirLabel == nullptr) return;
  TBitmap B;
  B.SetSize(1, 1);
  B.Canvas()->SetFont(FDirLabel->Font());
  const Integer MaxWidth = FDirLabel->AutoSize() ? Width() : FDirLabel->Width();
  FDirLabel->SetCaption(ShortenPathToWidth(ShellDisplayText(FDirectory), B.Canvas(), MaxWidth));
}

void TbsSkinDirectoryListBox::FillFolders() {
  SetStopUpDateHScrollBar(true);
  Items()->BeginUpdate();
  try {
    Items()->Clear();
    FItemBytes.clear();
    // Linux file systems keep the case of names and tell them apart by it.
    FPreserveCase = true;
    FCaseSensitive = true;
    Items()->AddObject("/", OpenedBMP.get());
    FItemBytes.push_back("/");
    String Walked;
    size_t Start = 1;
    while (Start < FDirectory.size()) {
      size_t End = FDirectory.find('/', Start);
      if (End == String::npos) End = FDirectory.size();
      const String Piece = FDirectory.substr(Start, End - Start);
      Walked += "/" + Piece;
      Items()->AddObject(ShellDisplayText(Piece), OpenedBMP.get());
      FItemBytes.push_back(Walked);
      Start = End + 1;
    }
    FCurrent = Items()->Count() - 1;
    Items()->SetObjects(FCurrent, CurrentBMP.get());
    std::vector<TbsFolderEntry> Entries;
    String Error;
    // A folder that cannot be read shows no subfolders.
    ReadFolderEntries(FDirectory, Entries, Error);
    Entries.erase(
        std::remove_if(Entries.begin(), Entries.end(), [](const TbsFolderEntry& E) { return !E.Folder; }),
        Entries.end());
    std::sort(Entries.begin(), Entries.end(), [](const TbsFolderEntry& A, const TbsFolderEntry& B) {
      return ShellCompareNames(A.Bytes, B.Bytes) < 0;
    });
    for (const TbsFolderEntry& E : Entries) {
      Items()->AddObject(E.Display, ClosedBMP.get());
      FItemBytes.push_back(E.Bytes);
    }
  } catch (...) {
    Items()->EndUpdate();
    SetStopUpDateHScrollBar(false);
    throw;
  }
  Items()->EndUpdate();
  SetStopUpDateHScrollBar(false);
  if (HandleAllocated()) {
    SetItemIndex(FCurrent);
    UpDateScrollBar();
  }
}

String TbsSkinDirectoryListBox::GetItemPath(Integer Index) {
  if (Index < 0 || Index >= Items()->Count() || Index >= Integer(FItemBytes.size())) return {};
  if (Index > FCurrent) return JoinPath(FDirectory, FItemBytes[size_t(Index)]);
  if (Index == FCurrent) return FDirectory;
  return FItemBytes[size_t(Index)];
}

void TbsSkinDirectoryListBox::OpenCurrent() {
  if (ItemIndex() < 0) return;
  SetDirectory(GetItemPath(ItemIndex()));
}

void TbsSkinDirectoryListBox::ListBoxDblClick() {
  TbsSkinListBox::ListBoxDblClick();
  OpenCurrent();
}

void TbsSkinDirectoryListBox::ListBoxKeyPress(char32_t& Key) {
  TbsSkinListBox::ListBoxKeyPress(Key);
  if (Key == 13) OpenCurrent();
}

Integer TbsSkinDirectoryListBox::indentOf(Integer Index) const {
  if (Index > FCurrent) return (FCurrent + 1) * 4 + 2;
  return Index * 4 + 2;
}

Integer TbsSkinDirectoryListBox::GetItemWidth(Integer Index, TCanvas* Cnvs) {
  const Integer W = TbsSkinListBox::GetItemWidth(Index, Cnvs);
  auto* Picture = dynamic_cast<TBitmap*>(Items()->Objects(Index));
  if (Picture == nullptr) return W + 22 + Index * 4;
  return W + Picture->Width() + indentOf(Index) + 4;
}

void TbsSkinDirectoryListBox::DrawFolderItem(TCanvas* Cnvs, Integer Index, Integer, Integer, TRect TxtRect,
                                             TOwnerDrawState) {
  Integer W = 16;
  Integer Indent = Index * 4 + 2;
  const Integer Offset = ListBox->HorizontalExtentValue();
  if (auto* Picture = dynamic_cast<TBitmap*>(Items()->Objects(Index))) {
    Indent = indentOf(Index);
    W = Picture->Width();
    drawKeyedPicture(Cnvs, Picture, TxtRect.Left + Indent - Offset, TxtRect);
  }
  Cnvs->Brush()->SetStyle(bsClear);
  TextRectLeftIndent(Cnvs, Items()->Strings(Index), TxtRect, W + Indent - Offset + 4);
}

// ---- file list ----

TbsSkinFileListBox::TbsSkinFileListBox(TComponent* AOwner) : TbsSkinListBox(AOwner) {
  SetWidth(145);
  FDirectory = GetCurrentDir();
  SetMultiSelect(false);
  SetSorted(true);
}

TbsSkinFileListBox::~TbsSkinFileListBox() {
  if (FDirList != nullptr) FDirList->FFileList = nullptr;
  Items()->Clear();
}

void TbsSkinFileListBox::CreateWnd() {
  TbsSkinListBox::CreateWnd();
  FillFiles();
}

void TbsSkinFileListBox::Loaded() {
  TbsSkinListBox::Loaded();
  if (ComponentState().Contains(csDesigning)) {
    FDirectory = GetCurrentDir();
    FillFiles();
  }
}

void TbsSkinFileListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinListBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FFileEdit) FFileEdit = nullptr;
  if (AComponent == FDirList) FDirList = nullptr;
  if (AComponent == FFilterCombo) FFilterCombo = nullptr;
}

void TbsSkinFileListBox::SetMask(const String& Value) {
  if (Value == FMask) return;
  FMask = Value;
  FillFiles();
}

void TbsSkinFileListBox::SetFileType(TbsFileType Value) {
  if (Value == FFileType) return;
  FFileType = Value;
  FillFiles();
}

void TbsSkinFileListBox::SetFileEdit(TEdit* Value) {
  FFileEdit = Value;
  if (Value == nullptr) return;
  Value->FreeNotification(this);
  const String Name = GetSelectedName();
  Value->SetText(Name.empty() ? FMask : Name);
}

namespace {

// The attribute bits of an entry as a file search reports them.
Cardinal entryAttributes(const TbsFolderEntry& E) {
  Cardinal A = 0;
  if (E.ReadOnly) A |= 0x01;
  if (E.Hidden) A |= 0x02;
  A |= E.Folder ? 0x10 : 0x20;
  return A;
}

}  // namespace

void TbsSkinFileListBox::FillFiles() {
  if (!HandleAllocated()) return;
  static constexpr Cardinal Bits[] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0};
  Cardinal A = 0;
  for (Integer i = bsftReadOnly; i <= bsftNormal; ++i)
    if (FFileType.Contains(TbsFileAttr(i))) A |= Bits[i];
  std::vector<TbsFolderEntry> Entries;
  String Error;
  const String Dir = EnterablePath(FDirectory, ".");
  if (!ReadFolderEntries(Dir, Entries, Error)) Entries.clear();
  Clear();
  FNames.clear();
  const TCursor Saved = Screen->Cursor();
  try {
    // A search leaves out hidden entries and folders unless asked for them.
    const Cardinal Excluded = ~A & (0x02 | 0x04 | 0x08 | 0x10);
    auto add = [&](const String& Shown, const String& Bytes) {
      FNames.push_back(std::make_unique<TbsEntryName>(Bytes));
      if (Items()->AddObject(Shown, FNames.back().get()) == 100) Screen->SetCursor(crHourGlass);
    };
    size_t Start = 0;
    while (Start <= FMask.size()) {
      size_t End = FMask.find(';', Start);
      if (End == String::npos) End = FMask.size();
      const String Pattern = FMask.substr(Start, End - Start);
      Start = End + 1;
      if (Pattern.empty()) continue;
      if ((A & 0x10) != 0)
        for (const char* Dot : {".", ".."})
          if (MatchesMask(Dot, Pattern)) add("[" + String(Dot) + "]", Dot);
      for (const TbsFolderEntry& E : Entries) {
        const Cardinal EA = entryAttributes(E);
        if ((EA & Excluded) != 0 || !MatchesMask(E.Bytes, Pattern)) continue;
        if (!FFileType.Contains(bsftNormal) && (EA & A) == 0) continue;
        add(E.Folder ? "[" + E.Display + "]" : E.Display, E.Bytes);
      }
    }
  } catch (...) {
    Screen->SetCursor(Saved);
    throw;
  }
  Screen->SetCursor(Saved);
  FileChanged();
}

void TbsSkinFileListBox::FileChanged() {
  FLastSel = ItemIndex();
  if (FFileEdit != nullptr) {
    const String Name = GetSelectedName();
    FFileEdit->SetText(Name.empty() ? FMask : Name);
    FFileEdit->SelectAll();
  }
  if (OnChange) OnChange(this);
}

String TbsSkinFileListBox::GetSelectedName() {
  const Integer I = ItemIndex();
  if (I < 0 || Items()->Count() == 0 || I >= Items()->Count() || !Selected(I)) return {};
  return Items()->Strings(I);
}

String TbsSkinFileListBox::GetFileName() {
  const Integer I = ItemIndex();
  if (GetSelectedName().empty()) return {};
  // The name as the file system has it, which the shown text may not be.
  auto* Name = dynamic_cast<TbsEntryName*>(Items()->Objects(I));
  return JoinPath(FDirectory, Name != nullptr ? Name->Bytes : Items()->Strings(I));
}

void TbsSkinFileListBox::SelectFile(const String& Name) {
  if (sameNameText(Name, GetSelectedName()) == 0 && !Name.empty()) return;
  // An exact match first: names differing only in case may both be listed.
  Integer Found = -1;
  for (Integer i = 0; i < Items()->Count() && Found < 0; ++i)
    if (Items()->Strings(i) == Name) Found = i;
  for (Integer i = 0; i < Items()->Count() && Found < 0; ++i)
    if (sameNameText(Items()->Strings(i), Name) == 0) Found = i;
  SetItemIndex(Found);
  FileChanged();
}

void TbsSkinFileListBox::ChangeDirectory(const String& NewDir) {
  // Names differing only in case are different folders here.
  if (NewDir == FDirectory) return;
  FDirectory = EnterablePath(FDirectory, NewDir);
  FillFiles();
}

void TbsSkinFileListBox::ApplyFilePath(const String& EditText) {
  if (EditText.empty() || EditText == GetFileName()) return;
  String Dir, FilePart;
  SplitEditPath(FDirectory, EditText, Dir, FilePart);
  if (FDirList != nullptr)
    FDirList->SetDirectory(Dir);
  else
    ChangeDirectory(Dir);
  if (FilePart.find_first_of("*?") != String::npos) {
    SetMask(FilePart);
  } else if (!FilePart.empty()) {
    SelectFile(FilePart);
    struct stat St {};
    if (GetSelectedName().empty() && stat(JoinPath(FDirectory, FilePart).c_str(), &St) == 0) {
      SetMask(FilePart);
      SelectFile(FilePart);
    }
  }
}

void TbsSkinFileListBox::ListBoxClick() {
  TbsSkinListBox::ListBoxClick();
  if (ItemIndex() != FLastSel) FileChanged();
}
