// The preview group as a person uses it, with the real player on SDL's dummy drivers and the tiny
// test clips: opening a job's file, the position slider while playing and dragged, the buttons, a file
// that vanished; and the snapshots: their names and picture formats, the type menu and folder choice,
// and a snapshot folder that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "app/main/mainform/mainform.h"
#include "app/main/testkit/previewtestkit.h"
#include "platform/rtl/files.h"
#include "platform/shell/testkit/fakes.h"
#include "platform/ui/comctrls/trackbar.h"
#include "platform/ui/extctrls/panel.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/graphicsobjects.h"
#include "platform/ui/graphics/jpegimage.h"
#include "platform/ui/menus/menu.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/checkbox.h"
#include "platform/ui/stdctrls/combobox.h"
#include "platform/ui/stdctrls/label.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/bars/bsskinslider.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/views/bsskinlistview.h"
#include "skin/dialogs/bsskinpicturedialogs.h"
#include "skin/dialogs/bsskinselectdirectorydialog.h"

namespace {

using previewtest::LogHas;
using previewtest::MessageOf;
namespace fs = std::filesystem;

class Preview : public previewtest::TPreviewTest {
 protected:
  // The first picture is on screen (files open paused).
  static bool ShowsPicture(TForm1* F) {
    return ServeUntil([&] { return F->RIVodero->CurrentFrame()->Width() > 0 && LogHas(F, "Pause"); });
  }
  static String FileStart(const String& Name, size_t Count) {
    std::ifstream In(Name, std::ios::binary);
    String S(Count, '\0');
    In.read(S.data(), std::streamsize(Count));
    S.resize(size_t(In.gcount()));
    return S;
  }
  static std::vector<String> Items(TComboBox* C) {
    std::vector<String> V;
    for (Integer I = 0; I < C->Items()->Count(); ++I) V.push_back(C->Items()->Strings(I));
    return V;
  }
  static String Selected(TComboBox* C) {
    return C->ItemIndex() >= 0 ? C->Items()->Strings(C->ItemIndex()) : "";
  }
  // 2 s of sound and a subtitle stream, no pictures.
  static std::string AudioWithSubtitles() {
    const std::string Subs = TestMediaText("preview-subs.srt", "1\n00:00:00,000 --> 00:00:01,000\nHello\n");
    return TestMediaFile("audio-subs.mkv",
                         "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 -i '" + Subs +
                             "' -map 0 -map 1 -c:a aac -c:s srt");
  }
  static TPoint OnSlider(TbsSkinSlider* S, Integer X) {
    return wintest::ScreenPoint(S->Handle(), X, S->Height() / 2);
  }
};

TEST_F(Preview, StartsWithItsControlsInTheLayoutState) {
  TForm1* F = Create();
  EXPECT_EQ(dynamic_cast<TControl*>(F->FindComponent("bsSkinGroupBox1"))->Caption(), "视频预览");
  EXPECT_EQ(F->Panel6->Width(), 210);
  EXPECT_EQ(F->Panel6->Height(), 135);
  EXPECT_EQ(F->bsSkinSlider1->Width(), 218);
  EXPECT_EQ(F->FindWinControlByName("Panel6"), static_cast<TWinControl*>(F->Panel6))
      << "the screen choice names a direct child";
  EXPECT_EQ(F->FindWinControlByName("bsSkinSlider1"), nullptr) << "not a direct child";
  EXPECT_EQ(F->FindWinControlByName("panel6"), nullptr) << "names compare exactly";
  const struct {
    TbsSkinButton* Button;
    const char* Hint;
    bool Visible;
  } Buttons[] = {{F->bsSkinButton13, "播放", true},  {F->bsSkinButton14, "暂停", true},
                 {F->bsSkinButton15, "停止", true},  {F->bsSkinButton16, "静音", true},
                 {F->bsSkinButton20, "静音", false}, {F->bsSkinButton22, "快照", true},
                 {F->bsSkinButton23, "设置", true}};
  for (const auto& B : Buttons) {
    EXPECT_EQ(B.Button->Hint(), B.Hint) << B.Button->Name();
    EXPECT_EQ(B.Button->Visible(), B.Visible) << B.Button->Name();
  }
  EXPECT_EQ(F->bsSkinButton20->BoundsRect(), F->bsSkinButton16->BoundsRect());
  EXPECT_EQ(Items(F->cboVideoDriver), (std::vector<String>{"Default", "DDraw", "GDI"}));
  EXPECT_EQ(Selected(F->cboVideoDriver), "Default");
  EXPECT_EQ(Items(F->cboAudioDriver), (std::vector<String>{"Default", "DSound", "waveOut"}));
  EXPECT_EQ(Selected(F->cboAudioDriver), "Default");
  EXPECT_TRUE(F->chkOpenPaused->Checked());
  EXPECT_FALSE(F->chkStayOnTop->Checked());
  EXPECT_EQ(F->TrackBar2->Max(), 128);
  EXPECT_EQ(F->TrackBar2->Position(), 128);
  EXPECT_EQ(F->Label2->Caption(), "N/A");
  EXPECT_EQ(F->Label3->Caption(), "N/A");
  EXPECT_EQ(F->SavePictureDialog1->Filter(), "Bitmaps (*.bmp)|*.bmp|JPEG Image File |*.jpg;*.jpeg");
  EXPECT_TRUE(F->SavePictureDialog1->OverwritePromt());
  EXPECT_TRUE(F->BMP1->Checked());
  EXPECT_EQ(static_cast<TComponent*>(F->bsSkinButton23->PopupMenu()), F->FindComponent("bsSkinPopupMenu2"));
  delete F;
}

TEST_F(Preview, OpeningAFileResetsTheSliderAndTheStreamLists) {
  struct TCase {
    const char* Name;
    std::string File;
    std::vector<String> Video, Audio, Subtitle;
    bool VideoOn, AudioOn, SubtitleOn;
    const char* FrameSize;
  };
  const TCase Cases[] = {
      {"video and audio", Media().Mkv, {"Video#0"}, {"Audio#1"}, {}, false, false, false, "160x120"},
      {"two audio streams and subtitles",
       Media().TwoAudio,
       {"Video#0"},
       {"Audio#1", "Audio#2"},
       {"Subtitle#-1", "Subtitle#3"},
       false,
       true,
       true,
       "160x120"},
      // No video shown: the subtitle list stays off whatever the file holds.
      {"audio with subtitles",
       AudioWithSubtitles(),
       {},
       {"Audio#0"},
       {"Subtitle#1"},
       false,
       false,
       false,
       "-1x-1"},
  };
  TForm1* F = CreateShowing();
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    F->bsSkinSlider1->SetValue(40);
    F->mmoLog->Lines()->Clear();
    OpenInPreview(F, C.File);
    EXPECT_NEAR(double(F->FDuration), 2000000.0, 100000.0);
    EXPECT_EQ(F->Label2->Caption(), Format("%f", {double(F->FDuration) / 1000000}));
    EXPECT_EQ(F->Label3->Caption(), "0.0");
    EXPECT_EQ(F->bsSkinSlider1->MaxValue(), 218) << "the slider's own width";
    EXPECT_EQ(F->bsSkinSlider1->Value(), 0);
    EXPECT_EQ(F->bsSkinSlider1->Increment(), 5);
    EXPECT_EQ(F->FScreenControl, static_cast<TWinControl*>(F->Panel6));
    EXPECT_EQ(F->RIVodero->ScreenWidth(), 210) << "the picture takes the panel's size";
    EXPECT_EQ(F->RIVodero->ScreenHeight(), 135);
    EXPECT_TRUE(
        LogHas(F, Format("duration: %f, frame size: %s", {double(F->FDuration) / 1000000, C.FrameSize})));
    EXPECT_TRUE(LogHas(F, fs::path(C.File).filename().string())) << "the probe's report";
    EXPECT_EQ(Items(F->cboVideo), C.Video);
    EXPECT_EQ(Items(F->cboAudio), C.Audio);
    EXPECT_EQ(Items(F->cboSubtitle), C.Subtitle);
    EXPECT_EQ(F->cboVideo->Enabled(), C.VideoOn);
    EXPECT_EQ(F->cboAudio->Enabled(), C.AudioOn);
    EXPECT_EQ(F->cboSubtitle->Enabled(), C.SubtitleOn);
    if (C.AudioOn) {
      EXPECT_EQ(Selected(F->cboAudio), Format("Audio#%d", {F->RIVodero->AudioStreamIndex()}));
    }
    if (C.SubtitleOn) {
      EXPECT_EQ(Selected(F->cboSubtitle), Format("Subtitle#%d", {F->RIVodero->SubtitleStreamIndex()}));
    }
    // Files open paused on their first picture; one without pictures plays (the player's way).
    EXPECT_TRUE(ServeUntil([&] { return LogHas(F, C.Video.empty() ? "Play" : "Pause"); }));
  }
  delete F;
}

