#include "platform/rtl/inifiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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

}  // namespace
