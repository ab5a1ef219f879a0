// What a task does to the files around it: nothing before it runs, never its own source, and no
// file left behind that looks like a result when the run could not finish it.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/probe/avprobe.h"
#include "engine/transcoder/testkit/transcoder_testkit.h"

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

TEST_F(OutputSafetyTest, TheRunMakesTheFileAndOverwritesAnExistingOne) {
  const String existing = Out("overwritten.avi");
  WriteAll(existing, "old");
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  ASSERT_EQ(F->OpenOutputFile(existing, false), 1);
  F->StartConvert(false);
  EXPECT_TRUE(F->Finished()) << F->FatalMessage();
  EXPECT_FALSE(F->FatalException());
  EXPECT_GT(GetFileSize(existing), 10000);
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

}  // namespace
