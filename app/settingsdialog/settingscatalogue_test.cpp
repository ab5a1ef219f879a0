#include "app/settingsdialog/settingscatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace {

TEST(SettingsCatalogue, TwelveCategoriesOfTheMainFamiliesWithOneDescribedEntryPerFormat) {
  const Integer Counts[] = {15, 13, 10, 14, 6, 5, 14, 5, 10, 8, 5, 4};
  Integer Total = 0;
  for (Integer c = 0; c < SettingsCategoryCount; ++c) {
    EXPECT_EQ(SettingsFormatCount(c), Counts[c]) << c;
    EXPECT_EQ(SettingsFormatCount(c), FamilyFormatCount(c)) << c;
    Total += SettingsFormatCount(c);
    for (Integer p = 0; p < SettingsFormatCount(c); ++p) {
      const char* D = SettingsFormatDescription(c, p);
      ASSERT_NE(D, nullptr);
      EXPECT_GT(std::strlen(D), 0u) << c << "," << p;
      EXPECT_EQ(std::strchr(D, '\n'), nullptr) << "one line: " << c << "," << p;
    }
  }
  EXPECT_EQ(Total, 109);
  for (Integer c : {-1, 12, 13}) {
    EXPECT_EQ(SettingsFormatCount(c), 0);
    EXPECT_EQ(SettingsFormatTitle(c, 0), nullptr);
  }
  EXPECT_EQ(SettingsFormatTitle(0, 15), nullptr);
  EXPECT_EQ(SettingsFormatDescription(11, -1), nullptr);
  EXPECT_STREQ(SettingsCategoryCaptions[0], "常用视频");
  EXPECT_STREQ(SettingsCategoryCaptions[11], "Flash视频");
}

TEST(SettingsCatalogue, TitlesAreTheMainCataloguesButThree) {
  struct {
    Integer Category, Position;
    const char* Title;
  } Differ[] = {{1, 2, "WAV - 波形音频格式(*.wav) "},
                {1, 11, "ALAC-Apple Lossless无损音频格式(*.alac) "},
                {6, 2, "3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2))"}};
  Integer Same = 0;
  for (Integer c = 0; c < SettingsCategoryCount; ++c)
    for (Integer p = 0; p < SettingsFormatCount(c); ++p) {
      bool Listed = false;
      for (auto& D : Differ)
        if (D.Category == c && D.Position == p) {
          EXPECT_STREQ(SettingsFormatTitle(c, p), D.Title);
          EXPECT_STRNE(SettingsFormatTitle(c, p), FormatCaption(c, p));
          Listed = true;
        }
      if (!Listed) {
        EXPECT_STREQ(SettingsFormatTitle(c, p), FormatCaption(c, p)) << c << "," << p;
        ++Same;
      }
    }
  EXPECT_EQ(Same, 106);
  EXPECT_STREQ(SettingsFormatTitle(11, 3), "SWF动画视频FLASH动画音频格式(*.swf)");
}

TEST(SettingsCatalogue, TellingDescriptions) {
  struct {
    Integer Category, Position;
    const char* Description;
  } Rows[] = {
      {0, 0, "AVI最常用的视频格式,语音和影像同步组合在一起的文件格式"},
      {0, 13, "可以在VCD机上直接播放,也可以在配置了光驱的电脑中播放。"},
      {1, 0, "最流行的音频格式,具有体积小,音质高的特点,几乎成为网上音乐的代名词"},
      {1, 11, "ALAC是流行的Apple Lossless无损音频格,ALAC是一种无损压缩音频技术,具有完美的CD音质"},
      {2, 0, "高清晰AVI视频格式(DivX视频编码)"},
      {2, 1, "高清晰AVI视频格式(XviD视频编码)"},
      {2, 3, "高清MPEG-4视频格式)"},
      {3, 0, "为iPod优化的MPEG-4视频预置方案.(320*240高质量)"},
      {6, 0, "第三代合作伙伴项目3GPP制定的多媒体格式，手机视频格式.(AMR音频)"},
      {7, 0, "为Apple TV优化的MPEG-4 H264视频预置方案.(320X240)"},
      {8, 0, "Xbox360支持AVC/H.264视频文件."},
      {8, 8, "为Xbox360优化的AVI视频预置方案.(微软编码1)."},
      {10, 0, "为各种MP4机优化的MPEG-4视频预置方案"},
      {11, 1, "最常用的FLASH动画视频预置方案，动画格式为SWF文件"},
      {11, 3, "最常用的FLASH动画视频预置方案，动画格式为SWF文件(音频格式)"},
  };
  for (auto& R : Rows) EXPECT_STREQ(SettingsFormatDescription(R.Category, R.Position), R.Description);
}

bool sameList(const TPresetRow& A, const TPresetRow& B, TPresetSlot Slot) {
  return A.Choices[Slot].List == B.Choices[Slot].List && A.Choices[Slot].Default == B.Choices[Slot].Default;
}

