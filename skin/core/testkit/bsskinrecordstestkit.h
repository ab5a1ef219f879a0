// Test support for the element records: a record's expected keys, written as one line of
// "key:kind[=default]" words in writing order, and the sections that exercise them.
// Kinds: i integer or colour, s string, r rectangle, p point, b flag, f font styles, a alignment,
// t stretch type, m morph kind, c stock button command.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "platform/rtl/inifiles.h"
#include "platform/rtl/lists.h"

struct TSkinKeySpec {
  String Name;
  char Kind = 'i';
  String Default;  // i and s only
};

inline std::vector<TSkinKeySpec> ParseKeySpecs(const String& Line) {
  std::vector<TSkinKeySpec> specs;
  std::istringstream in(Line);
  String word;
  while (in >> word) {
    TSkinKeySpec s;
    const size_t colon = word.find(':');
    s.Name = word.substr(0, colon);
    s.Kind = word[colon + 1];
    const size_t eq = word.find('=');
    if (eq != String::npos) s.Default = word.substr(eq + 1);
    specs.push_back(s);
  }
  return specs;
}

// The text a key holds after reading an absent key and writing the record back.
inline String DefaultText(const TSkinKeySpec& S) {
  switch (S.Kind) {
    case 'r':
      return "0,0,0,0";
    case 'p':
      return "0,0";
    case 'b':
      return "0";
    case 'f':
      return "";
    case 'a':
      return "tacenter";
    case 't':
      return "stfull";
    case 'm':
      return "mkdefault";
    case 'c':
      return "cmdefault";
    default:
      return S.Default;
  }
}

// A value in its written form, distinct per key position J and never the default.
inline String DistinctText(const TSkinKeySpec& S, int J) {
  static const char* const styles[] = {"fsbold", "fsitalic,fsunderline", "fsbold,fsstrikeout",
                                       "fsbold,fsitalic,fsunderline,fsstrikeout"};
  static const char* const morphs[] = {"mkgradient",  "mkleftgradient", "mkrightgradient",
                                       "mkleftslide", "mkrightslide",   "mkpush"};
  static const char* const commands[] = {"cmclose",   "cmmaximize", "cmminimize",
                                         "cmsysmenu", "cmrollup",   "cmminimizetotray"};
  const String n = std::to_string(J + 1);
  switch (S.Kind) {
    case 'i':
      return std::to_string(J % 2 ? -(1000 + J) : 1000 + J);
    case 's':
      return "名" + n;
    case 'r':  // not empty, with a negative coordinate
      return "-" + n + "," + std::to_string(J + 2) + "," + std::to_string(J + 3) + "," +
             std::to_string(J + 400);
    case 'p':
      return std::to_string(J + 5) + ",-" + std::to_string(J + 6);
    case 'b':
      return "1";
    case 'f':
      return styles[J % 4];
    case 'a':
      return J % 2 ? "taleftjustify" : "tarightjustify";
    case 't':
      return J % 2 ? "sthorz" : "stvert";
    case 'm':
      return morphs[J % 6];
    default:
      return commands[J % 6];
  }
}

// Every key of a section set to its distinct value.
inline void WriteDistinctSection(TCustomIniFile* Ini, const String& Section,
                                 const std::vector<TSkinKeySpec>& Specs) {
  for (size_t j = 0; j < Specs.size(); ++j)
    Ini->WriteString(Section, Specs[j].Name, DistinctText(Specs[j], int(j)));
}

// Key names of a section, in order.
inline std::vector<String> SectionKeys(TCustomIniFile* Ini, const String& Section) {
  TStringList keys;
  Ini->ReadSection(Section, &keys);
  std::vector<String> out;
  for (Integer i = 0; i < keys.Count(); ++i) out.push_back(keys.Strings(i));
  return out;
}

inline std::vector<String> SpecNames(const std::vector<TSkinKeySpec>& Specs) {
  std::vector<String> out;
  for (const auto& s : Specs) out.push_back(s.Name);
  return out;
}
