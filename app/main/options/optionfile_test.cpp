// The settings file: what a reader counts as missing, the output folder's and the skin choice's load
// steps, the output folder's save step, and what happens when the file or its folder cannot be written.
#include "app/main/options/optionfile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iterator>

#include "app/main/testkit/optionstestkit.h"
#include "platform/rtl/files.h"
#include "platform/rtl/inifiles.h"

namespace {

class OptionFile : public optionstest::TOptionFileTest {
 protected:
  // Runs Check in a child process as an ordinary user (the superuser may write any file); its result
  // is the child's exit code, 0 for success.
  static int AsOrdinaryUser(const std::function<int()>& Check) {
    const pid_t Child = fork();
    if (Child < 0) return -1;
    if (Child == 0) {
      if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
      _exit(Check());
    }
    int Status = 0;
    if (waitpid(Child, &Status, 0) != Child || !WIFEXITED(Status)) return -1;
    return WEXITSTATUS(Status);
  }
};

TEST_F(OptionFile, DefaultFoldersLieUnderTheHomeFolder) {
  EXPECT_EQ(DefaultOutputFolder(), Home() + "/Nerivo视频软件/输出");
  EXPECT_EQ(DefaultSnapShotFolder(), Home() + "/Nerivo视频软件/快照");
  EXPECT_EQ(TOptionFile().FileName(), ProgramDir() + "option.ini");
}

TEST_F(OptionFile, EmptyOrErrorCountsAsMissingAndValuesCompareExactly) {
  WriteIni("[SnapShot]\nPicture=bmp\nDir=\n[Skin]\nSetSkin=Error\n[Options]\nAfter_Done=01\n");
  struct TCase {
    const char* Section;
    const char* Key;
    bool Present;
    const char* Value;
  };
  for (const TCase& C : {TCase{"SnapShot", "Picture", true, "bmp"}, TCase{"SnapShot", "Dir", false, ""},
                         TCase{"Skin", "SetSkin", false, ""}, TCase{"Options", "After_Done", true, "01"},
                         TCase{"Options", "Thread_Count", false, ""}, TCase{"NoSuch", "Key", false, ""}}) {
    String Value = "x";
    EXPECT_EQ(File().ReadSetting(C.Section, C.Key, Value), C.Present) << C.Section << "/" << C.Key;
    EXPECT_EQ(Value, C.Value) << C.Section << "/" << C.Key;
  }
  EXPECT_EQ(File().Read("Skin", "Nothing"), "Error");
  // A missing value is repaired with the default; a present one is left alone.
  TOptionFile F = File();
  EXPECT_EQ(F.ReadOrRepair("Skin", "SetSkin", "0"), "0");
  EXPECT_EQ(F.ReadOrRepair("SnapShot", "Picture", "BMP"), "bmp");
  EXPECT_EQ(IniText(), "[SnapShot]\nPicture=bmp\nDir=\n[Skin]\nSetSkin=0\n[Options]\nAfter_Done=01\n");
}

TEST_F(OptionFile, EveryWriteIsOnDiskAtOnce) {
  TOptionFile F = File();
  F.Write("Skin", "SetSkin", "2");
  EXPECT_EQ(IniText(), "[Skin]\nSetSkin=2\n");
  // Another object, and the file itself changed behind it, agree.
  WriteIni("[Skin]\nSetSkin=5\n");
  EXPECT_EQ(F.Read("Skin", "SetSkin"), "5");
}

TEST_F(OptionFile, FirstStartTakesTheDefaultOutputFolderCreatesAndWritesIt) {
  TOptionFile F = File();
  EXPECT_EQ(LoadOutputFolder(F), DefaultOutputFolder());
  EXPECT_TRUE(DirectoryExists(DefaultOutputFolder()));
  EXPECT_EQ(IniText(), "[OutPath]\nOutPath=" + DefaultOutputFolder() + "\n");
}

TEST_F(OptionFile, OutputFolderLoadTable) {
  const String Made = Temp.Root() + "/made";
  const String Existing = Temp.Root() + "/existing";
  ForceDirectories(Existing);
  // A folder below a plain file can never be created, not even by the superuser.
  std::ofstream(Temp.Root() + "/plain") << "x";
  const String Impossible = Temp.Root() + "/plain/out";
  struct TCase {
    String Stored;  // "" = no key
    String Taken;
    bool Rewritten;  // the default written over the stored value
  };
  const TCase Cases[] = {
      {"", DefaultOutputFolder(), true},
      {"OutPath=", DefaultOutputFolder(), true},
      {"OutPath=Error", DefaultOutputFolder(), true},
      {"OutPath=" + Existing, Existing, false},
      {"OutPath=" + Made + "/a/b", Made + "/a/b", false},
      {"OutPath=" + Impossible, Impossible, false},
  };
  for (const TCase& C : Cases) {
    const String Text = "[Skin]\nSetSkin=1\n[OutPath]\n" + C.Stored + "\n";
    WriteIni(Text);
    TOptionFile F = File();
    EXPECT_EQ(LoadOutputFolder(F), C.Taken) << C.Stored;
    EXPECT_EQ(DirectoryExists(C.Taken), C.Taken != Impossible) << C.Stored;
    String Now;
    F.ReadSetting("OutPath", "OutPath", Now);
    EXPECT_EQ(Now, C.Rewritten ? DefaultOutputFolder() : C.Taken) << C.Stored;
    EXPECT_EQ(F.Read("Skin", "SetSkin"), "1") << "other keys survive";
  }
}

TEST_F(OptionFile, OutputFolderIsSavedOnlyWhenItExists) {
  WriteIni("[OutPath]\nOutPath=/old\n");
  TOptionFile F = File();
  SaveOutputFolder(F, Temp.Root() + "/missing");
  SaveOutputFolder(F, "");
  EXPECT_EQ(F.Read("OutPath", "OutPath"), "/old");
  SaveOutputFolder(F, Temp.Root());
  EXPECT_EQ(F.Read("OutPath", "OutPath"), Temp.Root());
}

TEST_F(OptionFile, AChosenOutputFolderCountsOnlyWhenItExists) {
  WriteIni("[OutPath]\nOutPath=/old\n");
  TOptionFile F = File();
  String Path = "/old";
  for (const String& Gone : {String(), Temp.Root() + "/gone"}) {
    EXPECT_FALSE(TakeChosenOutputFolder(F, Gone, Path)) << Gone;
    EXPECT_EQ(Path, "/old");
  }
  EXPECT_TRUE(TakeChosenOutputFolder(F, Temp.Root(), Path));
  EXPECT_EQ(Path, Temp.Root());
  EXPECT_EQ(F.Read("OutPath", "OutPath"), Temp.Root());
}

TEST_F(OptionFile, SkinChoiceLoadTable) {
  struct TCase {
    const char* Stored;  // nullptr = no file at all; "" = no key
    Integer Taken;
    const char* Written;  // what the key holds afterwards
  };
  // The window's own index is 7: only a missing file keeps it.
  const TCase Cases[] = {
      {nullptr, 7, "0"},     {"", 0, "0"},          {"SetSkin=", 0, "0"},    {"SetSkin=Error", 0, "0"},
      {"SetSkin=2", 2, "2"}, {"SetSkin=0", 0, "0"}, {"SetSkin=abc", 0, "0"}, {"SetSkin=1x", 0, "0"},
  };
  for (const TCase& C : Cases) {
    const String Name = C.Stored == nullptr ? "(no file)" : C.Stored;
    DeleteFile(IniName());
    if (C.Stored != nullptr) WriteIni(String("[OutPath]\nOutPath=/old\n[Skin]\n") + C.Stored + "\n");
    TOptionFile F = File();
    EXPECT_EQ(LoadSkinChoice(F, 7), C.Taken) << Name;
    EXPECT_EQ(F.Read(SkinSection, SetSkinKey), C.Written) << Name;
    if (C.Stored != nullptr) {
      EXPECT_EQ(F.Read(OutPathSection, OutPathKey), "/old") << "other keys survive";
    }
  }
}

TEST_F(OptionFile, AnUnwritableProgramFolderKeepsTheSettingsForTheRunAndSaysSoOnce) {
  // The program folder is a plain file: nothing can be created in it.
  std::ofstream(Temp.Root() + "/program") << "x";
  TOptionFile F(Temp.Root() + "/program/option.ini");
  EXPECT_EQ(LoadOutputFolder(F), DefaultOutputFolder());
  F.Write("Skin", "SetSkin", "3");
  F.Write("SnapShot", "Picture", "PNG");
  EXPECT_FALSE(F.Exists());
  // The values stay in effect for this run, also through other objects for the same file.
  EXPECT_EQ(TOptionFile(F.FileName()).Read("Skin", "SetSkin"), "3");
  EXPECT_EQ(F.Read("snapshot", "picture"), "PNG");
  EXPECT_EQ(F.Read("OutPath", "OutPath"), DefaultOutputFolder());
  ASSERT_EQ(Log.size(), 1u);
  EXPECT_NE(Log[0].find(F.FileName()), String::npos) << Log[0];
  EXPECT_NE(Log[0].find("cannot be written"), String::npos) << Log[0];
  EXPECT_NE(Log[0].find("not saved"), String::npos) << Log[0];
}

TEST_F(OptionFile, AReadOnlyFileWithGarbageIsNeitherLostNorFatal) {
  const String Garbage = "[Options]\nAfter_Done=zz\n\x01\x02 junk line\n[OutPath]\nOutPath=Error\n";
  WriteIni(Garbage);
  chmod(IniName().c_str(), 0444);
  chmod(Temp.Root().c_str(), 0777);
  EXPECT_EQ(AsOrdinaryUser([&] {
              TOptionFile F(IniName());
              F.Write("Options", "After_Done", "0");
              if (F.Read("Options", "After_Done") != "0") return 1;
              if (IniText() != Garbage) return 2;
              if (LoadOutputFolder(F) != DefaultOutputFolder()) return 3;
              if (F.Read("OutPath", "OutPath") != DefaultOutputFolder()) return 4;
              if (IniText() != Garbage) return 5;
              return Log.size() == 1 ? 0 : 6;
            }),
            0);
}

TEST_F(OptionFile, AFileThatCannotBeReadIsNotOverwritten) {
  WriteIni("[Skin]\nSetSkin=4\n");
  // Writable but not readable by its owner, the user that runs the check.
  chmod(IniName().c_str(), 0200);
  chmod(Temp.Root().c_str(), 0777);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(IniName().c_str(), 65534, 65534), 0);
  }
  EXPECT_EQ(AsOrdinaryUser([&] {
              if (access(IniName().c_str(), W_OK) != 0 || access(IniName().c_str(), R_OK) == 0) return 1;
              TOptionFile F(IniName());
              F.Write("SnapShot", "Picture", "GIF");
              if (F.Read("SnapShot", "Picture") != "GIF") return 2;
              return Log.size() == 1 ? 0 : 3;
            }),
            0);
  chmod(IniName().c_str(), 0644);
  EXPECT_EQ(IniText(), "[Skin]\nSetSkin=4\n");
}

