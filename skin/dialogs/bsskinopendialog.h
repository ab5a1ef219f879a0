// The skinned open and save dialog: TbsSkinOpenDialog keeps the settings and, for each Execute, builds
// a fresh TbsOpenDlgForm in code (tool bar with the folder box and navigation buttons, the shell file
// list, the file-name edit, the filter box and two buttons), shows it modally, copies the results back
// and frees it. The same form serves saving: its save mode changes the accept button, completes typed
// names with the filter's extension and asks before an existing file is overwritten.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/lists.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/core/form.h"
#include "platform/ui/graphics/graphicsobjects.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/dialogs/bsskindialogcomponent.h"
#include "skin/shell/bsshellfolder.h"
#include "skin/shell/bsshellpathcombobox.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinPanel;
class TbsSkinScrollBar;
class TbsSkinFileListView;
class TbsSkinEdit;
class TbsSkinFilterComboBox;
class TbsSkinButton;
class TbsSkinStdLabel;
class TbsSkinToolBar;
class TbsSkinSpeedButton;
class TbsSkinMenuSpeedButton;
class TbsSkinPopupMenu;
class TbsPngImageList;
class TbsCustomShellListView;
class TMenuItem;

// The text of Key in the control skin's string table (empty when the table lacks it), or Fallback when
// there is no table.
String OpenDlgText(TbsSkinData* CtrlSkinData, const char* Key, const char* Fallback);
// The extension a filter mask gives a typed name: none for a mask with ".*", else the extension of its
// first pattern ("*.bmp;*.jpg" gives ".bmp").
String FilterMaskExtension(const String& Mask);

