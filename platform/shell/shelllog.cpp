// The services' log lines.
#include "platform/shell/shelllog.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex& sinkLock() {
  static std::mutex lock;
  return lock;
}
TShellLogSink& sink() {
  static TShellLogSink s;
  return s;
}

}  // namespace

void SetShellLogSink(TShellLogSink s) {
  std::lock_guard<std::mutex> guard(sinkLock());
  sink() = std::move(s);
}

void ShellLog(const String& line, TShellLogLevel level) {
  std::lock_guard<std::mutex> guard(sinkLock());
  if (sink()) {
    sink()(line, level);
  } else {
    std::fprintf(stderr, "nerivo: %s\n", line.c_str());
  }
}
