// Forms: top-level windows with activation, focus tracking, closing and modal showing.
#pragma once

#include <functional>
#include <memory>

#include "platform/rtl/tset.h"
#include "platform/ui/core/controlstypes.h"
#include "platform/ui/core/customcontrol.h"
#include "platform/ui/graphics/icon.h"

class TMainMenu;
class TMenuItem;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TTileMode { tbHorizontal, tbVertical };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

// The key record of shortcut handling.
struct TWMKey {
  Cardinal Msg = 0;
  Word CharCode = 0;
  LPARAM KeyData = 0;
  LRESULT Result = 0;
};

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(TWMKey& Msg, bool& Handled)>;

class TCustomForm : public TCustomControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  String ClassName() const override { return "TCustomForm"; }

  // Runs OnCreate once; Application.CreateForm calls it after construction, and so does a form's
  // builder when the form is made with new.
  virtual void AfterConstruction();

  void Show();
  void Hide();
  // Shows the form modally and serves messages until ModalResult is set (or the application
  // terminates: mrCancel). EInvalidOperation for a visible, disabled or already modal form.
  virtual TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  void Close();
  virtual bool CloseQuery();
  // Frees the form after the messages waiting for it (safe from its own handlers).
  void Release();

  // ---- focus ----
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  void FocusControl(TWinControl* Control);
  void DefocusControl(TWinControl* Control, bool Removing);
  // Called when a control of the form receives the focus: exits and enters along the tree, then
  // CM_FOCUSCHANGED to the whole form.
  virtual bool SetFocusedControl(TWinControl* Control);
  bool Active() const { return FActive; }
  bool CanFocus() override;
  void SetFocus() override;
  // Without a window yet, the client area follows from the frame the window will have.
  TRect GetClientRect() override;

  // ---- appearance ----
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState Value);
  // The window's icon; while it is empty the window shows the application's.
  TIcon* Icon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value) { FIcon->Assign(Value); }
  // Gives the window the icon it should show now (its own or the application's).
  void UpdateIcon();
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);
  TFormState FormState() const { return FFormState; }
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value) { FAutoScroll = Value; }

  // ---- MDI ----
  // An fsMDIForm's client window, which holds the fsMDIChild forms (null for other forms).
  HWND ClientHandle() const { return FClientHandle; }
  // The MDI children, the active one first (the client's z-order).
  Integer MDIChildCount() const;
  TCustomForm* MDIChildren(Integer Index) const;
  TCustomForm* ActiveMDIChild() const;
  TTileMode TileMode() const { return FTileMode; }
  void SetTileMode(TTileMode Value) { FTileMode = Value; }
  // The menu item of an MDI main form whose submenu lists the MDI children; its client window is told
  // of it. Cleared when the item is freed.
  TMenuItem* WindowMenu() const { return FWindowMenu; }
  void SetWindowMenu(TMenuItem* Value);
  void Next();
  void Previous();
  void Tile();
  void Cascade();
  void ArrangeIcons();

  // The form's shortcut check: OnShortCut, then the main menu.
  virtual bool IsShortCut(TMessage& Message);
  void SendCancelMode(TControl* Sender);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TShortCutEvent OnShortCut;

 protected:
  friend class TWinControl;
  friend class TScreen;

  void CreateParams(TCreateParams& Params) override;
  void CreateWindowCreated() override;
  void DestroyWindowHandle() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  // An MDI child brought to the front becomes the client's active child.
  void SetZOrder(bool TopMost) override;
  bool TopLevelWindow() const override { return true; }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void Paint() override;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  void CloseModal();
  void SetWindowFocus();
  void SetActive(bool Value);
  void applyPosition();

  void CMShowingChanged(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  virtual void WMClose(TMessage& Message);
  virtual void WMActivate(TMessage& Message);
  virtual void CMActivate(TMessage& Message);
  virtual void CMDeactivate(TMessage& Message);
  virtual void CMRelease(TMessage& Message);
  virtual void WMMDIActivate(TMessage& Message);

  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TFormState FFormState;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TFormStyle FFormStyle = fsNormal;
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  bool FKeyPreview = false;
  TModalResult FModalResult = mrNone;
  TMainMenu* FMenu = nullptr;
  std::unique_ptr<TIcon> FIcon;
  bool FActive = false;
  bool FCreated = false;
  bool FAutoScroll = false;
  HWND FClientHandle = nullptr;
  TTileMode FTileMode = tbHorizontal;

 private:
  std::vector<TCustomForm*> mdiChildren() const;
  void mdiActivated(bool Now);
  // The MDI client holding this form's window when it is a visible MDI child; null otherwise.
  HWND visibleMDIClient() const;
  void mdiActivate();
  void focusOnShow();
  bool FMDIActiveTold = false;
  TMenuItem* FWindowMenu = nullptr;
  // The client window's handle for the window menu (our platform has no native menus: the item's
  // identity); null without one.
  HMENU windowMenuHandle() const;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
  String ClassName() const override { return "TForm"; }
};
