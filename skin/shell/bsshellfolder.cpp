#include "skin/shell/bsshellfolder.h"

#include <strings.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/shell/shellopen.h"

// ---- identifier lists ----
PItemIDList AllocItemIDList(Integer Size) {
  if (Size <= 0) return nullptr;
  void* P = SHGetMalloc()->Alloc(size_t(Size));
  if (P) std::memset(P, 0, size_t(Size));
  return static_cast<PItemIDList>(P);
}

void FreeItemIDList(PItemIDList ID) {
  if (ID) SHGetMalloc()->Free(ID);
}

PItemIDList NextItemID(PItemIDList ID) {
  return reinterpret_cast<PItemIDList>(reinterpret_cast<Byte*>(ID) + ID->mkid.cb);
}

static PCItemIDList nextOf(PCItemIDList ID) {
  return reinterpret_cast<PCItemIDList>(reinterpret_cast<const Byte*>(ID) + ID->mkid.cb);
}

Integer ItemIDCount(PCItemIDList ID) {
  Integer N = 0;
  for (; ID && ID->mkid.cb != 0; ID = nextOf(ID)) ++N;
  return N;
}

Integer ItemIDListSize(PCItemIDList ID) {
  if (ID == nullptr) return 0;
  Integer Size = 2;
  for (; ID->mkid.cb != 0; ID = nextOf(ID)) Size += ID->mkid.cb;
  return Size;
}

PItemIDList CopyItemIDList(PCItemIDList ID) {
  const Integer Size = ItemIDListSize(ID);
  PItemIDList Result = AllocItemIDList(Size);
  if (Result) std::memcpy(Result, ID, size_t(Size));
  return Result;
}

PItemIDList ConcatItemIDLists(PCItemIDList ID1, PCItemIDList ID2) {
  const Integer Head = ID1 ? ItemIDListSize(ID1) - 2 : 0;
  const Integer Tail = ItemIDListSize(ID2);
  // Without a second list the first still ends properly.
  PItemIDList Result = AllocItemIDList(Head + std::max<Integer>(Tail, 2));
  if (Result == nullptr) return nullptr;
  if (Head > 0) std::memcpy(Result, ID1, size_t(Head));
  if (Tail > 0) std::memcpy(reinterpret_cast<Byte*>(Result) + Head, ID2, size_t(Tail));
  return Result;
}

void StripLastItemID(PItemIDList ID) {
  if (ID == nullptr || ID->mkid.cb == 0) return;
  PItemIDList Last = ID;
  for (PItemIDList P = ID; P->mkid.cb != 0; P = NextItemID(P)) Last = P;
  Last->mkid.cb = 0;
}

PItemIDList LastItemIDCopy(PCItemIDList ID) {
  if (ID == nullptr) return nullptr;
  while (ItemIDCount(ID) > 1) ID = nextOf(ID);
  return CopyItemIDList(ID);
}

std::vector<PItemIDList> ItemIDChain(PCItemIDList ID) {
  std::vector<PItemIDList> Chain;
  PItemIDList Current = CopyItemIDList(ID);
  if (Current == nullptr) return Chain;
  while (Current->mkid.cb != 0) {
    StripLastItemID(Current);
    Chain.insert(Chain.begin(), CopyItemIDList(Current));
  }
  FreeItemIDList(Current);
  return Chain;
}

void FreeItemIDChain(std::vector<PItemIDList>& List) {
  for (PItemIDList ID : List) FreeItemIDList(ID);
  List.clear();
}

bool SameItemIDList(PCItemIDList ID1, PCItemIDList ID2) {
  return DesktopIShellFolder()->CompareIDs(0, ID1, ID2) == 0;
}

PItemIDList DesktopItemIDList() {
  PItemIDList ID = nullptr;
  const HRESULT hr = SHGetSpecialFolderLocation(nullptr, 0, ID);
  if (!Succeeded(hr) || ID == nullptr) throw Exception(Format("System Error.  Code: %d", {hr}));
  return ID;
}

IShellFolderPtr DesktopIShellFolder() {
  IShellFolderPtr SF;
  const HRESULT hr = SHGetDesktopFolder(SF);
  if (!Succeeded(hr) || !SF) throw Exception(Format("System Error.  Code: %d", {hr}));
  return SF;
}

