// The shell namespace below a root folder as a skinned tree: one root node, children read from the
// shell only when a node is first expanded, the system's small icons, in-place renaming and, with
// AutoRefresh, the selected folder followed on disk. Each node's Data is its own TbsShellFolder,
// owned by the tree and freed with the node.
#pragma once

#include <functional>
#include <memory>

#include "skin/controls/views/bsskintreeview.h"
#include "skin/shell/bsshellchangenotify.h"
#include "skin/shell/bsshellfolder.h"

using TAddFolderEvent = std::function<void(TObject* Sender, TbsShellFolder* AFolder, bool& CanAdd)>;

class TbsCustomShellListView;
class TbsCustomShellComboBox;

class TbsCustomShellTreeView : public TbsSkinCustomTreeView, public IbsShellVerbHandler {
 public:
  explicit TbsCustomShellTreeView(TComponent* AOwner);
  ~TbsCustomShellTreeView() override;
  String ClassName() const override { return "TbsCustomShellTreeView"; }

  const TRoot& Root() const { return FRoot; }
  void SetRoot(const TRoot& Value);
  TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
  virtual void SetObjectTypes(TShellObjectTypes Value);
  bool AutoContextMenus() const { return FAutoContext; }
  void SetAutoContextMenus(bool Value) { FAutoContext = Value; }
  bool AutoRefresh() const { return FAutoRefresh; }
  void SetAutoRefresh(bool Value);
  bool UseShellImages() const { return FUseShellImages; }
  void SetUseShellImages(bool Value);
  // The caller's own image list; without one the tree shows the shell's small icons.
  TCustomImageList* Images() const { return FUserImages; }
  void SetImages(TCustomImageList* Value);
  TAddFolderEvent OnAddFolder;
  // The file list that shows the selected folder and moves the tree in turn (not owned).
  TbsCustomShellListView* ShellListView() const { return FListView; }
  void SetShellListView(TbsCustomShellListView* Value);
  // The path combo box that shows the selected folder and moves the tree in turn (not owned).
  TbsCustomShellComboBox* ShellComboBox() const { return FComboBox; }
  void SetShellComboBox(TbsCustomShellComboBox* Value);

  // The selected node's parsing name; setting it expands the way down to the folder and selects it
  // (EInvalidPath "Error setting path: "%s"" for a name the shell cannot parse).
  String Path() const;
  void SetPath(const String& Value);
  TbsShellFolder* SelectedFolder() const;
  TbsShellFolder* RootFolder() const { return FRootFolder; }
  TbsCustomShellChangeNotifier* Notifier() const { return FNotifier.get(); }

  void ExpandMyComputer();
  using TbsSkinCustomTreeView::Refresh;
  // Reads Node's subtree again, keeping what was expanded, the selection and the top row.
  void Refresh(TTreeNode* Node);
  void RefreshSelected();
  void SelectFolderID(PCItemIDList ID);
  void ReloadRoot();
  void LoadRootNode();
  virtual void ClearNodes();

  void ExecuteCommand(const String& Verb, bool& Handled) override;
  void CommandCompleted(const String& Verb, bool Succeeded) override;

 protected:
  friend class TbsCustomShellListView;
  friend class TbsCustomShellComboBox;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWindowCreated() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  void GetImageIndex(TTreeNode* Node) override;
  void GetSelectedIndex(TTreeNode* Node) override;
  bool CanChange(TTreeNode* Node) override;
  bool CanExpand(TTreeNode* Node) override;
  void Delete(TTreeNode* Node) override;
  void Edit(TTreeNode* Node, String& S) override;

 private:
  static TbsShellFolder* folderOf(const TTreeNode* Node);
  bool loadingState() const { return ComponentState().Contains(csLoading); }
  TCustomImageList* chosenImages() const;
  void applyImageList();
  void InitNode(TTreeNode* Node, PCItemIDList ID, TTreeNode* ParentNode);
  void FillNode(TTreeNode* Node);
  TTreeNode* FindNodeByID(PCItemIDList ID, TTreeNode* Start) const;

  String FPath;
  TRoot FRoot = "rfDesktop";
  TRoot FOldRoot;
  TbsShellFolder* FRootFolder = nullptr;
  TShellObjectTypes FObjectTypes{otFolders};
  bool FLoadingRoot = false;
  bool FAutoContext = true;
  bool FUpdating = false;
  bool FAutoRefresh = false;
  bool FImageListChanging = false;
  bool FUseShellImages = true;
  std::unique_ptr<TbsShellChangeNotifier> FNotifier;
  String FSavePath;
  TTreeNode* FNodeToMonitor = nullptr;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FUserImages = nullptr;
  TbsCustomShellListView* FListView = nullptr;
  TbsCustomShellComboBox* FComboBox = nullptr;
};

class TbsSkinDirTreeView : public TbsCustomShellTreeView {
 public:
  explicit TbsSkinDirTreeView(TComponent* AOwner) : TbsCustomShellTreeView(AOwner) {}
  String ClassName() const override { return "TbsSkinDirTreeView"; }
};
