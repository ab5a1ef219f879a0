// What the frame objects and the quick buttons reach of the form engine that owns them: the records
// it shares (frame geometry, form mode, layers), the skins, the form's caption and icon, the relays of
// the application's object events and the form's menu tracking. The engine implements it.
#pragma once

#include <functional>

#include "platform/ui/core/form.h"
#include "platform/ui/core/timer.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/menus/menu.h"
#include "skin/core/bslayered.h"
#include "skin/menus/bsskinmenuhost.h"

class TbsActiveSkinObject;
class TbsCustomFormLayerBorder;
class TbsQuickButtonItems;
class TbsSkinHint;
class TCustomImageList;

using TbsCaptionPaintEvent = std::function<void(TCanvas* Cnvs, const TRect& R, bool AActive)>;

// The engine's calls into the form's keyboard menu tracking, the system menu and the tray, which are
// built above the engine. Absent, the calls do nothing.
class IbsFormMenuTracking {
 public:
  virtual ~IbsFormMenuTracking() = default;
  // Leaves main-menu mode (the menu bar gives the keyboard back).
  virtual void SkinMainMenuClose() = 0;
  // The system menu at a screen point, and below the system-menu button (Alt+Space).
  virtual void PopupSystemMenu(const TPoint& P) = 0;
  virtual void PopupSystemMenuAtButton() = 0;
  // SC_KEYMENU outside menu mode: the menu bar enters its keyboard mode.
  virtual void MenuBarMenuEnter() = 0;
  // Alt+letter: true when the menu bar opened the item with that accelerator.
  virtual bool MainMenuBarAccel(Word Key) = 0;
  // The items of the form's system menu (the built-in one or the application's SystemMenu).
  virtual TMenuItem* GetSystemMenuItems() = 0;
  virtual void MinimizeToTray() = 0;
  // The application hook that hands key presses to the open menu; main-menu mode of the bar ends.
  virtual void HookApp() {}
  virtual void UnHookApp() {}
  virtual void MainMenuBarExit() {}
  // The main menu of the linked menu bar; null without a bar or a menu on it.
  virtual TMainMenu* MainMenuBarMenu() const { return nullptr; }
  // The menu of the maximized MDI child the bar shows beside the form's own; null when none.
  virtual TMainMenu* MainMenuBarChildMenu() const { return nullptr; }
  // The engine's skin changed (the tray menu follows it).
  virtual void SkinDataChanged(TbsSkinData* Value) { (void)Value; }
  // An MDI child of this main form was maximized, or the children restored: the menu bar shows or
  // drops the child's buttons.
  virtual void MDIChildMaximize() {}
  virtual void MDIChildRestore() {}
  // The menu of the maximized MDI child changed: the menu bar that shows one takes its items anew.
  virtual void ChildMenuChanged() {}
};

// The frame's layout at the form's current bounds, as the engine last worked it out: the layered
// border, the frame objects and the menu bar place themselves by it.
struct TbsFormGeometry {
  Integer FormLeft = 0, FormTop = 0, FormWidth = 0, FormHeight = 0;
  // The skin's frame stretched to the form's size: corner points, client, caption and buttons areas.
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewClRect, NewCaptionRect, NewButtonsRect;
  Integer NewButtonsOffset = 0;
  bool NewButtonsInLeft = false;
  TRect NewMaskRectArea;
  TPoint NewHitTestLTPoint, NewHitTestRTPoint, NewHitTestLBPoint, NewHitTestRBPoint;
  TRect NewDefCaptionRect;
};

// What the form is doing: its window state, rolling, moving and sizing, the menu modes and the frame
// object that has the mouse.
struct TbsFormMode {
  // The skin draws the frame (a loaded skin on a skinnable form); else the default look does.
  bool SkinSupport = false;
  // The state the form asked for (the WindowState property) and the one its window is in.
  TWindowState WindowStateInit = wsNormal;
  TWindowState WindowState = wsNormal;
  bool RollUpState = false, MaxRollUpState = false, RollUpBeforeMaximize = false;
  bool SizeMove = false, Sizing = false, FullDrag = false;
  // The layered border is sizing the form.
  bool BorderLayerChangeSize = false;
  bool FormActive = false;
  // A skinned popup menu of the form is open; the menu bar holds the keyboard.
  bool InMenu = false, InMainMenu = false;
  // Indexes of the frame objects under the mouse now and before, and of the one that took the
  // button down; -1 for none.
  Integer ActiveObject = -1, OldActiveObject = -1, MouseCaptureObject = -1;
};