// ---- root folder values ----
namespace {
struct TRootFolderInfo {
  const char* Name;
  Integer CSIDL;
};
const TRootFolderInfo RootFolders[] = {
    {"rfDesktop", 0},
    {"rfMyComputer", 17},
    {"rfNetwork", 18},
    {"rfRecycleBin", 10},
    {"rfAppData", 26},
    {"rfCommonDesktopDirectory", 25},
    {"rfCommonPrograms", 23},
    {"rfCommonStartMenu", 22},
    {"rfCommonStartup", 24},
    {"rfControlPanel", 3},
    {"rfDesktopDirectory", 16},
    {"rfFavorites", 6},
    {"rfFonts", 20},
    {"rfInternet", 1},
    {"rfPersonal", 5},
    {"rfPrinters", 4},
    {"rfPrintHood", 27},
    {"rfPrograms", 2},
    {"rfRecent", 8},
    {"rfSendTo", 9},
    {"rfStartMenu", 11},
    {"rfStartup", 7},
    {"rfTemplates", 21},
};
}  // namespace

Integer RootFolderCSIDL(TRootFolder Value) {
  return RootFolders[Value].CSIDL;
}

Integer RootFolderIndex(const String& Text) {
  for (Integer i = 0; i < Integer(std::size(RootFolders)); ++i)
    if (strcasecmp(Text.c_str(), RootFolders[i].Name) == 0) return i;
  return -1;
}

// ---- the desktop folder object ----
namespace {
// While the desktop object itself is made it has no parent to hang under.
bool MakingDesktop = false;
}  // namespace

TbsShellFolder* DesktopShellFolder() {
  // Lives as long as the program: every control's folders hang under it.
  static TbsShellFolder* Desktop = [] {
    TbsShellFolder* F = nullptr;
    PItemIDList ID = nullptr;
    if (Succeeded(SHGetSpecialFolderLocation(nullptr, 0, ID)) && ID) {
      MakingDesktop = true;
      F = new TbsShellFolder(nullptr, ID, DesktopIShellFolder());
      MakingDesktop = false;
      FreeItemIDList(ID);
    }
    return F;
  }();
  return Desktop;
}

// ---- TbsShellFolder ----
TbsShellFolder::TbsShellFolder(TbsShellFolder* AParent, PCItemIDList ID, IShellFolderPtr SF)
    : FParent(AParent), FIShellFolder(std::move(SF)) {
  FPIDL = CopyItemIDList(ID);
  if (AParent) {
    FFullPIDL = ConcatItemIDLists(AParent->AbsoluteID(), ID);
  } else {
    PItemIDList Desktop = DesktopItemIDList();
    FFullPIDL = ConcatItemIDLists(Desktop, ID);
    FreeItemIDList(Desktop);
  }
  for (TbsShellFolder* P = AParent ? AParent->Parent() : nullptr; P != nullptr; P = P->Parent()) ++FLevel;
  if (FParent == nullptr && !MakingDesktop) FParent = DesktopShellFolder();
}

TbsShellFolder::~TbsShellFolder() {
  FreeItemIDList(FPIDL);
  FreeItemIDList(FFullPIDL);
}

IShellFolderPtr TbsShellFolder::ParentShellFolder() const {
  return FParent ? FParent->ShellFolder() : DesktopIShellFolder();
}

String TbsShellFolder::DisplayName() const {
  return ItemDisplayName(FParent ? ParentShellFolder() : DesktopIShellFolder(), FPIDL, SHGDN_INFOLDER);
}

String TbsShellFolder::PathName() const {
  return ItemDisplayName(DesktopIShellFolder(), FFullPIDL, SHGDN_FORPARSING);
}

String TbsShellFolder::FullObjectName() const {
  String Path;
  if (!SHGetPathFromIDList(FFullPIDL, Path)) Path.clear();
  return Path;
}

bool TbsShellFolder::IsFolder() const {
  if (!HasFolderAttribute(ParentShellFolder(), FPIDL)) return false;
  const String Name = FullObjectName();
  const size_t Dot = Name.rfind('.');
  const size_t Slash = Name.rfind('/');
  if (Dot == String::npos || (Slash != String::npos && Dot < Slash)) return true;
  return strcasecmp(Name.c_str() + Dot, ".zip") != 0;
}

bool TbsShellFolder::SubFolders() const {
  return HasSubFolderAttribute(ParentShellFolder(), FPIDL);
}

