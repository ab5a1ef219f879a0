#include "app/settingsdialog/settingsroutines.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/formats/testkit/fakechoosers.h"
#include "app/settingsdialog/settingscatalogue.h"
#include "platform/rtl/exceptions.h"
#include "platform/shell/testkit/tempfolder.h"

namespace {

std::vector<String> listOf(const TPresetRow& Row, TPresetSlot Slot) {
  const TPresetList& L = PresetListOf(Row, Slot);
  return std::vector<String>(L.Entries, L.Entries + L.Count);
}

class SettingsPresetFill : public ::testing::Test {
 protected:
  void fill(Integer Category, Integer Format) {
    FillSettingsPresetChoosers(F.Choosers(), Category, Format, P);
  }
  // The six choosers hold the row's lists with its defaults shown.
  void expectRow(const TPresetRow& Row) {
    for (TPresetSlot Slot : PresetFillOrder) {
      EXPECT_EQ(F[Slot].Items(), listOf(Row, Slot)) << int(Slot);
      EXPECT_EQ(F[Slot].ItemIndex(), Row.Choices[Slot].Default) << int(Slot);
      EXPECT_EQ(F[Slot].Text(), listOf(Row, Slot)[Row.Choices[Slot].Default]) << int(Slot);
    }
  }
  TChooserLog Log;
  TFakePresetChoosers F{Log};
  TJobParameters P;
};

TEST_F(SettingsPresetFill, AVideoFormatFillsTheMainRowInFillOrderAfterStoringTheCode) {
  P.Video_DisableVideo = true;
  fill(0, 0);
  EXPECT_EQ(P.All_Trant_Number, 100);
  EXPECT_FALSE(P.Video_DisableVideo);
  expectRow(*FindPresetRow(100));
  for (auto* C : F.All()) EXPECT_TRUE(C->Enabled());
  // Cleared and enabled in chooser-number order, filled in fill order.
  const std::vector<String> Start(Log.begin(), Log.begin() + 6);
  EXPECT_EQ(Start, (std::vector<String>{"bsSkinComboBox1.Enable", "bsSkinComboBox2.Enable",
                                        "bsSkinComboBox3.Enable", "bsSkinComboBox4.Enable",
                                        "bsSkinComboBox9.Enable", "bsSkinComboBox10.Enable"}));
  std::vector<String> Changes;
  for (const String& E : Log)
    if (E.ends_with(".OnChange")) Changes.push_back(E);
  EXPECT_EQ(Changes, (std::vector<String>{"bsSkinComboBox1.OnChange", "bsSkinComboBox2.OnChange",
                                          "bsSkinComboBox9.OnChange", "bsSkinComboBox3.OnChange",
                                          "bsSkinComboBox10.OnChange", "bsSkinComboBox4.OnChange"}));
}

TEST_F(SettingsPresetFill, CasesOfFormatsAndPositions) {
  struct {
    Integer Category, Format, Code;
    bool HasRow, VideoDisabled;
    Integer AudioEntries, AudioDefault;
  } Cases[] = {
      {1, 3, 203, true, true, -1, -1},    // audio: four video choosers off
      {6, 0, 700, true, false, 6, 5},     // AMR video: the whole-kbps list, "12 kbps"
      {6, 2, 702, true, false, 6, 5},     //
      {6, 4, 704, true, false, 6, 5},     //
      {6, 8, 708, true, true, 8, 4},      // AMR audio keeps the eight entries
      {11, 3, 1203, true, true, -1, -1},  // the last format
      {-1, 0, 0, false, false, 0, -1},    // no category: the format position alone
      {2, -1, 299, false, false, 0, -1},  // no format
      {3, 9, 409, true, false, -1, -1},   // has preset lists, though no parameter row
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Code);
    Log.clear();
    fill(0, 0);  // leaves texts shown, so a run without a row shows them still
    const String Before = F[psFrameSize].Text();
    fill(C.Category, C.Format);
    EXPECT_EQ(P.All_Trant_Number, C.Code);
    EXPECT_FALSE(P.Video_DisableVideo);
    if (!C.HasRow) {
      for (auto* Ch : F.All()) {
        EXPECT_TRUE(Ch->Items().empty());
        EXPECT_TRUE(Ch->Enabled());
        EXPECT_EQ(Ch->ItemIndex(), -1);
      }
      EXPECT_EQ(F[psFrameSize].Text(), Before);
      continue;
    }
    expectRow(*FindSettingsPresetRow(C.Code));
    for (TPresetSlot S : {psFrameSize, psVideoBitrate, psAspect, psFrameRate})
      EXPECT_EQ(F[S].Enabled(), !C.VideoDisabled) << int(S);
    EXPECT_TRUE(F[psAudioBitrate].Enabled());
    EXPECT_TRUE(F[psSampleRate].Enabled());
    if (C.VideoDisabled) {
      EXPECT_EQ(F[psFrameSize].Text(), "该格式无视频");
      EXPECT_EQ(F[psVideoBitrate].Text(), "无视频");
    }
    if (C.AudioEntries > 0) {
      EXPECT_EQ(Integer(F[psAudioBitrate].Items().size()), C.AudioEntries);
      EXPECT_EQ(F[psAudioBitrate].ItemIndex(), C.AudioDefault);
    }
  }
}

