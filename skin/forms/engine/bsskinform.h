// The form skinning engine: one non-visual component per form that takes over the form's window
// procedure and draws the whole frame (caption, borders, caption buttons, window shape) from the
// skin, or in a flat default look without one. It answers the non-client hit tests, runs moving,
// sizing, snapping and the window states itself, paints the client background and forwards every
// skin change to the form's skinned controls.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/lists.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/timer.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/menus/menu.h"
#include "skin/core/bslayered.h"
#include "skin/core/bsskindata.h"
#include "skin/forms/engine/bscustomformlayerborder.h"
#include "skin/forms/engine/bsformribbon.h"
#include "skin/forms/frame/bsformobjecthost.h"
#include "skin/forms/frame/bsquickbuttons.h"
#include "skin/menus/bsskinmenu.h"
#include "skin/menus/bsskinmenuhost.h"

class TbsActiveSkinObject;
class TbsClientInActivePanel;
class TbsSkinHint;
class TbsSkinMDITabsBar;
class TbsSkinScrollBar;
class TbsSkinStatusBar;
class TCustomImageList;

// Scoped: the platform's form icons use the first three names already.
enum class TbsBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TbsBorderIcons = TSet<TbsBorderIcon>;
enum TbsPositionInMonitor { bspDefault, bspScreenCenter, bspDesktopCenter };
enum TbsClientInActiveEffect { bsieSemiTransparent, bsieBlur };

using TbsPaintEvent = std::function<void(const String& IDName, TCanvas* Canvas, const TRect& ObjectRect)>;
using TbsMouseEnterEvent = std::function<void(const String& IDName)>;
using TbsMouseLeaveEvent = std::function<void(const String& IDName)>;
using TbsMouseDownEvent = std::function<void(const String& IDName, Integer X, Integer Y,
                                             const TRect& ObjectRect, TMouseButton Button)>;
using TbsMouseUpEvent = TbsMouseDownEvent;
using TbsMouseMoveEvent =
    std::function<void(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect)>;
using TbsActivateCustomObjectEvent = std::function<void(const String& IDName, bool& ObjectVisible)>;
using TbsOnAcceptToMDITabsBar = std::function<void(bool& Accept)>;

class TbsSkinForm;
// The form's own menu tracking (system menu, tray menu, menu bar), made by the menu bar's family.
std::unique_ptr<IbsFormMenuTracking> MakeFormMenus(TbsSkinForm* Engine);

class TbsSkinForm : public TComponent, public IbsFormObjectHost {
 public:
  using enum TbsBorderIcon;
  // The owner must be a form: anything else raises the platform's invalid-cast error.
  explicit TbsSkinForm(TComponent* AOwner);
  ~TbsSkinForm() override;
  String ClassName() const override { return "TbsSkinForm"; }
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TForm* Form() const override { return FForm; }
  TComponent* HostComponent() override { return this; }
  const TbsCaptionPaintEvent& CaptionPaintEvent() const override { return OnCaptionPaint; }

