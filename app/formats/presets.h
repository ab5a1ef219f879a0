// The chooser routines: the format chooser fill, the preset fill, the preset choosers' texts into
// the JobParameters, the PresetIndexCode pairs and the output extension cut from a caption.
#pragma once

#include "app/formats/choosers.h"
#include "app/formats/jobparameters.h"

// Button2: refills the format chooser with the captions of the family the category position maps
// to (image index = position mod 2) and selects position 0, which runs the chooser's handlers.
// A category position outside the map leaves the chooser empty and selects nothing.
void FillFormatChooser(IFormatChooser& Chooser, Integer CategoryPosition);

// Button18: clears and enables the six choosers, stores All_Trant_Number and clears
// Video_DisableVideo, then fills each chooser from the code's row in fill order and selects its
// default (running its handlers as the chooser fires them); a no-video row disables the four video
// choosers afterwards. A code without a row leaves the choosers empty and enabled.
void FillPresetChoosers(const TPresetChoosers& Choosers, Integer CategoryPosition, Integer FormatPosition,
                        TJobParameters& P);
// The same fill for a code already computed, with the row a window's own table gives it (null: none).
void FillPresetChoosersFromRow(const TPresetChoosers& Choosers, Integer Code, const TPresetRow* Row,
                               TJobParameters& P);

// The two users of the chooser texts differ only on the automatic sample-rate text.
enum TPresetTextUse {
  ptuReader,         // Button13: "自动音频采样率" gives "AUTO"
  ptuChangeHandler,  // a chooser's change handler: it gives ""
};

// One chooser text into its JobParameters field. Bit-rate texts that do not parse raise
// EConvertError; an aspect text that matches no rule leaves the field as it is.
void SetParameterFromPresetText(TPresetSlot Slot, const String& Text, TJobParameters& P, TPresetTextUse Use);

// Button13: the six fields from the choosers' texts, in the order frame size, frame rate, video bit
// rate, sample rate, audio bit rate, aspect.
void ReadPresetChoosers(const TPresetChoosers& Choosers, TJobParameters& P);

// The job row's column of a chooser's field (SubItems 15 to 20) and its text.
Integer PresetParameterSubItem(TPresetSlot Slot);
String PresetParameterColumnText(TPresetSlot Slot, const TJobParameters& P);

// PresetIndexCode: six two-character pairs of chooser positions in TPresetSlot order.
constexpr Integer PresetCodeSubItem = 9;
String PresetPairText(Integer Position);
String PresetIndexCodeOf(const TPresetChoosers& Choosers);
String ReplacePresetPair(const String& PresetIndexCode, TPresetSlot Slot, Integer Position);

// What a preset chooser's change handler does for the selected job row: the row's new
// PresetIndexCode, and the field set from the chooser's text with the column it goes to.
struct TPresetChange {
  String PresetIndexCode;
  Integer SubItem;
  String ColumnText;
};
TPresetChange PresetChooserChanged(TPresetSlot Slot, const IPresetChooser& Chooser,
                                   const String& OldPresetIndexCode, TJobParameters& P);

// The output extension of a format caption: the four characters before the last one, with "flac",
// "aiff", "*.rm" and "*.ra" given their dot.
String CutOutputExtension(const String& Caption);
