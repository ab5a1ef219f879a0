// The converter's main window "NerivoAVI/MPEG格式转换器": the job list, the format and preset
// choosers, the output folder and the job commands, with the state the job routines share. Many of
// its procedures are click handlers of routine buttons that the user never sees: they sit on hidden
// panels right of the client area, and code runs a routine by calling the button's Click (which runs
// the handler whatever the button's enabled state).
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "app/formats/choosers.h"
#include "app/formats/jobparameters.h"
#include "app/main/options/optionfile.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/component/optionrecords.h"
#include "platform/ui/core/form.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinMainMenu;
class TbsSkinMainMenuBar;
class TbsSkinPopupMenu;
class TbsSkinPanel;
class TbsSkinButton;
class TbsSkinMenuSpeedButton;
class TbsSkinListView;
class TbsSkinOfficeComboBox;
class TbsSkinComboBox;
class TbsSkinEdit;
class TbsSkinStdLabel;
class TbsSkinOpenDialog;
class TbsSkinSelectDirectoryDialog;
class TbsSkinMessage;
class TFFmpegConverter;
struct TProgressInfo;
struct TTerminateInfo;
class TFFLogger;
class TMenuItem;
class TPanel;
class TButton;
class TImage;
class TCheckBox;
class TComboBox;
class TMemo;
class TSkinFormatChooser;
class TSkinPresetChooser;
class TForm5;

// The product skin beside the program: <program folder>/skin/nerivo.skn.
String ProductSkinFile();

// Size text of a byte count: megabytes with at most two decimals, then "MB" ("12.5MB", "0MB").
String FileSizeText(Int64 Bytes);

// The job commands, each switching its routine button, skin button and menu items together.
enum TJobCommand { jcRemove, jcRename, jcClear, jcStart, jcStop, jcPause, jcResume };

constexpr Integer OptionSlotCount = 501;
// The slot marker (kept in the output record's AudioLanguage) of a free slot.
inline constexpr const char* FreeSlotMarker = "kong";

class TForm1 : public TForm {
 public:
  // AOptionFile: "option.ini" (the program's own by default). ASkinFile: the skin loaded into the
  // window's skin data (the glyphs and pictures lie beside it); a file that is missing or unreadable
  // leaves the controls' own look.
  explicit TForm1(TComponent* AOwner, const TOptionFile& AOptionFile = TOptionFile(),
                  const String& ASkinFile = ProductSkinFile());
  ~TForm1() override;
  String ClassName() const override { return "TForm1"; }

  // ---- handlers ----
  void FormCreate(TObject* Sender);
  // Leaves CanClose true: detaches the engine events and stops every task, waiting for them.
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  // Shows the options dialog modally (when it exists).
  void bsSkinSpeedButton1Click(TObject* Sender);

  // ---- routines (the handlers of the routine buttons) ----
  // Every option slot becomes free.
  void Button15Click(TObject* Sender);
  // The output folder setting into FileOutPutPath and the folder box.
  void Button17Click(TObject* Sender);
  // The file-type filter of both add-file dialogs.
  void Button21Click(TObject* Sender);
  // The stored skin choice applied to the main skin data.
  void Button3Click(TObject* Sender);
  // The format chooser filled for the current category; its change fills the preset choosers.
  void Button2Click(TObject* Sender);

  // Switches a command's group: routine button, skin button (with the matching glyph) and menu items.
  void SetCommandEnabled(TJobCommand Command, bool Enabled);

  TOptionFile& OptionFile() { return FOptionFile; }
  TJobParameters& JobParameters() { return FJobParameters; }
  // The options dialog, once the program created it (null before): shown by bsSkinSpeedButton1Click.
  TForm* OptionsDialog() const { return FOptionsDialog; }
  void SetOptionsDialog(TForm* Value);

  // ---- state shared with the job routines ----
  Int64 FDuration = 0;
  bool FTrackChanging = false;
  TWinControl* FScreenControl = nullptr;
  std::array<TInputOptions, OptionSlotCount> IO1{};
  std::array<TOutputOptions, OptionSlotCount> OO1{};
  String FileOutPutPath;
  String T_Movie_PLayer_FileName;
  String bsSkinSlider1_down_UP;

  // ---- components ----
  TbsSkinData* bsSkinData1 = nullptr;
  TbsSkinForm* bsSkinForm1 = nullptr;
  TFFmpegConverter* ZUVER = nullptr;
  TFFLogger* FFLogger = nullptr;
  TbsSkinMainMenu* MainMenu1 = nullptr;
  TbsSkinMainMenuBar* bsSkinMainMenuBar1 = nullptr;
  TbsSkinPopupMenu* bsSkinPopupMenu1 = nullptr;
  TbsSkinOpenDialog* OpenDialog1 = nullptr;
  TbsSkinOpenDialog* OpenDialog2 = nullptr;
  TbsSkinSelectDirectoryDialog* bsSkinSelectDirectoryDialog1 = nullptr;
  TbsSkinMessage* bsSkinMessage1 = nullptr;
  TMenuItem* Item111 = nullptr;  // "添加一个文件"
  TMenuItem* Item121 = nullptr;  // "添加多个文件"
  TMenuItem* N21 = nullptr;      // "添加整个目录"
  TMenuItem* N11111 = nullptr;   // popup: add one file
  TMenuItem* N2222 = nullptr;    // popup: add several files
  TMenuItem* N3331 = nullptr;    // popup: add a folder
  TMenuItem* N13 = nullptr;      // "删除选择"
  TMenuItem* N26 = nullptr;      // "重新命名"
  TMenuItem* N14 = nullptr;      // "清空文件"
  TMenuItem* N7 = nullptr;       // "开始转换"
  TMenuItem* N8 = nullptr;       // "停止转换"
  TMenuItem* N10 = nullptr;      // "暂停转换"
  TMenuItem* N11 = nullptr;      // "继续继续"

