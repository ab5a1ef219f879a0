// The settings dialog's own edition of the format tables: twelve categories whose position is the
// CategoryCode itself, each format with a title and a one-line description, and the preset and
// parameter rows of the codes 100 to 1203. What equals the main tables is read from them; only the
// differences are kept here.
#pragma once

#include "app/formats/formattables.h"
#include "platform/rtl/types.h"

constexpr Integer SettingsCategoryCount = 12;
extern const char* const SettingsCategoryCaptions[SettingsCategoryCount];

// 0 for a category outside 0..11.
Integer SettingsFormatCount(Integer Category);
// nullptr outside the catalogue.
const char* SettingsFormatTitle(Integer Category, Integer Position);
const char* SettingsFormatDescription(Integer Category, Integer Position);

// The format code of the dialog's choosers: 100 x (category + 1) + format, unchecked.
constexpr Integer SettingsFormatCode(Integer Category, Integer Format) {
  return 100 * (Category + 1) + Format;
}

// nullptr when the dialog has no row for the code (anything outside 100..1203 included).
const TPresetRow* FindSettingsPresetRow(Integer Code);
const TFormatParameterRow* FindSettingsParameterRow(Integer Code);
