// Files written under a partial name and put in place when complete: the name, what putting in place
// may replace, and what a later run removes.
#include "platform/rtl/partialfile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/rtl/files.h"
#include "platform/rtl/testkit/rtl_test_util.h"

namespace fs = std::filesystem;

namespace {

class PartialFiles : public ::testing::Test {
 protected:
  void put(const String& Name, const String& Text) { std::ofstream(Name, std::ios::binary) << Text; }
  static String get(const String& Name) {
    std::ifstream F(Name, std::ios::binary);
    std::stringstream S;
    S << F.rdbuf();
    return S.str();
  }
  // A partial file of Name holding Text, closed.
  String part(const String& Name, const String& Text) {
    String Part;
    const int Fd = CreatePartialFile(Name, Part);
    EXPECT_GE(Fd, 0) << std::strerror(-Fd);
    if (Fd < 0) return String();
    EXPECT_EQ(::write(Fd, Text.data(), Text.size()), ssize_t(Text.size()));
    ::close(Fd);
    return Part;
  }
  // The entries of the folder, sorted.
  std::vector<String> entries() const {
    std::vector<String> Names;
    for (const auto& E : fs::directory_iterator(Dir.Root())) Names.push_back(E.path().filename().string());
    std::sort(Names.begin(), Names.end());
    return Names;
  }
  // The id of a process that has ended.
  static pid_t deadProcess() {
    const pid_t Child = fork();
    if (Child == 0) _exit(0);
    waitpid(Child, nullptr, 0);
    return Child;
  }

