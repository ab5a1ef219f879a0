#include "platform/rtl/inifiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/rtl/partialfile.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"

namespace {

const char* const kUtf8Bom = "\xEF\xBB\xBF";

struct TIniLine {
  enum TKind { ikOther, ikSection, ikKey };
  TKind Kind = ikOther;
  String Name;
  String Value;
};

TIniLine classifyLine(const String& Raw) {
  TIniLine Line;
  String T = Trim(Raw);
  if (T.empty() || T[0] == ';') return Line;
  if (T.size() >= 2 && T.front() == '[' && T.back() == ']') {
    Line.Kind = TIniLine::ikSection;
    Line.Name = Trim(T.substr(1, T.size() - 2));
    return Line;
  }
  size_t P = Raw.find('=');
  if (P == String::npos) return Line;
  Line.Kind = TIniLine::ikKey;
  Line.Name = Trim(Raw.substr(0, P));
  Line.Value = Trim(Raw.substr(P + 1));
  return Line;
}

// A line break inside a name or value would start a new line of the file, so it becomes a blank.
String singleLine(String S) {
  for (char& c : S)
    if (c == '\r' || c == '\n') c = ' ';
  return S;
}

void splitLines(const String& Text, std::vector<String>& Lines) {
  size_t P = 0;
  const size_t N = Text.size();
  while (P < N) {
    size_t Start = P;
    while (P < N && Text[P] != '\r' && Text[P] != '\n') ++P;
    Lines.push_back(Text.substr(Start, P - Start));
    if (P < N && Text[P] == '\r') ++P;
    if (P < N && Text[P] == '\n') ++P;
  }
}

// The whole file into Text. An absent file reads as empty; one that exists but cannot be read, or
// is no settings file (a pipe, a device, a folder, or larger than IniFileMaxSize), reads as empty
// with the reason in Refusal. Opening never waits (a pipe without a writer).
void readWholeFile(const String& FileName, String& Text, String& Refusal) {
  Text.clear();
  Refusal.clear();
  int Fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (Fd < 0) {
    if (errno != ENOENT) Refusal = std::strerror(errno);
    return;
  }
  struct stat St;
  if (::fstat(Fd, &St) != 0) {
    Refusal = std::strerror(errno);
  } else if (S_ISDIR(St.st_mode)) {
    Refusal = std::strerror(EISDIR);
  } else if (!S_ISREG(St.st_mode)) {
    Refusal = "not a regular file";
  } else if (St.st_size > IniFileMaxSize) {
    Refusal = "larger than " + IntToStr(IniFileMaxSize / 1024) + " KiB";
  }
  char Buf[65536];
  while (Refusal.empty()) {
    ssize_t N = ::read(Fd, Buf, sizeof Buf);
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) Refusal = std::strerror(errno);
    if (N <= 0) break;
    Text.append(Buf, static_cast<size_t>(N));
    // A file that grows while it is read is held to the same limit.
    if (Text.size() > static_cast<size_t>(IniFileMaxSize))
      Refusal = "larger than " + IntToStr(IniFileMaxSize / 1024) + " KiB";
  }
  ::close(Fd);
  if (!Refusal.empty()) Text.clear();
}

[[noreturn]] void raiseWriteError(const String& FileName, const String& Reason) {
  throw EIniFileException(Format(SIniFileWriteError, FileName) + ": " + Reason);
}

// Writes Text as the new contents of FileName through a partial file beside it, so that a failed or
// killed write leaves the old file whole. An existing file keeps its permissions; a read-only one
// is refused as the platform refuses to write it; a link is written through.
void writeWholeFile(const String& FileName, const String& Text) {
  const int Err = WriteWholeFileSafely(FileName, Text.data(), Text.size(), true);
  if (Err != 0) raiseWriteError(FileName, std::strerror(Err));
}

// The file as lines, with what is needed to write it back as it was.
struct TIniText {
  std::vector<String> Lines;
  std::vector<TIniLine> Parsed;
  String LineBreak = "\n";
  bool Bom = false;
  String Refusal;  // why the file's contents were not read

