#include "platform/shell/shellnamespace.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/rtl/environment.h"
#include "platform/rtl/strings.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/imagelist.h"

HRESULT HResultFromErrno(Integer Errno) {
  return HRESULT(0x80070000u | (Cardinal(Errno) & 0xFFFF));
}

namespace {

class TStdMalloc : public IMalloc {
 public:
  void* Alloc(size_t Size) override { return std::calloc(1, Size); }
  void Free(void* P) override { std::free(P); }
};

std::mutex gSourcesLock;
TShellNamespaceSources gSources;

TShellNamespaceSources currentSources() {
  std::lock_guard<std::mutex> lock(gSourcesLock);
  return gSources;
}

// ---- identifier items --------------------------------------------------------------------------

struct TItem {
  char Kind = 0;
  String Bytes;
};

bool isDesktopKind(char Kind) {
  return Kind == 'h' || Kind == 'u' || Kind == 'r' || Kind == 'v';
}

TItem readItem(PCItemIDList ID) {
  TItem item;
  if (ID == nullptr || ID->mkid.cb < 3) return item;
  const Byte* data = ID->mkid.abID;
  item.Kind = char(data[0]);
  item.Bytes.assign(reinterpret_cast<const char*>(data + 1), ID->mkid.cb - 3);
  return item;
}

PCItemIDList lastItem(PCItemIDList ID) {
  PCItemIDList last = ID;
  for (PCItemIDList p = ID; p != nullptr && p->mkid.cb != 0; p = ILNext(p)) last = p;
  return last;
}

// The path an absolute identifier names; false for the desktop or a malformed list.
bool pathOf(PCItemIDList ID, String& Path) {
  if (ID == nullptr || ID->mkid.cb == 0) return false;
  TItem first = readItem(ID);
  if (!isDesktopKind(first.Kind)) return false;
  Path = first.Bytes;
  for (PCItemIDList p = ILNext(ID); p->mkid.cb != 0; p = ILNext(p)) {
    TItem item = readItem(p);
    if (item.Bytes.empty() || item.Bytes.find('/') != String::npos) return false;
    if (Path.empty() || Path.back() != '/') Path += '/';
    Path += item.Bytes;
  }
  return true;
}

// ---- the desktop's items ------------------------------------------------------------------------

String homeFolder(const TShellNamespaceSources& S) {
  if (!S.Home.empty()) return S.Home;
  String home = GetEnvironmentVariable("HOME");
  return home.empty() ? String("/") : home;
}

bool isFolder(const String& Path) {
  struct stat st;
  return stat(Path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The user folders in the order a person meets them, from user-dirs.dirs lines such as
// XDG_VIDEOS_DIR="$HOME/Videos".
// The entries of user-dirs.dirs (lines such as XDG_VIDEOS_DIR="$HOME/Videos") as key and path,
// the key without "XDG_" and "_DIR", the path without a trailing "/".
std::vector<std::pair<String, String>> userDirEntries(const TShellNamespaceSources& S, const String& Home) {
  String file = S.UserDirsFile;
  if (file.empty()) {
    String config = GetEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.empty()) config = Home + "/.config";
    file = config + "/user-dirs.dirs";
  }
  std::vector<std::pair<String, String>> found;
  std::ifstream in(file);
  String line;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.rfind("XDG_", 0) != 0) continue;
    size_t eq = line.find('=');
    if (eq == String::npos || line.size() < eq + 3 || line[eq + 1] != '"' || line.back() != '"') continue;
    String key = line.substr(4, eq - 4);
    if (key.size() > 4 && key.compare(key.size() - 4, 4, "_DIR") == 0) key.resize(key.size() - 4);
    String value = line.substr(eq + 2, line.size() - eq - 3);
    if (value.rfind("$HOME", 0) == 0)
      value = Home + value.substr(5);
    else if (value.empty() || value[0] != '/')
      continue;  // the format allows only these two forms
    if (value.size() > 1 && value.back() == '/') value.pop_back();
    found.emplace_back(key, value);
  }
  return found;
}

