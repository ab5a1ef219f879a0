// The shell namespace over the Linux file system, in the shape the shell controls expect of the
// desktop's namespace: item identifier lists, folder objects that enumerate, name, compare, rename
// and describe their items, special folders and the small and large system image lists.
//
// The tree: the desktop (the empty identifier) holds the home folder, the user folders named by the
// user's xdg settings (Desktop, Documents, Videos, ...), the file system root and the mounted volumes
// of the mount table (pseudo file systems left out). Below those, one item per directory entry.
//
// Identifier layout: a sequence of items, each a 16-bit little-endian count `cb` (counting its two
// bytes) and cb - 2 data bytes; a zero count ends the list. Item data: one kind byte, then bytes:
//   desktop items ('h' home, 'u' user folder, 'r' root, 'v' volume): the folder's absolute path;
//   items below ('d' folder, 'f' anything else): the entry's name exactly as the file system has it.
// Names are bytes: a name that is not valid UTF-8 is shown with U+FFFD but reached by its bytes.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/types.h"
#include "platform/win/win.h"

class TCustomImageList;

using HRESULT = Integer;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001u);
inline constexpr HRESULT E_FAIL = HRESULT(0x80004005u);
inline constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);
inline constexpr HRESULT E_OUTOFMEMORY = HRESULT(0x8007000Eu);
// A system error as a failure code (0x8007xxxx with the errno value).
HRESULT HResultFromErrno(Integer Errno);
inline bool Succeeded(HRESULT hr) {
  return hr >= 0;
}

#pragma pack(push, 1)
struct SHITEMID {
  Word cb;
  Byte abID[1];
};
struct ITEMIDLIST {
  SHITEMID mkid;
};
#pragma pack(pop)
using PItemIDList = ITEMIDLIST*;
using PCItemIDList = const ITEMIDLIST*;

// The shell allocator: every identifier handed out here comes from it and goes back through Free.
class IMalloc {
 public:
  virtual ~IMalloc() = default;
  virtual void* Alloc(size_t Size) = 0;
  virtual void Free(void* P) = 0;
};
IMalloc* SHGetMalloc();

// Enumeration flags.
inline constexpr Cardinal SHCONTF_FOLDERS = 0x20;
inline constexpr Cardinal SHCONTF_NONFOLDERS = 0x40;
inline constexpr Cardinal SHCONTF_INCLUDEHIDDEN = 0x80;
// Display name flags.
inline constexpr Cardinal SHGDN_NORMAL = 0;
inline constexpr Cardinal SHGDN_INFOLDER = 1;
inline constexpr Cardinal SHGDN_FORPARSING = 0x8000;
// Attributes.
inline constexpr Cardinal SFGAO_CANCOPY = 0x1;
inline constexpr Cardinal SFGAO_CANMOVE = 0x2;
inline constexpr Cardinal SFGAO_CANLINK = 0x4;
inline constexpr Cardinal SFGAO_CANRENAME = 0x10;
inline constexpr Cardinal SFGAO_CANDELETE = 0x20;
inline constexpr Cardinal SFGAO_HASPROPSHEET = 0x40;
inline constexpr Cardinal SFGAO_DROPTARGET = 0x100;
inline constexpr Cardinal SFGAO_GHOSTED = 0x8000;
inline constexpr Cardinal SFGAO_LINK = 0x10000;
inline constexpr Cardinal SFGAO_SHARE = 0x20000;
inline constexpr Cardinal SFGAO_READONLY = 0x40000;
inline constexpr Cardinal SFGAO_HIDDEN = 0x80000;
inline constexpr Cardinal SFGAO_VALIDATE = 0x1000000;
inline constexpr Cardinal SFGAO_REMOVABLE = 0x2000000;
inline constexpr Cardinal SFGAO_FILESYSANCESTOR = 0x10000000;
inline constexpr Cardinal SFGAO_FOLDER = 0x20000000;
inline constexpr Cardinal SFGAO_FILESYSTEM = 0x40000000;
inline constexpr Cardinal SFGAO_HASSUBFOLDER = 0x80000000;

// A display name as the shell returns it. This namespace always answers with STRRET_WSTR and the
// UTF-8 text in `str`; the other kinds exist for namespaces of the controls' own tests.
inline constexpr UINT STRRET_WSTR = 0;
inline constexpr UINT STRRET_OFFSET = 1;
inline constexpr UINT STRRET_CSTR = 2;
struct STRRET {
  UINT uType = STRRET_WSTR;
  UINT uOffset = 0;
  String str;
};

