// A skinned combo box of office items: the closed control shows the selected item (title, image,
// caption) and a drop-down button; the open drop-down is a borderless top-level office list under
// (or, near the work area's bottom, above) the control.
#pragma once

#include "skin/boxes/combos/bscombobase.h"
#include "skin/boxes/combos/bsdropdowncommon.h"
#include "skin/boxes/edits/bscbbutton.h"
#include "skin/boxes/office/bsskinofficelistbox.h"

class TbsSkinCustomOfficeComboBox;

// The drop-down: a top-level office list that never takes the activation.
class TbsPopupOfficeListBox : public TbsDropDownWindow<TbsSkinOfficeListBox, TbsSkinCustomOfficeComboBox> {
 public:
  using TbsDropDownWindow::TbsDropDownWindow;
  String ClassName() const override { return "TbsPopupOfficeListBox"; }

 protected:
  // The list and its scroll bar, which was made while the list was hidden.
  void showingChanged() override { UpdateShowing(); }
  void fadeIn(TbsSkinCustomOfficeComboBox* Combo) override;
};

class TbsSkinCustomOfficeComboBox : public TbsComboBoxBase<TbsPopupOfficeListBox> {
 public:
  explicit TbsSkinCustomOfficeComboBox(TComponent* AOwner);
  String ClassName() const override { return "TbsSkinCustomOfficeComboBox"; }

  // ---- forwarded to the drop-down list ----
  TbsSkinOfficeItems* Items() const { return FListBox->Items(); }
  void SetItems(TbsSkinOfficeItems* Value) { FListBox->SetItems(Value); }
  void SetItemIndex(Integer Value);
  bool ListBoxHeaderLeftAlignment() const { return FListBox->HeaderLeftAlignment(); }
  void SetListBoxHeaderLeftAlignment(bool Value) { FListBox->SetHeaderLeftAlignment(Value); }
  void SetListBoxDefaultFont(TFont* Value) { FListBox->SetDefaultFont(Value); }
  bool ListBoxShowItemTitles() const { return FListBox->ShowItemTitles(); }
  void SetListBoxShowItemTitles(bool Value) { FListBox->SetShowItemTitles(Value); }
  const String& ListBoxSkinDataName() const { return FListBox->SkinDataName(); }
  void SetListBoxSkinDataName(const String& Value) { FListBox->SetSkinDataName(Value); }
  bool ListBoxShowLines() const { return FListBox->ShowLines(); }
  void SetListBoxShowLines(bool Value) { FListBox->SetShowLines(Value); }
  Integer ListBoxItemHeight() const { return FListBox->ItemHeight(); }
  void SetListBoxItemHeight(Integer Value) { FListBox->SetItemHeight(Value); }
  Integer ListBoxHeaderHeight() const { return FListBox->HeaderHeight(); }
  void SetListBoxHeaderHeight(Integer Value) { FListBox->SetHeaderHeight(Value); }
  void BeginUpdateItems() { FListBox->BeginUpdateItems(); }
  void EndUpdateItems() { FListBox->EndUpdateItems(); }

  // ---- own properties ----
  bool ShowItemTitle() const { return FShowItemTitle; }
  void SetShowItemTitle(bool Value);
  bool ShowItemImage() const { return FShowItemImage; }
  void SetShowItemImage(bool Value);
  bool ShowItemText() const { return FShowItemText; }
  void SetShowItemText(bool Value);
  void SetDropDownCount(Integer Value);
  void SetToolButtonStyle(bool Value);
  void SetDefaultColor(TColor Value);
  Integer ListBoxHeight() const { return FListBoxHeight; }
  void SetListBoxHeight(Integer Value) { FListBoxHeight = Value; }
  void SetHideSelection(bool Value) { FHideSelection = Value; }

  TbsDrawSkinOfficeItemEvent OnDrawItem;

  void Change() override;
  void DropDown() override;
  const TRect& ItemArea() const { return CBItem.R; }

  void ChangeSkinData() override;
  // Paints the control into C at (X, Y) with AText in place of the item.
  void PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText);

  // Set by the drop-down's fade: the press that opened the list no longer counts.
  using TbsComboBoxBase::FLBDown;

 protected:
  void Dispatch(TMessage& Message) override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void CMEnabledChanged(TMessage& Message) override;
  // Paints as the base does, and answers that the background is erased.
  void WMEraseBkgnd(TMessage& Message) override;

  // ---- where it differs from the skinned combo box ----
  // Every move over an open list tracks it, and the button hover follows as well.
  bool moveTracksList(Integer X, Integer Y) override;
  void stepByKey(TbsComboStep Step) override;
  void autoScroll(bool Up) override;
  void acceptPick(Integer) override { Repaint(); }
  // Only a close-up meant to accept fires OnCloseUp.
  bool closeUpNotifies(bool AcceptValue) const override { return AcceptValue; }
  void drawDefaultItemContents(TCanvas* C, Integer Index, const TRect& R, Integer W, Integer H) override;

  // Painting (in the paint source file).
  void drawItemContents(TCanvas* C, Integer Index, TRect R, bool WithTitle);
  void DrawResizeButton(TCanvas* C);
  void DrawSkinItem(TBitmap* Control);
  void DrawResizeSkinItem(TBitmap* Control);
  void DrawDefaultToolButton(TCanvas* C);
  void DrawSkinToolButton(TCanvas* C);
  void paintFrame(TBitmap* B, bool InnerFrame);

  bool FShowItemTitle = true;
  bool FShowItemImage = true;
  bool FShowItemText = true;
  Integer FListBoxHeight = 0;

 private:
  void TrackListBox(Integer X, Integer Y);
};

class TbsSkinOfficeComboBox : public TbsSkinCustomOfficeComboBox {
 public:
  using TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox;
  String ClassName() const override { return "TbsSkinOfficeComboBox"; }
};
