// Files, folders and path names. Paths use "/"; names are UTF-8 as the file system stores them.
#pragma once

#include <memory>

#include "platform/rtl/types.h"

inline constexpr char PathDelim = '/';

// Search and entry attributes, with the class library's bit values.
inline constexpr Integer faReadOnly = 0x01;   // the owner may not write
inline constexpr Integer faHidden = 0x02;     // a dot file ("." and ".." are not hidden)
inline constexpr Integer faSysFile = 0x04;    // not a regular file nor a folder (device, pipe, socket)
inline constexpr Integer faVolumeID = 0x08;   // never set here
inline constexpr Integer faDirectory = 0x10;  // a folder
inline constexpr Integer faArchive = 0x20;    // a regular file
inline constexpr Integer faAnyFile = 0x3F;

// A file date: seconds since 1970-01-01 UTC.
using TFileDate = Int64;

struct TSearchState;

// One entry of a FindFirst/FindNext search. Name is the entry's name without folder.
struct TSearchRec {
  TFileDate Time = 0;  // last modification
  Int64 Size = 0;      // 0 for folders
  Integer Attr = 0;
  String Name;
  Integer ExcludeAttr = 0;  // faHidden/faSysFile/faVolumeID/faDirectory not asked for
  std::shared_ptr<TSearchState> FindHandle;
};

// Searches the folder part of Path for entries whose names match its last part. The mask takes
// '*' (any run) and '?' (one character), compared without regard to ASCII case; a mask ending in
// ".*" also matches names without an extension ("*.*" matches every name) and one ending in "."
// matches names without a dot. Normal files (plain, read-only, archive) are always found; hidden,
// system and folder entries only when Attr asks for them (folders include "." and ".."). Returns 0
// and fills F on a match, else an errno code (ENOENT when nothing matches); F is then closed.
Integer FindFirst(const String& Path, Integer Attr, TSearchRec& F);
// The next match of the search: 0, or ENOENT at the end.
Integer FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);
// The mask rule of FindFirst, for one name.
bool MatchesMask(const String& Name, const String& Mask);

// Existence: FileExists is false for folders; both follow symbolic links.
bool FileExists(const String& FileName);
bool DirectoryExists(const String& Directory);
// Creates Dir and every missing parent; true when Dir exists afterwards. False for "".
bool ForceDirectories(const String& Dir);
bool CreateDir(const String& Dir);
bool RemoveDir(const String& Dir);
// Deletes a file (never a folder).
bool DeleteFile(const String& FileName);
// Renames or moves; fails when NewName already exists, as the class library's platform does.
bool RenameFile(const String& OldName, const String& NewName);

// Size in bytes (64-bit), -1 when there is no such file.
Int64 FileSize(const String& FileName);
// Modification date, -1 when there is no such file or folder.
TFileDate FileAge(const String& FileName);
bool FileAge(const String& FileName, TDateTime& FileDateTime);
// A file date as a local date-time.
TDateTime FileDateToDateTime(TFileDate FileDate);
// The attribute bits FindFirst would report, -1 when the entry does not exist.
Integer FileGetAttr(const String& FileName);

// Path parts. "/a/b/c.txt": path "/a/b/", dir "/a/b", name "c.txt", ext ".txt".
String ExtractFilePath(const String& FileName);  // with its trailing "/"
String ExtractFileDir(const String& FileName);   // without it, except for the root "/"
String ExtractFileName(const String& FileName);
String ExtractFileExt(const String& FileName);  // with the dot; "" when the name has none
String ChangeFileExt(const String& FileName, const String& Extension);
String IncludeTrailingPathDelimiter(const String& S);  // "" gives "/"
String ExcludeTrailingPathDelimiter(const String& S);  // the root "/" stays "/"
// Absolute name with "." and ".." resolved and repeated "/" folded (no link is followed);
// relative names are taken from the current directory. "" gives "".
String ExpandFileName(const String& FileName);

String GetCurrentDir();
bool SetCurrentDir(const String& Dir);

// Index 0: the running executable's full file name (from /proc/self/exe); "" for any other index
// (the program takes no arguments).
String ParamStr(Integer Index);
// The executable's folder with its trailing "/" ("beside the program").
String ProgramDir();
// $HOME, or the account's home folder when HOME is unset; no trailing "/".
String GetHomeDir();