// What is no file of settings (a pipe that would hold the start, a link to a device that would be
// read forever, a file far too large) gives the defaults at once, is said once in the log, and is
// never written over; a setting changed meanwhile still holds for the run.
TEST_F(OptionFile, OnlyARegularFileOfSaneSizeIsReadElseTheDefaultsSaidOnce) {
  const String Device = Temp.Root() + "/zero";
  const bool HaveDevice = mknod(Device.c_str(), S_IFCHR | 0666, makedev(1, 5)) == 0;
  const String Big = "[Skin]\nSetSkin=5\n" + String(size_t(2 * IniFileMaxSize), ';') + "\n";
  struct TCase {
    const char* What;
    std::function<bool()> Make;
    const char* Reason;
  };
  const TCase Cases[] = {
      {"pipe", [&] { return mkfifo(IniName().c_str(), 0644) == 0; }, "not a regular file"},
      {"link to a device", [&] { return HaveDevice && symlink(Device.c_str(), IniName().c_str()) == 0; },
       "not a regular file"},
      {"oversized file",
       [&] {
         WriteIni(Big);
         return true;
       },
       "larger than 1024 KiB"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    TOptionFile::ForgetUnwrittenValues();
    Log.clear();
    std::filesystem::remove(IniName());
    if (!C.Make()) continue;  // no device without the superuser
    const auto Kind = std::filesystem::symlink_status(IniName()).type();
    TOptionFile F = File();
    EXPECT_EQ(F.Read("Skin", "SetSkin"), "Error");
    EXPECT_EQ(LoadOutputFolder(F), DefaultOutputFolder());
    EXPECT_EQ(LoadSkinChoice(F, 7), 0);
    F.Write("SnapShot", "Picture", "PNG");
    EXPECT_EQ(F.Read("SnapShot", "Picture"), "PNG") << "kept for the run";
    ASSERT_EQ(Log.size(), 1u);
    EXPECT_NE(Log[0].find("\"" + IniName() + "\" cannot be read (" + C.Reason + ")"), String::npos) << Log[0];
    EXPECT_EQ(std::filesystem::symlink_status(IniName()).type(), Kind);
  }
  EXPECT_EQ(IniText(), Big) << "the oversized file is whole";
  if (HaveDevice) {
    EXPECT_TRUE(std::filesystem::is_character_file(Device));
  }
}

TEST_F(OptionFile, ARelativeOutputFolderLiesBesideTheProgram) {
  WriteIni("[OutPath]\nOutPath=relative/out\n");
  TTempFolder Elsewhere{"nerivo-cwd"};
  const String Saved = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(Elsewhere.Root()));
  TOptionFile F = File();
  const String Folder = LoadOutputFolder(F);
  SetCurrentDir(Saved);
  EXPECT_EQ(Folder, Temp.Root() + "/relative/out");
  EXPECT_TRUE(DirectoryExists(Folder));
  EXPECT_FALSE(std::filesystem::exists(Elsewhere.Root() + "/relative"));
  EXPECT_EQ(F.ResolvePath("/abs/olute"), "/abs/olute");
  EXPECT_EQ(F.ResolvePath("a/../b"), Temp.Root() + "/b");
}

