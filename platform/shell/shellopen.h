// Opening a folder, file or address with the desktop's default program: `xdg-open` started detached
// with an argument vector (never through a shell), what it prints kept from the terminal. When it is
// missing or fails, one log line says so (with the first lines it printed) and nothing else happens
// (no dialog).
#pragma once

#include <memory>

#include "platform/rtl/types.h"

class TShellOpenService {
 public:
  virtual ~TShellOpenService() = default;
  // Whether the opener was started (its own failure later is only logged).
  virtual bool Open(const String& target) = 0;
};

// The real service: `Program` (default "xdg-open", looked up on PATH) with the target as its one
// argument, in a session of its own, its output captured, its exit status collected and a failure
// logged.
class TXdgOpenService : public TShellOpenService {
 public:
  explicit TXdgOpenService(String program = "xdg-open") : FProgram(std::move(program)) {}
  bool Open(const String& target) override;

 private:
  String FProgram;
};

// The installed service (the real one until another is installed; installing takes ownership, null
// restores the real one).
TShellOpenService& ShellOpenService();
void SetShellOpenService(std::unique_ptr<TShellOpenService> service);
// ShellOpenService().Open(target).
bool ShellOpen(const String& target);
