// The program's entry point. It takes no arguments: it creates the windows in their order and runs
// the message loop until the main window closes.
#include "app/program/startup.h"
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
  CreateProgramWindows();
  Application->Run();
  return 0;
}
