// The settings dialog's routines over its choosers and the main window's JobParameters, apart from
// the window so that they can be driven by chooser doubles.
#pragma once

#include "app/formats/choosers.h"
#include "app/formats/jobparameters.h"

// Button18: clears and enables the six choosers, stores the code and clears Video_DisableVideo,
// then fills each chooser from the code's row in fill order, selecting its default; a no-video row
// disables the four video choosers afterwards. A code without a row leaves them empty and enabled.
void FillSettingsPresetChoosers(const TPresetChoosers& Choosers, Integer Category, Integer Format,
                                TJobParameters& P);

// Button13: the six fields from the choosers' texts, in the order frame size, frame rate, video
// bitrate, sample rate, audio bitrate, aspect. A bitrate text that does not convert raises
// EConvertError and leaves the later fields as they were.
void ReadSettingsPresetChoosers(const TPresetChoosers& Choosers, TJobParameters& P);

// Button5: stores the code and clears Video_DisableVideo, applies the code's row without resetting
// the other fields, and makes Video_OutPutFileName free in OutputFolder (numbered unless Overwrite).
void ApplySettingsFormatParameters(TJobParameters& P, Integer Category, Integer Format,
                                   const String& OutputFolder, bool Overwrite);
