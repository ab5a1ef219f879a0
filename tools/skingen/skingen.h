// Our own skin, drawn in code: picture sheets where every state and every slice of an element has a
// colour of its own (so a test can tell from one pixel which part of which state was drawn), a frame
// with caption and caption buttons, and the control and object elements the program's windows look
// up by name.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/types.h"
#include "tools/skingen/vectorpaint.h"

class TbsSkinData;
class TbsResourceStrData;

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

// Both forms of any skin a builder makes, written the same way.
using TSkinBuilder = void (*)(TbsSkinData* SkinData);
String WriteSkinFolder(const String& Folder, TSkinBuilder Build);
void WriteSkinContainer(const String& FileName, TSkinBuilder Build);

// ---- the product skin ----
// Our product's skin: every element of the generated skin (same names and record kinds), drawn in the
// product look, plus the accent-faced default button the main window's primary command takes, and the
// library's texts in Chinese.
constexpr const char* ProductDefaultButtonName = "defaultbutton";
void BuildProductSkin(TbsSkinData* SkinData);
// The string table the product skin carries: a Chinese text for every key of the skin library's table,
// in that table's order, character set GB2312.
std::unique_ptr<TbsResourceStrData> ProductStringTable();
String WriteProductSkinFolder(const String& Folder);
void WriteProductSkinContainer(const String& FileName);
// The product's pictures and sound, into Folder: the application icon at its sizes, the command
// glyphs with their disabled twins, the two placeholders and the end-of-batch chime.
void WriteProductPictures(const String& Folder);

// Where each picture lies under the folder WriteProductPictures writes, and the pictures themselves
// (for tests and for whoever draws them elsewhere).
constexpr Integer ProductIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr Integer ProductGlyphSizes[] = {16, 24, 32};
enum TProductPlaceholder { ppEmptyList, ppStoppedPreview };
constexpr const char* ProductChimeFile = "sounds/done.wav";
String ProductIconFile(Integer Size);
String ProductGlyphFile(const String& Name, Integer Size, bool Disabled);
String ProductPlaceholderFile(TProductPlaceholder Which);
int ProductGlyphCount();
const char* ProductGlyphName(int Index);
TVectorImage ProductAppIcon(Integer Size);
TVectorImage ProductGlyph(const String& Name, Integer Size, bool Disabled);
TVectorImage ProductPlaceholder(TProductPlaceholder Which);
// The category chooser's pictures, one per format family (0 … 23; family 1 is sound only), and the
// format chooser's two alternating pictures, all ProductChooserPictureSize square.
constexpr Integer ProductCategoryCount = 24;
constexpr Integer ProductChooserPictureSize = 20;
String ProductCategoryFile(Integer Family);
String ProductFormatFile(Integer Which);
TVectorImage ProductCategoryPicture(Integer Family);
TVectorImage ProductFormatPicture(Integer Which);
// 16-bit mono PCM in a RIFF WAVE file.
std::vector<Byte> ProductChimeWav();
