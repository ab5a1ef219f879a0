// Test media for every FFmpeg-using test of the project (probe, transcoder, component, player,
// formats): small clips that the ffmpeg command-line tool makes once into one cache folder shared by
// all test programs of a build, kept between runs and made again when their recipe changes.
//
//   // 1 s of 64x48 MPEG-4 video; the path of the cached file, "" (with a test failure) when the
//   // tool fails.
//   std::string clip = TestMediaFile("v.mkv", "-f lavfi -i testsrc=size=64x48:rate=25 -t 1 -c:v mpeg4");
//   // Several at once: the missing ones are made side by side (the tool's start-up dominates).
//   std::vector<std::string> clips = TestMediaFiles({{"a.wav", "-f lavfi -i sine -t 1"}, …});
//   // A text input a recipe reads (subtitles): "-i " + TestMediaText("s.srt", "1\n00:00:00,000 …").
//
// A recipe is the tool's arguments before the output name ("-nostdin -loglevel error -y" come
// first); the output's extension picks the container. The file keeps its name in a folder named
// after the recipe, so two recipes may use one name. The cache is NERIVO_TEST_MEDIA_DIR (set for
// every test program by the build: "test-media" in the build folder), else "test-media" in the
// working folder. Processes that make media at the same time take turns under a file lock.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

struct TTestMediaRecipe {
  std::string Name;       // file name with the container's extension
  std::string Arguments;  // the tool's arguments before the output name
};

inline std::string TestMediaDir() {
#ifdef NERIVO_TEST_MEDIA_DIR
  const std::string dir = NERIVO_TEST_MEDIA_DIR;
#else
  const std::string dir = std::filesystem::absolute("test-media").string();
#endif
  std::filesystem::create_directories(dir);
  return dir;
}

namespace testmedia_detail {

// Held while the cache is changed: other test processes wait for it.
class TCacheLock {
 public:
  explicit TCacheLock(const std::string& ADir)
      : FFd(::open((ADir + "/.lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644)) {
    if (FFd >= 0) ::flock(FFd, LOCK_EX);
  }
  ~TCacheLock() {
    if (FFd >= 0) ::close(FFd);
  }
  TCacheLock(const TCacheLock&) = delete;
  TCacheLock& operator=(const TCacheLock&) = delete;

 private:
  int FFd;
};

inline std::string RecipeDir(const std::string& ACache, const TTestMediaRecipe& ARecipe) {
  std::ostringstream key;
  key << std::hex << std::hash<std::string>()(ARecipe.Name + '\n' + ARecipe.Arguments);
  return ACache + "/" + key.str();
}

}  // namespace testmedia_detail

inline std::vector<std::string> TestMediaFiles(const std::vector<TTestMediaRecipe>& ARecipes) {
  namespace fs = std::filesystem;
  const std::string cache = TestMediaDir();
  std::vector<std::string> paths;
  std::vector<std::string> parts;  // the ones to make, each under a name of this process
  std::string script;
  for (const TTestMediaRecipe& r : ARecipes) {
    const std::string dir = testmedia_detail::RecipeDir(cache, r);
    paths.push_back(dir + "/" + r.Name);
    parts.emplace_back();
  }
  const testmedia_detail::TCacheLock lock(cache);
  for (size_t i = 0; i < ARecipes.size(); ++i) {
    if (fs::exists(paths[i])) continue;
    fs::create_directories(fs::path(paths[i]).parent_path());
    parts[i] = fs::path(paths[i]).parent_path().string() + "/part-" + std::to_string(::getpid()) + "-" +
               ARecipes[i].Name;
    script += "ffmpeg -nostdin -loglevel error -y " + ARecipes[i].Arguments + " '" + parts[i] + "' & ";
  }
  if (script.empty()) return paths;
  script = "{ " + script + "wait; }";
  EXPECT_EQ(std::system(script.c_str()), 0) << script;
  for (size_t i = 0; i < ARecipes.size(); ++i) {
    if (parts[i].empty()) continue;
    // A file appears under its name only whole, so a crash never leaves a half-made one behind.
    std::error_code error;
    if (fs::exists(parts[i]) && fs::file_size(parts[i], error) > 0 && !error)
      fs::rename(parts[i], paths[i], error);
    if (!fs::exists(paths[i])) {
      ADD_FAILURE() << "the ffmpeg tool could not make " << ARecipes[i].Name << ": " << ARecipes[i].Arguments;
      fs::remove(parts[i], error);
      paths[i].clear();
    }
  }
  return paths;
}

inline std::string TestMediaFile(const std::string& AName, const std::string& AArguments) {
  return TestMediaFiles({{AName, AArguments}}).front();
}

inline std::string TestMediaText(const std::string& AName, const std::string& AText) {
  namespace fs = std::filesystem;
  const std::string cache = TestMediaDir();
  const std::string path = testmedia_detail::RecipeDir(cache, {AName, AText}) + "/" + AName;
  const testmedia_detail::TCacheLock lock(cache);
  if (!fs::exists(path)) {
    fs::create_directories(fs::path(path).parent_path());
    const std::string part = path + ".part-" + std::to_string(::getpid());
    std::ofstream(part, std::ios::binary) << AText;
    fs::rename(part, path);
  }
  return path;
}
