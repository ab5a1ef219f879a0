// Opening with the desktop's opener: the real service runs a fake xdg-open put first on PATH, which
// writes down the arguments it got; the fakes record what the program asked.
#include "platform/shell/shellopen.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "platform/rtl/files.h"
#include "platform/shell/shelllog.h"
#include "platform/shell/testkit/fakes.h"

namespace {

String readFile(const String& path) {
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void writeScript(const String& path, const String& body) {
  std::ofstream(path) << "#!/bin/sh\n" << body;
  chmod(path.c_str(), 0755);
}

// A private folder with fake programs, first on PATH for the test; log lines collected.
class ShellOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/nerivo-shell-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    Dir = tmpl;
    const char* path = std::getenv("PATH");
    SavedPath = path ? path : "";
    // Ours first, then the system's (the fakes use its tools; a shell would find touch there).
    setenv("PATH", (Dir + "/bin:" + SavedPath).c_str(), 1);
    mkdir((Dir + "/bin").c_str(), 0755);
    setenv("NERIVO_TEST_OUT", (Dir + "/out").c_str(), 1);
    SetShellLogSink([this](const String& line, TShellLogLevel level) {
      std::lock_guard<std::mutex> guard(LogLock);
      Log.push_back(line);
      Levels.push_back(level);
    });
  }
  void TearDown() override {
    SetShellLogSink(nullptr);
    setenv("PATH", SavedPath.c_str(), 1);
    unsetenv("NERIVO_TEST_OUT");
    std::system(("rm -rf '" + Dir + "'").c_str());
  }
  // Waits (a few seconds at most) for the fake opener's record to be complete.
  bool WaitFor(const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
  std::vector<String> Lines() {
    std::lock_guard<std::mutex> guard(LogLock);
    return Log;
  }

  std::vector<TShellLogLevel> LineLevels() {
    std::lock_guard<std::mutex> guard(LogLock);
    return Levels;
  }

  String Dir, SavedPath;
  std::mutex LogLock;
  std::vector<String> Log;
  std::vector<TShellLogLevel> Levels;
};

}  // namespace

TEST_F(ShellOpenTest, TheTargetReachesTheOpenerAsOneArgumentUntouchedByAnyShell) {
  // One line per argument, then "end" and the opener's session id.
  writeScript(Dir + "/bin/xdg-open",
              "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$NERIVO_TEST_OUT.tmp\"\n"
              "read -r _ _ _ _ _ sid _ < /proc/$$/stat\n"
              "printf 'end %s\\n' \"$sid\" >> \"$NERIVO_TEST_OUT.tmp\"\n"
              "mv \"$NERIVO_TEST_OUT.tmp\" \"$NERIVO_TEST_OUT\"\n");
  struct TCase {
    String Target;
    String Argument;
  };
  const TCase cases[] = {
      {"/home/user/Nerivo视频软件/输出", "/home/user/Nerivo视频软件/输出"},
      {"/tmp/a folder/with  spaces", "/tmp/a folder/with  spaces"},
      {"http://example.com/?a=1&b=2;c", "http://example.com/?a=1&b=2;c"},
      {"$(touch " + Dir + "/pwned); `touch " + Dir + "/pwned` | x > y",
       "$(touch " + Dir + "/pwned); `touch " + Dir + "/pwned` | x > y"},
      {"-n", "./-n"},  // never read as an option
  };
  String ourSession = std::to_string(getsid(0));
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Target);
    unlink((Dir + "/out").c_str());
    TXdgOpenService service;
    ASSERT_TRUE(service.Open(c.Target));
    ASSERT_TRUE(WaitFor([&] { return FileExists(Dir + "/out"); }));
    String got = readFile(Dir + "/out");
    String want = c.Argument + "\nend ";
    ASSERT_EQ(got.substr(0, want.size()), want);
    // Started in a session of its own.
    String session = got.substr(want.size(), got.size() - want.size() - 1);
    EXPECT_NE(session, ourSession);
  }
  EXPECT_FALSE(FileExists(Dir + "/pwned"));
  EXPECT_TRUE(Lines().empty());
}

TEST_F(ShellOpenTest, AMissingOrFailingOpenerIsOnlyLogged) {
  // No opener anywhere on PATH.
  setenv("PATH", (Dir + "/bin").c_str(), 1);
  TXdgOpenService service;
  EXPECT_FALSE(service.Open("/tmp"));
  ASSERT_EQ(Lines().size(), 1u);
  EXPECT_EQ(Lines()[0], "cannot start xdg-open to open \"/tmp\": No such file or directory");
  // Started, but it fails: the exit code is logged once it is known.
  writeScript(Dir + "/bin/xdg-open", "exit 4\n");
  EXPECT_TRUE(service.Open("/nowhere"));
  ASSERT_TRUE(WaitFor([&] { return Lines().size() == 2; }));
  EXPECT_EQ(Lines()[1], "xdg-open could not open \"/nowhere\" (exit code 4)");
  EXPECT_FALSE(service.Open(""));
  EXPECT_EQ(Lines().size(), 3u);
  EXPECT_EQ(LineLevels(), (std::vector<TShellLogLevel>{slError, slError, slError}));
}

