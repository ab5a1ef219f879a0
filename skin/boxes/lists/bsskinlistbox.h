// The skinned list box: TbsSkinCustomListBox hosts one inner owner-drawn list (TbsListBox) that keeps
// the platform list's items, selection, keys and scroll state but paints every pixel itself, and
// mirrors the list's scroll state on skinned scroll bars created while something is to scroll. An
// optional caption band carries the caption, a glyph and three buttons (up, down, check). Every input
// event of the inner list reaches the skinned control first through a virtual hook (ListBoxClick …)
// that fires the matching OnListBox event with the skinned control as sender; derived lists (the combo
// box's drop-down, the folder and file lists) override the hooks.
#pragma once

#include <functional>
#include <memory>

#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/stdctrls/listbox.h"
#include "platform/ui/stdctrls/textalign.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/base/bsskincontrol.h"
#include "skin/core/bsdraw.h"

// Draws one item into an off-screen item image whose background is already drawn; no sender.
using TbsDrawSkinItemEvent = std::function<void(TCanvas* Cnvs, Integer Index, Integer ItemWidth,
                                                Integer ItemHeight, TRect TxtRect, TOwnerDrawState State)>;

// One caption button: its place in control coordinates, hovered, pressed.
struct TbsCaptionButton {
  TRect R{};
  bool MouseIn = false;
  bool Down = false;
};

class TbsSkinCustomListBox;

// The list window inside a skinned list box: no border, no non-client area (the platform's own scroll
// bars never show), fixed-height owner-drawn items in one of three looks (no skin; skin with the skin's
// item height; skin with a free item height).
class TbsListBox : public TListBox {
  friend class TbsSkinCustomListBox;

 public:
  explicit TbsListBox(TComponent* AOwner);
  String ClassName() const override { return "TbsListBox"; }

  // Horizontal offset of the item drawing in pixels; never negative.
  Integer HorizontalExtentValue() const { return FHorizontalExtentValue; }
  void SetHorizontalExtentValue(Integer Value);

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  // Text at the tab stops of TabWidths (up to ten), Indent + 2 pixels into TR, vertically centred.
  static void DrawTabbedText(const String& Text, TStrings* TabWidths, Integer Indent, const TRect& TR,
                             TCanvas* Cnvs);
  // The state an item is painted in by a full repaint.
  TOwnerDrawState GetItemState(Integer Index);
  // The list's background (no items) into DC.
  void PaintBackground(HDC DC);

  // The owner; nil only for a list created on its own.
  TbsSkinCustomListBox* SkinListBox = nullptr;

 protected:
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void Click() override;
  void CMEnter(TMessage& Message) override;
  void CMExit(TMessage& Message) override;

  void PaintRows(HDC DC);
  void PaintColumns(HDC DC);
  // The item painters; R in list coordinates.
  void DrawItemAs(TCanvas* Cnvs, Integer Index, const TRect& R, TOwnerDrawState State);
  void DrawDefaultItem(TCanvas* Cnvs, Integer Index, const TRect& R, TOwnerDrawState State);
  void DrawSkinItem(TCanvas* Cnvs, Integer Index, const TRect& R, TOwnerDrawState State);
  void DrawStretchedSkinItem(TCanvas* Cnvs, Integer Index, const TRect& R, TOwnerDrawState State);
  void DrawSkinBackground(TCanvas* Cnvs, Integer AWidth, Integer AHeight, Integer X, Integer Y);

 private:
  // The image, text or owner-draw event on a composed item image.
  void drawItemContents(TBitmap* B, Integer Index, const TRect& TR, TOwnerDrawState State);
  void setItemCharset(TFont* F);
  // The skin font and text colour, the focus frame and the contents of a composed skin item.
  void finishSkinItem(TBitmap* B, Integer Index, const TRect& TR, TOwnerDrawState State, TColor TextColor);
  Integer ownerIndex() const;

  Integer FHorizontalExtentValue = 0;
};

// A tab stop of a TabWidths line: its decimal value, 0 for anything else (also for a number that does
// not fit an Integer).
Integer ParseTabStop(const String& S);

class TbsSkinCustomListBox : public TbsSkinCustomControl {
  friend class TbsListBox;

 public:
  static constexpr UINT_PTR ButtonTimerId = 1;
  static constexpr UINT ButtonWaitDelay = 500;
  static constexpr UINT ButtonRepeatInterval = 100;
  static constexpr UINT ButtonReturnInterval = 50;

  explicit TbsSkinCustomListBox(TComponent* AOwner);
  ~TbsSkinCustomListBox() override;
  String ClassName() const override { return "TbsSkinCustomListBox"; }

