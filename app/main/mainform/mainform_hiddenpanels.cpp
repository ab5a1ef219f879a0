// The hidden panels right of the client area: routine buttons, glyph pictures, the log memo and the
// hidden check and combo boxes. Kept apart from the skinned panels, whose bevel names clash.
#include "app/main/mainform/mainform.h"
#include "app/main/mainform/makecontrol.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/extctrls/panel.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/checkbox.h"
#include "platform/ui/stdctrls/combobox.h"
#include "platform/ui/stdctrls/memo.h"

namespace {

// The hidden panels lie right of the client area.
constexpr Integer HiddenLeft = 1276;

}  // namespace

void TForm1::createHiddenPanels() {
  Panel1 = Make<TPanel>(this, this, "Panel1");
  Panel3 = Make<TPanel>(this, this, "Panel3");
  Panel4 = Make<TPanel>(this, this, "Panel4");
  Panel5 = Make<TPanel>(this, this, "Panel5");
  mmoLog = Make<TMemo>(this, Panel5, "mmoLog");
  chkThreadMode = Make<TCheckBox>(this, Panel1, "chkThreadMode");
  cboScreens = Make<TComboBox>(this, Panel4, "cboScreens");
  for (Integer N = 4; N <= 17; ++N)
    Images[N] = Make<TImage>(this, Panel1, ("Image" + std::to_string(N)).c_str());

  struct TRoutine {
    TButton** Button;
    const char* Name;
    const char* Caption;
    TWinControl* Parent;
  };
  const TRoutine Routines[] = {
      {&btnAdd, "btnAdd", "Open添加一个文件", Panel1},
      {&Button8, "Button8", "打开多个文件", Panel1},
      {&Button12, "Button12", "添加整个目录", Panel1},
      {&btnRemove, "btnRemove", "Remove", Panel1},
      {&btnClear, "btnClear", "Clear", Panel1},
      {&btnStart, "btnStart", "Start", Panel1},
      {&btnStop, "btnStop", "Stop", Panel1},
      {&btnPause, "btnPause", "Pause", Panel1},
      {&btnResume, "btnResume", "Resume", Panel1},
      {&button28, "button28", "新添加", Panel1},
      {&Button22, "Button22", "工作中设置为不能", Panel1},
      {&Button23, "Button23", "工作完成设置为能", Panel1},
      {&Button24, "Button24", "刷新皮肤", Panel1},
      {&Button14, "Button14", "添加", Panel1},
      {&Button15, "Button15", "初始化数值", Panel1},
      {&Button20, "Button20", "转换后打开文件夹", Panel1},
      {&Button25, "Button25", "关机", Panel1},
      {&Button29, "Button29", " 播放提示音", Panel1},
      {&Button21, "Button21", "OpenDialog1", Panel1},
      {&Button2, "Button2", "添加combox", Panel5},
      {&Button5, "Button5", "根据combox添加数据", Panel5},
      {&Button6, "Button6", "初始化数据", Panel5},
      {&Button13, "Button13", "确认预置选项数据", Panel5},
      {&Button3, "Button3", "读入皮肤ini", Panel5},
      {&Button4, "Button4", "写入皮肤ini", Panel5},
      {&Button16, "Button16", "写ini文件", Panel5},
      {&Button17, "Button17", "读ini文件", Panel5},
      {&Button31, "Button31", "打开播放视频", Panel5},
      // Directly on the form, outside the client area.
      {&Button27, "Button27", "Button27", this},
  };
  Integer Top = 0;
  for (const TRoutine& R : Routines) {
    TButton* B = Make<TButton>(this, R.Parent, R.Name);
    B->SetCaption(R.Caption);
    B->SetBounds(R.Parent == this ? HiddenLeft : 0, Top, 120, 24);
    Top += 24;
    *R.Button = B;
  }
  chkThreadMode->SetCaption("Thread Mode");
  chkThreadMode->SetChecked(true);
  chkThreadMode->SetVisible(false);
  Panel5->SetVisible(false);
  Panel1->SetBounds(HiddenLeft, 0, 200, 700);
  Panel3->SetBounds(HiddenLeft + 200, 0, 300, 220);
  Panel4->SetBounds(HiddenLeft + 200, 220, 200, 40);
  Panel5->SetBounds(HiddenLeft + 500, 0, 200, 400);
  mmoLog->SetBounds(0, 0, 200, 200);
}

TWinControl* TForm1::presetParent() const {
  return Panel3;
}
