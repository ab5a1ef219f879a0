#include "app/formats/presets.h"

#include <cstdint>

#include "platform/rtl/consts.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"

namespace {

// "816 kbps" -> 816000. The product is checked, since a chooser text is not ours to trust.
Integer kbpsToBitrate(const String& Text, bool AllowFraction) {
  String number = Trim(Copy(Text, 0, Pos("kbps", Text)));
  Int64 value;
  if (AllowFraction && Pos(".", number) >= 0) {
    // The fraction goes through text with 15 significant digits, so "12.2" gives 12200 and not the
    // 12199.999... of the binary product.
    value = StrToInt64(FloatToStr(StrToFloat(number) * 1000.0));
  } else {
    value = Int64(StrToInt(number)) * 1000;
  }
  if (value < INT32_MIN || value > INT32_MAX) {
    throw EConvertError(Format(SInvalidInteger, {Text}));
  }
  return Integer(value);
}

}  // namespace

void FillFormatChooser(IFormatChooser& Chooser, Integer CategoryPosition) {
  Chooser.ClearItems();
  Chooser.Refresh();
  Chooser.Repaint();
  Integer category = CategoryCodeOfPosition(CategoryPosition);
  if (category < 0) return;  // no category selected: the format chooser stays empty
  for (Integer p = 0; p < FamilyFormatCount(category); ++p) {
    Chooser.AddItem(FormatCaption(category, p), p % 2);
  }
  Chooser.Refresh();
  Chooser.Repaint();
  Chooser.SetItemIndex(0);
}

void FillPresetChoosers(const TPresetChoosers& Choosers, Integer CategoryPosition, Integer FormatPosition,
                        TJobParameters& P) {
  const Integer Code = FormatCodeOf(CategoryPosition, FormatPosition);
  FillPresetChoosersFromRow(Choosers, Code, FindPresetRow(Code), P);
}

void FillPresetChoosersFromRow(const TPresetChoosers& Choosers, Integer Code, const TPresetRow* Row,
                               TJobParameters& P) {
  for (IPresetChooser* c : Choosers) c->ClearItems();
  for (IPresetChooser* c : Choosers) c->SetEnabled(true);
  P.All_Trant_Number = Code;
  P.Video_DisableVideo = false;
  if (!Row) return;
  for (TPresetSlot slot : PresetFillOrder) {
    IPresetChooser& c = *Choosers[slot];
    const TPresetList& list = PresetListOf(*Row, slot);
    for (Integer i = 0; i < list.Count; ++i) c.AddItem(list.Entries[i]);
    c.SetItemIndex(Row->Choices[slot].Default);
  }
  if (IsNoVideoCode(Row->Code)) {
    for (TPresetSlot slot : {psFrameSize, psVideoBitrate, psAspect, psFrameRate})
      Choosers[slot]->SetEnabled(false);
  }
}

void SetParameterFromPresetText(TPresetSlot Slot, const String& Text, TJobParameters& P, TPresetTextUse Use) {
  switch (Slot) {
    case psFrameSize:
      P.Video_FrameSize = Text == "保持原分辨率" || Text == "该格式无视频" ? "" : Text;
      break;
    case psFrameRate:
      P.Video_FrameRate = Text == "保持原帧速率" || Text == "无视频" ? "" : Text;
      break;
    case psVideoBitrate:
      P.Video_VideoBitrate = Text == "无视频" ? -1000 : kbpsToBitrate(Text, false);
      break;
    case psAudioBitrate:
      P.Video_AudioBitrate = Text == "自动音频比特率" ? -1000 : kbpsToBitrate(Text, true);
      break;
    case psSampleRate:
      if (Text == "自动音频采样率") {
        P.Video_AudioSampleRate = Use == ptuReader ? "AUTO" : "";
      } else {
        P.Video_AudioSampleRate = Text;
      }
      break;
    case psAspect:
      if (Text == "保持原视频模式" || Text == "无视频") {
        P.Video_FrameAspectRatio = "";
      } else if (Text == "普通视频4:3模式") {
        P.Video_FrameAspectRatio = "4:3";
      } else if (Text == "宽屏视频16:9模式") {
        P.Video_FrameAspectRatio = "16:9";
      } else if (Text == "宽屏视频37:20模式") {
        P.Video_FrameAspectRatio = "37:20";
      } else if (Text == "宽屏视频47:20模式") {
        P.Video_FrameAspectRatio = "47:20";
      }
      break;
  }
}

void ReadPresetChoosers(const TPresetChoosers& Choosers, TJobParameters& P) {
  for (TPresetSlot slot :
       {psFrameSize, psFrameRate, psVideoBitrate, psSampleRate, psAudioBitrate, psAspect}) {
    SetParameterFromPresetText(slot, Choosers[slot]->Text(), P, ptuReader);
  }
}

Integer PresetParameterSubItem(TPresetSlot Slot) {
  switch (Slot) {
    case psFrameSize:
      return 15;
    case psVideoBitrate:
      return 16;
    case psFrameRate:
      return 17;
    case psAudioBitrate:
      return 18;
    case psSampleRate:
      return 19;
    case psAspect:
      return 20;
  }
  return -1;
}

String PresetParameterColumnText(TPresetSlot Slot, const TJobParameters& P) {
  switch (Slot) {
    case psFrameSize:
      return P.Video_FrameSize;
    case psVideoBitrate:
      return IntToStr(P.Video_VideoBitrate);
    case psFrameRate:
      return P.Video_FrameRate;
    case psAudioBitrate:
      return IntToStr(P.Video_AudioBitrate);
    case psSampleRate:
      return P.Video_AudioSampleRate;
    case psAspect:
      return P.Video_FrameAspectRatio;
  }
  return "";
}

String PresetPairText(Integer Position) {
  // A chooser without a selection is kept as "-1", still two characters, so the pairs after it
  // stay in place.
  if (Position < 0) return "-1";
  if (Position <= 9) return "0" + IntToStr(Position);
  return IntToStr(Position);
}

String PresetIndexCodeOf(const TPresetChoosers& Choosers) {
  String code;
  for (IPresetChooser* c : Choosers) code += PresetPairText(c->ItemIndex());
  return code;
}

String ReplacePresetPair(const String& PresetIndexCode, TPresetSlot Slot, Integer Position) {
  Integer k = Integer(Slot) + 1;
  return Copy(PresetIndexCode, 0, 2 * (k - 1)) + PresetPairText(Position) + Copy(PresetIndexCode, 2 * k);
}

TPresetChange PresetChooserChanged(TPresetSlot Slot, const IPresetChooser& Chooser,
                                   const String& OldPresetIndexCode, TJobParameters& P) {
  TPresetChange change;
  change.PresetIndexCode = ReplacePresetPair(OldPresetIndexCode, Slot, Chooser.ItemIndex());
  SetParameterFromPresetText(Slot, Chooser.Text(), P, ptuChangeHandler);
  change.SubItem = PresetParameterSubItem(Slot);
  change.ColumnText = PresetParameterColumnText(Slot, P);
  return change;
}

String CutOutputExtension(const String& Caption) {
  Integer length = Utf8Length(Caption);
  Integer first = length - 5 < 0 ? 0 : length - 5;
  Integer count = length - 1 - first < 0 ? 0 : length - 1 - first;
  String ext = Utf8Copy(Caption, first, count);
  if (ext == "flac") ext = ".flac";
  if (ext == "aiff") ext = ".aiff";
  if (ext == "*.rm") ext = ".rm";
  if (ext == "*.ra") ext = ".ra";
  return ext;
}
