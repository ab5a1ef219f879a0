#include "app/formats/presets.h"

#include <gtest/gtest.h>

#include <optional>

#include "app/formats/testkit/fakechoosers.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"

namespace {

TEST(PresetTexts, BecomeJobParameters) {
  struct Case {
    TPresetSlot Slot;
    const char* Text;
    const char* Field;  // the text field, or the bit rate in decimal
  };
  const Case cases[] = {
      {psFrameSize, "保持原分辨率", ""},
      {psFrameSize, "该格式无视频", ""},
      {psFrameSize, "1920*1200", "1920*1200"},
      {psFrameRate, "保持原帧速率", ""},
      {psFrameRate, "无视频", ""},
      {psFrameRate, "29.97", "29.97"},
      {psVideoBitrate, "816 kbps", "816000"},
      {psVideoBitrate, "无视频", "-1000"},
      {psVideoBitrate, "8 kbps", "8000"},
      {psAudioBitrate, "128 kbps", "128000"},
      {psAudioBitrate, "12.2 kbps", "12200"},
      {psAudioBitrate, "4.75 kbps", "4750"},
      {psAudioBitrate, "7.95 kbps", "7950"},
      {psAudioBitrate, "5.15 kbps", "5150"},
      {psAudioBitrate, "自动音频比特率", "-1000"},
      {psSampleRate, "44100", "44100"},
      {psAspect, "保持原视频模式", ""},
      {psAspect, "普通视频4:3模式", "4:3"},
      {psAspect, "宽屏视频16:9模式", "16:9"},
      {psAspect, "宽屏视频37:20模式", "37:20"},
      {psAspect, "宽屏视频47:20模式", "47:20"},
      {psAspect, "无视频", ""},
  };
  for (const Case& c : cases) {
    TJobParameters p;
    p.Video_FrameAspectRatio = "stale";
    SetParameterFromPresetText(c.Slot, c.Text, p, ptuReader);
    EXPECT_EQ(PresetParameterColumnText(c.Slot, p), c.Field) << c.Text;
  }
}

TEST(PresetTexts, EdgeTextsFollowTheirOwnRules) {
  TJobParameters p;
  p.Video_FrameAspectRatio = "16:9";
  SetParameterFromPresetText(psAspect, "其他", p, ptuChangeHandler);
  EXPECT_EQ(p.Video_FrameAspectRatio, "16:9");  // an unknown aspect text keeps the field

  SetParameterFromPresetText(psSampleRate, "自动音频采样率", p, ptuReader);
  EXPECT_EQ(p.Video_AudioSampleRate, "AUTO");
  SetParameterFromPresetText(psSampleRate, "自动音频采样率", p, ptuChangeHandler);
  EXPECT_EQ(p.Video_AudioSampleRate, "");

  for (const char* bad : {"kbps", "abc kbps", "816", "99999999 kbps"}) {
    EXPECT_THROW(SetParameterFromPresetText(psVideoBitrate, bad, p, ptuReader), EConvertError) << bad;
  }
  EXPECT_THROW(SetParameterFromPresetText(psAudioBitrate, "1.2345 kbps", p, ptuReader), EConvertError);
}

TEST(PresetTexts, EveryListEntryIsUnderstood) {
  // Every entry of every list maps to a value, and the bit rates to whole kilobits as written.
  for (Integer i = 0; i < PresetListCount; ++i) {
    const TPresetList& l = PresetLists[i];
    for (Integer e = 0; e < l.Count; ++e) {
      TJobParameters p;
      p.Video_FrameAspectRatio = "unset";
      ASSERT_NO_THROW(SetParameterFromPresetText(l.Slot, l.Entries[e], p, ptuReader)) << l.Entries[e];
      if (l.Slot == psAspect) {
        EXPECT_NE(p.Video_FrameAspectRatio, "unset") << l.Entries[e];
      }
      String text = l.Entries[e];
      if ((l.Slot == psVideoBitrate || l.Slot == psAudioBitrate) && text.find("kbps") != String::npos) {
        Integer rate = l.Slot == psVideoBitrate ? p.Video_VideoBitrate : p.Video_AudioBitrate;
        EXPECT_DOUBLE_EQ(rate / 1000.0, StrToFloat(text.substr(0, text.find(' ')))) << text;
      }
    }
  }
}

TEST(PresetIndexCode, PairsAreRewrittenInPlace) {
  struct Case {
    const char* Old;
    TPresetSlot Slot;
    Integer Position;
    const char* New;
  };
  const Case cases[] = {
      {"000310000904", psFrameRate, 10, "000310001004"},
      {"000310000904", psFrameSize, 3, "030310000904"},
      {"000310000904", psSampleRate, 5, "000310000905"},
      {"000310000904", psAudioBitrate, 7, "000307000904"},
      {"000310000904", psAspect, -1, "000310-10904"},
      {"", psVideoBitrate, 2, "02"},
      {"0003", psAspect, 1, "000301"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReplacePresetPair(c.Old, c.Slot, c.Position), c.New) << c.Old;
  EXPECT_EQ(PresetPairText(0), "00");
  EXPECT_EQ(PresetPairText(9), "09");
  EXPECT_EQ(PresetPairText(27), "27");
}

TEST(OutputExtension, IsCutFromEveryCaption) {
  for (Integer cat = 0; cat < FormatFamilyCount; ++cat) {
    for (Integer p = 0; p < FamilyFormatCount(cat); ++p) {
      String caption = FormatCaption(cat, p);
      String expected = caption.substr(caption.rfind("(*.") + 2);
      expected.pop_back();
      EXPECT_EQ(CutOutputExtension(caption), expected) << caption;
    }
  }
  EXPECT_EQ(CutOutputExtension("FLAC-音频格式(*.flac)"), ".flac");
  EXPECT_EQ(CutOutputExtension("RA - RealAudio音频格式(*.ra)"), ".ra");
  EXPECT_EQ(CutOutputExtension("视频)"), "视频");  // short captions are cut, never overrun
  EXPECT_EQ(CutOutputExtension(""), "");
}

// A window in miniature, wired as the main window wires its choosers: the format chooser's
// handler runs the preset fill and, with a selected job row, the parameter step and the chooser
// reader; each preset chooser's handler rewrites its pair and column of the selected row.
class ChooserCascade : public ::testing::Test {
 protected:
  ChooserCascade() {
    Format.OnChange = [this] { formatChanged(); };
    for (int s = 0; s < PresetSlotCount; ++s) {
      TPresetSlot slot = TPresetSlot(s);
      Presets[slot].OnChange = [this, slot] { presetChanged(slot); };
    }
  }

  void formatChanged() {
    Log.push_back("format handler");
    FillPresetChoosers(Presets.Choosers(), CategoryPos, Format.ItemIndex(), P);
    String ext = CutOutputExtension(Format.ItemCaption(Format.ItemIndex()));
    if (!Row) return;
    ApplyFormatParameters(P, CategoryPos, Format.ItemIndex(), "/nonexistent", false);
    auto columns = JobParameterColumns(P);
    for (Integer i = 0; i < ParameterSubItemCount; ++i) (*Row)[FirstParameterSubItem + i] = columns[i];
    ReadPresetChoosers(Presets.Choosers(), P);
    (*Row)[2] = ChangeFileExt(ExtractFileName((*Row)[2]), ext);
    (*Row)[8] = IntToStr(FormatPositionCodeOf(CategoryPos, Format.ItemIndex()));
  }

  void presetChanged(TPresetSlot slot) {
    Log.push_back("preset handler " + std::to_string(slot));
    if (!Row) return;
    TPresetChange change = PresetChooserChanged(slot, Presets[slot], (*Row)[PresetCodeSubItem], P);
    (*Row)[PresetCodeSubItem] = change.PresetIndexCode;
    (*Row)[change.SubItem] = change.ColumnText;
  }

  void chooseCategory(Integer position) {
    CategoryPos = position;
    FillFormatChooser(Format, position);
  }

  std::vector<String> texts() {
    std::vector<String> t;
    for (TPresetSlot s : PresetFillOrder) t.push_back(Presets[s].Text());
    return t;
  }

  TChooserLog Log;
  TFakeFormatChooser Format{"bsSkinOfficeComboBox1", Log};
  TFakePresetChoosers Presets{Log};
  Integer CategoryPos = 0;
  TJobParameters P;
  std::optional<std::array<String, 24>> Row;  // the selected job row's SubItems
};

TEST_F(ChooserCascade, StartUpFillsTheChoosersInOrder) {
  chooseCategory(0);
  const TChooserLog expected = {"bsSkinOfficeComboBox1.Clear",    "bsSkinOfficeComboBox1.Refresh",
                                "bsSkinOfficeComboBox1.Repaint",  "bsSkinOfficeComboBox1.Refresh",
                                "bsSkinOfficeComboBox1.Repaint",  "bsSkinOfficeComboBox1.OnClick",
                                "bsSkinOfficeComboBox1.OnChange", "format handler",
                                "bsSkinComboBox1.Enable",         "bsSkinComboBox2.Enable",
                                "bsSkinComboBox3.Enable",         "bsSkinComboBox4.Enable",
                                "bsSkinComboBox9.Enable",         "bsSkinComboBox10.Enable",
                                "bsSkinComboBox1.OnChange",       "preset handler 0",
                                "bsSkinComboBox1.OnClick",        "bsSkinComboBox1.Change",
                                "bsSkinComboBox2.OnChange",       "preset handler 1",
                                "bsSkinComboBox2.OnClick",        "bsSkinComboBox2.Change",
                                "bsSkinComboBox9.OnChange",       "preset handler 4",
                                "bsSkinComboBox9.OnClick",        "bsSkinComboBox9.Change",
                                "bsSkinComboBox3.OnChange",       "preset handler 2",
                                "bsSkinComboBox3.OnClick",        "bsSkinComboBox3.Change",
                                "bsSkinComboBox10.OnChange",      "preset handler 5",
                                "bsSkinComboBox10.OnClick",       "bsSkinComboBox10.Change",
                                "bsSkinComboBox4.OnChange",       "preset handler 3",
                                "bsSkinComboBox4.OnClick",        "bsSkinComboBox4.Change"};
  EXPECT_EQ(Log, expected);
  EXPECT_EQ(P.All_Trant_Number, 1600);
  EXPECT_EQ(texts(), (std::vector<String>{"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100",
                                          "保持原视频模式"}));
  ASSERT_EQ(Format.ItemCount(), 7);
  for (Integer i = 0; i < 7; ++i) EXPECT_EQ(Format.ImageIndex(i), i % 2);
  EXPECT_EQ(Format.ItemCaption(0), "AVI标准视频(*.avi)");
  EXPECT_THROW(Format.ItemCaption(7), EListError);
}

TEST_F(ChooserCascade, AnAudioFormatDisablesTheVideoChoosersUntilTheNextFill) {
  chooseCategory(14);
  Log.clear();
  Format.SetItemIndex(12);  // code 212
  EXPECT_EQ(P.All_Trant_Number, 212);
  EXPECT_FALSE(P.Video_DisableVideo);
  EXPECT_EQ(texts(), (std::vector<String>{"该格式无视频", "无视频", "无视频", "7.4 kbps", "8000", "无视频"}));
  for (TPresetSlot s : {psFrameSize, psVideoBitrate, psFrameRate, psAspect}) {
    EXPECT_FALSE(Presets[s].Enabled()) << s;
    EXPECT_EQ(Presets[s].Items().size(), 1u) << s;
  }
  EXPECT_TRUE(Presets[psAudioBitrate].Enabled());
  EXPECT_TRUE(Presets[psSampleRate].Enabled());
  const TChooserLog tail = {"bsSkinComboBox1.Disable", "bsSkinComboBox2.Disable", "bsSkinComboBox4.Disable",
                            "bsSkinComboBox9.Disable"};
  EXPECT_EQ(TChooserLog(Log.end() - 4, Log.end()), tail);

  Log.clear();
  Format.SetItemIndex(0);  // code 200: the enabling comes first, then the refill
  EXPECT_EQ(Log[3], "bsSkinComboBox1.Enable");
  chooseCategory(0);
  for (TFakePresetChooser* c : Presets.All()) EXPECT_TRUE(c->Enabled());
}

TEST_F(ChooserCascade, AFillThatKeepsTheTextsRunsNoPresetHandler) {
  chooseCategory(0);  // code 1600
  Log.clear();
  chooseCategory(2);  // code 100: the same row
  EXPECT_EQ(P.All_Trant_Number, 100);
  for (const String& line : Log) {
    if (line.rfind("bsSkinComboBox", 0) == 0) {
      EXPECT_EQ(line.find(".OnChange"), String::npos) << line;
    }
    EXPECT_EQ(line.rfind("preset handler", 0), String::npos) << line;
  }
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "format handler"), 1);
  int clicks = 0;
  for (const String& line : Log)
    clicks += line.size() > 8 && line.compare(line.size() - 8, 8, ".OnClick") == 0;
  EXPECT_EQ(clicks, 7);  // the format chooser and all six preset choosers
  // Selecting the current category again still refills and goes back to position 0.
  Format.SetItemIndex(5);
  chooseCategory(2);
  EXPECT_EQ(Format.ItemIndex(), 0);
  EXPECT_EQ(P.All_Trant_Number, 100);
}