TEST_F(SettingsPresetFill, AVideoFormatAfterAnAudioOneEnablesAllAndTheSameCodeTwiceIsNotDoubled) {
  fill(1, 0);
  ASSERT_FALSE(F[psFrameSize].Enabled());
  fill(0, 1);
  for (auto* C : F.All()) EXPECT_TRUE(C->Enabled());
  fill(0, 1);
  expectRow(*FindPresetRow(101));
}

// ---- the chooser texts -------------------------------------------------------------------------

class SettingsPresetTexts : public SettingsPresetFill {
 protected:
  void show(TPresetSlot Slot, const String& Text) {
    F[Slot].ClearItems();
    F[Slot].AddItem(Text);
    F[Slot].SetItemIndex(0);
  }
  void showAll(const char* Size, const char* Rate, const char* Video, const char* Sample, const char* Audio,
               const char* Aspect) {
    show(psFrameSize, Size);
    show(psFrameRate, Rate);
    show(psVideoBitrate, Video);
    show(psSampleRate, Sample);
    show(psAudioBitrate, Audio);
    show(psAspect, Aspect);
  }
};

TEST_F(SettingsPresetTexts, TextsBecomeFields) {
  struct {
    const char *Size, *Rate, *Video, *Sample, *Audio, *Aspect;
    const char *WantSize, *WantRate;
    Integer WantVideo;
    const char* WantSample;
    Integer WantAudio;
    const char* WantAspect;
  } Cases[] = {
      {"640*480", "25.00", "816 kbps", "44100", "128 kbps", "宽屏视频16:9模式", "640*480", "25.00", 816000,
       "44100", 128000, "16:9"},
      {"保持原分辨率", "保持原帧速率", "无视频", "8000", "12.2 kbps", "普通视频4:3模式", "", "", -1000,
       "8000", 12200, "4:3"},
      {"该格式无视频", "无视频", " 32 kbps", "自动音频采样率", "4.75 kbps", "无视频", "", "", 32000,
       "自动音频采样率", 4750, ""},
      {"1*1", "29.97", "1 kbps", "48000", "7.95 kbps", "宽屏视频47:20模式", "1*1", "29.97", 1000, "48000",
       7950, "47:20"},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Size);
    showAll(C.Size, C.Rate, C.Video, C.Sample, C.Audio, C.Aspect);
    P.Video_FrameAspectRatio = "x";
    ReadSettingsPresetChoosers(F.Choosers(), P);
    EXPECT_EQ(P.Video_FrameSize, C.WantSize);
    EXPECT_EQ(P.Video_FrameRate, C.WantRate);
    EXPECT_EQ(P.Video_VideoBitrate, C.WantVideo);
    EXPECT_EQ(P.Video_AudioSampleRate, C.WantSample);
    EXPECT_EQ(P.Video_AudioBitrate, C.WantAudio);
    EXPECT_EQ(P.Video_FrameAspectRatio, C.WantAspect);
  }
}