TEST_F(Preview, PositionsMoveTheSliderOnlyWhileItIsNotHeld) {
  TForm1* F = CreateShowing();
  OpenInPreview(F, Media().Mkv);
  ASSERT_EQ(F->bsSkinSlider1->MaxValue(), 218);
  // As for a file of 10 seconds; events are not served here, so only these positions arrive.
  F->FDuration = 10000000;
  const struct {
    const char* Held;
    Int64 Duration, PTS;
    Integer Value;
    const char* Label;
  } Steps[] = {
      {"UP", 10000000, 5000000, 109, "5.00"},   {"UP", 10000000, 10000000, 218, "10.00"},
      {"UP", 10000000, -40000, 218, "-0.04"},   {"UP", 0, 3000000, 218, "3.00"},
      {"Down", 10000000, 1000000, 218, "3.00"},  // held: nothing changes
      {"UP", 10000000, 0, 0, "0.00"},
  };
  for (const auto& S : Steps) {
    F->bsSkinSlider1_down_UP = S.Held;
    F->FDuration = S.Duration;
    F->RIVoderoPosition(F->RIVodero, S.PTS);
    EXPECT_EQ(F->bsSkinSlider1->Value(), S.Value) << S.PTS;
    EXPECT_EQ(F->Label3->Caption(), S.Label) << S.PTS;
  }
  delete F;
}

