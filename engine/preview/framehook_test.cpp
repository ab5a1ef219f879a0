#include "engine/preview/framehook.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "engine/base/avheaders.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/testkit/logcapture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Matcher;
using ::testing::StartsWith;

const String CompletePlugin = HOOKPLUGIN_COMPLETE_PATH;
const String NoProcessPlugin = HOOKPLUGIN_NOPROCESS_PATH;
const String NoConfigurePlugin = HOOKPLUGIN_NOCONFIGURE_PATH;

// The test plug-in's journal, read and cleared through a handle of our own (the host keeps its
// own reference, so the library and its journal outlive this one).
String Journal(const String& APlugin) {
  HMODULE handle = LoadLibrary(APlugin);
  if (!handle) return "cannot load " + APlugin;
  String text = static_cast<const char*>(GetProcAddress(handle, "hook_journal"));
  FreeLibrary(handle);
  return text;
}

void ResetJournal(const String& APlugin) {
  HMODULE handle = LoadLibrary(APlugin);
  ASSERT_NE(handle, nullptr) << LastLibraryError();
  reinterpret_cast<void (*)()>(GetProcAddress(handle, "hook_journal_reset"))();
  FreeLibrary(handle);
}

Integer ChainLength(PFrameHookEntry AChain) {
  Integer count = 0;
  for (; AChain; AChain = AChain->next) ++count;
  return count;
}

class FrameHookTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(FFLoader()->Load(TLibraries{avUtil})) << FFLoader()->LastErrMsg();
  }
  void SetUp() override {
    for (const String& plugin : {CompletePlugin, NoProcessPlugin, NoConfigurePlugin}) ResetJournal(plugin);
  }
  void TearDown() override {
    ReleaseFrameHooks(FChain);
    ExpectOnlyErrors();
  }
  // Every failure is reported at the error level, and nothing else is reported.
  void ExpectOnlyErrors() const {
    for (const TLoggedLine& line : FLog.Lines()) EXPECT_EQ(line.Level, llError) << line.Msg;
  }
  std::vector<String> Log() const { return FLog.Messages(); }

  PFrameHookEntry FChain = nullptr;
  TLogCapture FLog;
};

