// The converter's main window "NerivoAVI/MPEG格式转换器": the job list, the format and preset
// choosers, the output folder and the job commands, with the state the job routines share. Many of
// its procedures are click handlers of routine buttons that the user never sees: they sit on hidden
// panels right of the client area, and code runs a routine by calling the button's Click (which runs
// the handler whatever the button's enabled state).
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/formats/choosers.h"
#include "app/formats/jobparameters.h"
#include "app/main/mainform/jobhosts.h"
#include "app/main/options/conversionoptions.h"
#include "app/main/options/optionfile.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/component/optionrecords.h"
#include "engine/player/customplayer.h"
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
class TbsSkinScrollBar;
class TbsSkinOfficeComboBox;
class TbsSkinComboBox;
class TbsSkinEdit;
class TbsSkinStdLabel;
class TbsSkinBevel;
class TbsCompressedSkinList;
class TbsSelectSkinDialog;
class TListItem;
class TbsSkinOpenDialog;
class TbsSkinSelectDirectoryDialog;
class TbsSkinMessage;
class TbsPngImageList;
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
class TListBox;
class TStrings;
class TForm5;
class TAddReport;
struct THintInfo;
class TbsSkinGroupBox;
class TbsSkinSlider;
class TbsSkinSavePictureDialog;
class TTrackBar;
class TLabel;
class TBitmap;

// The product skin beside the program: <program folder>/skin/nerivo.skn.
String ProductSkinFile();

// A 32-bit glyph redrawn in one ink, its shape kept by its opacity.
void InkGlyph(TBitmap& B, TColor Ink);

// Size text of a byte count: megabytes with at most two decimals, then "MB" ("12.5MB", "0MB").
String FileSizeText(Int64 Bytes);

// The job commands, each switching its routine button, skin button and menu items together.
enum TJobCommand { jcRemove, jcRename, jcClear, jcStart, jcStop, jcPause, jcResume };

constexpr Integer OptionSlotCount = 501;
// The progress text of a task that failed or could not be started, and of one broken off by a stop.
inline constexpr const char* FailedProgressText = "失败";
inline constexpr const char* StoppedProgressText = "已停止";
// The slot marker (kept in the output record's AudioLanguage) of a free slot.
inline constexpr const char* FreeSlotMarker = "kong";

class TForm1 : public TForm, public IJobParametersHost, public IPresetDialogHost {
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

  // The output folder setting saved (Button16): FileOutPutPath when it names an existing folder.
  void Button16Click(TObject* Sender);
  // "浏览...": the output folder chosen in the select-folder dialog, which opens on the current one.
  void bsSkinButton5Click(TObject* Sender);

  TOptionFile& OptionFile() { return FOptionFile; }
  // The options dialog, once the program created it (null before): shown by bsSkinSpeedButton1Click,
  // asked for the conversion options (their defaults without it).
  TForm* OptionsDialog() const { return FOptionsDialog; }
  IConversionOptions* ConversionOptions() const { return FConversionOptions; }
  void SetOptionsDialog(TForm5* Value);

  // ---- IJobParametersHost, IPresetDialogHost ----
  TJobParameters& JobParameters() override { return FJobParameters; }
  TbsSkinData* SkinData() const override { return bsSkinData1; }
  String OutputFolder() const override;
  bool OverwriteOutput() const override;
  TCustomImageList* CategoryImages() const override;
  TCustomImageList* FormatImages() const override;
  TbsSkinOfficeItems* FormatItems() const override;
  bool HasSelectedJob() const override;
  void ApplyFormatToSelectedJob(const TJobFormatChoice& Choice) override;
  void ApplyPresetToSelectedJob(TPresetSlot Slot, const IPresetChooser& Chooser) override;
  TChooserPositions ChooserPositions() const override;
  void TakeChooserPositions(const TChooserPositions& Positions) override;
  void ShowSelectedJobChoices() override;
  void FocusJobList() override;

