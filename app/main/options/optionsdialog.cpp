#include "app/main/options/optionsdialog.h"

#include "app/main/mainform/makecontrol.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/pages/bsskinpagecontrol.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/core/bsskindata.h"
#include "skin/forms/engine/bsskinform.h"

namespace {

constexpr Integer ClientW = 526;
constexpr Integer ClientH = 464;
// The 4-pixel grid: 8-pixel margins and gaps, 24-pixel rows, 28-pixel buttons, 26-pixel choosers.
constexpr Integer Margin = 8;
constexpr Integer Row = 24;
constexpr Integer ButtonW = 80;
constexpr Integer ButtonH = 28;
constexpr Integer ComboW = 72;
constexpr Integer TabW = 80;
constexpr Integer ComboH = 26;
constexpr Integer GroupW = 490;
// The first row of a group box starts below its caption.
constexpr Integer GroupTop = 28;
constexpr Integer GroupBottom = 12;
constexpr Integer BoxLeft = 16;
constexpr Integer BoxW = GroupW - 2 * BoxLeft;

Integer GroupHeight(Integer Rows) {
  return GroupTop + Rows * Row + GroupBottom;
}

}  // namespace

TForm5::TForm5(TComponent* AOwner, TbsSkinData* ASkinData, TCustomFFmpegConverter* AConverter,
               const TOptionFile& AOptionFile)
    : TForm(AOwner), FOptionFile(AOptionFile), FConverter(AConverter) {
  if (FConverter != nullptr) FConverter->FreeNotification(this);
  createControls();
  BeginLoading();
  setStoredValues(ASkinData);
  layOut();
  EndLoading();
  placeThreadCountChooser();
  bindHandlers();
}

void TForm5::placeThreadCountChooser() {
  // The label has its size from its font only now: the chooser follows it on the same line.
  bsSkinStdLabel1->SetAutoSize(false);
  bsSkinStdLabel1->SetAutoSize(true);
  bsSkinStdLabel1->SetLeft(BoxLeft);
  bsSkinStdLabel1->SetTop(GroupTop + (ComboH - bsSkinStdLabel1->Height()) / 2);
  bsSkinComboBox2->SetLeft(BoxLeft + bsSkinStdLabel1->Width() + Margin);
}

void TForm5::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FConverter) FConverter = nullptr;
}

void TForm5::createControls() {
  SetName("Form5");
  bsSkinForm1 = new TbsSkinForm(this);
  bsSkinForm1->SetName("bsSkinForm1");
  bsSkinPageControl1 = Make<TbsSkinPageControl>(this, this, "bsSkinPageControl1");
  bsSkinTabSheet1 = new TbsSkinTabSheet(this);
  bsSkinTabSheet1->SetName("bsSkinTabSheet1");
  bsSkinTabSheet1->SetPageControl(bsSkinPageControl1);
  bsSkinTabSheet2 = new TbsSkinTabSheet(this);
  bsSkinTabSheet2->SetName("bsSkinTabSheet2");
  bsSkinTabSheet2->SetPageControl(bsSkinPageControl1);

  bsSkinGroupBox1 = Make<TbsSkinGroupBox>(this, bsSkinTabSheet1, "bsSkinGroupBox1");
  bsSkinCheckRadioBox9 = Make<TbsSkinCheckRadioBox>(this, bsSkinGroupBox1, "bsSkinCheckRadioBox9");
  bsSkinCheckRadioBox10 = Make<TbsSkinCheckRadioBox>(this, bsSkinGroupBox1, "bsSkinCheckRadioBox10");
  bsSkinCheckRadioBox11 = Make<TbsSkinCheckRadioBox>(this, bsSkinGroupBox1, "bsSkinCheckRadioBox11");
  bsSkinCheckRadioBox12 = Make<TbsSkinCheckRadioBox>(this, bsSkinGroupBox1, "bsSkinCheckRadioBox12");

  bsSkinGroupBox2 = Make<TbsSkinGroupBox>(this, bsSkinTabSheet1, "bsSkinGroupBox2");
  bsSkinStdLabel1 = Make<TbsSkinStdLabel>(this, bsSkinGroupBox2, "bsSkinStdLabel1");
  bsSkinComboBox2 = Make<TbsSkinComboBox>(this, bsSkinGroupBox2, "bsSkinComboBox2");
  bsSkinCheckRadioBox7 = Make<TbsSkinCheckRadioBox>(this, bsSkinGroupBox2, "bsSkinCheckRadioBox7");
  bsSkinCheckRadioBox8 = Make<TbsSkinCheckRadioBox>(this, bsSkinGroupBox2, "bsSkinCheckRadioBox8");

  bsSkinGroupBox3 = Make<TbsSkinGroupBox>(this, bsSkinTabSheet2, "bsSkinGroupBox3");
  bsSkinCheckRadioBox3 = Make<TbsSkinCheckRadioBox>(this, bsSkinGroupBox3, "bsSkinCheckRadioBox3");
  bsSkinCheckRadioBox6 = Make<TbsSkinCheckRadioBox>(this, bsSkinGroupBox3, "bsSkinCheckRadioBox6");

  bsSkinGroupBox4 = Make<TbsSkinGroupBox>(this, bsSkinTabSheet2, "bsSkinGroupBox4");
  bsSkinCheckRadioBox1 = Make<TbsSkinCheckRadioBox>(this, bsSkinGroupBox4, "bsSkinCheckRadioBox1");
  bsSkinCheckRadioBox2 = Make<TbsSkinCheckRadioBox>(this, bsSkinGroupBox4, "bsSkinCheckRadioBox2");
  bsSkinCheckRadioBox4 = Make<TbsSkinCheckRadioBox>(this, bsSkinGroupBox4, "bsSkinCheckRadioBox4");
  bsSkinCheckRadioBox5 = Make<TbsSkinCheckRadioBox>(this, bsSkinGroupBox4, "bsSkinCheckRadioBox5");

  bsSkinButton6 = Make<TbsSkinButton>(this, this, "bsSkinButton6");
  bsSkinButton1 = Make<TbsSkinButton>(this, this, "bsSkinButton1");
}

