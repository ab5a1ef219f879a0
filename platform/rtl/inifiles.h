// INI files: TCustomIniFile, TIniFile (every call goes to the file, as the platform's profile
// functions do) and TMemIniFile (the whole file in memory, written by UpdateFile).
#pragma once

#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/lists.h"
#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

// Reading rules shared by both classes: a line that, trimmed, starts with "[" and ends with "]" opens a
// section (name trimmed); other lines of a section holding "=" are keys, split at the first "=", key
// and value trimmed. Lines before the first section, blank lines, ";" comments and lines without "="
// hold no keys. Section and key names compare without regard to case and keep the case first written.
//
// Only a regular file of at most IniFileMaxSize bytes is read. Any other file (a pipe, a device, a
// folder, an unreadable or an oversized file) reads as empty, with the reason in ReadRefusal, and is
// never written over: its contents would be lost.
inline constexpr Integer IniFileMaxSize = 1024 * 1024;

class TCustomIniFile : public TObject {
 public:
  explicit TCustomIniFile(const String& FileName) : FFileName(FileName) {}
  String ClassName() const override { return "TCustomIniFile"; }

  const String& FileName() const { return FFileName; }
  // Why the file's contents were not read at the last reading (empty when they were, or when there
  // is no file).
  const String& ReadRefusal() const { return FReadRefusal; }

  // Default when the key is absent; a present key with an empty value reads "".
  virtual String ReadString(const String& Section, const String& Ident, const String& Default) = 0;
  virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
  // Decimal, or hexadecimal after "$", "0x" or "0X"; Default when absent or not an integer.
  virtual Integer ReadInteger(const String& Section, const String& Ident, Integer Default);
  // Written in decimal.
  virtual void WriteInteger(const String& Section, const String& Ident, Integer Value);
  // An integer value: 0 is false, anything else true; Default when absent or not an integer.
  virtual bool ReadBool(const String& Section, const String& Ident, bool Default);
  // "1" or "0".
  virtual void WriteBool(const String& Section, const String& Ident, bool Value);
  // "." as decimal separator; Default when absent or not a number.
  virtual Double ReadFloat(const String& Section, const String& Ident, Double Default);
  virtual void WriteFloat(const String& Section, const String& Ident, Double Value);

  // The key names of a section, in file order (Strings is cleared first).
  virtual void ReadSection(const String& Section, TStrings* Strings) = 0;
  // The section names, in file order (Strings is cleared first).
  virtual void ReadSections(TStrings* Strings) = 0;
  // "key=value" lines of a section (Strings is cleared first).
  virtual void ReadSectionValues(const String& Section, TStrings* Strings) = 0;
  virtual void EraseSection(const String& Section) = 0;
  virtual void DeleteKey(const String& Section, const String& Ident) = 0;
  virtual void UpdateFile() = 0;

  // True when the section holds at least one key; an empty section counts as absent.
  virtual bool SectionExists(const String& Section);
  virtual bool ValueExists(const String& Section, const String& Ident);

 protected:
  void SetFileName(const String& Value) { FFileName = Value; }
  void SetReadRefusal(const String& Value) { FReadRefusal = Value; }

 private:
  String FFileName;
  String FReadRefusal;
};

// Reads the file again on every call; every write rewrites the file at once (creating it on the first
// write; its folder must exist), through a partial file beside it (platform/rtl/partialfile.h), so a
// failed or killed write leaves the file whole. Lines that hold no keys (comments, blank lines)
// survive a rewrite. A failed write raises EIniFileException naming the file and the reason.
class TIniFile : public TCustomIniFile {
 public:
  explicit TIniFile(const String& FileName) : TCustomIniFile(FileName) {}
  String ClassName() const override { return "TIniFile"; }

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  // Nothing is buffered, so there is nothing to write.
  void UpdateFile() override {}
};

// The whole description in memory. Create loads FileName when it exists (UTF-8, byte-order mark
// dropped); UpdateFile writes the text of GetStrings back to FileName.
class TMemIniFile : public TCustomIniFile {
 public:
  explicit TMemIniFile(const String& FileName);
  String ClassName() const override { return "TMemIniFile"; }

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  // EIniFileException naming the file when it cannot be written, or when it was there but not read
  // (ReadRefusal).
  void UpdateFile() override;

  void Clear();
  // Replaces the contents by the sections and keys of List's lines (reading rules above); a repeated
  // section adds its keys to the first one.
  void SetStrings(TStrings* List);
  // Each section as "[name]", its "key=value" lines and one empty line.
  void GetStrings(TStrings* List);
  // Reload: replace the contents by the new file's (empty when it does not exist). Without it the
  // contents are kept for the new name, and so is nothing of the old file's refusal.
  void Rename(const String& FileName, bool Reload);

  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }

 private:
  struct TKey {
    String Name;
    String Value;
  };
  struct TSection {
    String Name;
    std::vector<TKey> Keys;
  };
  bool sameName(const String& A, const String& B) const;
  TSection* findSection(const String& Section);
  TKey* findKey(const String& Section, const String& Ident);
  void loadValues();

  std::vector<TSection> FSections;
  bool FCaseSensitive = false;
};