  // ---- state shared with the job routines ----
  Int64 FDuration = 0;
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
  // "选择输出目录": the output folder and the snapshot folder choices share its last folder.
  TbsSkinSelectDirectoryDialog* bsSkinSelectDirectoryDialog2 = nullptr;
  TbsSkinMessage* bsSkinMessage1 = nullptr;
  // The category chooser's pictures, one per family code, and the format chooser's two alternating ones.
  TbsPngImageList* bsPngImageList5 = nullptr;
  TbsPngImageList* bsPngImageList3 = nullptr;
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
  TbsSkinScrollBar* bsSkinScrollBar1 = nullptr;  // the job list's vertical bar
  TbsSkinScrollBar* bsSkinScrollBar2 = nullptr;  // and its horizontal one
  TbsSkinPanel* bsSkinPanel5 = nullptr;          // over the list while it is empty
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

  // The marker of a slot holding a job. Slot i always holds the job of row i: slots move with their
  // rows, and the one a removal leaves over at the end is given back free.
  static constexpr const char* TakenSlotMarker = "Full";

  // Adding: one file (OpenDialog1), several (OpenDialog2), a whole folder (the folder chooser).
  void btnAddClick(TObject* Sender);
  void Button8Click(TObject* Sender);
  void Button12Click(TObject* Sender);
  // The JobParameters reset; the format parameter step with the output name; the preset choosers'
  // values into the JobParameters; the preset choosers filled for the format chosen.
  void Button6Click(TObject* Sender);
  void Button5Click(TObject* Sender);
  void Button13Click(TObject* Sender);
  void Button18Click(TObject* Sender);
  // Re-creates the engine tasks from the taken option slots.
  void Button14Click(TObject* Sender);
  // Editing the list: remove the selected job, clear, move up / down (rows and slots together),
  // open the output folder.
  void btnRemoveClick(TObject* Sender);
  void btnClearClick(TObject* Sender);
  void bsSkinButton3Click(TObject* Sender);
  void bsSkinButton4Click(TObject* Sender);
  void Button27Click(TObject* Sender);
  void bsSkinButton6Click(TObject* Sender);
  void bsSkinButton7Click(TObject* Sender);
  void bsSkinButton8Click(TObject* Sender);
  // The choosers' change handlers: the category refills the formats; the others rewrite the
  // selected job row.
  void bsSkinOfficeComboBox2Change(TObject* Sender);
  void bsSkinOfficeComboBox1Change(TObject* Sender);
  void bsSkinComboBox1Change(TObject* Sender);
  void bsSkinComboBox2Change(TObject* Sender);
  void bsSkinComboBox3Change(TObject* Sender);
  void bsSkinComboBox4Change(TObject* Sender);
  void bsSkinComboBox9Change(TObject* Sender);
  void bsSkinComboBox10Change(TObject* Sender);

  // The files of a folder (not its subfolders), in the order the file system gives them; null when
  // FilePath is no folder.
  std::unique_ptr<TStrings> GetFilenames(const String& FilePath, const String& ExtMask);
  // The same plus the files of each direct subfolder.
  std::unique_ptr<TStrings> GetFilenamesEx(const String& FilePath, const String& ExtMask);
  // The files an add did not take, each with its cause, in one box (nothing when it took them all).
  void showAddReport(const TAddReport& Report, const String& Heading);
  // A free name beside AFileName: its base + "_(new)" + AFileExt, else "_(new_n)" for the first free n.
  String GenerateOutputFileName(const String& AFileName, const String& AFileExt);

  TbsSkinButton* bsSkinButton3 = nullptr;  // hint "上移"
  TbsSkinButton* bsSkinButton4 = nullptr;  // hint "下移"
  TListBox* ListBox1 = nullptr;            // the folder add's file list, hidden

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

  // Files converted at once: the options' thread count; 1 without the options dialog.
  Integer BatchThreadCount() const;
  // The product's end-of-batch chime, beside the skin: <skin folder>/sounds/done.wav.
  String EndSoundFile() const;
  // Batch ends handled so far (a test waits for it to grow).
  Integer BatchEndCount() const { return FBatchEndCount; }
  bool ShutdownPrivilegeEnabled() const { return FShutdownPrivilege; }
  // The row of an engine task of the current batch; -1 when none.
  Integer RowOfTask(Integer TaskIndex) const;
  // Why the row did not finish, as its hint says it ("" for a row that did, or never ran).
  String RowProblem(Integer Row) const;

 private:
  void markRowFailed(Integer Row, const String& Reason);

 public:
  // Rows i and j exchanged with their option slots and hints (the move commands).
  void exchangeJobs(Integer I, Integer J);

