// The skinned combo box: a closed control that shows the selected item and a drop-down button, and a
// drop-down list (a skinned list box in a top-level pop-up that never activates) below or, near the
// work area's bottom, above it. The combo keeps the focus and drives the list while it is open.
#pragma once

#include "skin/boxes/combos/bsdropdowncommon.h"
#include "skin/boxes/edits/bscbbutton.h"
#include "skin/boxes/edits/bscustomedit.h"
#include "skin/boxes/lists/bsskinlistbox.h"

class TbsSkinCustomComboBox;

enum TbsSkinCustomComboBoxStyle { bscbEditStyle, bscbFixedStyle };

// The drop-down window.
class TbsPopupListBox : public TbsDropDownWindow<TbsSkinListBox> {
 public:
  using TbsDropDownWindow::TbsDropDownWindow;
  String ClassName() const override { return "TbsPopupListBox"; }
  // Shows the list at Origin (screen) on top without activation; fades in when the owner asks.
  void Show(TPoint Origin);
  void Hide();

  bool FOldAlphaBlend = false;
  Byte FOldAlphaBlendValue = 0;

 protected:
  // Shows by itself, owned by the combo box's window.
  bool TopLevelWindow() const override { return true; }

 private:
  TbsSkinCustomComboBox* combo() const;
  void fadeIn(TbsSkinCustomComboBox* Combo);
};

class TbsSkinCustomComboBox : public TbsSkinCustomControl {
 public:
  static constexpr UINT_PTR ScrollTimerId = 1;
  static constexpr UINT ScrollInterval = 25;
  static constexpr Cardinal TypeAheadPause = 500;

  explicit TbsSkinCustomComboBox(TComponent* AOwner);
  ~TbsSkinCustomComboBox() override;
  String ClassName() const override { return "TbsSkinCustomComboBox"; }

