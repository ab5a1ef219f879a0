// The procedure panel: a plain panel of push buttons whose click handlers are the dialog's
// routines, and the picture under them. Apart from the rest of the window, since the plain panel's
// bevel names and the skinned panel's border names cannot share a translation unit.
#include "app/settingsdialog/form6.h"
#include "app/settingsdialog/form6pictures.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/extctrls/panel.h"
#include "platform/ui/stdctrls/button.h"

namespace {

TButton* newProcedureButton(TForm6* Owner, TWinControl* Parent, const char* Name, const char* Caption,
                            Integer Left, Integer Top, Integer Width) {
  auto* B = new TButton(Owner);
  B->SetName(Name);
  B->SetParent(Parent);
  B->SetBounds(Left, Top, Width, 25);
  B->SetCaption(Caption);
  return B;
}

}  // namespace

void TForm6::buildProcedurePanel() {
  Panel1 = new TPanel(this);
  Panel1->SetName("Panel1");
  Panel1->SetParent(this);
  Panel1->SetBounds(704, 77, 305, 305);
  Panel1->SetTabOrder(1);
  Panel1->SetCaption("Panel1");

  Button6 = newProcedureButton(this, Panel1, "Button6", "初始化数据", 32, 47, 75);
  Button5 = newProcedureButton(this, Panel1, "Button5", "根据combox添加数据", 113, 47, 126);
  Button7 = newProcedureButton(this, Panel1, "Button7", "确认oo数据", 230, 47, 75);
  Button2 = newProcedureButton(this, Panel1, "Button2", "添加combox", 32, 78, 104);
  Button13 = newProcedureButton(this, Panel1, "Button13", "确认预置选项数据", 32, 109, 113);
  Button11 = newProcedureButton(this, Panel1, "Button11", "onchange用", 151, 78, 95);
  Button18 = newProcedureButton(this, Panel1, "Button18", "根据combox添加预设选项", 42, 163, 143);

  Image1 = new TImage(this);
  Image1->SetName("Image1");
  Image1->SetParent(Panel1);
  Image1->SetBounds(46, 158, 171, 103);
  DrawFolderPicture(Image1->Picture());
}
