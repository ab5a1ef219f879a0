// The skinned combo box: a closed control that shows the selected item and a drop-down button, and a
// drop-down list (a skinned list box in a top-level pop-up that never activates) below or, near the
// work area's bottom, above it. The combo keeps the focus and drives the list while it is open.
#pragma once

#include "skin/boxes/combos/bscombobase.h"
#include "skin/boxes/combos/bsdropdowncommon.h"
#include "skin/boxes/edits/bscbbutton.h"
#include "skin/boxes/edits/bscustomedit.h"
#include "skin/boxes/lists/bsskinlistbox.h"

class TbsSkinCustomComboBox;

enum TbsSkinCustomComboBoxStyle { bscbEditStyle, bscbFixedStyle };

// The drop-down window.
class TbsPopupListBox : public TbsDropDownWindow<TbsSkinListBox, TbsSkinCustomComboBox> {
 public:
  using TbsDropDownWindow::TbsDropDownWindow;
  String ClassName() const override { return "TbsPopupListBox"; }

 protected:
  // Shows by itself, owned by the combo box's window.
  bool TopLevelWindow() const override { return true; }
  // The inner list and the bars, made while the pop-up was hidden, show and hide with it.
  void showingChanged() override { UpdateShowing(); }
  void fadeIn(TbsSkinCustomComboBox* Combo) override;
};

class TbsSkinCustomComboBox : public TbsComboBoxBase<TbsPopupListBox> {
 public:
  using TbsComboBoxBase::ScrollInterval;
  using TbsComboBoxBase::ScrollTimerId;
  static constexpr Cardinal TypeAheadPause = 500;

  explicit TbsSkinCustomComboBox(TComponent* AOwner);
  ~TbsSkinCustomComboBox() override;
  String ClassName() const override { return "TbsSkinCustomComboBox"; }

  // ---- the drop-down list's own properties ----
  TStrings* Items() const { return FListBox->Items(); }
  void SetItems(TStrings* Value) { FListBox->Items()->Assign(Value); }
  void SetItemIndex(Integer Value);
  bool Sorted() const { return FListBox->Sorted(); }
  void SetSorted(bool Value) { FListBox->SetSorted(Value); }
  void SetImages(TCustomImageList* Value);
  Integer ImageIndex() const { return FListBox->ImageIndex(); }
  void SetImageIndex(Integer Value);
  TStrings* TabWidths() const { return FListBox->TabWidths(); }
  void SetTabWidths(TStrings* Value) { FListBox->SetTabWidths(Value); }
  bool HorizontalExtent() const { return FListBox->HorizontalExtent(); }
  void SetHorizontalExtent(bool Value) { FListBox->SetHorizontalExtent(Value); }
  String ListBoxCaption() const { return FListBox->Caption(); }
  void SetListBoxCaption(const String& Value) { FListBox->SetCaption(Value); }
  bool ListBoxCaptionMode() const { return FListBox->CaptionMode(); }
  void SetListBoxCaptionMode(bool Value) { FListBox->SetCaptionMode(Value); }
  void SetListBoxDefaultFont(TFont* Value) { FListBox->DefaultFont()->Assign(Value); }
  TFont* ListBoxDefaultCaptionFont() const { return FListBox->DefaultCaptionFont(); }
  void SetListBoxDefaultCaptionFont(TFont* Value) { FListBox->SetDefaultCaptionFont(Value); }
  Integer ListBoxDefaultItemHeight() const { return FListBox->DefaultItemHeight(); }
  void SetListBoxDefaultItemHeight(Integer Value) { FListBox->SetDefaultItemHeight(Value); }
  TAlignment ListBoxCaptionAlignment() const { return FListBox->Alignment(); }
  void SetListBoxCaptionAlignment(TAlignment Value) { FListBox->SetAlignment(Value); }
  bool ListBoxUseSkinItemHeight() const { return FListBox->UseSkinItemHeight(); }
  void SetListBoxUseSkinItemHeight(bool Value) { FListBox->SetUseSkinItemHeight(Value); }

