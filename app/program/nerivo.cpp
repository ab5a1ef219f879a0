// The program's entry point. It takes no arguments: it creates the windows in their order and runs
// the message loop until the main window closes.
#include "app/main/about/aboutbox.h"
#include "app/main/mainform/mainform.h"
#include "app/main/options/optionsdialog.h"
#include "app/settingsdialog/form6.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/ui/core/application.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"

#if NERIVO_X11
#include "platform/win/backends/x11/x11_backend.h"
#include "platform/win/win.h"
#endif

int main() {
#if NERIVO_X11
  // The display when there is one; the headless backend otherwise.
  WinSetBackend(CreateDefaultBackend());
#endif
  Application->Initialize();
  Application->SetTitle("NerivoAVI/MPEG格式转换器");
  Application->SetHelpFile("help.chm");
  Application->CreateForm(Form1);
  Form2 = new TForm2(Application, Form1->bsSkinData1, ProductSkinFile());
  Form2->AfterConstruction();
  Form5 = new TForm5(Application, Form1->bsSkinData1, Form1->ZUVER);
  Form5->AfterConstruction();
  Form1->SetOptionsDialog(Form5);
  TForm5* Options = Form5;
  Form6 = new TForm6(Application, TForm6Host{Form1->JobParameters(), Form1->bsSkinData1,
                                             [] { return Form1->Video_OutPut_Folder_Edit->Text(); },
                                             [Options] { return Options->bsSkinCheckRadioBox3->Checked(); }});
  Application->Run();
  return 0;
}
