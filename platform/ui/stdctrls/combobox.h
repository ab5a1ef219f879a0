// TComboBox: a drop-down list (the only style callers use). The closed box shows the selected item;
// the keys move the selection (arrows, page keys, Home, End, a letter for the next item starting with
// it), Alt+Down or F4 opens the list, which floats over everything without taking the focus: the box
// keeps the keyboard and the mouse while the list is open.
#pragma once

#include <memory>

#include "platform/rtl/lists.h"
#include "platform/ui/core/customcontrol.h"

enum TComboBoxStyle { csDropDownList };

class TComboBox;

// The floating list of a combo box: rows of the box's items, the hot row marked in the accent.
class TComboListWindow : public TCustomControl {
 public:
  explicit TComboListWindow(TComboBox* Combo);
  String ClassName() const override { return "TComboListWindow"; }
  // The row under a point of the list's client area, -1 when none.
  Integer ItemAtPos(TPoint P);
  // Shows the list at Bounds (screen), on top, without activating it; hides it.
  void ShowAt(const TRect& Bounds);
  void HideList();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void Paint() override;
  bool TopLevelWindow() const override { return true; }

 private:
  TComboBox* FCombo;
};

class TComboBox : public TCustomControl {
 public:
  explicit TComboBox(TComponent* AOwner);
  ~TComboBox() override;
  String ClassName() const override { return "TComboBox"; }

  TComboBoxStyle Style() const { return csDropDownList; }
  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  Integer ItemIndex() const { return FItemIndex; }
  // -1 clears the selection; an index outside the items does too. Fires no event.
  void SetItemIndex(Integer Value);
  Integer ItemHeight() const { return FItemHeight; }
  void SetItemHeight(Integer Value) { FItemHeight = Value < 1 ? 1 : Value; }
  Integer DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer Value) { FDropDownCount = Value < 1 ? 1 : Value; }
  bool DroppedDown() const { return FDroppedDown; }
  // Opening needs a visible, enabled box.
  void SetDroppedDown(bool Value);

  // The list's hot row and first visible row while it is open.
  Integer ListIndex() const { return FListIndex; }
  Integer TopIndex() const { return FTopIndex; }
  TComboListWindow* ListWindow() const { return FList.get(); }

  // A selection made by the user: OnClick, then OnChange.
  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  friend class TComboListWindow;
  String GetText() const override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  virtual void Change();
  virtual void DropDown();
  virtual void CloseUp();

 private:
  void itemsChanged(TObject* Sender);
  // Selects Index as the user's choice (clamped to the items); events only when it changed.
  void selectByUser(Integer Index);
  void setListIndex(Integer Index);
  Integer visibleRows() const;
  // The list row under a point of the box's client area, -1 when the point is off the list.
  Integer listItemAt(Integer X, Integer Y);

  std::unique_ptr<TStringList> FItems;
  std::unique_ptr<TComboListWindow> FList;
  Integer FItemIndex = -1;
  Integer FItemHeight = 24;
  Integer FDropDownCount = 8;
  bool FDroppedDown = false;
  bool FPressed = false;    // the press that opened the list is still held
  Integer FListIndex = -1;  // the hot row while open
  Integer FTopIndex = 0;
};
