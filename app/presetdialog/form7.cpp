#include "app/presetdialog/form7.h"

#include <array>

#include "app/formats/formattables.h"
#include "app/formats/presets.h"
#include "app/formats/skinchoosers.h"
#include "app/main/mainform/makecontrol.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/ui/stdctrls/button.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/boxes/office/bsskinofficeitems.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/core/bsskindata.h"
#include "skin/dialogs/bsskinmessage.h"
#include "skin/forms/engine/bsskinform.h"

TForm7* Form7 = nullptr;

namespace {

// The 4-pixel grid: 16-pixel margins, 8-pixel gaps, 26-pixel choosers, 28-pixel buttons.
constexpr Integer ClientW = 511;
constexpr Integer ClientH = 418;
constexpr Integer Margin = 16;
constexpr Integer Gap = 8;
constexpr Integer ComboH = 26;
constexpr Integer ButtonW = 80;
constexpr Integer ButtonH = 28;
constexpr Integer CategoryW = 131;
constexpr Integer FormatW = 328;
constexpr Integer GroupW = ClientW - 2 * Margin;
constexpr Integer GroupTop = 40;  // the first row, below the group's caption
constexpr Integer RowStep = 48;   // chooser rows of a group
constexpr Integer GroupBottom = 28;
constexpr Integer GroupGap = 16;
constexpr Integer ColumnGap = 24;  // between the left and the right column of a group
constexpr Integer ColumnW = (GroupW - 2 * Margin - ColumnGap) / 2;

const char* const PresetNames[PresetSlotCount] = {"bsSkinComboBox1", "bsSkinComboBox2", "bsSkinComboBox3",
                                                  "bsSkinComboBox4", "bsSkinComboBox9", "bsSkinComboBox10"};
const char* const PresetCaptions[PresetSlotCount] = {"视频分辨率：", "视频比特率：", "音频比特率：",
                                                     "视频缩放：",   "视频帧率：",   "音频采样率："};

struct TPlace {
  Integer Group;   // 0 video, 1 audio
  Integer Row;     // within the group
  Integer Column;  // 0 left, 1 right
};
// Where each chooser stands, indexed by TPresetSlot.
constexpr TPlace PresetPlaces[PresetSlotCount] = {
    {0, 0, 0},  // frame size
    {0, 0, 1},  // video bit rate
    {1, 0, 0},  // audio bit rate
    {0, 1, 0},  // aspect
    {0, 1, 1},  // frame rate
    {1, 0, 1},  // sample rate
};

Integer GroupHeight(Integer Rows) {
  return GroupTop + (Rows - 1) * RowStep + ComboH + GroupBottom;
}

}  // namespace

struct TForm7::TChooserAdapters {
  explicit TChooserAdapters(TForm7& F) : Format(F.bsSkinOfficeComboBox1) {
    for (Integer S = 0; S < PresetSlotCount; ++S)
      Presets[S] = std::make_unique<TSkinPresetChooser>(F.presetCombo(TPresetSlot(S)));
  }
  TSkinFormatChooser Format;
  std::array<std::unique_ptr<TSkinPresetChooser>, PresetSlotCount> Presets;
};

TForm7::TForm7(TComponent* AOwner, IPresetDialogHost& Host) : TForm(AOwner), FHost(Host) {
  createControls();
  createRoutineButtons();
  BeginLoading();
  setStoredValues();
  layOut();
  EndLoading();
  placeLabels();
  FAdapters = std::make_unique<TChooserAdapters>(*this);
  bindHandlers();
  AfterConstruction();
}

TForm7::~TForm7() {
  // The choosers go after this body, perhaps after the main window: none of them may reach it then.
  for (TbsSkinOfficeComboBox* C : {bsSkinOfficeComboBox2, bsSkinOfficeComboBox1}) C->OnChange = nullptr;
  for (Integer S = 0; S < PresetSlotCount; ++S) presetCombo(TPresetSlot(S))->OnChange = nullptr;
  if (Form7 == this) Form7 = nullptr;
}