TEST_F(Preview, DraggingTheSliderSeeksThereAndPlaysOnAndTheEndWaitsAtTheStart) {
  TForm1* F = CreateShowing();
  OpenInPreview(F, Media().Mkv);
  ASSERT_TRUE(ShowsPicture(F));
  TbsSkinSlider* S = F->bsSkinSlider1;
  // The first picture's position report may still wait in the queue: the thumb goes where it says.
  WinProcessMessages();
  const Integer Thumb = S->GetOffsetByValue(S->Value()) + 2;
  wintest::MouseMove(OnSlider(S, Thumb));
  wintest::MouseDown(OnSlider(S, Thumb));
  ASSERT_TRUE(S->Sliding());
  EXPECT_EQ(F->bsSkinSlider1_down_UP, "Down");
  EXPECT_TRUE(F->RIVodero->Paused());
  wintest::MouseMove(OnSlider(S, S->GetOffsetByValue(109) + 2));
  const Integer Released = S->Value();
  EXPECT_NEAR(Released, 109, 3);
  wintest::MouseUp(OnSlider(S, S->GetOffsetByValue(109) + 2));
  EXPECT_EQ(F->bsSkinSlider1_down_UP, "UP");
  EXPECT_FALSE(F->RIVodero->Paused()) << "a drag always plays on";
  const Int64 Target = F->FDuration * Released / 218;
  // Played on from there: the positions come from the seek target on, and move the slider again.
  ASSERT_TRUE(ServeUntil([&] { return F->RIVodero->CurrentPTS() > Target + 100000; }));
  EXPECT_GE(S->Value(), Released - 5);
  // The end: back to the first picture, waiting.
  ASSERT_TRUE(ServeUntil([&] { return LogHas(F, "End"); }, 15000));
  ASSERT_TRUE(ServeUntil([&] { return F->RIVodero->Paused() && F->RIVodero->CurrentPTS() < 300000; }, 15000))
      << F->RIVodero->Paused() << " " << F->RIVodero->CurrentPTS() << " " << F->mmoLog->Lines()->Text();
  EXPECT_TRUE(ServeUntil([&] { return S->Value() < 40; })) << "the slider follows back";

  // Released at the very start, it plays from there (a while later: no double click).
  wintest::AdvanceTime(Clock(), 2000);
  wintest::MouseMove(OnSlider(S, S->GetOffsetByValue(S->Value()) + 2));
  wintest::MouseDown(OnSlider(S, S->GetOffsetByValue(S->Value()) + 2));
  ASSERT_TRUE(S->Sliding()) << S->Value();
  wintest::MouseMove(OnSlider(S, -50));
  EXPECT_EQ(S->Value(), 0);
  wintest::MouseUp(OnSlider(S, -50));
  EXPECT_FALSE(F->RIVodero->Paused());
  EXPECT_TRUE(ServeUntil([&] { return F->RIVodero->CurrentPTS() > 200000; }));
  delete F;
}