TEST_F(ShellOpenTest, WhatTheOpenerPrintsStaysOffOurTerminalAndAFailureLogsItsFirstLinesOnce) {
  // Like xdg-open without a browser: a list of what it tried, on both streams, then failure.
  writeScript(Dir + "/bin/xdg-open",
              "echo 'xdg-open: 1: www-browser: not found' >&2\n"
              "echo\n"
              "echo 'xdg-open: 1: links2: not found'\n"
              "echo 'xdg-open: 1: elinks: not found' >&2\n"
              "echo 'xdg-open: 1: links: not found'\n"
              "echo 'xdg-open: 1: lynx: not found'\n"
              "echo 'xdg-open: no method available for opening the address' >&2\n"
              "exit 3\n");
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  TXdgOpenService service;
  EXPECT_TRUE(service.Open("http://nerivo.example/"));
  const bool logged = WaitFor([&] { return !Lines().empty(); });
  const std::string ourStdout = testing::internal::GetCapturedStdout();
  const std::string ourStderr = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(logged);
  EXPECT_EQ(ourStderr, "");
  EXPECT_EQ(ourStdout, "");
  // The first four lines that say something, in the order printed.
  EXPECT_EQ(Lines(),
            (std::vector<String>{"xdg-open could not open \"http://nerivo.example/\" (exit code 3): "
                                 "xdg-open: 1: www-browser: not found | xdg-open: 1: links2: not found | "
                                 "xdg-open: 1: elinks: not found | xdg-open: 1: links: not found"}));
  EXPECT_EQ(LineLevels(), (std::vector<TShellLogLevel>{slError}));

  // Opened, chatting all the same: nothing logged, nothing shown.
  writeScript(Dir + "/bin/xdg-open", "echo opening; echo 'a warning' >&2; touch \"$NERIVO_TEST_OUT\"\n");
  testing::internal::CaptureStderr();
  EXPECT_TRUE(service.Open("/tmp"));
  const bool opened = WaitFor([&] { return FileExists(Dir + "/out"); });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // time for a wrong log line to arrive
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(opened);
  EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(ShellOpenTest, AFailureIsReportedWhenTheOpenerEndsThoughWhatItStartedRunsOn) {
  // The opener leaves a program running that keeps its output streams open (as a browser it starts
  // does); the failure is known, and logged, as soon as the opener itself ends.
  writeScript(Dir + "/bin/xdg-open",
              "sleep 30 &\n"
              "echo $! > \"$NERIVO_TEST_OUT.pid\"\n"
              "echo 'no handler for this address'\n"
              "exit 4\n");
  TXdgOpenService service;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_TRUE(service.Open("nerivo:nothing"));
  ASSERT_TRUE(WaitFor([&] { return !Lines().empty(); }));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
  EXPECT_EQ(Lines(),
            (std::vector<String>{
                "xdg-open could not open \"nerivo:nothing\" (exit code 4): no handler for this address"}));
  const String pid = readFile(Dir + "/out.pid");
  if (!pid.empty()) kill(pid_t(std::stol(pid)), SIGKILL);
}

TEST_F(ShellOpenTest, TheProgramUsesWhicheverServiceIsInstalled) {
  writeScript(Dir + "/bin/xdg-open", "touch \"$NERIVO_TEST_OUT\"\n");
  {
    shelltest::TShellFakes fakes;
    EXPECT_TRUE(ShellOpen("/a"));
    fakes.Open().Result = false;
    EXPECT_FALSE(ShellOpen("/b"));
    EXPECT_EQ(fakes.Open().Targets, (std::vector<String>{"/a", "/b"}));
    EXPECT_TRUE(PowerService().PowerOff());
    EXPECT_EQ(fakes.Power().Requests, 1);
    EXPECT_TRUE(SoundService().PlayAsync("ring.wav"));
    EXPECT_EQ(fakes.Sound().Played, (std::vector<String>{"ring.wav"}));
  }
  // The fakes are gone: the real opener runs again.
  EXPECT_TRUE(ShellOpen("/c"));
  EXPECT_TRUE(WaitFor([&] { return FileExists(Dir + "/out"); }));
}

TEST_F(ShellOpenTest, PowerOffIsLoggedAndNotCarriedOutWithoutTheOptIn) {
  // A systemctl that would leave a mark if it ever ran.
  writeScript(Dir + "/bin/systemctl", "touch \"$NERIVO_TEST_OUT\"\n");
  TSystemPowerService power;
  EXPECT_FALSE(power.AllowPowerOff());
  EXPECT_FALSE(power.PowerOff());
  EXPECT_EQ(Lines(), (std::vector<String>{"power off requested at the end of the batch",
                                          "not powering off: switching the computer off is not enabled in "
                                          "the settings"}));
  EXPECT_EQ(LineLevels(), (std::vector<TShellLogLevel>{slInfo, slInfo}));
  EXPECT_FALSE(FileExists(Dir + "/out"));
}

TEST_F(ShellOpenTest, ARefusedPowerOffLogsWhatTheSystemSaidAndNothingReachesOurTerminal) {
  writeScript(Dir + "/bin/systemctl", "echo 'Failed to power off system: Access denied' >&2\nexit 1\n");
  TSystemPowerService power;
  power.SetAllowPowerOff(true);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(power.PowerOff());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_EQ(Lines().size(), 2u);
  EXPECT_EQ(Lines()[1],
            "the system refused to power off (exit code 1): Failed to power off system: Access denied");
  EXPECT_EQ(LineLevels()[1], slError);
}
