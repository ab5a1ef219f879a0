// The "look in" box of the file dialogs: a skinned combo box whose drop-down shows the shell
// namespace as an indented outline (the root, its children, the file system root's folders when the
// root is the desktop, and the chain of folders down to the one shown), each with its small system
// icon. Picking an entry moves a linked file list and folder tree there; when they move, the box
// follows. The entries live in ItemsEx; the base's Items are a copy of their captions.
#pragma once

#include "platform/rtl/collection.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/shell/bsshellfolder.h"

class TbsCustomShellTreeView;
class TbsCustomShellListView;

// One entry of the outline. Data belongs to the combo box that shows the entry.
class TbsItemEx : public TCollectionItem {
 public:
  explicit TbsItemEx(TCollection* Collection) : TCollectionItem(Collection) {}
  String ClassName() const override { return "TbsItemEx"; }
  // Copies the numbers and caption; the folder becomes a folder object of this entry's own.
  void Assign(TPersistent* Source) override;

  String Caption;
  TbsShellFolder* Data = nullptr;
  Integer Indent = 0;
  Integer ImageIndex = 0;
  Integer SelectedImageIndex = 0;
};

class TbsItemsEx : public TCollection {
 public:
  TbsItemsEx() : TCollection(CollectionItemClass<TbsItemEx>()) {}
  String ClassName() const override { return "TbsItemsEx"; }
  TbsItemEx* Add() { return static_cast<TbsItemEx*>(TCollection::Add()); }
  TbsItemEx* Insert(Integer Index) { return static_cast<TbsItemEx*>(TCollection::Insert(Index)); }
  TbsItemEx* AddItem(const String& ACaption, Integer AImageIndex, Integer ASelectedIndex, Integer AIdent,
                     TbsShellFolder* AFolder);
  TbsItemEx* Items(Integer Index) const { return static_cast<TbsItemEx*>(TCollection::Items(Index)); }
};

class TbsCustomShellComboBox : public TbsSkinCustomComboBox {
 public:
  explicit TbsCustomShellComboBox(TComponent* AOwner);
  ~TbsCustomShellComboBox() override;
  String ClassName() const override { return "TbsCustomShellComboBox"; }

  TbsItemsEx* ItemsEx() const { return FItemsEx; }
  // The entries of Value are copied in (each with a folder object of its own).
  void SetItemsEx(TbsItemsEx* Value);
  const TRoot& Root() const { return FRoot; }
  // "Error setting path: "%s"" when the root cannot be resolved; Root then keeps its old text.
  void SetRoot(const TRoot& Value);
  TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
  TbsCustomShellTreeView* ShellTreeView() const { return FTreeView; }
  void SetShellTreeView(TbsCustomShellTreeView* Value);
  TbsCustomShellListView* ShellListView() const { return FListView; }
  void SetShellListView(TbsCustomShellListView* Value);
  bool UseShellImages() const { return FUseShellImages; }
  void SetUseShellImages(bool Value);
  TbsShellFolder* RootFolder() const { return FRootFolder; }
  Integer ImageWidth() const { return FImageWidth; }
  Integer ImageHeight() const { return FImageHeight; }

  // The selected entry's folder path; empty without selection.
  String Path() const;
  // EInvalidPath "Error setting path: "%s"" for a name the shell cannot parse; the entries stay.
  void SetPath(const String& Value);
  // The folder object of entry Index (the last entry's beyond the end); nil without entries.
  TbsShellFolder* Folders(Integer Index) const;

  // Called by the linked controls and the dialogs when they move to ID.
  void FollowFolderID(PCItemIDList ID);
  void ReloadRoot();
  // The highest entry index showing ID; -1 when none.
  Integer IndexOfFolderID(PCItemIDList ID) const;
  Integer FolderImageIndex(TbsShellFolder* Folder) const;
  void SyncItems();
  void ClearFolderItems();
  // Rebuilds the outline and adds the chain of folders down to ID, selecting ID.
  void ShowFolderID(PCItemIDList ID);
  void LoadRootItems();

  void Change() override;

  virtual void InitItems();
  virtual void SetObjectTypes(TShellObjectTypes Value);

 protected:
  friend class TbsCustomShellTreeView;
  friend class TbsCustomShellListView;

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWindowCreated() override;
  void DestroyWnd() override;

  void AddChildItems(Integer AIndex, TbsShellFolder* AFolder);
  void DrawComboItem(TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight, TRect TxtRect,
                     TOwnerDrawState State);
  void DrawListItem(TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight, TRect TxtRect,
                    TOwnerDrawState State);
  // Image and text of entry Index, both moved Shift pixels right.
  void drawEntry(TCanvas* Cnvs, Integer Index, TRect TxtRect, Integer Shift);

  TbsItemsEx* FItemsEx = nullptr;
  TCustomImageList* FImages = nullptr;  // the small system image list (not owned)
  Integer FImageHeight = 16;
  Integer FImageWidth = 16;
  TCustomImageList* FImageList = nullptr;  // owned; sizes the images in place of the system list's
  TRoot FOldRoot;
  TRoot FRoot = "rfDesktop";
  TbsShellFolder* FRootFolder = nullptr;
  TbsCustomShellTreeView* FTreeView = nullptr;
  TbsCustomShellListView* FListView = nullptr;
  TShellObjectTypes FObjectTypes{otFolders};
  bool FUseShellImages = true;
  bool FUpdating = false;
  bool FRootChanging = false;  // Root has a new text: a failure gives it the old one back

 private:
  void insertFolderItem(Integer Index, TbsShellFolder* Folder, bool WithSelectedImage);
};

// The path combo box with its properties published.
class TbsSkinShellComboBox : public TbsCustomShellComboBox {
 public:
  using TbsCustomShellComboBox::TbsCustomShellComboBox;
  String ClassName() const override { return "TbsSkinShellComboBox"; }
};
