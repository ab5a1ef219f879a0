// Where the picture goes in the display area, and how bitmap subtitles blend into it.
#include "engine/base/sdlstubs.h"
#include "engine/player/playerstages.h"
#include "engine/player/testkit/playercoreaccess.h"
#include "engine/player/testkit/playertestkit.h"

namespace {

TEST(PictureRectTest, TheAspectRatioPlacesThePicture) {
  struct TCase {
    const char* Name;
    Single Aspect;
    Integer PicW, PicH;
    AVRational Sar;
    SDL_Rect Expected;
  };
  const TCase cases[] = {
      {"square pixels, same shape", 0, 320, 240, {1, 1}, {0, 0, 640, 480}},
      {"wide picture letterboxed", 0, 1280, 720, {1, 1}, {0, 60, 640, 360}},
      {"unknown pixel aspect counts as square", 0, 1280, 720, {0, 1}, {0, 60, 640, 360}},
      {"anamorphic pixels", 0, 720, 576, {16, 11}, {0, 64, 640, 352}},
      {"a chosen aspect", 1.0f, 1280, 720, {1, 1}, {80, 0, 480, 480}},
      {"a negative aspect fills the area", -1.0f, 1280, 720, {1, 1}, {0, 0, 640, 480}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const SDL_Rect r = PictureRect(640, 480, c.Aspect, c.PicW, c.PicH, c.Sar);
    EXPECT_EQ(r.x, c.Expected.x);
    EXPECT_EQ(r.y, c.Expected.y);
    EXPECT_EQ(r.w, c.Expected.w);
    EXPECT_EQ(r.h, c.Expected.h);
  }
}

// A 4:2:0 picture of one grey with neutral chroma, and a subtitle rectangle over it.
struct TBlendFixture {
  static constexpr Integer W = 8, H = 8;
  uint8_t Y[W * H], U[W * H / 4], V[W * H / 4];
  uint8_t Indexes[W * H] = {};
  uint32_t Palette[2] = {0, 0};
  AVSubtitleRect Rect{};
  TBlendFixture() {
    std::fill(std::begin(Y), std::end(Y), 100);
    std::fill(std::begin(U), std::end(U), 128);
    std::fill(std::begin(V), std::end(V), 128);
    Rect.data[0] = Indexes;
    Rect.data[1] = reinterpret_cast<uint8_t*>(Palette);
    Rect.nb_colors = 2;
  }
  void Blend(Integer x, Integer y, Integer w, Integer h, uint32_t AYUVA) {
    Palette[1] = AYUVA;
    Rect.x = x;
    Rect.y = y;
    Rect.w = w;
    Rect.h = h;
    Rect.linesize[0] = w;
    std::fill(std::begin(Indexes), std::end(Indexes), 1);
    uint8_t* planes[3] = {Y, U, V};
    const Integer pitches[3] = {W, W / 2, W / 2};
    BlendSubtitleRect(planes, pitches, Rect, W, H);
  }
};

TEST(BlendSubtitleRectTest, AnOpaqueColourReplacesCoveredBlocksAndAPixelAtAnOddEdgeGivesAQuarter) {
  TBlendFixture f;
  const uint32_t red = RGBAToYUVA(0xFFFF0000);  // Y 81, U 90, V 240
  f.Blend(3, 2, 3, 2, red);                     // x 3 … 5, y 2 … 3
  EXPECT_EQ(f.Y[2 * 8 + 3], 81);
  EXPECT_EQ(f.Y[3 * 8 + 5], 81);
  EXPECT_EQ(f.Y[2 * 8 + 2], 100) << "outside the rectangle";
  EXPECT_EQ(f.Y[4 * 8 + 3], 100);
  // Chroma block (2, 1) covers x 4 … 5, y 2 … 3: all four pixels opaque red.
  EXPECT_EQ(f.U[1 * 4 + 2], 90);
  EXPECT_EQ(f.V[1 * 4 + 2], 240);
  // Block (1, 1) covers x 2 … 3: only x 3 (two pixels of four) is inside.
  // k 2, ac (2 × 255) >> 2 = 127: (128 × 2 × 128 + 127 × 180) / 510 = 109.
  EXPECT_EQ(f.U[1 * 4 + 1], 109);
  EXPECT_EQ(f.U[0 * 4 + 1], 128) << "untouched block";
}

TEST(BlendSubtitleRectTest, HalfTransparencyMixesAndARectangleOutsideIsClippedIn) {
  TBlendFixture f;
  f.Blend(0, 0, 2, 2, (0x80u << 24) | (200u << 16) | (128u << 8) | 128u);
  EXPECT_EQ(f.Y[0], (127 * 100 + 128 * 200) / 255);
  TBlendFixture g;
  g.Blend(20, 20, 2, 2, (0xFFu << 24) | (50u << 16) | (128u << 8) | 128u);
  EXPECT_EQ(g.Y[6 * 8 + 6], 50) << "moved inside at the bottom right";
  EXPECT_EQ(g.Y[7 * 8 + 7], 50);
}

TEST(SubtitlePaletteTest, RGBColoursBecomeStudioRangeYUV) {
  struct TCase {
    uint32_t ARGB;
    Integer Y, U, V;
  };
  const TCase cases[] = {
      {0xFFFF0000, 81, 90, 240},  {0xFF0000FF, 41, 240, 110}, {0xFFFFFFFF, 235, 128, 128},
      {0xFF000000, 16, 128, 128}, {0x8000FF00, 145, 54, 34},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.ARGB);
    const uint32_t yuva = RGBAToYUVA(c.ARGB);
    EXPECT_EQ(yuva >> 24, c.ARGB >> 24) << "alpha kept";
    EXPECT_EQ(Integer((yuva >> 16) & 0xFF), c.Y);
    EXPECT_EQ(Integer((yuva >> 8) & 0xFF), c.U);
    EXPECT_EQ(Integer(yuva & 0xFF), c.V);
  }
}

class RefreshTest : public TPlayerTestBase {};

// Opened paused under load, the first pictures can be due long before the display gets to them;
// dropping them as late leaves a paused player with nothing on screen, since no others follow.
TEST_F(RefreshTest, APausedPlayerShowsItsLatePicturesInsteadOfDroppingThem) {
  ASSERT_EQ(libsdl::SDL_Init(SDL_INIT_VIDEO), 0) << libsdl::SDL_GetError();
  TRIVodero player(nullptr);
  AVStream stream{};
  stream.time_base = {1, 25};
  struct TCase {
    const char* Name;
    bool Paused;
    Integer Shown, Dropped;
  };
  const TCase cases[] = {{"paused: both shown in turn", true, 2, 0}, {"playing: both dropped", false, 0, 2}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    PlayerCore(player).FFramesShown = 0;
    PlayerCore(player).FFramesDropped = 0;
    auto is = std::make_unique<TVideoState>();
    is->Owner = &PlayerCore(player);
    is->video_st = &stream;
    is->paused = c.Paused ? 1 : 0;
    const double past = NowSeconds() - 5;
    for (Integer i = 0; i < VIDEO_PICTURE_QUEUE_SIZE; ++i) {
      is->pictq[i].pts = 0.04 * i;
      is->pictq[i].display_time = past + 0.04 * i;
    }
    is->pictq_size = VIDEO_PICTURE_QUEUE_SIZE;
    is->video_clock = 0.08;
    VideoRefreshTimer(is.get(), true);
    VideoRefreshTimer(is.get(), true);
    EXPECT_EQ(player.FramesShown(), c.Shown);
    EXPECT_EQ(player.FramesDropped(), c.Dropped);
    EXPECT_EQ(is->pictq_size, 0);
    PlayerCore(player).Fscreen = nullptr;
  }
  libsdl::SDL_Quit();
}

}  // namespace
