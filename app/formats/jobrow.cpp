#include "app/formats/jobrow.h"

#include <cctype>

#include "app/formats/formattables.h"
#include "app/formats/joboptions.h"
#include "app/formats/presets.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/ui/comctrls/listview.h"

const TJobColumnHeading JobColumnHeadings[JobColumnCount] = {
    {"输入文件", 80},  {"视频时间", 70},  {"文件大小", 70},  {"输出文件", 80},  {"转换进度", 70},
    {"", 0},           {"当前时间", 80},  {"转换大小", 80},  {"视频序号", 0},   {"视频类别", 0},
    {"视频选项", 0},   {"视频编码", 0},   {"音频编码", 0},   {"声音频道", 0},   {"VideoTag", 0},
    {"FileExt", 0},    {"视频分辨率", 0}, {"视频比特率", 0}, {"视频帧率", 0},   {"音频比特率", 0},
    {"音频采样率", 0}, {"视频缩放", 0},   {"视频能否", 0},   {"TargetType", 0}, {"NormType", 0},
};

String JobCell(const TListItem* Row, TJobColumn Column) {
  if (Column == colInputFile) return Row->Caption();
  TStrings* S = Row->SubItems();
  return Column - 1 < S->Count() ? S->Strings(Column - 1) : String();
}

void SetJobCell(TListItem* Row, TJobColumn Column, const String& Text) {
  if (Column == colInputFile) {
    Row->SetCaption(Text);
    return;
  }
  TStrings* S = Row->SubItems();
  while (S->Count() < Column) S->Add("");
  S->SetStrings(Column - 1, Text);
}

Integer JobRowFormatCode(const TListItem* Row) {
  Integer Position = 0;
  if (!TryStrToInt(JobCell(Row, colFormatPosition), Position)) return 0;
  return FormatCodeOf(Position / 100 - 1, Position % 100);
}

// ---- conversion parameters ----

namespace {

// The parameter columns in the order the format step writes them (sub-items 10 to 23).
constexpr TJobColumn ParameterColumns[ParameterSubItemCount] = {
    colVideoCodec,  colAudioCodec,   colAudioChannels, colVideoTag,     colFileExt,
    colFrameSize,   colVideoBitrate, colFrameRate,     colAudioBitrate, colAudioSampleRate,
    colAspectRatio, colDisableVideo, colTargetType,    colNormType};

// "-1" is how the add writes an integer field that is not set.
String UnlessUnset(const String& Text) {
  return Text == "-1" ? String() : Text;
}

}  // namespace

TJobParameters JobRowParameters(const TListItem* Row) {
  TJobParameters P;
  ResetJobParameters(P);
  P.All_Trant_Number = JobRowFormatCode(Row);
  // What no column carries comes from the format's own row of the table.
  if (const TFormatParameterRow* Table = FindFormatParameterRow(P.All_Trant_Number)) {
    if (Table->Assigns & jpFileFormat) P.Video_FileFormat = Table->FileFormat;
    if (Table->Assigns & jpAudioVolume) P.Video_AudioVolume = Table->AudioVolume;
    if (Table->Assigns & jpVideoFilters) P.Video_VideoFilters = Table->VideoFilters;
    if (Table->Assigns & jpCopyTimestamp) P.Video_CopyTimestamp = Table->CopyTimestamp;
  }
  P.Video_VideoCodec = JobCell(Row, colVideoCodec);
  P.Video_AudioCodec = JobCell(Row, colAudioCodec);
  P.Video_AudioChannels = UnlessUnset(JobCell(Row, colAudioChannels));
  P.Video_VideoTag = JobCell(Row, colVideoTag);
  P.Video_FileExt = JobCell(Row, colFileExt);
  P.Video_FrameSize = JobCell(Row, colFrameSize);
  const String VideoBitrate = JobCell(Row, colVideoBitrate);
  P.Video_VideoBitrate = VideoBitrate.empty() ? -1 : StrToInt(VideoBitrate);
  P.Video_FrameRate = JobCell(Row, colFrameRate);
  const String AudioBitrate = JobCell(Row, colAudioBitrate);
  P.Video_AudioBitrate = AudioBitrate.empty() ? -1 : StrToInt(AudioBitrate);
  P.Video_AudioSampleRate = UnlessUnset(JobCell(Row, colAudioSampleRate));
  P.Video_FrameAspectRatio = JobCell(Row, colAspectRatio);
  P.Video_DisableVideo = JobCell(Row, colDisableVideo) == "True";
  P.Video_TargetType = JobCell(Row, colTargetType);
  P.Video_NormType = JobCell(Row, colNormType);
  P.Video_AddFileName = Row->Caption();
  return P;
}

TOutputOptions JobRowOutputOptions(const TListItem* Row, const String& Folder) {
  const TJobParameters P = JobRowParameters(Row);
  TOutputOptions O = JobOutputOptions(P);
  // The start's own rules: the extension column, the video bit rate as written (-1000 too), and no
  // tag with libx264.
  if (!P.Video_FileExt.empty()) O.FileExt = P.Video_FileExt;
  O.VideoBitrate = P.Video_VideoBitrate;
  if (P.Video_VideoCodec == "libx264") O.VideoTag = "";
  O.FileName = Folder + "/" + JobCell(Row, colOutputFile);
  return O;
}

