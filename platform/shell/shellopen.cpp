// Starting the desktop's opener detached, with an argument vector.
#include "platform/shell/shellopen.h"

#include <thread>

#include "platform/rtl/dynlib.h"
#include "platform/shell/capturedchild_internal.h"
#include "platform/shell/serviceslot.h"
#include "platform/shell/shelllog.h"

namespace {

// Collects the opener's exit status so it leaves no zombie; a failure is logged once, with the
// first lines the opener printed (xdg-open lists every browser it looked for).
void reap(TCapturedChild child, String program, String target) {
  if (child.Wait()) return;
  ShellLog(WithChildOutput(program + " could not open \"" + target + "\" (" + child.Outcome() + ")", child),
           slError);
}

}  // namespace

bool TXdgOpenService::Open(const String& target) {
  if (target.empty()) {
    ShellLog("nothing to open: the path is empty", slError);
    return false;
  }
  // A path that starts with '-' would be read as an option.
  String argument = target[0] == '-' ? "./" + target : target;
  TCapturedChild child;
  if (const int rc = child.Start({FProgram, argument}, true); rc != 0) {
    ShellLog("cannot start " + FProgram + " to open \"" + target + "\": " + SysErrorMessage(rc), slError);
    return false;
  }
  std::thread(reap, std::move(child), FProgram, target).detach();
  return true;
}

namespace {

TServiceSlot<TShellOpenService>& slot() {
  static TServiceSlot<TShellOpenService> s([] { return std::make_unique<TXdgOpenService>(); });
  return s;
}

}  // namespace

TShellOpenService& ShellOpenService() {
  return slot().Get();
}

void SetShellOpenService(std::unique_ptr<TShellOpenService> service) {
  slot().Set(std::move(service));
}

bool ShellOpen(const String& target) {
  return ShellOpenService().Open(target);
}
