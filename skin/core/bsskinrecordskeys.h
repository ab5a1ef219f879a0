// Private to the record files: a record class lists its own keys once, as a table of key name, field
// and (for integers and strings) the value an absent key gives; reading and writing walk that table,
// so the two can never disagree on a key's name, kind or place.
#pragma once

#include <initializer_list>
#include <variant>

#include "skin/core/bsskinvalues.h"

template <class R>
struct TbsSkinKey {
  using TField = std::variant<Integer R::*, String R::*, TRect R::*, TPoint R::*, bool R::*, TFontStyles R::*,
                              TAlignment R::*, TbsStretchType R::*, TbsMorphKind R::*, TbsStdCommand R::*>;
  const char* Name;
  TField Field;
  Integer IntDefault = 0;
  const char* StrDefault = "";

  // Integers, colours and picture indexes.
  constexpr TbsSkinKey(const char* AName, Integer R::*AField, Integer ADefault)
      : Name(AName), Field(AField), IntDefault(ADefault) {}
  constexpr TbsSkinKey(const char* AName, String R::*AField, const char* ADefault)
      : Name(AName), Field(AField), StrDefault(ADefault) {}
  // Kinds whose absent value is fixed by the kind itself.
  template <class T>
  constexpr TbsSkinKey(const char* AName, T R::*AField) : Name(AName), Field(AField) {}
};

template <class R>
void LoadSkinKey(TCustomIniFile* IniFile, const String& Section, R* Rec, const TbsSkinKey<R>& Key) {
  std::visit(
      [&](auto Member) {
        using T = std::remove_reference_t<decltype(Rec->*Member)>;
        T& f = Rec->*Member;
        if constexpr (std::is_same_v<T, Integer>) {
          f = IniFile->ReadInteger(Section, Key.Name, Key.IntDefault);
        } else if constexpr (std::is_same_v<T, String>) {
          f = IniFile->ReadString(Section, Key.Name, Key.StrDefault);
        } else if constexpr (std::is_same_v<T, TRect>) {
          f = ReadSkinRect(IniFile, Section, Key.Name);
        } else if constexpr (std::is_same_v<T, TPoint>) {
          f = ReadSkinPoint(IniFile, Section, Key.Name);
        } else if constexpr (std::is_same_v<T, bool>) {
          f = ReadSkinBool(IniFile, Section, Key.Name);
        } else if constexpr (std::is_same_v<T, TFontStyles>) {
          f = ReadSkinFontStyles(IniFile, Section, Key.Name);
        } else if constexpr (std::is_same_v<T, TAlignment>) {
          f = ReadSkinAlignment(IniFile, Section, Key.Name);
        } else if constexpr (std::is_same_v<T, TbsStretchType>) {
          f = ReadSkinStretchType(IniFile, Section, Key.Name);
        } else if constexpr (std::is_same_v<T, TbsMorphKind>) {
          f = ReadSkinMorphKind(IniFile, Section, Key.Name);
        } else {
          static_assert(std::is_same_v<T, TbsStdCommand>);
          f = ReadSkinStdCommand(IniFile, Section, Key.Name);
        }
      },
      Key.Field);
}

template <class R>
void SaveSkinKey(TCustomIniFile* IniFile, const String& Section, const R* Rec, const TbsSkinKey<R>& Key) {
  std::visit(
      [&](auto Member) {
        const auto& f = Rec->*Member;
        using T = std::remove_cvref_t<decltype(f)>;
        if constexpr (std::is_same_v<T, Integer>) {
          IniFile->WriteInteger(Section, Key.Name, f);
        } else if constexpr (std::is_same_v<T, String>) {
          IniFile->WriteString(Section, Key.Name, f);
        } else if constexpr (std::is_same_v<T, TRect>) {
          WriteSkinRect(IniFile, Section, Key.Name, f);
        } else if constexpr (std::is_same_v<T, TPoint>) {
          WriteSkinPoint(IniFile, Section, Key.Name, f);
        } else if constexpr (std::is_same_v<T, bool>) {
          WriteSkinBool(IniFile, Section, Key.Name, f);
        } else if constexpr (std::is_same_v<T, TFontStyles>) {
          WriteSkinFontStyles(IniFile, Section, Key.Name, f);
        } else if constexpr (std::is_same_v<T, TAlignment>) {
          WriteSkinAlignment(IniFile, Section, Key.Name, f);
        } else if constexpr (std::is_same_v<T, TbsStretchType>) {
          WriteSkinStretchType(IniFile, Section, Key.Name, f);
        } else if constexpr (std::is_same_v<T, TbsMorphKind>) {
          WriteSkinMorphKind(IniFile, Section, Key.Name, f);
        } else {
          static_assert(std::is_same_v<T, TbsStdCommand>);
          WriteSkinStdCommand(IniFile, Section, Key.Name, f);
        }
      },
      Key.Field);
}

// Reads every key of the table in table order; a malformed point or rectangle stops at its key.
template <class R, size_t N>
void LoadSkinKeys(TCustomIniFile* IniFile, const String& Section, R* Rec, const TbsSkinKey<R> (&Keys)[N]) {
  for (const auto& key : Keys) LoadSkinKey(IniFile, Section, Rec, key);
}

// A key that a class writes later than it reads: Moved is written right after After.
struct TbsSkinKeyMove {
  const char* Moved = nullptr;
  const char* After = nullptr;
};

template <class R, size_t N>
void SaveSkinKeys(TCustomIniFile* IniFile, const String& Section, const R* Rec,
                  const TbsSkinKey<R> (&Keys)[N], TbsSkinKeyMove Move = {}) {
  const TbsSkinKey<R>* moved = nullptr;
  if (Move.Moved)
    for (const auto& key : Keys)
      if (String(key.Name) == Move.Moved) moved = &key;
  for (const auto& key : Keys) {
    if (&key == moved) continue;
    SaveSkinKey(IniFile, Section, Rec, key);
    if (moved && String(key.Name) == Move.After) SaveSkinKey(IniFile, Section, Rec, *moved);
  }
}