class TbsOpenDlgForm : public TForm {
 public:
  TbsOpenDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData, bool AToolButtonsTransparent,
                 TCustomImageList* AToolBarImageList);
  ~TbsOpenDlgForm() override;
  String ClassName() const override { return "TbsOpenDlgForm"; }

  bool SaveMode = false;
  // Absolute identifiers of the folders visited, each owned by the history.
  std::vector<PItemIDList> FolderHistory;
  bool StopAddToHistory = false;
  TbsSkinData* CtrlSD = nullptr;
  Integer NewFolderCount = 0;
  TbsPngImageList* PngImgList = nullptr;
  String DefaultExt;
  bool OverwritePromt = false;
  String FileName;
  TbsSkinForm* BSF = nullptr;

  TbsSkinPanel* FileListViewPanel = nullptr;
  TbsSkinPanel* BottomPanel = nullptr;
  TbsSkinScrollBar* FLVHScrollBar = nullptr;
  TbsSkinScrollBar* FLVVScrollBar = nullptr;
  TbsSkinFileListView* FileListView = nullptr;
  TbsSkinEdit* FileNameEdit = nullptr;
  TbsSkinFilterComboBox* FilterComboBox = nullptr;
  TbsSkinShellComboBox* ShellBox = nullptr;
  TbsSkinButton* OpenButton = nullptr;
  TbsSkinButton* CancelButton = nullptr;
  TbsSkinStdLabel* Drivelabel = nullptr;
  TbsSkinStdLabel* OpenFileLabel = nullptr;
  TbsSkinStdLabel* FileTypeLabel = nullptr;
  TbsSkinToolBar* ToolPanel = nullptr;
  TbsSkinSpeedButton* NewFolderToolButton = nullptr;
  TbsSkinSpeedButton* UpToolButton = nullptr;
  TbsSkinSpeedButton* BackToolButton = nullptr;
  TbsSkinMenuSpeedButton* StyleToolButton = nullptr;
  TbsSkinPopupMenu* StylePopupMenu = nullptr;
  TMenuItem* IconMenuItem = nullptr;
  TMenuItem* SmallIconMenuItem = nullptr;
  TMenuItem* ReportMenuItem = nullptr;
  TMenuItem* ListMenuItem = nullptr;

  TNotifyEvent OnFolderChange;
  bool CheckFileExists = true;

  // Whether a folder can be listed; the file system's own answer when unset (tests, running with
  // every right, ask another).
  static inline std::function<bool(const String& Path)> CanReadFolder;

  // ---- handlers ----
  virtual void FLVChange(TObject* Sender, TListItem* Item, TItemChange Change);
  virtual void FLVPathChange(TObject* Sender);
  void FCBChange(TObject* Sender);
  void OpenButtonClick(TObject* Sender);
  void FLVDBLClick(TObject* Sender);
  void FLVKeyPress(TObject* Sender, char32_t& Key);
  void EditKeyPress(TObject* Sender, char32_t& Key);
  void UpToolButtonClick(TObject* Sender);
  void BackToolButtonClick(TObject* Sender);
  void NewFolderToolButtonClick(TObject* Sender);
  void ReportItemClick(TObject* Sender);
  void ListItemClick(TObject* Sender);
  void SmallIconItemClick(TObject* Sender);
  void IconItemClick(TObject* Sender);
  void InitHistory();

  // The filter extension of the filter box's chosen mask.
  String FilterExtension();
  // The extension a typed name without one is completed with.
  virtual String CompletionExtension();
  // The list's folder with a trailing "/".
  String FolderPrefix() const;
  // Places the bottom controls; the open form keeps them on the right edge while it is resized.
  virtual void PlaceBottomControls();

 protected:
  // A tool button 27 x 25 of the "toolbutton" element, placed right of the earlier ones.
  TbsSkinSpeedButton* newToolButton(const String& Name, Integer ImageIndex, const char* HintKey,
                                    const char* HintFallback, bool Flat);
  // Where the edit and the filter box start: 70, or right of a wider label.
  Integer FieldsLeft() const;
  // Each label of the bottom row in the middle of the height of its edit or filter box.
  void CentreLabels();
  // Tells the user about a name or folder that cannot be used; the dialog stays open.
  void ShowNameError(const String& Text);

 private:
  void buildToolBar(bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList);
  void buildListPanel();
  void buildBottomPanel();
  void buildViewMenu();
  void checkViewItem(TMenuItem* Item);
  // The full name a typed name stands for: as typed when it starts at the root, else in the list's folder.
  String TypedFullName(const String& T) const;
  // Empty when Full can name a file here; otherwise the text that tells why not.
  String TypedNameProblem(const String& Full) const;
  bool askOverwrite();
  void focusFirstItem();
  // After moving into a folder that cannot be read, says so and goes back to the folder before it.
  bool refuseUnreadableFolder();
};

class TbsSkinOpenDialog : public TbsSkinDialogComponent {
 public:
  explicit TbsSkinOpenDialog(TComponent* AOwner);
  ~TbsSkinOpenDialog() override;
  String ClassName() const override { return "TbsSkinOpenDialog"; }

  virtual bool Execute();
  // The full name of the file selected in the open dialog's list; empty without a dialog.
  String GetSelectedFile() const;