TEST(SettingsPresetRows, OneRowPerCatalogueFormatEqualToTheMainRowsButTheAmrVideoFormats) {
  std::set<Integer> Expected;
  for (Integer c = 0; c < SettingsCategoryCount; ++c)
    for (Integer p = 0; p < SettingsFormatCount(c); ++p) Expected.insert(SettingsFormatCode(c, p));
  std::set<Integer> Found;
  for (Integer Code = -1; Code < 2600; ++Code)
    if (FindSettingsPresetRow(Code)) Found.insert(Code);
  EXPECT_EQ(Found, Expected);
  EXPECT_EQ(Found.size(), 109u);
  EXPECT_NE(FindPresetRow(1300), nullptr) << "the main table goes on past the dialog's codes";

  const TPresetRow& Row109 = *FindPresetRow(109);
  for (Integer Code : Expected) {
    const TPresetRow& Mine = *FindSettingsPresetRow(Code);
    const TPresetRow& Main = *FindPresetRow(Code);
    EXPECT_EQ(Mine.Code, Code);
    for (TPresetSlot Slot : PresetFillOrder) {
      if (Slot == psAudioBitrate && (Code == 700 || Code == 702 || Code == 704)) {
        EXPECT_TRUE(sameList(Mine, Row109, Slot)) << Code;
      } else {
        EXPECT_TRUE(sameList(Mine, Main, Slot)) << Code << " slot " << int(Slot);
      }
    }
  }
  const TPresetList& Whole = PresetListOf(*FindSettingsPresetRow(702), psAudioBitrate);
  ASSERT_EQ(Whole.Count, 6);
  EXPECT_STREQ(Whole.Entries[0], "5 kbps");
  EXPECT_STREQ(Whole.Entries[5], "12 kbps");
  EXPECT_EQ(FindSettingsPresetRow(702)->Choices[psAudioBitrate].Default, 5);
  EXPECT_EQ(PresetListOf(*FindSettingsPresetRow(708), psAudioBitrate).Count, 8);
}

// The fields a row leaves alone, by code.
uint32_t unassigned(Integer Code) {
  const uint32_t NoVideo = jpFrameSize | jpFrameRate | jpFrameAspectRatio | jpVideoCodec | jpVideoTag |
                           jpVideoBitrate | jpVideoFilters;
  if (Code >= 111 && Code <= 113) return jpFileExt | jpVideoFilters | jpCopyTimestamp;
  if (Code == 114)
    return jpAllFields &
           ~(jpVideoCodec | jpFrameSize | jpNormType | jpCopyTimestamp | jpFileFormat | jpTargetType);
  if ((Code >= 200 && Code <= 212) || Code == 708) return NoVideo;
  if (Code == 305) return jpVideoTag;
  if (Code >= 403 && Code <= 406) return jpTargetType;
  if (Code == 1202 || Code == 1203) return NoVideo | jpFileExt;
  return 0;
}

TEST(SettingsParameterRows, TheMainRowsFrom100To1203WithTheDialogsOwnValues) {
  std::vector<Integer> Codes;
  for (Integer Code = -1; Code < 2600; ++Code)
    if (FindSettingsParameterRow(Code)) Codes.push_back(Code);
  // Every format of the catalogue but 409, plus 414, which no chooser position reaches.
  std::vector<Integer> Expected;
  for (Integer c = 0; c < SettingsCategoryCount; ++c)
    for (Integer p = 0; p < SettingsFormatCount(c); ++p)
      if (SettingsFormatCode(c, p) != 409) Expected.push_back(SettingsFormatCode(c, p));
  Expected.insert(std::upper_bound(Expected.begin(), Expected.end(), 414), 414);
  EXPECT_EQ(Codes, Expected);
  EXPECT_EQ(FindSettingsParameterRow(1300), nullptr);
  for (Integer Code : Codes) {
    const TFormatParameterRow& R = *FindSettingsParameterRow(Code);
    EXPECT_EQ(R.Assigns & jpAllFields, jpAllFields & ~unassigned(Code)) << Code;
    const bool NoVideo = (Code >= 200 && Code <= 212) || Code == 708 || Code == 1202 || Code == 1203;
    EXPECT_EQ((R.Assigns & jpDisableVideo) != 0 && R.DisableVideo, NoVideo) << Code;
  }

  struct {
    Integer Code;
    const char *OutputExt, *FileExt, *VideoCodec, *AudioCodec;
    Integer AudioBitrate;
  } Own[] = {
      {211, ".m4a", ".alac", nullptr, "alac", 0},
      {700, ".3gp", ".3gp", "h263", "libamr_nb", 12000},
      {702, ".3gp", ".3gp", nullptr, "libamr_nb", 12000},
      {704, nullptr, nullptr, nullptr, "libamr_nb", 0},
  };
  for (auto& O : Own) {
    const TFormatParameterRow& R = *FindSettingsParameterRow(O.Code);
    const TFormatParameterRow& Main = *FindFormatParameterRow(O.Code);
    EXPECT_STREQ(R.OutputExt, O.OutputExt ? O.OutputExt : Main.OutputExt) << O.Code;
    EXPECT_STREQ(R.FileExt, O.FileExt ? O.FileExt : Main.FileExt) << O.Code;
    EXPECT_STREQ(R.VideoCodec, O.VideoCodec ? O.VideoCodec : Main.VideoCodec) << O.Code;
    EXPECT_STREQ(R.AudioCodec, O.AudioCodec) << O.Code;
    EXPECT_EQ(R.AudioBitrate, O.AudioBitrate ? O.AudioBitrate : Main.AudioBitrate) << O.Code;
  }
  // The main table's values these replace.
  EXPECT_STREQ(FindFormatParameterRow(702)->FileExt, ".3g2");
  EXPECT_EQ(FindFormatParameterRow(700)->AudioBitrate, 10200);
  // Everywhere else the row is the main one itself.
  EXPECT_EQ(FindSettingsParameterRow(100), FindFormatParameterRow(100));
  EXPECT_STREQ(FindSettingsParameterRow(206)->OutputExt, ".ra");
  EXPECT_STREQ(FindSettingsParameterRow(306)->OutputExt, ".wmv");
}

}  // namespace
