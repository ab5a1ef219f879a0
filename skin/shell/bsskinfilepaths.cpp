#include "skin/shell/bsskinfilepaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/shell/shellnamespace.h"
#include "platform/ui/graphics/canvas.h"

bool IsFolder(const String& Path) {
  struct stat St {};
  return !Path.empty() && stat(Path.c_str(), &St) == 0 && S_ISDIR(St.st_mode);
}

String JoinPath(const String& Path, const String& Name) {
  if (!Path.empty() && Path.back() == '/') return Path + Name;
  return Path + "/" + Name;
}

void DropFirstFolder(String& S) {
  if (S == "/") {
    S.clear();
    return;
  }
  const bool Root = !S.empty() && S[0] == '/';
  if (Root) S.erase(0, 1);
  if (!S.empty() && S[0] == '.') S.erase(0, 4);
  const size_t P = S.find('/');
  S = P != String::npos ? ".../" + S.substr(P + 1) : String();
  if (Root) S = "/" + S;
}

String ShortenPathToWidth(const String& FileName, TCanvas* Canvas, Integer MaxWidth) {
  String Result = FileName;
  const size_t Slash = FileName.rfind('/');
  String Dir = Slash == String::npos ? String() : FileName.substr(0, Slash + 1);
  const String Name = Slash == String::npos ? FileName : FileName.substr(Slash + 1);
  // Paths here have no drive part; the loop keeps the shape of one that had.
  String Drive;
  while ((!Dir.empty() || !Drive.empty()) && Canvas->TextWidth(Result) > MaxWidth) {
    if (Dir == "/.../") {
      Drive.clear();
      Dir = ".../";
    } else if (Dir.empty()) {
      Drive.clear();
    } else {
      DropFirstFolder(Dir);
    }
    Result = Drive + Dir + Name;
  }
  return Result;
}

namespace {

String resolved(const String& Base, const String& Name) {
  if (!Name.empty() && Name[0] == '/') return Name;
  if (Name.empty()) return Base;
  return JoinPath(Base, Name);
}

[[noreturn]] void raiseInOut(const String& Path, int Errno) {
  throw EInOutError(String(std::strerror(Errno)) + ": " + Path);
}

}  // namespace

String EnterablePath(const String& Base, const String& Name) {
  const String Full = resolved(Base, Name);
  char Buf[PATH_MAX];
  if (realpath(Full.c_str(), Buf) == nullptr) raiseInOut(Full, errno);
  struct stat St {};
  if (stat(Buf, &St) != 0) raiseInOut(Full, errno);
  if (!S_ISDIR(St.st_mode)) raiseInOut(Full, ENOTDIR);
  if (access(Buf, X_OK) != 0) raiseInOut(Full, errno);
  return Buf;
}

void SplitEditPath(const String& Base, const String& EditText, String& DirPart, String& FilePart) {
  String Text = EditText;
  FilePart.clear();
  if (Text.size() >= 2 && Text.front() == '[' && Text.back() == ']') {
    DirPart = EnterablePath(Base, Text.substr(1, Text.size() - 2));
    return;
  }
  const String Full = resolved(Base, Text);
  const size_t Slash = Full.rfind('/');
  String Folder = Full.substr(0, Slash + 1);
  String Name = Full.substr(Slash + 1);
  DirPart = EnterablePath(Base, Folder.empty() ? "/" : Folder);
  if (Name.empty() || Name == ".") return;
  // A name that is neither a mask nor an existing file must be a folder to enter.
  const bool Mask = Name.find_first_of("*?") != String::npos;
  struct stat St {};
  const String Candidate = JoinPath(DirPart, Name);
  if (!Mask && (stat(Candidate.c_str(), &St) != 0 || S_ISDIR(St.st_mode))) {
    DirPart = EnterablePath(DirPart, Name);
    return;
  }
  FilePart = Name;
}

bool ReadFolderEntries(const String& Path, std::vector<TbsFolderEntry>& Entries, String& Error) {
  Entries.clear();
  IShellFolderPtr Desktop;
  PItemIDList ID = nullptr;
  IShellFolderPtr Folder;
  HRESULT hr = SHGetDesktopFolder(Desktop);
  if (Succeeded(hr)) hr = Desktop->ParseDisplayName(Path, ID);
  if (Succeeded(hr)) hr = Desktop->BindToObject(ID, Folder);
  ILFree(ID);
  std::unique_ptr<IEnumIDList> Enum;
  if (Succeeded(hr))
    hr = Folder->EnumObjects(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, Enum);
  if (!Succeeded(hr) || !Enum) {
    Error = "cannot read " + Path;
    return false;
  }
  PItemIDList Item = nullptr;
  while (Enum->Next(Item) == S_OK) {
    TbsFolderEntry E;
    // An item below a folder: its kind byte, then the entry's name bytes.
    const SHITEMID& Id = Item->mkid;
    if (Id.cb > 3) E.Bytes.assign(reinterpret_cast<const char*>(Id.abID) + 1, Id.cb - 3);
    Cardinal Attrs = SFGAO_FOLDER | SFGAO_HIDDEN | SFGAO_READONLY;
    PCItemIDList One = Item;
    if (Folder->GetAttributesOf(1, &One, Attrs) != S_OK) Attrs = 0;
    ILFree(Item);
    Item = nullptr;
    E.Display = ShellDisplayText(E.Bytes);
    E.Folder = (Attrs & SFGAO_FOLDER) != 0;
    E.Hidden = (Attrs & SFGAO_HIDDEN) != 0;
    E.ReadOnly = (Attrs & SFGAO_READONLY) != 0;
    Entries.push_back(std::move(E));
  }
  return true;
}