TEST_F(SettingsPresetTexts, AnAspectOutsideTheSixLeavesTheField) {
  for (const char* Aspect : {"", "宽屏视频16:9", "Keep"}) {
    showAll("640*480", "25.00", "816 kbps", "44100", "128 kbps", Aspect);
    P.Video_FrameAspectRatio = "37:20";
    ReadSettingsPresetChoosers(F.Choosers(), P);
    EXPECT_EQ(P.Video_FrameAspectRatio, "37:20") << Aspect;
  }
}

TEST_F(SettingsPresetTexts, ATextThatFailsToConvertStopsAtItsStep) {
  struct {
    const char *Video, *Audio;
    bool VideoFails;
  } Cases[] = {
      {"8.5 kbps", "128 kbps", true},  // no decimal path for video
      {"", "128 kbps", true},          // an empty number part
      {"816", "128 kbps", true},       // no "kbps"
      {"816 kbps", "abc kbps", false},
      {"816 kbps", "自动音频比特率", false},  // no automatic value in this dialog
      {"816 kbps", "0.0001 kbps", false},     // not whole once multiplied
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(String(C.Video) + " / " + C.Audio);
    TJobParameters Before;
    Before.Video_VideoBitrate = 7;
    Before.Video_AudioBitrate = 9;
    Before.Video_AudioSampleRate = "11025";
    Before.Video_FrameAspectRatio = "37:20";
    P = Before;
    showAll("320*240", "15", C.Video, "22050", C.Audio, "宽屏视频16:9模式");
    EXPECT_THROW(ReadSettingsPresetChoosers(F.Choosers(), P), EConvertError);
    EXPECT_EQ(P.Video_FrameSize, "320*240");
    EXPECT_EQ(P.Video_FrameRate, "15");
    EXPECT_EQ(P.Video_VideoBitrate, C.VideoFails ? 7 : 816000);
    EXPECT_EQ(P.Video_AudioSampleRate, C.VideoFails ? "11025" : "22050");
    EXPECT_EQ(P.Video_AudioBitrate, 9);
    EXPECT_EQ(P.Video_FrameAspectRatio, "37:20");
  }
}

TEST_F(SettingsPresetTexts, TheErrorNamesTheText) {
  showAll("320*240", "15", "816 kbps", "22050", "abc kbps", "无视频");
  try {
    ReadSettingsPresetChoosers(F.Choosers(), P);
    FAIL() << "no conversion error";
  } catch (const EConvertError& E) {
    EXPECT_NE(E.Message().find("abc"), String::npos) << E.Message();
  }
}

// ---- the format parameters -------------------------------------------------------------------

class SettingsParameters : public shelltest::TTempFolderTest {
 protected:
  void apply(Integer Category, Integer Format, bool Overwrite = false) {
    ApplySettingsFormatParameters(P, Category, Format, Dir, Overwrite);
  }
  TJobParameters P;
};

TEST_F(SettingsParameters, AVideoFormatAssignsItsRowAndNamesTheOutputInTheFolder) {
  P.Video_AddFileName = "/films/holiday.mkv";
  P.Video_TimeStart = 5;
  P.Video_DisableVideo = true;
  apply(0, 0);
  TJobParameters Want;
  Want.Video_AddFileName = "/films/holiday.mkv";
  Want.Video_TimeStart = 5;
  ApplyParameterRow(*FindFormatParameterRow(100), Want);
  Want.All_Trant_Number = 100;
  Want.Video_OutPutFileName = Dir + "/holiday.avi";
  EXPECT_EQ(P, Want);
}

