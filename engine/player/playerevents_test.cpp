// The play-event ring, the states it carries and the position logic.
#include <memory>

#include "engine/player/playerstages.h"
#include "engine/player/testkit/playercoreaccess.h"
#include "engine/player/testkit/playertestkit.h"

namespace {

class PlayerEventsTest : public TPlayerTestBase {
 protected:
  std::vector<TPlayEventEntry> Drain() {
    std::vector<TPlayEventEntry> out;
    for (TPlayEventEntry e; (e = Core.PopPlayEvent()).Kind != pekNone;) out.push_back(e);
    return out;
  }
  TRIVodero Player{nullptr};
  TPlayerCore& Core = PlayerCore(Player);
};

TEST_F(PlayerEventsTest, TheRingCoalescesOneKindAndDropsItsOldestWhenFull) {
  struct TCase {
    const char* Name;
    std::vector<TPlayEventEntry> Pushed;
    std::vector<std::pair<Integer, Int64>> Left;
  };
  const TCase cases[] = {
      {"same kind coalesces", {{pekPosition, 1}, {pekPosition, 2}, {pekPosition, 3}}, {{pekPosition, 3}}},
      {"kinds keep their order",
       {{pekPosition, 1}, {pekState, psPause}, {pekPosition, 2}},
       {{pekPosition, 1}, {pekState, psPause}, {pekPosition, 2}}},
      {"ten alternating lose the first",
       {{pekPosition, 0},
        {pekState, 1},
        {pekPosition, 2},
        {pekState, 3},
        {pekPosition, 4},
        {pekState, 5},
        {pekPosition, 6},
        {pekState, 7},
        {pekPosition, 8},
        {pekState, 9}},
       {{pekState, 1},
        {pekPosition, 2},
        {pekState, 3},
        {pekPosition, 4},
        {pekState, 5},
        {pekPosition, 6},
        {pekState, 7},
        {pekPosition, 8},
        {pekState, 9}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    for (const TPlayEventEntry& e : c.Pushed) Core.PushPlayEvent(e);
    EXPECT_EQ(Core.PlayEventRing().Event.WaitFor(0), wrSignaled);
    std::vector<std::pair<Integer, Int64>> left;
    for (const TPlayEventEntry& e : Drain()) left.emplace_back(e.Kind, e.Value);
    EXPECT_EQ(left, c.Left);
    EXPECT_EQ(Core.PlayEventRing().Event.WaitFor(0), wrTimeout)
        << "an empty ring lets the event thread sleep";
  }
}

TEST_F(PlayerEventsTest, StatesWithoutAHandlerQueueOnlyTheQuit) {
  Core.SetPlayState(psPause);
  EXPECT_EQ(Player.PlayState(), psPause);
  EXPECT_TRUE(Drain().empty());
  Core.SetPlayState(psStop);
  const std::vector<TPlayEventEntry> left = Drain();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].Kind, pekQuit);
  Player.OnState = [](TObject*, const TPlayState) {};
  Core.SetPlayState(psStep);
  const std::vector<TPlayEventEntry> withHandler = Drain();
  ASSERT_EQ(withHandler.size(), 1u);
  EXPECT_EQ(withHandler[0].Kind, pekState);
  EXPECT_EQ(withHandler[0].Value, psStep);
}

class PositionTest : public PlayerEventsTest {
 protected:
  void SetUp() override {
    PlayerEventsTest::SetUp();
    // An audio-only file whose audio clock the test moves (no device: the clock is audio_clock).
    State->audio_st = &FakeStream;
    State->Duration = 2000000;
    State->Owner = &Core;
    Player.OnPosition = [](TObject*, const Int64) {};
    Player.OnState = [](TObject*, const TPlayState) {};
    Core.FVideoState = State.get();
  }
  void TearDown() override { Core.FVideoState = nullptr; }
  // Positions and states the update queued at the audio clock ASeconds.
  std::vector<TPlayEventEntry> UpdateAt(double ASeconds) {
    State->audio_clock = ASeconds;
    Core.UpdatePosition();
    return Drain();
  }
  std::unique_ptr<TVideoState> State = std::make_unique<TVideoState>();
  AVStream FakeStream{};
};

TEST_F(PositionTest, PositionsAreThinnedToMovesOfMoreThanTenMilliseconds) {
  std::vector<TPlayEventEntry> e = UpdateAt(0.5);
  ASSERT_EQ(e.size(), 1u) << "the first position is always reported";
  EXPECT_EQ(e[0].Value, 500000);
  EXPECT_EQ(Player.CurrentPTS(), 500000);
  EXPECT_TRUE(UpdateAt(0.51).empty()) << "10 ms is not enough";
  EXPECT_EQ(Player.CurrentPTS(), 510000) << "but the current position follows";
  e = UpdateAt(0.5101);
  EXPECT_EQ(e.size(), 1u);
  e = UpdateAt(1.995);
  ASSERT_EQ(e.size(), 1u);
  e = UpdateAt(2.0);
  ASSERT_EQ(e.size(), 1u) << "the duration itself, though close to the last report";
  EXPECT_EQ(e[0].Value, 2000000);
}

TEST_F(PositionTest, TheEndOfInputBecomesTheEndStateAndAnImageSequenceReportsNothing) {
  State->ReachEOF = 1;
  std::vector<TPlayEventEntry> e = UpdateAt(1.0);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[1].Kind, pekState);
  EXPECT_EQ(e[1].Value, psEnd);
  e = UpdateAt(1.0);
  ASSERT_EQ(e.size(), 1u) << "without video the end is queued at every update";
  EXPECT_EQ(Player.PlayState(), psEnd);
  State->IsImage2 = 1;
  EXPECT_TRUE(UpdateAt(1.5).empty());
  State->IsImage2 = 0;
  State->IsDevice = 1;
  e = UpdateAt(1.8);
  ASSERT_EQ(e.size(), 1u) << "a capture device has no end";
  EXPECT_EQ(e[0].Kind, pekPosition);
}

TEST_F(PositionTest, AudioThatEndsBeforeTheContainerReportsTheContainersDuration) {
  State->AudioDuration = 1500000;
  std::vector<TPlayEventEntry> e = UpdateAt(1.6);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].Value, 2000000);
}

TEST_F(PositionTest, ThePlayWindowLoopsBySeekingWithoutWaiting) {
  State->ic = nullptr;
  Player.SetPlayTime(1000000);
  Player.SetRepeatType(rtNone);
  UpdateAt(1.2);
  EXPECT_EQ(State->seek_req, 0) << "rtNone does nothing";
  Player.SetRepeatType(rtLoop);
  // Seek needs the format context for its limits: give it an empty one.
  AVFormatContext* ic = ff::avformat_alloc_context();
  ic->duration = AV_NOPTS_VALUE;
  ic->start_time = AV_NOPTS_VALUE;
  State->ic = ic;
  UpdateAt(1.3);
  EXPECT_EQ(State->seek_req, 1);
  EXPECT_EQ(State->seek_pos, 0);
  EXPECT_EQ(State->seek_flags, AVSEEK_FLAG_ANY) << "no start time: to 0 with sfAny";
  EXPECT_EQ(State->seek_rel, 1);
  State->ic = nullptr;
  ff::avformat_free_context(ic);
}

}  // namespace