// The user folders that exist, in the order a person meets them.
std::vector<String> userFolders(const TShellNamespaceSources& S, const String& Home) {
  static const char* const kOrder[] = {"DESKTOP",  "DOCUMENTS", "DOWNLOAD",  "MUSIC",
                                       "PICTURES", "VIDEOS",    "TEMPLATES", "PUBLICSHARE"};
  std::vector<std::pair<String, String>> found = userDirEntries(S, Home);
  std::vector<String> result;
  for (const char* key : kOrder)
    for (auto& [k, path] : found)
      if (k == key && path != Home && isFolder(path) &&
          std::find(result.begin(), result.end(), path) == result.end())
        result.push_back(path);
  return result;
}

// Mount table fields escape blanks as \040 and so on.
String unescapeMountField(const String& S) {
  String out;
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] == '\\' && i + 3 < S.size() && isdigit(Byte(S[i + 1])) && isdigit(Byte(S[i + 2])) &&
        isdigit(Byte(S[i + 3]))) {
      out += char((S[i + 1] - '0') * 64 + (S[i + 2] - '0') * 8 + (S[i + 3] - '0'));
      i += 3;
    } else {
      out += S[i];
    }
  }
  return out;
}

bool isPseudoFileSystem(const String& Type) {
  static const char* const kPseudo[] = {
      "proc",       "sysfs",      "devtmpfs", "devpts",      "tmpfs",           "cgroup",     "cgroup2",
      "pstore",     "securityfs", "debugfs",  "tracefs",     "configfs",        "fusectl",    "mqueue",
      "bpf",        "hugetlbfs",  "autofs",   "binfmt_misc", "efivarfs",        "ramfs",      "nsfs",
      "rpc_pipefs", "selinuxfs",  "overlay",  "squashfs",    "fuse.gvfsd-fuse", "fuse.portal"};
  for (const char* p : kPseudo)
    if (Type == p) return true;
  return false;
}

bool isSystemMountPoint(const String& Dir) {
  if (Dir == "/") return true;
  static const char* const kSystem[] = {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var", "/etc"};
  for (const char* p : kSystem) {
    size_t n = std::strlen(p);
    if (Dir.compare(0, n, p) == 0 && (Dir.size() == n || Dir[n] == '/')) {
      // Removable media are mounted below /run/media by the desktop.
      return !(Dir.rfind("/run/media/", 0) == 0);
    }
  }
  return false;
}

std::vector<String> mountedVolumes(const TShellNamespaceSources& S) {
  std::ifstream in(S.MountTable.empty() ? String("/proc/self/mounts") : S.MountTable);
  std::vector<String> result;
  String line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    String device, dir, type;
    if (!(fields >> device >> dir >> type)) continue;
    dir = unescapeMountField(dir);
    if (isPseudoFileSystem(type) || isSystemMountPoint(dir)) continue;
    if (std::find(result.begin(), result.end(), dir) == result.end()) result.push_back(dir);
  }
  return result;
}

String baseName(const String& Path) {
  if (Path == "/") return Path;
  size_t slash = Path.find_last_of('/');
  return slash == String::npos ? Path : Path.substr(slash + 1);
}

// ---- folder objects ----------------------------------------------------------------------------

// The attributes of a file-system entry (lstat for the link bit, stat for the rest; a dangling or
// looping link is an entry that is not a folder).
Cardinal entryAttributes(const String& Path, const String& Name, bool IsDesktopItem, Cardinal Asked) {
  Cardinal a = SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANLINK | SFGAO_HASPROPSHEET;
  struct stat lst, st;
  bool linked = lstat(Path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode);
  if (linked) a |= SFGAO_LINK;
  bool exists = stat(Path.c_str(), &st) == 0;
  bool folder = exists && S_ISDIR(st.st_mode);
  if (folder) a |= SFGAO_FOLDER | SFGAO_FILESYSANCESTOR;
  if (!Name.empty() && Name[0] == '.') a |= SFGAO_HIDDEN;
  if (exists && access(Path.c_str(), W_OK) != 0) a |= SFGAO_READONLY;
  if (folder && (a & SFGAO_READONLY) == 0) a |= SFGAO_DROPTARGET;
  if (!IsDesktopItem) {
    String parent = Path.substr(0, Path.find_last_of('/'));
    if (parent.empty()) parent = "/";
    if (access(parent.c_str(), W_OK) == 0) a |= SFGAO_CANRENAME | SFGAO_CANMOVE | SFGAO_CANDELETE;
  }
  if (IsDesktopItem && (Path.rfind("/media/", 0) == 0 || Path.rfind("/run/media/", 0) == 0))
    a |= SFGAO_REMOVABLE;
  if (folder && (Asked & SFGAO_HASSUBFOLDER) != 0) {
    // The first subfolder settles it; a folder that cannot be read shows no expand button.
    if (DIR* d = opendir(Path.c_str())) {
      while (dirent* e = readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        bool sub = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
          struct stat es;
          sub = fstatat(dirfd(d), e->d_name, &es, 0) == 0 && S_ISDIR(es.st_mode);
        }
        if (sub) {
          a |= SFGAO_HASSUBFOLDER;
          break;
        }
      }
      closedir(d);
    }
  }
  return a;
}