  // ---- forwarded to the inner list ----
  TStrings* Items() const { return ListBox->Items(); }
  void SetItems(TStrings* Value);
  Integer ItemIndex() { return ListBox->ItemIndex(); }
  void SetItemIndex(Integer Value) { ListBox->SetItemIndex(Value); }
  bool MultiSelect() const { return ListBox->MultiSelect(); }
  void SetMultiSelect(bool Value) { ListBox->SetMultiSelect(Value); }
  bool ExtandedSelect() const { return ListBox->ExtendedSelect(); }
  void SetExtandedSelect(bool Value) { ListBox->SetExtendedSelect(Value); }
  bool Sorted() const { return ListBox->Sorted(); }
  void SetSorted(bool Value);
  Integer Columns() const { return ListBox->Columns(); }
  void SetColumns(Integer Value);
  Integer TopIndex() { return ListBox->TopIndex(); }
  void SetTopIndex(Integer Value) { ListBox->SetTopIndex(Value); }
  Integer SelCount() { return ListBox->SelCount(); }
  bool Selected(Integer Index) { return ListBox->Selected(Index); }
  bool AutoComplete() const { return ListBox->AutoComplete(); }
  void SetAutoComplete(bool Value) { ListBox->SetAutoComplete(Value); }
  TFont* ListBoxFont() const { return ListBox->Font(); }
  void SetListBoxFont(TFont* Value) { ListBox->Font()->Assign(Value); }
  Integer ListBoxTabOrder() const { return ListBox->TabOrder(); }
  void SetListBoxTabOrder(Integer Value) { ListBox->SetTabOrder(Value); }
  bool ListBoxTabStop() const { return ListBox->TabStop(); }
  void SetListBoxTabStop(bool Value) { ListBox->SetTabStop(Value); }
  TPopupMenu* ListBoxPopupMenu() const { return ListBox->PopupMenu(); }
  void SetListBoxPopupMenu(TPopupMenu* Value) { ListBox->SetPopupMenu(Value); }
  TCanvas* ListBoxCanvas() const { return ListBox->Canvas(); }