TEST_F(Preview, ButtonsPlayPauseStopAndMute) {
  TForm1* F = CreateShowing();
  OpenInPreview(F, Media().Mkv);
  ASSERT_TRUE(ShowsPicture(F));
  F->chkStayOnTop->SetChecked(true);
  F->bsSkinButton13->Click();
  EXPECT_FALSE(F->RIVodero->Paused());
  ASSERT_TRUE(ServeUntil([&] { return LogHas(F, "Resume"); }));
  EXPECT_EQ(F->FormStyle(), fsStayOnTop) << "kept on top while playing";
  F->bsSkinButton14->Click();
  EXPECT_TRUE(F->RIVodero->Paused());
  ASSERT_TRUE(ServeUntil([&] { return F->FormStyle() == fsNormal; }));

  // Stop without a selected row does nothing.
  F->bsSkinButton15->Click();
  EXPECT_NE(F->RIVodero->VideoState(), nullptr);
  EXPECT_FALSE(LogHas(F, "Stop"));
  // With one: stopped, and opened again at the start, paused.
  F->lvFiles->Items()->Add()->SetCaption(Media().Mkv);
  F->lvFiles->SetItemIndex(0);
  F->bsSkinSlider1->SetValue(100);
  F->mmoLog->Lines()->Clear();
  F->bsSkinButton15->Click();
  EXPECT_EQ(F->bsSkinSlider1->Value(), 0);
  EXPECT_NE(F->RIVodero->VideoState(), nullptr);
  EXPECT_TRUE(ServeUntil([&] { return LogHas(F, "Stop") && LogHas(F, "Pause"); }));

  F->bsSkinButton16->Click();
  EXPECT_TRUE(F->RIVodero->Mute());
  EXPECT_TRUE(F->bsSkinButton20->Visible());
  EXPECT_FALSE(F->bsSkinButton16->Visible());
  F->bsSkinButton20->Click();
  EXPECT_FALSE(F->RIVodero->Mute());
  EXPECT_TRUE(F->bsSkinButton16->Visible());
  EXPECT_FALSE(F->bsSkinButton20->Visible());
  F->TrackBar2->SetPosition(40);
  EXPECT_EQ(F->RIVodero->AudioVolume(), 40);
  delete F;
}

TEST_F(Preview, AFileThatVanishedIsRefusedWithAMessageAndThePreviewKeepsItsFile) {
  TForm1* F = CreateShowing();
  OpenInPreview(F, Media().Mkv);
  ASSERT_TRUE(ShowsPicture(F));
  const Int64 Duration = F->FDuration;
  const String Gone = Temp.Path("gone.mkv");
  fs::copy_file(Media().Mkv, Gone);
  fs::remove(Gone);
  const String Shown = MessageOf([&] { OpenInPreview(F, Gone); });
  EXPECT_NE(Shown.find(Gone), String::npos) << Shown;
  EXPECT_NE(Shown.find("不存在"), String::npos) << Shown;
  EXPECT_TRUE(LogHas(F, Gone));
  EXPECT_EQ(F->RIVodero->FileName(), Media().Mkv) << "the old file stays open";
  EXPECT_NE(F->RIVodero->VideoState(), nullptr);
  EXPECT_EQ(F->FDuration, Duration);
  // Still usable: the next file opens.
  OpenInPreview(F, Media().AudioOnly);
  EXPECT_EQ(F->RIVodero->FileName(), Media().AudioOnly);
  delete F;
}