 private:
  // ---- what became of each job (mainform_rowstatus.cpp) ----
  void bindRowStatus();
  TRect jobCellRect(TListItem* Row, TJobColumn Column) const;
  void drawProgressCell(TListItem* Row, bool Selected);
  void setRowProblem(TListItem* Row, const String& Why);
  void rowHintShow(THintInfo& Info, bool& CanShow);
  // A finished row: "100%", and the time and size the output really has.
  void showFinishedRow(TListItem* Row);
  std::map<const TListItem*, String> FRowProblems;
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
  // The snapshot file types, in the order of their menu items.
  enum TSnapShotType { stBMP, stJPG, stGIF, stPNG };
  // The preview open routine: the file of T_Movie_PLayer_FileName into Panel6. A file that is gone
  // is refused before the player stops what it shows: the user is told, the preview stays as it was.
  void Button31Click(TObject* Sender);
  // The player's events.
  void RIVoderoFileOpen(TObject* Sender, Int64 ADuration, Integer AFrameWidth, Integer AFrameHeight,
                        Integer& AScreenWidth, Integer& AScreenHeight);
  void RIVoderoPosition(TObject* Sender, Int64 APTS);
  void RIVoderoState(TObject* Sender, TPlayState AState);
  void RIVoderoHook(TObject* Sender, TBitmap* ABitmap, Int64 APTS);
  // Play, pause, stop (and reopen at the start), mute, unmute.
  void bsSkinButton13Click(TObject* Sender);
  void bsSkinButton14Click(TObject* Sender);
  void bsSkinButton15Click(TObject* Sender);
  void bsSkinButton16Click(TObject* Sender);
  void bsSkinButton20Click(TObject* Sender);
  // The position slider: held, the player pauses and positions leave it alone; released, the player
  // seeks to the slider's share of the duration and plays.
  void bsSkinSlider1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void bsSkinSlider1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void TrackBar2Change(TObject* Sender);
  void chkPreviewClick(TObject* Sender);
  // The first direct windowed child named AName; null when none is.
  TWinControl* FindWinControlByName(const String& AName);
  // Keeps an overlay video output in line with the moved window.
  void Dispatch(TMessage& Message) override;

  // Snapshots: at once into the snapshot folder, or under a name chosen in the save dialog.
  void bsSkinButton22Click(TObject* Sender);
  void bsSkinButton23MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void bsSkinButton23Click(TObject* Sender);
  void MenuItem1Click(TObject* Sender);
  void MenuItem2Click(TObject* Sender);
  void BMP1Click(TObject* Sender);
  void JPG1Click(TObject* Sender);
  void GIF1Click(TObject* Sender);
  void PNG1Click(TObject* Sender);
  void btnCaptureClick(TObject* Sender);
  // The snapshot folder by its rule (the default made and written when none is stored); the type by
  // its rule, its menu item checked ("BMP" written over anything else).
  String SnapShotFolder();
  TSnapShotType SnapShotType();
  // The file the next snapshot of Type goes to: <folder>/<base>_<n><ext> with the first free n.
  String NextSnapShotName(const String& Folder, TSnapShotType Type) const;

  TRIVodero* RIVodero = nullptr;
  TbsSkinGroupBox* bsSkinGroupBox1 = nullptr;  // "视频预览"
  TPanel* Panel6 = nullptr;                    // the picture
  TImage* Image18 = nullptr;                   // stopped-preview placeholder
  TbsSkinButton* bsSkinButton13 = nullptr;     // 播放
  TbsSkinButton* bsSkinButton14 = nullptr;     // 暂停
  TbsSkinButton* bsSkinButton15 = nullptr;     // 停止
  TbsSkinButton* bsSkinButton16 = nullptr;     // 静音 (mute)
  TbsSkinButton* bsSkinButton20 = nullptr;     // 静音 (unmute), in 16's place
  TbsSkinSlider* bsSkinSlider1 = nullptr;
  TbsSkinButton* bsSkinButton22 = nullptr;  // 快照
  TbsSkinButton* bsSkinButton23 = nullptr;  // 设置
  TbsSkinPopupMenu* bsSkinPopupMenu2 = nullptr;
  TMenuItem* MenuItem1 = nullptr;  // "打开快照目录"
  TMenuItem* MenuItem2 = nullptr;  // "设置快照目录"
  TMenuItem* MenuItem3 = nullptr;  // "-"
  TMenuItem* N27 = nullptr;        // "快照保存类型"
  TMenuItem* BMP1 = nullptr;
  TMenuItem* JPG1 = nullptr;
  TMenuItem* GIF1 = nullptr;
  TMenuItem* PNG1 = nullptr;
  TbsSkinSavePictureDialog* SavePictureDialog1 = nullptr;
  // Hidden player options and reports.
  TComboBox* cboVideoDriver = nullptr;
  TComboBox* cboAudioDriver = nullptr;
  TCheckBox* chkOpenPaused = nullptr;
  TCheckBox* chkStayOnTop = nullptr;
  TCheckBox* chkPreview = nullptr;
  TTrackBar* TrackBar2 = nullptr;
  TComboBox* cboVideo = nullptr;
  TComboBox* cboAudio = nullptr;
  TComboBox* cboSubtitle = nullptr;
  TLabel* Label2 = nullptr;  // duration, seconds
  TLabel* Label3 = nullptr;  // position, seconds
  TButton* btnCapture = nullptr;