class TEntryEnum : public IEnumIDList {
 public:
  TEntryEnum(DIR* Dir, Cardinal Flags) : FDir(Dir), FFlags(Flags) {}
  ~TEntryEnum() override { closedir(FDir); }
  HRESULT Next(PItemIDList& Item) override {
    Item = nullptr;
    while (dirent* e = readdir(FDir)) {
      String name = e->d_name;
      if (name == "." || name == "..") continue;
      if (name[0] == '.' && (FFlags & SHCONTF_INCLUDEHIDDEN) == 0) continue;
      bool folder = e->d_type == DT_DIR;
      if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
        struct stat st;
        if (fstatat(dirfd(FDir), e->d_name, &st, 0) == 0)
          folder = S_ISDIR(st.st_mode);
        else if (errno == ENOENT && e->d_type == DT_UNKNOWN)
          continue;  // gone while listed
      }
      if (folder ? (FFlags & SHCONTF_FOLDERS) == 0 : (FFlags & SHCONTF_NONFOLDERS) == 0) continue;
      Item = ILMakeItem(folder ? 'd' : 'f', name);
      return Item ? S_OK : E_OUTOFMEMORY;
    }
    return S_FALSE;
  }

 private:
  DIR* FDir;
  Cardinal FFlags;
};

class TListEnum : public IEnumIDList {
 public:
  explicit TListEnum(std::vector<TShellRootEntry> Entries) : FEntries(std::move(Entries)) {}
  HRESULT Next(PItemIDList& Item) override {
    Item = nullptr;
    if (FNext >= FEntries.size()) return S_FALSE;
    const TShellRootEntry& e = FEntries[FNext++];
    Item = ILMakeItem(e.Kind, e.Path);
    return Item ? S_OK : E_OUTOFMEMORY;
  }

 private:
  std::vector<TShellRootEntry> FEntries;
  size_t FNext = 0;
};

// One class for the desktop (FPath empty, FIsDesktop) and every file-system folder.
class TFileSystemFolder : public IShellFolder {
 public:
  // Absolute identifier of the folder (owned copy) and its path.
  TFileSystemFolder(PCItemIDList AbsoluteID, String Path, bool IsDesktop)
      : FAbsolute(ILClone(AbsoluteID)), FPath(std::move(Path)), FIsDesktop(IsDesktop) {}
  ~TFileSystemFolder() override { ILFree(FAbsolute); }

  HRESULT ParseDisplayName(const String& Name, PItemIDList& Result) override;
  HRESULT EnumObjects(Cardinal Flags, std::unique_ptr<IEnumIDList>& Result) override;
  HRESULT BindToObject(PCItemIDList ID, IShellFolderPtr& Result) override;
  Integer CompareIDs(LPARAM Column, PCItemIDList ID1, PCItemIDList ID2) override;
  HRESULT GetAttributesOf(UINT Count, const PCItemIDList* IDs, Cardinal& InOut) override;
  HRESULT GetDisplayNameOf(PCItemIDList ID, Cardinal Flags, STRRET& Name) override;
  HRESULT SetNameOf(HWND Owner, PCItemIDList ID, const String& NewName, Cardinal Flags,
                    PItemIDList* NewID) override;

