// Our own skin, drawn in code: picture sheets where every state and every slice of an element has a
// colour of its own (so a test can tell from one pixel which part of which state was drawn), a frame
// with caption and caption buttons, and the control and object elements the program's windows look
// up by name.
#pragma once

#include "platform/rtl/types.h"

class TbsSkinData;

// The elements, in list order (control elements sit in row Index of the control sheet).
int GeneratedSkinControlCount();
const char* GeneratedSkinControlName(int Index);
int GeneratedSkinObjectCount();
const char* GeneratedSkinObjectName(int Index);

// The colour of one slice (0..8, rows of three from the top left) of one state of one element: the
// same element, state and slice always give the same colour, and no two give the same one.
Cardinal GeneratedSkinSliceColor(int Element, int State, int Slice);

// The colour element of the hint window's picture (its slices as GeneratedSkinSliceColor gives them).
constexpr int GeneratedSkinHintElement = 48;

// Replaces SkinData's skin by the generated one without announcing anything; SkinData is then loaded
// (Empty false).
void BuildGeneratedSkin(TbsSkinData* SkinData);
// The folder form: Folder + "skin.ini" and its BMP files. Returns the description's path.
String WriteGeneratedSkinFolder(const String& Folder);
// The compressed container.
void WriteGeneratedSkinContainer(const String& FileName);
