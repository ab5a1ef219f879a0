// The tests run under ctest with SDL's dummy drivers: without them a player test probes the sound
// card (ALSA's reports land in the log the tests read) and opens SDL's own text-mode video.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/rtl/types.h"

namespace {

TEST(TestEnvironment, CtestGivesEveryTestTheSourceFolderAndSDLsDummyDrivers) {
  if (std::getenv("NERIVO_SOURCE_DIR") == nullptr)
    GTEST_SKIP() << "run outside ctest: no environment to check";
  for (const char* Name : {"SDL_VIDEODRIVER", "SDL_AUDIODRIVER"}) {
    const char* Value = std::getenv(Name);
    EXPECT_EQ(String(Value != nullptr ? Value : "(unset)"), "dummy") << Name;
  }
}

}  // namespace
