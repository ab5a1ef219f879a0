// Shared libraries loaded at run time, and the texts of system error codes.
#pragma once

#include "platform/rtl/types.h"

struct TModuleRecord;
using HMODULE = TModuleRecord*;  // opaque, pointer-sized; nullptr when not loaded

// Loads a library by path (with a "/") or bare name (the system's search), binding every symbol
// at once and keeping them local to the module. nullptr on failure, with LastLibraryError() set.
// KeepMapped: FreeLibrary drops the handle but never unmaps the library (for libraries whose own
// dependencies cannot be unloaded and loaded again safely).
HMODULE LoadLibrary(const String& FileName, bool KeepMapped = false);
// The address of an exported function or variable; nullptr with LastLibraryError() set when missing.
void* GetProcAddress(HMODULE Module, const String& ProcName);
bool FreeLibrary(HMODULE Module);
// The text of the calling thread's last failed LoadLibrary/GetProcAddress/FreeLibrary.
String LastLibraryError();

// The system's text for an errno-style code ("No such file or directory").
String SysErrorMessage(Integer ErrorCode);
