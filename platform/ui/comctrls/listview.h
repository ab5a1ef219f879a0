// TCustomListView / TListView: items with captions, sub-items, images and state, shown in report
// (columns under a header window), list, small-icon or icon view. Selection, focus, keyboard and
// mouse handling, scrolling through the window's scroll-info state, sorting, owner data and the
// custom-draw hooks behave as the class library's list view does. The column header is a real child
// window of class "SysHeader32" (header.h), created in report view, so an owner can subclass it.
//
// Indexes are 0-based; an index out of range raises EListError "List index out of bounds (%d)".
// Painting lives in listview_paint.cpp.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/collection.h"
#include "platform/rtl/lists.h"
#include "platform/ui/comctrls/header.h"
#include "platform/ui/comctrls/typeahead.h"
#include "platform/ui/core/customcontrol.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/stdctrls/textalign.h"

class TCustomListView;
class TListItems;

// ---- messages the list view answers (the platform's numbers) ----
constexpr UINT LVM_FIRST = 0x1000;
constexpr UINT LVM_GETIMAGELIST = LVM_FIRST + 2;
constexpr UINT LVM_SETIMAGELIST = LVM_FIRST + 3;
constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
constexpr UINT LVM_DELETEITEM = LVM_FIRST + 8;
constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;
constexpr UINT LVM_GETITEMRECT = LVM_FIRST + 14;
constexpr UINT LVM_HITTEST = LVM_FIRST + 18;
constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
constexpr UINT LVM_SCROLL = LVM_FIRST + 20;
constexpr UINT LVM_REDRAWITEMS = LVM_FIRST + 21;
constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
constexpr UINT LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;
constexpr UINT LVM_GETHEADER = LVM_FIRST + 31;
constexpr UINT LVM_GETTOPINDEX = LVM_FIRST + 39;
constexpr UINT LVM_GETCOUNTPERPAGE = LVM_FIRST + 40;
constexpr UINT LVM_SETITEMSTATE = LVM_FIRST + 43;
constexpr UINT LVM_GETITEMSTATE = LVM_FIRST + 44;
constexpr UINT LVM_SETITEMCOUNT = LVM_FIRST + 47;
constexpr UINT LVM_GETSELECTEDCOUNT = LVM_FIRST + 50;
constexpr UINT LVM_EDITLABEL = LVM_FIRST + 118;
constexpr UINT LVM_CANCELEDITLABEL = LVM_FIRST + 179;

constexpr WPARAM LVSIL_NORMAL = 0;
constexpr WPARAM LVSIL_SMALL = 1;
constexpr WPARAM LVSIL_STATE = 2;
constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVNI_ALL = 0x0000;
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;
constexpr Integer LVIR_BOUNDS = 0;
constexpr Integer LVIR_ICON = 1;
constexpr Integer LVIR_LABEL = 2;
constexpr Integer LVIR_SELECTBOUNDS = 3;
constexpr UINT LVHT_NOWHERE = 0x0001;
constexpr UINT LVHT_ONITEMICON = 0x0002;
constexpr UINT LVHT_ONITEMLABEL = 0x0004;
constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL;

struct LVHITTESTINFO {
  POINT pt;
  UINT flags = 0;
  Integer iItem = -1;
  Integer iSubItem = 0;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };
enum TItemChange { ctText, ctImage, ctState };
enum TSortType { stNone, stData, stText, stBoth };
// What a find request looks for, and in which direction from its start (the near-position search).
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
enum TCustomDrawStateItem {
  cdsSelected,
  cdsGrayed,
  cdsDisabled,
  cdsChecked,
  cdsFocused,
  cdsDefault,
  cdsHot,
  cdsMarked,
  cdsIndeterminate
};
using TCustomDrawState = TSet<TCustomDrawStateItem>;

// Icon view options; captions wrap onto a second line when WrapText is on.
struct TIconOptions {
  bool WrapText = true;
};