void TForm5::setStoredValues(TbsSkinData* ASkinData) {
  SetDialogFrame(this, bsSkinForm1, ASkinData, "选项", ClientW, ClientH);

  bsSkinPageControl1->SetSkinData(ASkinData);
  bsSkinTabSheet1->SetCaption("CPU");
  bsSkinTabSheet2->SetCaption("常规");
  bsSkinPageControl1->SetTabWidth(TabW);

  struct TGroup {
    TbsSkinGroupBox* Box;
    const char* Caption;
  };
  for (const TGroup& G :
       {TGroup{bsSkinGroupBox1, "转换时CPU利用方式"}, TGroup{bsSkinGroupBox2, "转换参数"},
        TGroup{bsSkinGroupBox3, "如果输出文件存在时"}, TGroup{bsSkinGroupBox4, "转换工作完成后"}}) {
    G.Box->SetCaption(G.Caption);
    G.Box->SetSkinData(ASkinData);
  }

  struct TBox {
    TbsSkinCheckRadioBox* Box;
    const char* Caption;
    bool Radio;
    bool Checked;
  };
  const TBox Boxes[] = {
      {bsSkinCheckRadioBox9, "系统空闲时进行", true, false},
      {bsSkinCheckRadioBox10, "最低优先级进行", true, false},
      {bsSkinCheckRadioBox11, "较低优先级进行", true, false},
      {bsSkinCheckRadioBox12, "正常优先级进行", true, true},
      {bsSkinCheckRadioBox7, "启用多线程模式   （同时进行转换的视频个数）", false, true},
      {bsSkinCheckRadioBox8, "转换时进行实时视频预览", false, false},
      {bsSkinCheckRadioBox3, "直接覆盖输出文件", true, false},
      {bsSkinCheckRadioBox6, "自动重命名输出文件", true, true},
      {bsSkinCheckRadioBox1, "自动打开输出文件夹", true, true},
      {bsSkinCheckRadioBox2, "自动关闭计算机", true, false},
      {bsSkinCheckRadioBox4, " 播放提示音乐", true, false},
      {bsSkinCheckRadioBox5, "不进行任何操作", true, false},
  };
  for (const TBox& B : Boxes) {
    B.Box->SetCaption(B.Caption);
    B.Box->SetRadio(B.Radio);
    // One group per group box: the radios of a box share their parent and this index.
    B.Box->SetGroupIndex(B.Radio ? 1 : 0);
    B.Box->SetSkinDataName(B.Radio ? "radiobox" : "checkbox");
    B.Box->SetSkinData(ASkinData);
    B.Box->SetChecked(B.Checked);
  }
  bsSkinCheckRadioBox7->SetVisible(false);

  bsSkinStdLabel1->SetCaption("同时进行转换的文件个数");
  bsSkinStdLabel1->SetSkinData(ASkinData);
  bsSkinComboBox2->SetStyle(bscbFixedStyle);
  bsSkinComboBox2->SetSkinData(ASkinData);
  for (Integer N = 1; N <= 19; ++N) bsSkinComboBox2->Items()->Add(IntToStr(N));
  bsSkinComboBox2->SetItemIndex(0);

  bsSkinButton6->SetCaption("确定");
  bsSkinButton6->SetDefault(true);
  bsSkinButton1->SetCaption("取消");
  bsSkinButton1->SetCancel(true);
  for (TbsSkinButton* B : {bsSkinButton6, bsSkinButton1}) {
    B->SetCanFocused(true);
    B->SetSkinData(ASkinData);
  }
  bsSkinPageControl1->SetActivePage(bsSkinTabSheet2);
}

