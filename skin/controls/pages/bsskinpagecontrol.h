// TbsSkinPageControl and its tab sheets: the page control with the skin's "tab" look. The platform tab
// control still lays the tabs out and hit tests them; this control corrects the geometry it answers,
// paints everything itself, tracks the hot tab, and can hide its tabs and border or shift the tab row.
#pragma once

#include <functional>
#include <memory>

#include "platform/ui/comctrls/pagecontrol.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/controls/bars/bsskinupdown.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinchangeable.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsskinrecordsbars.h"

class TbsSkinPageControl;

class TbsSkinCustomTabSheet : public TTabSheet {
 public:
  explicit TbsSkinCustomTabSheet(TComponent* AOwner);
  String ClassName() const override { return "TbsSkinCustomTabSheet"; }
  TBitmap* WallPaper() const { return FWallPaper.get(); }
  void SetWallPaper(TBitmap* Value) { FWallPaper->Assign(Value); }

  TRect ButtonRect;  // the tab's close button, in tab coordinates
  bool ButtonMouseIn = false;
  bool ButtonMouseDown = false;

 protected:
  void WndProc(TMessage& Message) override;
  void PaintBG(HDC DC);

 private:
  std::unique_ptr<TBitmap> FWallPaper;
};

class TbsSkinTabSheet : public TbsSkinCustomTabSheet {
 public:
  using TbsSkinCustomTabSheet::TbsSkinCustomTabSheet;
  String ClassName() const override { return "TbsSkinTabSheet"; }
};

using TbsCloseEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TbsDrawSkinTabEvent =
    std::function<void(Integer TabIndex, const TRect& Rct, bool Active, bool MouseIn, TCanvas* Cnvs)>;

class TbsSkinPageControl : public TPageControl, public IbsSkinChangeable {
 public:
  explicit TbsSkinPageControl(TComponent* AOwner);
  ~TbsSkinPageControl() override;
  String ClassName() const override { return "TbsSkinPageControl"; }

  bool MouseWheelSupport = false;
  String ButtonTabSkinDataName = "resizetoolbutton";
  bool FreeOnClose = false;
  bool UseSkinFont = true;
  String SkinDataName = "tab";

  bool TabExtededDraw() const { return FTabExtededDraw; }
  void SetTabExtededDraw(bool Value);
  Integer TabsOffset() const { return FTabsOffset; }
  void SetTabsOffset(Integer Value);
  Integer TabMargin() const { return FTabMargin; }
  void SetTabMargin(Integer Value);
  Integer TabSpacing() const { return FTabSpacing; }
  void SetTabSpacing(Integer Value);
  TbsButtonLayout TabLayout() const { return FTabLayout; }
  void SetTabLayout(TbsButtonLayout Value);
  bool TextInHorizontal() const { return FTextInHorizontal; }
  void SetTextInHorizontal(bool Value);
  bool TabsInCenter() const { return FTabsInCenter; }
  void SetTabsInCenter(bool Value);
  bool ShowCloseButtons() const { return FShowCloseButtons; }
  void SetShowCloseButtons(bool Value);
  // Replaces the tab control's image list, which stays the internal one that reserves room in the tabs.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  bool TabsBGTransparent() const { return FTabsBGTransparent; }
  void SetTabsBGTransparent(bool Value);
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  Integer DefaultItemHeight() const { return FDefaultItemHeight; }
  void SetDefaultItemHeight(Integer Value);
  TbsSkinData* SkinData() const override { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  // The internal list whose size is the room reserved for images and close buttons.
  TCustomImageList* TempImages() const { return FTempImages.get(); }

  TbsCloseEvent OnClose;
  TNotifyEvent OnAfterClose;
  TbsDrawSkinTabEvent OnDrawSkinTab;

  void GetSkinData();
  void BeforeChangeSkinData() override;
  void ChangeSkinData() override;
  void HideTabs();
  void ShowTabs();
  void HideBorderAndTabs();
  void ShowBorderAndTabs();
  void UpDateTabs();
  void GetTabRect(Integer Index, TRect& R) { R = TabRect(Index); }
  void SetItemSize(Integer W, Integer H) { Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(W, H)); }
  Integer GetTabsOffset();
  Integer GetCloseSize();
  void TestActive(Integer X, Integer Y);
  // Closes the active page: OnClose may refuse; the tab is hidden, the page freed with FreeOnClose.
  void DoClose();
  // The skinned tab scroller: created while a single row cuts off some visible tab, freed otherwise.
  void CheckScroll();
  void ShowSkinUpDown();
  void HideSkinUpDown();
  void UpDateUpDownPosition();
  // Visible tabs cut off at either end of the row / at its left end.
  Integer CountHiddenTabs();
  Integer CountLeftHiddenTabs();
  TbsSkinUpDown* SkinUpDown() const { return FSkinUpDown; }
  // The hot tab: its index among the visible tabs (-1 = none) and its page index.
  Integer ActiveTabIndex() const { return FActiveTabIndex; }
  Integer ActiveTab() const { return FActiveTab; }
  bool TabsHidden() const { return FHideTabs; }
  bool BorderHidden() const { return FHideBorder; }
  // The resolved element; -1 = the default look.
  Integer SkinIndex() const { return FIndex; }