 private:
  // The path of a relative identifier below this folder.
  bool childPath(PCItemIDList ID, String& Path) const {
    PItemIDList full = ILCombine(FAbsolute, ID);
    bool ok = pathOf(full, Path);
    ILFree(full);
    return ok;
  }

  PItemIDList FAbsolute;
  String FPath;
  bool FIsDesktop;
};

HRESULT TFileSystemFolder::ParseDisplayName(const String& Name, PItemIDList& Result) {
  Result = nullptr;
  String rest = Name, at = FPath;
  PItemIDList id = nullptr;
  if (FIsDesktop) {
    if (Name.empty() || Name[0] != '/') return E_INVALIDARG;
    // The deepest desktop item holding the path names it, so that one folder has one identifier.
    std::vector<TShellRootEntry> roots = ShellRootEntries();
    const TShellRootEntry* best = nullptr;
    for (const TShellRootEntry& e : roots) {
      const String& p = e.Path;
      bool holds =
          Name.compare(0, p.size(), p) == 0 && (p == "/" || Name.size() == p.size() || Name[p.size()] == '/');
      if (holds && (best == nullptr || p.size() > best->Path.size())) best = &e;
    }
    if (best == nullptr) return E_INVALIDARG;
    id = ILMakeItem(best->Kind, best->Path);
    rest = Name.substr(best->Path.size());
    at = best->Path;
  } else {
    id = ILClone(nullptr);
  }
  std::istringstream parts(rest);
  String part;
  while (id != nullptr && std::getline(parts, part, '/')) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      ILFree(id);
      return E_INVALIDARG;
    }
    at = at.empty() || at.back() != '/' ? at + "/" + part : at + part;
    struct stat st;
    if (lstat(at.c_str(), &st) != 0) {
      Integer err = errno;
      ILFree(id);
      return HResultFromErrno(err);
    }
    PItemIDList item = ILMakeItem(isFolder(at) ? 'd' : 'f', part);
    PItemIDList longer = item ? ILCombine(id, item) : nullptr;
    ILFree(item);
    ILFree(id);
    id = longer;
  }
  if (id == nullptr) return E_OUTOFMEMORY;
  struct stat st;
  if (lstat(at.c_str(), &st) != 0) {
    Integer err = errno;
    ILFree(id);
    return HResultFromErrno(err);
  }
  Result = id;
  return S_OK;
}

HRESULT TFileSystemFolder::EnumObjects(Cardinal Flags, std::unique_ptr<IEnumIDList>& Result) {
  Result.reset();
  if (FIsDesktop) {
    Result = std::make_unique<TListEnum>((Flags & SHCONTF_FOLDERS) ? ShellRootEntries()
                                                                   : std::vector<TShellRootEntry>());
    return S_OK;
  }
  DIR* dir = opendir(FPath.c_str());
  if (dir == nullptr) return HResultFromErrno(errno);
  Result = std::make_unique<TEntryEnum>(dir, Flags);
  return S_OK;
}

HRESULT TFileSystemFolder::BindToObject(PCItemIDList ID, IShellFolderPtr& Result) {
  Result.reset();
  if (ID == nullptr || ID->mkid.cb == 0) return E_INVALIDARG;
  String path;
  if (!childPath(ID, path)) return E_INVALIDARG;
  if (!isFolder(path)) return HResultFromErrno(ENOTDIR);
  PItemIDList full = ILCombine(FAbsolute, ID);
  Result = std::make_shared<TFileSystemFolder>(full, path, false);
  ILFree(full);
  return S_OK;
}

Integer compareItems(const TItem& A, const TItem& B, bool Desktop) {
  if (Desktop) {
    // Desktop items keep their groups: home, user folders, root, volumes. The user folders go by the
    // names shown, as a file manager lists folders (not in their settings file's order).
    static const String kOrder = "hurv";
    Integer ka = Integer(kOrder.find(A.Kind)), kb = Integer(kOrder.find(B.Kind));
    if (ka != kb) return ka < kb ? -1 : 1;
    if (A.Kind == 'u')
      if (Integer c = ShellCompareNames(baseName(A.Bytes), baseName(B.Bytes))) return c;
    return ShellCompareNames(A.Bytes, B.Bytes);
  }
  bool fa = A.Kind == 'd', fb = B.Kind == 'd';
  if (fa != fb) return fa ? -1 : 1;
  return ShellCompareNames(A.Bytes, B.Bytes);
}