class IEnumIDList {
 public:
  virtual ~IEnumIDList() = default;
  // S_OK with the next relative identifier (the caller frees it), S_FALSE at the end.
  virtual HRESULT Next(PItemIDList& Item) = 0;
};

class IShellFolder;
using IShellFolderPtr = std::shared_ptr<IShellFolder>;

class IShellFolder {
 public:
  virtual ~IShellFolder() = default;
  // A display name relative to this folder ("/"-separated names; from the desktop an absolute
  // path) to an identifier relative to this folder. Fails for an entry that does not exist.
  virtual HRESULT ParseDisplayName(const String& Name, PItemIDList& Result) = 0;
  virtual HRESULT EnumObjects(Cardinal Flags, std::unique_ptr<IEnumIDList>& Result) = 0;
  // The folder object of a folder item (relative, one or more items).
  virtual HRESULT BindToObject(PCItemIDList ID, IShellFolderPtr& Result) = 0;
  // Order of two relative identifiers: negative, 0 or positive. Column 0 (the name): folders first,
  // then names case-insensitively with digit runs by value, ties broken by the exact bytes.
  virtual Integer CompareIDs(LPARAM Column, PCItemIDList ID1, PCItemIDList ID2) = 0;
  // The attributes the items share. SFGAO_HASSUBFOLDER is looked for only when asked (InOut).
  virtual HRESULT GetAttributesOf(UINT Count, const PCItemIDList* IDs, Cardinal& InOut) = 0;
  virtual HRESULT GetDisplayNameOf(PCItemIDList ID, Cardinal Flags, STRRET& Name) = 0;
  // Renames one item in place (never over an existing entry); NewID (when asked) gets its new
  // relative identifier.
  virtual HRESULT SetNameOf(HWND Owner, PCItemIDList ID, const String& NewName, Cardinal Flags,
                            PItemIDList* NewID) = 0;
};

// ---- identifier lists -------------------------------------------------------------------------
// Size in bytes with the terminator; 0 for nil.
UINT ILGetSize(PCItemIDList ID);
UINT ILItemCount(PCItemIDList ID);
PCItemIDList ILNext(PCItemIDList ID);
PItemIDList ILClone(PCItemIDList ID);
PItemIDList ILCombine(PCItemIDList ID1, PCItemIDList ID2);
void ILFree(PItemIDList ID);
// An identifier of one item with the given kind and bytes.
PItemIDList ILMakeItem(char Kind, const String& Bytes);

// ---- the namespace ----------------------------------------------------------------------------
HRESULT SHGetDesktopFolder(IShellFolderPtr& Result);
// The folders of the special-folder numbers that have one here: 0 desktop, 17 the file system
// root, 5 documents, 16 the desktop folder, 13 music, 14 videos, 39 pictures (the user folders by
// the user's xdg settings), 26 ~/.config, 21 templates, 20 ~/.local/share/fonts, 10 the trash;
// any other number fails (and so does a folder that does not exist).
HRESULT SHGetSpecialFolderLocation(HWND Owner, Integer Folder, PItemIDList& Result);
// The file-system path of an absolute identifier; false for the desktop and on failure.
bool SHGetPathFromIDList(PCItemIDList ID, String& Path);
// The image index of an absolute identifier in the system image lists (same order in both).
Integer SHGetIconIndex(PCItemIDList ID, bool Open);
// The system image lists (16 and 32 pixels): folder, open folder, drive, file-system root, home,
// file, video, audio, picture, text, link; drawn here.
TCustomImageList* SHGetSystemImageList(bool Large);

enum TShellIcon {
  siFolder,
  siFolderOpen,
  siDrive,
  siRoot,
  siHome,
  siFile,
  siVideo,
  siAudio,
  siPicture,
  siText,
  siLink,
  siCount
};

// Where the desktop's items come from. Empty fields take the real ones: $HOME, the xdg user-dirs
// file ($XDG_CONFIG_HOME or ~/.config, "user-dirs.dirs") and /proc/self/mounts.
struct TShellNamespaceSources {
  String Home;
  String UserDirsFile;
  String MountTable;
};
void SetShellNamespaceSources(const TShellNamespaceSources& Sources);

// One desktop item as the namespace found it.
struct TShellRootEntry {
  char Kind;
  String Path;
};
std::vector<TShellRootEntry> ShellRootEntries();
// The display name of a file-system name: invalid UTF-8 becomes U+FFFD.
String ShellDisplayText(const String& Bytes);
// The name order of CompareIDs for two texts (case-insensitive, digit runs by value, bytes last).
Integer ShellCompareNames(const String& A, const String& B);
