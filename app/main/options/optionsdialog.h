// The options dialog "选项": the live store of the conversion options. Other windows ask it through
// IConversionOptions, answered from its controls, so a change counts the moment it is made;
// "option.ini" keeps them between runs (loaded when the dialog is created, saved on 确定 only).
#pragma once

#include <vector>

#include "app/main/options/conversionoptions.h"
#include "app/main/options/optionfile.h"
#include "platform/ui/core/form.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinPageControl;
class TbsSkinTabSheet;
class TbsSkinGroupBox;
class TbsSkinCheckRadioBox;
class TbsSkinStdLabel;
class TbsSkinComboBox;
class TbsSkinButton;
class TCustomFFmpegConverter;

class TForm5 : public TForm, public IConversionOptions {
 public:
  // ASkinData: the main window's skin (may be null: the controls' own look). AConverter: the main
  // window's conversion component, whose live preview follows check box 8 (may be null).
  TForm5(TComponent* AOwner, TbsSkinData* ASkinData, TCustomFFmpegConverter* AConverter,
         const TOptionFile& AOptionFile = TOptionFile());
  String ClassName() const override { return "TForm5"; }

  // ---- handlers ----
  // Runs the load step.
  void FormCreate(TObject* Sender);
  // Load step: the "Options" section into the controls; missing or unknown values are replaced by
  // their defaults in the file.
  void Button1Click(TObject* Sender);
  // Save step: the controls into the "Options" section.
  void Button2Click(TObject* Sender);
  // 确定: save, then close.
  void bsSkinButton6Click(TObject* Sender);
  // 取消: close; what the controls changed stays in effect for this run.
  void bsSkinButton1Click(TObject* Sender);
  void bsSkinCheckRadioBox7Click(TObject* Sender);
  void bsSkinCheckRadioBox8Click(TObject* Sender);

  // ---- IConversionOptions: read from the controls ----
  bool WorkerPriority(TThreadPriority& Priority) const override;
  // The chooser's number while multi-thread mode is on (1 when its text is no number above 0), else 1.
  Integer ThreadCount() const override;
  TAfterFinish AfterFinish() const override;
  bool OverwriteOutput() const override;
  bool LivePreview() const override;

  TOptionFile& OptionFile() { return FOptionFile; }
  TCustomFFmpegConverter* Converter() const { return FConverter; }

  // ---- controls ----
  TbsSkinForm* bsSkinForm1 = nullptr;
  TbsSkinPageControl* bsSkinPageControl1 = nullptr;
  TbsSkinTabSheet* bsSkinTabSheet1 = nullptr;  // "CPU"
  TbsSkinTabSheet* bsSkinTabSheet2 = nullptr;  // "常规"
  TbsSkinGroupBox* bsSkinGroupBox1 = nullptr;  // "转换时CPU利用方式"
  TbsSkinGroupBox* bsSkinGroupBox2 = nullptr;  // "转换参数"
  TbsSkinGroupBox* bsSkinGroupBox3 = nullptr;  // "如果输出文件存在时"
  TbsSkinGroupBox* bsSkinGroupBox4 = nullptr;  // "转换工作完成后"
  // Thread priority: idle, lowest, lower, normal.
  TbsSkinCheckRadioBox* bsSkinCheckRadioBox9 = nullptr;
  TbsSkinCheckRadioBox* bsSkinCheckRadioBox10 = nullptr;
  TbsSkinCheckRadioBox* bsSkinCheckRadioBox11 = nullptr;
  TbsSkinCheckRadioBox* bsSkinCheckRadioBox12 = nullptr;
  TbsSkinStdLabel* bsSkinStdLabel1 = nullptr;
  // Files converted at the same time, "1" to "19".
  TbsSkinComboBox* bsSkinComboBox2 = nullptr;
  // Multi-thread mode (not visible, on): the chooser counts only while it is checked.
  TbsSkinCheckRadioBox* bsSkinCheckRadioBox7 = nullptr;
  // Live preview of the frames being converted.
  TbsSkinCheckRadioBox* bsSkinCheckRadioBox8 = nullptr;
  // An existing output file: overwritten (3) or the new one renamed (6).
  TbsSkinCheckRadioBox* bsSkinCheckRadioBox3 = nullptr;
  TbsSkinCheckRadioBox* bsSkinCheckRadioBox6 = nullptr;
  // After the batch: open the output folder (1), shut down (2), play the sound (4), nothing (5).
  TbsSkinCheckRadioBox* bsSkinCheckRadioBox1 = nullptr;
  TbsSkinCheckRadioBox* bsSkinCheckRadioBox2 = nullptr;
  TbsSkinCheckRadioBox* bsSkinCheckRadioBox4 = nullptr;
  TbsSkinCheckRadioBox* bsSkinCheckRadioBox5 = nullptr;
  TbsSkinButton* bsSkinButton6 = nullptr;  // "确定"
  TbsSkinButton* bsSkinButton1 = nullptr;  // "取消"

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void createControls();
  void setStoredValues(TbsSkinData* ASkinData);
  void layOut();
  void placeThreadCountChooser();
  void bindHandlers();
  struct TChoice {
    const char* Value;
    TbsSkinCheckRadioBox* Radio;
  };
  // The radio of Key's stored value; a missing or unknown value writes Default and checks its radio.
  void loadChoice(const char* Key, const char* Default, const std::vector<TChoice>& Choices);
  // Writes the value of the checked radio; nothing when none is checked.
  void saveChoice(const char* Key, const std::vector<TChoice>& Choices);
  std::vector<TChoice> afterDoneChoices() const;
  std::vector<TChoice> threadPriorityChoices() const;
  std::vector<TChoice> overwriteFileChoices() const;

  TOptionFile FOptionFile;
  TCustomFFmpegConverter* FConverter = nullptr;
};
