#include "engine/base/testkit/testmedia.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

// The cache the player's, probe's and transcoder's tests rely on: a recipe is made once, keeps its
// file name, and a changed recipe gets a file of its own instead of the stale one.
TEST(TestMediaCache, ARecipeIsMadeOnceAndAChangedRecipeGetsItsOwnFile) {
  const std::string recipe = "-f lavfi -i testsrc=size=32x24:rate=5 -t 0.4 -c:v mpeg4";
  const std::string first = TestMediaFile("cache-check.mkv", recipe);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(fs::path(first).filename(), "cache-check.mkv");
  EXPECT_EQ(fs::path(first).parent_path().parent_path(), fs::path(TestMediaDir()));
  const auto made = fs::last_write_time(first);
  EXPECT_EQ(TestMediaFile("cache-check.mkv", recipe), first);
  EXPECT_EQ(fs::last_write_time(first), made) << "made again";

  const std::string other = TestMediaFile("cache-check.mkv", recipe + " -an");
  ASSERT_FALSE(other.empty());
  EXPECT_NE(other, first);
  EXPECT_EQ(fs::path(other).filename(), "cache-check.mkv");

  const std::string text = TestMediaText("cache-check.srt", "1\n00:00:00,000 --> 00:00:00,500\nhi\n");
  std::ifstream in(text);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "1\n00:00:00,000 --> 00:00:00,500\nhi\n");
}

TEST(TestMediaCache, ARecipeTheToolRefusesGivesNoFileAndAFailure) {
  std::string path = "unset";
  EXPECT_NONFATAL_FAILURE(path = TestMediaFile("refused.mkv", "-f lavfi -i nosuchsource"), "could not make");
  EXPECT_EQ(path, "");
  for (const auto& entry : fs::recursive_directory_iterator(TestMediaDir()))
    EXPECT_EQ(entry.path().filename().string().find("refused.mkv"), std::string::npos) << entry.path();
}
