// Where the desktop services report what went wrong or what they did instead: one line at a time,
// never a dialog. The program routes the lines into its log; by default they go to stderr.
#pragma once

#include <functional>

#include "platform/rtl/types.h"

// How much a line matters: a request that failed, something skipped, or a plain report.
enum TShellLogLevel { slError, slWarning, slInfo };

using TShellLogSink = std::function<void(const String& line, TShellLogLevel level)>;
// Empty restores the default. Lines may come from any thread; the sink is called under a lock, so it
// must not wait for another thread (that thread may be logging too).
void SetShellLogSink(TShellLogSink sink);
void ShellLog(const String& line, TShellLogLevel level);