  // ---- the drop-down list's own properties ----
  TStrings* Items() const { return FListBox->Items(); }
  void SetItems(TStrings* Value) { FListBox->Items()->Assign(Value); }
  Integer ItemIndex() const { return FListBox->ItemIndex(); }
  void SetItemIndex(Integer Value);
  bool Sorted() const { return FListBox->Sorted(); }
  void SetSorted(bool Value) { FListBox->SetSorted(Value); }
  TCustomImageList* Images() const { return FListBox->Images(); }
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
  TFont* ListBoxDefaultFont() const { return FListBox->DefaultFont(); }
  void SetListBoxDefaultFont(TFont* Value) { FListBox->DefaultFont()->Assign(Value); }
  TFont* ListBoxDefaultCaptionFont() const { return FListBox->DefaultCaptionFont(); }
  void SetListBoxDefaultCaptionFont(TFont* Value) { FListBox->SetDefaultCaptionFont(Value); }
  Integer ListBoxDefaultItemHeight() const { return FListBox->DefaultItemHeight(); }
  void SetListBoxDefaultItemHeight(Integer Value) { FListBox->SetDefaultItemHeight(Value); }
  TAlignment ListBoxCaptionAlignment() const { return FListBox->Alignment(); }
  void SetListBoxCaptionAlignment(TAlignment Value) { FListBox->SetAlignment(Value); }
  bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
  void SetListBoxUseSkinFont(bool Value) { FListBox->SetUseSkinFont(Value); }
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
  Integer DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer Value);
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  bool ToolButtonStyle() const { return FToolButtonStyle; }
  void SetToolButtonStyle(bool Value);
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  Integer ListBoxWidth() const { return FListBoxWidth; }
  void SetListBoxWidth(Integer Value) { FListBoxWidth = Value; }
  void SetOnListBoxDrawItem(TbsDrawSkinItemEvent Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDropDown;
  TbsDrawSkinItemEvent OnListBoxDrawItem;
  TbsDrawSkinItemEvent OnComboBoxDrawItem;

  virtual void Change() {}
  virtual void DropDown();
  void CloseUp(bool AcceptValue);
  bool IsPopupVisible() const { return FListBox->Visible(); }
  bool CanCancelDropDown();
  void PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText);
  TbsPopupListBox* ListBox() const { return FListBox; }
  const TbsCBButtonX& DropButton() const { return Button; }
  const TbsCBItem& ItemArea() const { return CBItem; }

  void GetSkinData() override;
  void ChangeSkinData() override;
  void CalcSize(Integer& W, Integer& H) override;
  void CalcRects();
  void Invalidate() override;

 protected:
  virtual void EditWindowProcHook(TMessage& Message);
  virtual void CreateEditCtrl();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void SetControlRegion() override;
  void DefaultFontChanged() override;
  void MouseDown(TMouseButton AButton, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton AButton, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void CMTextChanged(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;

  // ---- drawing (in the paint source file) ----
  void DrawButton(TCanvas* C);
  // The button of the freely sized skinned look, from the skin's separate button element.
  void DrawResizeButton(TCanvas* C);
  // Background and button without the item; Resting takes the normal picture whatever the state.
  void DrawDefaultFrame(TCanvas* C);
  void DrawSkinFrame(TBitmap* B, bool Resting);
  void DrawDefaultItem(TCanvas* C);
  void DrawSkinItem(TCanvas* C);
  void DrawDefaultToolButton(TCanvas* C, const String* AText);
  void DrawSkinToolButton(TCanvas* C, const String* AText);
  // The given text, or the shown item, in the tool-button style's text area.
  void drawToolButtonText(TCanvas* C, const String* AText);
  void drawItemContents(TCanvas* C, Integer Index, TRect TR, TOwnerDrawState State, Integer W, Integer H);
  Integer shownIndex() const;
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
  // The character set of the shown text: the skin's strings' when it has them, else DefaultFont's.
  Byte textCharset();
  void setEditFontColor(TColor Value);
  // The edit's font, colour, character set and transparency after the skin.
  void skinEdit();

  bool FNumEdit = false;
  bool FDropDown = false;
  bool FToolButtonStyle = false;
  TEditCharCase FCharCase = ecNormal;
  TColor FDefaultColor = clWindow;
  bool FUseSkinSize = true;
  bool WasInLB = false;
  Integer TimerMode = 0;
  Integer FListBoxWidth = 0;
  bool FHideSelection = true;
  Cardinal FLastTime = 0;
  String FFilter;
  bool FAutoComplete = true;
  bool FAlphaBlend = false;
  bool FAlphaBlendAnimation = false;
  Byte FAlphaBlendValue = 0;
  TbsSkinCustomComboBoxStyle FStyle = bscbFixedStyle;
  bool FMouseIn = false;
  Integer FOldItemIndex = -1;
  Integer FDropDownCount = 8;
  bool FLBDown = false;
  TWndMethod FListBoxWindowProc;
  TWndMethod FEditWindowProc;
  TbsPopupListBox* FListBox = nullptr;
  TbsCBItem CBItem;
  TbsCBButtonX Button;
  TbsCustomEdit* FEdit = nullptr;
  bool FromEdit = false;

  // Copies of the skin's combo box element.
  TRect ActiveSkinRect{};
  TColor ActiveFontColor = 0;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TRect SItemRect{}, FocusItemRect{}, ActiveItemRect{};
  Integer ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect ItemTextRect{};
  TColor FontColor = 0, FocusFontColor = 0;
  TRect ButtonRect{}, ActiveButtonRect{}, DownButtonRect{}, UnEnabledButtonRect{};
  String ListBoxName;
  bool ItemStretchEffect = false, FocusItemStretchEffect = false;
  bool ShowFocus = false;

 private:
  void ListBoxWindowProcHook(TMessage& Message);
  void ListBoxHover(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
  void TrackListBox();
  void StartTimer();
  void StopTimer();
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
