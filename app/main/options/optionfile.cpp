#include "app/main/options/optionfile.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <tuple>

#include "engine/base/ffmpeglogger.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/partialfile.h"
#include "platform/rtl/strings.h"

namespace {

// A parsed copy of the file, kept while the file stays the same, so that the reads of one load step
// parse it once.
struct TParsedFile {
  std::unique_ptr<TMemIniFile> Ini;  // nullptr: no file, or it changed since
  struct stat Stat {};
  std::int64_t ParsedAt = 0;  // wall-clock nanoseconds
  bool Swept = false;         // the leftovers of killed writes removed
};

// What the program knows of its settings files beyond their contents, by file name: values whose
// write failed (by section and key, compared as the INI file compares them), the files whose
// failure was noted already, and the parsed copies.
struct TSettingsState {
  std::mutex Lock;
  std::map<std::tuple<String, String, String>, String> Values;
  std::set<String> Noted;
  std::map<String, TParsedFile> Parsed;
};

TSettingsState& State() {
  static TSettingsState S;
  return S;
}

std::tuple<String, String, String> UnwrittenKey(const String& FileName, const String& Section,
                                                const String& Key) {
  return {FileName, UpperCase(Section), UpperCase(Key)};
}

void Note(const String& Text) {
  TFFLogger* Logger = GetFFLogger();
  Logger->Log(nullptr, llWarning, Text);
  // Before the main window binds the log there is no one to read it.
  if (!Logger->OnLog) std::fprintf(stderr, "%s\n", Text.c_str());
}

String UnwritableNote(const String& FileName, const String& Reason) {
  return Format(
      "The settings file \"%s\" cannot be written (%s). Settings changed in this run stay in effect "
      "until the program ends but are not saved.",
      {FileName, Reason});
}

String UnreadableNote(const String& FileName, const String& Reason) {
  return Format(
      "The settings file \"%s\" cannot be read (%s): the default settings are used. Settings changed "
      "in this run stay in effect until the program ends but are not saved.",
      {FileName, Reason});
}

std::int64_t Nanoseconds(const struct timespec& T) {
  return std::int64_t(T.tv_sec) * 1000000000 + T.tv_nsec;
}

std::int64_t Now() {
  struct timespec T;
  clock_gettime(CLOCK_REALTIME, &T);
  return Nanoseconds(T);
}

bool SameFile(const struct stat& A, const struct stat& B) {
  return A.st_dev == B.st_dev && A.st_ino == B.st_ino && A.st_size == B.st_size &&
         Nanoseconds(A.st_mtim) == Nanoseconds(B.st_mtim) && Nanoseconds(A.st_ctim) == Nanoseconds(B.st_ctim);
}

// The temporary files of writes killed half-way, by processes no longer running: the partial files
// of this file, and those of the earlier "option.ini.tmp<pid>_<n>" form.
void SweepKilledWrites(const String& FileName) {
  SweepPartialFiles(FileName);
  const String Prefix = ExtractFileName(FileName) + ".tmp";
  TSearchRec F;
  for (Integer R = FindFirst(FileName + ".tmp*", faAnyFile & ~faDirectory, F); R == 0; R = FindNext(F)) {
    const String Rest = F.Name.substr(Prefix.size());
    const size_t Gap = Rest.find('_');
    Integer Pid = 0, Count = 0;
    if (Gap == String::npos || !TryStrToInt(Rest.substr(0, Gap), Pid) || Pid <= 0 ||
        !TryStrToInt(Rest.substr(Gap + 1), Count) || Count < 0 || (F.Attr & faSysFile))
      continue;
    if (::kill(pid_t(Pid), 0) != 0 && errno == ESRCH) DeleteFile(ExtractFilePath(FileName) + F.Name);
  }
  FindClose(F);
}

// The file's parsed copy, parsed again when the file changed. A file changed within the last second
// is parsed again on every read: its time stamps cannot tell a second change in the same tick. Under
// the state's lock; a note to give goes to ANote.
TMemIniFile* ParsedFile(TSettingsState& S, const String& FileName, String& ANote) {
  TParsedFile& P = S.Parsed[FileName];
  if (!P.Swept) {
    P.Swept = true;
    SweepKilledWrites(FileName);
  }
  struct stat St;
  if (::stat(FileName.c_str(), &St) != 0) {
    P.Ini.reset();
    return nullptr;
  }
  const std::int64_t Changed = std::max(Nanoseconds(St.st_mtim), Nanoseconds(St.st_ctim));
  if (P.Ini && SameFile(St, P.Stat) && P.ParsedAt - Changed > 1000000000) return P.Ini.get();
  P.Ini = std::make_unique<TMemIniFile>(FileName);
  P.Stat = St;
  P.ParsedAt = Now();
  if (!P.Ini->ReadRefusal().empty() && S.Noted.insert(FileName).second)
    ANote = UnreadableNote(FileName, P.Ini->ReadRefusal());
  return P.Ini.get();
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
  String Value = MissingValue, PendingNote;
  {
    TSettingsState& S = State();
    std::lock_guard<std::mutex> Hold(S.Lock);
    auto It = S.Values.find(UnwrittenKey(FFileName, Section, Key));
    if (It != S.Values.end()) return It->second;
    if (TMemIniFile* Ini = ParsedFile(S, FFileName, PendingNote))
      Value = Ini->ReadString(Section, Key, MissingValue);
  }
  if (!PendingNote.empty()) Note(PendingNote);
  return Value;
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

String TOptionFile::ResolvePath(const String& Path) const {
  if (Path.empty() || Path[0] == PathDelim) return Path;
  return ExpandFileName(ExtractFilePath(ExpandFileName(FFileName)) + Path);
}

void TOptionFile::Write(const String& Section, const String& Key, const String& Value) {
  TSettingsState& S = State();
  String PendingNote;
  bool Held = false;
  {
    // A value the file holds already needs no write, and is no sign that the file can be written.
    std::lock_guard<std::mutex> Hold(S.Lock);
    TMemIniFile* Ini = ParsedFile(S, FFileName, PendingNote);
    Held = Ini && Ini->ReadRefusal().empty() && Ini->ValueExists(Section, Key) &&
           Ini->ReadString(Section, Key, String()) == Value;
    if (Held) S.Values.erase(UnwrittenKey(FFileName, Section, Key));
  }
  if (!PendingNote.empty()) Note(PendingNote);
  if (Held) return;
  String Reason;
  try {
    TIniFile Ini(FFileName);
    Ini.WriteString(Section, Key, Value);
  } catch (const Exception& E) {
    Reason = E.Message();
    if (Reason.empty()) Reason = "unknown error";
  }
  bool NoteNow = false;
  {
    std::lock_guard<std::mutex> Hold(S.Lock);
    S.Parsed[FFileName].Ini.reset();
    if (Reason.empty()) {
      S.Values.erase(UnwrittenKey(FFileName, Section, Key));
      S.Noted.erase(FFileName);
      return;
    }
    S.Values[UnwrittenKey(FFileName, Section, Key)] = Value;
    NoteNow = S.Noted.insert(FFileName).second;
  }
  if (NoteNow) Note(UnwritableNote(FFileName, Reason));
}

void TOptionFile::ForgetUnwrittenValues() {
  TSettingsState& S = State();
  std::lock_guard<std::mutex> Hold(S.Lock);
  S.Values.clear();
  S.Noted.clear();
  S.Parsed.clear();
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
    // A relative folder lies beside the program, wherever it was started from.
    Folder = File.ResolvePath(Folder);
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