 private:
  void prepareSnapshotDialog();
  // The platform controls (mainform_previewscreen.cpp): the picture panel and the hidden options.
  void createPreviewScreen();
  void layOutPreviewScreen();
  HWND previewScreenHandle();
  void layOutPreview();
  void loadPreviewPictures();
  void fillStreamLists();
  // Opens the previewed file into Panel6 as the open routine does; false (logged) when it failed.
  bool openPreview();
  void saveSnapShot(TBitmap& Picture, const String& FileName, TSnapShotType Type);
  // Saves, or tells the user why not and leaves no half-written file; whether it saved.
  bool trySaveSnapShot(TBitmap& Picture, const String& FileName, TSnapShotType Type);
  void chooseSnapShotType(TSnapShotType Type);
  // Into the log, and in a message box.
  void showPreviewError(const String& Text);

 public:
  // ==== end of preview ====

  // ==== selection, rename, menus, about box, skin choice (mainform_menus.cpp) ====

  // The list's selection: the choosers go back to the positions stored in the selected row (each
  // change cascading as a user's would), then the row's input opens in the preview (Button31). A row
  // whose codes are not numbers ends it silently, before any chooser moved.
  void lvFilesSelectItem(TObject* Sender, TListItem* Item, bool Selected);
  // Rename start: the edit box over the selected row's output name; without a row, a message.
  void bsSkinButton21Click(TObject* Sender);
  void N26Click(TObject* Sender);
  void lvFilesDblClick(TObject* Sender);
  // A click on the list while no row is selected stops the preview.
  void lvFilesClick(TObject* Sender);
  // Rename end: the edited name with the current format's extension becomes the row's output name and
  // its slot's output file. A name that is empty, holds a folder separator or is another row's output
  // name is refused with a message; the row keeps its name and the box stays for another try.
  void edtExit(TObject* Sender);
  // Enter ends the rename as leaving the box does; Esc leaves the box and keeps the old name.
  void edtKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  // The edit box over the selected row's output name column, filled with the name less its extension.
  void startRename();
  // Why a new output name of the row at Row cannot be taken ("" when it can).
  String refusedOutputName(const String& Name, Integer Row) const;
  String FRenameRefusal;
  bool FRenameCancelled = false;
  // The row whose name is being edited: a click on another row ends the edit after selecting it.
  Integer FRenameRow = -1;

  // The menus' own handlers.
  void N4Click(TObject* Sender);
  void N21Click(TObject* Sender);
  void N2222Click(TObject* Sender);
  void N3331Click(TObject* Sender);
  void N24Click(TObject* Sender);
  void bsSkinButton19Click(TObject* Sender);
  // Shows the about box Form2 modally (when it exists).
  void N5Click(TObject* Sender);
  // The maker's question page (F1), home page and support mail, through the desktop's opener.
  void N15Click(TObject* Sender);
  void N19Click(TObject* Sender);
  void EMAIL1Click(TObject* Sender);
  void Video_OutPut_Folder_EditClick(TObject* Sender);

  // Skin save step: the skin index into "option.ini".
  void Button4Click(TObject* Sender);
  // Skin choice: the chooser starts at the current index; a confirmed other skin is loaded into the
  // main skin data (and so into every skinned window); the index is saved either way.
  void bsSkinButton9Click(TObject* Sender);
  void N23Click(TObject* Sender);

