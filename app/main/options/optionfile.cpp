#include "app/main/options/optionfile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <tuple>

#include "engine/base/ffmpeglogger.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/strings.h"

namespace {

// Values whose write failed, by file, section and key (names compare as the INI file compares them),
// and the files whose failure was noted already.
struct TUnwritten {
  std::mutex Lock;
  std::map<std::tuple<String, String, String>, String> Values;
  std::set<String> Noted;
};

TUnwritten& Unwritten() {
  static TUnwritten U;
  return U;
}

std::tuple<String, String, String> UnwrittenKey(const String& FileName, const String& Section,
                                                const String& Key) {
  return {FileName, UpperCase(Section), UpperCase(Key)};
}

void NoteUnwritableFile(const String& FileName, const String& Reason) {
  const String Note = Format(
      "The settings file \"%s\" cannot be written (%s). Settings changed in this run stay in effect "
      "until the program ends but are not saved.",
      {FileName, Reason});
  TFFLogger* Logger = GetFFLogger();
  Logger->Log(nullptr, llWarning, Note);
  // Before the main window binds the log there is no one to read it.
  if (!Logger->OnLog) std::fprintf(stderr, "%s\n", Note.c_str());
}

String HomeFolder(const char* Leaf) {
  return IncludeTrailingPathDelimiter(GetHomeDir()) + "Nerivo视频软件/" + Leaf;
}

}  // namespace

String DefaultOutputFolder() {
  return HomeFolder("输出");
}

String DefaultSnapShotFolder() {
  return HomeFolder("快照");
}

TOptionFile::TOptionFile() : FFileName(ProgramDir() + "option.ini") {}

bool TOptionFile::Exists() const {
  return FileExists(FFileName);
}

String TOptionFile::Read(const String& Section, const String& Key) const {
  {
    TUnwritten& U = Unwritten();
    std::lock_guard<std::mutex> Hold(U.Lock);
    auto It = U.Values.find(UnwrittenKey(FFileName, Section, Key));
    if (It != U.Values.end()) return It->second;
  }
  try {
    TIniFile Ini(FFileName);
    return Ini.ReadString(Section, Key, MissingValue);
  } catch (const Exception&) {
    return MissingValue;
  }
}

bool TOptionFile::ReadSetting(const String& Section, const String& Key, String& Value) const {
  Value = Read(Section, Key);
  if (Value.empty() || Value == MissingValue) {
    Value.clear();
    return false;
  }
  return true;
}

String TOptionFile::ReadOrRepair(const String& Section, const String& Key, const String& Default) {
  String Value;
  if (ReadSetting(Section, Key, Value)) return Value;
  Write(Section, Key, Default);
  return Default;
}

void TOptionFile::Write(const String& Section, const String& Key, const String& Value) {
  String Reason;
  // A file that exists but cannot be read would be rewritten with this one key only.
  if (FileExists(FFileName) && ::access(FFileName.c_str(), R_OK) != 0) {
    Reason = std::strerror(errno);
  } else {
    try {
      TIniFile Ini(FFileName);
      Ini.WriteString(Section, Key, Value);
    } catch (const Exception& E) {
      Reason = E.Message();
      if (Reason.empty()) Reason = "unknown error";
    }
  }
  TUnwritten& U = Unwritten();
  bool NoteNow = false;
  {
    std::lock_guard<std::mutex> Hold(U.Lock);
    if (Reason.empty()) {
      U.Values.erase(UnwrittenKey(FFileName, Section, Key));
      U.Noted.erase(FFileName);
      return;
    }
    U.Values[UnwrittenKey(FFileName, Section, Key)] = Value;
    NoteNow = U.Noted.insert(FFileName).second;
  }
  if (NoteNow) NoteUnwritableFile(FFileName, Reason);
}

void TOptionFile::ForgetUnwrittenValues() {
  TUnwritten& U = Unwritten();
  std::lock_guard<std::mutex> Hold(U.Lock);
  U.Values.clear();
  U.Noted.clear();
}

// ---- the output folder ----

namespace {

String TakeDefaultOutputFolder(TOptionFile& File) {
  const String Folder = DefaultOutputFolder();
  if (!DirectoryExists(Folder)) ForceDirectories(Folder);
  File.Write(OutPathSection, OutPathKey, Folder);
  return Folder;
}

}  // namespace

String LoadOutputFolder(TOptionFile& File) {
  try {
    String Folder;
    if (!File.Exists() || !File.ReadSetting(OutPathSection, OutPathKey, Folder))
      return TakeDefaultOutputFolder(File);
    // A folder that cannot be created is still the output folder: each task then fails on its own.
    if (!DirectoryExists(Folder)) ForceDirectories(Folder);
    return Folder;
  } catch (const Exception&) {
    return TakeDefaultOutputFolder(File);
  }
}

void SaveOutputFolder(TOptionFile& File, const String& FileOutPutPath) {
  if (!FileOutPutPath.empty() && DirectoryExists(FileOutPutPath))
    File.Write(OutPathSection, OutPathKey, FileOutPutPath);
}

bool TakeChosenOutputFolder(TOptionFile& File, const String& ChosenFolder, String& FileOutPutPath) {
  if (ChosenFolder.empty() || !DirectoryExists(ChosenFolder)) return false;
  FileOutPutPath = ChosenFolder;
  SaveOutputFolder(File, FileOutPutPath);
  return true;
}

Integer LoadSkinChoice(TOptionFile& File, Integer CurrentIndex) {
  if (!File.Exists()) {
    File.Write(SkinSection, SetSkinKey, DefaultSetSkin);
    return CurrentIndex;
  }
  String Stored;
  Integer Index = 0;
  if (File.ReadSetting(SkinSection, SetSkinKey, Stored) && TryStrToInt(Stored, Index)) return Index;
  File.Write(SkinSection, SetSkinKey, DefaultSetSkin);
  return 0;
}
