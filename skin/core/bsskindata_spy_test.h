// The window layer's test kit seen through a narrow door: its header clashes with the control
// framework's (both name a TMouseButton), so tests that build forms reach it from here.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/win/win.h"

namespace wintest {
class TWinTestEnvironment;
class TMessageSpy;
}  // namespace wintest

namespace skinspy {

// A fresh headless window layer and fake clock for as long as the object lives.
std::shared_ptr<wintest::TWinTestEnvironment> NewEnvironment();

struct TSeen {
  HWND Wnd;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};

// Records the messages the given windows receive, in order.
class TSpy {
 public:
  explicit TSpy(std::vector<HWND> Windows);
  ~TSpy();
  std::vector<std::pair<HWND, UINT>> Sequence(const std::vector<UINT>& Only) const;
  std::vector<UINT> MessagesOf(HWND Wnd, const std::vector<UINT>& Only) const;
  std::vector<TSeen> Messages() const;
  void Clear();

 private:
  std::unique_ptr<wintest::TMessageSpy> FSpy;
};

}  // namespace skinspy