  // ---- kept here ----
  bool ShowCaptionButtons() const { return FShowCaptionButtons; }
  void SetShowCaptionButtons(bool Value);
  TStrings* TabWidths() const { return FTabWidths.get(); }
  void SetTabWidths(TStrings* Value);
  bool UseSkinItemHeight() const { return FUseSkinItemHeight; }
  void SetUseSkinItemHeight(bool Value) { FUseSkinItemHeight = Value; }
  bool HorizontalExtent() const { return FHorizontalExtent; }
  void SetHorizontalExtent(bool Value);
  Integer RowCount() const { return FRowCount; }
  void SetRowCount(Integer Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TbsNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TbsNumGlyphs Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  bool CaptionMode() const { return FCaptionMode; }
  void SetCaptionMode(bool Value);
  Integer DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
  void SetDefaultCaptionHeight(Integer Value);
  TFont* DefaultCaptionFont() const { return FDefaultCaptionFont.get(); }
  void SetDefaultCaptionFont(TFont* Value) { FDefaultCaptionFont->Assign(Value); }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  Integer DefaultItemHeight() const { return FDefaultItemHeight; }
  void SetDefaultItemHeight(Integer Value);
  bool StopUpDateHScrollBar() const { return FStopUpDateHScrollBar; }
  void SetStopUpDateHScrollBar(bool Value) { FStopUpDateHScrollBar = Value; }

  // The control height that shows AItemsCount rows.
  Integer CalcHeight(Integer AItemsCount);
  void Clear();
  Integer ItemAtPos(TPoint Pos, bool Existing) { return ListBox->ItemAtPos(Pos, Existing); }
  TRect ItemRect(Integer Item) { return ListBox->ItemRect(Item); }
  // Shows, sizes or hides the skinned bars after the inner list's scroll state.
  void UpDateScrollBar();
  // Places the inner list and the bars.
  void AdjustListBox();

  void GetSkinData() override;
  void ChangeSkinData() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  TbsDrawSkinItemEvent OnDrawItem;
  TNotifyEvent OnUpButtonClick;
  TNotifyEvent OnDownButtonClick;
  TNotifyEvent OnCheckButtonClick;
  TNotifyEvent OnListBoxClick;
  TNotifyEvent OnListBoxDblClick;
  TMouseEvent OnListBoxMouseDown;
  TMouseEvent OnListBoxMouseUp;
  TMouseMoveEvent OnListBoxMouseMove;
  TKeyEvent OnListBoxKeyDown;
  TKeyEvent OnListBoxKeyUp;
  TKeyPressEvent OnListBoxKeyPress;

  // ---- hooks: every input event of the inner list, before the list's own ----
  virtual Integer GetItemWidth(Integer Index, TCanvas* Cnvs);
  virtual void ListBoxMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void ListBoxMouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void ListBoxMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void ListBoxClick();
  virtual void ListBoxDblClick();
  virtual void ListBoxKeyDown(Word& Key, TShiftState Shift);
  virtual void ListBoxKeyUp(Word& Key, TShiftState Shift);
  virtual void ListBoxKeyPress(char32_t& Key);
  virtual void ListBoxEnter() {}
  virtual void ListBoxExit() {}
  // Every inner-list message first; PassOn false drops it.
  virtual void ListBoxWProc(TMessage& Message, bool& PassOn);
  virtual void ListBoxCreateWnd() {}

  // Caption buttons 0 up, 1 down, 2 check.
  TbsCaptionButton Buttons[3];
  Integer OldActiveButton = -1;
  Integer ActiveButton = -1;
  Integer CaptureButton = -1;
  TRect NewCaptionRect{};
  TRect ListRect{};
  // Caption button auto-repeat: 0 none, 1 up, 2 down; WaitMode: in its first delay.
  Integer TimerMode = 0;
  bool WaitMode = false;
  // Main bar (vertical, horizontal for a multi-column list) and the horizontal-extent bar.
  TbsSkinScrollBar* ScrollBar = nullptr;
  TbsSkinScrollBar* HScrollBar = nullptr;
  TbsListBox* ListBox = nullptr;

  // ---- copies of the skin element ----
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TRect SItemRect{}, ActiveItemRect{}, FocusItemRect{};
  Integer ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect ItemTextRect{};
  TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0;
  TRect CaptionRect{};
  String CaptionFontName;
  TFontStyles CaptionFontStyle;
  Integer CaptionFontHeight = 0;
  TColor CaptionFontColor = 0;
  TRect UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{};
  TRect DownButtonRect{}, ActiveDownButtonRect{}, DownDownButtonRect{};
  TRect CheckButtonRect{}, ActiveCheckButtonRect{}, DownCheckButtonRect{};
  String VScrollBarName, HScrollBarName, BothScrollBarName;
  bool ShowFocus = false;
  TRect ButtonsArea{}, DisabledButtonsRect{};

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void DefaultFontChanged() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;

  void ShowVScrollBar();
  void ShowHScrollBar();
  void HideVScrollBar();
  void HideHScrollBar();
  void SBChange(TObject* Sender);
  void HSBChange(TObject* Sender);
  Integer GetVisibleTextWidth();

  // ---- caption and buttons ----
  Integer GetCaptionWidth(TCanvas* Cnvs);
  void DrawButton(TCanvas* Cnvs, Integer I);
  TRect CalcButtonRect(const TRect& R);
  void TestActive(Integer X, Integer Y);
  void ButtonEnter(Integer I);
  void ButtonLeave(Integer I);
  void ButtonDown(Integer I);
  void ButtonUp(Integer I);
  void StartTimer(UINT Interval);
  void StopTimer();
  void WMTimer(TMessage& Message);

  bool FShowCaptionButtons = true;
  std::unique_ptr<TStringList> FTabWidths;
  bool FUseSkinItemHeight = true;
  bool FHorizontalExtent = false;
  bool FStopUpDateHScrollBar = false;
  Integer FRowCount = 0;
  std::unique_ptr<TBitmap> FGlyph;
  TbsNumGlyphs FNumGlyphs = 1;
  Integer FSpacing = 2;
  TCustomImageList* FImages = nullptr;
  Integer FImageIndex = -1;
  Integer FDefaultItemHeight = 20;
  Integer FDefaultCaptionHeight = 20;
  std::unique_ptr<TFont> FDefaultCaptionFont;
  bool FCaptionMode = false;
  TAlignment FAlignment = taLeftJustify;

 private:
  // The caption text and glyph into TR at X; GY the glyph's top.
  void drawCaption(TCanvas* Cnvs, const TRect& TR, Integer X, Integer Y, Integer GY);
  // The button's default action (up, down, check click).
  void buttonAction(Integer I);
  void redrawButton(Integer I);
  // The horizontal-extent bar's skin names and corner look for the current element and main bar.
  void skinHScrollBar();
  TNotifyEvent& buttonEvent(Integer I);
};

// The skinned list box with its properties published.
class TbsSkinListBox : public TbsSkinCustomListBox {
 public:
  using TbsSkinCustomListBox::TbsSkinCustomListBox;
  String ClassName() const override { return "TbsSkinListBox"; }
};