Integer TFileSystemFolder::CompareIDs(LPARAM, PCItemIDList ID1, PCItemIDList ID2) {
  bool desktopLevel = FIsDesktop;
  PCItemIDList a = ID1, b = ID2;
  while (true) {
    bool endA = a == nullptr || a->mkid.cb == 0, endB = b == nullptr || b->mkid.cb == 0;
    if (endA || endB) return endA == endB ? 0 : (endA ? -1 : 1);
    Integer c = compareItems(readItem(a), readItem(b), desktopLevel);
    if (c != 0) return c;
    a = ILNext(a);
    b = ILNext(b);
    desktopLevel = false;
  }
}

HRESULT TFileSystemFolder::GetAttributesOf(UINT Count, const PCItemIDList* IDs, Cardinal& InOut) {
  Cardinal asked = InOut;
  Cardinal common = 0xFFFFFFFF;
  if (Count == 0) {
    InOut = 0;
    return S_OK;
  }
  for (UINT i = 0; i < Count; ++i) {
    // The desktop's own (empty) identifier: a folder that holds the desktop items.
    if (FIsDesktop && (IDs[i] == nullptr || IDs[i]->mkid.cb == 0)) {
      Cardinal own = SFGAO_FOLDER | SFGAO_FILESYSANCESTOR;
      if (asked & SFGAO_HASSUBFOLDER) own |= SFGAO_HASSUBFOLDER;
      common &= own;
      continue;
    }
    String path;
    if (!childPath(IDs[i], path)) return E_INVALIDARG;
    TItem item = readItem(lastItem(IDs[i]));
    bool desktopItem = FIsDesktop && ILItemCount(IDs[i]) == 1;
    common &= entryAttributes(path, desktopItem ? String() : item.Bytes, desktopItem, asked);
  }
  InOut = common;
  return S_OK;
}

HRESULT TFileSystemFolder::GetDisplayNameOf(PCItemIDList ID, Cardinal Flags, STRRET& Name) {
  Name = STRRET();
  if (ID == nullptr || ID->mkid.cb == 0) {
    Name.str = FIsDesktop ? String("Desktop") : ShellDisplayText(baseName(FPath));
    if (Flags & SHGDN_FORPARSING) Name.str = FPath;
    return S_OK;
  }
  String path;
  if (!childPath(ID, path)) return E_INVALIDARG;
  TItem item = readItem(lastItem(ID));
  bool desktopItem = isDesktopKind(item.Kind);
  if (Flags & SHGDN_FORPARSING) {
    // Parsing names are bytes: they open the entry even when it is not valid UTF-8.
    Name.str = (Flags & SHGDN_INFOLDER) && !desktopItem ? item.Bytes : path;
    return S_OK;
  }
  Name.str = ShellDisplayText(desktopItem ? baseName(item.Bytes) : item.Bytes);
  return S_OK;
}

HRESULT TFileSystemFolder::SetNameOf(HWND, PCItemIDList ID, const String& NewName, Cardinal,
                                     PItemIDList* NewID) {
  if (NewID) *NewID = nullptr;
  if (ID == nullptr || ID->mkid.cb == 0 || ILItemCount(ID) != 1) return E_INVALIDARG;
  TItem item = readItem(ID);
  if (isDesktopKind(item.Kind)) return E_INVALIDARG;
  if (NewName.empty() || NewName == "." || NewName == ".." || NewName.find('/') != String::npos ||
      NewName.find('\0') != String::npos)
    return HResultFromErrno(EINVAL);
  if (NewName == item.Bytes) {
    if (NewID) *NewID = ILClone(ID);
    return S_OK;
  }
  String from = FPath + "/" + item.Bytes;
  String to = FPath + "/" + NewName;
  // Never replace an entry that already has the new name.
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
    Integer err = errno;
    if (err != EINVAL && err != ENOSYS) return HResultFromErrno(err);
    struct stat st;
    if (lstat(to.c_str(), &st) == 0) return HResultFromErrno(EEXIST);
    if (rename(from.c_str(), to.c_str()) != 0) return HResultFromErrno(errno);
  }
  if (NewID) *NewID = ILMakeItem(item.Kind, NewName);
  return S_OK;
}

