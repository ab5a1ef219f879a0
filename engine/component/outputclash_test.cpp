// One file per list: two tasks never write one output, nor a task its own input; what a user is
// told when a task is refused.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "engine/component/testkit/component_testkit.h"
#include "engine/probe/avprobe.h"
#include "engine/transcoder/testkit/transcoder_testkit.h"

using namespace component_test;
using namespace transcoder_test;
namespace fs = std::filesystem;

namespace {

class OutputClashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadLibraries();
    FDir = fs::path(TMedia::Get().Path("clash"));
    fs::remove_all(FDir);
    fs::create_directories(FDir / "a");
    fs::create_directory_symlink(FDir / "a", FDir / "link");
    C.OnTerminate = [this](TObject*, const TTerminateInfo& AInfo) {
      if (AInfo.TaskIndex >= 0) Ends.push_back(AInfo);
    };
  }
  String P(const String& ARelative) const { return (FDir / ARelative).string(); }
  Integer AddTask() {
    const Integer task = C.AddTask(TMedia::Get().AudioVideoAvi());
    EXPECT_GE(task, 0) << C.LastErrMsg();
    return task;
  }
  static String Clash(const String& AName, Integer ATask, const String& AOther, Integer AOtherTask) {
    return Format(
        "Output file %s of task %d is the same file as %s, the output of task %d: two tasks "
        "cannot write one file",
        AName, ATask, AOther, AOtherTask);
  }

  static String ReadClash(const String& AName, Integer ATask, const String& AInput, Integer AReader) {
    return Format(
        "Output file %s of task %d is the same file as %s, the input of task %d: it would be "
        "overwritten while that task reads it",
        AName, ATask, AInput, AReader);
  }

  fs::path FDir;
  TTestConverter C;
  std::vector<TTerminateInfo> Ends;
};

TEST_F(OutputClashTest, AnOutputOfAnotherTaskIsRefusedAtAddNamingBoth) {
  const String first = P("a/out.avi");
  ASSERT_GE(AddTask(), 0);
  ASSERT_TRUE(C.SetOutputFile(0, first, String())) << C.LastErrMsg();
  for (const String& name : {first, P("a/./out.avi"), P("a/../a/out.avi"), P("link/out.avi")}) {
    SCOPED_TRACE(name);
    const Integer task = AddTask();
    EXPECT_FALSE(C.SetOutputFile(task, name, String()));
    EXPECT_EQ(C.LastErrMsg(), Clash(name, task, first, 0));
    EXPECT_EQ(C.Task(task).nb_output_files(), 0);
  }
  // A second output of the same task is refused the same way.
  EXPECT_FALSE(C.SetOutputFile(0, P("link/out.avi"), String()));
  EXPECT_EQ(C.LastErrMsg(), Clash(P("link/out.avi"), 0, first, 0));
  // Another name is fine, and so is a device any number of tasks write to.
  const Integer other = AddTask();
  EXPECT_TRUE(C.SetOutputFile(other, P("a/other.avi"), String())) << C.LastErrMsg();
  for (Integer i = 0; i < 2; ++i) {
    const Integer task = AddTask();
    TOutputOptions o;
    o.FileFormat = "avi";
    EXPECT_TRUE(C.SetOutputFile(task, "/dev/null", &o)) << C.LastErrMsg();
  }
}

TEST_F(OutputClashTest, ANameThatBecameTheSameFileIsRefusedAtStart) {
  fs::create_directories(FDir / "b");
  ASSERT_GE(AddTask(), 0);
  ASSERT_TRUE(C.SetOutputFile(0, P("a/out.avi"), String())) << C.LastErrMsg();
  ASSERT_GE(AddTask(), 0);
  ASSERT_TRUE(C.SetOutputFile(1, P("b/out.avi"), String())) << C.LastErrMsg();
  // After the tasks were built the second folder became the first.
  fs::remove(FDir / "b");
  fs::create_directory_symlink(FDir / "a", FDir / "b");
  C.Start(0);
  ASSERT_EQ(Ends.size(), 2u);
  EXPECT_TRUE(Ends[0].Finished) << Ends[0].ExceptionMsg;
  EXPECT_FALSE(Ends[0].Exception);
  EXPECT_FALSE(Ends[1].Finished);
  EXPECT_TRUE(Ends[1].Exception);
  EXPECT_EQ(Ends[1].ExceptionMsg, Clash(P("b/out.avi"), 1, P("a/out.avi"), 0));
  // The file is the first task's whole result, not a mix.
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(P("a/out.avi"))) << probe.LastErrMsg();
  EXPECT_EQ(probe.VideoStreamCount(), 1);
  EXPECT_EQ(probe.AudioStreamCount(), 1);
}

