// Display tests of the control library and the folders above it: the fixture TBase (a ui test
// fixture) runs on a private Xvfb server through the X11 backend, and a second connection reads the
// screen back as a person would see it. Only built where the X11 tests are (NERIVO_X11_TESTS).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

#include "platform/rtl/threads.h"
#include "platform/ui/core/control.h"
#include "platform/win/backend.h"
#include "platform/win/backends/x11/testkit/xvfb.h"
#include "platform/win/backends/x11/x11_backend.h"

template <class TBase>
class TDisplayTest : public TBase {
 protected:
  static void SetUpTestSuite() { Server = new x11test::TXvfb; }
  static void TearDownTestSuite() {
    delete Server;
    Server = nullptr;
  }

  void SetUp() override {
    TBase::SetUp();
    if (!Server->Running()) GTEST_SKIP() << "Xvfb cannot start here";
    auto Backend = CreateX11Backend(Server->Name());
    ASSERT_NE(Backend, nullptr);
    WinSetBackend(std::move(Backend));
    Reader = std::make_unique<x11test::TScreenReader>(Server->Name());
    ASSERT_TRUE(Reader->Connected());
  }

  void TearDown() override {
    TBase::TearDown();  // the forms go while the X11 backend still holds their windows
    WinResetForTests();
    WinSetBackend(CreateHeadlessBackend());
    Reader.reset();
  }

  // Handles messages and display events until Done holds (false after a few seconds).
  static bool PumpUntil(const std::function<bool()>& Done) {
    auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
      WinProcessMessages();
      if (Done()) return true;
      if (std::chrono::steady_clock::now() > Deadline) return false;
      WinBackend().WaitForEvents(20, MainThreadWakeFd());
    }
  }

  // The screen's colour at a client point of a control.
  uint32_t ScreenAt(TControl* C, Integer X, Integer Y) {
    TPoint P = C->ClientToScreen({X, Y});
    return Reader->Pixel(P.X, P.Y);
  }

  // The whole window, frame included, as a PNG beside the test program; false when nothing was read.
  bool SaveWindowShot(HWND Wnd, const String& FileName) {
    RECT W;
    GetWindowRect(Wnd, &W);
    TRawImage Shot = Reader->Capture(W);
    if (Shot.Empty()) return false;
    x11test::SaveBesideProgram(Shot, FileName);
    return true;
  }

  static inline x11test::TXvfb* Server = nullptr;
  std::unique_ptr<x11test::TScreenReader> Reader;
};
