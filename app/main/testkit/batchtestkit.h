// Test support for running batches in the main window: job rows and their option slots made as the
// add routine makes them, tiny clips to convert, the desktop services and message boxes recorded,
// and a wait for the batch's end that serves the main thread meanwhile.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "app/main/options/optionsdialog.h"
#include "app/main/testkit/mainformtestkit.h"
#include "engine/base/engineutils.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/testkit/testmedia.h"
#include "engine/component/ffmpegconverter.h"
#include "engine/component/testkit/component_testkit.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/shell/testkit/fakes.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/core/application.h"
#include "platform/ui/dialogs/messagebox.h"
#include "platform/ui/stdctrls/memo.h"
#include "skin/controls/views/bsskinlistview.h"

namespace batchtest {

// What a job row says about its conversion: the columns the batch start reads.
struct TJobRow {
  TJobRow(String AInput, String AOutput) : Input(std::move(AInput)), Output(std::move(AOutput)) {}
  String Input;
  String Output;  // file name in the output folder
  String VideoCodec = "mpeg4";
  String AudioCodec = "mp2";
  String AudioChannels = "-1";
  String VideoTag;
  String FileExt = ".avi";
  String FrameSize;
  String VideoBitrate = "-1";
  String FrameRate;
  String AudioBitrate = "-1";
  String AudioSampleRate;
  String AspectRatio;
  String DisableVideo = "False";
  String TargetType;
  String NormType;
};

// The job list's columns as the window shows them (a list without columns shows no rows).
inline void EnsureJobColumns(TForm1* F) {
  TListColumns* Columns = F->lvFiles->Columns();
  if (Columns->Count() > 0) return;
  struct TColumn {
    const char* Caption;
    Integer Width;
  };
  const TColumn Shown[] = {{"输入文件", 180}, {"视频时间", 70}, {"文件大小", 70}, {"输出文件", 110},
                           {"转换进度", 70},  {"", 0},          {"当前时间", 80}, {"转换大小", 80}};
  for (const TColumn& C : Shown) {
    TListColumn* Column = Columns->Add();
    Column->SetCaption(C.Caption);
    Column->SetWidth(C.Width);
  }
  for (Integer I = 8; I < 25; ++I) Columns->Add()->SetWidth(0);
}

// Appends a row with its 24 sub-items and fills the slot of its index as the add routine does: the
// input record named after the input, the output record from the row's parameters, marker "Full".
inline Integer AddJobRow(TForm1* F, const TJobRow& R) {
  EnsureJobColumns(F);
  const Integer Index = F->lvFiles->Items()->Count();
  TListItem* Item = F->lvFiles->Items()->Add();
  Item->SetCaption(R.Input);
  const Int64 Size = FileExists(R.Input) ? FileSize(R.Input) : 0;
  const String Items[24] = {"00:00:01",
                            FileSizeText(Size),
                            R.Output,
                            "",
                            "",
                            "",
                            "",
                            IntToStr(Index + 1),
                            "300",
                            "000000000000",
                            R.VideoCodec,
                            R.AudioCodec,
                            R.AudioChannels,
                            R.VideoTag,
                            R.FileExt,
                            R.FrameSize,
                            R.VideoBitrate,
                            R.FrameRate,
                            R.AudioBitrate,
                            R.AudioSampleRate,
                            R.AspectRatio,
                            R.DisableVideo,
                            R.TargetType,
                            R.NormType};
  for (const String& S : Items) Item->SubItems()->Add(S);

  TInputOptions& In = F->IO1[Index];
  InitInputOptions(In);
  In.FileName = R.Input;
  TOutputOptions& Out = F->OO1[Index];
  InitOutputOptions(Out);
  Out.FileName = F->FileOutPutPath + "/" + R.Output;
  Out.FileExt = R.FileExt;
  Out.VideoCodec = R.VideoCodec;
  Out.AudioCodec = R.AudioCodec;
  Out.AudioLanguage = "Full";
  return Index;
}

// 1 s clips of 64x48 MPEG-4 video with mono MP2, one file per name.
inline std::vector<String> TinyClips(Integer Count, const String& Prefix = "batch") {
  std::vector<TTestMediaRecipe> Recipes;
  for (Integer I = 0; I < Count; ++I)
    Recipes.push_back({Prefix + IntToStr(I) + ".avi",
                       "-f lavfi -i testsrc=size=64x48:rate=25 -f lavfi -i sine=r=22050 -t 1 -ac 1 "
                       "-c:v mpeg4 -c:a mp2"});
  return TestMediaFiles(Recipes);
}

// A clip long enough that its conversion is still under way when a test pauses or stops it: a task
// waits at its first progress report until the main thread takes it.
inline String LongClip() {
  return TestMediaFile("batchlong.avi",
                       "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine=r=44100 -t 30 -ac 2 "
                       "-c:v mpeg4 -c:a mp2");
}

inline String ReadWhole(const String& File) {
  std::ifstream In(File, std::ios::binary);
  return String(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// The first video stream as the ffprobe tool reads it: "width,height,frame rate" ("96,72,15/1"), ""
// when there is none.
inline String ProbedVideo(const String& File) {
  const String Command =
      "ffprobe -v error -select_streams v:0 -show_entries stream=width,height,r_frame_rate "
      "-of csv=p=0 '" +
      File + "' 2>/dev/null";
  String Out;
  if (FILE* Pipe = popen(Command.c_str(), "r")) {
    char Buffer[256];
    while (fgets(Buffer, sizeof Buffer, Pipe) != nullptr) Out += Buffer;
    pclose(Pipe);
  }
  while (!Out.empty() && (Out.back() == '\n' || Out.back() == ',')) Out.pop_back();
  return Out;
}

// The ffmpeg tool reads the whole file without an error.
inline bool DecodesWhole(const String& File) {
  const String Command = "ffmpeg -nostdin -v error -xerror -i '" + File + "' -f null - 2>/dev/null";
  return FileExists(File) && std::system(Command.c_str()) == 0;
}

struct TMessageBoxCall {
  String Text, Caption;
  UINT Flags;
};

// The main window with the engine's libraries loaded, the desktop services faked and the message
// boxes recorded. The engine's events reach the window on the main thread as in the program.
class TBatchTest : public mainformtest::TMainFormTest {
 protected:
  void SetUp() override {
    TMainFormTest::SetUp();
    SetMessageBoxFunction([this](const String& Text, const String& Caption, UINT Flags) {
      Boxes.push_back({Text, Caption, Flags});
      return Integer(IDOK);
    });
    Application->SetTitle("NerivoAVI/MPEG格式转换器");
  }
  void TearDown() override {
    // A batch still running would outlive the window.
    if (F != nullptr) F->ZUVER->Stop(true);
    F = nullptr;
    TMainFormTest::TearDown();
  }

  TForm1* CreateWindow() {
    F = Create();
    EXPECT_TRUE(F->ZUVER->LoadAVLib(GetExePath() + "LibAV")) << F->ZUVER->LastErrMsg();
    GetFFLogger()->SetTriggerEventInMainThread(true);
    return F;
  }
  // The options dialog as the program makes it, with its stored defaults.
  TForm5* CreateOptions() {
    auto* D = new TForm5(Application, F->bsSkinData1, F->ZUVER, File());
    D->AfterConstruction();
    F->SetOptionsDialog(D);
    return D;
  }

  // Serves the main thread until the window handled Count batch ends (false when that never came:
  // the limit only guards against a hang, and leaves room for slow sanitizer builds).
  bool WaitForBatchEnd(Integer Count = 1) {
    return component_test::ServeUntil([&] { return F->BatchEndCount() >= Count; }, 300);
  }

  TListItem* Row(Integer I) const { return F->lvFiles->Items()->Item(I); }
  String Cell(Integer RowIndex, Integer SubItem) const { return Row(RowIndex)->SubItems()->Strings(SubItem); }
  String Progress(Integer RowIndex) const { return Cell(RowIndex, 3); }
  String OutputPath(const String& Name) const { return F->FileOutPutPath + "/" + Name; }
  bool LogHas(const String& Part) const {
    for (Integer I = 0; I < F->mmoLog->Lines()->Count(); ++I)
      if (F->mmoLog->Lines()->Strings(I).find(Part) != String::npos) return true;
    return false;
  }

  shelltest::TShellFakes Shell;
  std::vector<TMessageBoxCall> Boxes;
  TForm1* F = nullptr;
};

}  // namespace batchtest
