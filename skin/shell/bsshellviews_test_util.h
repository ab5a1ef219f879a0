// Test support of the shell views: waiting for change notices as the main thread receives them, and
// a namespace folder that tests make answer differently.
#pragma once

#include <chrono>
#include <functional>

#include "platform/rtl/threads.h"
#include "platform/shell/shellnamespace.h"
#include "platform/win/testkit/testkit.h"

// Handles delivered notices and deferred actions until Done holds (false after a few seconds).
inline bool PumpShellNotices(const std::function<bool()>& Done) {
  const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!Done()) {
    if (std::chrono::steady_clock::now() > End) return false;
    CheckSynchronize(10);
    wintest::Pump();
  }
  return true;
}

// A namespace folder that answers as Inner does; a test overrides what it changes.
class TForwardingFolder : public IShellFolder {
 public:
  explicit TForwardingFolder(IShellFolderPtr Inner) : FInner(std::move(Inner)) {}
  HRESULT ParseDisplayName(const String& N, PItemIDList& R) override {
    return FInner->ParseDisplayName(N, R);
  }
  HRESULT EnumObjects(Cardinal F, std::unique_ptr<IEnumIDList>& R) override {
    return FInner->EnumObjects(F, R);
  }
  HRESULT BindToObject(PCItemIDList ID, IShellFolderPtr& R) override { return FInner->BindToObject(ID, R); }
  Integer CompareIDs(LPARAM C, PCItemIDList A, PCItemIDList B) override {
    return FInner->CompareIDs(C, A, B);
  }
  HRESULT GetAttributesOf(UINT C, const PCItemIDList* IDs, Cardinal& F) override {
    return FInner->GetAttributesOf(C, IDs, F);
  }
  HRESULT GetDisplayNameOf(PCItemIDList ID, Cardinal F, STRRET& N) override {
    return FInner->GetDisplayNameOf(ID, F, N);
  }
  HRESULT SetNameOf(HWND O, PCItemIDList ID, const String& N, Cardinal F, PItemIDList* R) override {
    return FInner->SetNameOf(O, ID, N, F, R);
  }
  IShellFolderPtr FInner;
};
