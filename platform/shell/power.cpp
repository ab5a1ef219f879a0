// The power service.
#include "platform/shell/power.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include "platform/rtl/dynlib.h"
#include "platform/shell/serviceslot.h"
#include "platform/shell/shelllog.h"

extern char** environ;

bool TSystemPowerService::PowerOff() {
  ShellLog("power off requested at the end of the batch");
  if (!FAllowPowerOff) {
    ShellLog("not powering off: switching the computer off is not enabled in the settings");
    return false;
  }
  const char* argv[] = {"systemctl", "poweroff", nullptr};
  pid_t pid = -1;
  int rc = posix_spawnp(&pid, "systemctl", nullptr, nullptr, const_cast<char**>(argv), environ);
  if (rc != 0) {
    ShellLog("cannot start systemctl to power off: " + SysErrorMessage(rc));
    return false;
  }
  int status = 0;
  pid_t got;
  do {
    got = waitpid(pid, &status, 0);
  } while (got < 0 && errno == EINTR);
  if (got == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  ShellLog("the system refused to power off");
  return false;
}

namespace {

TServiceSlot<TPowerService>& slot() {
  static TServiceSlot<TPowerService> s([] { return std::make_unique<TSystemPowerService>(); });
  return s;
}

}  // namespace

TPowerService& PowerService() {
  return slot().Get();
}

void SetPowerService(std::unique_ptr<TPowerService> service) {
  slot().Set(std::move(service));
}