TbsShellFolderCapabilities TbsShellFolder::Capabilities() const {
  TbsShellFolderCapabilities Result;
  IShellFolderPtr P = ParentShellFolder();
  if (!P) return Result;
  Cardinal Flags = 0x177;
  PCItemIDList IDs[] = {FPIDL};
  if (!Succeeded(P->GetAttributesOf(1, IDs, Flags))) return Result;
  const std::pair<Cardinal, TbsShellFolderCapability> Map[] = {
      {SFGAO_CANCOPY, fcCanCopy},          {SFGAO_CANDELETE, fcCanDelete}, {SFGAO_CANLINK, fcCanLink},
      {SFGAO_CANMOVE, fcCanMove},          {SFGAO_CANRENAME, fcCanRename}, {SFGAO_DROPTARGET, fcDropTarget},
      {SFGAO_HASPROPSHEET, fcHasPropSheet}};
  for (const auto& [Bit, Cap] : Map)
    if (Flags & Bit) Result.Include(Cap);
  return Result;
}

TbsShellFolderProperties TbsShellFolder::Properties() const {
  TbsShellFolderProperties Result;
  IShellFolderPtr P = ParentShellFolder();
  if (!P) return Result;
  PCItemIDList IDs[] = {FPIDL};
  Cardinal Flags = 0xFC000;
  if (Succeeded(P->GetAttributesOf(1, IDs, Flags))) {
    if (Flags & SFGAO_GHOSTED) Result.Include(fpCut);
    if (Flags & SFGAO_LINK) Result.Include(fpIsLink);
    if (Flags & SFGAO_READONLY) Result.Include(fpReadOnly);
    if (Flags & SFGAO_SHARE) Result.Include(fpShared);
  }
  Flags = 0;
  if (Succeeded(P->GetAttributesOf(1, IDs, Flags))) {
    if (Flags & SFGAO_FILESYSTEM) Result.Include(fpFileSystem);
    if (Flags & SFGAO_FILESYSANCESTOR) Result.Include(fpFileSystemAncestor);
    if (Flags & SFGAO_REMOVABLE) Result.Include(fpRemovable);
    if (Flags & SFGAO_VALIDATE) Result.Include(fpValidate);
  }
  return Result;
}

Integer TbsShellFolder::ImageIndex(bool LargeIcon) const {
  return ShellImageIndex(FFullPIDL, LargeIcon, false);
}

bool TbsShellFolder::Rename(const String& NewName) {
  if (!Capabilities().Contains(fcCanRename)) return false;
  PItemIDList NewID = nullptr;
  if (ParentShellFolder()->SetNameOf(nullptr, FPIDL, NewName, SHGDN_NORMAL, &NewID) != S_OK ||
      NewID == nullptr) {
    FreeItemIDList(NewID);
    throw Exception(Format("Rename to %s failed", {NewName}));
  }
  FreeItemIDList(FPIDL);
  FreeItemIDList(FFullPIDL);
  FPIDL = NewID;
  FFullPIDL = FParent ? ConcatItemIDLists(FParent->AbsoluteID(), NewID) : CopyItemIDList(NewID);
  return true;
}

Integer TbsShellFolder::ExecuteDefault() {
  String Target = FullObjectName();
  if (Target.empty()) Target = PathName();
  return ShellOpen(Target) ? 33 : 0;
}

void TbsShellFolder::ResolveDetailInterface() {
  if (FDetailInterface || !FIShellFolder) return;
  FIShellDetails = std::dynamic_pointer_cast<IShellDetails>(FIShellFolder);
  if (!FIShellDetails) FIShellFolder2 = std::dynamic_pointer_cast<IShellFolder2>(FIShellFolder);
  if (FIShellFolder2)
    FDetailInterface = FIShellFolder2;
  else
    FDetailInterface = FIShellDetails;
}

IShellFolder2Ptr TbsShellFolder::ShellFolder2() {
  ResolveDetailInterface();
  return FIShellFolder2;
}

IShellDetailsPtr TbsShellFolder::ShellDetails() {
  ResolveDetailInterface();
  return FIShellDetails;
}

void TbsShellFolder::RaiseDetailsError(Integer Error) const {
  throw EInvalidPath(
      Format("Unable to retrieve folder details for \"%s\". Error code $%x", {DisplayName(), Error}));
}