TEST_F(SettingsParameters, DialogValuesAndKeptFields) {
  struct {
    Integer Category, Format, Code;
    const char *FileExt, *VideoCodec, *AudioCodec;
    Integer AudioBitrate;
    const char* OutputEnd;
    bool NoVideo;
  } Cases[] = {
      {1, 11, 211, ".alac", "mpeg4", "alac", 128000, "/in.m4a", true},  // video fields of 100 stay
      {6, 0, 700, ".3gp", "h263", "libamr_nb", 12000, "/in.3gp", false},
      {6, 2, 702, ".3gp", nullptr, "libamr_nb", 12000, "/in.3gp", false},
      {6, 4, 704, nullptr, nullptr, "libamr_nb", 0, nullptr, false},
      {1, 0, 200, ".mp3", "mpeg4", "libmp3lame", 0, "/in.mp3", true},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Code);
    P = TJobParameters();
    P.Video_AddFileName = "/x/in.avi";
    apply(0, 0);
    const TJobParameters After100 = P;
    apply(C.Category, C.Format);
    const TFormatParameterRow& Main = *FindFormatParameterRow(C.Code);
    EXPECT_EQ(P.All_Trant_Number, C.Code);
    EXPECT_EQ(P.Video_DisableVideo, C.NoVideo);
    EXPECT_EQ(P.Video_FileExt, C.FileExt ? C.FileExt : Main.FileExt);
    EXPECT_EQ(P.Video_VideoCodec, C.VideoCodec ? C.VideoCodec : Main.VideoCodec);
    EXPECT_EQ(P.Video_AudioCodec, C.AudioCodec);
    EXPECT_EQ(P.Video_AudioBitrate, C.AudioBitrate ? C.AudioBitrate : Main.AudioBitrate);
    EXPECT_EQ(P.Video_OutPutFileName, Dir + (C.OutputEnd ? C.OutputEnd : String("/in") + Main.OutputExt));
    if (C.NoVideo) {
      EXPECT_EQ(P.Video_FrameSize, After100.Video_FrameSize);
      EXPECT_EQ(P.Video_VideoBitrate, After100.Video_VideoBitrate);
      EXPECT_EQ(P.Video_VideoTag, "XVID");
    }
  }
  // Back to a video format: the no-video flag is cleared again.
  apply(0, 1);
  EXPECT_FALSE(P.Video_DisableVideo);
}

TEST_F(SettingsParameters, ACodeWithoutARowKeepsTheFieldsAndMovesThePreviousNameIntoTheFolder) {
  P.Video_AddFileName = "/x/in.avi";
  P.Video_VideoCodec = "kept";
  P.Video_OutPutFileName = "/elsewhere/old.mp4";
  apply(3, 9);
  EXPECT_EQ(P.All_Trant_Number, 409);
  EXPECT_EQ(P.Video_VideoCodec, "kept");
  EXPECT_EQ(P.Video_OutPutFileName, Dir + "/old.mp4");
  MakeFile("old.mp4");
  apply(3, -1);
  EXPECT_EQ(P.All_Trant_Number, 399);
  EXPECT_EQ(P.Video_OutPutFileName, Dir + "/old_1.mp4");
  P.Video_OutPutFileName = "";
  apply(0, -1);
  EXPECT_EQ(P.Video_OutPutFileName, Dir + "/");
}

TEST_F(SettingsParameters, ATakenNameIsNumberedUnlessOverwriting) {
  P.Video_AddFileName = "/x/x.mkv";
  struct {
    std::vector<const char*> Files, Dirs;
    bool Overwrite;
    const char* End;
  } Cases[] = {
      {{"x.avi", "x_1.avi"}, {}, false, "/x_2.avi"},
      {{"x.avi", "x_1.avi"}, {}, true, "/x.avi"},
      {{"x_1.avi"}, {}, false, "/x.avi"},
      {{}, {"x.avi"}, false, "/x.avi"},
  };
  for (auto& C : Cases) {
    std::system(("rm -rf '" + Dir + "'/*").c_str());
    for (const char* F : C.Files) MakeFile(F);
    for (const char* D : C.Dirs) MakeDir(D);
    apply(0, 0, C.Overwrite);
    EXPECT_EQ(P.Video_OutPutFileName, Dir + C.End);
  }
}

}  // namespace
