// The program's windows, created in their order: the main window (its creation handler runs now),
// then the options dialog, the settings window and the preset dialog, each under its global name.
#pragma once

#include "app/main/mainform/mainform.h"

// AOptionFile and ASkinFile as the main window takes them: the program's own by default. What the
// libraries and desktop services report goes to the engine logger from the start (RouteLibraryLogs).
// A skin that is missing or cannot be read is said once, in the log and in a message box over the
// main window (shown for it); the windows keep their default look.
void CreateProgramWindows(const TOptionFile& AOptionFile = TOptionFile(),
                          const String& ASkinFile = ProductSkinFile());

// The desktop services' lines and ALSA's error reports go to the engine logger at their level,
// never to the terminal.
void RouteLibraryLogs();
