#include "app/program/startup.h"

#include "app/main/about/aboutbox.h"
#include "app/main/mainform/mainform.h"
#include "app/main/options/optionsdialog.h"
#include "app/presetdialog/form7.h"
#include "app/settingsdialog/form6.h"
#include "engine/base/alsaerrors.h"
#include "engine/base/engineutils.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/files.h"
#include "platform/shell/shelllog.h"
#include "platform/ui/core/application.h"
#include "platform/ui/dialogs/messagebox.h"
#include "skin/core/bsskindata.h"

namespace {

// Why a skin file that exists gives no skin, in the skin library's own words.
String skinLoadFailure(const String& ASkinFile) {
  TbsSkinData Probe(nullptr);
  Probe.FBuilderMode = true;  // a trial load: the windows hear nothing of it
  try {
    Probe.LoadFromCompressedFile(ASkinFile);
  } catch (const Exception& E) {
    return E.Message();
  }
  return Probe.Empty ? String("not a skin this program reads") : String();
}

// The main window's skin did not load: one log line and one message box, over the window.
void reportMissingSkin(const String& ASkinFile) {
  if (!Form1->bsSkinData1->Empty) return;
  String Line, Box;
  if (!FileExists(ASkinFile)) {
    Line = "the skin \"" + ASkinFile + "\" is missing; the windows keep their default look";
    Box = "找不到皮肤文件“" + ASkinFile + "”。窗口将以默认外观显示。";
  } else {
    const String Why = skinLoadFailure(ASkinFile);
    Line = "the skin \"" + ASkinFile + "\" cannot be read (" + Why + "); the windows keep their default look";
    Box = "无法读取皮肤文件“" + ASkinFile + "”（" + Why + "）。窗口将以默认外观显示。";
  }
  GetFFLogger()->Log(nullptr, llError, Line);
  Form1->Show();
  Application->MessageBox(Box, Application->Title(), MB_OK | MB_ICONWARNING);
}

TLogLevel logLevelOf(TShellLogLevel ALevel) {
  switch (ALevel) {
    case slError:
      return llError;
    case slWarning:
      return llWarning;
    case slInfo:
      break;
  }
  return llInfo;
}

}  // namespace

void RouteLibraryLogs() {
  // The services log from their own threads, perhaps while the main thread waits for one of them:
  // the line is handed over without waiting.
  SetShellLogSink([](const String& Line, TShellLogLevel Level) {
    TMainThreadWaitBan NoWait;
    GetFFLogger()->Log(nullptr, logLevelOf(Level), Line);
  });
  RouteAlsaErrors();
}

void CreateProgramWindows(const TOptionFile& AOptionFile, const String& ASkinFile) {
  RouteLibraryLogs();
  Application->Initialize();
  Application->SetTitle("NerivoAVI/MPEG格式转换器");
  Application->SetHelpFile("help.chm");
  Application->CreateForm(Form1, AOptionFile, ASkinFile);
  Form2 = new TForm2(Application, Form1->bsSkinData1, ASkinFile);
  Form2->AfterConstruction();
  Form5 = new TForm5(Application, Form1->bsSkinData1, Form1->ZUVER, AOptionFile);
  Form5->AfterConstruction();
  Form1->SetOptionsDialog(Form5);
  Form6 = new TForm6(Application, *Form1);
  Form7 = new TForm7(Application, *Form1);
  Form1->SetPresetDialog(Form7);
  reportMissingSkin(ASkinFile);
}
