// A test case with its own window layer, clock, screen and application object; the forms it makes
// are owned by that application and go with it.
#pragma once

#include <gtest/gtest.h>

#include "platform/ui/application.h"
#include "platform/ui/testinput.h"

class TUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    delete Application;
    delete Screen;
    new TScreen(nullptr);
    new TApplication(nullptr);
    SavedHintWindowClass = HintWindowClass;
    SavedMessageBox = GetMessageBoxFunction();
  }
  void TearDown() override {
    delete Application;
    new TApplication(nullptr);
    HintWindowClass = SavedHintWindowClass;
    SetMessageBoxFunction(SavedMessageBox);
  }
  TFakeClock& Clock() { return Env.Clock(); }
  // A form shown at a known place.
  template <class T = TForm>
  T* NewForm(TRect Bounds = Rect(100, 100, 500, 400)) {
    T* F;
    Application->CreateForm(F);
    F->SetBoundsRect(Bounds);
    F->Show();
    return F;
  }

  uitest::TEnvironment Env;
  THintWindowClass SavedHintWindowClass;
  TMessageBoxFunction SavedMessageBox;
};

// A windowed control that records the messages it handles.
class TRecordingControl : public TCustomControl {
 public:
  explicit TRecordingControl(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
  std::vector<TMessage> Messages;
  Integer CountOf(Cardinal Msg) const {
    Integer N = 0;
    for (auto& M : Messages) N += M.Msg == Msg;
    return N;
  }
  std::function<void(TMessage&)> OnDialogKey;

 protected:
  void WndProc(TMessage& Message) override {
    Messages.push_back(Message);
    TCustomControl::WndProc(Message);
  }
  void CMDialogKey(TMessage& Message) override {
    if (OnDialogKey) OnDialogKey(Message);
    if (Message.Result == 0) TCustomControl::CMDialogKey(Message);
  }
};

// A windowless control that records the messages it handles and paints itself in one colour.
class TRecordingGraphic : public TGraphicControl {
 public:
  explicit TRecordingGraphic(TComponent* AOwner) : TGraphicControl(AOwner) {}
  std::vector<Cardinal> Messages;
  TColor PaintColor = clRed;

 protected:
  void WndProc(TMessage& Message) override {
    Messages.push_back(Message.Msg);
    TGraphicControl::WndProc(Message);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(PaintColor);
    Canvas()->FillRect(Rect(0, 0, Width(), Height()));
  }
};
