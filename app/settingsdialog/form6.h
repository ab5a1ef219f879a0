// The settings dialog: its own twelve-category format chooser with a description under each
// title, the six preset choosers, OK and cancel, and a panel of procedure buttons whose click
// handlers are its routines. The program creates it at start-up and never shows it; its creation
// fills the first category and runs the preset lists for the first format.
#pragma once

#include "app/formats/choosers.h"
#include "app/formats/jobparameters.h"
#include "app/main/mainform/jobhosts.h"
#include "platform/ui/core/form.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinPanel;
class TbsSkinTextLabel;
class TbsSkinOfficeComboBox;
class TbsSkinButton;
class TbsSkinComboBox;
class TbsSkinPageControl;
class TbsSkinTabSheet;
class TPanel;
class TButton;
class TImage;
class TImageList;
class TFFmpegConverter;

class TForm6 : public TForm {
 public:
  // Builds the window and runs OnCreate (FormCreate) before returning. Host (the main window: its
  // JobParameters, skin, output folder and overwrite choice) outlives the dialog's use.
  TForm6(TComponent* AOwner, IJobParametersHost& Host);
  ~TForm6() override;
  String ClassName() const override { return "TForm6"; }

  TbsSkinForm* bsSkinForm1;
  TbsSkinPanel* bsSkinPanel2;
  TbsSkinTextLabel* bsSkinTextLabel5;
  TbsSkinOfficeComboBox* bsSkinOfficeComboBox1;
  TbsSkinOfficeComboBox* bsSkinOfficeComboBox2;
  TbsSkinButton* bsSkinButton1;
  TPanel* Panel1;
  TButton* Button6;
  TButton* Button5;
  TButton* Button7;
  TButton* Button2;
  TButton* Button13;
  TButton* Button11;
  TButton* Button18;
  TFFmpegConverter* ZUVER;
  TImageList* ImageList1;
  TImageList* ImageList2;
  TbsSkinPageControl* bsSkinPageControl1;
  TbsSkinTabSheet* bsSkinTabSheet1;
  TbsSkinTabSheet* bsSkinTabSheet2;
  TbsSkinTabSheet* 滤镜设置;
  TbsSkinButton* bsSkinButton3;
  TbsSkinButton* bsSkinButton2;
  TbsSkinTextLabel* bsSkinTextLabel3;
  TbsSkinComboBox* bsSkinComboBox1;
  TbsSkinTextLabel* bsSkinTextLabel2;
  TbsSkinTextLabel* bsSkinTextLabel6;
  TbsSkinComboBox* bsSkinComboBox2;
  TbsSkinComboBox* bsSkinComboBox9;
  TbsSkinTextLabel* bsSkinTextLabel4;
  TbsSkinTextLabel* bsSkinTextLabel7;
  TbsSkinComboBox* bsSkinComboBox3;
  TbsSkinComboBox* bsSkinComboBox10;
  TbsSkinTextLabel* bsSkinTextLabel9;
  TbsSkinComboBox* bsSkinComboBox4;
  TbsSkinTabSheet* bsSkinTabSheet3;
  TImage* Image1;

  void Button6Click(TObject* Sender);
  void Button2Click(TObject* Sender);
  void FormCreate(TObject* Sender);
  void bsSkinOfficeComboBox2Change(TObject* Sender);
  void bsSkinButton2Click(TObject* Sender);
  void Button13Click(TObject* Sender);
  void Button18Click(TObject* Sender);
  void bsSkinOfficeComboBox1Click(TObject* Sender);
  void bsSkinButton3Click(TObject* Sender);
  void Button5Click(TObject* Sender);

  // The six preset choosers as the format routines see them, indexed by TPresetSlot.
  TPresetChoosers PresetChoosers() const;

 private:
  void buildWindow();
  void buildUpperPanel();
  void buildPages();
  void buildPresetChoosers();
  void buildButtons();
  void buildProcedurePanel();
  void bindHandlers();

  IJobParametersHost& FHost;
  struct TChooserAdapters;
  std::unique_ptr<TChooserAdapters> FAdapters;
};
