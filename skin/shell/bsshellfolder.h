// The shell items as the skinned shell controls hold them: identifier-list helpers over the platform
// namespace, TbsShellFolder (one shell object with its own copies of its relative and absolute
// identifiers, its parent and its folder interface), and the shell routines the controls share.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/tset.h"
#include "platform/shell/shellnamespace.h"

// ---- identifier lists (allocated from the shell allocator; whoever stores one owns its copy) ----
PItemIDList AllocItemIDList(Integer Size);
void FreeItemIDList(PItemIDList ID);
PItemIDList NextItemID(PItemIDList ID);
Integer ItemIDCount(PCItemIDList ID);
Integer ItemIDListSize(PCItemIDList ID);
PItemIDList CopyItemIDList(PCItemIDList ID);
PItemIDList ConcatItemIDLists(PCItemIDList ID1, PCItemIDList ID2);
void StripLastItemID(PItemIDList ID);
PItemIDList LastItemIDCopy(PCItemIDList ID);
// Copies of the proper prefixes of ID, shortest (the desktop) first; ID itself is not among them.
std::vector<PItemIDList> ItemIDChain(PCItemIDList ID);
void FreeItemIDChain(std::vector<PItemIDList>& List);
bool SameItemIDList(PCItemIDList ID1, PCItemIDList ID2);
// EOSError when the platform gives none.
PItemIDList DesktopItemIDList();
IShellFolderPtr DesktopIShellFolder();

enum TbsShellFolderCapability {
  fcCanCopy,
  fcCanDelete,
  fcCanLink,
  fcCanMove,
  fcCanRename,
  fcDropTarget,
  fcHasPropSheet
};
using TbsShellFolderCapabilities = TSet<TbsShellFolderCapability>;
enum TbsShellFolderProperty {
  fpCut,
  fpIsLink,
  fpReadOnly,
  fpShared,
  fpFileSystem,
  fpFileSystemAncestor,
  fpRemovable,
  fpValidate
};
using TbsShellFolderProperties = TSet<TbsShellFolderProperty>;
enum TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = TSet<TShellObjectType>;
using TRoot = String;

enum TRootFolder {
  rfDesktop,
  rfMyComputer,
  rfNetwork,
  rfRecycleBin,
  rfAppData,
  rfCommonDesktopDirectory,
  rfCommonPrograms,
  rfCommonStartMenu,
  rfCommonStartup,
  rfControlPanel,
  rfDesktopDirectory,
  rfFavorites,
  rfFonts,
  rfInternet,
  rfPersonal,
  rfPrinters,
  rfPrintHood,
  rfPrograms,
  rfRecent,
  rfSendTo,
  rfStartMenu,
  rfStartup,
  rfTemplates
};
// The special-folder number of each root folder value.
Integer RootFolderCSIDL(TRootFolder Value);
// The value whose name is Text ("rfDesktop", ...), negative when none.
Integer RootFolderIndex(const String& Text);

class EInvalidPath : public Exception {
 public:
  using Exception::Exception;
};

// How a folder describes its items column by column. The file-system namespace offers neither; a
// namespace that does implements them beside IShellFolder and the folder objects find them there.
inline constexpr Cardinal SHCOLSTATE_ONBYDEFAULT = 0x10;
struct SHELLDETAILS {
  Integer fmt = 0;  // 0 left, 1 right, 2 centred
  Integer cxChar = 0;
  STRRET str;
};
class IShellDetails {
 public:
  virtual ~IShellDetails() = default;
  // ID nil: the column's caption.
  virtual HRESULT GetDetailsOf(PCItemIDList ID, UINT Column, SHELLDETAILS& Details) = 0;
};
class IShellFolder2 {
 public:
  virtual ~IShellFolder2() = default;
  virtual HRESULT GetDetailsOf(PCItemIDList ID, UINT Column, SHELLDETAILS& Details) = 0;
  virtual HRESULT GetDefaultColumnState(UINT Column, Cardinal& Flags) = 0;
};
using IShellDetailsPtr = std::shared_ptr<IShellDetails>;
using IShellFolder2Ptr = std::shared_ptr<IShellFolder2>;

// Taking part in the commands of the shell's context menu (the tree and the file list do).
class IbsShellVerbHandler {
 public:
  virtual ~IbsShellVerbHandler() = default;
  virtual void ExecuteCommand(const String& Verb, bool& Handled) = 0;
  virtual void CommandCompleted(const String& Verb, bool Succeeded) = 0;
};

// What a find-first record says of one file-system entry.
struct TbsFindData {
  Integer Attributes = 0;  // the faXXX bits
  Int64 Size = 0;
  Int64 LastWrite = 0;  // seconds since 1970
  String FileName;
};
// The record of Path itself (a broken link describes the link); false with errno set on failure.
bool ReadFindData(const String& Path, TbsFindData& Record);
// -1 for a folder, else the 64-bit size.
Int64 FindDataSize(const TbsFindData& Record);
// -1.0 for a folder, else the last write as a local date-time.
TDateTime FindDataModified(const TbsFindData& Record);
// 1 size (empty for a folder), 2 extension, 3 modified, 4 attribute bits; "" for any other column.
String FindDataDetail(const TbsFindData& Record, Integer N);

