// No tests here: the bridge to the window layer's test kit (see bsskindata_spy_test.h).
#include "skin/core/bsskindata_spy_test.h"

#include "platform/win/testkit/testkit.h"

namespace skinspy {

std::shared_ptr<wintest::TWinTestEnvironment> NewEnvironment() {
  return std::make_shared<wintest::TWinTestEnvironment>();
}

TSpy::TSpy(std::vector<HWND> Windows) : FSpy(std::make_unique<wintest::TMessageSpy>(std::move(Windows))) {}
TSpy::~TSpy() = default;

std::vector<std::pair<HWND, UINT>> TSpy::Sequence(const std::vector<UINT>& Only) const {
  return FSpy->Sequence(Only);
}

std::vector<UINT> TSpy::MessagesOf(HWND Wnd, const std::vector<UINT>& Only) const {
  return FSpy->MessagesOf(Wnd, Only);
}

std::vector<TSeen> TSpy::Messages() const {
  std::vector<TSeen> All;
  for (const auto& M : FSpy->Messages()) All.push_back({M.Wnd, M.Msg, M.WParam, M.LParam});
  return All;
}

void TSpy::Clear() {
  FSpy->Clear();
}

}  // namespace skinspy