  TMenuItem* N3 = nullptr;      // separator
  TMenuItem* N4 = nullptr;      // "退出"
  TMenuItem* N111 = nullptr;    // "上移文件"
  TMenuItem* N2221 = nullptr;   // "下移文件"
  TMenuItem* N12 = nullptr;     // separator
  TMenuItem* N25 = nullptr;     // separator
  TMenuItem* N9 = nullptr;      // separator
  TMenuItem* N23 = nullptr;     // separator
  TMenuItem* N24 = nullptr;     // "转换选项"
  TMenuItem* N15 = nullptr;     // "帮助系统", F1
  TMenuItem* N16 = nullptr;     // separator
  TMenuItem* N19 = nullptr;     // "官方网站"
  TMenuItem* EMAIL1 = nullptr;  // "联系邮箱"
  TMenuItem* N5 = nullptr;      // "关于软件"
  TbsSkinBevel* bsSkinBevel1 = nullptr;
  TbsSkinButton* bsSkinButton19 = nullptr;  // "选项"
  TbsSkinButton* bsSkinButton9 = nullptr;   // "皮肤", off-screen
  TbsSkinEdit* edt = nullptr;               // the in-place rename box
  TbsCompressedSkinList* bsCompressedSkinList1 = nullptr;
  TbsSelectSkinDialog* bsSelectSkinDialog1 = nullptr;

  // ==== end of menus ====

  // ==== preset dialog link (mainform_presets.cpp) ====

  static constexpr Integer PresetButtonWidth = 72;
  TbsSkinButton* bsSkinButton24 = nullptr;  // "设置...", right of the format chooser

  // "设置...": the main window's chooser positions into the dialog, then the dialog shown modally.
  void bsSkinButton24Click(TObject* Sender);
  IPresetDialog* PresetDialog() const { return FPresetDialog; }
  void SetPresetDialog(IPresetDialog* Value);
  IPresetDialog* FPresetDialog = nullptr;
  TComponent* FPresetDialogComponent = nullptr;  // the same object, compared on its removal

  // ==== end of preset dialog link ====

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // Gives Control the keys now when this window is active, else when it is active again (a modal
  // box still in front or winding down keeps them meanwhile).
  void focusInWindow(TWinControl* Control);
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
  void loadChooserPictures(TbsPngImageList* List, const String& FilePrefix, Integer Count);
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

  // ---- the job rows (mainform_jobrows.cpp) ----
  // While the choosers only show a row (its selection, the preset dialog's exchange), their handlers
  // change no job: a selection is a read (TShowingChoice over FRowReads).
  bool readingRow() const { return FRowReads > 0; }
  // The selected row the choosers' handlers change; null while reading or with none selected.
  TListItem* changedRow() const;
  // The one format step on a row, then its option slot and its engine task follow the row.
  void applyFormatToRow(TListItem* Row, const TJobFormatChoice& Choice);
  // The slot of a row rebuilt from the row (what the start will convert with).
  void rebuildSlot(TListItem* Row);
  // The engine task of a row made again with the row's output name, so that a later add sees the
  // names the rows really hold (the engine refuses two tasks writing one file).
  void refreshTaskOutput(TListItem* Row);
  // The choosers set to the positions a row stores, as a read; false when its codes do not read.
  bool showRowChoices(TListItem* Row);
  // The main window's own choosers as one choice.
  TJobFormatChoice chooserChoice() const;
  Integer FRowReads = 0;

  TOptionFile FOptionFile;
  String FSkinFile;
  TJobParameters FJobParameters;
  TForm* FOptionsDialog = nullptr;
  IConversionOptions* FConversionOptions = nullptr;
  std::unique_ptr<TSkinFormatChooser> FFormatChooser;
  std::array<std::unique_ptr<TSkinPresetChooser>, PresetSlotCount> FPresetChoosers;
};

// The program's windows, each under the name of its layout object; null until the program made it.
// Form2 (the about box) is declared with its class in app/main/about/aboutbox.h, Form7 (the preset
// dialog) in app/presetdialog/form7.h.
extern TForm1* Form1;
extern TForm5* Form5;
extern TForm* Form6;