class TbsShellFolder;
TbsShellFolder* DesktopShellFolder();

class TbsShellFolder {
 public:
  // AParent may be nil: the folder then hangs under the desktop.
  TbsShellFolder(TbsShellFolder* AParent, PCItemIDList ID, IShellFolderPtr SF);
  virtual ~TbsShellFolder();
  TbsShellFolder(const TbsShellFolder&) = delete;
  TbsShellFolder& operator=(const TbsShellFolder&) = delete;

  PItemIDList RelativeID() const { return FPIDL; }
  PItemIDList AbsoluteID() const { return FFullPIDL; }
  TbsShellFolder* Parent() const { return FParent; }
  const IShellFolderPtr& ShellFolder() const { return FIShellFolder; }
  Integer Level() const { return FLevel; }
  Cardinal ViewHandle() const { return FViewHandle; }
  void SetViewHandle(Cardinal Value) { FViewHandle = Value; }

  IShellFolderPtr ParentShellFolder() const;
  String DisplayName() const;
  String PathName() const;
  String FullObjectName() const;
  // Archives the shell shows as folders count as files.
  bool IsFolder() const;
  bool SubFolders() const;
  TbsShellFolderCapabilities Capabilities() const;
  TbsShellFolderProperties Properties() const;
  Integer ImageIndex(bool LargeIcon) const;
  // False when the item cannot be renamed; Exception "Rename to %s failed" when the shell refuses.
  bool Rename(const String& NewName);
  // Opens the item with the desktop's default program; not 0 when the opener started.
  Integer ExecuteDefault();

  // The detail texts of columns 1..ColumnCount as RootFolder (the folder listing this item) gives
  // them; loaded once per column count. EInvalidPath when a file-system item cannot be read.
  void LoadColumnDetails(TbsShellFolder* RootFolder, Cardinal Handle, Integer ColumnCount);
  // Exception "%s: Missing call to LoadColumnDetails" before any text was loaded.
  String Details(Integer Index) const;
  // The item's own find record; EInvalidPath "Unable to retrieve folder details ..." on failure.
  TbsFindData FindData() const;
  Integer DetailCount() const { return Integer(FDetails.size()); }
  IShellFolder2Ptr ShellFolder2();
  IShellDetailsPtr ShellDetails();

 private:
  void ResolveDetailInterface();
  [[noreturn]] void RaiseDetailsError(Integer Error) const;

  std::vector<String> FDetails;
  PItemIDList FPIDL = nullptr;
  PItemIDList FFullPIDL = nullptr;
  TbsShellFolder* FParent = nullptr;
  IShellFolderPtr FIShellFolder;
  IShellFolder2Ptr FIShellFolder2;
  IShellDetailsPtr FIShellDetails;
  std::shared_ptr<void> FDetailInterface;
  Integer FLevel = 0;
  Cardinal FViewHandle = 0;
};

String ItemDisplayName(const IShellFolderPtr& ParentFolder, PCItemIDList ID, Cardinal Flags);
String StrRetText(PCItemIDList ID, const STRRET& StrRet);
Integer ShellImageIndex(PCItemIDList ID, bool Large, bool Open);
Cardinal ShellObjectFlags(TShellObjectTypes ObjectTypes);
bool HasFolderAttribute(const IShellFolderPtr& ParentFolder, PCItemIDList ID);
bool HasSubFolderAttribute(const IShellFolderPtr& ParentFolder, PCItemIDList ID);
bool FolderHasItems(const IShellFolderPtr& ShellFolder, Cardinal Flags);
// A folder object for an absolute identifier, under the desktop folder object; an item that cannot be
// bound as a folder gets no folder interface.
TbsShellFolder* ShellFolderFromID(PCItemIDList ID);
// The child of AFolder named by the relative identifier ID, with its folder interface when it can be
// bound as a folder (none for a file or a folder that has gone).
TbsShellFolder* CreateChildFolder(TbsShellFolder* AFolder, PCItemIDList ID);
// The root folder object named by NewRoot (a root folder value's name or a path). On failure
// NewRoot gets OldRoot back and Exception "Error setting path: "%s"" is raised, OldFolder kept;
// on success OldFolder is freed.
TbsShellFolder* CreateRootShellFolder(TbsShellFolder* OldFolder, const TRoot& OldRoot, TRoot& NewRoot);
// Runs Verb on the item: "open" opens it with the desktop's default program; "properties" has no
// sheet on this desktop and does nothing. Nothing without Folder.
void InvokeShellVerb(TbsShellFolder* Folder, const String& Verb);
