#include "engine/base/librarymessage.h"

#include <cstdio>

#include "engine/base/avheaders.h"
#include "platform/rtl/strings.h"

namespace {

thread_local String GLastError;

}  // namespace

void NoteLibraryMessage(int ALevel, const char* AFormat, va_list AArgs) {
  if (ALevel > AV_LOG_ERROR || !AFormat) return;
  char buffer[512];
  va_list args;
  va_copy(args, AArgs);
  vsnprintf(buffer, sizeof buffer, AFormat, args);
  va_end(args);
  // A message may come in pieces; a piece that is only a line end keeps the text before it.
  const String text = Trim(String(buffer));
  if (!text.empty()) GLastError = text;
}

String LastFFmpegErrorLine() {
  return GLastError;
}

void ClearFFmpegErrorLine() {
  GLastError.clear();
}
