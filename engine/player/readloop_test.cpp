// Stream choice, and a stop while the read thread blocks on a stalled input.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "engine/player/playerstages.h"
#include "engine/player/testkit/playertestkit.h"

namespace {

using namespace std::chrono_literals;

TEST(ChooseStreamsTest, TheWantedOrdinalOrTheMostAnalysedStreamPerType) {
  // Types: 0 video, 1 audio, 3 subtitle, 2 data.
  const TStreamChoiceInput streams[] = {{0, 10}, {1, 5}, {1, 9}, {1, 9}, {3, 1}, {2, 50}, {0, 10}};
  struct TCase {
    const char* Name;
    Integer WantedAudio;
    bool NoVideo, NoAudio;
    Integer Video, Audio, Subtitle;
  };
  const TCase cases[] = {
      {"most frames, first on a tie", -1, false, false, 0, 2, 4},
      {"the second audio stream by its ordinal", 1, false, false, 0, 2, 4},
      {"the first audio stream although another has more frames", 0, false, false, 0, 1, 4},
      {"a wanted ordinal beyond the count leaves the type out", 5, false, false, 0, -1, 4},
      {"no video takes the subtitles too", -1, true, false, -1, 2, -1},
      {"no audio", -1, false, true, 0, -1, 4},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Integer wanted[7] = {-1, -1, -1, -1, -1, -1, -1};
    wanted[2] = c.WantedAudio;
    Integer chosen[7];
    ChooseStreams(streams, 7, wanted, c.NoVideo, c.NoAudio, chosen);
    EXPECT_EQ(chosen[1], c.Video);
    EXPECT_EQ(chosen[2], c.Audio);
    EXPECT_EQ(chosen[4], c.Subtitle);
    EXPECT_EQ(chosen[3], -1) << "data streams are never chosen";
  }
}

// Serves the first half of a file over TCP, then keeps the connection open without sending more.
class TStallingServer {
 public:
  explicit TStallingServer(const std::string& AFile) {
    std::ifstream in(AFile, std::ios::binary);
    FData.assign(std::istreambuf_iterator<char>(in), {});
    FListen = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(FListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(FListen, reinterpret_cast<sockaddr*>(&addr), &len);
    FPort = ntohs(addr.sin_port);
    ::listen(FListen, 1);
    FThread = std::thread([this] {
      const int client = ::accept(FListen, nullptr, nullptr);
      if (client < 0) return;
      const size_t half = FData.size() / 2;
      for (size_t sent = 0; sent < half;) {
        const ssize_t n = ::send(client, FData.data() + sent, half - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += size_t(n);
      }
      std::unique_lock<std::mutex> hold(FLock);
      FWake.wait(hold, [this] { return FQuit; });
      ::close(client);
    });
  }
  ~TStallingServer() {
    {
      std::lock_guard<std::mutex> hold(FLock);
      FQuit = true;
    }
    FWake.notify_all();
    ::shutdown(FListen, SHUT_RDWR);
    ::close(FListen);
    FThread.join();
  }
  std::string Url() const { return "tcp://127.0.0.1:" + std::to_string(FPort); }

 private:
  std::string FData;
  int FListen = -1;
  int FPort = 0;
  std::mutex FLock;
  std::condition_variable FWake;
  bool FQuit = false;
  std::thread FThread;
};

class ReadLoopTest : public TPlayerTestBase {};

TEST_F(ReadLoopTest, AStopDuringABlockingReadReturnsThroughTheInterruptCallback) {
  const std::string file =
      TestMediaFile("stall.mkv", "-f lavfi -i testsrc=size=160x120:rate=25:duration=4 -c:v mpeg4 -g 25");
  ASSERT_FALSE(file.empty());
  TStallingServer server(file);
  TRIVodero player(nullptr);
  TPlayerRecorder rec;
  rec.Attach(player);
  enginetest::TWatchdog guard("a player reading a stalled input", 60s);
  ASSERT_TRUE(player.Open(server.Url(), nullptr)) << player.LastErrMsg();
  TVideoState* is = player.VideoState();
  // The served half is read; then the read thread waits inside the library for more.
  ASSERT_TRUE(ServeUntil(
      [&] { return is->Reading == 1 && is->videoq.nb_packets <= 5 && player.CurrentPTS() > 500000; }));
  ServeUntil([] { return false; }, 300);
  EXPECT_EQ(is->ReachEOF, 0) << "a stalled input is not the end";
  player.Stop(true);
  EXPECT_EQ(player.VideoState(), nullptr);
  ASSERT_TRUE(ServeUntil([&] { return rec.Saw(psStop); }));
  guard.Disarm();
}

}  // namespace
