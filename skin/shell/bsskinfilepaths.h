// Path helpers of the folder and file lists. Paths are "/"-separated and absolute once entered; a
// relative name is resolved from the folder a control shows, never from the process's working folder,
// which the engine's worker threads share.
#pragma once

#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/types.h"

class TCanvas;

// A folder that cannot be entered or read.
NERIVO_EXCEPTION_CLASS(EInOutError, Exception);

// True when Path names a folder (a link to a folder counts).
bool IsFolder(const String& Path);
// Path + Name with one "/" between them.
String JoinPath(const String& Path, const String& Name);
// One step of shortening a folder part for display: the first folder becomes "...".
void DropFirstFolder(String& S);
// FileName shortened from the front, folder by folder, until its width on Canvas fits MaxWidth; the
// bare name when nothing else fits.
String ShortenPathToWidth(const String& FileName, TCanvas* Canvas, Integer MaxWidth);
// The absolute, link-free path of Name resolved from Base; EInOutError (with the system's reason) when
// it is not a folder that can be entered.
String EnterablePath(const String& Base, const String& Name);
// Splits typed text, resolved from Base, into a folder (absolute) and a file part (a name or a mask).
// A folder entry as the file list shows it ("[name]") is that folder. A last part that is an existing
// folder goes to the folder. EInOutError when the folder part cannot be entered.
void SplitEditPath(const String& Base, const String& EditText, String& DirPart, String& FilePart);

// One entry of a folder as the shell namespace lists it.
struct TbsFolderEntry {
  String Bytes;    // the name exactly as the file system has it
  String Display;  // the name shown (invalid UTF-8 as U+FFFD)
  bool Folder = false;
  bool Hidden = false;
  bool ReadOnly = false;
};
// The entries of Path (no "." and ".."); false with Error set when the folder cannot be read.
bool ReadFolderEntries(const String& Path, std::vector<TbsFolderEntry>& Entries, String& Error);
