#include "app/program/startup.h"

#include "app/main/about/aboutbox.h"
#include "app/main/mainform/mainform.h"
#include "app/main/options/optionsdialog.h"
#include "app/presetdialog/form7.h"
#include "app/settingsdialog/form6.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/ui/core/application.h"

void CreateProgramWindows(const TOptionFile& AOptionFile, const String& ASkinFile) {
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
}