void TForm7::createControls() {
  SetName("Form7");
  bsSkinForm1 = new TbsSkinForm(this);
  bsSkinForm1->SetName("bsSkinForm1");
  bsSkinMessage1 = new TbsSkinMessage(this);
  bsSkinMessage1->SetName("bsSkinMessage1");
  bsSkinOfficeComboBox2 = Make<TbsSkinOfficeComboBox>(this, this, "bsSkinOfficeComboBox2");
  bsSkinOfficeComboBox1 = Make<TbsSkinOfficeComboBox>(this, this, "bsSkinOfficeComboBox1");
  bsSkinGroupBox1 = Make<TbsSkinGroupBox>(this, this, "bsSkinGroupBox1");
  bsSkinGroupBox2 = Make<TbsSkinGroupBox>(this, this, "bsSkinGroupBox2");
  TbsSkinComboBox** Combos[PresetSlotCount] = {&bsSkinComboBox1, &bsSkinComboBox2, &bsSkinComboBox3,
                                               &bsSkinComboBox4, &bsSkinComboBox9, &bsSkinComboBox10};
  // Created row by row, left to right, so the tab order follows the reading order.
  for (TPresetSlot S : {psFrameSize, psVideoBitrate, psAspect, psFrameRate, psAudioBitrate, psSampleRate}) {
    TbsSkinGroupBox* Group = PresetPlaces[S].Group == 0 ? bsSkinGroupBox1 : bsSkinGroupBox2;
    PresetLabels[S] = Make<TbsSkinStdLabel>(this, Group, ("bsSkinStdLabel" + std::to_string(S + 1)).c_str());
    *Combos[S] = Make<TbsSkinComboBox>(this, Group, PresetNames[S]);
  }
  bsSkinButton2 = Make<TbsSkinButton>(this, this, "bsSkinButton2");
  bsSkinButton3 = Make<TbsSkinButton>(this, this, "bsSkinButton3");
}

void TForm7::createRoutineButtons() {
  struct TRoutine {
    TButton** Button;
    const char* Name;
    const char* Caption;
  };
  const TRoutine Routines[] = {
      {&Button2, "Button2", "添加combox"},         {&Button18, "Button18", "根据combox添加预设选项"},
      {&Button5, "Button5", "根据combox添加数据"}, {&Button13, "Button13", "确认预置选项数据"},
      {&Button6, "Button6", "初始化数据"},         {&Button1, "Button1", "Button1"},
  };
  // Invisible, right of the client area: code runs them with Click.
  Integer Top = 0;
  for (const TRoutine& R : Routines) {
    *R.Button = Make<TButton>(this, this, R.Name);
    (*R.Button)->SetCaption(R.Caption);
    (*R.Button)->SetBounds(ClientW + 100, Top, 160, 24);
    (*R.Button)->SetVisible(false);
    Top += 24;
  }
}

void TForm7::setStoredValues() {
  TbsSkinData* Skin = FHost.SkinData();
  SetDialogFrame(this, bsSkinForm1, Skin, "选项设置", ClientW, ClientH);
  bsSkinMessage1->SetSkinData(Skin);
  bsSkinMessage1->SetCtrlSkinData(Skin);

  // The main window's category items: same captions, same pictures.
  FillCategoryChooser(bsSkinOfficeComboBox2);
  bsSkinOfficeComboBox2->SetImages(FHost.CategoryImages());
  bsSkinOfficeComboBox2->SetItemIndex(0);
  bsSkinOfficeComboBox2->SetSkinData(Skin);
  bsSkinOfficeComboBox1->SetImages(FHost.FormatImages());
  bsSkinOfficeComboBox1->SetSkinData(Skin);

  bsSkinGroupBox1->SetCaption("预置视频参数");
  bsSkinGroupBox2->SetCaption("预置音频参数");
  for (TbsSkinGroupBox* G : {bsSkinGroupBox1, bsSkinGroupBox2}) G->SetSkinData(Skin);
  for (Integer S = 0; S < PresetSlotCount; ++S) {
    PresetLabels[S]->SetCaption(PresetCaptions[S]);
    PresetLabels[S]->SetSkinData(Skin);
    TbsSkinComboBox* C = presetCombo(TPresetSlot(S));
    C->SetStyle(bscbFixedStyle);
    C->SetSkinData(Skin);
  }

  bsSkinButton2->SetCaption("确定");
  bsSkinButton2->SetDefault(true);
  bsSkinButton2->SetSkinDataName("defaultbutton");
  bsSkinButton3->SetCaption("取消");
  bsSkinButton3->SetCancel(true);
  for (TbsSkinButton* B : {bsSkinButton2, bsSkinButton3}) {
    B->SetCanFocused(true);
    B->SetSkinData(Skin);
  }
}

