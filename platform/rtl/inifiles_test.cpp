#include "platform/rtl/inifiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/rtl/convert.h"
#include "platform/rtl/partialfile.h"
#include "platform/rtl/testkit/rtl_test_util.h"

namespace {

class IniFiles : public ::testing::Test {
 protected:
  void put(const String& Text) { std::ofstream(Name, std::ios::binary) << Text; }
  String get() {
    std::ifstream F(Name, std::ios::binary);
    std::stringstream S;
    S << F.rdbuf();
    return S.str();
  }
  TTempFolder Dir{"rtl-ini"};
  const String Name = Dir.Path("option.ini");
};

const char* const kSample =
    "Stray=ignored\n"
    "; leading comment\n"
    "[Options]\n"
    "  Thread_Count  =  4  \n"
    "Url=a=b\n"
    "Empty=\n"
    "Hex=$1F\n"
    "CHex=0x10\n"
    "Bad=12abc\n"
    "Neg=-7\n"
    "Flag=2\n"
    "Float=2.5\n"
    "no equals sign\n"
    "\n"
    "[ Skin ]\n"
    "SetSkin=3\n"
    "[Empty Section]\n";

TEST_F(IniFiles, ReadingRulesOfBothClasses) {
  put(kSample);
  TIniFile File(Name);
  TMemIniFile Mem(Name);
  for (TCustomIniFile* Ini : {static_cast<TCustomIniFile*>(&File), static_cast<TCustomIniFile*>(&Mem)}) {
    SCOPED_TRACE(Ini->ClassName());
    EXPECT_EQ(Ini->ReadString("options", "THREAD_COUNT", "Error"), "4");
    EXPECT_EQ(Ini->ReadString("Options", "Url", ""), "a=b");
    EXPECT_EQ(Ini->ReadString("Options", "Empty", "Error"), "");
    EXPECT_EQ(Ini->ReadString("Options", "Missing", "Error"), "Error");
    EXPECT_EQ(Ini->ReadString("Options", "no equals sign", "Error"), "Error");
    EXPECT_EQ(Ini->ReadString("", "Stray", "Error"), "Error");
    EXPECT_EQ(Ini->ReadString("skin", "SetSkin", ""), "3");

    const std::pair<const char*, Integer> Ints[] = {{"Thread_Count", 4}, {"Hex", 31}, {"CHex", 16},
                                                    {"Bad", -1},         {"Neg", -7}, {"Empty", -1},
                                                    {"Missing", -1}};
    for (const auto& [Key, Value] : Ints) EXPECT_EQ(Ini->ReadInteger("Options", Key, -1), Value) << Key;
    EXPECT_TRUE(Ini->ReadBool("Options", "Flag", false));
    EXPECT_FALSE(Ini->ReadBool("Skin", "Missing", false));
    EXPECT_TRUE(Ini->ReadBool("Options", "Bad", true));
    EXPECT_DOUBLE_EQ(Ini->ReadFloat("Options", "Float", 0), 2.5);
    EXPECT_DOUBLE_EQ(Ini->ReadFloat("Options", "Bad", 1.5), 1.5);

    TStringList L;
    Ini->ReadSections(&L);
    EXPECT_EQ(L.CommaText(), "Options,Skin,\"Empty Section\"");
    Ini->ReadSection("OPTIONS", &L);
    EXPECT_EQ(L.CommaText(), "Thread_Count,Url,Empty,Hex,CHex,Bad,Neg,Flag,Float");
    Ini->ReadSectionValues("Skin", &L);
    EXPECT_EQ(L.Text(), "SetSkin=3\n");
    EXPECT_TRUE(Ini->SectionExists("SKIN"));
    EXPECT_FALSE(Ini->SectionExists("Empty Section"));
    EXPECT_TRUE(Ini->ValueExists("Options", "hex"));
    EXPECT_FALSE(Ini->ValueExists("Options", "Stray"));
  }
}

TEST_F(IniFiles, WritesGoThroughAtOnceKeepingCaseAndComments) {
  put("; settings\r\n[Options]\r\nAfter_Done=0\r\n\r\n[Skin]\r\nSetSkin=0\r\n");
  TIniFile Writer(Name);
  TIniFile Reader(Name);
  Writer.WriteString("OPTIONS", "after_done", "3");
  EXPECT_EQ(Reader.ReadString("Options", "After_Done", ""), "3");
  Writer.WriteInteger("options", "Show_Preview", 1);
  Writer.WriteBool("OutPath", "Flag", false);
  Writer.WriteFloat("OutPath", "Ratio", 0.25);
  EXPECT_EQ(Reader.ReadInteger("Options", "show_preview", 0), 1);
  EXPECT_EQ(get(),
            "; settings\r\n[Options]\r\nAfter_Done=3\r\nShow_Preview=1\r\n\r\n[Skin]\r\nSetSkin=0\r\n"
            "[OutPath]\r\nFlag=0\r\nRatio=0.25\r\n");

  Writer.DeleteKey("options", "AFTER_DONE");
  Writer.EraseSection("skin");
  Writer.DeleteKey("Options", "Missing");
  EXPECT_EQ(get(), "; settings\r\n[Options]\r\nShow_Preview=1\r\n\r\n[OutPath]\r\nFlag=0\r\nRatio=0.25\r\n");
  EXPECT_EQ(Reader.ReadString("Skin", "SetSkin", "Error"), "Error");
}

TEST_F(IniFiles, FirstWriteCreatesTheFileButNotItsFolder) {
  TIniFile Ini(Name);
  Ini.EraseSection("Options");
  EXPECT_FALSE(std::filesystem::exists(Name));  // nothing written, nothing created
  Ini.WriteString("Options", "Thread_Count", "0");
  EXPECT_EQ(get(), "[Options]\nThread_Count=0\n");

  String Lost = Dir.Path("missing/option.ini");
  TIniFile Nowhere(Lost);
  try {
    Nowhere.WriteString("Options", "A", "1");
    ADD_FAILURE();
  } catch (const EIniFileException& E) {
    EXPECT_NE(E.Message().find(Lost), String::npos) << E.Message();
  }
  EXPECT_EQ(Nowhere.ReadString("Options", "A", "Error"), "Error");
}

TEST_F(IniFiles, ValuesCannotBreakIntoNewLines) {
  TIniFile Ini(Name);
  Ini.WriteString("S", "Key", "one\n[Evil]\nx=1");
  EXPECT_FALSE(Ini.SectionExists("Evil"));
  EXPECT_EQ(Ini.ReadString("S", "Key", ""), "one [Evil] x=1");
}

TEST_F(IniFiles, MemIniFileRoundTripsThroughStringsAndFile) {
  TStringList Src;
  Src.SetText("[VERSION]\nver = 1\n[pictures]\npicture=a.bmp\n;c\n[Version]\nskinname=Blue\n");
  TMemIniFile Mem(Name);
  Mem.SetStrings(&Src);
  EXPECT_EQ(Mem.ReadString("version", "SkinName", ""), "Blue");  // a repeated section adds to the first
  Mem.WriteInteger("PICTURES", "activepicturescount", 0);
  Mem.DeleteKey("pictures", "picture");
  TStringList Out;
  Mem.GetStrings(&Out);
  EXPECT_EQ(Out.Text(), "[VERSION]\nver=1\nskinname=Blue\n\n[pictures]\nactivepicturescount=0\n\n");
  EXPECT_FALSE(std::filesystem::exists(Name));
  Mem.UpdateFile();
  TMemIniFile Again(Name);
  EXPECT_EQ(Again.ReadInteger("VERSION", "ver", 0), 1);

  Again.SetCaseSensitive(true);
  EXPECT_EQ(Again.ReadString("version", "ver", "Error"), "Error");
  Again.EraseSection("VERSION");
  Again.Clear();
  TStringList Sections;
  Again.ReadSections(&Sections);
  EXPECT_EQ(Sections.Count(), 0);
  Again.Rename(Name, true);
  EXPECT_EQ(Again.ReadString("pictures", "activepicturescount", ""), "0");
}

// What is no settings file reads as empty, says why, and is never written over: a pipe (opening it
// must not wait for a writer), a device reached through a link (reading it would never end), and a
// file beyond the size limit.
TEST_F(IniFiles, OnlyARegularFileOfSaneSizeIsReadAndNoOtherIsWrittenOver) {
  const String Device = Dir.Path("zero");
  const bool HaveDevice = ::mknod(Device.c_str(), S_IFCHR | 0666, makedev(1, 5)) == 0;
  String Big = "[Skin]\nSetSkin=5\n; padding\n";
  Big += String(size_t(IniFileMaxSize), 'x');
  struct TCase {
    const char* What;
    std::function<void()> Make;
    const char* Refusal;
  };
  const TCase Cases[] = {
      {"pipe", [&] { ASSERT_EQ(::mkfifo(Name.c_str(), 0644), 0); }, "not a regular file"},
      {"link to a device",
       [&] {
         if (HaveDevice) std::filesystem::create_symlink(Device, Name);
       },
       "not a regular file"},
      {"oversized file", [&] { put(Big); }, "larger than 1024 KiB"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    std::filesystem::remove(Name);
    C.Make();
    if (!std::filesystem::exists(std::filesystem::symlink_status(Name))) continue;  // no device as non-root
    const auto Kind = std::filesystem::symlink_status(Name).type();
    TIniFile File(Name);
    TMemIniFile Mem(Name);
    EXPECT_EQ(Mem.ReadRefusal(), C.Refusal);
    for (TCustomIniFile* Ini : {static_cast<TCustomIniFile*>(&File), static_cast<TCustomIniFile*>(&Mem)}) {
      SCOPED_TRACE(Ini->ClassName());
      EXPECT_EQ(Ini->ReadString("Skin", "SetSkin", "Error"), "Error");
      EXPECT_EQ(Ini->ReadRefusal(), C.Refusal);
      EXPECT_THROW(
          {
            Ini->WriteString("Skin", "SetSkin", "1");
            Ini->UpdateFile();
          },
          EIniFileException);
      EXPECT_EQ(std::filesystem::symlink_status(Name).type(), Kind);
    }
    if (HaveDevice) {
      EXPECT_TRUE(std::filesystem::is_character_file(Device));
    }
  }
  EXPECT_EQ(get().size(), Big.size()) << "the oversized file is whole";
  // At the limit a file is read.
  put("[Skin]\nSetSkin=5\n" + String(size_t(IniFileMaxSize) - 17, ';'));
  EXPECT_EQ(TIniFile(Name).ReadString("Skin", "SetSkin", "Error"), "5");
}

// A write killed half-way leaves the old file whole, and only a hidden partial file beside it that
// a later sweep removes.
TEST_F(IniFiles, AKilledWriteLeavesTheFileWhole) {
  const String Old = "[Skin]\nSetSkin=0\n";
  put(Old);
  int Pipe[2];
  ASSERT_EQ(::pipe(Pipe), 0);
  const pid_t Child = fork();
  if (Child == 0) {
    ::close(Pipe[0]);
    TIniFile Ini(Name);
    for (Integer I = 1;; ++I) {
      Ini.WriteString("Big", "Key" + IntToStr(I), String(4000, 'v'));
      if (I == 20) (void)!::write(Pipe[1], "w", 1);
    }
  }
  ::close(Pipe[1]);
  char Byte = 0;
  ASSERT_EQ(::read(Pipe[0], &Byte, 1), 1);
  ::close(Pipe[0]);
  ::kill(Child, SIGKILL);
  ::waitpid(Child, nullptr, 0);
  // Whatever write the kill hit, the file is one that was written whole.
  TMemIniFile Ini(Name);
  EXPECT_EQ(Ini.ReadRefusal(), "");
  EXPECT_EQ(Ini.ReadString("Skin", "SetSkin", "Error"), "0");
  TStringList Keys;
  Ini.ReadSection("Big", &Keys);
  for (Integer I = 0; I < Keys.Count(); ++I)
    EXPECT_EQ(Ini.ReadString("Big", Keys.Strings(I), "").size(), 4000u) << Keys.Strings(I);
  for (const auto& E : std::filesystem::directory_iterator(Dir.Root())) {
    const String Entry = E.path().string();
    if (Entry != Name) {
      EXPECT_TRUE(IsPartialFileOf(Entry, Name)) << Entry;
    }
  }
  SweepPartialFiles(Name);
  EXPECT_EQ(
      std::distance(std::filesystem::directory_iterator(Dir.Root()), std::filesystem::directory_iterator()),
      1);
}

}  // namespace