void TForm5::layOut() {
  const Integer ButtonTop = ClientH - Margin - ButtonH;
  bsSkinPageControl1->SetBounds(Margin, Margin, ClientW - 2 * Margin, ButtonTop - 2 * Margin);
  bsSkinButton1->SetBounds(ClientW - Margin - ButtonW, ButtonTop, ButtonW, ButtonH);
  bsSkinButton6->SetBounds(ClientW - 2 * (Margin + ButtonW), ButtonTop, ButtonW, ButtonH);

  auto rows = [](std::initializer_list<TbsSkinCheckRadioBox*> Boxes, Integer Top) {
    for (TbsSkinCheckRadioBox* B : Boxes) {
      B->SetBounds(BoxLeft, Top, BoxW, Row);
      Top += Row;
    }
  };
  // Page "CPU".
  bsSkinGroupBox1->SetBounds(Margin, Margin, GroupW, GroupHeight(4));
  rows({bsSkinCheckRadioBox9, bsSkinCheckRadioBox10, bsSkinCheckRadioBox11, bsSkinCheckRadioBox12}, GroupTop);
  bsSkinGroupBox2->SetBounds(Margin, bsSkinGroupBox1->Top() + bsSkinGroupBox1->Height() + Margin, GroupW,
                             GroupHeight(2) + ComboH - Row + Margin);
  bsSkinStdLabel1->SetAutoSize(true);
  bsSkinComboBox2->SetBounds(BoxLeft, GroupTop, ComboW, ComboH);
  // The hidden multi-thread box shares the preview box's row.
  rows({bsSkinCheckRadioBox8}, GroupTop + ComboH + Margin);
  rows({bsSkinCheckRadioBox7}, GroupTop + ComboH + Margin);
  // Page "常规".
  bsSkinGroupBox3->SetBounds(Margin, Margin, GroupW, GroupHeight(2));
  rows({bsSkinCheckRadioBox3, bsSkinCheckRadioBox6}, GroupTop);
  bsSkinGroupBox4->SetBounds(Margin, bsSkinGroupBox3->Top() + bsSkinGroupBox3->Height() + Margin, GroupW,
                             GroupHeight(4));
  rows({bsSkinCheckRadioBox1, bsSkinCheckRadioBox2, bsSkinCheckRadioBox4, bsSkinCheckRadioBox5}, GroupTop);
}

void TForm5::bindHandlers() {
  OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
  bsSkinButton6->OnClick = [this](TObject* Sender) { bsSkinButton6Click(Sender); };
  bsSkinButton1->OnClick = [this](TObject* Sender) { bsSkinButton1Click(Sender); };
  bsSkinCheckRadioBox7->OnClick = [this](TObject* Sender) { bsSkinCheckRadioBox7Click(Sender); };
  bsSkinCheckRadioBox8->OnClick = [this](TObject* Sender) { bsSkinCheckRadioBox8Click(Sender); };
}

// ---- handlers ----

void TForm5::FormCreate(TObject*) {
  Button1Click(nullptr);
}

std::vector<TForm5::TChoice> TForm5::afterDoneChoices() const {
  return {{"0", bsSkinCheckRadioBox1},
          {"1", bsSkinCheckRadioBox2},
          {"2", bsSkinCheckRadioBox4},
          {"3", bsSkinCheckRadioBox5}};
}

std::vector<TForm5::TChoice> TForm5::threadPriorityChoices() const {
  return {{"0", bsSkinCheckRadioBox9},
          {"1", bsSkinCheckRadioBox10},
          {"2", bsSkinCheckRadioBox11},
          {"3", bsSkinCheckRadioBox12}};
}

std::vector<TForm5::TChoice> TForm5::overwriteFileChoices() const {
  return {{"0", bsSkinCheckRadioBox3}, {"1", bsSkinCheckRadioBox6}};
}

void TForm5::loadChoice(const char* Key, const char* Default, const std::vector<TChoice>& Choices) {
  const String Value = FOptionFile.Read(OptionsSection, Key);
  for (const TChoice& C : Choices)
    if (Value == C.Value) {
      C.Radio->SetChecked(true);
      return;
    }
  FOptionFile.Write(OptionsSection, Key, Default);
  for (const TChoice& C : Choices)
    if (String(Default) == C.Value) C.Radio->SetChecked(true);
}

