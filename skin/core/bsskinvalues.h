// How a skin description spells its values: rectangles, points, flags, font styles, string lists,
// alignments and the skin enumerations, read from and written to the description's ini object. Every
// element record goes through these routines, so each value kind has exactly one text form.
// Keywords compare exactly (case-sensitive); section and key names are the ini object's business.
#pragma once

#include "platform/rtl/inifiles.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/graphicsobjects.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"

// TbsStretchType (bscompose.h) and TAlignment (bsdraw.h) come with the drawing code that uses them.
enum TbsMorphKind {
  mkDefault,
  mkGradient,
  mkLeftGradient,
  mkRightGradient,
  mkLeftSlide,
  mkRightSlide,
  mkPush
};
enum TbsInActiveEffect { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };
// The command of a caption button.
enum TbsStdCommand { cmClose, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmMinimizeToTray };

// Skin-text words of the enumerations, indexed by ordinal.
extern const char* const SkinStretchTypeWords[3];
extern const char* const SkinMorphKindWords[7];
extern const char* const SkinInActiveEffectWords[6];
extern const char* const SkinStdCommandWords[7];

// "x,y" and "left,top,right,bottom". A field keeps its digits and a leading minus sign; every other
// character is dropped, so blanks are harmless. Fields past the last one used are ignored. A missing or
// empty field, or one that is no 32-bit integer, raises EConvertError.
TPoint ParseSkinPoint(const String& Text);
TRect ParseSkinRect(const String& Text);

TPoint ReadSkinPoint(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TRect ReadSkinRect(TCustomIniFile* IniFile, const String& Section, const String& Ident);
// True only for the integer 1.
bool ReadSkinBool(TCustomIniFile* IniFile, const String& Section, const String& Ident);
// A style is present when its word occurs anywhere in the text.
TFontStyles ReadSkinFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident);
// Appends the lines of the list stored under Ident (count key Ident + "count", line keys "0" ...).
void ReadSkinStrings(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* Strings);
TAlignment ReadSkinAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TbsStretchType ReadSkinStretchType(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TbsMorphKind ReadSkinMorphKind(TCustomIniFile* IniFile, const String& Section, const String& Ident);
TbsInActiveEffect ReadSkinInActiveEffect(TCustomIniFile* IniFile, const String& Section, const String& Ident);

void WriteSkinPoint(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TPoint& P);
void WriteSkinRect(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TRect& R);
void WriteSkinBool(TCustomIniFile* IniFile, const String& Section, const String& Ident, bool Value);
void WriteSkinFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                         TFontStyles Styles);
void WriteSkinStrings(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* Strings);
void WriteSkinAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                        TAlignment Value);
void WriteSkinStretchType(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                          TbsStretchType Value);
void WriteSkinMorphKind(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                        TbsMorphKind Value);
void WriteSkinInActiveEffect(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                             TbsInActiveEffect Value);

// A stock button's command: the words of SkinStdCommandWords; any other text is cmMinimizeToTray, an
// absent key cmDefault.
TbsStdCommand ReadSkinStdCommand(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteSkinStdCommand(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                         TbsStdCommand Value);

// A text is a skin description when VERSION, PICTURES, FORMINFO, SKINOBJECTS and SKINCONTROLS all hold keys.
bool IsValidSkinIni(TCustomIniFile* IniFile);
