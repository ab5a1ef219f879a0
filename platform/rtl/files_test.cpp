#include "platform/rtl/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <vector>

#include "platform/rtl/datetime.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/testkit/rtl_test_util.h"

namespace {

struct TPathCase {
  const char* Name;
  const char* Path;
  const char* Dir;
  const char* FileName;
  const char* Ext;
};

TEST(PathParts, Table) {
  const TPathCase cases[] = {
      {"/a/b/c.txt", "/a/b/", "/a/b", "c.txt", ".txt"},
      {"/a/b.d/c", "/a/b.d/", "/a/b.d", "c", ""},
      {"/c.tar.gz", "/", "/", "c.tar.gz", ".gz"},
      {"rel/x.", "rel/", "rel", "x.", "."},
      {"name", "", "", "name", ""},
      {"/a/b/", "/a/b/", "/a/b", "", ""},
      {"/视频/输出.mp4", "/视频/", "/视频", "输出.mp4", ".mp4"},
  };
  for (const TPathCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ExtractFilePath(c.Name), c.Path);
    EXPECT_EQ(ExtractFileDir(c.Name), c.Dir);
    EXPECT_EQ(ExtractFileName(c.Name), c.FileName);
    EXPECT_EQ(ExtractFileExt(c.Name), c.Ext);
  }
}

TEST(PathParts, ChangeExtAndTrailingDelimiters) {
  struct {
    const char* Name;
    const char* Ext;
    const char* Expected;
  } exts[] = {{"/a/b.avi", ".mp4", "/a/b.mp4"},
              {"/a.d/b", ".mp4", "/a.d/b.mp4"},
              {"b.tar.gz", "", "b.tar"},
              {"noext", ".x", "noext.x"}};
  for (const auto& c : exts) EXPECT_EQ(ChangeFileExt(c.Name, c.Ext), c.Expected) << c.Name;

  EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/"), "/a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a"), "/a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
}

TEST(PathParts, ExpandFileNameResolvesDotsAgainstTheCurrentDir) {
  const String cwd = GetCurrentDir();
  ASSERT_FALSE(cwd.empty());
  struct {
    String Name;
    String Expected;
  } cases[] = {
      {"/a/./b/../c", "/a/c"},
      {"/a//b///c", "/a/b/c"},
      {"/../..", "/"},
      {"/a/b/", "/a/b/"},
      {"x/y", IncludeTrailingPathDelimiter(cwd) + "x/y"},
      {".", cwd},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandFileName(c.Name), c.Expected) << c.Name;
}

TEST(MaskMatch, Table) {
  struct {
    const char* Name;
    const char* Mask;
    bool Matches;
  } cases[] = {
      {"movie.AVI", "*.avi", true},
      {"movie.avi.part", "*.avi", false},
      {"README", "*.*", true},
      {"a.b", "*.*", true},
      {"README", "*", true},
      {"abc", "a?c", true},
      {"ac", "a?c", false},
      {"视c", "?c", true},
      {"README", "*.", true},
      {"a.b", "*.", false},
      {"name", "name.*", true},
      {"Name.TXT", "name.txt", true},
      {"x.mp4", "*.mp4;*.avi", false},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchesMask(c.Name, c.Mask), c.Matches) << c.Name << " ~ " << c.Mask;
}

class TempFolder : public testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(Temp.Remove()); }
  String Path(const String& Name) const { return Temp.Path(Name); }
  void Write(const String& Name, size_t Bytes) {
    std::ofstream(Path(Name), std::ios::binary) << String(Bytes, 'x');
  }
  std::set<String> Search(const String& Mask, Integer Attr) {
    std::set<String> names;
    TSearchRec rec;
    for (Integer r = FindFirst(Path(Mask), Attr, rec); r == 0; r = FindNext(rec)) names.insert(rec.Name);
    FindClose(rec);
    return names;
  }
  TTempFolder Temp{"nerivo-files"};
  const String FRoot = Temp.Root();
};