  // ---- visible controls ----
  TbsSkinPanel* ToolBarPanel = nullptr;
  TbsSkinMenuSpeedButton* bsSkinMenuSpeedButton1 = nullptr;  // "添加"
  TbsSkinButton* bsSkinButton7 = nullptr;                    // "删除"
  TbsSkinButton* bsSkinButton8 = nullptr;                    // "清空"
  TbsSkinPanel* bsSkinPanel1 = nullptr;
  TbsSkinListView* lvFiles = nullptr;
  TbsSkinPanel* bsSkinPanel5 = nullptr;  // over the list while it is empty
  TImage* Image1 = nullptr;
  TbsSkinButton* bsSkinButton21 = nullptr;  // rename, hint "重命名"
  TbsSkinPanel* FormatPanel = nullptr;
  TbsSkinOfficeComboBox* bsSkinOfficeComboBox2 = nullptr;  // category
  TbsSkinOfficeComboBox* bsSkinOfficeComboBox1 = nullptr;  // format
  TbsSkinPanel* bsSkinPanel2 = nullptr;
  TbsSkinStdLabel* OutputFolderLabel = nullptr;
  TbsSkinEdit* Video_OutPut_Folder_Edit = nullptr;
  TbsSkinButton* bsSkinButton5 = nullptr;  // "浏览..."
  TbsSkinButton* bsSkinButton6 = nullptr;  // "打开"
  TbsSkinPanel* CommandPanel = nullptr;
  TbsSkinButton* bsSkinButton2 = nullptr;   // "开始"
  TbsSkinButton* bsSkinButton10 = nullptr;  // "停止"
  TbsSkinButton* bsSkinButton11 = nullptr;  // "暂停", above 继续
  TbsSkinButton* bsSkinButton12 = nullptr;  // "继续"

  // ---- hidden panels ----
  TPanel* Panel1 = nullptr;
  TPanel* Panel3 = nullptr;
  TPanel* Panel4 = nullptr;
  TPanel* Panel5 = nullptr;
  TbsSkinPanel* bsSkinPanel4 = nullptr;         // the six preset choosers
  TbsSkinComboBox* bsSkinComboBox1 = nullptr;   // frame size
  TbsSkinComboBox* bsSkinComboBox2 = nullptr;   // video bit rate
  TbsSkinComboBox* bsSkinComboBox3 = nullptr;   // audio bit rate
  TbsSkinComboBox* bsSkinComboBox4 = nullptr;   // aspect
  TbsSkinComboBox* bsSkinComboBox9 = nullptr;   // frame rate
  TbsSkinComboBox* bsSkinComboBox10 = nullptr;  // sample rate
  std::array<TbsSkinStdLabel*, 6> PresetLabels{};
  TMemo* mmoLog = nullptr;
  TCheckBox* chkThreadMode = nullptr;
  TComboBox* cboScreens = nullptr;
  // Glyphs: Image4 … Image17.
  std::array<TImage*, 18> Images{};
  TImage* Image(Integer N) const { return Images[N]; }

  // Routine buttons.
  TButton* btnAdd = nullptr;
  TButton* Button8 = nullptr;
  TButton* Button12 = nullptr;
  TButton* btnRemove = nullptr;
  TButton* btnClear = nullptr;
  TButton* btnStart = nullptr;
  TButton* btnStop = nullptr;
  TButton* btnPause = nullptr;
  TButton* btnResume = nullptr;
  TButton* button28 = nullptr;
  TButton* Button22 = nullptr;
  TButton* Button23 = nullptr;
  TButton* Button24 = nullptr;
  TButton* Button14 = nullptr;
  TButton* Button15 = nullptr;
  TButton* Button20 = nullptr;
  TButton* Button25 = nullptr;
  TButton* Button29 = nullptr;
  TButton* Button21 = nullptr;
  TButton* Button27 = nullptr;
  TButton* Button2 = nullptr;
  TButton* Button5 = nullptr;
  TButton* Button6 = nullptr;
  TButton* Button13 = nullptr;
  TButton* Button3 = nullptr;
  TButton* Button4 = nullptr;
  TButton* Button16 = nullptr;
  TButton* Button17 = nullptr;
  TButton* Button31 = nullptr;

  TPresetChoosers PresetChoosers() const;

  // Duration text of a whole number of seconds: "hh:mm:ss", the hours modulo 24.
  static String SecToDate(Integer Sec);

