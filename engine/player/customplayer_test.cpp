// The player as an application drives it: open, play, pause, step, seek, stop, and what it reports.
#include "engine/player/customplayer.h"

#include "engine/base/sdlstubs.h"
#include "engine/base/testkit/logcapture.h"
#include "engine/player/testkit/playertestkit.h"
#include "platform/rtl/environment.h"
#include "platform/ui/graphics/bitmap.h"

namespace {

using enginetest::TWatchdog;
using namespace std::chrono_literals;

class PlayerTest : public TPlayerTestBase {};

// Shares of a 24-bit picture's pixels that are bright (any colour), and that are pure green.
double BrightShare(TBitmap& ABitmap) {
  Integer bright = 0;
  for (Integer y = 0; y < ABitmap.Height(); ++y)
    for (Integer x = 0; x < ABitmap.Width(); ++x) {
      const Byte* p = ABitmap.ScanLine(y) + 3 * x;
      bright += p[0] + p[1] + p[2] > 150;
    }
  return double(bright) / std::max(1, ABitmap.Width() * ABitmap.Height());
}
double GreenShare(TBitmap& ABitmap) {
  Integer green = 0;
  for (Integer y = 0; y < ABitmap.Height(); ++y)
    for (Integer x = 0; x < ABitmap.Width(); ++x) {
      const Byte* p = ABitmap.ScanLine(y) + 3 * x;
      green += p[0] < 40 && p[1] > 200 && p[2] < 40;
    }
  return double(green) / std::max(1, ABitmap.Width() * ABitmap.Height());
}

TEST_F(PlayerTest, PlaysAFileToItsEndAndReportsInOrderOnTheMainThread) {
  TRIVodero player(nullptr);
  TPlayerRecorder rec;
  rec.Attach(player);
  Int64 duration = 0;
  Integer frameW = 0, frameH = 0;
  player.OnFileOpen = [&](TObject*, const Int64 ADuration, const Integer AW, const Integer AH, Integer&,
                          Integer&) {
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
  // The end of the input can be reported before the clock has run to the duration; the duration
  // itself follows once it has.
  ASSERT_TRUE(ServeUntil(
      [&] {
        const std::vector<Int64> p = rec.PositionsNow();
        return !p.empty() && p.back() == duration;
      },
      15000))
      << "the end reports the duration itself";
  player.Stop(true);
  ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psStop); }));
  const std::vector<TPlayState> states = rec.StatesNow();
  ASSERT_GE(states.size(), 3u);
  EXPECT_EQ(states.front(), psPlay);
  EXPECT_EQ(states.back(), psStop);
  const std::vector<Int64> positions = rec.PositionsNow();
  ASSERT_GE(positions.size(), 5u);
  // The video clock runs on from the shown picture; a late picture may set it back a little.
  for (size_t i = 1; i < positions.size(); ++i)
    EXPECT_GT(positions[i], positions[i - 1] - 100000) << "at " << i;
  EXPECT_LT(positions.front(), 500000);
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

TEST_F(PlayerTest, OpenedPausedShowsItsFirstPicturesThenPauses) {
  TRIVodero player(nullptr);
  TPlayerRecorder rec;
  rec.Attach(player);
  Int64 pts = 0;
  TBitmap* before = player.CurrentFrame(pts);
  EXPECT_EQ(before->Width(), 0);
  EXPECT_EQ(pts, -1) << "nothing open";
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr, true)) << player.LastErrMsg();
  ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psPause); }));
  EXPECT_TRUE(player.Paused());
  EXPECT_EQ(rec.StatesNow(), (std::vector<TPlayState>{psPlay, psPause}));
  ASSERT_TRUE(ServeUntil([&] {
    return player.CurrentFrame(pts)->Width() == 160 && BrightShare(*player.CurrentFrame()) > 0.3;
  })) << "a black picture: nothing was shown";
  EXPECT_EQ(player.CurrentFrame(pts)->Height(), 120);
  EXPECT_LT(pts, 100000) << "one of the first pictures";
  player.Stop(true);
}

