// One installed service of a kind: the real one made on first use, replaceable by a fake.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

template <class TService>
class TServiceSlot {
 public:
  explicit TServiceSlot(std::function<std::unique_ptr<TService>()> makeDefault)
      : FMakeDefault(std::move(makeDefault)) {}

  TService& Get() {
    std::lock_guard<std::mutex> guard(FLock);
    if (!FService) FService = FMakeDefault();
    return *FService;
  }
  // Null goes back to the real service at the next use.
  void Set(std::unique_ptr<TService> service) {
    std::unique_ptr<TService> old;
    {
      std::lock_guard<std::mutex> guard(FLock);
      old = std::move(FService);
      FService = std::move(service);
    }
    // The old service is freed outside the lock: its destructor may wait for its own work.
  }

 private:
  std::function<std::unique_ptr<TService>()> FMakeDefault;
  std::mutex FLock;
  std::unique_ptr<TService> FService;
};
