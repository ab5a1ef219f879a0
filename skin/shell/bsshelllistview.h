// The contents of one shell folder as a skinned list view in owner-data mode: the list keeps its own
// array of folder objects, tells the list control only their count and answers its item requests.
// Folders open by double-click or Enter, Backspace goes up, captions rename the items in place, a
// column click sorts, and with AutoRefresh the list follows changes on disk. A linked folder tree
// moves with it and moves it.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/classes.h"
#include "skin/controls/views/bsskinlistview.h"
#include "skin/shell/bsshellchangenotify.h"
#include "skin/shell/bsshellfolder.h"
#include "skin/shell/bsshelltreeview.h"

class TbsCustomShellComboBox;

class TbsCustomShellListView : public TbsSkinCustomListView, public IbsShellVerbHandler {
 public:
  explicit TbsCustomShellListView(TComponent* AOwner);
  ~TbsCustomShellListView() override;
  String ClassName() const override { return "TbsCustomShellListView"; }

  const TRoot& Root() const { return FRoot; }
  void SetRoot(const TRoot& Value);
  TbsShellFolder* RootFolder() const { return FRootFolder; }
  String Path() const { return FRootFolder ? FRootFolder->PathName() : String(); }
  // EInvalidPath "Error setting path: "%s"" for a name the shell cannot parse; the list keeps its folder.
  void SetPath(const String& Value);
  const String& Mask() const { return FMask; }
  void SetMask(const String& Value);
  TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
  void SetObjectTypes(TShellObjectTypes Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  bool AutoRefresh() const { return FAutoRefresh; }
  void SetAutoRefresh(bool Value);
  bool AutoNavigate() const { return FAutoNavigate; }
  void SetAutoNavigate(bool Value) { FAutoNavigate = Value; }
  bool AutoContextMenus() const { return FAutoContext; }
  void SetAutoContextMenus(bool Value) { FAutoContext = Value; }
  void SetViewStyle(TViewStyle Value);
  TbsCustomShellTreeView* ShellTreeView() const { return FTreeView; }
  void SetShellTreeView(TbsCustomShellTreeView* Value);
  TbsCustomShellComboBox* ShellComboBox() const { return FComboBox; }
  void SetShellComboBox(TbsCustomShellComboBox* Value);
  TbsCustomShellChangeNotifier* Notifier() const { return FNotifier.get(); }
  Integer SortColumn() const { return FSortColumn; }
  bool SortDescending() const { return FSortDirection; }

  TAddFolderEvent OnAddFolder;
  TNotifyEvent OnPathChanged;

  void Back();
  using TbsSkinCustomListView::Refresh;
  // Reads the folder again and selects the same index when it still exists.
  void Refresh();
  TbsShellFolder* SelectedFolder() const;
  String GetSelectedFile() const;
  void GetSelectedFiles(TStrings* AFiles) const;
  // Nil when the list is empty.
  TbsShellFolder* Folders(Integer Index) const;
  Integer FolderCount() const { return Integer(FFolders.size()); }
  void OpenFolderID(PCItemIDList ID);
  void FollowFolderID(PCItemIDList ID);
  void RenameSelected();
  virtual void EnumerateFolder();
  // Lists the folder again (its linked controls first), keeping the folder and its history.
  void RebuildListing();
  // The report view's columns, from the folder's details.
  void BuildReportColumns();
  // The keyboard search of the list: the first item from StartIndex on whose name begins with
  // FindString in any case, wrapping when asked; -1 when none.
  Integer FindItem(const String& FindString, Integer StartIndex, bool Wrap) const;

  void ExecuteCommand(const String& Verb, bool& Handled) override;
  void CommandCompleted(const String& Verb, bool Succeeded) override;

 protected:
  friend class TbsCustomShellTreeView;
  friend class TbsCustomShellComboBox;
  void Loaded() override;
  void CreateWindowCreated() override;
  void DestroyWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ColClick(TListColumn* Column) override;
  void DblClick() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  // OnEditing is only stored: every item may be edited.
  bool CanEdit(TListItem* Item) override;
  void Edit(TListItem* Item, String& S) override;
  // The list's keyboard search: FindItem for a partial or exact name search.
  Integer OwnerDataFind(TItemFind Find, const String& FindString, const TPoint& FindPosition, void* FindData,
                        Integer StartIndex, TSearchDirection Direction, bool Wrap) override;
  void Resize() override;
  void CMFontChanged(TMessage& Message) override;

 private:
  bool loadingState() const { return ComponentState().Contains(csLoading); }
  void fetchItem(TListItem* Item);
  bool maskAccepts(const TbsShellFolder* Folder) const;
  Integer CompareFolders(TbsShellFolder* A, TbsShellFolder* B) const;
  void sortFolders();
  void UpdateLinkedControls();
  void LoadRoot();
  void ClearFolders();
  // In the list view the names' column takes the longest name, but no more than the list is wide.
  void fitListColumn();

  struct TSortContext {
    bool Active = false;
    TbsShellFolder* Root = nullptr;
    Cardinal Handle = 0;
    Integer Column = -1;
    bool Descending = false;
  };
  TSortContext FSort;

  Integer FOldSortColumn = -1;
  Integer FSortColumn = -1;
  bool FSortDirection = false;
  bool FRootLoaded = false;
  TRoot FOldRoot;
  TRoot FRoot = "rfDesktop";
  TbsShellFolder* FRootFolder = nullptr;
  bool FAutoContext = true;
  bool FAutoRefresh = false;
  bool FAutoNavigate = true;
  bool FSorted = true;
  bool FUpdating = false;
  TShellObjectTypes FObjectTypes{otFolders, otNonFolders};
  std::vector<TbsShellFolder*> FFolders;
  TbsCustomShellTreeView* FTreeView = nullptr;
  TbsCustomShellComboBox* FComboBox = nullptr;
  std::unique_ptr<TbsShellChangeNotifier> FNotifier;
  bool FSettingRoot = false;
  String FSavePath;
  String FMask = "*.*|*.*";
  bool FDestroying = false;
  String FLongestName;  // of the listing
};

class TbsSkinFileListView : public TbsCustomShellListView {
 public:
  explicit TbsSkinFileListView(TComponent* AOwner) : TbsCustomShellListView(AOwner) {}
  String ClassName() const override { return "TbsSkinFileListView"; }
};