TEST_F(TempFolder, FindFirstMasksAndAttributes) {
  Write("a.avi", 3);
  Write("B.AVI", 5);
  Write("noext", 1);
  Write(".hidden.avi", 2);
  ASSERT_TRUE(CreateDir(Path("sub.avi")));
  using S = std::set<String>;
  EXPECT_EQ(Search("*.avi", faAnyFile & ~faDirectory & ~faHidden), (S{"a.avi", "B.AVI"}));
  EXPECT_EQ(Search("*.avi", faHidden), (S{"a.avi", "B.AVI", ".hidden.avi"}));
  EXPECT_EQ(Search("*.avi", faDirectory), (S{"a.avi", "B.AVI", "sub.avi"}));
  EXPECT_EQ(Search("*.*", 0), (S{"a.avi", "B.AVI", "noext"}));
  EXPECT_EQ(Search("*", faAnyFile), (S{".", "..", "a.avi", "B.AVI", "noext", ".hidden.avi", "sub.avi"}));

  TSearchRec rec;
  ASSERT_EQ(FindFirst(Path("b.avi"), faAnyFile, rec), 0);
  EXPECT_EQ(rec.Name, "B.AVI");
  EXPECT_EQ(rec.Size, 5);
  EXPECT_EQ(rec.Attr & (faArchive | faDirectory | faHidden), faArchive);
  EXPECT_GT(rec.Time, 0);
  EXPECT_EQ(FindNext(rec), ENOENT);
  FindClose(rec);

  ASSERT_EQ(FindFirst(Path("sub.avi"), faDirectory, rec), 0);
  EXPECT_EQ(rec.Attr & faDirectory, faDirectory);
  EXPECT_EQ(rec.Size, 0);
  FindClose(rec);

  EXPECT_EQ(FindFirst(Path("*.mkv"), faAnyFile, rec), ENOENT);
  EXPECT_EQ(FindFirst(Path("missing/*"), faAnyFile, rec), ENOENT);

  ASSERT_EQ(chmod(Path("noext").c_str(), 0444), 0);
  EXPECT_EQ(FileGetAttr(Path("noext")) & faReadOnly, faReadOnly);
  EXPECT_EQ(Search("noext", 0), S{"noext"});  // read-only files are normal files
}

// A folder's files come in name order, letter case folded, whatever order the file system keeps.
TEST_F(TempFolder, FindFirstHandsOutNamesInOrder) {
  for (const char* Name : {"clip3.avi", "b.avi", "Clip1.avi", "clip2.avi", "A.avi", "clip10.avi"})
    Write(Name, 1);
  std::vector<String> Names;
  TSearchRec rec;
  for (Integer r = FindFirst(Path("*.avi"), faAnyFile, rec); r == 0; r = FindNext(rec))
    Names.push_back(rec.Name);
  FindClose(rec);
  EXPECT_EQ(Names,
            (std::vector<String>{"A.avi", "b.avi", "Clip1.avi", "clip10.avi", "clip2.avi", "clip3.avi"}));
}

TEST_F(TempFolder, FileAndFolderOperations) {
  Write("f.bin", 10);
  EXPECT_TRUE(FileExists(Path("f.bin")));
  EXPECT_FALSE(FileExists(FRoot));  // a folder is no file
  EXPECT_TRUE(DirectoryExists(FRoot));
  EXPECT_FALSE(DirectoryExists(Path("f.bin")));
  EXPECT_EQ(FileSize(Path("f.bin")), 10);
  EXPECT_EQ(FileSize(Path("none")), -1);
  EXPECT_EQ(FileSize(FRoot), -1);

  ASSERT_TRUE(ForceDirectories(Path("x/y/z/")));
  EXPECT_TRUE(DirectoryExists(Path("x/y/z")));
  EXPECT_TRUE(ForceDirectories(Path("x/y")));  // already there
  EXPECT_FALSE(ForceDirectories(Path("f.bin/under")));
  EXPECT_FALSE(ForceDirectories(""));
  EXPECT_FALSE(CreateDir(Path("x")));
  EXPECT_FALSE(RemoveDir(Path("x")));  // not empty
  EXPECT_TRUE(RemoveDir(Path("x/y/z")));

  EXPECT_FALSE(DeleteFile(Path("x")));  // never a folder
  EXPECT_TRUE(DirectoryExists(Path("x")));

  Write("g.bin", 1);
  EXPECT_FALSE(RenameFile(Path("f.bin"), Path("g.bin")));  // no silent overwrite
  EXPECT_EQ(FileSize(Path("g.bin")), 1);
  EXPECT_TRUE(RenameFile(Path("f.bin"), Path("x/h.bin")));
  EXPECT_EQ(FileSize(Path("x/h.bin")), 10);
  EXPECT_TRUE(DeleteFile(Path("x/h.bin")));
  EXPECT_FALSE(FileExists(Path("x/h.bin")));
  EXPECT_FALSE(DeleteFile(Path("x/h.bin")));
}

