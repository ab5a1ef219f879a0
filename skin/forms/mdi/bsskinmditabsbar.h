// The MDI tabs bar: one tab per MDI child of the main form, like a tabbed document bar. A click on a
// tab activates its child, a close button on each tab closes it, tabs can be dragged to a new order,
// the right button opens the child's skinned system menu, an optional add button fires an event, and
// two small drop-down buttons list every child and the children whose tabs did not fit.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/core/form.h"
#include "platform/ui/graphics/bitmap.h"
#include "skin/controls/base/bsskincontrol.h"
#include "skin/core/bscompose.h"

class TbsSkinForm;
class TbsSkinMDITabsBar;
class TbsSkinMenuSpeedButton;
class TbsSkinPopupMenu;
class TMenuItem;

enum TbsSkinMDITabKind { bstkTab, bstkButton };

class TbsMDITab : public TObject {
 public:
  TbsMDITab(TbsSkinMDITabsBar* AParentBar, TCustomForm* AChild);
  String ClassName() const override { return "TbsMDITab"; }

  // The tab at its own size, drawn on Cnvs at ObjectRect's top-left; nothing without a width.
  void Draw(TCanvas* Cnvs);
  void ButtonDraw(TCanvas* Cnvs);
  void ResizeDraw(TCanvas* Cnvs);
  // Places ButtonRect (the tab's own coordinates) in R, centred vertically, and draws the button.
  void DrawCloseButton(TCanvas* Cnvs, const TRect& R);
  // The child's small icon centred in R; R widens to the icon when narrower.
  void DrawChildIcon(TRect& R, TCanvas* Canvas);

  TbsSkinMDITabsBar* TabsBar;
  bool Active = false;
  bool MouseIn = false;
  TRect ObjectRect{};
  TCustomForm* Child;
  bool Visible = false;
  TRect ButtonRect{};
  bool ButtonMouseIn = false;
  bool ButtonMouseDown = false;
  TColor TextFontColor = 0;

 private:
  // The close button (when shown), the icon and the fitted caption inside TextArea of B.
  void drawContent(TBitmap* B, TRect TextArea, const TRect& CloseArea, bool FireDrawParams);
};

using TbsMDITabEvent = std::function<void(TbsMDITab* MDITab)>;
using TbsMDITabMouseEvent = std::function<void(TMouseButton Button, TShiftState Shift, TbsMDITab* MDITab)>;
using TbsMDITabGetDrawParamsEvent = std::function<void(TbsMDITab* MDITab, TCanvas* Cnvs)>;

class TbsSkinMDITabsBar : public TbsSkinControl {
 public:
  explicit TbsSkinMDITabsBar(TComponent* AOwner);
  ~TbsSkinMDITabsBar() override;
  String ClassName() const override { return "TbsSkinMDITabsBar"; }

  // ---- published ----
  bool ShowChildIcon() const { return FShowChildIcon; }
  void SetShowChildIcon(bool Value);
  bool ShowAddButton() const { return FShowAddButton; }
  void SetShowAddButton(bool Value);
  bool DblClickChildMove() const { return FDblClickChildMove; }
  void SetDblClickChildMove(bool Value) { FDblClickChildMove = Value; }
  bool ShowCloseButtons() const { return FShowCloseButtons; }
  void SetShowCloseButtons(bool Value) { FShowCloseButtons = Value; }
  TbsSkinMDITabKind TabKind() const { return FTabKind; }
  void SetTabKind(TbsSkinMDITabKind Value);
  TbsSkinForm* SkinForm() const { return BSF; }
  void SetSkinForm(TbsSkinForm* Value);
  bool SupportChildMenus() const { return FSupportChildMenus; }
  void SetSupportChildMenus(bool Value) { FSupportChildMenus = Value; }
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool MoveTabs() const { return FMoveTabs; }
  void SetMoveTabs(bool Value) { FMoveTabs = Value; }
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  Integer DefaultTabWidth() const { return FDefaultTabWidth; }
  void SetDefaultTabWidth(Integer Value) { FDefaultTabWidth = Value; }
  Integer MinTabWidth() const { return FMinTabWidth; }
  void SetMinTabWidth(Integer Value) { FMinTabWidth = Value; }

  TNotifyEvent OnAddButtonClick;
  TbsMDITabEvent OnTabMouseEnter;
  TbsMDITabEvent OnTabMouseLeave;
  TbsMDITabMouseEvent OnTabMouseDown;
  TbsMDITabMouseEvent OnTabMouseUp;
  TbsMDITabGetDrawParamsEvent OnTabGetDrawParamsEvent;

  // ---- operations ----
  void AddTab(TCustomForm* Child);
  void DeleteTab(TCustomForm* Child);
  Integer GetTabIndex(Integer X, Integer Y) const;
  TbsMDITab* GetTab(Integer X, Integer Y) const;
  Integer GetCloseSize() const;
  void UpdateActiveTab();
  void GetSkinData() override;
  void ChangeSkinData() override;
  void AdjustClientRect(TRect& Rect) override;

