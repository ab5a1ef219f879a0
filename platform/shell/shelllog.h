// Where the desktop services report what went wrong or what they did instead: one line at a time,
// never a dialog. The program routes the lines into its log; by default they go to stderr.
#pragma once

#include <functional>

#include "platform/rtl/types.h"

using TShellLogSink = std::function<void(const String& line)>;
// Empty restores the default. Lines may come from any thread; the sink is called under a lock.
void SetShellLogSink(TShellLogSink sink);
void ShellLog(const String& line);
