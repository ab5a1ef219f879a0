// The last error line the libraries logged on this thread, kept whatever the log level, so that a
// failed call can tell its cause in the message the user sees.
#pragma once

#include <cstdarg>

#include "platform/rtl/types.h"

// Called by the log callback for every message; keeps the text of error-level ones (and worse).
void NoteLibraryMessage(int ALevel, const char* AFormat, va_list AArgs);
// The last kept line of this thread, trimmed; empty when none since the last clearing.
String LastFFmpegErrorLine();
void ClearFFmpegErrorLine();