TEST_F(PlayerTest, PauseResumeToggleAndStepReportTheirStates) {
  TRIVodero player(nullptr);
  TPlayerRecorder rec;
  rec.Attach(player);
  player.Pause();  // nothing open: nothing happens
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psPlay); }));
  // States of one kind coalesce in the ring until the event thread takes them: each is awaited.
  auto expectNext = [&](TPlayState AState) {
    const size_t seen = rec.StatesNow().size();
    ASSERT_TRUE(ServeUntil([&] { return rec.StatesNow().size() > seen; })) << "state " << AState;
    EXPECT_EQ(rec.StatesNow().back(), AState);
  };
  player.Pause();
  EXPECT_TRUE(player.Paused());
  expectNext(psPause);
  player.Pause();  // already paused: nothing
  player.TogglePause();
  EXPECT_FALSE(player.Paused());
  expectNext(psResume);
  player.Resume();  // already running: nothing
  player.TogglePause();
  EXPECT_TRUE(player.Paused());
  expectNext(psPause);
  EXPECT_EQ(rec.StatesNow(), (std::vector<TPlayState>{psPlay, psPause, psResume, psPause}));

  // Each step shows one more picture and pauses again; only the first step reports.
  Int64 first = 0, second = 0;
  player.CurrentFrame(first);
  player.StepToNextFrame();
  ASSERT_TRUE(ServeUntil([&] { return player.Paused() && (player.CurrentFrame(second), second > first); }));
  player.StepToNextFrame();
  Int64 third = 0;
  ASSERT_TRUE(ServeUntil([&] { return player.Paused() && (player.CurrentFrame(third), third > second); }));
  // One more decoded picture per step; one already waiting in the queue may be shown with it.
  EXPECT_LE(third - second, 80000) << "at most two pictures at 25 per second";
  ServeUntil([] { return false; }, 100);
  std::vector<TPlayState> states = rec.StatesNow();
  EXPECT_EQ(std::count(states.begin(), states.end(), psStep), 1);
  player.Resume();
  EXPECT_FALSE(player.Paused());
  player.Stop(true);
  ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psStop); }));
  EXPECT_EQ(rec.StatesNow().back(), psStop);
}

TEST_F(PlayerTest, SeekWaitsForThePictureAtTheNewPosition) {
  TRIVodero player(nullptr);
  TPlayerRecorder rec;
  rec.Attach(player);
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr, true)) << player.LastErrMsg();
  ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psPause); }));
  player.Seek(Int64(1000000), TSeekFlags{}, true);
  EXPECT_TRUE(ServeUntil([&] { return !player.Seeking(); })) << "seeking ends with the first new picture";
  Int64 pts = 0;
  // The key frame before 1 s (one every 0.4 s) is the first picture shown.
  ASSERT_TRUE(ServeUntil([&] { return player.CurrentFrame(pts), pts >= 750000; }))
      << "the paused player shows the picture at the new position, now at " << pts;
  EXPECT_LT(pts, 1050000);
  // Beyond the end goes to the end; the relative seek moves from the master clock.
  player.Seek(Int64(60000000), TSeekFlags{}, true);
  ASSERT_TRUE(ServeUntil([&] { return player.CurrentFrame(pts), pts >= 1500000; })) << pts;
  player.Seek(-1.0, TSeekFlags{sfBackward}, true);
  ASSERT_TRUE(ServeUntil([&] { return player.CurrentFrame(pts), pts < 1500000; })) << pts;
  player.Stop(true);
}

TEST_F(PlayerTest, StopWithoutWaitingReturnsAndStopArrivesLater) {
  TRIVodero player(nullptr);
  TPlayerRecorder rec;
  rec.Attach(player);
  player.Stop(true);  // nothing open: only shuts SDL down
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psPlay); }));
  player.Stop(false);
  EXPECT_FALSE(rec.Saw(psStop)) << "delivered on the main thread, which has not served its queue yet";
  ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psStop) && !player.VideoState(); }));
  // A second open while one plays stops the first (waiting) before SDL starts again.
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  ASSERT_TRUE(ServeUntil([&] { return rec.StatesNow().size() >= 3; }));
  ASSERT_TRUE(player.Open(Media().Avi, nullptr)) << player.LastErrMsg();
  ASSERT_TRUE(ServeUntil([&] { return rec.StatesNow().size() >= 5; }));
  EXPECT_EQ(rec.StatesNow(), (std::vector<TPlayState>{psPlay, psStop, psPlay, psStop, psPlay}));
  player.Stop(true);
}

TEST_F(PlayerTest, PerOpenSettingsGoBackToTheirDefaultsAfterAClose) {
  TRIVodero player(nullptr);
  player.Setwanted_audio_stream(0);
  player.Setstart_time(500000);
  player.SetPlayTime(10000000);
  player.SetRepeatType(rtLoop);
  player.SetVerticalFlip(true);
  player.Setseek_by_bytes(1);
  player.SetAudioVolume(77);
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  player.Stop(true);
  EXPECT_EQ(player.wanted_audio_stream(), -1);
  EXPECT_EQ(player.start_time(), AV_NOPTS_VALUE);
  EXPECT_EQ(player.PlayTime(), AV_NOPTS_VALUE);
  EXPECT_EQ(player.RepeatType(), rtStop);
  EXPECT_FALSE(player.VerticalFlip());
  EXPECT_EQ(player.seek_by_bytes(), -1);
  EXPECT_EQ(player.AudioVolume(), 77) << "not a per-open setting";
}

