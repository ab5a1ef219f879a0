// Starting the desktop's opener detached, with an argument vector.
#include "platform/shell/shellopen.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

#include "platform/rtl/dynlib.h"
#include "platform/shell/serviceslot.h"
#include "platform/shell/shelllog.h"

extern char** environ;

namespace {

// Collects the opener's exit status so it leaves no zombie, and logs a failure.
void reap(pid_t pid, String program, String target) {
  int status = 0;
  pid_t got;
  do {
    got = waitpid(pid, &status, 0);
  } while (got < 0 && errno == EINTR);
  if (got != pid) return;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return;
  String how = WIFEXITED(status) ? "exit code " + std::to_string(WEXITSTATUS(status))
                                 : "signal " + std::to_string(WTERMSIG(status));
  ShellLog(program + " could not open \"" + target + "\" (" + how + ")");
}

}  // namespace

bool TXdgOpenService::Open(const String& target) {
  if (target.empty()) {
    ShellLog("nothing to open: the path is empty");
    return false;
  }
  // A path that starts with '-' would be read as an option.
  String argument = target[0] == '-' ? "./" + target : target;
  const char* argv[] = {FProgram.c_str(), argument.c_str(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawnattr_t attrs;
  posix_spawnattr_init(&attrs);
  // Its own session: it outlives us and never reads our terminal.
  posix_spawnattr_setflags(&attrs, POSIX_SPAWN_SETSID);
  pid_t pid = -1;
  int rc = posix_spawnp(&pid, FProgram.c_str(), &actions, &attrs, const_cast<char**>(argv), environ);
  posix_spawnattr_destroy(&attrs);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    ShellLog("cannot start " + FProgram + " to open \"" + target + "\": " + SysErrorMessage(rc));
    return false;
  }
  std::thread(reap, pid, FProgram, target).detach();
  return true;
}

namespace {

TServiceSlot<TShellOpenService>& slot() {
  static TServiceSlot<TShellOpenService> s([] { return std::make_unique<TXdgOpenService>(); });
  return s;
}

}  // namespace

TShellOpenService& ShellOpenService() {
  return slot().Get();
}

void SetShellOpenService(std::unique_ptr<TShellOpenService> service) {
  slot().Set(std::move(service));
}

bool ShellOpen(const String& target) {
  return ShellOpenService().Open(target);
}