void TForm7::layOut() {
  bsSkinOfficeComboBox2->SetBounds(Margin, Margin, CategoryW, ComboH);
  bsSkinOfficeComboBox1->SetBounds(ClientW - Margin - FormatW, Margin, FormatW, ComboH);
  const Integer VideoTop = Margin + ComboH + Margin;
  bsSkinGroupBox1->SetBounds(Margin, VideoTop, GroupW, GroupHeight(2));
  bsSkinGroupBox2->SetBounds(Margin, VideoTop + GroupHeight(2) + GroupGap, GroupW, GroupHeight(1));
  for (Integer S = 0; S < PresetSlotCount; ++S) {
    const TPlace& P = PresetPlaces[S];
    const Integer Left = Margin + P.Column * (ColumnW + ColumnGap);
    PresetLabels[S]->SetAutoSize(true);
    PresetLabels[S]->SetLeft(Left);
    presetCombo(TPresetSlot(S))->SetBounds(Left + 80, GroupTop + P.Row * RowStep, ColumnW - 80, ComboH);
  }
  const Integer ButtonTop = ClientH - Margin - ButtonH;
  bsSkinButton3->SetBounds(ClientW - Margin - ButtonW, ButtonTop, ButtonW, ButtonH);
  bsSkinButton2->SetBounds(ClientW - Margin - 2 * ButtonW - Gap, ButtonTop, ButtonW, ButtonH);
}

void TForm7::placeLabels() {
  // The labels have their size from their font only now: in each column the choosers start after
  // the widest caption and share one left edge.
  Integer Widest[2] = {0, 0};
  for (Integer S = 0; S < PresetSlotCount; ++S) {
    PresetLabels[S]->SetAutoSize(false);
    PresetLabels[S]->SetAutoSize(true);
    Integer& W = Widest[PresetPlaces[S].Column];
    W = std::max(W, PresetLabels[S]->Width());
  }
  for (Integer S = 0; S < PresetSlotCount; ++S) {
    const TPlace& P = PresetPlaces[S];
    const Integer Left = Margin + P.Column * (ColumnW + ColumnGap);
    const Integer Top = GroupTop + P.Row * RowStep;
    PresetLabels[S]->SetTop(Top + (ComboH - PresetLabels[S]->Height()) / 2);
    const Integer ComboLeft = Left + Widest[P.Column] + Gap;
    presetCombo(TPresetSlot(S))->SetBounds(ComboLeft, Top, Left + ColumnW - ComboLeft, ComboH);
  }
}

void TForm7::bindHandlers() {
  OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
  bsSkinOfficeComboBox2->OnChange = [this](TObject* Sender) { bsSkinOfficeComboBox2Change(Sender); };
  bsSkinOfficeComboBox1->OnChange = [this](TObject* Sender) { bsSkinOfficeComboBox1Change(Sender); };
  bsSkinComboBox1->OnChange = [this](TObject* Sender) { bsSkinComboBox1Change(Sender); };
  bsSkinComboBox2->OnChange = [this](TObject* Sender) { bsSkinComboBox2Change(Sender); };
  bsSkinComboBox3->OnChange = [this](TObject* Sender) { bsSkinComboBox3Change(Sender); };
  bsSkinComboBox4->OnChange = [this](TObject* Sender) { bsSkinComboBox4Change(Sender); };
  bsSkinComboBox9->OnChange = [this](TObject* Sender) { bsSkinComboBox9Change(Sender); };
  bsSkinComboBox10->OnChange = [this](TObject* Sender) { bsSkinComboBox10Change(Sender); };
  bsSkinButton2->OnClick = [this](TObject* Sender) { bsSkinButton2Click(Sender); };
  bsSkinButton3->OnClick = [this](TObject* Sender) { bsSkinButton3Click(Sender); };
  Button2->OnClick = [this](TObject* Sender) { Button2Click(Sender); };
  Button18->OnClick = [this](TObject* Sender) { Button18Click(Sender); };
  Button5->OnClick = [this](TObject* Sender) { Button5Click(Sender); };
  Button13->OnClick = [this](TObject* Sender) { Button13Click(Sender); };
  Button6->OnClick = [this](TObject* Sender) { Button6Click(Sender); };
  Button1->OnClick = [this](TObject* Sender) { Button1Click(Sender); };
}

TbsSkinComboBox* TForm7::presetCombo(TPresetSlot Slot) const {
  TbsSkinComboBox* const Combos[PresetSlotCount] = {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox3,
                                                    bsSkinComboBox4, bsSkinComboBox9, bsSkinComboBox10};
  return Combos[Slot];
}

TPresetChoosers TForm7::PresetChoosers() const {
  TPresetChoosers C{};
  for (Integer S = 0; S < PresetSlotCount; ++S) C[S] = FAdapters->Presets[S].get();
  return C;
}

TChooserPositions TForm7::ChooserPositions() const {
  return ReadChooserPositions(bsSkinOfficeComboBox2, bsSkinOfficeComboBox1, PresetChoosers());
}

// ---- the exchange with the main window ----