TEST_F(OutputClashTest, RefusalsAtAddSayWhatAndWhere) {
  const String file = P("plain.txt");
  std::ofstream(file) << "x";
  const String audioOnly = P("a/music.mp3");
  const struct {
    String Input, Output;
    String Message;
  } cases[] = {
      // the input itself, written another way
      {TMedia::Get().AudioVideoAvi(), "file:" + TMedia::Get().AudioVideoAvi(),
       "file:" + TMedia::Get().AudioVideoAvi() + ": Output file is the input file " +
           TMedia::Get().AudioVideoAvi() + "; a conversion cannot overwrite its own source"},
      // a video-only input to an audio-only format
      {TMedia::Get().NtscVideo(), audioOnly,
       audioOnly + ": No stream to write: the output takes audio, the input has video"},
      // outputs that cannot be written
      {TMedia::Get().AudioVideoAvi(), P("a"), P("a") + ": Is a directory"},
      {TMedia::Get().AudioVideoAvi(), file + "/x.avi", file + "/x.avi: Not a directory"},
      // inputs that cannot be read
      {P("a"), P("a/x.avi"), P("a") + ": Is a directory"},
      {file + "/in.avi", P("a/x.avi"), file + "/in.avi: Not a directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Output);
    C.ClearTasks();
    const Integer task = C.AddTask(c.Input);
    if (task < 0) {
      EXPECT_EQ(C.LastErrMsg(), c.Message);
      continue;
    }
    TOutputOptions o;
    if (c.Output != audioOnly) o.FileFormat = "avi";
    EXPECT_FALSE(C.SetOutputFile(task, c.Output, &o));
    EXPECT_EQ(C.LastErrMsg(), c.Message);
  }
}

TEST_F(OutputClashTest, AnotherTasksInputIsNeverOverwritten) {
  const String input = P("a/in.avi");
  fs::copy_file(TMedia::Get().AudioVideoAvi(), input);
  const auto size = fs::file_size(input);
  // At add: the output names a file another task reads.
  ASSERT_GE(C.AddTask(input), 0) << C.LastErrMsg();
  const Integer writer = AddTask();
  EXPECT_FALSE(C.SetOutputFile(writer, P("link/in.avi"), String()));
  EXPECT_EQ(C.LastErrMsg(), ReadClash(P("link/in.avi"), writer, input, 0));

  // At Start: the reader came after the writer.
  C.ClearTasks();
  const String later = P("a/later.avi");
  ASSERT_GE(AddTask(), 0);
  ASSERT_TRUE(C.SetOutputFile(0, later, String())) << C.LastErrMsg();
  fs::copy_file(TMedia::Get().AudioVideoAvi(), later);
  ASSERT_GE(C.AddTask(later), 0) << C.LastErrMsg();
  ASSERT_TRUE(C.SetOutputFile(1, P("a/from-later.avi"), String())) << C.LastErrMsg();
  C.Start(0);
  ASSERT_EQ(Ends.size(), 2u);
  EXPECT_TRUE(Ends[0].Exception);
  EXPECT_EQ(Ends[0].ExceptionMsg, ReadClash(later, 0, later, 1));
  EXPECT_TRUE(Ends[1].Finished) << Ends[1].ExceptionMsg;
  EXPECT_EQ(fs::file_size(later), size) << "the file the second task read is untouched";
  EXPECT_EQ(fs::file_size(input), size);
}

// A file of the output's name (made before the batch, or while it ran) is replaced only when the
// component may overwrite; the setting reaches tasks already built and is read when each task puts
// its output in place. Otherwise the task fails naming the file, which stays as it was.
TEST_F(OutputClashTest, AFileOfTheOutputsNameIsReplacedOnlyWhenOverwriting) {
  EXPECT_FALSE(C.OverwriteOutput()) << "never replace unless asked";
  for (bool overwrite : {false, true}) {
    SCOPED_TRACE(overwrite);
    C.ClearTasks();
    Ends.clear();
    const String before = P(overwrite ? "a/before-on.avi" : "a/before-off.avi");
    const String during = P(overwrite ? "a/during-on.avi" : "a/during-off.avi");
    std::ofstream(before) << "the user's file";
    for (const String& name : {before, during}) {
      const Integer task = AddTask();
      ASSERT_TRUE(C.SetOutputFile(task, name, String())) << C.LastErrMsg();
    }
    // Set after the tasks were built.
    C.SetOverwriteOutput(overwrite);
    C.OnProgress = [&](TObject*, PProgressInfo AInfo) {
      if (AInfo->TaskIndex == 1 && !fs::exists(during)) std::ofstream(during) << "saved meanwhile";
    };
    C.Start(0);
    C.OnProgress = nullptr;
    ASSERT_EQ(Ends.size(), 2u);
    for (const auto& [index, name, kept] :
         {std::tuple{0, before, "the user's file"}, std::tuple{1, during, "saved meanwhile"}}) {
      SCOPED_TRACE(name);
      EXPECT_EQ(Ends[index].Finished, overwrite) << Ends[index].ExceptionMsg;
      EXPECT_EQ(Ends[index].Exception, !overwrite);
      std::ifstream in(name);
      const String text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (overwrite) {
        EXPECT_GT(fs::file_size(name), 10000u);
      } else {
        EXPECT_EQ(Ends[index].ExceptionMsg,
                  "Could not put output file in place [" + name + ": File exists and overwriting is off]");
        EXPECT_EQ(text, kept);
      }
    }
  }
}

TEST_F(OutputClashTest, AnInputThatChangedWhileOutOfTheListIsLookedAtAnew) {
  const String input = P("a/in.avi");
  fs::copy_file(TMedia::Get().AudioVideoAvi(), input);
  ASSERT_GE(C.AddTask(input), 0) << C.LastErrMsg();
  // A second task's add compares its output with the first task's input.
  ASSERT_GE(AddTask(), 0);
  ASSERT_TRUE(C.SetOutputFile(1, P("a/other.avi"), String())) << C.LastErrMsg();
  C.RemoveTask(0);
  // Another file takes the name (made beside it, so it is another inode), and a task reads it again.
  fs::copy_file(TMedia::Get().NtscVideo(), P("a/new.avi"));
  fs::rename(P("a/new.avi"), input);
  const Integer reader = C.AddTask(input);
  ASSERT_GE(reader, 0) << C.LastErrMsg();
  const Integer writer = AddTask();
  EXPECT_FALSE(C.SetOutputFile(writer, P("link/in.avi"), String()));
  EXPECT_EQ(C.LastErrMsg(), ReadClash(P("link/in.avi"), writer, input, reader));
}

}  // namespace
