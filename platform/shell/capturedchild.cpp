#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/shell/capturedchild_internal.h"

extern char** environ;

namespace {

// The most of the output that is read back; the first lines are all the log shows.
constexpr size_t OutputHeadBytes = 4096;
constexpr size_t LineBytes = 200;

// An unlinked file in the temporary folder; in memory when that folder cannot hold one.
int openOutputFile() {
  const char* tmp = std::getenv("TMPDIR");
  const String dir = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
  int fd = open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0) fd = memfd_create("nerivo-child-output", MFD_CLOEXEC);
  return fd;
}

// Cut to at most Limit bytes without splitting a UTF-8 character.
String cutLine(String line, size_t limit) {
  if (line.size() <= limit) return line;
  size_t end = limit;
  while (end > 0 && (Byte(line[end]) & 0xC0) == 0x80) --end;
  return line.substr(0, end) + "…";
}

}  // namespace

TCapturedChild::~TCapturedChild() {
  if (FOutput >= 0) close(FOutput);
}

TCapturedChild::TCapturedChild(TCapturedChild&& other) noexcept
    : FPid(other.FPid), FOutput(other.FOutput), FOutcome(std::move(other.FOutcome)) {
  other.FPid = -1;
  other.FOutput = -1;
}

int TCapturedChild::Start(const std::vector<String>& Args, bool OwnSession) {
  std::vector<char*> argv;
  for (const String& a : Args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  FOutput = openOutputFile();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (FOutput >= 0) {
    posix_spawn_file_actions_adddup2(&actions, FOutput, 1);
    posix_spawn_file_actions_adddup2(&actions, FOutput, 2);
  } else {
    // Without a file to hold it, the output is dropped rather than shown on the terminal.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  }
  posix_spawnattr_t attrs;
  posix_spawnattr_init(&attrs);
  if (OwnSession) posix_spawnattr_setflags(&attrs, POSIX_SPAWN_SETSID);
  const int rc = posix_spawnp(&FPid, argv[0], &actions, &attrs, argv.data(), environ);
  posix_spawnattr_destroy(&attrs);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) FPid = -1;
  return rc;
}

bool TCapturedChild::Wait() {
  if (FPid < 0) return false;
  int status = 0;
  pid_t got;
  do {
    got = waitpid(FPid, &status, 0);
  } while (got < 0 && errno == EINTR);
  FPid = -1;
  if (got < 0) {
    FOutcome = "unknown status";
    return false;
  }
  if (WIFEXITED(status)) {
    FOutcome = "exit code " + std::to_string(WEXITSTATUS(status));
    return WEXITSTATUS(status) == 0;
  }
  FOutcome = "signal " + std::to_string(WTERMSIG(status));
  return false;
}

String TCapturedChild::FirstLines(size_t MaxLines) const {
  if (FOutput < 0) return String();
  String head(OutputHeadBytes, '\0');
  const ssize_t n = pread(FOutput, head.data(), head.size(), 0);
  head.resize(n > 0 ? size_t(n) : 0);
  // A full read may end inside a line (or a character): that part is left out.
  if (head.size() == OutputHeadBytes) head.resize(head.rfind('\n') == String::npos ? 0 : head.rfind('\n'));
  String joined;
  size_t taken = 0, start = 0;
  while (start < head.size() && taken < MaxLines) {
    size_t end = head.find('\n', start);
    if (end == String::npos) end = head.size();
    String line = head.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
      line.pop_back();
    if (line.empty()) continue;
    if (taken++ > 0) joined += " | ";
    joined += cutLine(line, LineBytes);
  }
  return joined;
}

String WithChildOutput(const String& Text, const TCapturedChild& Child) {
  const String lines = Child.FirstLines();
  return lines.empty() ? Text : Text + ": " + lines;
}
