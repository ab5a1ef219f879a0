// What a task does to the files around it: nothing before it runs, never its own source, no file
// left behind that looks like a result when the run could not finish it, and never a file of its
// output's name lost.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "engine/probe/avprobe.h"
#include "engine/transcoder/testkit/transcoder_testkit.h"
#include "platform/rtl/partialfile.h"

using namespace transcoder_test;
namespace fs = std::filesystem;

namespace {

String ReadAll(const String& AFileName) {
  std::ifstream in(AFileName, std::ios::binary);
  return String((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const String& AFileName, const String& AText) {
  std::ofstream(AFileName, std::ios::binary) << AText;
}

bool StartsWith(const String& AText, const String& AStart) {
  return AText.rfind(AStart, 0) == 0;
}

bool Contains(const String& AText, const String& APart) {
  return AText.find(APart) != String::npos;
}

// The names in a folder, sorted.
std::vector<String> Entries(const fs::path& AFolder) {
  std::vector<String> names;
  for (const auto& entry : fs::directory_iterator(AFolder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class OutputSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadLibraries();
    NewRun();
  }
  void NewRun() {
    F = NewTask();
    Ends = 0;
    F->FOnTerminate = [this](TObject*) { ++Ends; };
  }
  String Out(const String& AName) { return TMedia::Get().Path(AName); }

  std::unique_ptr<TCustomFFmpeg> F;
  Integer Ends = 0;
};

// ---- before the run ----------------------------------------------------------------------------

TEST_F(OutputSafetyTest, AddingAnOutputCreatesAndTruncatesNothing) {
  const String existing = Out("existing.avi");
  WriteAll(existing, "a file the user keeps");
  const String fresh = Out("fresh.avi");
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  ASSERT_EQ(F->OpenOutputFile(existing, false), 1) << F->LastErrMsg();
  ASSERT_EQ(F->OpenOutputFile(fresh, false), 2) << F->LastErrMsg();
  EXPECT_EQ(ReadAll(existing), "a file the user keeps");
  EXPECT_FALSE(FileExists(fresh));
  // A task that never runs (removed, cleared) leaves both as they were.
  F->Cleanup();
  EXPECT_EQ(F->nb_output_files(), 0);
  EXPECT_EQ(ReadAll(existing), "a file the user keeps");
  EXPECT_FALSE(FileExists(fresh));
}

// The run writes a partial file beside the output and gives it the output's name when it is whole:
// over an existing file only when the task may overwrite, else the task fails naming the file and
// the file is left as it was, also when it appeared while the run wrote.
TEST_F(OutputSafetyTest, TheFinishedFileTakesItsNameReplacingAFileOnlyWhenAllowed) {
  enum TExisting { None, Before, During };
  const struct {
    TExisting Existing;
    bool Overwrite;
    bool Finished;
  } cases[] = {{None, false, true}, {Before, false, false}, {Before, true, true}, {During, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "existing " << c.Existing << ", overwrite " << c.Overwrite);
    const fs::path folder = fs::path(Out("made"));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const String output = (folder / "out.avi").string();
    if (c.Existing == Before) WriteAll(output, "old");
    NewRun();
    F->SetOverwriteOutput(c.Overwrite);
    ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
    ASSERT_EQ(F->OpenOutputFile(output, false), 1);
    F->ReportInterval = 0;
    F->FOnProgress = [&](TObject*, Integer, Integer AFrame, Integer, Single, Single, Int64, Int64, Int64) {
      if (c.Existing == During && AFrame >= 5 && !FileExists(output)) WriteAll(output, "saved meanwhile");
    };
    F->StartConvert(false);
    EXPECT_EQ(Ends, 1);
    EXPECT_EQ(F->Finished(), c.Finished) << F->FatalMessage();
    EXPECT_EQ(F->FatalException(), !c.Finished);
    if (c.Finished) {
      EXPECT_GT(GetFileSize(output), 10000);
    } else {
      EXPECT_EQ(F->FatalMessage(),
                "Could not put output file in place [" + output + ": File exists and overwriting is off]");
      EXPECT_EQ(ReadAll(output), c.Existing == Before ? "old" : "saved meanwhile");
    }
    EXPECT_EQ(Entries(folder), std::vector<String>{"out.avi"}) << "no partial file is left";
  }
}

TEST_F(OutputSafetyTest, AnOutputThatIsItsOwnInputIsRefusedHoweverItIsWritten) {
  const fs::path folder = fs::path(Out("same"));
  fs::create_directories(folder / "in");
  const String input = (folder / "in" / "clip.avi").string();
  fs::copy_file(TMedia::Get().AudioVideoAvi(), input, fs::copy_options::overwrite_existing);
  const auto size = fs::file_size(input);
  fs::remove(folder / "link");
  fs::create_directory_symlink(folder / "in", folder / "link");
  fs::remove(folder / "hard.avi");
  fs::create_hard_link(input, folder / "hard.avi");
  for (const String& name :
       {input, (folder / "in" / "." / "clip.avi").string(),
        (folder / "in" / ".." / "in" / "clip.avi").string(), (folder / "link" / "clip.avi").string(),
        (folder / "hard.avi").string(), "file:" + input}) {
    SCOPED_TRACE(name);
    NewRun();
    ASSERT_TRUE(F->OpenInputFile(input));
    EXPECT_EQ(F->OpenOutputFile(name, false), -1);
    EXPECT_EQ(F->LastErrMsg(), name + ": Output file is the input file " + input +
                                   "; a conversion cannot overwrite its own source");
    EXPECT_EQ(F->nb_output_files(), 0);
    F->Cleanup();
    EXPECT_EQ(fs::file_size(input), size);
  }
  // Another name in the same folder is fine.
  NewRun();
  ASSERT_TRUE(F->OpenInputFile(input));
  EXPECT_EQ(F->OpenOutputFile((folder / "in" / "clip.mkv").string(), false), 1) << F->LastErrMsg();
}

TEST_F(OutputSafetyTest, AnOutputWithoutAStreamForTheInputIsRefused) {
  const struct {
    String Input, Output;
    std::vector<const char*> Options;
    const char* Reason;
  } cases[] = {
      {TMedia::Get().NtscVideo(), "videoonly.mp3", {}, "the output takes audio, the input has video"},
      {TMedia::Get().AudioWav(), "audioonly.m2v", {}, "the output takes video, the input has audio"},
      {TMedia::Get().AudioWav(), "noaudio.avi", {"an"}, "the output takes video, the input has audio"},
      {TMedia::Get().AudioVideoAvi(), "nothing.mkv", {"an", "vn", "sn"}, "every kind of stream is disabled"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Output);
    NewRun();
    ASSERT_TRUE(F->OpenInputFile(c.Input));
    for (const char* option : c.Options) F->SetOption(option, "");
    EXPECT_EQ(F->OpenOutputFile(Out(c.Output), false), -1);
    EXPECT_EQ(F->LastErrMsg(), Out(c.Output) + ": No stream to write: " + c.Reason);
    EXPECT_EQ(F->nb_output_files(), 0);
  }
}

TEST_F(OutputSafetyTest, AnUnwritableOutputIsRefusedWithItsCause) {
  const String file = Out("plainfile");
  WriteAll(file, "x");
  const String folder = Out("afolder");
  fs::create_directories(folder);
  const struct {
    String Name, Cause;
  } cases[] = {{folder, "Is a directory"},
               {file + "/x.avi", "Not a directory"},
               {Out("no/such/folder/x.avi"), "No such file or directory"}};
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  for (const auto& c : cases) {
    F->SetFormat("avi");
    EXPECT_EQ(F->OpenOutputFile(c.Name, false), -1);
    EXPECT_EQ(F->LastErrMsg(), c.Name + ": " + c.Cause);
  }
}

// ---- at the end of the run ---------------------------------------------------------------------

// Runs with writes limited to ALimit bytes per file, as on a full disk.
void RunWithFileSizeLimit(TCustomFFmpeg& ATask, rlim_t ALimit) {
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit limit = saved;
  limit.rlim_cur = ALimit;
  auto* previous = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  ATask.StartConvert(false);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
}

TEST_F(OutputSafetyTest, AFileThatCouldNotBeFinishedFailsTheTaskAndGoes) {
  // The MP4 muxer writes its index at the end: a limit just below the full size hits the trailer,
  // a small one the packets.
  const String whole = Out("whole.mp4");
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  F->SetOption("b", "2000000");
  ASSERT_EQ(F->OpenOutputFile(whole, false), 1);
  F->StartConvert(false);
  ASSERT_TRUE(F->Finished()) << F->FatalMessage();
  const Int64 size = GetFileSize(whole);
  ASSERT_GT(size, 60000);

  // Raw pictures alone fill the file's write buffer long before the end: a small limit hits the
  // packets.
  const struct {
    rlim_t Limit;
    String Name;
    bool VideoOnly;
    String Start;
  } cases[] = {
      {rlim_t(size - 200), "full.mp4", false,
       "Could not write the end of output file #0 [" + Out("full.mp4") + ": "},
      {20000, "full.avi", true, "av_interleaved_write_frame(): File too large [" + Out("full.avi") + "]"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Limit);
    NewRun();
    ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
    F->SetOption("b", "2000000");
    if (c.VideoOnly) {
      F->SetOption("an", "");
      F->SetOption("vcodec", "rawvideo");
    }
    ASSERT_EQ(F->OpenOutputFile(Out(c.Name), false), 1);
    RunWithFileSizeLimit(*F, c.Limit);
    EXPECT_EQ(Ends, 1);
    EXPECT_FALSE(F->Finished());
    EXPECT_TRUE(F->FatalException());
    EXPECT_TRUE(StartsWith(F->FatalMessage(), c.Start)) << F->FatalMessage();
    EXPECT_TRUE(Contains(F->FatalMessage(), "File too large")) << F->FatalMessage();
    EXPECT_FALSE(FileExists(Out(c.Name))) << "the half-written file is removed";
  }
}

TEST_F(OutputSafetyTest, ARunThatWroteNoFrameFailsAndLeavesNoFile) {
  const String output = Out("nothing.mp3");
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioWithoutParametersTs()));
  // As an audio row of the catalogue sets them: the encoder opens, the decoder never gives a frame.
  F->SetOption("ar", "44100");
  F->SetOption("ac", "2");
  ASSERT_EQ(F->OpenOutputFile(output, false), 1) << F->LastErrMsg();
  F->StartConvert(false);
  EXPECT_EQ(Ends, 1);
  EXPECT_FALSE(F->Finished());
  EXPECT_TRUE(F->FatalException());
  EXPECT_EQ(F->FatalMessage(), output + ": No frame was written: nothing could be decoded from the input");
  EXPECT_FALSE(FileExists(output));
}

// Whatever ends a run that could overwrite, the user's file of the output's name stays as it was and
// nothing of the run is left beside it.
TEST_F(OutputSafetyTest, AFailedRunNeverCostsTheFileOfItsOutputsName) {
  // The MP4 muxer writes its index at the end: a limit just below the whole size hits the trailer.
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  F->SetOption("b", "2000000");
  ASSERT_EQ(F->OpenOutputFile(Out("measured.mp4"), false), 1);
  F->StartConvert(false);
  ASSERT_TRUE(F->Finished()) << F->FatalMessage();
  const rlim_t wholeSize = rlim_t(GetFileSize(Out("measured.mp4")));
  const struct {
    const char* What;
    String Input;
    String Name;
    std::vector<std::pair<const char*, const char*>> Options;
    rlim_t Limit;  // 0: none
    const char* Failure;
  } cases[] = {
      {"nothing decodable",
       TMedia::Get().AudioWithoutParametersTs(),
       "nothing.mp3",
       {{"ar", "44100"}, {"ac", "2"}},
       0,
       "No frame was written"},
      {"a full disk while writing frames",
       TMedia::Get().AudioVideoAvi(),
       "full.avi",
       {{"an", ""}, {"vcodec", "rawvideo"}},
       20000,
       "File too large"},
      {"a full disk at the end",
       TMedia::Get().AudioVideoAvi(),
       "end.mp4",
       {{"b", "2000000"}},
       wholeSize - 200,
       "Could not write the end of output file #0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    const fs::path folder = fs::path(Out("kept"));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const String output = (folder / c.Name).string();
    WriteAll(output, "the user's file");
    NewRun();
    F->SetOverwriteOutput(true);
    ASSERT_TRUE(F->OpenInputFile(c.Input));
    for (const auto& [name, value] : c.Options) F->SetOption(name, value);
    ASSERT_EQ(F->OpenOutputFile(output, false), 1) << F->LastErrMsg();
    if (c.Limit)
      RunWithFileSizeLimit(*F, c.Limit);
    else
      F->StartConvert(false);
    EXPECT_EQ(Ends, 1);
    EXPECT_FALSE(F->Finished());
    EXPECT_TRUE(Contains(F->FatalMessage(), c.Failure)) << F->FatalMessage();
    EXPECT_EQ(ReadAll(output), "the user's file");
    EXPECT_EQ(Entries(folder), std::vector<String>{c.Name});
  }
}

// A kill (or a crash, or a power loss) in the middle of a conversion that may overwrite: the user's
// file of the output's name is whole, and the only other file is a hidden partial one, which the
// next conversion of that output removes.
TEST_F(OutputSafetyTest, AKilledConversionLeavesTheUsersFileAndOnlyAPartialOne) {
  const fs::path folder = fs::path(Out("killed"));
  fs::remove_all(folder);
  fs::create_directories(folder);
  const String output = (folder / "clip.avi").string();
  WriteAll(output, "the user's file");
  F->SetOverwriteOutput(true);
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  ASSERT_EQ(F->OpenOutputFile(output, false), 1);
  int halfway[2];
  ASSERT_EQ(pipe(halfway), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(halfway[0]);
    F->ReportInterval = 0;
    F->FOnProgress = [&](TObject*, Integer, Integer AFrame, Integer, Single, Single, Int64, Int64, Int64) {
      if (AFrame < 10) return;
      (void)!write(halfway[1], "h", 1);
      for (;;) pause();
    };
    F->StartConvert(false);
    _exit(3);
  }
  close(halfway[1]);
  pollfd wait{halfway[0], POLLIN, 0};
  const bool reached = poll(&wait, 1, 60000) == 1;
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(halfway[0]);
  ASSERT_TRUE(reached) << "the conversion never got half-way";
  EXPECT_EQ(ReadAll(output), "the user's file");
  const std::vector<String> entries = Entries(folder);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1], "clip.avi");
  EXPECT_TRUE(IsPartialFileOf(entries[0], output)) << entries[0];
  EXPECT_GT(fs::file_size(folder / entries[0]), 0u);

  NewRun();
  F->SetOverwriteOutput(true);
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  ASSERT_EQ(F->OpenOutputFile(output, false), 1);
  F->StartConvert(false);
  EXPECT_TRUE(F->Finished()) << F->FatalMessage();
  EXPECT_EQ(Entries(folder), std::vector<String>{"clip.avi"});
}

// The folder of the output removed while the run writes: the task fails naming the cause, it never
// counts as finished with its file nowhere.
TEST_F(OutputSafetyTest, AFolderRemovedWhileWritingFailsTheTask) {
  const fs::path folder = fs::path(Out("vanishing"));
  fs::create_directories(folder);
  const String output = (folder / "out.avi").string();
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  ASSERT_EQ(F->OpenOutputFile(output, false), 1);
  F->ReportInterval = 0;
  F->FOnProgress = [&](TObject*, Integer, Integer AFrame, Integer, Single, Single, Int64, Int64, Int64) {
    if (AFrame >= 5) fs::remove_all(folder);
  };
  F->StartConvert(false);
  EXPECT_EQ(Ends, 1);
  EXPECT_FALSE(F->Finished());
  EXPECT_TRUE(F->FatalException());
  EXPECT_EQ(F->FatalMessage(),
            "Could not put output file in place [" + output + ": No such file or directory]");
  EXPECT_FALSE(fs::exists(folder));
}

TEST_F(OutputSafetyTest, AnEncoderThatDoesNotOpenTellsTheFileAndTheCause) {
  const String output = Out("odd.avi");
  const String existing = "an earlier result";
  WriteAll(output, existing);
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  F->SetOption("vcodec", "h263");
  F->SetOption("s", "160x120");
  F->SetOption("an", "");
  ASSERT_EQ(F->OpenOutputFile(output, false), 1) << F->LastErrMsg();
  F->StartConvert(false);
  EXPECT_TRUE(F->FatalException());
  const String message = F->FatalMessage();
  EXPECT_TRUE(StartsWith(message,
                         "Error while opening encoder for output stream #0.0 (Video) - maybe incorrect "
                         "parameters such as bit_rate, rate, width or height."))
      << message;
  EXPECT_TRUE(Contains(message, "[" + output + ": ")) << message;
  EXPECT_TRUE(Contains(message, "The specified picture size of 160x120 is not valid for the H.263 codec"))
      << message;
  // The set-up failed before anything was written: the earlier file is still there.
  EXPECT_EQ(ReadAll(output), existing);
}

// ---- devices -----------------------------------------------------------------------------------

// A character device of our own beside the test files: the null device (1, 3) or the full one (1, 7).
String MakeDevice(const String& AName, unsigned AMinor) {
  fs::remove(AName);
  if (mknod(AName.c_str(), S_IFCHR | 0666, makedev(1, AMinor)) != 0) return String();
  return AName;
}

TEST_F(OutputSafetyTest, ADeviceWrittenToIsNeverRemoved) {
  const struct {
    unsigned Minor;
    bool Fails;
  } cases[] = {{3, false}, {7, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Minor);
    const String device = MakeDevice(Out("device"), c.Minor);
    if (device.empty()) GTEST_SKIP() << "making a device needs root";
    NewRun();
    ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
    F->SetFormat("avi");
    ASSERT_EQ(F->OpenOutputFile(device, false), 1) << F->LastErrMsg();
    F->StartConvert(false);
    EXPECT_EQ(F->FatalException(), c.Fails) << F->FatalMessage();
    if (c.Fails) {
      EXPECT_TRUE(Contains(F->FatalMessage(), device + ": No space left on device")) << F->FatalMessage();
    }
    EXPECT_TRUE(fs::is_character_file(device)) << "the device is still there";
  }
}

TEST_F(OutputSafetyTest, AFailedLastWriteIsToldWhenTheFileCloses) {
  const String device = MakeDevice(Out("full-device"), 7);
  if (device.empty()) GTEST_SKIP() << "making a device needs root";
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  F->SetFormat("avi");
  ASSERT_EQ(F->OpenOutputFile(device, false), 1) << F->LastErrMsg();
  F->OpenOutputFiles();
  TOpenedOutput& output = *F->output_files()[0];
  ASSERT_NE(output.ctx->pb, nullptr);
  const uint8_t bytes[100] = {};
  ff::avio_write(output.ctx->pb, bytes, sizeof bytes);
  EXPECT_EQ(F->CloseOutputFile(output),
            "Could not close output file [" + device + ": No space left on device]");
  EXPECT_EQ(output.ctx->pb, nullptr);
  F->Cleanup();
  EXPECT_TRUE(fs::is_character_file(device));
}

// A run past a file size limit in a program that starts as programs do, with the limit's signal at
// its default disposition: the write fails and the task ends naming the file and the cause, instead
// of the signal ending the program (and every other task with it).
void ConvertPastAFileSizeLimit() {
  LoadLibraries();
  const String input = TMedia::Get().AudioVideoAvi();
  const String output = TMedia::Get().Path("limited.avi");
  WriteAll(output, "the user's file");
  auto task = NewTask();
  task->SetOverwriteOutput(true);
  if (!task->OpenInputFile(input)) std::exit(2);
  task->SetOption("an", "");
  task->SetOption("vcodec", "rawvideo");
  if (task->OpenOutputFile(output, false) != 1) std::exit(2);
  struct rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  struct rlimit limit = saved;
  limit.rlim_cur = 20000;
  setrlimit(RLIMIT_FSIZE, &limit);
  task->StartConvert(false);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::fprintf(stderr, "task ended: %s\n", task->FatalMessage().c_str());
  std::exit(!task->Finished() && ReadAll(output) == "the user's file" ? 0 : 1);
}

TEST(OutputSafetyInAFreshProgram, AFileSizeLimitFailsTheTaskNotTheProgram) {
  constexpr const char* ChildRole = "NERIVO_FILE_SIZE_LIMIT_RUN";
  if (std::getenv(ChildRole)) ConvertPastAFileSizeLimit();
  // This test again in a new run of this program, started with the signal at its default.
  const String log = TMedia::Get().Path("limited.log");
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t standard;
  sigemptyset(&standard);
  sigaddset(&standard, SIGXFSZ);
  posix_spawnattr_setsigdefault(&attributes, &standard);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&files, 1, 2);
  const String self = fs::read_symlink("/proc/self/exe").string();
  const String filter = "--gtest_filter=OutputSafetyInAFreshProgram.AFileSizeLimitFailsTheTaskNotTheProgram";
  char* argv[] = {const_cast<char*>(self.c_str()), const_cast<char*>(filter.c_str()), nullptr};
  setenv(ChildRole, "1", 1);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, self.c_str(), &files, &attributes, argv, environ);
  unsetenv(ChildRole);
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
  ASSERT_EQ(spawned, 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  const String output = ReadAll(log);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status) << "\n" << output;
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_TRUE(Contains(output, "task ended: av_interleaved_write_frame(): File too large [")) << output;
  EXPECT_TRUE(Contains(output, "limited.avi]")) << output;
}

}  // namespace
