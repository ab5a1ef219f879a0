#include "app/settingsdialog/settingsroutines.h"

#include "app/formats/presets.h"
#include "app/settingsdialog/settingscatalogue.h"
#include "platform/rtl/files.h"

void FillSettingsPresetChoosers(const TPresetChoosers& Choosers, Integer Category, Integer Format,
                                TJobParameters& P) {
  for (TPresetSlot slot : {psFrameSize, psVideoBitrate, psAudioBitrate, psAspect, psFrameRate, psSampleRate})
    Choosers[slot]->ClearItems();
  for (TPresetSlot slot : {psFrameSize, psVideoBitrate, psAudioBitrate, psAspect, psFrameRate, psSampleRate})
    Choosers[slot]->SetEnabled(true);
  P.All_Trant_Number = SettingsFormatCode(Category, Format);
  P.Video_DisableVideo = false;
  const TPresetRow* row = FindSettingsPresetRow(P.All_Trant_Number);
  if (!row) return;
  for (TPresetSlot slot : PresetFillOrder) {
    IPresetChooser& c = *Choosers[slot];
    const TPresetList& list = PresetListOf(*row, slot);
    for (Integer i = 0; i < list.Count; ++i) c.AddItem(list.Entries[i]);
    c.SetItemIndex(row->Choices[slot].Default);
  }
  if (IsNoVideoCode(row->Code)) {
    for (TPresetSlot slot : {psFrameSize, psVideoBitrate, psAspect, psFrameRate})
      Choosers[slot]->SetEnabled(false);
  }
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
  if (const TFormatParameterRow* row = FindSettingsParameterRow(P.All_Trant_Number)) {
    P.Video_OutPutFileName =
        OutputFolder + "/" + ChangeFileExt(ExtractFileName(P.Video_AddFileName), row->OutputExt);
    ApplyParameterRow(*row, P);
  }
  P.Video_OutPutFileName = FreeOutputFileName(P.Video_OutPutFileName, OutputFolder, Overwrite);
}