  void load(const String& FileName) {
    String Text;
    readWholeFile(FileName, Text, Refusal);
    if (Text.compare(0, 3, kUtf8Bom) == 0) {
      Bom = true;
      Text.erase(0, 3);
    }
    size_t P = Text.find_first_of("\r\n");
    if (P != String::npos && Text[P] == '\r' && P + 1 < Text.size() && Text[P + 1] == '\n')
      LineBreak = "\r\n";
    splitLines(Text, Lines);
    Parsed.reserve(Lines.size());
    for (const String& L : Lines) Parsed.push_back(classifyLine(L));
  }

  void save(const String& FileName) const {
    // A file whose contents were not read would lose them all.
    if (!Refusal.empty()) raiseWriteError(FileName, Refusal);
    String Text = Bom ? String(kUtf8Bom) : String();
    for (const String& L : Lines) {
      Text += L;
      Text += LineBreak;
    }
    writeWholeFile(FileName, Text);
  }

  void insert(size_t At, const String& Raw) {
    Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(At), Raw);
    Parsed.insert(Parsed.begin() + static_cast<std::ptrdiff_t>(At), classifyLine(Raw));
  }

  void erase(size_t From, size_t To) {
    Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(From),
                Lines.begin() + static_cast<std::ptrdiff_t>(To));
    Parsed.erase(Parsed.begin() + static_cast<std::ptrdiff_t>(From),
                 Parsed.begin() + static_cast<std::ptrdiff_t>(To));
  }

  // Calls Fn(index) for each key line of every section named Section, in file order.
  template <typename TFn>
  void forEachKey(const String& Section, TFn Fn) const {
    bool In = false;
    for (size_t i = 0; i < Parsed.size(); ++i) {
      const TIniLine& L = Parsed[i];
      if (L.Kind == TIniLine::ikSection)
        In = SameText(L.Name, Section);
      else if (In && L.Kind == TIniLine::ikKey && !Fn(i))
        return;
    }
  }

  // Index of the first key line named Ident in Section, or -1.
  std::ptrdiff_t findKey(const String& Section, const String& Ident) const {
    std::ptrdiff_t Found = -1;
    forEachKey(Section, [&](size_t i) {
      if (!SameText(Parsed[i].Name, Ident)) return true;
      Found = static_cast<std::ptrdiff_t>(i);
      return false;
    });
    return Found;
  }

  // Keys of Section, first spelling of each name, with the first value.
  std::vector<const TIniLine*> keys(const String& Section) const {
    std::vector<const TIniLine*> Result;
    forEachKey(Section, [&](size_t i) {
      for (const TIniLine* K : Result)
        if (SameText(K->Name, Parsed[i].Name)) return true;
      Result.push_back(&Parsed[i]);
      return true;
    });
    return Result;
  }
};

}  // namespace

// ---- TCustomIniFile ----------------------------------------------------------------------------

