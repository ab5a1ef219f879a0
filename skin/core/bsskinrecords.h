// Every element record of a skin, and the type words that name their classes in the element lists:
// [SKINCONTROLS] for control records, [SKINOBJECTS] for object records. Type words compare exactly.
#pragma once

#include <memory>

#include "skin/core/bsskinrecordsbars.h"
#include "skin/core/bsskinrecordsbase.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/core/bsskinrecordsform.h"
#include "skin/core/bsskinrecordslists.h"
#include "skin/core/bsskinrecordsobjects.h"

// The control type words, in the order a reader tests them and a writer tests the classes (a class
// before its base).
extern const char* const SkinControlTypeWords[29];
// The object type words, in the order a reader tests them.
extern const char* const SkinObjectTypeWords[8];

// A new record of the class the word names, with IDName AIDName; nullptr when the word names none.
std::unique_ptr<TbsDataSkinControl> CreateSkinControlRecord(const String& TypeWord, const String& AIDName);
std::unique_ptr<TbsDataSkinObject> CreateSkinObjectRecord(const String& TypeWord, const String& AIDName);

// The word a record is listed under: that of its own class; "" for a record of no listed class.
String SkinControlTypeWord(const TbsDataSkinControl* Record);
String SkinObjectTypeWord(const TbsDataSkinObject* Record);
