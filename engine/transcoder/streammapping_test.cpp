// Binding output streams to their sources: explicit maps, the automatic choice, their failures and
// the mapping log.
#include "engine/transcoder/streamtables.h"
#include "engine/transcoder/testkit/transcoder_testkit.h"

using namespace transcoder_test;

namespace {

class StreamMappingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadLibraries();
    F = NewTask();
  }
  String Out(const String& AName) { return TMedia::Get().Path(AName); }
  std::unique_ptr<TCustomFFmpeg> F;
};

TEST_F(StreamMappingTest, SetUpFailuresEndTheRunWithTheirMessage) {
  const struct {
    std::vector<const char*> Maps;
    bool NoAudio;
    const char* Message;
  } cases[] = {
      {{"0:0"}, false, "Number of stream maps must match number of output streams"},
      {{"0:5"}, true, "Could not find input stream #0.5"},
      {{"1:0"}, true, "Could not find input stream #1.0"},
      {{"0:0:0:7"}, true, "Could not find sync stream #0.7"},
      {{"0:1"}, true, "Codec type mismatch for mapping #0.1 (Audio) -> #0.0 (Video)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    F = NewTask();
    String message;
    Integer terminations = 0;
    F->FOnTerminate = [&](TObject*) {
      ++terminations;
      message = F->FatalMessage();
    };
    ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
    for (const char* m : c.Maps) F->SetOption("map", m);
    if (c.NoAudio) F->SetOption("an", "");
    ASSERT_EQ(F->OpenOutputFile(Out("mapfail.avi"), false), 1);
    F->StartConvert(false);
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(F->FatalException());
    EXPECT_EQ(message, WithTaskFiles(c.Message, TMedia::Get().AudioVideoAvi(), Out("mapfail.avi")));
    EXPECT_FALSE(F->Finished());
    EXPECT_EQ(Peer::EncoderList(*F), nullptr);
    EXPECT_EQ(Peer::DecoderList(*F), nullptr);
  }
}

TEST_F(StreamMappingTest, ExplicitMapsChooseSourceAndSync) {
  // Video, subtitle, audio in the input; the output's audio and video mapped crosswise by index.
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().VideoSubtitleAudio()));
  F->SetOption("map", "0:0");
  F->SetOption("map", "0:2:0:0");
  F->SetOption("sn", "");
  ASSERT_EQ(F->OpenOutputFile(Out("mapped.avi"), false), 1);
  Peer::State(*F) = std::make_unique<TConvertState>();
  F->BuildInputStreamTable();
  ASSERT_EQ(Peer::State(*F)->ist_table.size(), 3u);
  F->BuildOutputStreamTable();
  TConvertState& s = *Peer::State(*F);
  ASSERT_EQ(s.ost_table.size(), 2u);
  EXPECT_EQ(s.ost_table[0]->source_index, 0);
  EXPECT_EQ(s.ost_table[1]->source_index, 2);
  EXPECT_EQ(s.ost_table[1]->sync_ist, s.ist_table[0].get());
  // The subtitle stream feeds nothing and stays discarded.
  EXPECT_TRUE(s.ist_table[1]->discard);
  EXPECT_FALSE(s.ist_table[2]->discard);

  TLogRecorder log;
  F->LogStreamMapping();
  EXPECT_TRUE(log.Has(llVerbose, "Stream mapping:"));
  EXPECT_TRUE(log.Has(llVerbose, "  Stream #0.0 -> #0.0 (Video)"));
  EXPECT_TRUE(log.Has(llVerbose, "  Stream #0.2 -> #0.1 (Audio)"));
  EXPECT_TRUE(log.Has(llVerbose, " [sync #0.0 (Audio)]"));
  F->FreeStreamTables();
  EXPECT_EQ(Peer::State(*F), nullptr);
}

TEST_F(StreamMappingTest, TwoOutputsShareTheOnlyInputStream) {
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioWav()));
  ASSERT_EQ(F->OpenOutputFile(Out("first.wav"), false), 1);
  ASSERT_EQ(F->OpenOutputFile(Out("second.wav"), false), 2);
  Integer terminations = 0;
  F->FOnTerminate = [&](TObject*) { ++terminations; };
  F->StartConvert(false);
  EXPECT_EQ(terminations, 1);
  EXPECT_TRUE(F->Finished()) << F->FatalMessage();
  // Both written in full from the one stream.
  for (const char* name : {"first.wav", "second.wav"})
    EXPECT_NEAR(GetFileSize(Out(name)), 2 * 22050 * 2, 256);  // 2 s of mono 16-bit
}

TEST_F(StreamMappingTest, ProgramFilterHasNoFallback) {
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().ProgramTs()));
  F->SetOption("programid", "8");
  F->SetOption("an", "");
  ASSERT_EQ(F->OpenOutputFile(Out("program.avi"), false), 1);
  F->StartConvert(false);
  EXPECT_EQ(F->FatalMessage(),
            WithTaskFiles("Could not find input stream matching output stream #0.0 (Video)",
                          TMedia::Get().ProgramTs(), Out("program.avi")));
}

TEST_F(StreamMappingTest, StartTimesAllowForDecoderDelay) {
  ASSERT_TRUE(F->OpenInputFile(TMedia::Get().AudioVideoAvi()));
  ASSERT_EQ(F->OpenOutputFile(Out("start.avi"), false), 1);
  Peer::State(*F) = std::make_unique<TConvertState>();
  F->BuildInputStreamTable();
  // Two pictures held back at 25 frames per second.
  F->input_files()[0]->codecs[0]->has_b_frames = 2;
  F->InitInputTimestamps();
  EXPECT_EQ(Peer::State(*F)->ist_table[0]->pts, -80000);
  EXPECT_EQ(Peer::State(*F)->ist_table[0]->next_pts, AV_NOPTS_VALUE);
  EXPECT_TRUE(Peer::State(*F)->ist_table[0]->is_start);
  F->FreeStreamTables();
}

}  // namespace
