// The program's entry point. It takes no arguments: it creates the windows in their order and runs
// the message loop until the main window closes.
#include <cstdlib>
#include <string>

#include "app/program/startup.h"
#include "platform/shell/power.h"
#include "platform/ui/core/application.h"

#if NERIVO_X11
#include "platform/win/backends/x11/x11_backend.h"
#include "platform/win/win.h"
#endif

int main() {
#if NERIVO_X11
  // The display when there is one; the headless backend otherwise.
  WinSetBackend(CreateDefaultBackend());
#endif
  // "自动关闭计算机" switches the machine off only for a person who asked for it when starting us;
  // otherwise the request is logged.
  if (const char* Allow = std::getenv("NERIVO_ALLOW_POWEROFF"); Allow != nullptr && std::string(Allow) == "1")
    if (auto* Power = dynamic_cast<TSystemPowerService*>(&PowerService())) Power->SetAllowPowerOff(true);
  CreateProgramWindows();
  Application->Run();
  return 0;
}
