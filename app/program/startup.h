// The program's windows, created in their order: the main window (its creation handler runs now),
// then the options dialog, the settings window and the preset dialog, each under its global name.
#pragma once

#include "app/main/mainform/mainform.h"

// AOptionFile and ASkinFile as the main window takes them: the program's own by default.
void CreateProgramWindows(const TOptionFile& AOptionFile = TOptionFile(),
                          const String& ASkinFile = ProductSkinFile());
