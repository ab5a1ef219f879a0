// TbsTrayIcon: one icon in the notification area. Mouse activity on the icon arrives on a hidden
// window as the icon's callback message and becomes component events (single and double clicks told
// apart by a timer); the right button (or the left one, when asked) opens a skinned popup menu at the
// cursor; an image list can animate the icon; balloon hints; the icon comes back when the tray is made
// again; and the application's main form can be hidden to the icon and restored from it.
#pragma once

#include <memory>

#include "platform/shell/tray.h"
#include "platform/ui/core/timer.h"
#include "platform/ui/graphics/icon.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/forms/menubar/bsformmenus.h"
#include "skin/menus/bsskinmenu.h"

enum TbsBalloonHintIcon { bsbitNone, bsbitInfo, bsbitWarning, bsbitError };

using TbsCycleEvent = std::function<void(TObject* Sender, Integer NextIndex)>;

class TbsTrayIcon : public TComponent, public IbsFormTrayIcon {
 public:
  // The icon's callback message and the record's fixed values.
  static constexpr UINT WM_TRAYNOTIFY = 2048;
  static constexpr UINT TrayIconId = 1;
  static constexpr UINT DefaultFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

  explicit TbsTrayIcon(TComponent* AOwner);
  ~TbsTrayIcon() override;
  String ClassName() const override { return "TbsTrayIcon"; }

  bool DesignPreview() const { return FDesignPreview; }
  void SetDesignPreview(bool Value);
  TCustomImageList* IconList() const { return FIconList; }
  void SetIconList(TCustomImageList* Value);
  bool CycleIcons() const { return FCycleIcons; }
  void SetCycleIcons(bool Value);
  Cardinal AnimateTimerInterval() const { return FAnimateTimerInterval; }
  void SetAnimateTimerInterval(Cardinal Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  String Hint() const { return FHint; }
  void SetHint(const String& Value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  TIcon* Icon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value);
  bool IconVisible() const { return FIconVisible; }
  void SetIconVisible(bool Value) override;
  Integer IconIndex() const { return FIconIndex; }
  void SetIconIndex(Integer Value);
  TbsSkinPopupMenu* SkinPopupMenu() const { return FPopupMenu; }
  void SetSkinPopupMenu(TbsSkinPopupMenu* Value);
  bool PopupByLeftButton() const { return FPopupByLeftButton; }
  void SetPopupByLeftButton(bool Value) { FPopupByLeftButton = Value; }
  bool MinimizedOnStart() const { return FMinimizedOnStart; }
  void SetMinimizedOnStart(bool Value) { FMinimizedOnStart = Value; }
  bool MinimizeToTray() const { return FMinimizeToTray; }
  void SetMinimizeToTray(bool Value) override { FMinimizeToTray = Value; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TbsCycleEvent OnCycle;
  TNotifyEvent OnBalloonHintClick;

  // The hidden window that receives the icon's notifications, and its parent window.
  HWND Handle() const { return IconData.hWnd; }
  HWND WindowHandle() const { return FWindowHandle; }
  const NOTIFYICONDATA& Data() const { return IconData; }

  virtual bool LoadDefaultIcon() { return true; }
  // Each reports whether the tray took the call.
  virtual bool ShowIcon();
  virtual bool HideIcon();
  virtual bool ModifyIcon();
  bool Refresh() { return ModifyIcon(); }
  bool ShowBalloonHint(const String& Title, const String& Text, TbsBalloonHintIcon IconType);
  bool HideBalloonHint();
  void ShowMainForm() override;
  void HideMainForm();
  bool BitmapToIcon(TBitmap* Bitmap, TIcon* AIcon, TColor MaskColor);

  // ---- what the form engine needs ----
  TPopupMenu* PopupMenu() const override { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value) override { SetSkinPopupMenu(dynamic_cast<TbsSkinPopupMenu*>(Value)); }
  bool HasOnDblClick() const override { return bool(OnDblClick); }
  void SetOnDblClick(TNotifyEvent Value) override { OnDblClick = std::move(Value); }

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void Click();
  virtual void DblClick();
  virtual void DoCycle();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void DoMinimizeToTray();

 private:
  static LRESULT iconWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  LRESULT IconWndProc(UINT Msg, WPARAM WParam, LPARAM LParam);
  void iconCallback(UINT Event);
  bool InitIcon();
  bool notify(DWORD Message);
  void HookApp();
  void UnhookApp();
  bool AppWndProc(TMessage& Message);
  void HookParent();
  void ParentWndProc(TMessage& Message);
  void PopupAtCursor();
  void TimerCycle(TObject* Sender);
  void TimerClick(TObject* Sender);
  TShiftState GetShiftState();
  TWinControl* ownerControl() const;
  bool running() const { return !ComponentState().Contains(csDesigning); }

  bool FEnabled = true;
  std::unique_ptr<TIcon> FIcon;
  bool FIconVisible = true;
  String FHint;
  bool FShowHint = true;
  TbsSkinPopupMenu* FPopupMenu = nullptr;
  bool FPopupByLeftButton = false;
  bool FMinimizedOnStart = false;
  bool FMinimizeToTray = true;
  bool FClickStart = false;
  bool FClickReady = false;
  TTimer* AnimateTimer = nullptr;
  TTimer* ClickTimer = nullptr;
  bool IsDblClick = false;
  Integer FIconIndex = 0;
  bool FDesignPreview = false;
  bool SettingPreview = false;
  bool SettingMDIForm = true;
  TCustomImageList* FIconList = nullptr;
  bool FCycleIcons = false;
  Cardinal FAnimateTimerInterval = 0;
  Integer FAppHook = -1;
  // Cleared when the component goes: the owner's procedure then passes everything on.
  std::shared_ptr<bool> FParentHookAlive;
  HWND FWindowHandle = nullptr;
  NOTIFYICONDATA IconData;
};

// The number of the message a newly made tray broadcasts.
UINT TaskbarCreatedMessage();