// Writes killed half-way left temporary files beside the settings; the next start removes those of
// processes that no longer run, in the present form and the earlier one, and nothing else.
TEST_F(OptionFile, TheFirstUseRemovesWhatKilledWritesLeft) {
  WriteIni("[Skin]\nSetSkin=4\n");
  const pid_t Dead = fork();
  if (Dead == 0) _exit(0);
  waitpid(Dead, nullptr, 0);
  const String D = std::to_string(Dead), Alive = std::to_string(getppid());
  const String Left[] = {"/.option.ini.part-" + D + "-abcdef", "/option.ini.tmp" + D + "_0"};
  const String Kept[] = {"/.option.ini.part-" + Alive + "-abcdef", "/option.ini.tmp" + Alive + "_3",
                         "/option.ini.tmpx_1", "/other.ini.tmp" + D + "_0"};
  for (const String& Name : Left) std::ofstream(Temp.Root() + Name) << "[Skin]\nSetSkin=";
  for (const String& Name : Kept) std::ofstream(Temp.Root() + Name) << "x";
  EXPECT_EQ(File().Read("Skin", "SetSkin"), "4");
  for (const String& Name : Left) EXPECT_FALSE(FileExists(Temp.Root() + Name)) << Name;
  for (const String& Name : Kept) EXPECT_TRUE(FileExists(Temp.Root() + Name)) << Name;
  // A write leaves nothing beside the file.
  File().Write("Skin", "SetSkin", "6");
  for (const auto& Entry : std::filesystem::directory_iterator(Temp.Root())) {
    const String Name = "/" + Entry.path().filename().string();
    EXPECT_TRUE(Name == "/option.ini" || Name == "/home" ||
                std::count(std::begin(Kept), std::end(Kept), Name))
        << Name;
  }
}

