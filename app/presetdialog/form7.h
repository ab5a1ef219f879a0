// The preset dialog "选项设置": its own category, format and six preset choosers over the shared
// format tables. Every change of its choosers goes at once to the main window's selected job through
// the main window's one format step; OK gives the choices to the main window's choosers, Cancel
// closes and lets the main window's choosers show the job again. Its routines are the click handlers
// of hidden buttons outside the client area.
#pragma once

#include <functional>
#include <memory>

#include "app/formats/choosers.h"
#include "app/main/mainform/jobhosts.h"
#include "platform/ui/core/form.h"

class TbsSkinForm;
class TbsSkinMessage;
class TbsSkinGroupBox;
class TbsSkinStdLabel;
class TbsSkinOfficeComboBox;
class TbsSkinComboBox;
class TbsSkinButton;
class TButton;
class TListItem;

class TForm7 : public TForm, public IPresetDialog {
 public:
  // Builds the window and runs OnCreate (FormCreate) before returning. Host outlives the dialog's use.
  TForm7(TComponent* AOwner, IPresetDialogHost& Host);
  ~TForm7() override;
  String ClassName() const override { return "TForm7"; }

  // ---- IPresetDialog ----
  void TakeChoices(const TChooserPositions& Positions) override;
  void ShowPresetDialog() override;
  TComponent* PresetDialogComponent() override { return this; }

  // ---- handlers ----
  void FormCreate(TObject* Sender);
  void bsSkinOfficeComboBox2Change(TObject* Sender);
  void bsSkinOfficeComboBox1Change(TObject* Sender);
  void bsSkinComboBox1Change(TObject* Sender);
  void bsSkinComboBox2Change(TObject* Sender);
  void bsSkinComboBox3Change(TObject* Sender);
  void bsSkinComboBox4Change(TObject* Sender);
  void bsSkinComboBox9Change(TObject* Sender);
  void bsSkinComboBox10Change(TObject* Sender);
  void bsSkinButton2Click(TObject* Sender);
  void bsSkinButton3Click(TObject* Sender);

  // ---- routines (the handlers of the hidden buttons) ----
  // The format chooser refilled for the category position, its first format selected.
  void Button2Click(TObject* Sender);
  // The six preset choosers refilled for the chosen format; the format code into the main window.
  void Button18Click(TObject* Sender);
  // The dialog's format and presets applied to the main window's selected job: parameters, columns,
  // output name and option slot, by the main window's one format step.
  void Button5Click(TObject* Sender);
  // The six choosers' texts into the main window's JobParameters.
  void Button13Click(TObject* Sender);
  // The main window's JobParameters reset.
  void Button6Click(TObject* Sender);
  // The main window's format items copied into the dialog's format chooser.
  void Button1Click(TObject* Sender);

  // The six preset choosers as the format routines see them, indexed by TPresetSlot.
  TPresetChoosers PresetChoosers() const;
  TChooserPositions ChooserPositions() const;

  // ---- components and controls ----
  TbsSkinForm* bsSkinForm1 = nullptr;
  TbsSkinMessage* bsSkinMessage1 = nullptr;
  TbsSkinOfficeComboBox* bsSkinOfficeComboBox2 = nullptr;  // category
  TbsSkinOfficeComboBox* bsSkinOfficeComboBox1 = nullptr;  // format
  TbsSkinGroupBox* bsSkinGroupBox1 = nullptr;              // "预置视频参数"
  TbsSkinGroupBox* bsSkinGroupBox2 = nullptr;              // "预置音频参数"
  TbsSkinComboBox* bsSkinComboBox1 = nullptr;              // frame size
  TbsSkinComboBox* bsSkinComboBox2 = nullptr;              // video bit rate
  TbsSkinComboBox* bsSkinComboBox3 = nullptr;              // audio bit rate
  TbsSkinComboBox* bsSkinComboBox4 = nullptr;              // aspect
  TbsSkinComboBox* bsSkinComboBox9 = nullptr;              // frame rate
  TbsSkinComboBox* bsSkinComboBox10 = nullptr;             // sample rate
  // The choosers' captions, indexed by TPresetSlot.
  std::array<TbsSkinStdLabel*, PresetSlotCount> PresetLabels{};
  TbsSkinButton* bsSkinButton2 = nullptr;  // "确定"
  TbsSkinButton* bsSkinButton3 = nullptr;  // "取消"
  TButton* Button2 = nullptr;
  TButton* Button18 = nullptr;
  TButton* Button5 = nullptr;
  TButton* Button13 = nullptr;
  TButton* Button6 = nullptr;
  TButton* Button1 = nullptr;

 private:
  void createControls();
  void createRoutineButtons();
  void setStoredValues();
  void layOut();
  void placeLabels();
  void bindHandlers();
  TbsSkinComboBox* presetCombo(TPresetSlot Slot) const;
  // A preset chooser's change: its pair, field and column of the selected row.
  void presetChanged(TPresetSlot Slot);
  // A chooser text the tables cannot read: said to the user; nothing was written.
  void reportUnreadableText(TPresetSlot Slot, const String& Text);
  // The first of the six choosers whose text does not read, said as above.
  void reportFirstUnreadableText();

  IPresetDialogHost& FHost;
  // While the dialog's choosers only take the main window's choice (its opening), its handlers
  // change no job.
  Integer FTaking = 0;
  struct TChooserAdapters;
  std::unique_ptr<TChooserAdapters> FAdapters;
};

// The program's preset dialog; null until the program made it.
extern TForm7* Form7;