// ---- columns ----
class TListColumn : public TCollectionItem {
 public:
  explicit TListColumn(TCollection* Collection);
  String ClassName() const override { return "TListColumn"; }
  void Assign(TPersistent* Source) override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  // Kept within MinWidth and MaxWidth (each 0 = no limit).
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value);
  Integer MinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer Value);
  Integer MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(Integer Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Integer Tag = 0;

 protected:
  String GetDisplayName() override { return FCaption.empty() ? ClassName() : FCaption; }

 private:
  friend class TCustomListView;
  TCustomListView* listView() const;
  Integer clampWidth(Integer Value) const;
  void pushToHeader(UINT Mask);

  String FCaption;
  Integer FWidth = 50;
  Integer FMinWidth = 0;
  Integer FMaxWidth = 0;
  TAlignment FAlignment = taLeftJustify;
  Integer FImageIndex = -1;
};

class TListColumns : public TCollection {
 public:
  explicit TListColumns(TCustomListView* AOwner);
  String ClassName() const override { return "TListColumns"; }
  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* Items(Integer Index) const { return static_cast<TListColumn*>(TCollection::Items(Index)); }
  TListColumn* operator[](Integer Index) const { return Items(Index); }
  TCustomListView* Owner() const { return FOwner; }

 protected:
  TPersistent* GetOwner() override;
  void Update(TCollectionItem* Item) override;

 private:
  TCustomListView* FOwner;
};

// ---- items ----
class TListItem : public TPersistent {
 public:
  explicit TListItem(TListItems* AOwner);
  ~TListItem() override;
  String ClassName() const override { return "TListItem"; }
  void Assign(TPersistent* Source) override;

  TListItems* Owner() const { return FOwner; }
  TCustomListView* ListView() const;
  Integer Index() const { return FIndex; }

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  TStrings* SubItems() const { return FSubItems.get(); }
  void SetSubItems(TStrings* Value) { FSubItems->Assign(Value); }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Integer SubItemImages(Integer Index) const;
  void SetSubItemImages(Integer Index, Integer Value);
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  bool Selected() const;
  void SetSelected(bool Value);
  bool Focused() const;
  void SetFocused(bool Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);

  // Client-coordinate rectangles of the item as it is laid out now (it may be scrolled out of view).
  TRect DisplayRect(TDisplayCode Code) const;
  Integer Top() const { return DisplayRect(drBounds).Top; }
  Integer Left() const { return DisplayRect(drBounds).Left; }
  bool MakeVisible(bool PartialOK);
  void Update();
  void Delete();
  // Starts the in-place editing of the caption (see TCustomListView::LabelEditorFactory).
  bool EditCaption();
  void CancelEdit();

 private:
  friend class TListItems;
  friend class TCustomListView;
  void subItemsChanged();

  TListItems* FOwner;
  Integer FIndex = -1;
  String FCaption;
  std::unique_ptr<TStringList> FSubItems;
  std::vector<Integer> FSubItemImages;
  Integer FImageIndex = -1;
  void* FData = nullptr;
  bool FChecked = false;
  bool FFilling = false;  // OnData is filling the item: no change notifications
};

class TListItems : public TPersistent {
 public:
  explicit TListItems(TCustomListView* AOwner);
  ~TListItems() override;
  String ClassName() const override { return "TListItems"; }
  void Assign(TPersistent* Source) override;

  TCustomListView* Owner() const { return FOwner; }
  TListItem* Add();
  TListItem* Insert(Integer Index);
  TListItem* AddItem(TListItem* Item, Integer Index = -1);
  void Delete(Integer Index);
  void Clear();
  // While updating the list neither repaints nor recomputes its scroll state; EndUpdate does both.
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }
  Integer Count() const;
  // Owner data only: the number of virtual items (EInvalidOperation for a list that holds its items,
  // whose count follows them).
  void SetCount(Integer Value);
  // With owner data a scratch item filled by OnData (valid until the next call).
  TListItem* Item(Integer Index) const;
  TListItem* operator[](Integer Index) const { return Item(Index); }
  Integer IndexOf(const TListItem* Value) const;

 private:
  friend class TCustomListView;
  friend class TListItem;
  void checkIndex(Integer Index) const;
  void renumberFrom(Integer Index);
  void removeStatesAt(Integer Index);

  TCustomListView* FOwner;
  std::vector<std::unique_ptr<TListItem>> FItems;
  // Per-item state kept by index for owner data and stored items alike: LVIS_SELECTED | LVIS_FOCUSED.
  std::vector<Byte> FStates;
  Integer FVirtualCount = 0;
  std::unique_ptr<TListItem> FScratch;
  mutable Integer FScratchIndex = -1;
  Integer FUpdateCount = 0;
};

