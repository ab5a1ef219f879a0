// Shared fixture of this folder's tests: a test window class whose windows take per-window handlers.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

#include "platform/win/testkit/testkit.h"

using THandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

inline std::map<HWND, THandler>& Handlers() {
  static std::map<HWND, THandler> h;
  return h;
}
// Taken by the next window created, from its first message on.
inline THandler& NextHandler() {
  static THandler h;
  return h;
}

inline LRESULT TestWndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE && NextHandler()) {
    Handlers()[w] = std::move(NextHandler());
    NextHandler() = nullptr;
  }
  auto it = Handlers().find(w);
  if (it != Handlers().end()) {
    THandler h = it->second;
    if (std::optional<LRESULT> r = h(w, msg, wp, lp)) return *r;
  }
  return DefWindowProc(w, msg, wp, lp);
}

class WinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Handlers().clear();
    NextHandler() = nullptr;
    WNDCLASS wc;
    wc.lpfnWndProc = TestWndProc;
    wc.lpszClassName = "TestWnd";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1));
    ASSERT_NE(RegisterClass(&wc), 0);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = "TestDblWnd";
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  void TearDown() override { Handlers().clear(); }

  // A visible popup (no frame) at the given screen rectangle.
  HWND Popup(TRect r, DWORD style = 0, DWORD exStyle = 0, const char* cls = "TestWnd") {
    return CreateWindowEx(exStyle, cls, "popup", WS_POPUP | WS_VISIBLE | style, r.Left, r.Top, r.Width(),
                          r.Height(), nullptr, nullptr, nullptr, nullptr);
  }
  HWND Child(HWND parent, TRect r, DWORD style = 0, DWORD exStyle = 0, const char* cls = "TestWnd") {
    return CreateWindowEx(exStyle, cls, "child", WS_CHILD | WS_VISIBLE | style, r.Left, r.Top, r.Width(),
                          r.Height(), parent, nullptr, nullptr, nullptr);
  }
  void On(HWND w, THandler h) { Handlers()[w] = std::move(h); }

  wintest::TWinTestEnvironment Env;
};
