// The ribbon's application menu: a control the ribbon lays over its form's client area while it is
// open. Its left column lists the items; choosing a plain item closes the menu and runs the item's
// command, selecting a page item shows that item's page right of the column. The column scrolls with a
// skinned vertical scroll bar when it is taller than the menu. Painting lives in bsappmenu_paint.cpp.
#pragma once

#include "platform/rtl/collection.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/boxes/ribbon/bsribbonpages.h"
#include "skin/controls/base/bsskincontrol.h"
#include "skin/core/bsskinrecordsbars.h"
#include "skin/forms/engine/bsformribbon.h"

class TbsAppMenu;
class TbsAppMenuPage;
class TbsRibbon;
class TbsSkinHint;
class TbsSkinScrollBar;

// One entry of the menu's column: a plain item runs OnClick, a page item shows its page.
class TbsAppMenuItem : public TCollectionItem {
 public:
  explicit TbsAppMenuItem(TCollection* Collection);
  String ClassName() const override { return "TbsAppMenuItem"; }
  void Assign(TPersistent* Source) override;

  TbsAppMenuPage* Page() const { return FPage; }
  void SetPage(TbsAppMenuPage* Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);

  // Sender is the ribbon.
  TNotifyEvent OnClick;

  // Written by the menu's hover tracking and layout.
  bool Active = false;
  TRect ItemRect{};

 private:
  friend class TbsAppMenuPage;
  TbsAppMenuPage* FPage = nullptr;
  bool FVisible = true;
  bool FEnabled = true;
  Integer FImageIndex = -1;
  String FCaption;
};

class TbsAppMenuItems : public TCollection {
 public:
  explicit TbsAppMenuItems(TbsAppMenu* AAppMenu);
  String ClassName() const override { return "TbsAppMenuItems"; }

  TbsAppMenuItem* Add() { return static_cast<TbsAppMenuItem*>(TCollection::Add()); }
  TbsAppMenuItem* Items(Integer Index) const {
    return static_cast<TbsAppMenuItem*>(TCollection::Items(Index));
  }
  TbsAppMenuItem* operator[](Integer Index) const { return Items(Index); }

  TbsAppMenu* AppMenu;
  // Adding or deleting items never frees pages, so nothing waits here.
  TbsAppMenuPage* DestroyPage = nullptr;

 protected:
  TPersistent* GetOwner() override;
  void Update(TCollectionItem* Item) override;
};

// The page shown right of the column while its item is selected.
class TbsAppMenuPage : public TbsAppMenuCustomPage {
 public:
  explicit TbsAppMenuPage(TComponent* AOwner);
  ~TbsAppMenuPage() override;
  String ClassName() const override { return "TbsAppMenuPage"; }

  // 0 takes the whole page area; a positive width narrower than the area is kept.
  Integer DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  // Focused by Enter, Space or Tab when the page's item is selected.
  TWinControl* FirstActiveControl() const { return FFirstActiveControl; }
  void SetFirstActiveControl(TWinControl* Value);
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WMSize(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;

 private:
  Integer FDefaultWidth = 0;
  TWinControl* FFirstActiveControl = nullptr;
};

class TbsAppMenu : public TbsSkinControl, public IbsFormAppMenu {
 public:
  explicit TbsAppMenu(TComponent* AOwner);
  ~TbsAppMenu() override;
  String ClassName() const override { return "TbsAppMenu"; }