  // ---- published properties ----
  TbsSkinData* SkinData() const override { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  TbsSkinData* MenusSkinData() const override { return FMSD; }
  void SetMenusSkinData(TbsSkinData* Value);
  TWindowState WindowState() const override { return FMode.WindowStateInit; }
  void SetWindowState(TWindowState Value) override;
  TbsBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TbsBorderIcons Value);
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value);
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value);
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  bool ShowIcon() const override { return FShowIcon; }
  void SetShowIcon(bool Value);
  TFont* DefCaptionFont() const override { return FDefCaptionFont.get(); }
  void SetDefCaptionFont(TFont* Value);
  TFont* DefInActiveCaptionFont() const { return FDefInActiveCaptionFont.get(); }
  void SetDefInActiveCaptionFont(TFont* Value);
  TBitmap* LogoBitMap() const { return FLogoBitMap.get(); }
  void SetLogoBitMap(TBitmap* Value) { FLogoBitMap->Assign(Value); }
  bool LogoBitMapTransparent() const { return FLogoBitMapTransparent; }
  void SetLogoBitMapTransparent(bool Value) { FLogoBitMapTransparent = Value; }
  // The linked ribbon; linking writes this engine into the ribbon.
  IbsFormRibbon* SkinRibbon() const { return FSkinRibbon; }
  void SetSkinRibbon(IbsFormRibbon* Value);
  bool UseRibbon() const { return FUseRibbon; }
  void SetUseRibbon(bool Value);
  TbsPositionInMonitor PositionInMonitor() const { return FPositionInMonitor; }
  void SetPositionInMonitor(TbsPositionInMonitor Value) { FPositionInMonitor = Value; }
  bool ClientInActiveEffect() const { return FClientInActiveEffect; }
  void SetClientInActiveEffect(bool Value) { FClientInActiveEffect = Value; }
  TbsClientInActiveEffect ClientInActiveEffectType() const { return FClientInActiveEffectType; }
  void SetClientInActiveEffectType(TbsClientInActiveEffect Value) { FClientInActiveEffectType = Value; }
  bool DisableSystemMenu() const override { return FDisableSystemMenu; }
  void SetDisableSystemMenu(bool Value) { FDisableSystemMenu = Value; }
  bool AlwaysResize() const { return FAlwaysResize; }
  void SetAlwaysResize(bool Value) { FAlwaysResize = Value; }
  bool UseFormCursorInNCArea() const { return FUseFormCursorInNCArea; }
  void SetUseFormCursorInNCArea(bool Value) { FUseFormCursorInNCArea = Value; }
  Integer ClientWidth() const { return FClientWidth; }
  void SetClientWidth(Integer Value) { FClientWidth = Value; }
  Integer ClientHeight() const { return FClientHeight; }
  void SetClientHeight(Integer Value) { FClientHeight = Value; }
  bool HideCaptionButtons() const { return FHideCaptionButtons; }
  void SetHideCaptionButtons(bool Value) { FHideCaptionButtons = Value; }
  bool AlwaysShowInTray() const { return FAlwaysShowInTray; }
  void SetAlwaysShowInTray(bool Value) { FAlwaysShowInTray = Value; }
  bool AlwaysMinimizeToTray() const override { return FAlwaysMinimizeToTray; }
  void SetAlwaysMinimizeToTray(bool Value) { FAlwaysMinimizeToTray = Value; }
  bool UseSkinFontInCaption() const override { return FUseSkinFontInCaption; }
  void SetUseSkinFontInCaption(bool Value) { FUseSkinFontInCaption = Value; }
  bool MaximizeOnFullScreen() const { return FMaximizeOnFullScreen; }
  void SetMaximizeOnFullScreen(bool Value) { FMaximizeOnFullScreen = Value; }
  bool ShowObjectHint() const { return FShowObjectHint; }
  void SetShowObjectHint(bool Value) { FShowObjectHint = Value; }
  bool UseDefaultObjectHint() const { return FUseDefaultObjectHint; }
  void SetUseDefaultObjectHint(bool Value) { FUseDefaultObjectHint = Value; }
  bool UseDefaultSysMenu() const { return FUseDefaultSysMenu; }
  void SetUseDefaultSysMenu(bool Value) { FUseDefaultSysMenu = Value; }
  bool ShowMDIScrollBars() const { return FShowMDIScrollBars; }
  void SetShowMDIScrollBars(bool Value) { FShowMDIScrollBars = Value; }
  bool QuickButtonsShowHint() const override { return FQuickButtonsShowHint; }
  void SetQuickButtonsShowHint(bool Value) { FQuickButtonsShowHint = Value; }
  bool QuickButtonsShowDivider() const override { return FQuickButtonsShowDivider; }
  void SetQuickButtonsShowDivider(bool Value) { FQuickButtonsShowDivider = Value; }
  TCustomImageList* QuickImageList() const override { return FQuickImageList; }
  void SetQuickImageList(TCustomImageList* Value);
  TPopupMenu* SystemMenu() const { return FSystemMenu; }
  void SetSystemMenu(TPopupMenu* Value);
  // Shows the frame objects' hints (with ShowObjectHint).
  TbsSkinHint* SkinHint() const override { return FSkinHint; }
  void SetSkinHint(TbsSkinHint* Value);
  // Its size grip is hidden while the form is maximized.
  TbsSkinStatusBar* StatusBar() const { return FStatusBar; }
  void SetStatusBar(TbsSkinStatusBar* Value);
  TMainMenu* MainMenu() const { return FMainMenu; }
  void SetMainMenu(TMainMenu* Value);
  // The tabs bar that shows this MDI main form's children.
  TbsSkinMDITabsBar* MDITabsBar() const { return FMDITabsBar; }
  void SetMDITabsBar(TbsSkinMDITabsBar* Value);
  Integer MinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer Value) { FMinWidth = Value; }
  Integer MinHeight() const { return FMinHeight; }
  void SetMinHeight(Integer Value) { FMinHeight = Value; }
  Integer MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(Integer Value) { FMaxWidth = Value; }
  Integer MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(Integer Value) { FMaxHeight = Value; }
  bool Magnetic() const { return FMagnetic; }
  void SetMagnetic(bool Value) { FMagnetic = Value; }
  Integer MagneticSize() const { return FMagneticSize; }
  void SetMagneticSize(Integer Value) { FMagneticSize = Value; }
  // The menu properties live in the form's menu chain.
  bool MenusAlphaBlend() const { return FSkinMenu->AlphaBlend; }
  void SetMenusAlphaBlend(bool Value) { FSkinMenu->AlphaBlend = Value; }
  bool MenusAlphaBlendAnimation() const { return FSkinMenu->AlphaBlendAnimation; }
  void SetMenusAlphaBlendAnimation(bool Value) { FSkinMenu->AlphaBlendAnimation = Value; }
  Byte MenusAlphaBlendValue() const { return FSkinMenu->AlphaBlendValue; }
  void SetMenusAlphaBlendValue(Byte Value) { FSkinMenu->AlphaBlendValue = Value; }
  Integer MaxMenuItemsInWindow() const { return FSkinMenu->MaxMenuItemsInWindow; }
  void SetMaxMenuItemsInWindow(Integer Value) {
    if (Value >= 0) FSkinMenu->MaxMenuItemsInWindow = Value;
  }
  bool UseSkinFontInMenu() const { return FSkinMenu->UseSkinFont(); }
  void SetUseSkinFontInMenu(bool Value) { FSkinMenu->SetUseSkinFont(Value); }
  bool UseSkinSizeInMenu() const { return FSkinMenu->UseSkinSize(); }
  void SetUseSkinSizeInMenu(bool Value) { FSkinMenu->SetUseSkinSize(Value); }
  Integer DefMenuItemHeight() const { return FSkinMenu->DefaultMenuItemHeight(); }
  void SetDefMenuItemHeight(Integer Value) {
    if (Value > 0) FSkinMenu->SetDefaultMenuItemHeight(Value);
  }
  TFont* DefMenuItemFont() const { return FSkinMenu->DefaultMenuItemFont(); }
  void SetDefMenuItemFont(TFont* Value) { FSkinMenu->SetDefaultMenuItemFont(Value); }

  TbsCaptionPaintEvent OnCaptionPaint;
  TNotifyEvent OnChangeSkinData;
  TNotifyEvent OnBeforeChangeSkinData;
  TNotifyEvent OnAfterChangeSkinData;
  TbsMouseUpEvent OnMouseUpEvent;
  TbsMouseDownEvent OnMouseDownEvent;
  TbsMouseMoveEvent OnMouseMoveEvent;
  TbsMouseEnterEvent OnMouseEnterEvent;
  TbsMouseLeaveEvent OnMouseLeaveEvent;
  TbsPaintEvent OnPaintEvent;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeActivate;
  TNotifyEvent OnSkinMenuOpen;
  TNotifyEvent OnSkinMenuClose;
  TNotifyEvent OnChangeRollUpState;
  TNotifyEvent OnMainMenuEnter;
  TNotifyEvent OnMainMenuExit;
  TNotifyEvent OnMinimizeToTray;
  TNotifyEvent OnRestoreFromTray;
  TbsActivateCustomObjectEvent OnActivateCustomObject;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TNotifyEvent OnMaximize;
  TShortCutEvent OnShortCut;
  // Asked before a child of this engine's form gets a tab; Accept false keeps it off the bar.
  TbsOnAcceptToMDITabsBar OnAcceptToMDITabsBar;

  // ---- public, not published ----
  bool RollUpState() const override { return FMode.RollUpState; }
  void SetRollUpState(bool Value) override;
  Integer RealHeight() const { return FMode.RollUpState ? OldHeight : FGeometry.FormHeight; }
  bool GetSkinnableForm() const { return FSkinnableForm; }
  void SetSkinnableForm(bool Value);
  // The skin chooser's preview: the frame is drawn but never layered, and nothing glows.
  bool PreviewMode() const { return FPreviewMode; }
  void SetPreviewMode(bool Value) { FPreviewMode = Value; }
  // The skinned-menu tracking of this form, when one is installed; the form's own unless replaced.
  IbsFormMenuTracking* MenuTracking() const override { return FMenuTracking; }
  void SetMenuTracking(IbsFormMenuTracking* Value) { FMenuTracking = Value; }

  // ---- the state the frame objects, the layered border and the menu bar share ----
  const TbsFormGeometry& Geometry() const override { return FGeometry; }
  const TbsFormMode& Mode() const override { return FMode; }
  const TbsFormLayers& Layers() const override { return FLayers; }
  // The menu bar takes the keyboard (main-menu mode) and gives it back.
  void EnterMainMenuMode() { FMode.InMainMenu = true; }
  void LeaveMainMenuMode() { FMode.InMainMenu = false; }
  // The form's skinned popup menu was closed by the menu bar.
  void LeavePopupMenuMode() { FMode.InMenu = false; }
  // A frame object gives back the mouse it took with the button down.
  void ReleaseObjectCapture() override { FMode.MouseCaptureObject = -1; }
  // The layered border starts or ends sizing the form.
  void SetBorderLayerSizing(bool Value) { FMode.BorderLayerChangeSize = Value; }
  // The form's icon has an alpha channel (the caption icon button draws it blended).
  bool IsAlphaIcon() const override { return FIsAlphaIcon; }
  void UpdateIconAlpha() { FIsAlphaIcon = CheckIconAlpha(); }

  TbsQuickButtonItems* QuickButtons() const override { return FQuickButtons.get(); }
  void SetQuickButtons(TbsQuickButtonItems* V) { FQuickButtons->Assign(V); }
  bool UseFullLayeredBorder() const override;
  bool FullLayeredBorderVisible(TPoint& TopLeft) const override;
  // A full layered border on a form rolled up or minimized into a caption strip.
  bool IsRolledFullBorder() const;
  TMenuItem* GetSystemMenuItems() override;
  // The chain of open skinned popup levels of this form; every skinned menu of the form opens there.
  TbsSkinMenu* SkinMenu() override { return FSkinMenu; }
  void SkinMenuOpen() override;
  void SkinMenuClose() override;
  void MinimizeToTray() override;
  Integer GetAppMenuCaptionOffsetOf() const override;
  // The maximized MDI child of the application's main form: its active child when that is
  // maximized, else the first maximized one; nullptr when none.
  TForm* GetMaximizedMDIChild() const;
  bool GetMDIChildMaximized() const { return FMDIChildMaximized; }
  // The text the caption shows: the form's caption, and on an MDI main form with a maximized child
  // " - [" + the child's caption + "]" after it (the skinned and the default look alike).
  String CaptionText() const override;

  // ---- attachment and availability ----
  void SetFormBorderStyle(TFormBorderStyle BS);
  void SetFormStyle(TFormStyle FS);
  // Sets or clears the drop shadow of the form's window class; AHideFormBefore hides the form around
  // the change.
  void EnableShadow(bool AShowShadow, bool AHideFormBefore);
  bool GetFormActive() const override;
  bool UseLayeredBorders() const override;
  bool NeedLayeredShow() const;
  // After the application is restored: shows the other visible forms and the main form again, so
  // each layered border comes back above its form.
  void CheckAppLayeredBorders();
  bool IsSizeable() const;
  void FormShortCut(TWMKey& Msg, bool& Handled);

  // ---- frame objects ----
  void LoadObjects();
  void LoadDefaultObjects();
  void ClearObjects();
  Integer GetIndex(const String& AIDName) const;
  void SetEnabled(const String& AIDName, bool Value);
  void UserObjectDraw(const String& AIDName);
  void LinkMenu(const String& AIDName, TMenu* AMenu, bool APopupUp);
  void DrawSkinObject(TbsActiveSkinObject* AObject) override;
  void CalcNewRects();
  void GetNewObjectRect(const TRect& R, TRect& NewR) const;
  void ArrangeObjects();
  void UpdateSkinFrame(bool AArrange);
  void CheckObjects();
  void UpdateObjectHints();
  void ClearObjectsState();
  void CheckFormActive(bool AAnimate);
  Integer ObjectCount() const { return Integer(ObjectList.size()); }
  TbsActiveSkinObject* Objects(Integer Index) const { return ObjectList[size_t(Index)].get(); }
  // Event relays the objects call.
  void DoPaintEvent(const String& IDName, TCanvas* Canvas, const TRect& ObjectRect) override;
  void DoMouseDownEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                        TMouseButton Button) override;
  void DoMouseUpEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                      TMouseButton Button) override;
  void DoMouseMoveEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect) override;
  void DoMouseEnterEvent(const String& IDName) override;
  void DoMouseLeaveEvent(const String& IDName) override;
  TTimer* MorphTimer() const override { return FMorphTimer.get(); }
  TTimer* AnimateTimer() const override { return FAnimateTimer.get(); }
  TTimer* MouseTimer() const { return FMouseTimer.get(); }

  // ---- skin change ----
  void ApplySkinData();
  void BeforeChangeSkinDataControls(TbsSkinData* ASkinData, TWinControl* AControl);
  void ChangeSkinDataControls(TbsSkinData* ASkinData, TWinControl* AControl);
  void CheckControlsBackground();

  // ---- hit testing, mouse, moving, sizing, states ----
  Integer GetMinWidth() const;
  Integer GetMinHeight() const;
  Integer GetMaxWidth() const;
  Integer GetMaxHeight() const;
  Integer GetDefCaptionHeight() const override;
  Integer GetDefButtonSize() const;
  void PointToNC(TPoint& P) const;
  LRESULT HitTestDefault(const TPoint& P);
  LRESULT HitTestSkin(const TPoint& P);
  bool PtInMask(const TPoint& P) const;
  bool PtInCaptionArea(const TPoint& P) const;
  void TestActive(Integer X, Integer Y, bool AMouseIn) override;
  void NCMouseMove(Integer X, Integer Y);
  void NCMouseDown(TMouseButton Button, Integer X, Integer Y);
  void NCMouseUp(TMouseButton Button, Integer X, Integer Y);
  void NCDblClick();
  void CheckMagnetic(Integer& ALeft, Integer& ATop, Integer AWidth, Integer AHeight);
  static bool GetFullDragWindows();
  void Move(Integer AX, Integer AY);
  void SetBounds(Integer AX, Integer AY, Integer AW, Integer AH);
  void ApplyPositionInMonitor();
  TPoint GetPositionInMonitor(Integer AX, Integer AY, Integer AW, Integer AH) const;
  void ApplyWindowState(TWindowState AState);
  void DoMinimize();
  void DoMaximize();
  void DoNormal();
  void DoRollUp();
  void DoRollDown();
  void CalcMinimizedPosition(TPoint& P) const;
  void RestoreOldFormBounds();
  void ForceResize();

  // ---- painting, region, backgrounds ----
  void UpDateFormNC() override;
  void CalcDefRects();
  void GetDefCaptionRect(TRect& R);
  void PaintNCDefault(HDC DC, bool AUseExternalDC);
  void PaintNCSkin(HDC DC, bool AUseExternalDC);
  void SetFormRegion(bool AFromParts);
  void GetIconSize(Integer& W, Integer& H) const override;
  void DrawFormIcon(TCanvas* Canvas, Integer X, Integer Y) override;
  bool CheckIconAlpha();
  bool GetAutoRenderingInActiveImage() const override;
  void FitCaptionText(TCanvas* Canvas, String& S, Integer MaxWidth) const;
  // The linked ribbon's application menu is open and the skin gives it a caption picture.
  bool CanShowAppMenuCaption() const override;
  void DrawAppMenuCaption(TCanvas* Canvas, const TRect& R);
  void PaintBG(HDC DC);
  void PaintBG2(HDC DC);
  void PaintBG3(HDC DC);
  void PaintBGDefault(HDC DC);
  void PaintMDIBGDefault(HDC DC);
  void DrawLogo(TCanvas* Canvas);
  void ShowClientInActiveEffect();
  void HideClientInActiveEffect();

  // ---- MDI main form: the client window and its scroll bars ----
  void MDIClientWndProc(TMessage& Message);
  void CreateMDIScrollBars();
  void UpdateMDIScrollBars(bool AUpdateRange);
  void AlignMDIScrollBars();
  void ScrollMDIChildrenHorz(Integer ADelta);
  void ScrollMDIChildrenVert(Integer ADelta);
  void OnMDIHScrollBarUpClick(TObject* Sender);
  void OnMDIHScrollBarDownClick(TObject* Sender);
  void OnMDIHScrollBarChange(TObject* Sender);
  void OnMDIVScrollBarUpClick(TObject* Sender);
  void OnMDIVScrollBarDownClick(TObject* Sender);
  void OnMDIVScrollBarChange(TObject* Sender);
  // Every MDI child re-fits itself when maximized.
  void FitMaximizedChildren();
  // Without the MDI scroll bars, minimized children keep to the slots along the client's bottom.
  void ArrangeMinimizedMDIChildren();
  // The part of the main form's client area that its visible aligned controls leave; R stays as it
  // is without a main form.
  void GetMDIClientRect(TRect& R) const;
  // ---- MDI main form: the children's window commands ----
  TTileMode TileMode() const { return FTileMode; }
  void SetTileMode(TTileMode Value) { FTileMode = Value; }
  void Tile();
  void Cascade();
  void MinimizeAll();
  void MaximizeAll();
  void CloseAll();
  void RestoreAll();
  void RestoreAllExcept(HWND AFormHandle);
  // ---- MDI: the children in the main form's window menu and tabs bar (called on a child's engine;
  // they work on the main form's engine) ----
  void AddChildToMenu(TCustomForm* Child);
  void AddChildToBar(TCustomForm* Child);
  void DeleteChildFromMenu(TCustomForm* Child);
  void DeleteChildFromBar(TCustomForm* Child);
  void UpDateChildCaptionInMenu(TCustomForm* Child);
  void UpDateChildActiveInMenu();
  void RefreshMDIBarTab(TCustomForm* Child);
  // A child's window-menu item was chosen: every child of that name is restored if minimized and shown.
  void MDIItemClick(TObject* Sender);
  // The main form's tabs bar marks the active child.
  void UpdateMDITabsBar();
  TbsSkinScrollBar* MDIHScrollBar() const { return FMDIHScrollBar; }
  TbsSkinScrollBar* MDIVScrollBar() const { return FMDIVScrollBar; }

  // ---- the window procedure ----
  void FormWndProc(TMessage& Message);

 private:
  friend struct TbsSkinFormTestAccess;

  TbsFormGeometry FGeometry;
  TbsFormMode FMode;
  TbsFormLayers FLayers;
  IbsFormMenuTracking* FMenuTracking = nullptr;
  // The form's own system menu, tray menu and menu-bar tracking; MenuTracking names it unless replaced.
  std::unique_ptr<IbsFormMenuTracking> FFormMenus;
  std::unique_ptr<TbsQuickButtonItems> FQuickButtons;
  bool MinimizeDefault = false, FPreviewMode = false, AlwaysDisableLayeredFrames = false;
  bool FInMaximizeAll = false, FInRestoreAll = false;
  WNDPROC FClientInstance = nullptr;
  WNDPROC FPrevClientProc = nullptr;
  Integer FOldHSrollBarPosition = 0, FOldVSrollBarPosition = 0;
  bool FStopCheckChildMove = false;
  HWND ChangeVisibleChildHanle = nullptr;
  TWndMethod OldWindowProc;
  bool FSkinnableForm = true;
  bool FIsVistaOs = true;
  bool FIsW7 = true;
  bool FIsLayerEnabled = true;
  Integer FOldFormLeft = 0, FOldFormTop = 0;
  bool FBorderLayerHiddenByMinimize = false;
  bool FStopPainting = false;
  bool FStartShow = true;
  bool FInShortCut = false;
  TPoint FOnMouseDownCoord{-1, -1};
  bool HMagnetized = false, VMagnetized = false, HMagnetized2 = false, VMagnetized2 = false;
  TRect OldBoundsRect;
  Integer OldHeight = 0;
  TRect FOldFormBounds;
  Integer FOldFullBorder = -1;
  bool FSmartEffectsShow = false;
  bool FHaveShadow = false;
  bool FIsAlphaIcon = false;
  bool FMDIChildMaximized = false;
  bool FClientInActiveDraw = false;
  TColor BlackColor = TColor(0);
  // The four border strips of the skin mask at the current size.
  std::unique_ptr<TBitmap> RMTop, RMLeft, RMBottom, RMRight;
  HRGN FRgn = nullptr;
  TForm* FForm = nullptr;
  TbsSkinMenu* FSkinMenu = nullptr;  // owned as a component
  TbsSkinData* FSD = nullptr;
  TbsSkinData* FMSD = nullptr;
  TMainMenu* FMainMenu = nullptr;
  TPopupMenu* FSystemMenu = nullptr;
  TCustomImageList* FQuickImageList = nullptr;
  TbsSkinHint* FSkinHint = nullptr;
  TbsSkinStatusBar* FStatusBar = nullptr;
  TbsSkinMDITabsBar* FMDITabsBar = nullptr;
  // The same bar as a component, for its free notification.
  TComponent* FMDITabsBarComponent = nullptr;
  std::vector<std::unique_ptr<TbsActiveSkinObject>> ObjectList;
  std::unique_ptr<TTimer> FMouseTimer, FMorphTimer, FAnimateTimer;
  std::unique_ptr<TFont> FDefCaptionFont, FDefInActiveCaptionFont;
  std::unique_ptr<TBitmap> FLogoBitMap;
  std::unique_ptr<TIcon> FIcon;
  TbsClientInActivePanel* FInActivePanel = nullptr;
  // Owned as components.
  TbsSkinScrollBar* FMDIHScrollBar = nullptr;
  TbsSkinScrollBar* FMDIVScrollBar = nullptr;
  HWND FSubclassedClient = nullptr;
  TbsBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize, biRollUp};
  bool FAlphaBlend = false;
  Byte FAlphaBlendValue = 200;
  bool FAlphaBlendAnimation = false;
  bool FShowIcon = false;
  bool FLogoBitMapTransparent = false;
  bool FUseRibbon = false;
  // The ribbon and the component behind it, kept apart: the free notification arrives when only the
  // component is left.
  IbsFormRibbon* FSkinRibbon = nullptr;
  TComponent* FSkinRibbonComponent = nullptr;
  TbsPositionInMonitor FPositionInMonitor = bspDefault;
  bool FClientInActiveEffect = false;
  TbsClientInActiveEffect FClientInActiveEffectType = bsieSemiTransparent;
  bool FDisableSystemMenu = false;
  bool FAlwaysResize = false;
  bool FUseFormCursorInNCArea = false;
  Integer FClientWidth = 0, FClientHeight = 0;
  bool FHideCaptionButtons = false;
  bool FAlwaysShowInTray = false;
  bool FAlwaysMinimizeToTray = false;
  bool FUseSkinFontInCaption = true;
  bool FMaximizeOnFullScreen = false;
  bool FShowObjectHint = false;
  bool FUseDefaultObjectHint = true;
  bool FUseDefaultSysMenu = true;
  bool FShowMDIScrollBars = true;
  bool FQuickButtonsShowHint = false;
  bool FQuickButtonsShowDivider = true;
  Integer FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
  bool FMagnetic = false;
  Integer FMagneticSize = 5;

  bool designing() const { return ComponentState().Contains(csDesigning); }
  bool loadingOrDesigning() const {
    return ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading);
  }
  // A loaded skin whose frame picture can frame a window; any other skin draws the default frame.
  bool skinLoaded() const;
  bool frameDrawn() const;
  bool isMainForm() const;
  TRect workAreaOfForm() const;
  TRect monitorOfForm() const;
  void mouseTimerProc(TObject* Sender);
  void morphTimerProc(TObject* Sender);
  void animateTimerProc(TObject* Sender);
  void applyMinimumSize();
  // The linked ribbon's part of the shortcut handler and of the keyboard-menu command.
  void ribbonShortCut(TWMKey& Msg, TMessage& M, bool& Handled);
  void ribbonKeyMenu();
  // Window procedure branches.
  bool firstDispatch(TMessage& M);
  void secondDispatch(TMessage& M);
  void closeMenusOnMessage(const TMessage& M);
  void wmShowWindow(TMessage& M);
  void wmFadeInTimer(TMessage& M);
  void wmSize(TMessage& M);
  void wmSizing(TMessage& M);
  void moveSizeLoopMessage(TMessage& M);
  void wmWindowPosChanged(TMessage& M);
  void wmNCCalcSize(TMessage& M);
  void wmNCActivate(TMessage& M);
  void wmNCHitTest(TMessage& M);
  void wmNCLButtonDblClk(TMessage& M);
  bool privateMessage(TMessage& M);
  // Keeps the bounds before a skin or border change (left, top, width, height).
  void saveFrameBounds();
  bool fullLayeredBorderShown() const;
  void layeredShowWindow(const TMessage& M);
  void layeredBordersChanged();
  // The layered border is shown around the form and the outer bounds include it.
  bool layeredOuterBounds() const;
  // MDI: the client window's subclass, the messages between a main form and its children.
  void subclassMDIClient();
  void releaseMDIClient();
  bool mdiPrivateMessage(TMessage& M);
  // The main form's side once children were restored: caption, menu bar buttons, scroll bars.
  void childrenRestored();
  void mdiChildDestroyed();
  void mdiChildMouseActivate();
  void mdiChildTextChanged();
  void updateMainMenuBar();
  bool isMDIChild() const { return FForm->FormStyle() == fsMDIChild; }
  bool isMDIMain() const { return FForm->FormStyle() == fsMDIForm; }
  void updateMDIScrollBarsOnce(bool AUpdateRange, bool& Changed);
  void cancelSkinControlsMode();
  void maximizeInMonitor();
  // The arrangements' common start: children restored, the area to fill; false when there is none.
  bool prepareArrangement(TRect& A);
  TTileMode FTileMode = tbHorizontal;
  // The bar's move since the remembered position (remembered anew), as a children's offset.
  static Integer takeScrollDelta(TbsSkinScrollBar* Bar, Integer& Old);
  void scrollMDIChildren(Integer DX, Integer DY);
  static TCustomForm* appMainForm();
  TRect magneticArea() const;
  // The main form's engine and its window menu's child items.
  static TbsSkinForm* mainSkinForm();
  static TMenuItem* mainWindowMenu();
  static TMenuItem* findChildItem(TMenuItem* WindowMenu, TCustomForm* Child);
  // To the application's main form while its window can still take a message; 0 otherwise.
  static LRESULT sendToMainForm(UINT Msg, WPARAM WParam);
  // Between WM_DESTROY and the next show: nothing is laid out on a window that is going.
  bool FWindowDestroying = false;
  bool FAppRestoreHooked = false;  // Application.OnRestore is ours
  void setWindowAlpha(Byte Alpha);
  void setLayeredStyle(bool On);
};

// The first TbsSkinForm among the form's owned components; nullptr for a form without one or none.
TbsSkinForm* GetSkinFormOf(TCustomForm* Form);
// A form's MDI children in one pass, in MDIChildren order (each MDIChildren(i) walks the client anew).
std::vector<TCustomForm*> MDIChildrenOf(const TCustomForm* Main);
// The engine of the first MDI child of the application's main form whose engine is maximized.
TbsSkinForm* GetMaximizedMDIChildSkinForm();
// The engine of the application's main form's active MDI child; nullptr without one.
TbsSkinForm* GetActiveMDIChildSkinForm();