TEST_F(PlayerTest, AnAudioOnlyFileReportsNoFrameSizeAndEnds) {
  TRIVodero player(nullptr);
  TPlayerRecorder rec;
  rec.Attach(player);
  Integer w = 0, h = 0;
  player.OnFileOpen = [&](TObject*, const Int64, const Integer AW, const Integer AH, Integer&, Integer&) {
    w = AW;
    h = AH;
  };
  ASSERT_TRUE(player.Open(Media().AudioOnly, nullptr)) << player.LastErrMsg();
  EXPECT_EQ(w, -1);
  EXPECT_EQ(h, -1);
  EXPECT_EQ(player.VideoStreamIndex(), -1);
  ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psEnd); }, 15000));
  const std::vector<Int64> positions = rec.PositionsNow();
  ASSERT_FALSE(positions.empty());
  EXPECT_NEAR(double(positions.back()), 2000000.0, 50000.0);
  player.Stop(true);
}

TEST_F(PlayerTest, StreamSwitchesAndTheirRefusals) {
  TRIVodero player(nullptr);
  ASSERT_TRUE(player.Open(Media().TwoAudio, nullptr, true)) << player.LastErrMsg();
  const Integer first = player.AudioStreamIndex();
  ASSERT_GE(first, 0);
  player.SetAudioStreamIndex(first);
  EXPECT_EQ(player.LastErrMsg(), "") << "the current index changes nothing";
  player.SetAudioStreamIndex(99);
  EXPECT_EQ(player.LastErrMsg(), "the stream index is not valid.");
  EXPECT_EQ(player.AudioStreamIndex(), first);
  player.SetAudioStreamIndex(player.VideoStreamIndex());
  EXPECT_EQ(player.LastErrMsg(), "the stream type is not matched.");
  const Integer second = first == 1 ? 2 : 1;
  player.SetAudioStreamIndex(second);
  EXPECT_EQ(player.AudioStreamIndex(), second);
  player.SetSubtitleStreamIndex(-1);
  EXPECT_EQ(player.SubtitleStreamIndex(), -1) << "-1 turns subtitles off";
  player.SetVideoStreamIndex(-1);
  EXPECT_EQ(player.LastErrMsg(), "the stream index is not valid.");
  player.Stop(true);
}

TEST_F(PlayerTest, AnUnknownInputFormatIsRefused) {
  TRIVodero player(nullptr);
  try {
    player.SetFormat("nosuchformat");
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Unknown input format: nosuchformat");
  }
  EXPECT_EQ(player.Format(), "");
  player.SetFormat("matroska");
  EXPECT_EQ(player.Format(), "matroska,webm");
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  player.Stop(true);
  player.SetFormat("wav");
  EXPECT_FALSE(player.Open(Media().Mkv, nullptr)) << "the forced format applies to every later open";
}

// The drivers SDL started with, while it runs.
String SDLDriversNow() {
  char video[64] = "", audio[64] = "";
  if (!libsdl::SDL_VideoDriverName(video, sizeof video)) video[0] = 0;
  if (!libsdl::SDL_AudioDriverName(audio, sizeof audio)) audio[0] = 0;
  return String(video) + " / " + audio;
}

// SDL reads its drivers from the environment: "Default" gives back what it named before another
// driver was chosen, also after a choice that failed.
TEST_F(PlayerTest, TheDefaultDriversComeBackAfterOthersWereChosen) {
  const String display = GetEnvironmentVariable("DISPLAY");
  DeleteEnvironmentVariable("DISPLAY");  // no display here offers the direct access "DDraw" asks for
  TRIVodero player(nullptr);
  player.SetVideoDriver(vdDirectDraw);
  EXPECT_FALSE(player.Open(Media().Mkv, nullptr));
  EXPECT_EQ(player.LastErrMsg(), "Could not initialize SDL with ScreenHandle(0): No available video device");
  player.SetVideoDriver(vdDefault);
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  EXPECT_EQ(SDLDriversNow(), "dummy / dummy");
  player.Stop(true);

  // A sound driver the machine lacks leaves the picture playing without sound.
  player.SetAudioDriver(adDirectSound);
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  EXPECT_NE(SDLDriversNow(), "dummy / dummy");
  EXPECT_GE(player.VideoStreamIndex(), 0);
  player.Stop(true);
  player.SetAudioDriver(adDefault);
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  EXPECT_EQ(SDLDriversNow(), "dummy / dummy");
  EXPECT_GE(player.AudioStreamIndex(), 0) << "the sound plays again";
  player.Stop(true);
  EXPECT_EQ(GetEnvironmentVariable("SDL_VIDEODRIVER"), "dummy");
  EXPECT_EQ(GetEnvironmentVariable("SDL_AUDIODRIVER"), "dummy");

  // A variable that named nothing before names nothing again; one changed by someone else meanwhile
  // stays as they left it.
  DeleteEnvironmentVariable("SDL_AUDIODRIVER");
  player.SetAudioDriver(adWaveOut);
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  player.Stop(true);
  player.SetAudioDriver(adDefault);
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  player.Stop(true);
  EXPECT_FALSE(EnvironmentVariableExists("SDL_AUDIODRIVER"));
  player.SetAudioDriver(adWaveOut);
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  player.Stop(true);
  SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
  player.SetAudioDriver(adDefault);
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
  EXPECT_EQ(SDLDriversNow(), "dummy / dummy");
  player.Stop(true);
  if (!display.empty()) SetEnvironmentVariable("DISPLAY", display);
}