// A write of the value the file holds already is no write: it must not make a file that cannot be
// written look writable again, which gave the note a second time.
TEST_F(OptionFile, TheCannotBeWrittenNoteComesOnce) {
  WriteIni("[Options]\nAfter_Done=0\n");
  chmod(IniName().c_str(), 0444);
  chmod(Temp.Root().c_str(), 0555);
  const int Result = AsOrdinaryUser([&] {
    TOptionFile F(IniName());
    F.Write("Options", "Thread_Priority", "3");
    F.Write("Options", "After_Done", "0");
    F.Write("Options", "Show_Preview", "1");
    F.Write("Options", "After_Done", "2");
    if (F.Read("Options", "Show_Preview") != "1" || F.Read("Options", "After_Done") != "2") return 1;
    return Log.size() == 1 ? 0 : 2;
  });
  chmod(Temp.Root().c_str(), 0755);
  EXPECT_EQ(Result, 0);
  EXPECT_EQ(IniText(), "[Options]\nAfter_Done=0\n");
}

// Reads share one parsed copy, which a change of the file replaces however it was made: replaced
// under the name, or rewritten in place with its size and modification time as they were.
TEST_F(OptionFile, ReadsFollowEveryChangeOfTheFile) {
  const auto Age = [&] {
    const struct timespec Old[2] = {{1000000000, 0}, {1000000000, 0}};
    utimensat(AT_FDCWD, IniName().c_str(), Old, 0);
  };
  WriteIni("[Skin]\nSetSkin=1\n");
  Age();
  TOptionFile F = File();
  EXPECT_EQ(F.Read("Skin", "SetSkin"), "1");
  std::ofstream(Temp.Root() + "/new.ini") << "[Skin]\nSetSkin=2\n";
  std::filesystem::rename(Temp.Root() + "/new.ini", IniName());
  Age();
  EXPECT_EQ(F.Read("Skin", "SetSkin"), "2");
  WriteIni("[Skin]\nSetSkin=3\n");
  Age();
  EXPECT_EQ(F.Read("Skin", "SetSkin"), "3");
}

}  // namespace
