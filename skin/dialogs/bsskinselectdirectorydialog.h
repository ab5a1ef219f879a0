// The skinned select-folder dialog: TbsSkinSelectDirectoryDialog keeps the settings, and each Execute
// builds a fresh TbsSelDirDlgForm in code (a shell folder tree with skinned scroll bars, OK and Cancel,
// optionally a tool bar with a path edit and a new-folder button), shows it modally, copies the chosen
// folder back and frees the form. The modal loop keeps serving the main-thread call queue.
#pragma once

#include <memory>

#include "platform/ui/core/form.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/dialogs/bsskindialogcomponent.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinPanel;
class TbsSkinToolBar;
class TbsSkinSpeedButton;
class TbsSkinButton;
class TbsSkinScrollBar;
class TbsSkinEdit;
class TbsSkinDirTreeView;
class TbsPngImageList;
class TTreeNode;

// The dialog's own texts: from ASkinData's string table when it has one (an absent key gives ""),
// else the built-in text.
String SelectDirectoryDialogText(TbsSkinData* ASkinData, const char* Key, const char* Fallback);

class TbsSelDirDlgForm : public TForm {
 public:
  // Builds the whole form (the tool bar only with AShowToolBar). ACtrlSkinData selects the texts.
  TbsSelDirDlgForm(TComponent* AOwner, TbsSkinData* ACtrlSkinData, bool AShowToolBar,
                   bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList,
                   Integer AToolButtonImageIndex, bool ATreeShowLines, TCustomImageList* ATreeButtonImageList,
                   Integer ATreeButtonExpandImageIndex, Integer ATreeButtonNoExpandImageIndex);
  ~TbsSelDirDlgForm() override;
  String ClassName() const override { return "TbsSelDirDlgForm"; }

  // ---- the form's actions ----
  // With the tool bar, the path edit follows the tree.
  void DirTreeViewChange(TObject* Sender, TTreeNode* Node);
  // Enter on a folder that exists moves the tree there (a relative name is taken from the selected
  // folder) and lets OK close the dialog; a path that does not exist or that the tree cannot reach
  // is reported, and the dialog stays open with the text kept.
  void DirEditKeyPress(TObject* Sender, char32_t& Key);
  // Creates the folder named by the "MSG_NEWFOLDER" text in the selected file-system folder and lists
  // it; nothing while it exists; a refusal is reported and the dialog stays as it was.
  void NewFolderToolButtonClick(TObject* Sender);

  TbsSkinData* CtrlSD = nullptr;
  bool ShowToolBar = false;
  TbsPngImageList* PngImgList = nullptr;
  TbsSkinForm* BSF = nullptr;
  TbsSkinPanel* DirTreeViewPanel = nullptr;
  TbsSkinPanel* BottomPanel = nullptr;
  TbsSkinDirTreeView* DirTreeView = nullptr;
  TbsSkinScrollBar* VScrollBar = nullptr;
  TbsSkinScrollBar* HScrollBar = nullptr;
  TbsSkinButton* OkButton = nullptr;
  TbsSkinButton* CancelButton = nullptr;
  TbsSkinToolBar* ToolPanel = nullptr;
  TbsSkinSpeedButton* NewFolderToolButton = nullptr;
  TbsSkinEdit* DirEdit = nullptr;

 protected:
  void CMDialogKey(TMessage& Message) override;

 private:
  void showError(const String& Text);
  bool FRefuseEnter = false;
};

class TbsSkinSelectDirectoryDialog : public TbsSkinDialogComponent {
 public:
  explicit TbsSkinSelectDirectoryDialog(TComponent* AOwner);
  ~TbsSkinSelectDirectoryDialog() override;
  String ClassName() const override { return "TbsSkinSelectDirectoryDialog"; }

  // Shows the dialog; true when the user pressed OK, and Directory then holds the chosen folder.
  bool Execute();

  // ---- published ----
  TCustomImageList* ToolBarImageList() const { return FToolBarImageList; }
  void SetToolBarImageList(TCustomImageList* Value);
  Integer ToolButtonImageIndex() const { return FToolButtonImageIndex; }
  void SetToolButtonImageIndex(Integer Value) { FToolButtonImageIndex = Value; }
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;
  bool ToolButtonsTransparent() const { return FToolButtonsTransparent; }
  void SetToolButtonsTransparent(bool Value) { FToolButtonsTransparent = Value; }
  Integer DialogWidth() const { return FDialogWidth; }
  void SetDialogWidth(Integer Value) { FDialogWidth = Value; }
  Integer DialogHeight() const { return FDialogHeight; }
  void SetDialogHeight(Integer Value) { FDialogHeight = Value; }
  Integer DialogMinWidth() const { return FDialogMinWidth; }
  void SetDialogMinWidth(Integer Value) { FDialogMinWidth = Value; }
  Integer DialogMinHeight() const { return FDialogMinHeight; }
  void SetDialogMinHeight(Integer Value) { FDialogMinHeight = Value; }
  const String& Directory() const { return FDirectory; }
  // A Directory the caller gives is where the next Execute opens (when it names a folder).
  void SetDirectory(const String& Value) {
    FDirectory = Value;
    FDirectoryFromCaller = true;
  }
  bool ShowToolBar() const { return FShowToolBar; }
  void SetShowToolBar(bool Value) { FShowToolBar = Value; }
  bool TreeShowLines() const { return FTreeShowLines; }
  void SetTreeShowLines(bool Value) { FTreeShowLines = Value; }
  TCustomImageList* TreeButtonImageList() const { return FTreeButtonImageList; }
  void SetTreeButtonImageList(TCustomImageList* Value);
  Integer TreeButtonExpandImageIndex() const { return FTreeButtonExpandImageIndex; }
  void SetTreeButtonExpandImageIndex(Integer Value) { FTreeButtonExpandImageIndex = Value; }
  Integer TreeButtonNoExpandImageIndex() const { return FTreeButtonNoExpandImageIndex; }
  void SetTreeButtonNoExpandImageIndex(Integer Value) { FTreeButtonNoExpandImageIndex = Value; }

  // The form while Execute runs, null otherwise.
  TbsSelDirDlgForm* DlgFrm() const { return FDlgFrm; }
  // Fired after an Execute the user confirmed (not published).
  TNotifyEvent OnChange;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // Steps of Execute between building the form and showing it.
  void applySettings(TbsSelDirDlgForm* Form);
  // The caller's Directory, else the folder last shown in this run, else home, else the computer.
  void chooseStartFolder(TbsSelDirDlgForm* Form);
  void applyClientSize(TbsSelDirDlgForm* Form);
  // Settings, start folder, size, the modal loop and the results (true: OK).
  bool showForm(TbsSelDirDlgForm* Form);

  TCustomImageList* FToolBarImageList = nullptr;
  Integer FToolButtonImageIndex = 0;
  bool FToolButtonsTransparent = false;
  Integer FDialogWidth = 0;
  Integer FDialogHeight = 0;
  Integer FDialogMinWidth = 0;
  Integer FDialogMinHeight = 0;
  TbsSelDirDlgForm* FDlgFrm = nullptr;
  String FDirectory;
  // FDirectory came from the caller, not from a confirmed run.
  bool FDirectoryFromCaller = false;
  // The folder the tree showed when the dialog last closed, by OK or not (for this run only).
  String FLastFolder;
  bool FShowToolBar = false;
  bool FTreeShowLines = true;
  TCustomImageList* FTreeButtonImageList = nullptr;
  Integer FTreeButtonExpandImageIndex = 0;
  Integer FTreeButtonNoExpandImageIndex = 1;
};
