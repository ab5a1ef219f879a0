// Files the program writes (conversion outputs, snapshots, the settings file) are made under a
// temporary name in their own folder and put in place only when complete. A failure, a full disk,
// a kill or a power loss then never leaves a half-written file under the final name, and never
// costs the file that had that name. The temporary name is
//
//   <folder>/.<name>.part-<pid>-<six letters or digits>
//
// hidden (a dot file), plainly partial, and naming the process that writes it, so that a later run
// can remove what a process that no longer runs left behind without touching a file that another
// running copy of the program is still writing. A name too long for the file system is cut (at a
// character boundary) to leave room for the suffix.
//
//   String part;
//   int fd = CreatePartialFile(name, part);        // < 0: -errno
//   … write, close …
//   if (CommitPartialFile(part, name, replace) != 0) DeleteFile(part);
#pragma once

#include <cstddef>

#include "platform/rtl/types.h"

// Creates a new partial file for FileName in FileName's folder: exclusively (never over an existing
// entry, never through a link), mode 0666 less the umask, write-only, close-on-exec. The open file
// descriptor, or -errno (the folder missing or unwritable, …).
int CreatePartialFile(const String& FileName, String& PartName);

// True when Name (a path or a bare name) is a partial file of FileName, made by any process.
bool IsPartialFileOf(const String& Name, const String& FileName);

// Puts a complete partial file in place under FileName. Its data reaches the disk first. With
// AReplace an existing regular file of that name is replaced, when it could be written (as writing
// over it would need), and its permission bits pass to the new file; any other kind of entry there
// (a folder, a device, a link) is refused. Without AReplace any existing entry, a dangling link
// included, makes it fail with EEXIST. 0 or an errno code; on failure the partial file is left to
// the caller.
int CommitPartialFile(const String& PartName, const String& FileName, bool AReplace);

// Removes the partial files of FileName that processes no longer running left behind (regular files
// only); the number removed.
Integer SweepPartialFiles(const String& FileName);

// The file a name leads to when it is a symbolic link to an existing file (written through, as
// opening it would); otherwise FileName itself.
String LinkTarget(const String& FileName);

// Writes the whole contents of FileName through a partial file beside it. With AReplace a link to
// an existing file is written through (the partial file beside its target); without, the name is
// taken by whatever entry it has, a link included, and nothing is made outside FileName's folder.
// 0 or an errno code; nothing is left behind on failure.
int WriteWholeFileSafely(const String& FileName, const void* Data, size_t Size, bool AReplace);
