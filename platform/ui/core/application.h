// The application object: start-up, the message loop with the class library's preprocessing (key
// messages, hints, OnMessage, message filters), the exception handler at dispatch, mouse enter and
// leave tracking, and the hint machinery.
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/rtl/component.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/core/controlstypes.h"
#include "platform/ui/graphics/colors.h"
#include "platform/ui/graphics/icon.h"
#include "platform/win/win.h"

class TControl;
class TCustomForm;
class THintWindow;

struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint HintPos;  // screen
  Integer HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;  // screen; the hint stays while the cursor is inside
  TPoint CursorPos;  // the control's client coordinates
  Integer ReshowTimeout = 0;
  Integer HideTimeout = 0;
  String HintStr;
  void* HintData = nullptr;
};

using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TShowHintEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;
// A filter sees every message the loop takes before anything else; true means it was handled.
using TApplicationMessageFilter = std::function<bool(MSG& Msg)>;
// A hook of the application's window; true means the message was handled.
using TWindowHook = std::function<bool(TMessage& Message)>;
using TMessageBoxFunction = std::function<Integer(const String& Text, const String& Caption, UINT Flags)>;

// The message box the application shows (exceptions, MessageBox): by default the plain message box
// over the active window. Tests replace it (the ui test fixture answers OK without showing anything).
void SetMessageBoxFunction(TMessageBoxFunction Function);
TMessageBoxFunction GetMessageBoxFunction();

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* AOwner);
  // Frees the forms (and everything else it owns) and its window.
  ~TApplication() override;
  String ClassName() const override { return "TApplication"; }

  void Initialize();
  // Makes a form owned by the application (Args follow the owner in its constructor); the first one
  // made becomes MainForm.
  template <class T, class... TArgs>
  void CreateForm(T*& Reference, TArgs&&... Args) {
    T* Form = new T(this, std::forward<TArgs>(Args)...);
    Reference = Form;
    Form->AfterConstruction();
    if (FMainForm == nullptr) {
      FMainForm = Form;
      Form->HandleNeeded();
    }
  }
  // Shows the main form and handles messages until Terminate.
  void Run();
  // Handles one message; false when none was waiting.
  bool ProcessMessage();
  void ProcessMessages();
  // Handles one message, or idles (mouse tracking, OnIdle) and waits for one.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return FTerminate; }
  void Minimize();
  void Restore();

  // The hidden window of the application (hint timers, window hooks); made on first use.
  HWND Handle();
  TCustomForm* MainForm() const { return FMainForm; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value);
  // The application's icon: the windows of forms without their own show it.
  TIcon* Icon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value) { FIcon->Assign(Value); }
  const String& HelpFile() const { return FHelpFile; }
  void SetHelpFile(const String& Value) { FHelpFile = Value; }
  String ExeName() const;
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }
  bool Active() const { return FActive; }

  // ---- exceptions ----
  void HandleException(TObject* Sender, const Exception& E);
  void ShowException(const Exception& E);
  Integer MessageBox(const String& Text, const String& Caption, UINT Flags = MB_OK);

  // ---- filters and hooks ----
  Integer AddMessageFilter(TApplicationMessageFilter Filter);
  void RemoveMessageFilter(Integer Id);
  Integer HookMainWindow(TWindowHook Hook);
  void UnhookMainWindow(Integer Id);

  // ---- hints ----
  bool ShowHint() const { return FShowHint; }
  // Turning hints on makes the hint window from HintWindowClass; off frees it.
  void SetShowHint(bool Value);
  Integer HintPause() const { return FHintPause; }
  void SetHintPause(Integer Value) { FHintPause = Value; }
  Integer HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(Integer Value) { FHintShortPause = Value; }
  Integer HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(Integer Value) { FHintHidePause = Value; }
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor Value) { FHintColor = Value; }
  THintWindow* HintWindow() const { return FHintWindow; }
  // The long hint of the control under the mouse; setting it fires OnHint.
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  void ActivateHint(TPoint CursorPos);
  void CancelHint();
  void HideHint();
  void HintMouseMessage(TControl* Control, TMessage& Message);

  TMessageEvent OnMessage;
  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TNotifyEvent OnHint;
  TShowHintEvent OnShowHint;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;

 private:
  friend class TControl;
  friend LRESULT applicationWndProc(HWND, UINT, WPARAM, LPARAM);
  void installFilter();
  bool filterMessage(MSG& Msg);
  bool isKeyMsg(MSG& Msg);
  void isHintMsg(const MSG& Msg);
  void idle();
  void doMouseIdle();
  void wndProc(TMessage& Message);
  void startHintTimer(Integer Value, UINT_PTR Kind);
  void stopHintTimer();
  void ControlDestroyed(TControl* Control);

  String FTitle;
  String FHelpFile;
  std::unique_ptr<TIcon> FIcon;
  TCustomForm* FMainForm = nullptr;
  HWND FHandle = nullptr;
  bool FTerminate = false;
  bool FShowMainForm = true;
  bool FActive = true;
  std::vector<std::pair<Integer, TApplicationMessageFilter>> FFilters;
  std::vector<std::pair<Integer, TWindowHook>> FWindowHooks;
  Integer FNextId = 1;

  bool FShowHint = true;
  Integer FHintPause = 500;
  Integer FHintShortPause = 50;
  Integer FHintHidePause = 2500;
  TColor FHintColor = clInfoBk;
  THintWindow* FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  bool FHintActive = false;
  TRect FHintCursorRect;
  UINT_PTR FHintTimer = 0;  // 0 none, else the kind below
  String FHint;
  TControl* FMouseControl = nullptr;
};

extern TApplication* Application;