TEST_F(FrameHookTest, ConfiguresEachPluginRunsThemInOrderAndReleasesThem) {
  ASSERT_EQ(AddFrameHook(FChain, {CompletePlugin, "tag=A", "invert"}), 0);
  ASSERT_EQ(AddFrameHook(FChain, {CompletePlugin, "tag=B", "set=7"}), 0);
  ASSERT_EQ(ChainLength(FChain), 2);
  EXPECT_NE(FChain->ctx, FChain->next->ctx);

  // 3×2 pixels in rows of 4 bytes: the padding byte must stay as it is.
  uint8_t pixels[8] = {10, 20, 30, 0xAA, 40, 50, 60, 0xAA};
  TFrameHookPicture picture = {{pixels, nullptr, nullptr, nullptr}, {4, 0, 0, 0}};
  const Int64 pts = 3723004000;  // beyond 32 bits
  ProcessFrameHooks(FChain, &picture, AV_PIX_FMT_GRAY8, 3, 2, pts);
  // Inverted by A, then B's marker in the first byte.
  EXPECT_THAT(pixels, ElementsAre(7, 235, 225, 0xAA, 215, 205, 195, 0xAA));

  ReleaseFrameHooks(FChain);
  EXPECT_EQ(FChain, nullptr);
  ReleaseFrameHooks(FChain);  // an empty chain: nothing to call

  const String format = "fmt=" + std::to_string(AV_PIX_FMT_GRAY8) + " 3x2 pts=3723004000\n";
  EXPECT_EQ(Journal(CompletePlugin),
            "configure argc=3 high=63 end=null args=" + CompletePlugin + "|tag=A|invert\n" +
                "configure argc=3 high=63 end=null args=" + CompletePlugin + "|tag=B|set=7\n" + "process A " +
                format + "process B " + format + "release A\nrelease B\n");
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(FrameHookTest, ArgumentArrayGrowsForManyWords) {
  std::vector<String> args{CompletePlugin};
  for (int i = 1; i < 70; ++i) args.push_back("w" + std::to_string(i));
  ASSERT_EQ(AddFrameHook(FChain, args), 0);
  EXPECT_THAT(Journal(CompletePlugin),
              StartsWith("configure argc=70 high=70 end=null args=" + CompletePlugin + "|w1|w2|"));
}

TEST_F(FrameHookTest, PluginWithoutConfigureRunsWithoutContextWhenGivenNoArguments) {
  ASSERT_EQ(AddFrameHook(FChain, {NoConfigurePlugin}), 0);
  ASSERT_EQ(ChainLength(FChain), 1);
  EXPECT_EQ(FChain->ctx, nullptr);
  uint8_t pixel = 1;
  TFrameHookPicture picture = {{&pixel, nullptr, nullptr, nullptr}, {1, 0, 0, 0}};
  ProcessFrameHooks(FChain, &picture, AV_PIX_FMT_GRAY8, 1, 1, 0);
  ReleaseFrameHooks(FChain);
  EXPECT_EQ(Journal(NoConfigurePlugin),
            "process (none) fmt=" + std::to_string(AV_PIX_FMT_GRAY8) + " 1x1 pts=0\nrelease (none)\n");
}

TEST_F(FrameHookTest, FailuresAppendNothingAndLogTheReason) {
  const String missing = "/nonexistent-folder/libnohook.so";
  const struct {
    const char* Situation;
    std::vector<String> Args;
    Integer Result;
    std::vector<Matcher<const String&>> Log;
  } cases[] = {
      {"no arguments", {}, -2, {}},
      {"library missing", {missing}, -1, {HasSubstr(missing)}},
      {"no Process", {NoProcessPlugin}, -2, {"Failed to find Process entrypoint in " + NoProcessPlugin}},
      {"arguments without Configure",
       {NoConfigurePlugin, "tag=X"},
       -2,
       {"Failed to find Configure entrypoint in " + NoConfigurePlugin}},
      {"Configure fails", {CompletePlugin, "tag=F", "fail"}, -22, {"Failed to Configure " + CompletePlugin}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Situation);
    ASSERT_EQ(AddFrameHook(FChain, {CompletePlugin, "tag=G"}), 0);
    FLog.Clear();
    EXPECT_EQ(AddFrameHook(FChain, c.Args), c.Result);
    EXPECT_THAT(Log(), ElementsAreArray(c.Log));
    ExpectOnlyErrors();
    EXPECT_EQ(ChainLength(FChain), 1);
    ReleaseFrameHooks(FChain);
  }
}

TEST_F(FrameHookTest, LoadingLeavesCurrentFolderAndPathAlone) {
  namespace fs = std::filesystem;
  const fs::path plugin(CompletePlugin);
  const fs::path parent = plugin.parent_path().parent_path();
  const String relative = (plugin.parent_path().filename() / plugin.filename()).string();
  const fs::path before = fs::current_path();
  const char* path = std::getenv("PATH");
  const String pathBefore = path ? path : "";

  fs::current_path(parent);
  // Relative names resolve against the caller's folder, which must still be the same after.
  const Integer viaRelative = AddFrameHook(FChain, {relative, "tag=R"});
  const fs::path during = fs::current_path();
  fs::current_path(before);

  EXPECT_EQ(viaRelative, 0) << relative;
  EXPECT_EQ(during, parent);
  EXPECT_EQ(AddFrameHook(FChain, {CompletePlugin, "tag=P"}), 0);
  EXPECT_EQ(fs::current_path(), before);
  path = std::getenv("PATH");
  EXPECT_EQ(path ? String(path) : String(), pathBefore);
  EXPECT_EQ(ChainLength(FChain), 2);
}

}  // namespace