TEST_F(Preview, ClosingDetachesThePlayersReportsButNotItsFileOpen) {
  TForm1* F = CreateShowing();
  OpenInPreview(F, Media().Mkv);
  bool CanClose = false;
  F->FormCloseQuery(F, CanClose);
  EXPECT_TRUE(CanClose);
  EXPECT_FALSE(static_cast<bool>(F->RIVodero->OnPosition.Get()));
  EXPECT_FALSE(static_cast<bool>(F->RIVodero->OnState.Get()));
  EXPECT_FALSE(static_cast<bool>(F->RIVodero->OnHook.Get()));
  EXPECT_TRUE(static_cast<bool>(F->RIVodero->OnFileOpen));
  delete F;
}

// ---- snapshots ----

TEST_F(Preview, SnapshotsTakeTheFirstFreeNumberPerTypeAndTheirFormat) {
  struct TCase {
    const char* Stored;
    std::vector<const char*> Present;
    const char* Written;
    const char* Magic;
    const char* StoredAfter;
  };
  const TCase Cases[] = {
      {"JPG", {"clip_1.jpg", "clip_2.jpg"}, "clip_3.jpg", "\xFF\xD8\xFF", "JPG"},
      {"BMP", {"clip_2.bmp"}, "clip_1.bmp", "BM", "BMP"},       // a gap is filled first
      {"PNG", {"clip_1.bmp"}, "clip_1.png", "\x89PNG", "PNG"},  // numbers count per extension
      {"GIF", {}, "clip_1.gif", "GIF8", "GIF"},
      {"jpg", {}, "clip_1.bmp", "BM", "BMP"},  // not a type: BMP written over it
  };
  TForm1* F = CreateShowing();
  OpenInPreview(F, Media().Mkv);
  ASSERT_TRUE(ShowsPicture(F));
  F->T_Movie_PLayer_FileName = "/v/clip.avi";
  TMenuItem* const TypeItems[] = {F->BMP1, F->JPG1, F->GIF1, F->PNG1};
  const char* const TypeNames[] = {"BMP", "JPG", "GIF", "PNG"};
  Integer N = 0;
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Stored);
    const String Folder = Temp.Path("snaps" + std::to_string(++N));
    ForceDirectories(Folder);
    for (const char* P : C.Present) std::ofstream(Folder + "/" + P) << "x";
    F->OptionFile().Write(SnapShotSection, SnapShotDirKey, Folder);
    F->OptionFile().Write(SnapShotSection, SnapShotPictureKey, C.Stored);
    EXPECT_EQ(MessageOf([&] { F->bsSkinButton22->Click(); }), "") << "saved without a word";
    const String Written = Folder + "/" + C.Written;
    ASSERT_TRUE(FileExists(Written));
    EXPECT_EQ(FileStart(Written, strlen(C.Magic)), C.Magic);
    EXPECT_EQ(fs::directory_iterator(Folder.c_str()) == fs::directory_iterator(), false);
    EXPECT_EQ(Integer(std::distance(fs::directory_iterator(Folder.c_str()), fs::directory_iterator())),
              Integer(C.Present.size()) + 1)
        << "one new file, the others untouched";
    EXPECT_EQ(F->OptionFile().Read(SnapShotSection, SnapShotPictureKey), C.StoredAfter);
    for (Integer T = 0; T < 4; ++T) EXPECT_EQ(TypeItems[T]->Checked(), String(TypeNames[T]) == C.StoredAfter);
    const String Head = FileStart(Written, 64);
    if (String(C.Written).ends_with(".bmp")) {
      EXPECT_EQ(Byte(Head[28]), 24) << "a 24-bit bitmap";
    }
    if (String(C.Written).ends_with(".png")) {
      EXPECT_EQ(Byte(Head[25]), 2) << "24-bit colour";
    }
    if (String(C.Written).ends_with(".jpg")) {
      TJPEGImage J;
      J.LoadFromFile(Written);
      EXPECT_EQ(J.Width(), 160);
      EXPECT_EQ(J.Height(), 120);
      // Baseline: a start-of-frame 0 marker, not the progressive one.
      const String All = FileStart(Written, 1 << 20);
      EXPECT_NE(All.find("\xFF\xC0"), String::npos);
      EXPECT_EQ(All.find("\xFF\xC2"), String::npos);
    }
  }
  delete F;
}