  // ---- published ----
  TbsAppMenuItems* Items() const { return FItems.get(); }
  void SetItems(TbsAppMenuItems* Value);
  Integer ItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value);
  TbsAppMenuPage* ActivePage() const { return FActivePage; }
  void SetActivePage(TbsAppMenuPage* Value);
  Integer ItemWidth() const override { return FItemWidth; }
  void SetItemWidth(Integer Value);
  TCustomImageList* ItemImageList() const { return FItemImageList; }
  void SetItemImageList(TCustomImageList* Value);
  TCustomImageList* ItemPageImageList() const { return FItemPageImageList; }
  void SetItemPageImageList(TCustomImageList* Value);
  TbsSkinHint* SkinHint() const { return FSkinHint; }
  void SetSkinHint(TbsSkinHint* Value);
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }

  TNotifyEvent OnChangePage;
  // Fired by the ribbon, with the ribbon as Sender.
  TNotifyEvent OnShowMenu, OnShowingMenu, OnHideMenu, OnHidingMenu;

  // ---- operations ----
  void FindNextItem();
  void FindPriorItem();
  void FindFirstItem();
  void FindLastItem();
  void UpdateScrollInfo();
  TbsAppMenuPage* CreatePage();
  bool CanDrawAppMenuCaption() override;
  void DrawAppMenuCaption(TCanvas* Cnvs, const TRect& R) override;
  Integer GetAppMenuCaptionOffset() override;
  bool AppMenuVisible() const override { return Visible(); }
  void GetSkinData() override;
  void Loaded() override;
  // The area right of the column that every page takes.
  void GetPageRect(Integer& ALeft, Integer& ATop, Integer& AWidth, Integer& AHeight);
  void CalcItemRects();
  Integer GetContentHeight();
  // The size grip shows while the ribbon's form can be resized from it.
  bool CanShowGripper();
  void PaintMenu(TCanvas* Cnvs);
  // The page background of the element (or the window colour) over R of Cnvs.
  void DrawPageBackground(TCanvas* Cnvs, const TRect& R);

  // ---- state ----
  TbsSkinScrollBar* ScrollBar = nullptr;
  TbsRibbon* Ribbon = nullptr;
  Integer ScrollOffset() const { return FScrollOffset; }
  void SetScrollOffset(Integer Value) { FScrollOffset = Value; }
  const TRect& BackButtonRect() const { return FBackButtonRect; }
  bool BackButtonActive() const { return FBackButtonActive; }
  Integer ItemActive() const { return FItemActive; }
  TbsDataSkinAppMenu* Data() const { return FData; }
  // The element's items and page items share one rectangle.
  bool SingleStyle() const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  friend class TbsAppMenuItems;
  void UpdateActiveItem(Integer X, Integer Y);
  void ScrollToItem(Integer Index);
  void placeScrollBar();
  void updateScrollBar(bool RepaintOnChange);
  bool validItem(Integer Index) const { return Index >= 0 && Index < FItems->Count(); }
  bool usable(Integer Index) const;
  Integer itemHeight(bool PageItem) const;
  void applyItemFont(TCanvas* Cnvs, bool PageItem, bool Highlighted, bool Enabled);
  void drawItemText(TCanvas* Cnvs, TbsAppMenuItem* Item, const TRect& Box, Integer Spacing, bool Single);
  void DrawSkinItem(TCanvas* Cnvs, Integer Index);
  void DrawDefaultItem(TCanvas* Cnvs, Integer Index);
  void drawPicture(TCanvas* Cnvs, TBitmap* Pic, const TRect& R, bool Stretch);
  void drawPageFrame(TCanvas* Cnvs);

  Integer FScrollOffset = 0;
  Integer FOldHeight = -1;
  TRect FBackButtonRect{};
  bool FBackButtonActive = false;
  bool FMouseIn = false;
  bool FUseSkinFont = true;
  Integer FItemIndex = -1;
  TbsSkinHint* FSkinHint = nullptr;
  std::unique_ptr<TbsAppMenuItems> FItems;
  Integer FLeftOffset = 6, FRightOffset = 5;
  Integer FOldItemActive = -1, FItemActive = -1;
  TbsAppMenuPage* FActivePage = nullptr;
  Integer FItemWidth = 100;
  TCustomImageList* FItemImageList = nullptr;
  TCustomImageList* FItemPageImageList = nullptr;
  TBitmap* FDataPicture = nullptr;
  TBitmap* FDataBGPicture = nullptr;
  TBitmap* FDataPageBGPicture = nullptr;
  TbsDataSkinAppMenu* FData = nullptr;
  bool FStopCheckItemIndex = false;
};