TEST_F(ChooserCascade, AFormatChangeRewritesTheSelectedRow) {
  chooseCategory(0);
  Row.emplace();
  (*Row)[2] = "clip.avi";
  (*Row)[PresetCodeSubItem] = "000310000904";
  chooseCategory(8);  // MKV, code 1700: same preset texts as 1600, so the pairs stay
  EXPECT_EQ((*Row)[2], "clip.mkv");
  EXPECT_EQ((*Row)[8], "900");
  EXPECT_EQ((*Row)[PresetCodeSubItem], "000310000904");
  EXPECT_EQ((*Row)[10], "mpeg4");
  EXPECT_EQ((*Row)[17], "25");            // the row keeps the table's frame rate
  EXPECT_EQ(P.Video_FrameRate, "25.00");  // while the JobParameters take the chooser's
  EXPECT_EQ(P.Video_VideoBitrate, 816000);
  EXPECT_EQ(P.Video_AudioSampleRate, "44100");

  chooseCategory(14);  // audio, code 200: the handlers of the changed texts rewrite their pairs
  EXPECT_EQ((*Row)[2], "clip.mp3");
  EXPECT_EQ((*Row)[8], "1500");
  EXPECT_EQ((*Row)[PresetCodeSubItem], "000010000004");
  EXPECT_EQ((*Row)[21], "True");
  EXPECT_EQ((*Row)[16], "-1");
  EXPECT_EQ(P.Video_VideoBitrate, -1000);

  Format.SetItemIndex(10);  // FLAC
  EXPECT_EQ((*Row)[2], "clip.flac");
  EXPECT_EQ((*Row)[8], "1510");
}

TEST_F(ChooserCascade, APresetChoiceRewritesItsPairAndColumn) {
  chooseCategory(14);
  Format.SetItemIndex(12);  // code 212: the audio bit rate list is AB3
  Row.emplace();
  (*Row)[PresetCodeSubItem] = "000004000000";
  Presets[psAudioBitrate].SetItemIndex(7);
  EXPECT_EQ((*Row)[PresetCodeSubItem], "000007000000");
  EXPECT_EQ(P.Video_AudioBitrate, 12200);
  EXPECT_EQ((*Row)[18], "12200");
  Log.clear();
  Presets[psAudioBitrate].SetItemIndex(7);  // the same text: no handler, nothing rewritten
  (*Row)[18] = "untouched";
  Presets[psAudioBitrate].SetItemIndex(7);
  EXPECT_EQ((*Row)[18], "untouched");
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "preset handler 2"), 0);

  chooseCategory(0);  // 1600
  Presets[psAspect].SetItemIndex(3);
  EXPECT_EQ(P.Video_FrameAspectRatio, "37:20");
  EXPECT_EQ((*Row)[20], "37:20");
  EXPECT_EQ(PresetIndexCodeOf(Presets.Choosers()), "000310030904");
}

}  // namespace
