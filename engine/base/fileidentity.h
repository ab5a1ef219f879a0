// Which file a name stands for, however the path is written, and whether a file could be written
// under a name without creating or truncating it.
#pragma once

#include <sys/types.h>

#include "platform/rtl/types.h"

struct TFileIdentity {
  bool Local = false;    // a file of this machine (not a protocol or stream name)
  bool Exists = false;   // Dev, Ino and Regular are valid
  bool Regular = false;  // a plain file, not a device, a pipe or a folder
  dev_t Dev = 0;
  ino_t Ino = 0;
  // The name with its folder resolved (symbolic links, ".", ".."); the name as given when not local.
  String Path;
};

// The local path of a name: "file:" removed; empty for a name of another protocol ("http:…",
// "stream:…", "unicode:…" is decoded).
String LocalPathOf(const String& AFileName);
TFileIdentity FileIdentityOf(const String& AFileName);
// Same device and inode when both exist; otherwise the same resolved path.
bool SameFile(const TFileIdentity& A, const TFileIdentity& B);
bool SameFile(const String& A, const String& B);

// The same regular file as AIdentity still stands under the name: what a task made may be removed,
// never a device or a file that has taken its place.
bool IsStillTheFile(const String& AFileName, const TFileIdentity& AIdentity);

// True when a run writes AFileName through a partial file beside it (platform/rtl/partialfile.h):
// a local name that is absent or a regular file (a link to one included). A device, a pipe or a
// name of another protocol is written as it is.
bool WritesThroughPartialFile(const String& AFileName);

// 0 when a file could be created or overwritten under the name, else the negative error code of
// the reason (AVERROR(errno) style): a folder, a missing or unwritable folder (where the file is
// made beside the one it replaces), an unwritable file, a file used as a folder. Touches nothing.
// Names of other protocols give 0.
Integer CheckWritableFileName(const String& AFileName);