// ---- events ----
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVCompareEvent =
    std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2, Integer Data, Integer& Compare)>;
using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;
// Index is -1 on entry; the handler sets the found item's index.
using TLVOwnerDataFindEvent = std::function<void(
    TObject* Sender, TItemFind Find, const String& FindString, const TPoint& FindPosition, void* FindData,
    Integer StartIndex, TSearchDirection Direction, bool Wrap, Integer& Index)>;
using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVDeletedEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVCustomDrawEvent =
    std::function<void(TCustomListView* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TLVCustomDrawItemEvent =
    std::function<void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)>;
using TLVCustomDrawSubItemEvent = std::function<void(
    TCustomListView* Sender, TListItem* Item, Integer SubItem, TCustomDrawState State, bool& DefaultDraw)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, String& S)>;
using TLVCompareFunc = std::function<Integer(TListItem* Item1, TListItem* Item2, Integer Data)>;

// An in-place editor for captions: Start shows it over Bounds (list view client coordinates) with
// Text; the editor calls Finish(Accept, NewText) once when the user is done. Cancel ends it without
// calling Finish. Made by TCustomListView::LabelEditorFactory.
class ILabelEditor {
 public:
  virtual ~ILabelEditor() = default;
  virtual void Start(TCustomListView* Owner, const TRect& Bounds, const String& Text,
                     std::function<void(bool Accept, const String& NewText)> Finish) = 0;
  virtual void Cancel() = 0;
};

class TCustomListView : public TCustomControl {
 public:
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;
  String ClassName() const override { return "TCustomListView"; }

  // ---- contents ----
  TListColumns* Columns() const { return FColumns.get(); }
  TListColumn* Column(Integer Index) const { return FColumns->Items(Index); }
  TListItems* Items() const { return FItems.get(); }

