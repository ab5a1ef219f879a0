// One job of the job list: its row's 25 columns (the only numbering of them), the cells, the row's
// conversion parameters and the task output record made from them, its output name, and the one
// step that applies a format to a row. Every window that changes a job goes through here, so a row
// means the same thing whoever wrote it.
#pragma once

#include "app/formats/choosers.h"
#include "app/formats/jobparameters.h"
#include "engine/component/optionrecords.h"
#include "platform/rtl/types.h"

class TListItem;
class TListItems;

// A row's Caption is column 0; SubItems[k] is column k + 1. Columns from colTaskNumber on are the
// row's hidden parameter store.
enum TJobColumn : Integer {
  colInputFile,
  colDuration,
  colFileSize,
  colOutputFile,
  colProgress,
  colFps,
  colCurrentTime,
  colConvertedSize,
  colTaskNumber,
  colFormatPosition,
  colPresetCode,
  colVideoCodec,
  colAudioCodec,
  colAudioChannels,
  colVideoTag,
  colFileExt,
  colFrameSize,
  colVideoBitrate,
  colFrameRate,
  colAudioBitrate,
  colAudioSampleRate,
  colAspectRatio,
  colDisableVideo,
  colTargetType,
  colNormType,
};
constexpr Integer JobColumnCount = 25;

struct TJobColumnHeading {
  const char* Caption;
  Integer Width;  // 0: a storage column the user never sees
};
extern const TJobColumnHeading JobColumnHeadings[JobColumnCount];

// "" for a column a short row does not have.
String JobCell(const TListItem* Row, TJobColumn Column);
// A short row gets the missing columns as empty texts first.
void SetJobCell(TListItem* Row, TJobColumn Column, const String& Text);
// The row's format code as the tables key it (from colFormatPosition); 0 when it does not read.
Integer JobRowFormatCode(const TListItem* Row);

// ---- conversion parameters ----

// The JobParameters the row stands for: the format's table values for the fields no column carries
// (container, volume, filters), then the parameter columns 11 to 24. A column that is not a number
// where one is expected raises EConvertError.
TJobParameters JobRowParameters(const TListItem* Row);
// The record its task converts with: the row's parameters as the add converts them, then the start's
// own rules (the extension column; no tag with libx264). Every preset column counts, an empty one
// ("keep the source's value") included. FileName is Folder + "/" + the row's output name.
TOutputOptions JobRowOutputOptions(const TListItem* Row, const String& Folder);
// Columns 11 to 24 from the parameters.
void WriteJobParameterColumns(TListItem* Row, const TJobParameters& P);

// ---- output names ----

// Whether a row of Rows other than Except writes to FileName (a name without folder).
bool IsOtherRowsOutputName(const TListItems* Rows, const TListItem* Except, const String& FileName);
// Wanted, or the first free "_n" form of it (a name without folder): never another row's name, and,
// while Overwrite is off, never the name of a file in Folder.
String FreeJobOutputName(const TListItems* Rows, const TListItem* Row, const String& Wanted,
                         const String& Folder, bool Overwrite);
// Why Name cannot be the output name of Row ("" when it can): empty, a folder separator, another
// row's name, or (overwrite off) a file that exists in Folder.
String RefusedJobOutputName(const TListItems* Rows, const TListItem* Row, const String& Name,
                            const String& Folder, bool Overwrite);

// ---- the format step ----

// A chooser set's choice of format and presets.
struct TJobFormatChoice {
  Integer CategoryPosition;
  Integer FormatPosition;
  TPresetChoosers Presets;
};

// Applies a format to a row: the JobParameters recomputed for the format and the shown presets; the
// parameter, preset, format position and preset code columns written; the output name given the
// format's extension, free by FreeJobOutputName. A preset text that does not read raises
// EConvertError before anything is written. Video_AddFileName is left as it was.
void ApplyFormatToJobRow(TListItem* Row, const TListItems* Rows, const TJobFormatChoice& Choice,
                         const String& Folder, bool Overwrite, TJobParameters& P);

// A preset chooser's change on a row: its pair of the preset code and its column. Worked out on a
// copy of P: a text that does not read raises EConvertError and neither P nor the row changes.
void ApplyPresetToJobRow(TListItem* Row, TPresetSlot Slot, const IPresetChooser& Chooser, TJobParameters& P);
