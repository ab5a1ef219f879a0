// Snapshots never cost a file they did not make: the next free name is made inside the snapshot
// folder without following a link planted there, and a save over a file the user may not write
// fails and leaves that file as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "app/main/mainform/mainform.h"
#include "app/main/testkit/previewtestkit.h"
#include "platform/rtl/files.h"
#include "platform/rtl/threads.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/dialogs/bsskinpicturedialogs.h"

namespace {

using previewtest::MessageOf;
namespace fs = std::filesystem;

class Snapshots : public previewtest::TPreviewTest {
 protected:
  // The first picture is on screen (files open paused).
  static bool ShowsPicture(TForm1* F) {
    return ServeUntil(
        [&] { return F->RIVodero->CurrentFrame()->Width() > 0 && previewtest::LogHas(F, "Pause"); });
  }
  static String ReadAll(const String& Name) {
    std::ifstream In(Name, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
  }
  static std::vector<String> Entries(const String& Folder) {
    std::vector<String> Names;
    for (const auto& E : fs::directory_iterator(Folder.c_str()))
      Names.push_back(E.path().filename().string());
    std::sort(Names.begin(), Names.end());
    return Names;
  }
};

TEST_F(Snapshots, ALinkAtTheNextFreeNameIsNeverFollowedOutOfTheFolder) {
  TForm1* F = CreateShowing();
  OpenInPreview(F, Media().Mkv);
  ASSERT_TRUE(ShowsPicture(F));
  F->T_Movie_PLayer_FileName = "/v/clip.avi";
  const String Folder = Temp.Path("snaps");
  ForceDirectories(Folder);
  const String Outside = Temp.Path("outside.bmp");
  fs::create_symlink(Outside.c_str(), (Folder + "/clip_1.bmp").c_str());
  F->OptionFile().Write(SnapShotSection, SnapShotDirKey, Folder);
  F->OptionFile().Write(SnapShotSection, SnapShotPictureKey, "BMP");
  EXPECT_EQ(MessageOf([&] { F->bsSkinButton22->Click(); }), "");
  EXPECT_FALSE(fs::exists(fs::symlink_status(Outside.c_str()))) << "nothing made outside the folder";
  EXPECT_TRUE(fs::is_symlink((Folder + "/clip_1.bmp").c_str()));
  EXPECT_EQ(ReadAll(Folder + "/clip_2.bmp").substr(0, 2), "BM");
  EXPECT_EQ(Entries(Folder), (std::vector<String>{"clip_1.bmp", "clip_2.bmp"}));
  delete F;
}

// The superuser may write any file: the save runs in a child process as an ordinary user, over a
// file of the superuser's that it may not write, in a folder it may write (so that it could delete
// the file). The answer to the overwrite question is yes.
TEST_F(Snapshots, ASaveOverAFileTheUserMayNotWriteFailsAndKeepsIt) {
  const String Folder = Temp.Path("shots");
  ForceDirectories(Folder);
  const String Kept = Folder + "/kept.bmp";
  std::ofstream(Kept) << "the user's picture";
  chmod(Kept.c_str(), 0644);
  chmod(Folder.c_str(), 0777);
  chmod(Temp.Root().c_str(), 0777);
  const pid_t Child = fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
    if (access(Kept.c_str(), W_OK) == 0) _exit(11);
    // The child's one thread is its main thread.
    MainThreadID = Cardinal(getpid());
    TForm1* F = CreateShowing();
    OpenInPreview(F, Media().Mkv);
    if (!ShowsPicture(F)) _exit(12);
    F->SavePictureDialog1->SetInitialDir(Folder);
    String Shown;
    wintest::OnNextModalLoops({
        [&] {
          TbsOpenDlgForm* Dlg = F->SavePictureDialog1->DlgFrm();
          Dlg->FileNameEdit->SetText("kept.bmp");
          wintest::Click(wintest::ScreenPoint(Dlg->OpenButton->Handle(), 10, 10));
        },
        [&] { wintest::KeyPress(VK_RETURN); },  // overwrite it
        [&] {
          if (TbsMessageForm* Box = dialogstest::ShowingBox()) Shown = Box->Message->Caption();
          wintest::KeyPress(VK_RETURN);
        },
    });
    F->btnCapture->Click();
    const bool Told = Shown.find(Kept) != String::npos && Shown.find("Permission denied") != String::npos;
    _exit(ReadAll(Kept) != "the user's picture" ? 1 : !Told ? 2 : 0);
  }
  int Status = 0;
  const auto Until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  pid_t Ended = 0;
  while ((Ended = waitpid(Child, &Status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < Until)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  if (Ended == 0) {
    kill(Child, SIGKILL);
    waitpid(Child, &Status, 0);
    FAIL() << "the save as an ordinary user hung";
  }
  chmod(Temp.Root().c_str(), 0700);
  ASSERT_TRUE(WIFEXITED(Status)) << "ended by signal " << WTERMSIG(Status);
  EXPECT_EQ(WEXITSTATUS(Status), 0) << "1: the file changed or went, 2: the user was not told why";
  EXPECT_EQ(ReadAll(Kept), "the user's picture");
  EXPECT_EQ(Entries(Folder), std::vector<String>{"kept.bmp"}) << "nothing left beside it";
}

}  // namespace