  // ---- look and behaviour ----
  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle Value);
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool Value);
  bool GridLines() const { return FGridLines; }
  void SetGridLines(bool Value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool ShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool Value);
  bool ColumnClick() const { return FColumnClick; }
  void SetColumnClick(bool Value);
  bool Checkboxes() const { return FCheckboxes; }
  void SetCheckboxes(bool Value);
  // The user may move columns by dragging their headings (the display order is the header's).
  bool FullDrag() const { return FFullDrag; }
  void SetFullDrag(bool Value);
  bool OwnerData() const { return FOwnerData; }
  void SetOwnerData(bool Value);
  TSortType SortType() const { return FSortType; }
  void SetSortType(TSortType Value);
  TCustomImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* Value);
  TCustomImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);
  TIconOptions& IconOptions() { return FIconOptions; }
  bool BorderVisible() const { return FBorderVisible; }
  void SetBorderVisible(bool Value);

  // ---- selection and focus ----
  // The first selected item (nullptr for none); setting selects only Value (nullptr clears).
  TListItem* Selected() const;
  void SetSelected(TListItem* Value);
  Integer SelCount() const { return FSelCount; }
  // The index of the first selected item, -1 for none; setting -1 clears the selection.
  Integer ItemIndex() const;
  void SetItemIndex(Integer Value);
  TListItem* ItemFocused() const;
  void SetItemFocused(TListItem* Value);
  void ClearSelection();
  void SelectAll();
  // The next item after Start (-1: from the beginning) with all the given LVNI_ state bits.
  TListItem* GetNextItem(TListItem* StartItem, UINT States) const;

  // ---- geometry and scrolling ----
  TListItem* TopItem() const;
  Integer TopIndex() const;
  // Whole rows (report, list) or items (icon views) that fit in the client area.
  Integer VisibleRowCount() const;
  // Scrolls by pixels: report view rounds DY to whole rows.
  void Scroll(Integer DX, Integer DY);
  Integer ItemHeight() const;
  TListItem* GetItemAt(Integer X, Integer Y) const;
  // The item index under a client point and, in report view, the column (-1 outside items).
  Integer HitTest(TPoint P, Integer* Column = nullptr) const;
  HWND HeaderHandle() const { return FHeader; }
  // Height of the header (0 when it is hidden or outside report view).
  Integer HeaderHeight() const;
  // Total width of the columns.
  Integer ColumnsWidth() const;
  // Column indexes in display order (the header's order), and a column's left edge in a row.
  std::vector<Integer> ColumnOrder() const;
  Integer ColumnLeft(Integer Index) const;
  Integer HorzScrollPos() const { return FScrollX; }

  // ---- finding ----
  // The first item from StartIndex (from the one after it unless Inclusive) whose caption begins
  // with Value (Partial) or equals it, in any case, going on at the top when Wrap; nullptr when none.
  // An owner-data list is asked through OwnerDataFind.
  TListItem* FindCaption(Integer StartIndex, const String& Value, bool Partial, bool Inclusive, bool Wrap);
  // Typed characters select the next item whose caption begins with them; a pause this long
  // starts a new prefix.
  static constexpr Cardinal IncrementalSearchPause = TTypeAheadSearch::Pause;

  // ---- sorting ----
  // Sorts by OnCompare, or by caption (CompareText) without it. False for owner data.
  bool AlphaSort();
  bool CustomSort(const TLVCompareFunc& SortProc, Integer Data);

  // ---- label editing ----
  // The in-place editor: an edit over the label by default; none means captions cannot be edited
  // in place.
  static std::function<std::unique_ptr<ILabelEditor>()> LabelEditorFactory;
  bool IsEditing() const { return FEditor != nullptr; }

  // ---- events ----
  TLVSelectItemEvent OnSelectItem;
  TLVColumnClickEvent OnColumnClick;
  TLVCompareEvent OnCompare;
  TLVOwnerDataEvent OnData;
  TLVOwnerDataFindEvent OnDataFind;
  TLVChangeEvent OnChange;
  TLVDeletedEvent OnDeletion;
  TLVDeletedEvent OnInsert;
  TLVCustomDrawEvent OnCustomDraw;
  TLVCustomDrawItemEvent OnCustomDrawItem;
  TLVCustomDrawSubItemEvent OnCustomDrawSubItem;
  TLVEditingEvent OnEditing;
  TLVEditedEvent OnEdited;

 protected:
  friend class TListItem;
  friend class TListItems;
  friend class TListColumn;
  friend class TListColumns;

  void CreateParams(TCreateParams& Params) override;
  void CreateWindowCreated() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void CMFontChanged(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  // After a change of an item's text, image or state.
  virtual void Change(TListItem* Item, TItemChange AChange);
  virtual void ColClick(TListColumn* Column);
  virtual bool CanEdit(TListItem* Item);
  virtual void Edit(TListItem* Item, String& S);
  virtual void DoSelectItem(TListItem* Item, bool Selected);
  // The owner-data find request: OnDataFind's answer, -1 without one.
  virtual Integer OwnerDataFind(TItemFind Find, const String& FindString, const TPoint& FindPosition,
                                void* FindData, Integer StartIndex, TSearchDirection Direction, bool Wrap);
  // Drawing steps (listview_paint.cpp); the hooks run in them.
  virtual bool CustomDraw(const TRect& ARect);
  virtual bool CustomDrawItem(TListItem* Item, TCustomDrawState State);
  virtual bool CustomDrawSubItem(TListItem* Item, Integer SubItem, TCustomDrawState State);
  void DrawItemDefault(TListItem* Item, Integer Index, TCustomDrawState State);

 private:
  // ---- state changes ----
  void setItemState(Integer Index, Byte Mask, Byte Value);
  void selectOnly(Integer Index);
  void selectRange(Integer From, Integer To, bool Keep);
  void setFocusIndex(Integer Index);
  void itemsInserted(Integer Index);
  void itemsDeleted(Integer Index);
  void itemsCleared();
  void itemChanged(TListItem* Item, TItemChange AChange);
  void columnsChanged();
  void columnWidthChanged(TListColumn* Column);
  // The width that shows a report column's widest cell and its heading whole (listview_paint.cpp);
  // an owner-data list measures the rows on screen only.
  Integer fittingColumnWidth(Integer Index);
  void updateCount();
  // ---- geometry ----
  TRect itemBounds(Integer Index) const;
  TRect itemRect(Integer Index, TDisplayCode Code) const;
  Integer rowsPerColumn() const;  // list view: items per column
  Integer iconCellsPerRow() const;
  TSize iconCell() const;
  TRect viewArea() const;  // client area below the header
  Integer maxTopIndex() const;
  void setTopIndex(Integer Value);
  void setScrollX(Integer Value);
  void updateScrollInfo();
  void layoutHeader();
  void createHeader();
  void destroyHeader();
  void syncHeaderColumns();
  void invalidateItem(Integer Index);
  void scrollMessage(bool Vertical, Word Code);
  bool listViewMessage(TMessage& Message);
  void headerNotify(TMessage& Message);
  void moveFocus(Integer Index, TShiftState Shift);
  Integer findCaptionIndex(Integer Start, const String& Value, bool Partial, bool Wrap);
  void incrementalSearch(char32_t Key);
  Integer indexOfItem(const TListItem* Item) const;
  void startLabelEdit(Integer Index);
  void finishLabelEdit(Integer Index, bool Accept, const String& Text);
  void cancelLabelEdit();
  TListItem* itemAt(Integer Index) const { return FItems->Item(Index); }
  // Painting (listview_paint.cpp).
  void paintReportItem(Integer Index, TListItem* Item, TCustomDrawState State, const TRect& Bounds);
  void paintIconItem(Integer Index, TListItem* Item, TCustomDrawState State);
  void paintGridLines(const TRect& View);
  TCustomDrawState stateFor(Integer Index) const;

  std::unique_ptr<TListColumns> FColumns;
  std::unique_ptr<TListItems> FItems;
  TViewStyle FViewStyle = vsIcon;
  bool FRowSelect = false;
  bool FGridLines = false;
  bool FMultiSelect = false;
  bool FReadOnly = false;
  bool FHotTrack = false;
  bool FHideSelection = true;
  bool FShowColumnHeaders = true;
  bool FColumnClick = true;
  bool FCheckboxes = false;
  bool FFullDrag = false;
  bool FOwnerData = false;
  bool FBorderVisible = true;
  TSortType FSortType = stNone;
  TIconOptions FIconOptions;
  TCustomImageList* FSmallImages = nullptr;
  TCustomImageList* FLargeImages = nullptr;
  HWND FHeader = nullptr;
  bool FSyncingHeader = false;
  Integer FTopIndex = 0;  // report and list views: first row / column shown; icon views: pixel offset
  Integer FScrollX = 0;   // report: pixels; list: columns; icon views: pixels
  Integer FFocusIndex = -1;
  Integer FAnchorIndex = -1;
  Integer FHotIndex = -1;
  Integer FSelCount = 0;
  Integer FListColumnWidth = 120;
  mutable Integer FItemHeight = 0;  // 0: measure again
  std::unique_ptr<ILabelEditor> FEditor;
  Integer FEditIndex = -1;
  TTypeAheadSearch FTypeAhead;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TListView : public TCustomListView {
 public:
  explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}
  String ClassName() const override { return "TListView"; }
};
