// A skinned list of office items that scrolls by pixels with its own skinned scroll bar, selects with
// the mouse and the keys and reports selection and check clicks. The office combo box's drop-down is a
// descendant and drives it through ItemIndex, CalcHeight, the find operations and MouseMove.
#pragma once

#include <functional>

#include "platform/ui/graphics/imagelist.h"
#include "skin/boxes/office/bsskinofficeitems.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/base/bsskincontrol.h"

// Replaces the drawing of an item's contents (title, image, caption).
using TbsDrawSkinOfficeItemEvent = std::function<void(TCanvas* Cnvs, Integer Index, TRect TextRct)>;

class TbsSkinOfficeListBox : public TbsSkinCustomControl {
 public:
  explicit TbsSkinOfficeListBox(TComponent* AOwner);
  ~TbsSkinOfficeListBox() override;
  String ClassName() const override { return "TbsSkinOfficeListBox"; }

  bool ShowCheckBoxes() const { return FShowCheckBoxes; }
  void SetShowCheckBoxes(bool Value);
  bool HeaderLeftAlignment() const { return FHeaderLeftAlignment; }
  void SetHeaderLeftAlignment(bool Value);
  const String& HeaderSkinDataName() const { return FHeaderSkinDataName; }
  void SetHeaderSkinDataName(const String& Value) { FHeaderSkinDataName = Value; }
  const String& ItemSkinDataName() const { return FItemSkinDataName; }
  void SetItemSkinDataName(const String& Value) { FItemSkinDataName = Value; }
  TbsSkinOfficeItems* Items() const { return FItems; }
  void SetItems(TbsSkinOfficeItems* Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  bool ShowItemTitles() const { return FShowItemTitles; }
  void SetShowItemTitles(bool Value);
  Integer ItemHeight() const { return FItemHeight; }
  void SetItemHeight(Integer Value);
  Integer HeaderHeight() const { return FHeaderHeight; }
  void SetHeaderHeight(Integer Value);
  Integer ItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value);
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool Value);
  bool MouseMoveChangeIndex() const { return FMouseMoveChangeIndex; }
  void SetMouseMoveChangeIndex(bool Value) { FMouseMoveChangeIndex = Value; }
  TColor DisabledFontColor() const { return FDisabledFontColor; }

  TbsDrawSkinOfficeItemEvent OnDrawItem;
  TNotifyEvent OnItemClick;
  TNotifyEvent OnItemCheckClick;

  void CalcItemRects();
  Integer ItemAtPos(Integer X, Integer Y);
  void ScrollToItem(Integer Index);
  void Scroll(Integer AScrollOffset);
  void GetScrollInfo(Integer& AMin, Integer& AMax, Integer& APage, Integer& APosition);
  void UpdateScrollInfo();
  void ShowScrollbar();
  void HideScrollBar();
  void AdjustScrollBar();
  void SBChange(TObject* Sender);
  Integer CalcHeight(Integer AItemCount);
  void FindUp();
  void FindDown();
  void FindPageUp();
  void FindPageDown();
  // The first or the last item that qualifies (enabled, no header).
  void FindFirst();
  void FindLast();
  void BeginUpdateItems();
  void EndUpdateItems();
  // Selection without events (the mouse's).
  void SetItemActive(Integer Index);

  void ChangeSkinData() override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;

  TbsSkinScrollBar* ScrollBar = nullptr;
  Integer ScrollOffset() const { return FScrollOffset; }
  const TRect& ItemsRect() const { return FItemsRect; }
  Integer CheckOffset() const { return FCheckOffset; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void WMSize(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;

  // Painting (in the paint source file).
  void drawItems(TCanvas* C);
  void DrawItem(Integer Index, TCanvas* Cnvs);
  void DefaultDrawItem(Integer Index, TCanvas* Cnvs);
  void SkinDrawItem(Integer Index, TCanvas* Cnvs);
  void SkinDrawHeaderItem(Integer Index, TCanvas* Cnvs);
  void drawItemContents(TCanvas* C, TbsSkinOfficeItem* Item, TRect R, bool ExpandTabs);

  Integer FCheckOffset = 0;
  bool FShowCheckBoxes = false;
  bool FInUpdateItems = false;
  bool FMouseMoveChangeIndex = false;
  TColor FDisabledFontColor = clGray;
  bool FShowLines = false;
  bool FClicksDisabled = false;
  bool FMouseDown = false;
  Integer FMouseActive = -1;
  Integer FMax = 0;
  Integer FRealMax = 0;
  TRect FItemsRect{};
  Integer FScrollOffset = 0;
  TbsSkinOfficeItems* FItems = nullptr;
  TCustomImageList* FImages = nullptr;
  bool FShowItemTitles = true;
  Integer FItemHeight = 30;
  Integer FHeaderHeight = 20;
  Integer FOldHeight = -1;
  Integer FItemIndex = -1;
  bool FHeaderLeftAlignment = false;
  String FItemSkinDataName = "listbox";
  String FHeaderSkinDataName = "menuheader";

 private:
  bool qualifies(Integer Index) const;
  void findPage(Integer From, Integer To, Integer Step);
  void toggleCheck(Integer Index);
  bool loadingOrDesigning() const;
};
