#include "engine/base/fileidentity.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class FileIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/nerivo-identity-XXXXXX";
    FDir = mkdtemp(pattern);
    fs::create_directories(FDir / "sub");
    std::ofstream(FDir / "sub" / "in.mp4") << "input bytes";
    fs::create_directory_symlink(FDir / "sub", FDir / "link");
    fs::create_hard_link(FDir / "sub" / "in.mp4", FDir / "hard.mp4");
  }
  void TearDown() override { fs::remove_all(FDir); }
  String P(const String& ARelative) const { return (FDir / ARelative).string(); }
  fs::path FDir;
};

TEST_F(FileIdentityTest, OneFileHoweverThePathIsWritten) {
  const struct {
    String A, B;
    bool Same;
  } cases[] = {
      // an existing file: by device and inode
      {P("sub/in.mp4"), P("sub/./in.mp4"), true},
      {P("sub/in.mp4"), P("sub/../sub//in.mp4"), true},
      {P("sub/in.mp4"), P("link/in.mp4"), true},
      {P("sub/in.mp4"), P("hard.mp4"), true},
      {P("sub/in.mp4"), "file:" + P("sub/in.mp4"), true},
      {P("sub/in.mp4"), "unicode:utf8:" + P("link/in.mp4"), true},
      // a file still to be made: by its resolved folder and name
      {P("sub/out.mp4"), P("link/out.mp4"), true},
      {P("sub/out.mp4"), P("sub/x/../out.mp4"), true},
      {P("sub/out.mp4"), P("sub/out.mkv"), false},
      {P("sub/out.mp4"), P("sub/in.mp4"), false},
      {P("sub/Out.mp4"), P("sub/out.mp4"), false},
      // names of other protocols only by their text
      {"stream:1:a", "stream:1:a", true},
      {"stream:1:a", "stream:2:a", false},
      {"http://h/a.mp4", P("a.mp4"), false},
  };
  for (const auto& c : cases) EXPECT_EQ(SameFile(c.A, c.B), c.Same) << c.A << " / " << c.B;
}

TEST_F(FileIdentityTest, ARelativeNameIsTheFileOfTheWorkingFolder) {
  const fs::path saved = fs::current_path();
  fs::current_path(FDir / "sub");
  EXPECT_TRUE(SameFile("in.mp4", P("sub/in.mp4")));
  EXPECT_TRUE(SameFile("new.mp4", P("link/new.mp4")));
  EXPECT_FALSE(SameFile("new.mp4", P("new.mp4")));
  fs::current_path(saved);
}

TEST_F(FileIdentityTest, LocalPathsOfNames) {
  const struct {
    String Name, Path;
  } cases[] = {{"/a/b.mp4", "/a/b.mp4"},
               {"b.mp4", "b.mp4"},
               {"file:/a/b.mp4", "/a/b.mp4"},
               {"unicode:utf8:/a/视频.mp4", "/a/视频.mp4"},
               {"http://host/b.mp4", ""},
               {"stream:140:x", ""},
               {"/a/odd:name.mp4", "/a/odd:name.mp4"}};
  for (const auto& c : cases) EXPECT_EQ(LocalPathOf(c.Name), c.Path) << c.Name;
}

TEST_F(FileIdentityTest, WritabilityIsJudgedWithoutTouchingAnything) {
  const struct {
    String Name;
    Integer Result;
  } cases[] = {{P("sub/in.mp4"), 0},       {P("sub/new.mp4"), 0},
               {P("sub"), -EISDIR},        {P("sub/in.mp4/x.mp4"), -ENOTDIR},
               {P("none/x.mp4"), -ENOENT}, {"stream:1:x", 0}};
  for (const auto& c : cases) EXPECT_EQ(CheckWritableFileName(c.Name), c.Result) << c.Name;
  EXPECT_EQ(fs::file_size(FDir / "sub" / "in.mp4"), 11u) << "an existing file is not truncated";
  EXPECT_FALSE(fs::exists(FDir / "sub" / "new.mp4")) << "a new file is not created";
}

TEST_F(FileIdentityTest, AFolderWithoutWritePermissionIsRefused) {
  // Root may write anywhere: the check runs in a child that has given up root.
  // A file that may be written is refused too: the new one is made beside it.
  fs::create_directory(FDir / "closed");
  std::ofstream(P("closed/kept.mp4")) << "kept";
  chmod(P("closed/kept.mp4").c_str(), 0666);
  chmod((FDir / "closed").c_str(), 0555);
  chmod(FDir.c_str(), 0755);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    _exit(CheckWritableFileName(P("closed/x.mp4")) == -EACCES &&
                  CheckWritableFileName(P("closed/kept.mp4")) == -EACCES
              ? 0
              : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(FileIdentityTest, OnlyTheSameRegularFileIsStillTheFile) {
  const String made = P("made.mp4");
  std::ofstream(made) << "result";
  const TFileIdentity identity = FileIdentityOf(made);
  EXPECT_TRUE(IsStillTheFile(made, identity));
  EXPECT_TRUE(IsStillTheFile(P("sub/../made.mp4"), identity));
  // Another file took the name (the first one kept alive under a second name, so that its inode
  // cannot be reused).
  fs::create_hard_link(made, P("kept.mp4"));
  std::ofstream(P("other.mp4")) << "other";
  fs::rename(P("other.mp4"), made);
  EXPECT_FALSE(IsStillTheFile(made, identity));
  // Gone, or never a regular file.
  fs::remove(made);
  EXPECT_FALSE(IsStillTheFile(made, identity));
  EXPECT_FALSE(IsStillTheFile("/dev/null", FileIdentityOf("/dev/null")));
  EXPECT_FALSE(IsStillTheFile(P("sub"), FileIdentityOf(P("sub"))));
}

}  // namespace