TEST_F(PlayerTest, TheHookDrawsIntoThePictureOnTheVideoThread) {
  TRIVodero player(nullptr);
  std::atomic<Integer> calls{0};
  std::atomic<bool> onMain{false};
  player.SetHook(true);
  player.OnHook = [&](TObject*, TBitmap* ABitmap, const Int64) {
    onMain = onMain || IsMainThread();
    // Paint the whole picture pure green.
    for (Integer y = 0; y < ABitmap->Height(); ++y) {
      Byte* row = ABitmap->ScanLine(y);
      for (Integer x = 0; x < ABitmap->Width(); ++x) {
        row[3 * x] = 0;
        row[3 * x + 1] = 255;
        row[3 * x + 2] = 0;
      }
    }
    calls++;
  };
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr, true)) << player.LastErrMsg();
  ASSERT_TRUE(ServeUntil([&] { return calls >= 2; }));
  Int64 pts = 0;
  ASSERT_TRUE(ServeUntil([&] { return player.CurrentFrame(pts)->Width() == 160; }));
  EXPECT_GT(GreenShare(*player.CurrentFrame()), 0.95);
  EXPECT_FALSE(onMain);
  player.Stop(true);
}

TEST_F(PlayerTest, AHookThatRaisesLeavesThePictureUnhookedAndIsLogged) {
  TRIVodero player(nullptr);
  TLogCapture log(llError);
  player.SetHook(true);
  player.OnHook = [&](TObject*, TBitmap*, const Int64) { throw Exception("drawing failed"); };
  ASSERT_TRUE(player.Open(Media().Mkv, nullptr, true)) << player.LastErrMsg();
  TLoggedLine line;
  ASSERT_TRUE(ServeUntil([&] { return log.Find("Error occurs OnHook: drawing failed", line); }));
  EXPECT_EQ(line.Sender, &player);
  Int64 pts = 0;
  ASSERT_TRUE(ServeUntil([&] { return player.CurrentFrame(pts)->Width() == 160; }));
  EXPECT_GT(BrightShare(*player.CurrentFrame()), 0.3) << "the test picture as decoded";
  EXPECT_LT(GreenShare(*player.CurrentFrame()), 0.5);
  player.Stop(true);
}

TEST_F(PlayerTest, ThePlayWindowStopsOrLoops) {
  {
    TRIVodero player(nullptr);
    TPlayerRecorder rec;
    rec.Attach(player);
    player.SetPlayTime(500000);
    ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
    ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psStop); }));
    EXPECT_FALSE(rec.Saw(psEnd));
    EXPECT_LT(rec.PositionsNow().back(), 1500000);
  }
  {
    TRIVodero player(nullptr);
    TPlayerRecorder rec;
    rec.Attach(player);
    player.SetPlayTime(500000);
    player.SetRepeatType(rtLoop);
    ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
    // Positions climb past the window's end, then start again near 0.
    ASSERT_TRUE(ServeUntil([&] {
      const std::vector<Int64> p = rec.PositionsNow();
      bool passed = false;
      for (Int64 v : p) {
        if (v >= 500000) passed = true;
        if (passed && v < 300000) return true;
      }
      return false;
    }));
    EXPECT_FALSE(rec.Saw(psStop));
    player.Stop(true);
  }
}

TEST_F(PlayerTest, DestroyingAPlayingPlayerStopsIt) {
  TWatchdog guard("destroying a playing player", 60s);
  std::vector<TPlayState> states;
  {
    TRIVodero player(nullptr);
    player.OnState = [&](TObject*, const TPlayState AState) { states.push_back(AState); };
    ASSERT_TRUE(player.Open(Media().Mkv, nullptr)) << player.LastErrMsg();
    ASSERT_TRUE(ServeUntil([&] { return !states.empty(); }));
  }
  EXPECT_EQ(states, std::vector<TPlayState>{psPlay}) << "the handlers are detached before the stop";
}

}  // namespace
