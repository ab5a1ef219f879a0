// A second X client for display tests: it holds the CLIPBOARD selection with UTF-8 text, serving the
// requests of other clients on a thread of its own, or asks the selection's owner for its text, as
// another desktop program would. Names no X11 type.
#pragma once

#include <atomic>
#include <optional>
#include <thread>

#include "platform/rtl/types.h"

namespace x11test {

class TClipboardClient {
 public:
  explicit TClipboardClient(const String& displayName);
  ~TClipboardClient();
  TClipboardClient(const TClipboardClient&) = delete;
  TClipboardClient& operator=(const TClipboardClient&) = delete;
  bool Connected() const { return FDisplay != nullptr; }

  // Takes the CLIPBOARD with Text and answers TARGETS and UTF8_STRING requests until it loses the
  // selection or is destroyed.
  bool Own(const String& Text);
  bool Owns() const { return FOwns; }
  // The owner's text as UTF8_STRING; nothing when no answer comes within TimeoutMs. The owner must be
  // served meanwhile (call it from a thread of its own when the owner is this process's main loop).
  std::optional<String> Read(int TimeoutMs);

 private:
  void serve();
  void stopServing();

  void* FDisplay = nullptr;
  unsigned long FWindow = 0;
  String FText;
  std::atomic<bool> FOwns{false};
  std::atomic<bool> FStop{false};
  std::thread FServer;
};

}  // namespace x11test