TEST_F(Preview, TheCaptureRoutineSavesABitmapOnlyForTheBmpExtension) {
  const struct {
    const char* Typed;
    const char* Written;
    const char* Magic;
  } Cases[] = {
      {"shot", "shot.bmp", "BM"},  // the default extension
      {"upper.BMP", "upper.BMP", "BM"},
      {"photo.jpeg", "photo.jpeg", "\xFF\xD8\xFF"},
      {"other.png", "other.png", "\xFF\xD8\xFF"},  // anything else is a JPEG
  };
  TForm1* F = CreateShowing();
  F->SavePictureDialog1->SetInitialDir(Temp.Root());
  OpenInPreview(F, Media().Mkv);
  ASSERT_TRUE(ShowsPicture(F));
  for (const auto& C : Cases) {
    wintest::OnNextModalLoop([&] {
      TbsOpenDlgForm* Dlg = F->SavePictureDialog1->DlgFrm();
      Dlg->FileNameEdit->SetText(C.Typed);
      wintest::Click(wintest::ScreenPoint(Dlg->OpenButton->Handle(), 10, 10));
    });
    F->btnCapture->Click();
    const String Written = Temp.Path(C.Written);
    ASSERT_TRUE(FileExists(Written)) << C.Typed;
    EXPECT_EQ(FileStart(Written, strlen(C.Magic)), C.Magic) << C.Typed;
  }
  delete F;
}

TEST_F(Preview, TheHookStampsTheTimeOnThePicture) {
  TForm1* F = Create();
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(200, 100);
  B.Canvas()->Brush()->SetColor(clBlack);
  B.Canvas()->FillRect(Rect(0, 0, 200, 100));
  F->RIVoderoHook(F->RIVodero, &B, 1234);
  Integer White = 0;
  for (Integer Y = 10; Y < 35; ++Y)
    for (Integer X = 10; X < 190; ++X) {
      const Byte* P = B.ScanLine(Y) + 3 * X;
      White += P[0] > 200 && P[1] > 200 && P[2] > 200;
    }
  EXPECT_GT(White, 100) << "the white text at (10, 10)";
  EXPECT_EQ(B.ScanLine(60)[3 * 20], 0) << "nothing below it";
  delete F;
}

TEST_F(Preview, WithoutAPictureNothingIsSavedAndTheDefaultFolderIsTaken) {
  TForm1* F = Create();
  F->T_Movie_PLayer_FileName = "/v/clip.avi";
  EXPECT_EQ(MessageOf([&] { F->bsSkinButton22->Click(); }), "");
  const String Folder = Home() + "/Nerivo视频软件/快照";
  EXPECT_TRUE(DirectoryExists(Folder)) << "made by the folder rule";
  EXPECT_EQ(F->OptionFile().Read(SnapShotSection, SnapShotDirKey), Folder);
  EXPECT_EQ(F->OptionFile().Read(SnapShotSection, SnapShotPictureKey), "BMP");
  EXPECT_TRUE(fs::is_empty(Folder.c_str()));
  delete F;
}

