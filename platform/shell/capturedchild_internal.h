// A program the desktop services start: an argument vector (never a shell), its input from /dev/null,
// its standard output and error captured so that what it prints reaches our log, not the terminal.
//
// The output goes to an unlinked temporary file rather than a pipe: the opener hands its output on to
// whatever it starts (a browser, a file manager), which may run for hours. A pipe would have to be
// drained all that time or block them, and would kill them with SIGPIPE once we quit; the file
// holds what they write until they close it.
#pragma once

#include <sys/types.h>

#include <vector>

#include "platform/rtl/types.h"

class TCapturedChild {
 public:
  TCapturedChild() = default;
  ~TCapturedChild();
  TCapturedChild(const TCapturedChild&) = delete;
  TCapturedChild& operator=(const TCapturedChild&) = delete;
  TCapturedChild(TCapturedChild&& other) noexcept;

  // Starts Args[0] (looked up on PATH) with Args; OwnSession puts it in a session of its own, so it
  // outlives us and never reads our terminal. An errno-style code, 0 when it started.
  int Start(const std::vector<String>& Args, bool OwnSession);
  // Waits for the program's end. True when it exited with status 0.
  bool Wait();
  // After Wait: "exit code N" or "signal N".
  const String& Outcome() const { return FOutcome; }
  // After Wait: the first lines the program printed (empty ones skipped, each cut to a readable
  // length), joined by " | "; empty when it printed nothing.
  String FirstLines(size_t MaxLines = 4) const;

 private:
  pid_t FPid = -1;
  int FOutput = -1;
  String FOutcome;
};

// Text, then ": " and the child's first lines when it printed any.
String WithChildOutput(const String& Text, const TCapturedChild& Child);