  // ---- published ----
  TNotifyEvent OnShow;
  TCustomImageList* ToolBarImageList() const { return FToolBarImageList; }
  void SetToolBarImageList(TCustomImageList* Value);
  TNotifyEvent OnClose;
  bool ShowHiddenFiles() const { return FShowHiddenFiles; }
  void SetShowHiddenFiles(bool Value) { FShowHiddenFiles = Value; }
  bool ToolButtonsTransparent() const { return FToolButtonsTransparent; }
  void SetToolButtonsTransparent(bool Value) { FToolButtonsTransparent = Value; }
  bool OverwritePromt() const { return FOverwritePromt; }
  void SetOverwritePromt(bool Value) { FOverwritePromt = Value; }
  const String& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const String& Value) { FDefaultExt = Value; }
  Integer DialogWidth() const { return FDialogWidth; }
  void SetDialogWidth(Integer Value) { FDialogWidth = Value; }
  Integer DialogHeight() const { return FDialogHeight; }
  void SetDialogHeight(Integer Value) { FDialogHeight = Value; }
  Integer DialogMinWidth() const { return FDialogMinWidth; }
  void SetDialogMinWidth(Integer Value) { FDialogMinWidth = Value; }
  Integer DialogMinHeight() const { return FDialogMinHeight; }
  void SetDialogMinHeight(Integer Value) { FDialogMinHeight = Value; }
  TNotifyEvent OnFolderChange;
  bool CheckFileExists() const { return FCheckFileExists; }
  void SetCheckFileExists(bool Value) { FCheckFileExists = Value; }
  bool MultiSelection() const { return FMultiSelection; }
  void SetMultiSelection(bool Value) { FMultiSelection = Value; }
  const String& LVHeaderSkinDataName() const { return FLVHeaderSkinDataName; }
  void SetLVHeaderSkinDataName(const String& Value) { FLVHeaderSkinDataName = Value; }
  TbsOpenDlgForm* DlgFrm() const { return FDlgFrm; }
  const String& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const String& Value) { FInitialDir = Value; }
  const String& Filter() const { return FFilter; }
  void SetFilter(const String& Value) { FFilter = Value; }
  const String& FileName() const { return FFileName; }
  virtual void SetFileName(const String& Value);
  Integer FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(Integer Value) { FFilterIndex = Value; }
  bool CtrlAlphaBlend() const { return FCtrlAlphaBlend; }
  void SetCtrlAlphaBlend(bool Value) { FCtrlAlphaBlend = Value; }
  Byte CtrlAlphaBlendValue() const { return FCtrlAlphaBlendValue; }
  void SetCtrlAlphaBlendValue(Byte Value) { FCtrlAlphaBlendValue = Value; }
  bool CtrlAlphaBlendAnimation() const { return FCtrlAlphaBlendAnimation; }
  void SetCtrlAlphaBlendAnimation(bool Value) { FCtrlAlphaBlendAnimation = Value; }
  TStrings* Files() const { return FFiles.get(); }

  TViewStyle ListViewStyle = vsList;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // The steps of Execute that the picture dialogs change.
  virtual TbsOpenDlgForm* CreateDlgForm();
  virtual void CopySettingsToForm();
  virtual void BeforePanelsSkin() {}
  virtual void ApplyToolButtonsSkin();
  virtual TPoint DefaultClientSize() const { return TPoint{450, 290}; }
  virtual void AfterClientSize() {}
  virtual void BeforeFileNameEdit() {}
  virtual void CopyStateBack() {}
  virtual void CompleteAcceptedName();
  // Start folder: the caller's (the folder of a FileName the caller gave, else InitialDir), else the
  // folder this dialog showed when it last closed in this run, else the user's home, else the root;
  // a folder that is gone or cannot be read is passed over.
  String StartFolder() const;

  TCustomImageList* FToolBarImageList = nullptr;
  bool FShowHiddenFiles = false;
  bool FToolButtonsTransparent = false;
  bool FOverwritePromt = false;
  String FDefaultExt;
  Integer FDialogWidth = 0;
  Integer FDialogHeight = 0;
  Integer FDialogMinWidth = 0;
  Integer FDialogMinHeight = 0;
  bool FCheckFileExists = true;
  bool FMultiSelection = false;
  String FLVHeaderSkinDataName = "header";
  TbsOpenDlgForm* FDlgFrm = nullptr;

 public:
  TNotifyEvent FOnChange;

 protected:
  String FInitialDir;
  String FFilter = "All files|*.*";
  String FFileName;
  Integer FFilterIndex = 1;
  bool FCtrlAlphaBlend = false;
  Byte FCtrlAlphaBlendValue = 225;
  bool FCtrlAlphaBlendAnimation = false;
  std::unique_ptr<TStringList> FFiles;
  bool FSaveMode = false;
  // FFileName came from the caller, not from an accepted run: its folder is a start folder.
  bool FFileNameFromCaller = false;
  // The folder the list showed when the dialog last closed, accepted or not (for this run only).
  String FLastFolder;

 private:
  bool runDialog();
  void setUpForm();
  void finishExecute();
};