void WriteJobParameterColumns(TListItem* Row, const TJobParameters& P) {
  const auto Texts = JobParameterColumns(P);
  for (Integer I = 0; I < ParameterSubItemCount; ++I) SetJobCell(Row, ParameterColumns[I], Texts[I]);
}

// ---- output names ----

bool IsOtherRowsOutputName(const TListItems* Rows, const TListItem* Except, const String& FileName) {
  for (Integer I = 0; I < Rows->Count(); ++I) {
    const TListItem* Other = Rows->Item(I);
    if (Other != Except && JobCell(Other, colOutputFile) == FileName) return true;
  }
  return false;
}

String FreeJobOutputName(const TListItems* Rows, const TListItem* Row, const String& Wanted,
                         const String& Folder, bool Overwrite) {
  // A name that leads out of the folder is not one to number: its task is refused with the cause.
  if (Wanted.find('/') != String::npos) return Wanted;
  return ExtractFileName(FreeOutputFileName(
      Folder + "/" + Wanted, Folder, Overwrite,
      [&](const String& Path) { return IsOtherRowsOutputName(Rows, Row, ExtractFileName(Path)); }));
}

String RefusedJobOutputName(const TListItems* Rows, const TListItem* Row, const String& Name,
                            const String& Folder, bool Overwrite) {
  if (Name.empty()) return "输出文件名不能为空！";
  if (Name.find_first_of("/\\") != String::npos) return "输出文件名中不能含有“/”或“\\”！";
  if (IsOtherRowsOutputName(Rows, Row, Name)) return "列表中已有名为“" + Name + "”的输出文件，请换一个名称！";
  // Renaming onto a file the user has would replace it at the start: with overwriting off that is
  // refused here, not later.
  if (!Overwrite && FileExists(Folder + "/" + Name))
    return "输出目录中已有名为“" + Name + "”的文件，请换一个名称！";
  return "";
}

// ---- the format step ----

namespace {

String WithoutExtension(const String& Name) {
  return Name.substr(0, Name.size() - ExtractFileExt(Name).size());
}

// The stem an output name is built on: the row's own name less its extension, except that a "_n" the
// free-name rule added to the input's stem is dropped, so a new extension starts again from the plain
// name ("x_1.avi" because x.avi existed becomes "x.mp4" when that is free).
String OutputStem(const TListItem* Row) {
  const String InputStem = WithoutExtension(ExtractFileName(Row->Caption()));
  const String Current = JobCell(Row, colOutputFile);
  if (Current.empty()) return InputStem;
  const String Stem = WithoutExtension(Current);
  const String Numbered = InputStem + "_";
  if (Stem.size() > Numbered.size() && Stem.compare(0, Numbered.size(), Numbered) == 0) {
    bool Digits = true;
    for (size_t I = Numbered.size(); I < Stem.size() && Digits; ++I)
      Digits = std::isdigit(static_cast<unsigned char>(Stem[I])) != 0;
    if (Digits) return InputStem;
  }
  return Stem;
}

}  // namespace

void ApplyFormatToJobRow(TListItem* Row, const TListItems* Rows, const TJobFormatChoice& Choice,
                         const String& Folder, bool Overwrite, TJobParameters& P) {
  TJobParameters Q = P;
  Q.Video_AddFileName = Row->Caption();
  ApplyFormatParameters(Q, Choice.CategoryPosition, Choice.FormatPosition, Folder, true);
  // The same extension an add of this format gives; a code without a table row has none.
  const String Extension = ExtractFileExt(Q.Video_OutPutFileName);
  ReadPresetChoosers(Choice.Presets, Q);

  WriteJobParameterColumns(Row, Q);
  SetJobCell(Row, colFormatPosition,
             IntToStr(FormatPositionCodeOf(Choice.CategoryPosition, Choice.FormatPosition)));
  SetJobCell(Row, colPresetCode, PresetIndexCodeOf(Choice.Presets));
  const String Name = FreeJobOutputName(Rows, Row, OutputStem(Row) + Extension, Folder, Overwrite);
  SetJobCell(Row, colOutputFile, Name);
  Q.Video_OutPutFileName = Folder + "/" + Name;
  Q.Video_AddFileName = P.Video_AddFileName;
  P = Q;
}

void ApplyPresetToJobRow(TListItem* Row, TPresetSlot Slot, const IPresetChooser& Chooser, TJobParameters& P) {
  TJobParameters Q = P;
  const TPresetChange Change = PresetChooserChanged(Slot, Chooser, JobCell(Row, colPresetCode), Q);
  P = Q;
  SetJobCell(Row, colPresetCode, Change.PresetIndexCode);
  SetJobCell(Row, TJobColumn(Change.SubItem + 1), Change.ColumnText);
}
