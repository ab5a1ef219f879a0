// A skinned combo box of office items: the closed control shows the selected item (title, image,
// caption) and a drop-down button; the open drop-down is a borderless top-level office list under
// (or, near the work area's bottom, above) the control.
#pragma once

#include "skin/boxes/combos/bsdropdowncommon.h"
#include "skin/boxes/edits/bscbbutton.h"
#include "skin/boxes/office/bsskinofficelistbox.h"

class TbsSkinCustomOfficeComboBox;

// The drop-down: a top-level office list that never takes the activation.
class TbsPopupOfficeListBox : public TbsDropDownWindow<TbsSkinOfficeListBox> {
 public:
  using TbsDropDownWindow::TbsDropDownWindow;
  String ClassName() const override { return "TbsPopupOfficeListBox"; }
  // Places the list at Origin (screen), on top, shown without activation; fades in when asked.
  void Show(TPoint Origin);
  void Hide();

  bool FOldAlphaBlend = false;
  Byte FOldAlphaBlendValue = 0;

 protected:
 private:
  TbsSkinCustomOfficeComboBox* combo() const;
  void fadeIn(TbsSkinCustomOfficeComboBox* Combo);
};

class TbsSkinCustomOfficeComboBox : public TbsSkinCustomControl {
 public:
  explicit TbsSkinCustomOfficeComboBox(TComponent* AOwner);
  ~TbsSkinCustomOfficeComboBox() override;
  String ClassName() const override { return "TbsSkinCustomOfficeComboBox"; }

  // ---- forwarded to the drop-down list ----
  TbsSkinOfficeItems* Items() const { return FListBox->Items(); }
  void SetItems(TbsSkinOfficeItems* Value) { FListBox->SetItems(Value); }
  Integer ItemIndex() const { return FListBox->ItemIndex(); }
  void SetItemIndex(Integer Value);
  TCustomImageList* Images() const { return FListBox->Images(); }
  void SetImages(TCustomImageList* Value);
  bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
  void SetListBoxUseSkinFont(bool Value) { FListBox->SetUseSkinFont(Value); }
  bool ListBoxHeaderLeftAlignment() const { return FListBox->HeaderLeftAlignment(); }
  void SetListBoxHeaderLeftAlignment(bool Value) { FListBox->SetHeaderLeftAlignment(Value); }
  TFont* ListBoxDefaultFont() const { return FListBox->DefaultFont(); }
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
  Integer DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer Value);
  bool ToolButtonStyle() const { return FToolButtonStyle; }
  void SetToolButtonStyle(bool Value);
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  Integer ListBoxWidth() const { return FListBoxWidth; }
  void SetListBoxWidth(Integer Value) { FListBoxWidth = Value; }
  Integer ListBoxHeight() const { return FListBoxHeight; }
  void SetListBoxHeight(Integer Value) { FListBoxHeight = Value; }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value) { FHideSelection = Value; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }

  TbsDrawSkinOfficeItemEvent OnDrawItem;
  TNotifyEvent OnChange;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDropDown;

  virtual void Change();
  virtual void DropDown();
  void CloseUp(bool Value);
  bool IsPopupVisible() const { return FListBox->Visible(); }
  bool CanCancelDropDown();
  TbsPopupOfficeListBox* ListBox() const { return FListBox; }
  const TbsCBButtonX& DropButton() const { return Button; }
  const TRect& ItemArea() const { return CBItem.R; }

  void GetSkinData() override;
  void ChangeSkinData() override;
  void CalcSize(Integer& W, Integer& H) override;
  void CalcRects();
  // Paints the control into C at (X, Y) with AText in place of the item.
  void PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText);

  // Set by the drop-down's fade: the press that opened the list no longer counts.
  bool FLBDown = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void SetControlRegion() override;
  void DefaultFontChanged() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;

  // Painting (in the paint source file).
  Integer shownIndex() const;
  void drawItemContents(TCanvas* C, Integer Index, TRect R, bool WithTitle);
  void DrawButton(TCanvas* C);
  void DrawResizeButton(TCanvas* C);
  void DrawDefaultItem(TCanvas* C);
  void DrawSkinItem(TBitmap* Control);
  void DrawResizeSkinItem(TBitmap* Control);
  void DrawDefaultToolButton(TCanvas* C);
  void DrawSkinToolButton(TCanvas* C);
  void paintFrame(TBitmap* B, bool InnerFrame);

  bool FShowItemTitle = true;
  bool FShowItemImage = true;
  bool FShowItemText = true;
  Integer FDropDownCount = 7;
  bool FDropDown = false;
  bool FToolButtonStyle = false;
  TColor FDefaultColor = clWindow;
  bool FUseSkinSize = false;
  bool WasInLB = false;
  Integer TimerMode = 0;
  Integer FListBoxWidth = 0;
  Integer FListBoxHeight = 0;
  bool FHideSelection = true;
  bool FAlphaBlend = false;
  bool FAlphaBlendAnimation = false;
  Byte FAlphaBlendValue = 0;
  bool FMouseIn = false;
  Integer FOldItemIndex = -1;
  TbsPopupOfficeListBox* FListBox = nullptr;
  TWndMethod FListBoxWindowProc;
  TbsCBItem CBItem;
  TbsCBButtonX Button;

  // From the skin's combo box element.
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
  void TrackListBox(Integer X, Integer Y);
  void StartTimer();
  void StopTimer();
  void selectWith(void (TbsSkinOfficeListBox::*Find)());
};

class TbsSkinOfficeComboBox : public TbsSkinCustomOfficeComboBox {
 public:
  using TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox;
  String ClassName() const override { return "TbsSkinOfficeComboBox"; }
};