  // ==== job list, adding and editing (mainform_jobs.cpp) ====

  // ==== end of job list ====

  // ==== batch, progress and after-finish (mainform_batch.cpp) ====

  // 开始 and 开始转换: run the start routine (also after a stop, when btnStart stays disabled).
  void bsSkinButton2Click(TObject* Sender);
  // Starts a batch: worker priority, tasks rebuilt from the rows, commands switched, engine started.
  void btnStartClick(TObject* Sender);
  // The engine's tasks rebuilt in row order from the rows and their option slots. A row the engine
  // refuses (input gone, output not writable) is marked failed and left out of the batch.
  void button28Click(TObject* Sender);
  // Lock / unlock the format and preset choosers and the folder browse button.
  void Button22Click(TObject* Sender);
  void Button23Click(TObject* Sender);
  void Button24Click(TObject* Sender);
  void Button11Click(TObject* Sender);
  // 停止 and 停止转换.
  void bsSkinButton10Click(TObject* Sender);
  void btnStopClick(TObject* Sender);
  // 暂停 / 继续 and their menu items: run the routine, then swap which of the two buttons shows.
  void bsSkinButton11Click(TObject* Sender);
  void btnPauseClick(TObject* Sender);
  void bsSkinButton12Click(TObject* Sender);
  void btnResumeClick(TObject* Sender);

  // A task's progress into its row's progress, speed, time and size columns.
  void ZUVERProgress(TObject* Sender, TProgressInfo* AProgressInfo);
  // A task's end or (TaskIndex -1) the batch's end; runs on the main thread.
  void ZUVERTerminate(TObject* Sender, const TTerminateInfo& ATerminateInfo);
  // Opens the output folder box's folder with the desktop.
  void Button20Click(TObject* Sender);
  // Switches the computer off through the power service (only when the person opted in there).
  void Button25Click(TObject* Sender);
  // Only "SeShutdownPrivilege" is known: switching off is then allowed to be asked for.
  bool SetPrivilege(const String& PrivilegeName, bool Enable);
  // Plays the end-of-batch sound when its file exists.
  void Button29Click(TObject* Sender);
  // One engine log line into mmoLog: "#<thread>.<level>: <message>".
  void FFLoggerLog(TObject* Sender, Cardinal AThreadID, TLogLevel ALogLevel, const String& ALogMsg);

  // Files converted at once: the options dialog's chooser while its multi-thread box is checked
  // (1 when its text is no number above 0), else 1; 1 without the dialog.
  Integer BatchThreadCount() const;
  // The product's end-of-batch chime, beside the skin: <skin folder>/sounds/done.wav.
  String EndSoundFile() const;
  // Batch ends handled so far (a test waits for it to grow).
  Integer BatchEndCount() const { return FBatchEndCount; }
  bool ShutdownPrivilegeEnabled() const { return FShutdownPrivilege; }
  // The row of an engine task of the current batch; -1 when none.
  Integer RowOfTask(Integer TaskIndex) const;

 private:
  void markRowFailed(Integer Row, const String& Reason);
  void setAddCommandEnabled(bool Enabled);
  void setChoosersEnabled(bool Enabled);
  // Engine task index -> job row of the current batch (rows the engine refused have no task).
  std::vector<Integer> FTaskRows;
  Integer FBatchEndCount = 0;
  bool FShutdownPrivilege = false;
  // Engine events handed over to the main thread find the window gone once this is released.
  std::shared_ptr<bool> FBatchAlive = std::make_shared<bool>(true);

 public:
  // ==== end of batch ====

  // ==== preview player and snapshots (mainform_preview.cpp) ====

  // ==== end of preview ====

  // ==== selection, rename, menus, about box, skin choice (mainform_menus.cpp) ====

  // ==== end of menus ====

  // ==== preset dialog link (mainform_presets.cpp) ====

  // ==== end of preset dialog link ====

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void createComponents();
  void createMenus();
  void createControls();
  void createHiddenPanels();
  void createPresetChoosers();
  TWinControl* presetParent() const;
  void setStoredValues();
  void layOut();
  void placeFolderLabel();
  void loadGlyphs();
  void bindHandlers();
  void fillScreenChoices();
  // Each area creates its own controls and binds its own handlers, in its own file.
  void createJobControls();
  void bindJobHandlers();
  void createBatchControls();
  void bindBatchHandlers();
  void createPreviewControls();
  void bindPreviewHandlers();
  void createMenuControls();
  void bindMenuHandlers();
  void createPresetControls();
  void bindPresetHandlers();

  TOptionFile FOptionFile;
  String FSkinFile;
  TJobParameters FJobParameters;
  TForm* FOptionsDialog = nullptr;
  std::unique_ptr<TSkinFormatChooser> FFormatChooser;
  std::array<std::unique_ptr<TSkinPresetChooser>, PresetSlotCount> FPresetChoosers;
};

// The program's windows, each under the name of its layout object; null until the program made it.
// Form2 (the about box) and Form7 (the preset dialog) are not made yet.
extern TForm1* Form1;
extern TForm5* Form5;
extern TForm* Form6;