  TTempFolder Dir{"rtl-partial"};
};

TEST_F(PartialFiles, ThePartialNameIsHiddenBesideTheFileAndTellsWhoseItIs) {
  const String Name = Dir / "clip.mp4";
  const String Part = part(Name, "data");
  ASSERT_FALSE(Part.empty());
  EXPECT_EQ(ExtractFilePath(Part), ExtractFilePath(Name));
  const String Prefix = ".clip.mp4.part-" + std::to_string(getpid()) + "-";
  EXPECT_EQ(ExtractFileName(Part).rfind(Prefix, 0), 0u) << Part;
  EXPECT_EQ(ExtractFileName(Part).size(), Prefix.size() + 6);
  EXPECT_TRUE(IsPartialFileOf(Part, Name));
  EXPECT_FALSE(IsPartialFileOf(Part, Dir / "clip.mp"));
  EXPECT_FALSE(IsPartialFileOf(Dir / ".clip.mp4.part-x-abcdef", Name));
  EXPECT_FALSE(FileExists(Name));
  // Each call makes a file of its own.
  const String Second = part(Name, "more");
  EXPECT_NE(Second, Part);
  EXPECT_EQ(get(Part), "data");

  // A name at the file system's limit is cut at a character boundary to leave room for the suffix.
  String Long;
  while (Long.size() + 3 <= 255) Long += "视";
  const String LongPart = part(Dir / Long, "x");
  ASSERT_FALSE(LongPart.empty());
  EXPECT_LE(ExtractFileName(LongPart).size(), 255u);
  EXPECT_TRUE(IsPartialFileOf(LongPart, Dir / Long));
  // No partial file is made in a folder that is not there.
  String None;
  EXPECT_EQ(CreatePartialFile(Dir / "missing/clip.mp4", None), -ENOENT);
}

TEST_F(PartialFiles, PuttingInPlaceReplacesOnlyWhatItMay) {
  enum TExisting { None, Regular, DanglingLink, Folder };
  struct TCase {
    TExisting Existing;
    bool Replace;
    int Error;
  };
  const TCase Cases[] = {{None, false, 0},
                         {None, true, 0},
                         {Regular, false, EEXIST},
                         {Regular, true, 0},
                         {DanglingLink, false, EEXIST},
                         {DanglingLink, true, EEXIST},
                         {Folder, false, EEXIST},
                         {Folder, true, EISDIR}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "existing " << C.Existing << " replace " << C.Replace);
    const String Name = Dir / "out.avi";
    const String Outside = Dir / "outside.avi";
    fs::remove_all(Name);
    fs::remove(Outside);
    if (C.Existing == Regular) {
      put(Name, "the user's file");
      chmod(Name.c_str(), 0640);
    }
    if (C.Existing == DanglingLink) fs::create_symlink(Outside, Name);
    if (C.Existing == Folder) fs::create_directory(Name);
    const String Part = part(Name, "new result");
    EXPECT_EQ(CommitPartialFile(Part, Name, C.Replace), C.Error) << std::strerror(C.Error);
    if (C.Error == 0) {
      EXPECT_EQ(get(Name), "new result");
      EXPECT_FALSE(fs::exists(Part));
      if (C.Existing == Regular) {
        EXPECT_EQ(fs::status(Name).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
      }
    } else {
      // Nothing changed: the partial file is still there for the caller to remove.
      EXPECT_EQ(get(Part), "new result");
      if (C.Existing == Regular) {
        EXPECT_EQ(get(Name), "the user's file");
      }
      if (C.Existing == DanglingLink) {
        EXPECT_TRUE(fs::is_symlink(Name));
      }
      EXPECT_FALSE(fs::exists(Outside)) << "a link is never followed out";
      fs::remove(Part);
    }
  }
}

TEST_F(PartialFiles, AFolderRemovedMeanwhileFailsThePutting) {
  fs::create_directory(Dir / "gone");
  const String Name = Dir / "gone/out.avi";
  const String Part = part(Name, "x");
  fs::remove_all(Dir / "gone");
  EXPECT_EQ(CommitPartialFile(Part, Name, true), ENOENT);
  EXPECT_FALSE(fs::exists(Name));
}

TEST_F(PartialFiles, ASweepRemovesOnlyWhatEndedProcessesLeft) {
  const String Name = Dir / "option.ini";
  put(Name, "[Skin]\nSetSkin=1\n");
  const String Dead = std::to_string(deadProcess());
  const String Alive = std::to_string(getppid());
  const String Own = std::to_string(getpid());
  put(Dir / (".option.ini.part-" + Dead + "-abcdef"), "left by a kill");
  put(Dir / (".option.ini.part-" + Alive + "-abcdef"), "being written by another copy");
  put(Dir / (".option.ini.part-" + Own + "-abcdef"), "ours, being written");
  put(Dir / (".other.ini.part-" + Dead + "-abcdef"), "another file's");
  put(Dir / (".option.ini.part-" + Dead + "-abc"), "not our form");
  fs::create_directory(Dir / (".option.ini.part-" + Dead + "-folder"));
  EXPECT_EQ(SweepPartialFiles(Name), 1);
  const std::vector<String> Expected = {
      ".option.ini.part-" + Alive + "-abcdef", ".option.ini.part-" + Dead + "-abc",
      ".option.ini.part-" + Dead + "-folder",  ".option.ini.part-" + Own + "-abcdef",
      ".other.ini.part-" + Dead + "-abcdef",   "option.ini"};
  std::vector<String> Sorted = Expected;
  std::sort(Sorted.begin(), Sorted.end());
  EXPECT_EQ(entries(), Sorted);
  EXPECT_EQ(get(Name), "[Skin]\nSetSkin=1\n");
}

TEST_F(PartialFiles, AWholeFileIsWrittenThroughALinkAndOnlyWhenComplete) {
  fs::create_directory(Dir / "real");
  const String Target = Dir / "real/option.ini";
  put(Target, "old");
  fs::create_symlink(Target, Dir / "option.ini");
  const String Text = "[Skin]\nSetSkin=2\n";
  EXPECT_EQ(WriteWholeFileSafely(Dir / "option.ini", Text.data(), Text.size(), true), 0);
  EXPECT_TRUE(fs::is_symlink(Dir / "option.ini"));
  EXPECT_EQ(get(Target), Text);
  // A refused write leaves no partial file behind, and one that may not replace does not go through
  // the link: no partial file is made beside its target.
  EXPECT_EQ(WriteWholeFileSafely(Target, "x", 1, false), EEXIST);
  EXPECT_EQ(WriteWholeFileSafely(Dir / "option.ini", "x", 1, false), EEXIST);
  EXPECT_EQ(get(Target), Text);
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir / "real"), fs::directory_iterator()), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir.Root()), fs::directory_iterator()), 2);
  EXPECT_EQ(LinkTarget(Dir / "option.ini"), Target);
  EXPECT_EQ(LinkTarget(Target), Target);
}

}  // namespace