// ---- system images ------------------------------------------------------------------------------

void drawIcon(TCanvas* C, Integer S, TShellIcon Icon) {
  auto px = [&](double v) { return Integer(v * S / 16.0 + 0.5); };
  auto box = [&](TColor fill, TColor edge, double l, double t, double r, double b) {
    C->Brush()->SetColor(fill);
    C->Pen()->SetColor(edge);
    C->Rectangle(px(l), px(t), px(r), px(b));
  };
  switch (Icon) {
    case siFolder:
    case siFolderOpen:
    case siHome:
      box(TColor(0x3CB4E8), TColor(0x1E7CB0), 1, 2, 8, 5);  // tab
      box(Icon == siFolderOpen ? TColor(0x7CD8F8) : TColor(0x50C8F0), TColor(0x1E7CB0), 1, 4, 15, 14);
      if (Icon == siHome) box(TColor(0xFFFFFF), TColor(0x1E7CB0), 6, 8, 10, 13);
      break;
    case siDrive:
    case siRoot:
      box(TColor(0xC0C0C0), TColor(0x606060), 1, 5, 15, 12);
      box(Icon == siRoot ? TColor(0x0000C0) : TColor(0x00B000),
          Icon == siRoot ? TColor(0x0000C0) : TColor(0x00B000), 11, 8, 13, 10);
      break;
    default: {
      box(TColor(0xFFFFFF), TColor(0x808080), 3, 1, 13, 15);  // the page
      TColor mark = Icon == siVideo     ? TColor(0xC05020)
                    : Icon == siAudio   ? TColor(0x2080C0)
                    : Icon == siPicture ? TColor(0x20A040)
                    : Icon == siText    ? TColor(0x404040)
                    : Icon == siLink    ? TColor(0xB000B0)
                                        : TColor(0xFFFFFF);
      if (Icon != siFile) box(mark, mark, 5, 6, 11, 12);
      break;
    }
  }
}

std::unique_ptr<TCustomImageList> makeImageList(Integer Size) {
  auto list = std::make_unique<TCustomImageList>(nullptr, Size, Size);
  for (Integer i = 0; i < siCount; ++i) {
    TBitmap bmp;
    bmp.SetSize(Size, Size);
    bmp.Canvas()->Brush()->SetColor(TColor(0xFF00FF));
    bmp.Canvas()->FillRect(TRect(0, 0, Size, Size));
    drawIcon(bmp.Canvas(), Size, TShellIcon(i));
    list->AddMasked(&bmp, TColor(0xFF00FF));
  }
  return list;
}

TShellIcon fileIcon(const String& Name) {
  String ext =
      LowerCase(Name.substr(Name.find_last_of('.') == String::npos ? Name.size() : Name.find_last_of('.')));
  static const char* const kVideo[] = {".mp4",  ".mkv", ".avi", ".mov", ".wmv",  ".flv", ".webm", ".mpg",
                                       ".mpeg", ".3gp", ".ts",  ".m4v", ".rmvb", ".rm",  ".vob"};
  static const char* const kAudio[] = {".mp3", ".wav", ".flac", ".aac", ".ogg",
                                       ".wma", ".m4a", ".ac3",  ".amr"};
  static const char* const kPicture[] = {".png", ".jpg", ".jpeg", ".bmp", ".gif", ".ico", ".tif", ".webp"};
  static const char* const kText[] = {".txt", ".ini", ".log", ".srt", ".ass", ".ssa", ".md"};
  for (const char* e : kVideo)
    if (ext == e) return siVideo;
  for (const char* e : kAudio)
    if (ext == e) return siAudio;
  for (const char* e : kPicture)
    if (ext == e) return siPicture;
  for (const char* e : kText)
    if (ext == e) return siText;
  return siFile;
}

}  // namespace

IMalloc* SHGetMalloc() {
  static TStdMalloc malloc;
  return &malloc;
}

