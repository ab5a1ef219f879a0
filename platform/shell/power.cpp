// The power service.
#include "platform/shell/power.h"

#include "platform/rtl/dynlib.h"
#include "platform/shell/capturedchild_internal.h"
#include "platform/shell/serviceslot.h"
#include "platform/shell/shelllog.h"

bool TSystemPowerService::PowerOff() {
  ShellLog("power off requested at the end of the batch", slInfo);
  if (!FAllowPowerOff) {
    ShellLog("not powering off: switching the computer off is not enabled in the settings", slInfo);
    return false;
  }
  TCapturedChild child;
  if (const int rc = child.Start({"systemctl", "poweroff"}, false); rc != 0) {
    ShellLog("cannot start systemctl to power off: " + SysErrorMessage(rc), slError);
    return false;
  }
  if (child.Wait()) return true;
  ShellLog(WithChildOutput("the system refused to power off (" + child.Outcome() + ")", child), slError);
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
