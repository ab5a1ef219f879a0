// ALSA's error reports reach the engine logger instead of the terminal: a real ALSA call that fails
// (opening a device by a name no configuration knows) runs the routed handler.
#include "engine/base/alsaerrors.h"

#include <gtest/gtest.h>

#include "engine/base/testkit/logcapture.h"
#include "platform/rtl/dynlib.h"

namespace {

TEST(AlsaErrors, AFailedDeviceOpenIsOneErrorLineInTheLogAndNothingOnStderr) {
  HMODULE alsa = LoadLibrary("libasound.so.2", true);
  if (!alsa) GTEST_SKIP() << "libasound.so.2 is not installed, so there is no ALSA output to route";
  using TPcmOpen = int (*)(void** pcm, const char* name, int stream, int mode);
  using TPcmClose = int (*)(void* pcm);
  auto pcmOpen = reinterpret_cast<TPcmOpen>(GetProcAddress(alsa, "snd_pcm_open"));
  auto pcmClose = reinterpret_cast<TPcmClose>(GetProcAddress(alsa, "snd_pcm_close"));
  ASSERT_NE(pcmOpen, nullptr);
  ASSERT_NE(pcmClose, nullptr);

  TLogCapture capture(llInfo);
  ASSERT_TRUE(RouteAlsaErrors());
  EXPECT_TRUE(RouteAlsaErrors()) << "a second call keeps the route";
  testing::internal::CaptureStderr();
  void* pcm = nullptr;
  const int result = pcmOpen(&pcm, "nerivo_no_such_device", 0 /* playback */, 0);
  const std::string stderrText = testing::internal::GetCapturedStderr();
  if (result == 0) pcmClose(pcm);
  EXPECT_LT(result, 0);
  EXPECT_EQ(stderrText, "");

  const std::vector<TLoggedLine> lines = capture.Lines();
  ASSERT_EQ(lines.size(), 1u) << (lines.empty() ? String() : lines.back().Msg);
  EXPECT_EQ(lines[0].Level, llError);
  // As alsa-lib prints it: where, then the report.
  EXPECT_EQ(lines[0].Msg.rfind("ALSA lib ", 0), 0u) << lines[0].Msg;
  EXPECT_NE(lines[0].Msg.find(":(snd_pcm_open_noupdate) Unknown PCM nerivo_no_such_device"), String::npos)
      << lines[0].Msg;
  FreeLibrary(alsa);
}

}  // namespace
