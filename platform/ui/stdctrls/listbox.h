// TCustomListBox and TListBox: the platform list box. The window's default handling (DefaultHandler)
// is the platform list itself, answering the LB_* messages with the platform's values and rules, so
// that a descendant's WndProc sees every message first.
//
// What the platform list does, as a person expects it from a desktop list:
// - Items are strings with a pointer-sized value each (Items->Objects); a sorted list keeps them in
//   case-insensitive order as they come. An index out of range answers LB_ERR to a message and
//   raises EListError ("List index out of bounds (%d)") through Items.
// - One selection (ItemIndex), or with MultiSelect any number: a click toggles an item, Space toggles
//   the focused one. With ExtendedSelect too (the default), a click selects one item, Shift+click the
//   range from the anchor, Ctrl+click toggles, and the arrows move the selection (Shift: extend).
// - Keys: Up/Down one item, Page Up/Down a page (the visible rows less one), Home/End the ends;
//   typed characters find the next item that starts with them (the search goes on from the
//   current item and wraps; characters typed within a second of each other make one prefix).
// - The wheel scrolls three rows a notch; TopIndex is the first visible item; the vertical scroll
//   state (SB_VERT) is range 0 .. count - 1, page = the rows that fit, position = TopIndex; a
//   multi-column list scrolls sideways by columns instead (SB_HORZ).
// - A user's change of the selection notifies the parent (LBN_SELCHANGE, reflected back as
//   OnClick); a double-click sends LBN_DBLCLK (OnDblClick).
// - Owner drawing: lbOwnerDrawFixed items all have ItemHeight; lbOwnerDrawVariable items ask
//   MeasureItem (OnMeasureItem) for theirs when they are added. Every item is painted through
//   WM_DRAWITEM to the parent, which the class library reflects as CN_DRAWITEM to DrawItem
//   (OnDrawItem, or the standard look). Standard items are painted by the list itself.
// - ItemAtPos (client point; Existing: -1 below the last item, else Count) and ItemRect (the item's
//   rectangle; the slot after the last one for Count; empty beyond).
// - Tab stops (LBS_USETABSTOPS): a tab in an item's text moves what follows to the next stop, counted
//   from the start of the item's text. LB_SETTABSTOPS sets the stops in dialog units (a quarter of
//   the font's average character width): none (count 0) every 32 units, that is 8 average
//   characters; one: every that many units; more: those stops (in rising order), and past the last
//   one the 8-character grid. It answers FALSE, changing nothing, for a list without the style or
//   a count without stops. Without the style a tab is drawn as a blank. TabWidth (0 by default:
//   no tab stops) gives a list the style and stops every TabWidth dialog units; the class library's
//   own drawing of owner-drawn items without OnDrawItem honours the same stops.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/lists.h"
#include "platform/rtl/tset.h"
#include "platform/ui/core/customcontrol.h"

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TOwnerDrawStateItem {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  odHotLight,
  odInactive,
  odNoAccel,
  odNoFocusRect,
  odReserved1,
  odReserved2,
  odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
using TDrawItemEvent =
    std::function<void(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, Integer Index, Integer& Height)>;

class TCustomListBox;

// The items of a list box as TStrings: every call is a message to the list.
class TListBoxStrings : public TStrings {
 public:
  explicit TListBoxStrings(TCustomListBox* ListBox) : FListBox(ListBox) {}
  String ClassName() const override { return "TListBoxStrings"; }
  Integer Add(const String& S) override;
  void Clear() override;
  void Delete(Integer Index) override;
  void Insert(Integer Index, const String& S) override;
  Integer IndexOf(const String& S) override;

 protected:
  String Get(Integer Index) override;
  Integer GetCount() override;
  TObject* GetObject(Integer Index) override;
  void Put(Integer Index, const String& S) override;
  void PutObject(Integer Index, TObject* AObject) override;
  void SetUpdateState(bool Updating) override;

 private:
  void checkIndex(Integer Index);
  TCustomListBox* FListBox;
};

class TCustomListBox : public TWinControl {
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  String ClassName() const override { return "TCustomListBox"; }

  TStrings* Items() const { return FItemsStrings.get(); }
  void SetItems(TStrings* Value) { FItemsStrings->Assign(Value); }
  // The selected item (single selection) or the focused one (multi-selection); -1 for none.
  // Setting it by code fires no event.
  Integer ItemIndex();
  void SetItemIndex(Integer Value);
  Integer Count() { return FItemsStrings->Count(); }
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  Integer ItemHeight();
  void SetItemHeight(Integer Value);
  Integer TabWidth() const { return FTabWidth; }
  // Recreates the window: the style goes with the value.
  void SetTabWidth(Integer Value);
  Integer Columns() const { return FColumns; }
  void SetColumns(Integer Value);
  Integer TopIndex();
  void SetTopIndex(Integer Value);
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  Integer SelCount();
  bool Selected(Integer Index);
  void SetSelected(Integer Index, bool Value);
  void ClearSelection();
  void SelectAll();
  void DeleteSelected();
  void Clear();

  Integer ItemAtPos(TPoint Pos, bool Existing);
  TRect ItemRect(Integer Index);
  TCanvas* Canvas() const { return FCanvas.get(); }

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  friend class TListBoxStrings;
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowCreated() override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  virtual void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(Integer Index, Integer& Height);
  DWORD ListStyle() const;

 private:
  struct TItem {
    String Text;
    ULONG_PTR Data = 0;
    bool Selected = false;
    Integer Height = 0;  // variable-height items
  };

  // ---- the platform list (listbox.cpp) ----
  bool handleListMessage(TMessage& Message);  // the items
  bool handleSelectionMessage(TMessage& Message);
  bool handleWindowMessage(TMessage& Message);  // input, painting, scrolling
  LRESULT insertItem(Integer Index, const String& Text);
  LRESULT deleteItem(Integer Index);
  LRESULT findString(Integer After, const char* Text, bool Exact) const;
  void measure(Integer Index);
  void keyDown(Word Key);
  void charTyped(char32_t C);
  void mouseDown(TPoint P, bool Shift, bool Ctrl, bool Double);
  void mouseMove(TPoint P);
  void mouseUp();
  // Moves the focus to Index: selects it (single or extended), extends from the anchor, or only
  // moves (multiple selection); brings it into view; notifies when the selection changed.
  void moveFocus(Integer Index, bool Extend, bool Toggle, bool Notify);
  void selectRange(Integer From, Integer To, bool Exclusive);
  void notify(Word Code);
  void scrollTo(Integer Top);
  void ensureVisible(Integer Index);
  void updateScroll();
  void invalidateList();
  bool multi() const { return (ListStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
  bool extended() const { return (ListStyle() & LBS_EXTENDEDSEL) != 0; }

  // ---- layout and painting ----
  Integer rowHeight(Integer Index);
  Integer rowsPerColumn();
  Integer visibleRows();  // rows that fit fully, at least 1
  Integer lastTopIndex();
  bool itemRect(Integer Index, TRect& R);
  void paintList(HDC DC);
  void paintItem(HDC DC, Integer Index, const TRect& R);
  // An item's text at R.Left (vertically centred in R), its tabs at the stops when the list has them.
  void drawItemText(HDC DC, const String& Text, const TRect& R);
  HBRUSH ctlColor(HDC DC);

  std::vector<TItem> FItems;
  std::unique_ptr<TListBoxStrings> FItemsStrings;
  std::unique_ptr<TControlCanvas> FCanvas;
  Integer FCurSel = -1;  // single selection
  Integer FCaret = -1;   // the focused item
  Integer FAnchor = -1;  // where an extended selection starts
  Integer FTop = 0;
  Integer FItemHeight = 16;
  Integer FColumns = 0;
  Integer FTabWidth = 0;
  std::vector<Integer> FTabStops;  // dialog units, as LB_SETTABSTOPS gave them
  Integer FColumnWidth = 0;
  Integer FHorizontalExtent = 0;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  bool FSorted = false;
  bool FAutoComplete = true;
  bool FTracking = false;
  bool FTrackChanged = false;
  bool FNoRedraw = false;
  TListBoxStyle FStyle = lbStandard;
  DWORD FWindowStyle = 0;
  String FSearch;  // the typed prefix
  Cardinal FSearchTime = 0;
  HBRUSH FBrush = nullptr;
};

class TListBox : public TCustomListBox {
 public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
  String ClassName() const override { return "TListBox"; }
};
