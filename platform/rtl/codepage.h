// The process's system code page: the byte encoding that file names and texts take when they are
// handed to libraries that do not speak UTF-8. UTF-8 by default; tests set others ("ISO-8859-1",
// "CP1252", "GBK") to exercise the conversion paths. Conversions go through iconv.
#pragma once

#include "platform/rtl/types.h"

// Any name iconv knows. EConvertError with SInvalidCodePage for an unknown one (the setting stays).
void SetSystemCodePage(const String& Name);
String SystemCodePage();
bool SystemCodePageIsUtf8();

// UTF-8 to the system code page. False when a character cannot be represented (or the input is not
// valid UTF-8); Out then holds "?" in its place and the rest converted.
bool Utf8ToSystem(const String& S, String& Out);
// The system code page to UTF-8. False when a byte sequence is not valid in the code page; Out then
// holds U+FFFD in its place.
bool SystemToUtf8(const String& S, String& Out);
