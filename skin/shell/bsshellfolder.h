// The shell items as the skinned shell controls hold them: identifier-list helpers over the platform
// namespace, TbsShellFolder (one shell object with its own copies of its relative and absolute
// identifiers, its parent and its folder interface), and the shell routines the controls share.
#pragma once

#include <memory>
#include <vector>

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

 private:
  PItemIDList FPIDL = nullptr;
  PItemIDList FFullPIDL = nullptr;
  TbsShellFolder* FParent = nullptr;
  IShellFolderPtr FIShellFolder;
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
// A folder object for an absolute identifier, under the desktop folder object.
TbsShellFolder* ShellFolderFromID(PCItemIDList ID);
// The root folder object named by NewRoot (a root folder value's name or a path). On failure
// NewRoot gets OldRoot back and Exception "Error setting path: "%s"" is raised, OldFolder kept;
// on success OldFolder is freed.
TbsShellFolder* CreateRootShellFolder(TbsShellFolder* OldFolder, const TRoot& OldRoot, TRoot& NewRoot);