  // A tab drawn straight onto the bar (hover, caption changes) shows at once.
  void RedrawTab(TbsMDITab* Tab);
  // Restores a child minimized by its engine and shows (activates) it.
  static void ShowChild(TCustomForm* Child);

  Integer TabCount() const { return Integer(ObjectList.size()); }
  TbsMDITab* Tabs(Integer Index) const { return ObjectList[size_t(Index)].get(); }
  TbsSkinMenuSpeedButton* ListButton() const { return FListButton; }
  TbsSkinMenuSpeedButton* HideListButton() const { return FHideListButton; }
  TbsSkinPopupMenu* ListMenu() const { return FListMenu; }
  TbsSkinPopupMenu* HideListMenu() const { return FHideListMenu; }
  Integer InVisibleCount() const { return FInVisibleCount; }
  TRect AddButtonRect() const { return FAddButtonRect; }
  // Rebuild the two list menus (the list buttons do it just before their menus open).
  void FillListMenu();
  void FillHideListMenu();

  // ---- the skin's "tab" element, copied by GetSkinData ----
  TBitmap* Picture = nullptr;
  TRect TabRect{}, ActiveTabRect{}, MouseInTabRect{}, TabsBGRect{};
  Integer TabLeftOffset = 0, TabRightOffset = 0;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0, ActiveFontColor = 0, MouseInFontColor = 0;
  String UpDown;
  bool TabStretchEffect = false;
  TRect CloseButtonRect{}, ClosebuttonActiveRect{}, CloseButtonDownRect{};
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
  TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
  TRect SkinRect{}, ClRect{};
  bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
  bool StretchEffect = false;
  TbsStretchType StretchType = bsstFull;

  // ---- state the tabs read ----
  bool FAddButtonActive = false, FAddButtonDown = false;
  Integer FBottomOffset = 0;
  Integer FCloseSize = 14;
  Integer FActiveTabOffset = 0;
  bool IsDrag = false;
  Integer DX = 0, TabDX = 0;
  bool FDown = false;
  Integer DragIndex = -1;
  Integer ActiveTabIndex = -1, OldTabIndex = -1;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void CheckParentBackground() override;
  void Dispatch(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  friend class TbsMDITab;
  bool skinned() const { return FIndex != -1; }
  bool transparentSkin() const;
  // The skinned tabs' font (the element's or the default one) in the skin's character set.
  void applyTabFont(TCanvas* C, TColor Color) const;
  // An index that still names a tab, else -1 (tabs may have gone meanwhile).
  Integer validIndex(Integer Index) const;
  // The tab's close button in bar coordinates.
  TRect closeRectOf(const TbsMDITab* Tab) const;
  void LayoutTabs();
  void DrawAddButton(TCanvas* Canvas);
  void drawTabs(TCanvas* C);
  void drawInsertionMark(TCanvas* C);
  void drawSkinBackground(TCanvas* C);
  void UpdateHover(Integer X, Integer Y);
  Integer GetDropIndex() const;
  void flushCanvas();
  void CloseTab(TbsMDITab* Tab);
  void CreateListButton();
  void RemoveListButton();
  void CreateHideListButton();
  void RemoveHideListButton();
  TbsSkinMenuSpeedButton* newListButton(TAlign Align, TbsSkinPopupMenu* Menu, Integer ArrowType);
  void fillMenu(TbsSkinPopupMenu* Menu, const String& Marker, bool HiddenOnly, bool CheckActive);
  void ListItemClick(TObject* Sender);
  void HideListItemClick(TObject* Sender);
  void showChildrenNamed(TObject* Sender, const String& Marker);
  void ClearTabs();
  void removeTabsOf(TComponent* Child, bool FirstOnly);

  bool FShowAddButton = false;
  bool FDblClickChildMove = false;
  bool FShowCloseButtons = false;
  Integer FMinTabWidth = 0;
  TbsSkinMDITabKind FTabKind = bstkTab;
  bool FSupportChildMenus = true;
  Integer FDefaultTabWidth = 100;
  Integer FDefaultHeight = 21;
  std::unique_ptr<TFont> FDefaultFont;
  bool FMoveTabs = true;
  bool FUseSkinSize = true;
  bool FUseSkinFont = true;
  TbsSkinForm* BSF = nullptr;
  TbsSkinMenuSpeedButton* FListButton = nullptr;
  TbsSkinMenuSpeedButton* FHideListButton = nullptr;
  TbsSkinPopupMenu* FListMenu = nullptr;
  TbsSkinPopupMenu* FHideListMenu = nullptr;
  Integer FInVisibleCount = 0;
  TRect FAddButtonRect{};
  bool FShowChildIcon = false;
  Integer FDragLimit = 0;
  std::vector<std::unique_ptr<TbsMDITab>> ObjectList;
};