void TbsShellFolder::LoadColumnDetails(TbsShellFolder* RootFolder, Cardinal Handle, Integer ColumnCount) {
  if (RootFolder == nullptr || Integer(FDetails.size()) >= ColumnCount) return;
  FDetails.clear();
  FViewHandle = Handle;
  const auto fromInterface = [&](auto& Source) {
    for (Integer I = 1; I <= ColumnCount; ++I) {
      SHELLDETAILS D;
      FDetails.push_back(Source.GetDetailsOf(FPIDL, UINT(I), D) == S_OK ? StrRetText(FPIDL, D.str)
                                                                        : String());
    }
  };
  if (IShellFolder2Ptr SF2 = RootFolder->ShellFolder2()) {
    fromInterface(*SF2);
  } else if (IShellDetailsPtr SD = RootFolder->ShellDetails()) {
    fromInterface(*SD);
  } else if (RootFolder->Properties().Contains(fpFileSystem)) {
    // The entry is read by its own bytes, whatever its name looks like on screen.
    const TbsFindData Record = FindData();
    for (Integer I = 1; I <= ColumnCount; ++I) FDetails.push_back(FindDataDetail(Record, I));
  }
}

TbsFindData TbsShellFolder::FindData() const {
  TbsFindData Record;
  if (!ReadFindData(PathName(), Record)) RaiseDetailsError(errno);
  return Record;
}

String TbsShellFolder::Details(Integer Index) const {
  if (FDetails.empty()) throw Exception(Format("%s: Missing call to LoadColumnDetails", {DisplayName()}));
  if (Index < 1 || Index > Integer(FDetails.size())) return String();
  return FDetails[size_t(Index - 1)];
}

// ---- find records ----
bool ReadFindData(const String& Path, TbsFindData& Record) {
  struct stat St {};
  // A link is described by what it points at; a broken or looping one by the link itself.
  if (::stat(Path.c_str(), &St) != 0 && ::lstat(Path.c_str(), &St) != 0) return false;
  Record = TbsFindData{};
  Record.FileName = ExtractFileName(Path);
  if (S_ISDIR(St.st_mode))
    Record.Attributes |= faDirectory;
  else if (S_ISREG(St.st_mode))
    Record.Attributes |= faArchive;
  else
    Record.Attributes |= faSysFile;
  if ((St.st_mode & S_IWUSR) == 0) Record.Attributes |= faReadOnly;
  if (Record.FileName.size() > 1 && Record.FileName[0] == '.' && Record.FileName != "..")
    Record.Attributes |= faHidden;
  Record.Size = Int64(St.st_size);
  Record.LastWrite = Int64(St.st_mtime);
  return true;
}

Int64 FindDataSize(const TbsFindData& Record) {
  return (Record.Attributes & faDirectory) ? -1 : Record.Size;
}

TDateTime FindDataModified(const TbsFindData& Record) {
  if (Record.Attributes & faDirectory) return -1.0;
  return FileDateToDateTime(Record.LastWrite);
}

String FindDataDetail(const TbsFindData& Record, Integer N) {
  switch (N) {
    case 1:
      // A folder has no size to show (its -1 is only a marker for sorting).
      return (Record.Attributes & faDirectory) ? String() : std::to_string(FindDataSize(Record));
    case 2:
      return ExtractFileExt(Record.FileName);
    case 3: {
      const TDateTime T = FindDataModified(Record);
      return T < 0 ? String() : DateTimeToStr(T);
    }
    case 4:
      return std::to_string(Record.Attributes);
    default:
      return String();
  }
}

// ---- shell routines ----
String StrRetText(PCItemIDList ID, const STRRET& StrRet) {
  String S;
  switch (StrRet.uType) {
    case STRRET_WSTR:
    case STRRET_CSTR:
      S = StrRet.str;
      break;
    case STRRET_OFFSET:
      if (ID && ID->mkid.cb > StrRet.uOffset)
        S.assign(reinterpret_cast<const char*>(ID) + StrRet.uOffset, ID->mkid.cb - StrRet.uOffset);
      break;
    default:
      break;
  }
  if (S.size() > 1 && S[0] == '?' && S[1] >= '0' && S[1] <= '9') std::erase(S, '?');
  return S;
}

String ItemDisplayName(const IShellFolderPtr& ParentFolder, PCItemIDList ID, Cardinal Flags) {
  if (!ParentFolder) return "parentfolder = nil";
  STRRET R;
  ParentFolder->GetDisplayNameOf(ID, Flags, R);
  String S = StrRetText(ID, R);
  if (S.rfind("::{", 0) == 0) {
    STRRET N;
    ParentFolder->GetDisplayNameOf(ID, SHGDN_NORMAL, N);
    S = StrRetText(ID, N);
  }
  return S;
}