UINT ILGetSize(PCItemIDList ID) {
  if (ID == nullptr) return 0;
  UINT size = 2;
  for (PCItemIDList p = ID; p->mkid.cb != 0; p = ILNext(p)) size += p->mkid.cb;
  return size;
}

UINT ILItemCount(PCItemIDList ID) {
  UINT n = 0;
  for (PCItemIDList p = ID; p != nullptr && p->mkid.cb != 0; p = ILNext(p)) ++n;
  return n;
}

PCItemIDList ILNext(PCItemIDList ID) {
  return reinterpret_cast<PCItemIDList>(reinterpret_cast<const Byte*>(ID) + ID->mkid.cb);
}

PItemIDList ILClone(PCItemIDList ID) {
  UINT size = ID ? ILGetSize(ID) : 2;
  auto* copy = static_cast<PItemIDList>(SHGetMalloc()->Alloc(size));
  if (copy && ID) std::memcpy(copy, ID, size);
  return copy;
}

PItemIDList ILCombine(PCItemIDList ID1, PCItemIDList ID2) {
  UINT s1 = ID1 ? ILGetSize(ID1) - 2 : 0, s2 = ID2 ? ILGetSize(ID2) : 2;
  auto* out = static_cast<Byte*>(SHGetMalloc()->Alloc(s1 + s2));
  if (out == nullptr) return nullptr;
  if (s1) std::memcpy(out, ID1, s1);
  if (ID2) std::memcpy(out + s1, ID2, s2);
  return reinterpret_cast<PItemIDList>(out);
}

void ILFree(PItemIDList ID) {
  if (ID) SHGetMalloc()->Free(ID);
}

PItemIDList ILMakeItem(char Kind, const String& Bytes) {
  if (Bytes.size() + 3 > 0xFFFF) return nullptr;
  Word cb = Word(Bytes.size() + 3);
  auto* out = static_cast<Byte*>(SHGetMalloc()->Alloc(cb + 2));
  if (out == nullptr) return nullptr;
  out[0] = Byte(cb & 0xFF);
  out[1] = Byte(cb >> 8);
  out[2] = Byte(Kind);
  std::memcpy(out + 3, Bytes.data(), Bytes.size());
  return reinterpret_cast<PItemIDList>(out);  // the allocator zero-fills the terminator
}

HRESULT SHGetDesktopFolder(IShellFolderPtr& Result) {
  PItemIDList empty = ILClone(nullptr);
  Result = std::make_shared<TFileSystemFolder>(empty, String(), true);
  ILFree(empty);
  return S_OK;
}

HRESULT SHGetSpecialFolderLocation(HWND, Integer Folder, PItemIDList& Result) {
  Result = nullptr;
  if (Folder == 0) {
    Result = ILClone(nullptr);
    return Result ? S_OK : E_OUTOFMEMORY;
  }
  TShellNamespaceSources sources = currentSources();
  String home = homeFolder(sources);
  String path;
  // The entry of the key in user-dirs.dirs, else the folder's usual name in the home folder.
  auto userDir = [&](const char* key, const char* fallback) {
    String path = home + "/" + fallback;
    for (auto& [k, v] : userDirEntries(sources, home))
      if (k == key) path = v;
    return path;
  };
  switch (Folder) {
    case 17:
      path = "/";
      break;
    case 5:
      path = userDir("DOCUMENTS", "Documents");
      break;
    case 16:
      path = userDir("DESKTOP", "Desktop");
      break;
    case 13:
      path = userDir("MUSIC", "Music");
      break;
    case 14:
      path = userDir("VIDEOS", "Videos");
      break;
    case 39:
      path = userDir("PICTURES", "Pictures");
      break;
    case 21:
      path = userDir("TEMPLATES", "Templates");
      break;
    case 26:
      path = home + "/.config";
      break;
    case 20:
      path = home + "/.local/share/fonts";
      break;
    case 10:
      path = home + "/.local/share/Trash/files";
      break;
    default:
      return E_INVALIDARG;
  }
  IShellFolderPtr desktop;
  SHGetDesktopFolder(desktop);
  return desktop->ParseDisplayName(path, Result);
}