// The glow layers of the caption buttons and menu-bar buttons, and the layered border (owned).
struct TbsFormLayers {
  TbsLayerManager* LayerManager = nullptr;
  TbsLayerManager* MenuLayerManager = nullptr;
  TbsCustomFormLayerBorder* BorderLayer = nullptr;
};

class IbsFormObjectHost : public IbsSkinMenuHost {
 public:
  // The engine as a component (the owner of its collections).
  virtual TComponent* HostComponent() = 0;
  virtual TForm* Form() const = 0;
  virtual const TbsFormGeometry& Geometry() const = 0;
  virtual const TbsFormMode& Mode() const = 0;
  virtual const TbsFormLayers& Layers() const = 0;
  virtual TWindowState WindowState() const = 0;
  virtual bool RollUpState() const = 0;
  virtual bool GetFormActive() const = 0;
  virtual bool UseLayeredBorders() const = 0;
  virtual bool UseFullLayeredBorder() const = 0;
  virtual bool FullLayeredBorderVisible(TPoint& TopLeft) const = 0;
  virtual IbsFormMenuTracking* MenuTracking() const = 0;
  virtual TMenuItem* GetSystemMenuItems() = 0;
  virtual bool DisableSystemMenu() const = 0;
  virtual void UpDateFormNC() = 0;
  virtual void DrawSkinObject(TbsActiveSkinObject* AObject) = 0;
  virtual void ReleaseObjectCapture() = 0;
  // Hover tracking of the objects at a frame point, as the mouse timer does it.
  virtual void TestActive(Integer X, Integer Y, bool AMouseIn) = 0;
  // ---- the caption buttons' commands ----
  virtual void SetWindowState(TWindowState Value) = 0;
  virtual void SetRollUpState(bool Value) = 0;
  virtual bool AlwaysMinimizeToTray() const = 0;
  virtual void MinimizeToTray() = 0;
  virtual TTimer* MorphTimer() const = 0;
  virtual TTimer* AnimateTimer() const = 0;
  virtual TbsSkinHint* SkinHint() const = 0;
  // ---- the caption and the icon ----
  virtual String CaptionText() const = 0;
  virtual const TbsCaptionPaintEvent& CaptionPaintEvent() const = 0;
  virtual TFont* DefCaptionFont() const = 0;
  virtual bool UseSkinFontInCaption() const = 0;
  virtual Integer GetDefCaptionHeight() const = 0;
  virtual bool GetAutoRenderingInActiveImage() const = 0;
  virtual bool CanShowAppMenuCaption() const = 0;
  virtual Integer GetAppMenuCaptionOffsetOf() const = 0;
  virtual bool ShowIcon() const = 0;
  virtual bool IsAlphaIcon() const = 0;
  virtual void GetIconSize(Integer& W, Integer& H) const = 0;
  virtual void DrawFormIcon(TCanvas* Canvas, Integer X, Integer Y) = 0;
  // ---- the quick buttons ----
  virtual TbsQuickButtonItems* QuickButtons() const = 0;
  virtual TCustomImageList* QuickImageList() const = 0;
  virtual bool QuickButtonsShowHint() const = 0;
  virtual bool QuickButtonsShowDivider() const = 0;
  // ---- relays of the application's object events ----
  virtual void DoPaintEvent(const String& IDName, TCanvas* Canvas, const TRect& ObjectRect) = 0;
  virtual void DoMouseDownEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                                TMouseButton Button) = 0;
  virtual void DoMouseUpEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                              TMouseButton Button) = 0;
  virtual void DoMouseMoveEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect) = 0;
  virtual void DoMouseEnterEvent(const String& IDName) = 0;
  virtual void DoMouseLeaveEvent(const String& IDName) = 0;
};