Integer ShellImageIndex(PCItemIDList ID, bool, bool Open) {
  // Both system lists hold the same images in the same order.
  return SHGetIconIndex(ID, Open);
}

Cardinal ShellObjectFlags(TShellObjectTypes ObjectTypes) {
  Cardinal Flags = 0;
  if (ObjectTypes.Contains(otFolders)) Flags |= SHCONTF_FOLDERS;
  if (ObjectTypes.Contains(otNonFolders)) Flags |= SHCONTF_NONFOLDERS;
  if (ObjectTypes.Contains(otHidden)) Flags |= SHCONTF_INCLUDEHIDDEN;
  return Flags;
}

bool HasFolderAttribute(const IShellFolderPtr& ParentFolder, PCItemIDList ID) {
  if (!ParentFolder) return false;
  Cardinal Flags = SFGAO_FOLDER;
  PCItemIDList IDs[] = {ID};
  return Succeeded(ParentFolder->GetAttributesOf(1, IDs, Flags)) && (Flags & SFGAO_FOLDER) != 0;
}

bool HasSubFolderAttribute(const IShellFolderPtr& ParentFolder, PCItemIDList ID) {
  if (!ParentFolder) return false;
  Cardinal Flags = SFGAO_HASSUBFOLDER;
  PCItemIDList IDs[] = {ID};
  return Succeeded(ParentFolder->GetAttributesOf(1, IDs, Flags)) && (Flags & SFGAO_HASSUBFOLDER) != 0;
}

bool FolderHasItems(const IShellFolderPtr& ShellFolder, Cardinal Flags) {
  if (!ShellFolder) return false;
  std::unique_ptr<IEnumIDList> Enum;
  if (!Succeeded(ShellFolder->EnumObjects(Flags, Enum)) || !Enum) return false;
  PItemIDList Item = nullptr;
  const bool Any = Enum->Next(Item) == S_OK;
  FreeItemIDList(Item);
  return Any;
}

TbsShellFolder* ShellFolderFromID(PCItemIDList ID) {
  IShellFolderPtr Desktop = DesktopIShellFolder();
  IShellFolderPtr SF;
  // Only the desktop itself takes the desktop's interface: an item that cannot be bound (a file, a
  // folder that has gone) gets none, so listing it lists nothing rather than the desktop.
  if (ID == nullptr || ID->mkid.cb == 0)
    SF = Desktop;
  else if (!Succeeded(Desktop->BindToObject(ID, SF)))
    SF.reset();
  return new TbsShellFolder(DesktopShellFolder(), ID, SF);
}

TbsShellFolder* CreateChildFolder(TbsShellFolder* AFolder, PCItemIDList ID) {
  IShellFolderPtr SF;
  if (AFolder && AFolder->ShellFolder() && !Succeeded(AFolder->ShellFolder()->BindToObject(ID, SF)))
    SF.reset();
  return new TbsShellFolder(AFolder, ID, SF);
}

TbsShellFolder* CreateRootShellFolder(TbsShellFolder* OldFolder, const TRoot& OldRoot, TRoot& NewRoot) {
  PItemIDList ID = nullptr;
  bool Ok = false;
  const Integer Index = RootFolderIndex(NewRoot);
  if (Index >= 0) {
    Ok = Succeeded(SHGetSpecialFolderLocation(nullptr, RootFolderCSIDL(TRootFolder(Index)), ID)) && ID;
  } else if (!NewRoot.empty()) {
    if (NewRoot.back() == ':') NewRoot += "\\";
    Ok = Succeeded(DesktopIShellFolder()->ParseDisplayName(NewRoot, ID)) && ID;
  }
  if (!Ok) {
    FreeItemIDList(ID);
    const String Message = Format("Error setting path: \"%s\"", {NewRoot});
    NewRoot = OldRoot;
    throw Exception(Message);
  }
  TbsShellFolder* Result = ShellFolderFromID(ID);
  FreeItemIDList(ID);
  delete OldFolder;
  return Result;
}

void InvokeShellVerb(TbsShellFolder* Folder, const String& Verb) {
  if (Folder == nullptr) return;
  if (strcasecmp(Verb.c_str(), "open") == 0) Folder->ExecuteDefault();
}
