// The skin description as text: how its bytes become an ini object and back, and how an element list
// entry names its element. The sections and keys themselves are read and written by TbsSkinData.
#pragma once

#include "platform/rtl/inifiles.h"
#include "platform/rtl/types.h"

// The skin-wide sections, in the order a writer produces them.
extern const char* const SkinDescriptionSections[10];

// "name:type" split at the first colon; without a colon both parts are empty.
void SplitElementEntry(const String& Entry, String& IDName, String& TypeWord);

// The description's bytes as UTF-8. A UTF-8 or UTF-16 byte-order mark decides the encoding; otherwise
// the text is in the system code page.
String DecodeSkinDescription(const String& Bytes);
// Lines as description text: system code page, no byte-order mark, every line ended by CR LF.
String EncodeSkinDescription(TStrings* Lines);

// Replaces the ini's contents by the description in Text. A UTF-8 or UTF-16 byte-order mark decides
// the encoding; otherwise the text is in the system code page.
void LoadSkinDescriptionText(TMemIniFile* IniFile, const String& Text);
// The ini's sections as description text: system code page, no byte-order mark, CR LF line ends.
String SkinDescriptionText(TMemIniFile* IniFile);

// The whole file, or EFOpenError.
String ReadSkinFileBytes(const String& FileName);
// Creates or replaces the file; EFCreateError when it cannot.
void WriteSkinFileBytes(const String& FileName, const String& Bytes);
