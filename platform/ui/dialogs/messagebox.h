// The plain message box: a modal window of our own with an icon, the text, a row of buttons and the
// keyboard of a dialog (Enter presses the focused button, Escape answers Cancel where there is one and
// OK where OK is the only button, the arrows and Tab move between the buttons, a button's underlined
// letter presses it, with or without Alt). It runs the forms' modal loop, which keeps serving the
// main-thread call queue. Headless, a test answers it by injecting keys or clicks when its loop starts.
#pragma once

#include "platform/ui/core/customcontrol.h"
#include "platform/ui/core/form.h"
#include "platform/win/icon.h"

// Button sets, icons and default buttons of the flags, and the answers (the platform's values).
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_CANCELTRYCONTINUE = 0x6;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFBUTTON4 = 0x300;
constexpr UINT MB_DEFMASK = 0xF00;
constexpr UINT MB_APPLMODAL = 0x0000;
constexpr UINT MB_SYSTEMMODAL = 0x1000;
constexpr UINT MB_TASKMODAL = 0x2000;

constexpr Integer IDOK = 1;
constexpr Integer IDCANCEL = 2;
constexpr Integer IDABORT = 3;
constexpr Integer IDRETRY = 4;
constexpr Integer IDIGNORE = 5;
constexpr Integer IDYES = 6;
constexpr Integer IDNO = 7;
constexpr Integer IDTRYAGAIN = 10;
constexpr Integer IDCONTINUE = 11;

// Shows the box owned by Owner's form (centred over it; over the work area without an owner) and
// returns the answer. Flags with an unknown button set show OK alone.
Integer MessageBox(HWND Owner, const String& Text, const String& Caption, UINT Flags);

// ---- the window (public for tests and for callers that need its parts) ----

// One button of the box: flat, the focused one in the accent; Space or a click presses it.
class TMessageButton : public TCustomControl {
 public:
  explicit TMessageButton(TComponent* AOwner);
  String ClassName() const override { return "TMessageButton"; }
  Integer Answer() const { return FAnswer; }
  void SetAnswer(Integer Value) { FAnswer = Value; }
  // Ends the box with this button's answer.
  void Press();

 protected:
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMDialogChar(TMessage& Message) override;

 private:
  Integer FAnswer = IDOK;
  bool FPressed = false;
};

class TMessageBoxForm : public TCustomForm {
 public:
  // Builds the box's controls and size for the given text, caption and flags.
  TMessageBoxForm(TComponent* AOwner, const String& Text, const String& Caption, UINT Flags);
  String ClassName() const override { return "TMessageBoxForm"; }

  Integer ButtonCount() const { return Integer(FButtons.size()); }
  TMessageButton* Buttons(Integer Index) const { return FButtons[size_t(Index)]; }
  // The answer of Escape and the close box: IDCANCEL with a Cancel button, IDOK when OK is alone,
  // 0 (nothing happens) otherwise.
  Integer EscapeAnswer() const { return FEscapeAnswer; }
  UINT IconKind() const { return FIconKind; }
  // Where the icon and the text stand (client coordinates).
  TRect IconRect() const { return FIconRect; }
  TRect TextRect() const { return FTextRect; }
  const String& MessageText() const { return FMessage; }
  // Puts the box over Owner's window, or in the middle of the work area.
  void PlaceOver(HWND Owner);

 protected:
  void WndProc(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  void Paint() override;

 private:
  void layout(UINT Flags);
  void paintFrame();
  void moveFocus(bool Forward);

  String FMessage;
  UINT FIconKind = 0;
  Integer FEscapeAnswer = 0;
  std::vector<TMessageButton*> FButtons;
  TRect FIconRect;
  TRect FTextRect;
  Integer FButtonRowTop = 0;
};

// Draws the message icon of an MB_ICON* kind in a Size x Size square at (X, Y): the platform's stock
// icon of that kind.
void DrawMessageIcon(TCanvas* Canvas, Integer X, Integer Y, Integer Size, UINT Kind);