  // ---- own properties ----
  TbsSkinCustomComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TbsSkinCustomComboBoxStyle Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  // The inner edit's selection; 0 and no effect in the fixed style.
  Integer SelStart() const { return FEdit != nullptr ? FEdit->SelStart() : 0; }
  void SetSelStart(Integer Value);
  Integer SelLength() const { return FEdit != nullptr ? FEdit->SelLength() : 0; }
  void SetSelLength(Integer Value);
  // The inner edit of the edit style; nil in the fixed style.
  TbsCustomEdit* Edit() const { return FEdit; }
  void SetDropDownCount(Integer Value);
  void SetHideSelection(bool Value);
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  void SetToolButtonStyle(bool Value);
  void SetDefaultColor(TColor Value);
  void SetOnListBoxDrawItem(TbsDrawSkinItemEvent Value);

  TbsDrawSkinItemEvent OnListBoxDrawItem;
  TbsDrawSkinItemEvent OnComboBoxDrawItem;

  void Change() override {}
  void DropDown() override;
  void PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText);
  const TbsCBItem& ItemArea() const { return CBItem; }

  void ChangeSkinData() override;
  void Invalidate() override;

 protected:
  virtual void EditWindowProcHook(TMessage& Message);
  virtual void CreateEditCtrl();
  void Dispatch(TMessage& Message) override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void KeyPress(char32_t& Key) override;
  void CMTextChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMSize(TMessage& Message) override;

  // ---- where it differs from the office combo box ----
  bool hasInnerEdit() const override { return FEdit != nullptr; }
  // Only a drag that started on the button or in the list tracks the list.
  bool moveTracksList(Integer X, Integer Y) override;
  void stepByKey(TbsComboStep Step) override;
  void autoScroll(bool Up) override;
  // Through the edit (which brings the text along), or as the shown text.
  void acceptPick(Integer Index) override;
  bool closeUpNotifies(bool) const override { return true; }
  // The inner edit's text colour follows the hover of a skinned control.
  void hoverChanged() override;
  void drawDefaultItemContents(TCanvas* C, Integer Index, const TRect& R, Integer W, Integer H) override;

  // ---- drawing (in the paint source file) ----
  // The button of the freely sized skinned look, from the skin's separate button element.
  void DrawResizeButton(TCanvas* C);
  // Background and button without the item; Resting takes the normal picture whatever the state.
  void DrawDefaultFrame(TCanvas* C);
  void DrawSkinFrame(TBitmap* B, bool Resting);
  void DrawSkinItem(TCanvas* C);
  void DrawDefaultToolButton(TCanvas* C, const String* AText);
  void DrawSkinToolButton(TCanvas* C, const String* AText);
  // The given text, or the shown item, in the tool-button style's text area.
  void drawToolButtonText(TCanvas* C, const String* AText);
  void drawItemContents(TCanvas* C, Integer Index, TRect TR, TOwnerDrawState State, Integer W, Integer H);
  TColor GetDisabledFontColor();

  // ---- steps ----
  void ComboUp(bool AChange);
  void ComboDown(bool AChange);
  void ComboPageUp(bool AChange);
  void ComboPageDown(bool AChange);
  void SearchItem(const String& S);
  void EditComboUp(bool ANotify);
  void EditComboDown(bool ANotify);
  void AutoCompleteText();
  void FreeEditCtrl();
  void AdjustEditPos();
  void setEditFontColor(TColor Value);
  // The edit's font, colour, character set and transparency after the skin.
  void skinEdit();

  bool FNumEdit = false;
  TEditCharCase FCharCase = ecNormal;
  Cardinal FLastTime = 0;
  String FFilter;
  bool FAutoComplete = true;
  TbsSkinCustomComboBoxStyle FStyle = bscbFixedStyle;
  TWndMethod FEditWindowProc;
  TbsCustomEdit* FEdit = nullptr;
  bool FromEdit = false;
  // Enter or Esc closed the open list from the inner edit: their character is the list's, not the
  // dialog's.
  bool FListClosedByKey = false;

 private:
  void ListBoxHover(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
  void TrackListBox();
  void stepTo(Integer Index, bool AChange);
  void setShownText(const String& Value);
  void EditChange(TObject* Sender);
  void EditCancelMode(TControl* C);
  void editKeyUp(TMessage& Message);
};

// The skinned combo box with its properties published.
class TbsSkinComboBox : public TbsSkinCustomComboBox {
 public:
  using TbsSkinCustomComboBox::TbsSkinCustomComboBox;
  String ClassName() const override { return "TbsSkinComboBox"; }
};