void TForm5::saveChoice(const char* Key, const std::vector<TChoice>& Choices) {
  for (const TChoice& C : Choices)
    if (C.Radio->Checked()) {
      FOptionFile.Write(OptionsSection, Key, C.Value);
      return;
    }
}

void TForm5::Button1Click(TObject*) {
  if (!FOptionFile.Exists()) {
    FOptionFile.Write(OptionsSection, ThreadCountKey, DefaultThreadCount);
    FOptionFile.Write(OptionsSection, AfterDoneKey, DefaultAfterDone);
    bsSkinCheckRadioBox1->SetChecked(true);
    FOptionFile.Write(OptionsSection, ShowPreviewKey, DefaultShowPreview);
    bsSkinCheckRadioBox8->SetChecked(false);
    FOptionFile.Write(OptionsSection, ThreadPriorityKey, DefaultThreadPriority);
    bsSkinCheckRadioBox12->SetChecked(true);
    FOptionFile.Write(OptionsSection, OverwriteFileKey, DefaultOverwriteFile);
    bsSkinCheckRadioBox6->SetChecked(true);
    return;
  }
  // The stored thread count is only repaired: the chooser starts on "1" in every run.
  FOptionFile.ReadOrRepair(OptionsSection, ThreadCountKey, DefaultThreadCount);
  loadChoice(AfterDoneKey, DefaultAfterDone, afterDoneChoices());
  loadChoice(ThreadPriorityKey, DefaultThreadPriority, threadPriorityChoices());
  loadChoice(OverwriteFileKey, DefaultOverwriteFile, overwriteFileChoices());
  const String Preview = FOptionFile.Read(OptionsSection, ShowPreviewKey);
  if (Preview != "0" && Preview != "1") FOptionFile.Write(OptionsSection, ShowPreviewKey, DefaultShowPreview);
  // Setting the box runs its click handler even when the state stays: the preview always follows.
  bsSkinCheckRadioBox8->SetChecked(Preview == "1");
}

void TForm5::Button2Click(TObject*) {
  if (bsSkinCheckRadioBox7->Checked())
    FOptionFile.Write(OptionsSection, ThreadCountKey, bsSkinComboBox2->Text());
  saveChoice(AfterDoneKey, afterDoneChoices());
  FOptionFile.Write(OptionsSection, ShowPreviewKey, bsSkinCheckRadioBox8->Checked() ? "1" : "0");
  saveChoice(ThreadPriorityKey, threadPriorityChoices());
  saveChoice(OverwriteFileKey, overwriteFileChoices());
}

void TForm5::bsSkinButton6Click(TObject*) {
  Button2Click(nullptr);
  Close();
}

void TForm5::bsSkinButton1Click(TObject*) {
  Close();
}

void TForm5::bsSkinCheckRadioBox7Click(TObject*) {
  bsSkinComboBox2->SetEnabled(bsSkinCheckRadioBox7->Checked());
}

void TForm5::bsSkinCheckRadioBox8Click(TObject*) {
  if (FConverter != nullptr) FConverter->SetPreview(bsSkinCheckRadioBox8->Checked());
}

// ---- what the conversion asks ----

bool TForm5::WorkerPriority(TThreadPriority& Priority) const {
  // Looked at in this order; the last checked one counts (one radio group: at most one is).
  bool Chosen = false;
  const std::pair<TbsSkinCheckRadioBox*, TThreadPriority> Priorities[] = {
      {bsSkinCheckRadioBox9, tpIdle},
      {bsSkinCheckRadioBox10, tpLowest},
      {bsSkinCheckRadioBox11, tpLower},
      {bsSkinCheckRadioBox12, tpNormal},
  };
  for (const auto& [Box, Value] : Priorities)
    if (Box->Checked()) {
      Priority = Value;
      Chosen = true;
    }
  return Chosen;
}

Integer TForm5::ThreadCount() const {
  if (!bsSkinCheckRadioBox7->Checked()) return 1;
  const Integer Threads = StrToIntDef(Trim(bsSkinComboBox2->Text()), 1);
  // No count would run the whole batch on the main thread, the window frozen until it ends.
  return Threads < 1 ? 1 : Threads;
}

TAfterFinish TForm5::AfterFinish() const {
  if (bsSkinCheckRadioBox1->Checked()) return afOpenFolder;
  if (bsSkinCheckRadioBox2->Checked()) return afPowerOff;
  if (bsSkinCheckRadioBox4->Checked()) return afPlaySound;
  return afNothing;
}

bool TForm5::OverwriteOutput() const {
  return bsSkinCheckRadioBox3->Checked();
}

bool TForm5::LivePreview() const {
  return bsSkinCheckRadioBox8->Checked();
}