  // The element copy (the element's TabRect is ElementTabRect: TabRect is the tab control's query).
  TBitmap* Picture = nullptr;
  TRect SkinRect, ClRect, ElementTabRect, ActiveTabRect, FocusTabRect, MouseInTabRect, TabsBGRect;
  TPoint LTPoint, RTPoint, LBPoint, RBPoint;
  Integer TabLeftOffset = 0, TabRightOffset = 0;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
  String UpDown;
  Integer BGPictureIndex = -1;
  bool TabStretchEffect = false, ShowFocus = false;
  Integer FocusOffsetX = 0, FocusOffsetY = 0;
  bool StretchEffect = false;
  TbsStretchType StretchType = bsstFull;
  bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
  TRect CloseButtonRect, ClosebuttonActiveRect, CloseButtonDownRect;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
  TRect TabLeftBottomActiveRect, TabLeftBottomFocusRect;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void Change() override;
  // The whole control, on the paint DC: border (or the default look), then the tab row.
  void Paint() override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseLeave(TMessage& Message) override;

 public:
  // Painting (bsskinpagecontrol_paint.cpp).
  void DrawTabs(TCanvas* Cnvs);
  void DrawSkinTab(Integer PageIndex, const TRect& R, bool ASelected, bool AMouseIn, TCanvas* Cnvs);
  void PaintDefault(TCanvas* Cnvs);
  void DrawSkinBorder(TCanvas* Cnvs);
  TRect GetActiveTabBorderRect();
  // The button styles' tab image from the ButtonTabSkinDataName element; sets B's font colour.
  void DrawButtonTab(TBitmap* B, bool ADown, bool AActive);
  // The close button inside the tab bitmap; stores its (turned) rectangle in the sheet's ButtonRect.
  void DrawCloseButton(TCanvas* Cnvs, const TRect& CR, Integer PageIndex, Integer AW, Integer AH);
  // The control's background while no tab is shown.
  void DrawBackground(HDC DC);

 private:
  friend class TbsSkinCustomTabSheet;
  bool shifted() const { return FTabsInCenter || FTabsOffset > 0; }
  void adjustPageRect(TRect& R);
  void adjustTabRect(TRect& R);
  void changeTempRoom(Integer Delta);
  TRect frameRect();
  Integer visiblePageAt(Integer VisibleIndex);
  void redrawTabs();
  TbsSkinCustomTabSheet* hotSheet();
  bool inCloseButton(TbsSkinCustomTabSheet* Sheet, Integer X, Integer Y, bool Shifted);
  void trackCloseButton(Integer X, Integer Y);
  void closeButtonMouse(TMouseButton Button, Integer X, Integer Y, bool Up);
  void UpDownChange(TObject* Sender);
  void placeUpDown();
  void syncUpDown();
  void composeSkinTab(TBitmap* B, const TRect& R, bool ASelected, bool AMouseIn, bool IsFocused);

  bool FTabExtededDraw = false;
  Integer FTabsOffset = 0;
  Integer FTabMargin = -1;
  Integer FTabSpacing = 1;
  TbsButtonLayout FTabLayout = blGlyphLeft;
  bool FTextInHorizontal = false;
  bool FTabsInCenter = false;
  bool FShowCloseButtons = false;
  TCustomImageList* FImages = nullptr;
  bool FTabsBGTransparent = false;
  std::unique_ptr<TFont> FDefaultFont;
  Integer FDefaultItemHeight = 20;
  TbsSkinData* FSD = nullptr;

  bool FHideTabs = false, FHideBorder = false;
  TTabPosition FOLdTabPosition = tpTop;
  bool FOldMultiLine = false;
  Integer FOldTabHeight = -1;
  Integer FCloseSize = 14;
  Integer FActiveTab = -1, FActiveTabIndex = -1;
  Integer FOldActiveTab = -1, FOldActiveTabIndex = -1;
  std::unique_ptr<TCustomImageList> FTempImages;
  Integer FIndex = -1;
  TbsSkinUpDown* FSkinUpDown = nullptr;
};

// Quarter turns and the flip of the tab images; the turned copies are drawn with their new top-left
// corner at (X, Y), B unchanged.
void DrawRotated90Left(TCanvas* Cnvs, TBitmap* B, Integer X, Integer Y);
void DrawRotated90Right(TCanvas* Cnvs, TBitmap* B, Integer X, Integer Y);
void RotateBitmap90Left(TBitmap* B);
void RotateBitmap90Right(TBitmap* B);
void FlipBitmapVert(TBitmap* B);
