// The player as an application drives it: open, play, pause, step, seek, stop, and what it reports.
#include "engine/player/customplayer.h"

#include "engine/player/testkit/playertestkit.h"

namespace {

using component_test::TWatchdog;
using namespace std::chrono_literals;

class PlayerTest : public TPlayerTestBase {};

TEST_F(PlayerTest, PlaysAFileToItsEndAndReportsInOrderOnTheMainThread) {
  TRIVodero player(nullptr);
  TPlayerRecorder rec;
  rec.Attach(player);
  Int64 duration = 0;
  Integer frameW = 0, frameH = 0;
  player.OnFileOpen = [&](TObject*, const Int64 ADuration, const Integer AW, const Integer AH, Integer&, Integer&) {
    duration = ADuration;
    frameW = AW;
    frameH = AH;
  };
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  EXPECT_EQ(player.FileName(), Media().Mkv);
  EXPECT_NEAR(double(duration), 2000000.0, 100000.0);
  EXPECT_EQ(frameW, 160);
  EXPECT_EQ(frameH, 120);
  EXPECT_EQ(player.ScreenWidth(), 0) << "no host: the screen size stays unchosen";
  EXPECT_GE(player.VideoStreamIndex(), 0);
  EXPECT_GE(player.AudioStreamIndex(), 0);
  ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psEnd); }, 15000)) << "the end of the file was not reported";
  player.Stop(true);
  ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psStop); }));
  const std::vector<TPlayState> states = rec.StatesNow();
  ASSERT_GE(states.size(), 3u);
  EXPECT_EQ(states.front(), psPlay);
  EXPECT_EQ(states.back(), psStop);
  const std::vector<Int64> positions = rec.PositionsNow();
  ASSERT_GE(positions.size(), 5u);
  for (size_t i = 1; i < positions.size(); ++i) EXPECT_GT(positions[i], positions[i - 1]) << "at " << i;
  EXPECT_NEAR(double(positions.back()), double(duration), 1.0) << "the end reports the duration itself";
  for (bool main : rec.OnMainThread) EXPECT_TRUE(main);
  EXPECT_EQ(player.VideoStreamIndex(), -1);
  EXPECT_EQ(player.CurrentPTS(), -1);
  EXPECT_TRUE(player.Paused()) << "nothing open counts as paused";
}

TEST_F(PlayerTest, BadInputFailsWithItsReasonAndLeavesThePlayerReusable) {
  struct TCase {
    const char* Name;
    std::string File;
    std::string Reason;
  };
  const TCase cases[] = {
      {"missing", Media().Missing, Media().Missing + ": "},
      {"empty", Media().Empty, Media().Empty + ": "},
      {"text", Media().Text, Media().Text + ": "},
      {"truncated", Media().Truncated, Media().Truncated + ": "},
  };
  TRIVodero player(nullptr);
  TPlayerRecorder rec;
  rec.Attach(player);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TWatchdog guard(std::string("opening the ") + c.Name + " file", 60s);
    player.Setwanted_audio_stream(0);
    EXPECT_FALSE(player.Open(c.File, nullptr));
    EXPECT_EQ(player.LastErrMsg().rfind(c.Reason, 0), 0u) << player.LastErrMsg();
    EXPECT_EQ(player.VideoState(), nullptr);
    EXPECT_EQ(player.wanted_audio_stream(), -1) << "a failed open resets the per-open settings";
  }
  EXPECT_TRUE(rec.StatesNow().empty()) << "no play thread ran";
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psPlay); }));
  player.Stop(true);
  EXPECT_TRUE(ServeUntil([&] { return rec.Saw(psStop); }));
}

}  // namespace