TEST_F(TempFolder, FileAgeAsLocalDateTime) {
  Write("t", 1);
  const TFileDate age = FileAge(Path("t"));
  ASSERT_GT(age, 0);
  TDateTime when = 0;
  ASSERT_TRUE(FileAge(Path("t"), when));
  EXPECT_LT(std::abs(when - Now()), 1.0 / 24);  // written a moment ago, in local time
  EXPECT_EQ(FileAge(Path("none")), -1);
  EXPECT_FALSE(FileAge(Path("none"), when));

  // 2001-09-09 01:46:40 UTC, seen through a fixed zone eight hours east.
  const String oldTz = GetEnvironmentVariable("TZ");
  const bool hadTz = EnvironmentVariableExists("TZ");
  SetEnvironmentVariable("TZ", "UTC-8");
  tzset();
  Word y, mo, d, h, mi, s, ms;
  DecodeDateTime(FileDateToDateTime(1000000000), y, mo, d, h, mi, s, ms);
  if (hadTz)
    SetEnvironmentVariable("TZ", oldTz);
  else
    DeleteEnvironmentVariable("TZ");
  tzset();
  EXPECT_EQ((std::vector<Word>{y, mo, d, h, mi, s}), (std::vector<Word>{2001, 9, 9, 9, 46, 40}));
}

TEST_F(TempFolder, CurrentDirRoundTrip) {
  const String old = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(FRoot));
  EXPECT_EQ(ExpandFileName("a/../b"), ExpandFileName(FRoot) + "/b");
  EXPECT_FALSE(SetCurrentDir(Path("missing")));
  ASSERT_TRUE(SetCurrentDir(old));
  EXPECT_EQ(GetCurrentDir(), old);
}

TEST(ProgramFolder, IsTheExecutablesOwnFolder) {
  const String exe = ParamStr(0);
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe[0], '/');
  EXPECT_EQ(ExtractFileName(exe), "rtl_test");
  EXPECT_EQ(ProgramDir(), ExtractFilePath(exe));
  EXPECT_TRUE(DirectoryExists(ProgramDir()));
  EXPECT_EQ(ParamStr(1), "");
}

TEST(Environment, SetGetDeleteAndHomeFolder) {
  EXPECT_TRUE(SetEnvironmentVariable("NERIVO_RTL_TEST", "值 1"));
  EXPECT_EQ(GetEnvironmentVariable("NERIVO_RTL_TEST"), "值 1");
  EXPECT_TRUE(DeleteEnvironmentVariable("NERIVO_RTL_TEST"));
  EXPECT_FALSE(EnvironmentVariableExists("NERIVO_RTL_TEST"));
  EXPECT_EQ(GetEnvironmentVariable("NERIVO_RTL_TEST"), "");
  EXPECT_FALSE(SetEnvironmentVariable("A=B", "x"));
  EXPECT_FALSE(SetEnvironmentVariable("", "x"));

  const String home = GetEnvironmentVariable("HOME");
  SetEnvironmentVariable("HOME", "/home/someone/");
  EXPECT_EQ(GetHomeDir(), "/home/someone");
  SetEnvironmentVariable("HOME", home);
}

}  // namespace