TEST_F(Preview, ASnapshotFolderThatCannotBeWrittenIsReportedAndNothingIsWritten) {
  TForm1* F = CreateShowing();
  OpenInPreview(F, Media().Mkv);
  ASSERT_TRUE(ShowsPicture(F));
  F->T_Movie_PLayer_FileName = "/v/clip.avi";
  // A folder below a plain file can be neither made nor written, whoever runs the test.
  std::ofstream(Temp.Path("plain")) << "x";
  const String Bad = Temp.Path("plain/snaps");
  F->OptionFile().Write(SnapShotSection, SnapShotDirKey, Bad);
  const String Shown = MessageOf([&] { F->bsSkinButton22->Click(); });
  EXPECT_NE(Shown.find(Bad + "/clip_1.bmp"), String::npos) << Shown;
  EXPECT_TRUE(LogHas(F, Bad + "/clip_1.bmp"));
  EXPECT_FALSE(FileExists(Bad + "/clip_1.bmp"));
  EXPECT_EQ(F->OptionFile().Read(SnapShotSection, SnapShotDirKey), Bad) << "the setting is kept";
  // The program goes on: a good folder takes the next one.
  const String Good = Temp.Path("good");
  ForceDirectories(Good);
  F->OptionFile().Write(SnapShotSection, SnapShotDirKey, Good);
  EXPECT_EQ(MessageOf([&] { F->bsSkinButton22->Click(); }), "");
  EXPECT_TRUE(FileExists(Good + "/clip_1.bmp"));
  delete F;
}

TEST_F(Preview, TheSnapshotMenuChoosesTheTypeAndTheFolderAndOpensIt) {
  shelltest::TShellFakes Fakes;
  TForm1* F = CreateShowing();
  F->JPG1->Click();
  EXPECT_EQ(F->OptionFile().Read(SnapShotSection, SnapShotPictureKey), "JPG");
  EXPECT_TRUE(F->JPG1->Checked());
  EXPECT_FALSE(F->BMP1->Checked());
  F->OptionFile().Write(SnapShotSection, SnapShotPictureKey, "PNG");
  F->bsSkinButton23->Click();
  EXPECT_TRUE(F->PNG1->Checked());
  EXPECT_FALSE(F->JPG1->Checked());

  // The folder chooser shares its last folder with the output folder choice: cancelled, that one is
  // taken; a folder that is gone changes nothing.
  const String Chosen = Temp.Path("chosen");
  ForceDirectories(Chosen);
  F->bsSkinSelectDirectoryDialog2->SetDirectory(Chosen);
  wintest::OnNextModalLoop([] { wintest::KeyPress(VK_ESCAPE); });
  F->MenuItem2->Click();
  EXPECT_EQ(F->OptionFile().Read(SnapShotSection, SnapShotDirKey), Chosen);
  F->bsSkinSelectDirectoryDialog2->SetDirectory(Temp.Path("gone"));
  wintest::OnNextModalLoop([] { wintest::KeyPress(VK_ESCAPE); });
  F->MenuItem2->Click();
  EXPECT_EQ(F->OptionFile().Read(SnapShotSection, SnapShotDirKey), Chosen);

  F->MenuItem1->Click();
  EXPECT_EQ(Fakes.Open().Targets, (std::vector<String>{Chosen}));
  delete F;
}

// Mute and unmute stand in one place: the first shows the speaker with its waves, the second (shown
// while muted) the speaker with a cross, so a person tells the two states apart by their shapes.
TEST_F(Preview, TheMuteButtonAndItsTwinShowDifferentGlyphs) {
  WriteProductPictures(Temp.Root());
  TForm1* F = Create();
  TBitmap* Sound = F->bsSkinButton16->Glyph();
  TBitmap* Muted = F->bsSkinButton20->Glyph();
  ASSERT_FALSE(Sound->Empty());
  ASSERT_FALSE(Muted->Empty());
  ASSERT_EQ(Sound->Width(), Muted->Width());
  ASSERT_EQ(Sound->PixelFormat(), pf32bit);
  ASSERT_EQ(Muted->PixelFormat(), pf32bit);
  Integer Differ = 0;
  for (Integer Y = 0; Y < Sound->Height(); ++Y)
    for (Integer X = 0; X < Sound->Width(); ++X)
      Differ += (Sound->ScanLine(Y)[4 * X + 3] > 128) != (Muted->ScanLine(Y)[4 * X + 3] > 128);
  EXPECT_GT(Differ, 15) << "the two states show one shape";
  delete F;
}

}  // namespace