void TForm7::TakeChoices(const TChooserPositions& Positions) {
  // Opening only shows the job's choice: the formats the cascade passes change no job.
  TShowingChoice Showing(FTaking);
  WriteChooserPositions(bsSkinOfficeComboBox2, bsSkinOfficeComboBox1, PresetChoosers(), Positions);
}

void TForm7::ShowPresetDialog() {
  ShowModal();
}

// ---- handlers ----

void TForm7::FormCreate(TObject*) {
  Button2->Click();
}

void TForm7::bsSkinOfficeComboBox2Change(TObject*) {
  Button2->Click();
}

void TForm7::bsSkinOfficeComboBox1Change(TObject*) {
  // The preset lists refill without touching the job: it takes the format once, in Button5.
  {
    TShowingChoice Showing(FTaking);
    Button18->Click();
  }
  // Without a chosen format there is nothing to apply.
  if (FTaking > 0 || bsSkinOfficeComboBox1->ItemIndex() < 0 || !FHost.HasSelectedJob()) return;
  Button5->Click();
  FHost.FocusJobList();
}

void TForm7::bsSkinComboBox1Change(TObject*) {
  presetChanged(psFrameSize);
}

void TForm7::bsSkinComboBox2Change(TObject*) {
  presetChanged(psVideoBitrate);
}

void TForm7::bsSkinComboBox3Change(TObject*) {
  presetChanged(psAudioBitrate);
}

void TForm7::bsSkinComboBox4Change(TObject*) {
  presetChanged(psAspect);
}

void TForm7::bsSkinComboBox9Change(TObject*) {
  presetChanged(psFrameRate);
}

void TForm7::bsSkinComboBox10Change(TObject*) {
  presetChanged(psSampleRate);
}

void TForm7::presetChanged(TPresetSlot Slot) {
  if (FTaking > 0 || !FHost.HasSelectedJob()) return;
  const IPresetChooser& Chooser = *PresetChoosers()[Slot];
  // A text that does not read leaves the job and the parameters as they were.
  try {
    FHost.ApplyPresetToSelectedJob(Slot, Chooser);
  } catch (const EConvertError&) {
    reportUnreadableText(Slot, Chooser.Text());
    return;
  }
  FHost.FocusJobList();
}

void TForm7::reportUnreadableText(TPresetSlot Slot, const String& Text) {
  String What = PresetCaptions[Slot];
  What = What.substr(0, What.size() - String("：").size());
  bsSkinMessage1->MessageDlg(
      What + "“" + Text + "”无法使用：应为一个数字加“kbps”，例如“128 kbps”。原有设置保持不变。", mtError,
      {mbOK}, 0);
}

void TForm7::reportFirstUnreadableText() {
  const TPresetChoosers Choosers = PresetChoosers();
  for (Integer S = 0; S < PresetSlotCount; ++S) try {
      TJobParameters Scratch;
      SetParameterFromPresetText(TPresetSlot(S), Choosers[S]->Text(), Scratch, ptuReader);
    } catch (const EConvertError&) {
      reportUnreadableText(TPresetSlot(S), Choosers[S]->Text());
      return;
    }
}

void TForm7::bsSkinButton2Click(TObject*) {
  FHost.TakeChooserPositions(ChooserPositions());
  Close();
}

void TForm7::bsSkinButton3Click(TObject*) {
  // What the choosers already wrote into the job stays; the main window shows the job as it is now.
  FHost.ShowSelectedJobChoices();
  Close();
}

// ---- routines ----

void TForm7::Button2Click(TObject*) {
  FillFormatChooser(FAdapters->Format, bsSkinOfficeComboBox2->ItemIndex());
}

void TForm7::Button18Click(TObject*) {
  FillPresetChoosers(PresetChoosers(), bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex(),
                     FHost.JobParameters());
}

void TForm7::Button5Click(TObject*) {
  const TJobFormatChoice Choice{bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex(),
                                PresetChoosers()};
  // The step reads every chooser before it writes anything.
  try {
    FHost.ApplyFormatToSelectedJob(Choice);
  } catch (const EConvertError&) {
    reportFirstUnreadableText();
  }
}

void TForm7::Button13Click(TObject*) {
  // All six fields or none: a chooser text that does not read is reported and nothing changes.
  TJobParameters Read = FHost.JobParameters();
  try {
    ReadPresetChoosers(PresetChoosers(), Read);
  } catch (const EConvertError&) {
    reportFirstUnreadableText();
    return;
  }
  FHost.JobParameters() = Read;
}

void TForm7::Button6Click(TObject*) {
  ResetJobParameters(FHost.JobParameters());
}

void TForm7::Button1Click(TObject*) {
  bsSkinOfficeComboBox1->Items()->Assign(FHost.FormatItems());
}
