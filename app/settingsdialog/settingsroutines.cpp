#include "app/settingsdialog/settingsroutines.h"

#include "app/formats/presets.h"
#include "app/settingsdialog/settingscatalogue.h"

void FillSettingsPresetChoosers(const TPresetChoosers& Choosers, Integer Category, Integer Format,
                                TJobParameters& P) {
  const Integer Code = SettingsFormatCode(Category, Format);
  FillPresetChoosersFromRow(Choosers, Code, FindSettingsPresetRow(Code), P);
}

void ReadSettingsPresetChoosers(const TPresetChoosers& Choosers, TJobParameters& P) {
  for (TPresetSlot slot :
       {psFrameSize, psFrameRate, psVideoBitrate, psSampleRate, psAudioBitrate, psAspect}) {
    String text = Choosers[slot]->Text();
    if (slot == psSampleRate) {
      // No automatic sample rate in this dialog: every text is taken as it stands.
      P.Video_AudioSampleRate = text;
      continue;
    }
    // Nor an automatic audio bitrate: that text has no "kbps", so its number part is empty and
    // fails to convert like any other such text.
    if (slot == psAudioBitrate && text == "自动音频比特率") text = "";
    SetParameterFromPresetText(slot, text, P, ptuReader);
  }
}

void ApplySettingsFormatParameters(TJobParameters& P, Integer Category, Integer Format,
                                   const String& OutputFolder, bool Overwrite) {
  P.All_Trant_Number = SettingsFormatCode(Category, Format);
  P.Video_DisableVideo = false;
  ApplyParameterRowAndOutputName(P, FindSettingsParameterRow(P.All_Trant_Number), OutputFolder, Overwrite);
}