bool SHGetPathFromIDList(PCItemIDList ID, String& Path) {
  Path.clear();
  return pathOf(ID, Path);
}

Integer SHGetIconIndex(PCItemIDList ID, bool Open) {
  String path;
  if (!pathOf(ID, path)) return siFolder;  // the desktop
  TItem item = readItem(lastItem(ID));
  if (ILItemCount(ID) == 1) {
    if (item.Kind == 'h') return siHome;
    if (item.Kind == 'r') return siRoot;
    if (item.Kind == 'v') return siDrive;
  }
  if (isFolder(path)) return Open ? siFolderOpen : siFolder;
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return siLink;  // a dangling link
  return fileIcon(item.Bytes);
}

TCustomImageList* SHGetSystemImageList(bool Large) {
  static std::unique_ptr<TCustomImageList> small, large;
  std::unique_ptr<TCustomImageList>& list = Large ? large : small;
  if (!list) list = makeImageList(Large ? 32 : 16);
  return list.get();
}

void SetShellNamespaceSources(const TShellNamespaceSources& Sources) {
  std::lock_guard<std::mutex> lock(gSourcesLock);
  gSources = Sources;
}

std::vector<TShellRootEntry> ShellRootEntries() {
  TShellNamespaceSources sources = currentSources();
  String home = homeFolder(sources);
  std::vector<TShellRootEntry> result;
  result.push_back({'h', home});
  for (const String& d : userFolders(sources, home)) result.push_back({'u', d});
  result.push_back({'r', "/"});
  for (const String& v : mountedVolumes(sources))
    if (v != home) result.push_back({'v', v});
  return result;
}

String ShellDisplayText(const String& Bytes) {
  String out;
  Integer i = 0, n = Integer(Bytes.size());
  while (i < n) {
    Integer size = 0;
    char32_t c = Utf8Decode(Bytes, i, &size);
    Utf8Append(out, c);
    i += size > 0 ? size : 1;
  }
  return out;
}

namespace {

// Case folding for the scripts a file name commonly uses.
char32_t foldCase(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9) || (c >= 0x410 && c <= 0x42F))
    return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0x100 && c <= 0x17F && (c % 2) == 0) return c + 1;  // Latin Extended-A pairs
  return c;
}

// The base letter of an accented Latin-1 letter, so that "Ärger" files beside "apple".
char32_t baseLetter(char32_t c) {
  c = foldCase(c);
  if (c < 0xE0 || c > 0xFF || c == 0xF7) return c;
  static const char kBase[] =
      "aaaaaaaceeeeiiii"
      "dnooooo/ouuuuyty";
  return char32_t(Byte(kBase[c - 0xE0]));
}

// Compares by the given letter key, digit runs by value (leading zeros ignored).
Integer compareKeyed(const std::u32string& a, const std::u32string& b, char32_t (*key)(char32_t)) {
  auto digit = [](char32_t c) { return c >= '0' && c <= '9'; };
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (digit(a[i]) && digit(b[j])) {
      size_t si = i, sj = j;
      while (si < a.size() && a[si] == '0') ++si;
      while (sj < b.size() && b[sj] == '0') ++sj;
      size_t ei = si, ej = sj;
      while (ei < a.size() && digit(a[ei])) ++ei;
      while (ej < b.size() && digit(b[ej])) ++ej;
      if (ei - si != ej - sj) return ei - si < ej - sj ? -1 : 1;
      for (size_t k = 0; k < ei - si; ++k)
        if (a[si + k] != b[sj + k]) return a[si + k] < b[sj + k] ? -1 : 1;
      i = ei;
      j = ej;
      continue;
    }
    char32_t x = key(a[i]), y = key(b[j]);
    if (x != y) return x < y ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
  return 0;
}

}  // namespace

Integer ShellCompareNames(const String& A, const String& B) {
  std::u32string a = Utf8ToUtf32(ShellDisplayText(A)), b = Utf8ToUtf32(ShellDisplayText(B));
  if (Integer c = compareKeyed(a, b, baseLetter)) return c;
  if (Integer c = compareKeyed(a, b, foldCase)) return c;
  // Equal to a person: the exact bytes decide, so that the order is total and stable.
  Integer c = A.compare(B);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
