#include "app/formats/formattables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "app/formats/jobparameters.h"

namespace {

std::vector<Integer> catalogueCodes() {
  std::vector<Integer> codes;
  for (Integer cat = 0; cat < FormatFamilyCount; ++cat)
    for (Integer p = 0; p < FamilyFormatCount(cat); ++p) codes.push_back(100 * (cat + 1) + p);
  return codes;
}

const TFormatParameterRow& paramRow(Integer code) {
  const TFormatParameterRow* row = FindFormatParameterRow(code);
  if (!row) throw std::runtime_error("no parameter row " + std::to_string(code));
  return *row;
}

// The row as the values it gives the JobParameters, for comparing rows with each other.
TJobParameters applied(Integer code) {
  TJobParameters p;
  ApplyParameterRow(paramRow(code), p);
  return p;
}

String captionExt(const String& caption) {
  auto open = caption.rfind("(*.");
  return open == String::npos ? "" : caption.substr(open + 2, caption.size() - open - 3);
}

TEST(FormatCatalogue, HoldsTwentyFourFamiliesWithTheirCaptionCounts) {
  const Integer counts[] = {15, 13, 10, 14, 6, 5, 14, 5,  10, 8,  5,  4,
                            6,  11, 7,  7,  7, 7, 7,  14, 6,  13, 13, 15};
  ASSERT_EQ(FormatFamilyCount, 24);
  Integer total = 0;
  for (Integer cat = 0; cat < 24; ++cat) {
    EXPECT_EQ(FormatFamilies[cat].CategoryCode, cat);
    EXPECT_EQ(FamilyFormatCount(cat), counts[cat]) << "family " << cat;
    total += FamilyFormatCount(cat);
  }
  EXPECT_EQ(total, 222);
  EXPECT_EQ(FamilyFormatCount(24), 0);
  EXPECT_EQ(FamilyFormatCount(-1), 0);
  EXPECT_EQ(FormatCaption(0, 15), nullptr);
  EXPECT_EQ(FormatCaption(3, -1), nullptr);
}

TEST(FormatCatalogue, EveryCaptionEndsInItsExtension) {
  for (Integer code : catalogueCodes()) {
    String caption = FormatCaption(code / 100 - 1, code % 100);
    String ext = captionExt(caption);
    ASSERT_FALSE(ext.empty()) << caption;
    EXPECT_EQ(caption.substr(caption.size() - ext.size() - 3), "(*." + ext.substr(1) + ")") << caption;
    size_t expected = ext == ".rm" || ext == ".ra" ? 2 : ext == ".aiff" || ext == ".flac" ? 4 : 3;
    EXPECT_EQ(ext.size() - 1, expected) << caption;
  }
}

TEST(FormatCatalogue, KeepsTheCaptionsOddities) {
  // Families 6 and 19 each have four "3GPP -" / "3GPP2 -" captions with two blanks after the hyphen.
  for (Integer cat : {6, 19}) {
    int doubleBlank = 0;
    for (Integer p = 0; p < FamilyFormatCount(cat); ++p) {
      String c = FormatCaption(cat, p);
      if (c.rfind("3GPP -  ", 0) == 0 || c.rfind("3GPP2 -  ", 0) == 0) ++doubleBlank;
      EXPECT_EQ(c.find("3GPP - \xe7"), String::npos) << c;  // never a single blank before the text
    }
    EXPECT_EQ(doubleBlank, 4) << "family " << cat;
  }
  EXPECT_STREQ(FormatCaption(0, 0), "AVI - 音频视频交错格式(*.avi)");
  EXPECT_STREQ(FormatCaption(2, 0), FormatCaption(2, 1));  // two formats, one caption
  EXPECT_STREQ(FormatCaption(22, 2),
               "JVC DV摄像机MOD高清视频格式，转换为AVI视频格式(*.avi)");  // full-width comma
  EXPECT_STREQ(FormatCaption(12, 2), "iPad MPEG-4视频格式 XviD编码 (*.mp4)");
  EXPECT_STREQ(FormatCaption(23, 14), "RMVB视频转换为VCD视频(*.mpg)");
}

TEST(FormatCatalogue, CategoryPositionsMapToTheirFamilies) {
  struct Case {
    Integer Position, Code;
    const char* Caption;
  };
  const Case cases[] = {{0, 15, "AVI格式"},  {1, 13, "MPG格式"},   {2, 0, "视频格式"},  {3, 2, "高清格式"},
                        {4, 10, "MP4格式"},  {5, 11, "Flash格式"}, {6, 12, "iPad格式"}, {7, 14, "SWF格式"},
                        {8, 16, "MKV格式"},  {9, 17, "WMV格式"},   {10, 18, "ASF格式"}, {11, 20, "VOB格式"},
                        {12, 21, "MTS格式"}, {13, 23, "RMVB格式"}, {14, 1, "音频格式"}};
  ASSERT_EQ(CategoryPositionCount, 15);
  for (const Case& c : cases) {
    EXPECT_EQ(CategoryCodeOfPosition(c.Position), c.Code);
    EXPECT_STREQ(CategoryCaptions[c.Position], c.Caption);
  }
  EXPECT_EQ(CategoryCodeOfPosition(-1), -1);
  EXPECT_EQ(CategoryCodeOfPosition(15), -1);
  EXPECT_EQ(FormatCodeOf(0, 0), 1600);
  EXPECT_EQ(FormatCodeOf(14, 12), 212);
  EXPECT_EQ(FormatCodeOf(15, 3), 0);
  EXPECT_EQ(FormatCodeOf(0, -1), 1599);  // a format chooser without selection: a code with no row
  EXPECT_EQ(FindFormatParameterRow(1599), nullptr);
  EXPECT_EQ(FormatPositionCodeOf(0, 3), 103);
  EXPECT_EQ(FormatPositionCodeOf(14, 12), 1512);
}

TEST(PresetTables, ListsHaveTheirStatedSizes) {
  const std::map<String, Integer> sizes = {
      {"FS1", 28},  {"FS2", 11},  {"FS3", 1},  {"FS4", 11},  {"FS5", 7},   {"FS6", 12},  {"FS7", 13},
      {"FS8", 5},   {"FS9", 13},  {"FS10", 8}, {"FS11", 9},  {"FS12", 3},  {"FS13", 16}, {"FS14", 4},
      {"FS15", 11}, {"FS16", 12}, {"FS17", 5}, {"FS18", 2},  {"FS19", 19}, {"FS20", 6},  {"VB1", 8},
      {"VB2", 9},   {"VB3", 9},   {"VB4", 15}, {"VB5", 9},   {"VB6", 1},   {"VB7", 8},   {"VB8", 9},
      {"VB9", 7},   {"VB10", 17}, {"VB11", 9}, {"VB12", 10}, {"FR1", 12},  {"FR2", 7},   {"FR3", 1},
      {"FR4", 4},   {"FR5", 10},  {"FR6", 3},  {"FR7", 8},   {"FR8", 6},   {"AB1", 17},  {"AB2", 6},
      {"AB3", 8},   {"AB4", 5},   {"AB5", 8},  {"AB6", 9},   {"SR1", 6},   {"SR2", 1},   {"SR3", 4},
      {"SR4", 7},   {"SR5", 3},   {"SR6", 5},  {"AM1", 5},   {"AM2", 2},   {"AM3", 1}};
  ASSERT_EQ(PresetListCount, 55);
  std::set<String> seen;
  for (Integer i = 0; i < PresetListCount; ++i) {
    const TPresetList& l = PresetLists[i];
    ASSERT_TRUE(sizes.count(l.Name)) << l.Name;
    EXPECT_EQ(l.Count, sizes.at(l.Name)) << l.Name;
    seen.insert(l.Name);
    const char* prefix[] = {"FS", "VB", "AB", "AM", "FR", "SR"};
    EXPECT_EQ(String(l.Name).substr(0, 2), prefix[l.Slot]) << l.Name;
  }
  EXPECT_EQ(seen.size(), 55u);
}

TEST(PresetTables, ListsKeepTheirDuplicatesAndOrder) {
  auto list = [](const String& name) -> const TPresetList& {
    for (Integer i = 0; i < PresetListCount; ++i)
      if (name == PresetLists[i].Name) return PresetLists[i];
    throw std::runtime_error(name);
  };
  struct Dup {
    const char* List;
    Integer First;
  };
  for (Dup d : {Dup{"FS1", 24}, Dup{"FS4", 7}, Dup{"FS13", 12}}) {
    EXPECT_STREQ(list(d.List).Entries[d.First], "1920*1200") << d.List;
    EXPECT_STREQ(list(d.List).Entries[d.First + 1], "1920*1200") << d.List;
  }
  EXPECT_STREQ(list("FS5").Entries[1], "176*144");
  EXPECT_STREQ(list("FS5").Entries[2], "160*120");
  EXPECT_STREQ(list("FS3").Entries[0], "该格式无视频");
  EXPECT_STREQ(list("AB3").Entries[7], "12.2 kbps");
  EXPECT_STREQ(list("AM1").Entries[4], "宽屏视频47:20模式");
}

TEST(PresetTables, RowsCoverTheCatalogueAndStayInsideTheirLists) {
  ASSERT_EQ(PresetRowCount, 222);
  std::vector<Integer> codes;
  for (Integer i = 0; i < PresetRowCount; ++i) {
    const TPresetRow& r = PresetRows[i];
    codes.push_back(r.Code);
    for (int s = 0; s < PresetSlotCount; ++s) {
      const TPresetList& l = PresetListOf(r, TPresetSlot(s));
      EXPECT_EQ(l.Slot, s) << r.Code;
      EXPECT_LT(r.Choices[s].Default, l.Count) << r.Code;
    }
    EXPECT_EQ(FindPresetRow(r.Code), &r);
  }
  EXPECT_EQ(codes, catalogueCodes());
  EXPECT_EQ(FindPresetRow(409)->Choices[psVideoBitrate].Default, 5);
  EXPECT_EQ(FindPresetRow(414), nullptr);
}

bool sameChoices(const TPresetRow& a, const TPresetRow& b) {
  for (int s = 0; s < PresetSlotCount; ++s)
    if (a.Choices[s].List != b.Choices[s].List || a.Choices[s].Default != b.Choices[s].Default) return false;
  return true;
}

TEST(PresetTables, RowsFollowTheStatedRegularities) {
  auto row = [](Integer code) -> const TPresetRow& { return *FindPresetRow(code); };
  for (Integer k = 0; k < 7; ++k) {
    EXPECT_TRUE(sameChoices(row(1600 + k), row(1700 + k))) << k;
    EXPECT_TRUE(sameChoices(row(1600 + k), row(1800 + k))) << k;
    EXPECT_TRUE(sameChoices(row(1600 + k), row(1900 + k))) << k;
  }
  for (Integer k = 0; k < 14; ++k) EXPECT_TRUE(sameChoices(row(700 + k), row(2000 + k))) << k;
  for (Integer k = 0; k < 13; ++k) EXPECT_TRUE(sameChoices(row(2200 + k), row(2300 + k))) << k;
  for (Integer k = 0; k < 10; ++k) EXPECT_TRUE(sameChoices(row(2200 + k), row(2400 + k))) << k;
  EXPECT_TRUE(sameChoices(row(2409), row(2410)));
  EXPECT_TRUE(sameChoices(row(307), row(2411)));
  for (Integer k = 0; k < 3; ++k) EXPECT_TRUE(sameChoices(row(2210 + k), row(2412 + k))) << k;
  EXPECT_TRUE(sameChoices(row(100), row(1600)));

  for (Integer i = 0; i < PresetRowCount; ++i) {
    const TPresetRow& r = PresetRows[i];
    bool aspectMoved = r.Choices[psAspect].Default != 0;
    EXPECT_EQ(aspectMoved, r.Code == 411 || r.Code == 502) << r.Code;
    if (aspectMoved) {
      EXPECT_STREQ(PresetListOf(r, psAspect).Entries[r.Choices[psAspect].Default], "宽屏视频16:9模式");
    }
  }
}

TEST(NoVideoSet, IsTheSameInEveryTable) {
  const std::vector<Integer> stated = {200, 201, 202, 203, 204,  205,  206,  207,  208, 209,
                                       210, 211, 212, 708, 1202, 1203, 1505, 1506, 2008};
  EXPECT_EQ(std::vector<Integer>(NoVideoCodes, NoVideoCodes + NoVideoCodeCount), stated);
  for (Integer i = 0; i < PresetRowCount; ++i) {
    const TPresetRow& r = PresetRows[i];
    bool noVideo = IsNoVideoCode(r.Code);
    EXPECT_EQ(String(PresetListOf(r, psFrameSize).Name) == "FS3", noVideo) << r.Code;
    EXPECT_EQ(String(PresetListOf(r, psVideoBitrate).Name) == "VB6", noVideo) << r.Code;
    EXPECT_EQ(String(PresetListOf(r, psFrameRate).Name) == "FR3", noVideo) << r.Code;
    EXPECT_EQ(String(PresetListOf(r, psAspect).Name) == "AM3", noVideo) << r.Code;
  }
  for (Integer i = 0; i < FormatParameterRowCount; ++i) {
    const TFormatParameterRow& r = FormatParameterRows[i];
    EXPECT_EQ(r.DisableVideo, IsNoVideoCode(r.Code)) << r.Code;
    EXPECT_EQ((r.Assigns & jpDisableVideo) != 0, r.DisableVideo) << r.Code;
  }
}

TEST(ParameterRows, CoverTheCatalogueExceptFamilyThreesShiftedRows) {
  ASSERT_EQ(FormatParameterRowCount, 222);
  std::vector<Integer> expected;
  for (Integer code : catalogueCodes())
    if (code != 409) expected.push_back(code);
  expected.insert(std::upper_bound(expected.begin(), expected.end(), 414), 414);
  std::vector<Integer> codes;
  for (Integer i = 0; i < FormatParameterRowCount; ++i) codes.push_back(FormatParameterRows[i].Code);
  EXPECT_EQ(codes, expected);
}

TEST(ParameterRows, FieldsARowDoesNotAssignHoldResetValues) {
  const TJobParameters reset;
  for (Integer i = 0; i < FormatParameterRowCount; ++i) {
    const TFormatParameterRow& r = FormatParameterRows[i];
    TJobParameters filled;
    filled.Video_FileExt = filled.Video_AudioChannels = filled.Video_AudioSampleRate =
        filled.Video_FrameSize = "x";
    filled.Video_FrameRate = filled.Video_NormType = filled.Video_VideoFilters = filled.Video_AudioVolume =
        "x";
    filled.Video_FrameAspectRatio = filled.Video_VideoCodec = filled.Video_AudioCodec = "x";
    filled.Video_CopyTimestamp = filled.Video_FileFormat = filled.Video_TargetType = filled.Video_VideoTag =
        "x";
    filled.Video_VideoBitrate = filled.Video_AudioBitrate = 7;
    TJobParameters fromReset = reset, fromFilled = filled;
    ApplyParameterRow(r, fromReset);
    ApplyParameterRow(r, fromFilled);
    // Every assigned field overwrote the filler; every other one still holds it, and the row's value
    // there equals the reset value, so a reset-then-apply equals the row.
    auto check = [&](uint32_t bit, const String& a, const String& b, const char* rowValue,
                     const String& resetValue) {
      if (r.Assigns & bit) {
        EXPECT_EQ(a, rowValue) << r.Code;
      } else {
        EXPECT_EQ(a, "x") << r.Code;
        EXPECT_EQ(String(rowValue), resetValue) << r.Code << " bit " << bit;
      }
      EXPECT_EQ(b, rowValue) << r.Code;
    };
    check(jpFileExt, fromFilled.Video_FileExt, fromReset.Video_FileExt, r.FileExt, "");
    check(jpAudioChannels, fromFilled.Video_AudioChannels, fromReset.Video_AudioChannels, r.AudioChannels,
          "");
    check(jpAudioSampleRate, fromFilled.Video_AudioSampleRate, fromReset.Video_AudioSampleRate,
          r.AudioSampleRate, "");
    check(jpFrameSize, fromFilled.Video_FrameSize, fromReset.Video_FrameSize, r.FrameSize, "");
    check(jpFrameRate, fromFilled.Video_FrameRate, fromReset.Video_FrameRate, r.FrameRate, "");
    check(jpNormType, fromFilled.Video_NormType, fromReset.Video_NormType, r.NormType, "");
    check(jpVideoFilters, fromFilled.Video_VideoFilters, fromReset.Video_VideoFilters, r.VideoFilters, "");
    check(jpAudioVolume, fromFilled.Video_AudioVolume, fromReset.Video_AudioVolume, r.AudioVolume, "256");
    check(jpFrameAspectRatio, fromFilled.Video_FrameAspectRatio, fromReset.Video_FrameAspectRatio,
          r.FrameAspectRatio, "");
    check(jpVideoCodec, fromFilled.Video_VideoCodec, fromReset.Video_VideoCodec, r.VideoCodec, "");
    check(jpAudioCodec, fromFilled.Video_AudioCodec, fromReset.Video_AudioCodec, r.AudioCodec, "");
    check(jpCopyTimestamp, fromFilled.Video_CopyTimestamp, fromReset.Video_CopyTimestamp, r.CopyTimestamp,
          "");
    check(jpFileFormat, fromFilled.Video_FileFormat, fromReset.Video_FileFormat, r.FileFormat, "");
    check(jpTargetType, fromFilled.Video_TargetType, fromReset.Video_TargetType, r.TargetType, "");
    check(jpVideoTag, fromFilled.Video_VideoTag, fromReset.Video_VideoTag, r.VideoTag, "");
    EXPECT_EQ(fromFilled.Video_VideoBitrate, r.Assigns & jpVideoBitrate ? r.VideoBitrate : 7) << r.Code;
    EXPECT_EQ(fromFilled.Video_AudioBitrate, r.Assigns & jpAudioBitrate ? r.AudioBitrate : 7) << r.Code;
    if (!(r.Assigns & jpVideoBitrate)) {
      EXPECT_EQ(r.VideoBitrate, -1) << r.Code;
    }
    if (!(r.Assigns & jpAudioBitrate)) {
      EXPECT_EQ(r.AudioBitrate, -1) << r.Code;
    }
    EXPECT_STREQ(r.AudioVolume, "256");
    EXPECT_STREQ(r.VideoFilters, "");
    EXPECT_STREQ(r.CopyTimestamp, "");
  }
  // The rows whose assignment differs from their kind's.
  EXPECT_EQ(paramRow(114).Assigns,
            jpVideoCodec | jpFrameSize | jpNormType | jpCopyTimestamp | jpFileFormat | jpTargetType);
  EXPECT_EQ(paramRow(305).Assigns, jpAllFields & ~jpVideoTag);
  for (Integer code : {403, 404, 405, 406}) EXPECT_EQ(paramRow(code).Assigns, jpAllFields & ~jpTargetType);
  EXPECT_EQ(paramRow(100).Assigns, jpAllFields);
}

TEST(ParameterRows, FileExtAndContainerFollowTheSharedRules) {
  const std::set<Integer> emptyExt = {111,  112,  113,  114,  1202, 1203, 1408, 1409, 1410, 1505,
                                      1506, 2210, 2211, 2212, 2310, 2311, 2312, 2412, 2413, 2414};
  const std::set<Integer> asf = {108, 305, 1900, 1901, 1902, 1903, 1904, 1905, 1906};
  for (Integer i = 0; i < FormatParameterRowCount; ++i) {
    const TFormatParameterRow& r = FormatParameterRows[i];
    String expected = emptyExt.count(r.Code) ? ""
                      : r.Code == 206        ? ".rm"
                      : r.Code == 306        ? ".asf"
                                             : r.OutputExt;
    EXPECT_EQ(r.FileExt, expected) << r.Code;
    EXPECT_EQ((r.Assigns & jpFileExt) == 0, emptyExt.count(r.Code) == 1) << r.Code;
    EXPECT_STREQ(r.FileFormat, asf.count(r.Code) ? "asf" : "") << r.Code;
  }
  EXPECT_STREQ(paramRow(206).OutputExt, ".ra");
  EXPECT_STREQ(paramRow(306).OutputExt, ".wmv");
}

TEST(ParameterRows, OfferedFamiliesNameTheirOutputLikeTheirCaptions) {
  for (Integer pos = 0; pos < CategoryPositionCount; ++pos) {
    Integer cat = CategoryCodeOfPosition(pos);
    for (Integer p = 0; p < FamilyFormatCount(cat); ++p) {
      Integer code = 100 * (cat + 1) + p;
      EXPECT_EQ(paramRow(code).OutputExt, captionExt(FormatCaption(cat, p))) << code;
    }
  }
  // Family 8 is not offered, and three of its rows name another extension than their caption.
  EXPECT_STREQ(paramRow(901).OutputExt, ".mpeg");
  EXPECT_STREQ(paramRow(906).OutputExt, ".avi");
  EXPECT_STREQ(paramRow(909).OutputExt, ".mp4");
  EXPECT_EQ(captionExt(FormatCaption(8, 1)), ".mpg");
}

TEST(ParameterRows, SpecialRowsHoldTheirStatedValues) {
  // Disc targets: the target decides everything.
  const std::map<Integer, const char*> discs = {
      {111, "dvd"},   {112, "svcd"}, {113, "vcd"},   {1408, "dvd"},  {1409, "svcd"},
      {1410, "vcd"},  {2210, "dvd"}, {2211, "svcd"}, {2212, "vcd"},  {2310, "dvd"},
      {2311, "svcd"}, {2312, "vcd"}, {2412, "dvd"},  {2413, "svcd"}, {2414, "vcd"}};
  for (Integer i = 0; i < FormatParameterRowCount; ++i) {
    const TFormatParameterRow& r = FormatParameterRows[i];
    auto disc = discs.find(r.Code);
    EXPECT_STREQ(r.TargetType, disc == discs.end() ? "" : disc->second) << r.Code;
    EXPECT_STREQ(r.NormType, disc == discs.end() ? "" : "PAL") << r.Code;
    if (disc == discs.end()) continue;
    EXPECT_STREQ(r.OutputExt, ".mpg");
    EXPECT_EQ(r.VideoBitrate, -1000);
    EXPECT_EQ(r.AudioBitrate, -1000);
    for (const char* f : {r.VideoCodec, r.AudioCodec, r.VideoTag, r.AudioChannels, r.AudioSampleRate,
                          r.FrameSize, r.FrameRate, r.FrameAspectRatio})
      EXPECT_STREQ(f, "") << r.Code;
    EXPECT_EQ(r.Assigns, jpAllFields & ~(jpFileExt | jpVideoFilters | jpCopyTimestamp)) << r.Code;
  }

  TJobParameters real;
  real.Video_VideoCodec = "rv20";
  real.Video_FrameSize = "320*240";
  EXPECT_EQ(applied(114), real);
  EXPECT_STREQ(paramRow(114).OutputExt, ".rm");

  // Family 3's rows past position 8 sit under 410 to 414.
  struct Extra {
    Integer Code;
    const char *Codec, *Size;
    Integer Bitrate;
    const char* Aspect;
  };
  for (Extra e :
       {Extra{410, "libx264", "640*480", 1200000, ""}, Extra{411, "libxvid", "640*480", 512000, ""},
        Extra{412, "libxvid", "640*480", 1200000, "16:9"}, Extra{413, "libxvid", "320*240", 768000, ""},
        Extra{414, "libxvid", "480*320", 1000000, ""}}) {
    const TFormatParameterRow& r = paramRow(e.Code);
    EXPECT_STREQ(r.VideoCodec, e.Codec);
    EXPECT_STREQ(r.FrameSize, e.Size);
    EXPECT_EQ(r.VideoBitrate, e.Bitrate);
    EXPECT_STREQ(r.FrameAspectRatio, e.Aspect);
    EXPECT_STREQ(r.FrameRate, "25");
    EXPECT_STREQ(r.OutputExt, ".mp4");
    EXPECT_STREQ(r.AudioCodec, "libfaac");
    EXPECT_EQ(r.AudioBitrate, 128000);
  }
  EXPECT_EQ(FindFormatParameterRow(409), nullptr);

  EXPECT_EQ(paramRow(408).VideoBitrate, 7680000);
  EXPECT_STREQ(paramRow(300).VideoCodec, "mpeg4");
  EXPECT_STREQ(paramRow(301).VideoCodec, "libxvid");
  EXPECT_EQ(applied(204), applied(211));
  EXPECT_STREQ(paramRow(204).AudioCodec, "");
  EXPECT_STREQ(paramRow(106).AudioCodec, "");
  EXPECT_STREQ(paramRow(107).AudioCodec, "");
  TJobParameters audio = applied(212);
  EXPECT_EQ(audio.Video_VideoBitrate, -1);
  EXPECT_TRUE(audio.Video_DisableVideo);
  EXPECT_EQ(audio.Video_AudioCodec, "libopencore_amrnb");
  EXPECT_EQ(audio.Video_AudioBitrate, 7400);
}

TEST(ParameterRows, CopiedFamiliesEqualTheirSources) {
  struct Copy {
    Integer First, Last, Source;
  };
  for (Copy c :
       {Copy{2000, 2013, 700}, Copy{2300, 2312, 2200}, Copy{2400, 2409, 2200}, Copy{2412, 2414, 2210}}) {
    for (Integer code = c.First; code <= c.Last; ++code) {
      const TFormatParameterRow& a = paramRow(code);
      const TFormatParameterRow& b = paramRow(c.Source + code - c.First);
      EXPECT_EQ(applied(a.Code), applied(b.Code)) << code;
      EXPECT_STREQ(a.OutputExt, b.OutputExt) << code;
      EXPECT_EQ(a.Assigns, b.Assigns) << code;
    }
  }
  EXPECT_STREQ(paramRow(2410).OutputExt, ".swf");
  EXPECT_STREQ(paramRow(2411).OutputExt, ".vob");
}

TEST(OpenDialogFilter, HoldsFortyTwoEntriesWithTheirOddBlanks) {
  ASSERT_EQ(OpenDialogFilterEntryCount, 42);
  EXPECT_STREQ(OpenDialogFilterEntries[0].Description, "所有文件格式 (*.*)");
  EXPECT_STREQ(OpenDialogFilterEntries[0].Mask, "*.*");
  EXPECT_STREQ(OpenDialogFilterEntries[26].Description, "微软数字视频格式( *.dvr-ms)");
  EXPECT_STREQ(OpenDialogFilterEntries[37].Description, "Flac无损压缩音频格式\u3000(*.flac)");
  EXPECT_STREQ(OpenDialogFilterEntries[41].Mask, "*.aif; *.aiff");
  // Entry 2's mask is two pieces joined.
  String mask = OpenDialogFilterEntries[1].Mask;
  EXPECT_NE(mask.find("*.SWF;*.FLAC;"), String::npos);
  EXPECT_EQ(mask.substr(mask.size() - 5), ";*.qt");

  String filter = OpenDialogFilter();
  EXPECT_EQ(std::count(filter.begin(), filter.end(), '|'), 84);
  EXPECT_EQ(filter.rfind("所有文件格式 (*.*)|*.*|支持的视频/音频文件格式|*.AVI;", 0), 0u);
  const String tail = "|AIFF音频编码格式(*.aif; *.aiff)|*.aif; *.aiff|";
  EXPECT_EQ(filter.substr(filter.size() - tail.size()), tail);
}

// A canonical text of every table; its checksum is the one the table extractor prints, so a hand
// edit of the generated data (or a change of the extractor's output) shows here.
String serialiseTables() {
  String out;
  auto line = [&](std::initializer_list<String> cells) {
    bool first = true;
    for (const String& c : cells) {
      if (!first) out += '\t';
      out += c;
      first = false;
    }
    out += '\n';
  };
  auto n = [](Integer v) { return std::to_string(v); };
  for (Integer cat = 0; cat < FormatFamilyCount; ++cat) {
    line({"F", n(cat), n(FamilyFormatCount(cat))});
    for (Integer p = 0; p < FamilyFormatCount(cat); ++p)
      line({"C", n(100 * (cat + 1) + p), FormatCaption(cat, p)});
  }
  for (Integer p = 0; p < CategoryPositionCount; ++p)
    line({"P", n(p), n(CategoryPositionMap[p]), CategoryCaptions[p]});
  for (Integer i = 0; i < PresetListCount; ++i) {
    const TPresetList& l = PresetLists[i];
    line({"L", l.Name, n(l.Slot), n(l.Count)});
    for (Integer e = 0; e < l.Count; ++e) line({"E", l.Name, n(e), l.Entries[e]});
  }
  for (Integer i = 0; i < PresetRowCount; ++i) {
    const TPresetRow& r = PresetRows[i];
    String cells = "R\t" + n(r.Code);
    for (int s = 0; s < PresetSlotCount; ++s)
      cells += "\t" + String(PresetLists[r.Choices[s].List].Name) + "/" + n(r.Choices[s].Default);
    out += cells + "\n";
  }
  for (Integer i = 0; i < FormatParameterRowCount; ++i) {
    const TFormatParameterRow& r = FormatParameterRows[i];
    line({"T",
          n(r.Code),
          r.OutputExt,
          n(Integer(r.Assigns)),
          r.FileExt,
          r.AudioChannels,
          r.AudioSampleRate,
          r.FrameSize,
          r.FrameRate,
          r.NormType,
          r.VideoFilters,
          r.AudioVolume,
          r.FrameAspectRatio,
          r.VideoCodec,
          r.AudioCodec,
          r.CopyTimestamp,
          r.FileFormat,
          r.TargetType,
          r.VideoTag,
          n(r.VideoBitrate),
          n(r.AudioBitrate),
          r.DisableVideo ? "1" : "0"});
  }
  for (Integer i = 0; i < NoVideoCodeCount; ++i) line({"N", n(NoVideoCodes[i])});
  for (Integer i = 0; i < OpenDialogFilterEntryCount; ++i)
    line({"D", n(i), OpenDialogFilterEntries[i].Description, OpenDialogFilterEntries[i].Mask});
  return out;
}

uint64_t fnv1a64(const String& s) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (unsigned char c : s) {
    h ^= c;
    h *= 0x100000001B3ull;
  }
  return h;
}

TEST(FormatTables, MatchTheExtractorsChecksum) {
  // Printed by `python3 tools/tablegen/tablegen.py --checksum DOCUMENT...`.
  EXPECT_EQ(fnv1a64(serialiseTables()), 0x86e16b1d32fa4a58ull);
}

}  // namespace