Integer TCustomIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default) {
  return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

Double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, Double Default) {
  String S = ReadString(Section, Ident, String());
  return S.empty() ? Default : StrToFloatDef(S, Default);
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, Double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

bool TCustomIniFile::SectionExists(const String& Section) {
  TStringList Keys;
  ReadSection(Section, &Keys);
  return Keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) {
  TStringList Keys;
  ReadSection(Section, &Keys);
  return Keys.IndexOf(Ident) >= 0;
}

// ---- TIniFile ----------------------------------------------------------------------------------

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  TIniText Ini;
  Ini.load(FileName());
  SetReadRefusal(Ini.Refusal);
  std::ptrdiff_t I = Ini.findKey(Section, Ident);
  return I < 0 ? Default : Ini.Parsed[static_cast<size_t>(I)].Value;
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  const String SectionName = singleLine(Section);
  const String Key = singleLine(Ident);
  const String NewValue = singleLine(Value);
  TIniText Ini;
  Ini.load(FileName());
  SetReadRefusal(Ini.Refusal);
  std::ptrdiff_t I = Ini.findKey(SectionName, Key);
  if (I >= 0) {
    size_t At = static_cast<size_t>(I);
    // Keep the key's own spelling; the rest of the line is replaced.
    String Line = Ini.Parsed[At].Name + "=" + NewValue;
    if (Ini.Lines[At] == Line) return;
    Ini.erase(At, At + 1);
    Ini.insert(At, Line);
  } else {
    std::ptrdiff_t Header = -1;
    for (size_t i = 0; i < Ini.Parsed.size(); ++i)
      if (Ini.Parsed[i].Kind == TIniLine::ikSection && SameText(Ini.Parsed[i].Name, SectionName)) {
        Header = static_cast<std::ptrdiff_t>(i);
        break;
      }
    if (Header < 0) {
      Ini.insert(Ini.Lines.size(), "[" + SectionName + "]");
      Ini.insert(Ini.Lines.size(), Key + "=" + NewValue);
    } else {
      // After the section's last key (or its header), before the blank lines that end it.
      size_t At = static_cast<size_t>(Header) + 1;
      for (size_t i = At; i < Ini.Parsed.size() && Ini.Parsed[i].Kind != TIniLine::ikSection; ++i)
        if (Ini.Parsed[i].Kind == TIniLine::ikKey) At = i + 1;
      Ini.insert(At, Key + "=" + NewValue);
    }
  }
  Ini.save(FileName());
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) {
  TIniText Ini;
  Ini.load(FileName());
  SetReadRefusal(Ini.Refusal);
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    for (const TIniLine* K : Ini.keys(Section)) Strings->Add(K->Name);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TIniFile::ReadSections(TStrings* Strings) {
  TIniText Ini;
  Ini.load(FileName());
  SetReadRefusal(Ini.Refusal);
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    std::vector<String> Seen;
    for (const TIniLine& L : Ini.Parsed) {
      if (L.Kind != TIniLine::ikSection) continue;
      bool Dup = false;
      for (const String& S : Seen) Dup = Dup || SameText(S, L.Name);
      if (Dup) continue;
      Seen.push_back(L.Name);
      Strings->Add(L.Name);
    }
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  TIniText Ini;
  Ini.load(FileName());
  SetReadRefusal(Ini.Refusal);
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    for (const TIniLine* K : Ini.keys(Section)) Strings->Add(K->Name + "=" + K->Value);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TIniFile::EraseSection(const String& Section) {
  TIniText Ini;
  Ini.load(FileName());
  SetReadRefusal(Ini.Refusal);
  bool Changed = false;
  size_t i = 0;
  while (i < Ini.Parsed.size()) {
    if (Ini.Parsed[i].Kind == TIniLine::ikSection && SameText(Ini.Parsed[i].Name, Section)) {
      size_t End = i + 1;
      while (End < Ini.Parsed.size() && Ini.Parsed[End].Kind != TIniLine::ikSection) ++End;
      Ini.erase(i, End);
      Changed = true;
    } else {
      ++i;
    }
  }
  if (Changed) Ini.save(FileName());
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  TIniText Ini;
  Ini.load(FileName());
  SetReadRefusal(Ini.Refusal);
  // Every line of the key goes, so that no later duplicate shows through.
  std::vector<size_t> Doomed;
  Ini.forEachKey(Section, [&](size_t i) {
    if (SameText(Ini.Parsed[i].Name, Ident)) Doomed.push_back(i);
    return true;
  });
  if (Doomed.empty()) return;
  for (auto it = Doomed.rbegin(); it != Doomed.rend(); ++it) Ini.erase(*it, *it + 1);
  Ini.save(FileName());
}

// ---- TMemIniFile -------------------------------------------------------------------------------

TMemIniFile::TMemIniFile(const String& FileName) : TCustomIniFile(FileName) {
  loadValues();
}

void TMemIniFile::loadValues() {
  Clear();
  String Text, Refusal;
  readWholeFile(FileName(), Text, Refusal);
  SetReadRefusal(Refusal);
  if (!Refusal.empty()) return;
  if (Text.compare(0, 3, kUtf8Bom) == 0) Text.erase(0, 3);
  TStringList List;
  List.SetText(Text);
  SetStrings(&List);
}

bool TMemIniFile::sameName(const String& A, const String& B) const {
  return FCaseSensitive ? A == B : SameText(A, B);
}

TMemIniFile::TSection* TMemIniFile::findSection(const String& Section) {
  for (TSection& S : FSections)
    if (sameName(S.Name, Section)) return &S;
  return nullptr;
}

TMemIniFile::TKey* TMemIniFile::findKey(const String& Section, const String& Ident) {
  TSection* S = findSection(Section);
  if (S == nullptr) return nullptr;
  for (TKey& K : S->Keys)
    if (sameName(K.Name, Ident)) return &K;
  return nullptr;
}

void TMemIniFile::Clear() {
  FSections.clear();
}

void TMemIniFile::SetStrings(TStrings* List) {
  Clear();
  TSection* Current = nullptr;
  Integer N = List->Count();
  for (Integer i = 0; i < N; ++i) {
    TIniLine L = classifyLine(List->Strings(i));
    if (L.Kind == TIniLine::ikSection) {
      Current = findSection(L.Name);
      if (Current == nullptr) {
        FSections.push_back(TSection{L.Name, {}});
        Current = &FSections.back();
      }
    } else if (L.Kind == TIniLine::ikKey && Current != nullptr) {
      Current->Keys.push_back(TKey{L.Name, L.Value});
    }
  }
}

void TMemIniFile::GetStrings(TStrings* List) {
  List->BeginUpdate();
  try {
    List->Clear();
    for (const TSection& S : FSections) {
      List->Add("[" + S.Name + "]");
      for (const TKey& K : S.Keys) List->Add(K.Name + "=" + K.Value);
      List->Add(String());
    }
  } catch (...) {
    List->EndUpdate();
    throw;
  }
  List->EndUpdate();
}

void TMemIniFile::Rename(const String& FileName, bool Reload) {
  SetFileName(FileName);
  if (Reload)
    loadValues();
  else
    SetReadRefusal(String());
}

String TMemIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  TKey* K = findKey(Section, Ident);
  return K == nullptr ? Default : K->Value;
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  TSection* S = findSection(Section);
  if (S == nullptr) {
    FSections.push_back(TSection{singleLine(Section), {}});
    S = &FSections.back();
  }
  for (TKey& K : S->Keys)
    if (sameName(K.Name, Ident)) {
      K.Value = singleLine(Value);
      return;
    }
  S->Keys.push_back(TKey{singleLine(Ident), singleLine(Value)});
}

void TMemIniFile::ReadSection(const String& Section, TStrings* Strings) {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    if (TSection* S = findSection(Section))
      for (const TKey& K : S->Keys) Strings->Add(K.Name);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TMemIniFile::ReadSections(TStrings* Strings) {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    for (const TSection& S : FSections) Strings->Add(S.Name);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TMemIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    if (TSection* S = findSection(Section))
      for (const TKey& K : S->Keys) Strings->Add(K.Name + "=" + K.Value);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TMemIniFile::EraseSection(const String& Section) {
  std::erase_if(FSections, [&](const TSection& S) { return sameName(S.Name, Section); });
}

void TMemIniFile::DeleteKey(const String& Section, const String& Ident) {
  if (TSection* S = findSection(Section))
    std::erase_if(S->Keys, [&](const TKey& K) { return sameName(K.Name, Ident); });
}

void TMemIniFile::UpdateFile() {
  // A file whose contents were not read would lose them all.
  if (!ReadRefusal().empty()) raiseWriteError(FileName(), ReadRefusal());
  TStringList List;
  GetStrings(&List);
  writeWholeFile(FileName(), List.Text());
}
