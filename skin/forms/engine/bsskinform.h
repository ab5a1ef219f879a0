// TbsSkinForm: the form skinning engine, one per form. It owns the frame objects (skin/forms/frame)
// and draws the whole frame from the skin. This header holds what the frame objects reach of it.
#pragma once

#include <functional>
#include <memory>

#include "platform/rtl/classes.h"
#include "platform/rtl/lists.h"
#include "platform/rtl/tset.h"
#include "platform/ui/core/controlstypes.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/timer.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/graphicsobjects.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/menus/menuitem.h"
#include "skin/core/bslayered.h"
#include "skin/core/bsskindata.h"

class TbsActiveSkinObject;
class TbsQuickButtonItems;
class TbsFormLayerBorder;
class TbsSkinHint;

// Scoped: the platform's form already names its own border icons biSystemMenu, biMinimize, biMaximize.
enum class TbsBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TbsBorderIcons = TSet<TbsBorderIcon>;

using TbsCaptionPaintEvent = std::function<void(TCanvas* Cnvs, const TRect& R, bool AActive)>;
using TbsPaintEvent = std::function<void(const String& IDName, TCanvas* Canvas, const TRect& ObjectRect)>;
using TbsMouseEnterEvent = std::function<void(const String& IDName)>;
using TbsMouseLeaveEvent = std::function<void(const String& IDName)>;
using TbsMouseDownEvent =
    std::function<void(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect, TMouseButton Button)>;
using TbsMouseUpEvent = TbsMouseDownEvent;
using TbsMouseMoveEvent = std::function<void(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect)>;
using TbsActivateCustomObjectEvent = std::function<void(const String& IDName, bool& ObjectVisible)>;

class TbsSkinForm : public TComponent {
 public:
  explicit TbsSkinForm(TComponent* AOwner);
  ~TbsSkinForm() override;
  String ClassName() const override { return "TbsSkinForm"; }

  // --- Activation and frame state
  // True in PreviewMode; the engine's own flag for MDI forms; otherwise the form's Active.
  bool GetFormActive();
  // The layered border windows are in use (never without a layered frame in the skin).
  bool UseLayeredBorders();
  // The layered border is used with a full border (frame objects then never morph).
  bool UseFullLayeredBorder();
  // A full layered border is shown with its top window at TopLeft (screen coordinates).
  bool FullLayeredBorderVisible(TPoint& TopLeft);
  // 15 for tool-window border styles, else 19.
  Integer GetDefCaptionHeight();

  // --- Objects (frame coordinates)
  // Redraws one object on the window frame (or updates the layered border).
  void DrawSkinObject(TbsActiveSkinObject* AObject);
  // Which object is under (X, Y); moves MouseEnter/MouseLeave. (-1, -1, false) ends every hover.
  void TestActive(Integer X, Integer Y, bool AMouseIn);
  Integer GetIndex(const String& AIDName);
  TbsActiveSkinObject* ObjectAt(Integer Index) const;
  Integer ObjectCount() const;

  // Relays of the objects' events to the engine's events.
  void DoPaintEvent(const String& IDName, TCanvas* Canvas, const TRect& ObjectRect);
  void DoMouseDownEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect, TMouseButton Button);
  void DoMouseUpEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect, TMouseButton Button);
  void DoMouseMoveEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect);
  void DoMouseEnterEvent(const String& IDName);
  void DoMouseLeaveEvent(const String& IDName);

  // --- Window states and commands
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  bool RollUpState() const { return FRollUpState; }
  void SetRollUpState(bool Value);
  void MinimizeToTray();
  // The items to show as the system menu.
  TMenuItem* GetSystemMenuItems();
  // The form enters skinned-menu mode before one of its objects opens a menu.
  void SkinMenuOpen();
  // Repaints the frame: the layered border when a full one is shown, else WM_NCPAINT.
  void UpDateFormNC();

  // --- Icon and ribbon caption
  bool ShowIcon() const { return FShowIcon; }
  void SetShowIcon(bool Value);
  TPoint GetIconSize();
  void DrawFormIcon(TCanvas* Cnvs, Integer X, Integer Y);
  bool CanShowAppMenuCaption();
  Integer GetAppMenuCaptionOffsetOf();
  bool GetAutoRenderingInActiveImage();

  // --- Properties read by the objects
  TbsSkinData* SkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  TbsSkinData* MenusSkinData() const { return FMSD; }
  TbsQuickButtonItems* QuickButtons() const { return FQuickButtons.get(); }
  TCustomImageList* QuickImageList() const { return FQuickImageList; }
  void SetQuickImageList(TCustomImageList* Value) { FQuickImageList = Value; }
  bool QuickButtonsShowHint() const { return FQuickButtonsShowHint; }
  bool QuickButtonsShowDivider() const { return FQuickButtonsShowDivider; }
  bool UseSkinFontInCaption() const { return FUseSkinFontInCaption; }
  TFont* DefCaptionFont() const { return FDefCaptionFont.get(); }
  bool DisableSystemMenu() const { return FDisableSystemMenu; }
  bool AlwaysMinimizeToTray() const { return FAlwaysMinimizeToTray; }
  TbsBorderIcons BorderIcons() const { return FBorderIcons; }

  // Frame state shared with the objects.
  TForm* FForm = nullptr;
  TbsSkinData* FSD = nullptr;
  TbsSkinData* FMSD = nullptr;
  bool FSkinSupport = false;
  bool FFormActive = false;
  bool PreviewMode = false;
  TWindowState FWindowStateInit = wsNormal;
  TWindowState FWindowState = wsNormal;
  bool FRollUpState = false;
  bool FShowIcon = false;
  bool IsAlphaIcon = false;
  bool FAlwaysMinimizeToTray = false;
  bool FDisableSystemMenu = false;
  bool FQuickButtonsShowHint = false;
  bool FQuickButtonsShowDivider = true;
  bool FUseSkinFontInCaption = true;
  bool FMDIChildMaximized = false;
  TbsBorderIcons FBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize,
                             TbsBorderIcon::biRollUp};
  TRect NewClRect;
  Integer ActiveObject = -1;
  Integer OldActiveObject = -1;
  Integer MouseCaptureObject = -1;

  std::unique_ptr<TbsQuickButtonItems> FQuickButtons;
  TCustomImageList* FQuickImageList = nullptr;
  std::unique_ptr<TFont> FDefCaptionFont;
  TbsSkinHint* FSkinHint = nullptr;
  TbsFormLayerBorder* FBorderLayer = nullptr;
  TbsLayerManager* FLayerManager = nullptr;      // owned (component)
  TbsLayerManager* FMenuLayerManager = nullptr;  // owned (component)
  TTimer* AnimateTimer = nullptr;                // owned (component), 25 ms
  TTimer* MorphTimer = nullptr;                  // owned (component), 25 ms
  // TbsActiveSkinObject*, owned.
  std::unique_ptr<TList> ObjectList;

  TbsCaptionPaintEvent OnCaptionPaint;
  TbsPaintEvent OnPaintEvent;
  TbsMouseDownEvent OnMouseDownEvent;
  TbsMouseUpEvent OnMouseUpEvent;
  TbsMouseMoveEvent OnMouseMoveEvent;
  TbsMouseEnterEvent OnMouseEnterEvent;
  TbsMouseLeaveEvent OnMouseLeaveEvent;
  TbsActivateCustomObjectEvent OnActivateCustomObject;
  TNotifyEvent OnMinimizeToTray;
  TNotifyEvent OnChangeRollUpState;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void AnimateTimerProc(TObject* Sender);
  void MorphTimerProc(TObject* Sender);
};
