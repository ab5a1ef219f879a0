// Test support for the main window's preview: the player's libraries and SDL's dummy drivers, the
// window as the program makes it, the text of the message box a step shows, and the log memo's lines.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>

#include "app/main/testkit/mainformtestkit.h"
#include "engine/base/ffmpegloader.h"
#include "engine/player/testkit/playertestkit.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/memo.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/dialogs/testkit/skindialogstestkit.h"

namespace previewtest {

// Whether a line of the window's log memo contains Part.
inline bool LogHas(TForm1* F, const String& Part) {
  TStrings* Lines = F->mmoLog->Lines();
  for (Integer I = 0; I < Lines->Count(); ++I)
    if (Lines->Strings(I).find(Part) != String::npos) return true;
  return false;
}

// Runs Step; a message box it shows is read and closed with Enter. The box's text, "" when none came.
inline String MessageOf(const std::function<void()>& Step) {
  String Text;
  bool Shown = false;
  wintest::OnNextModalLoop([&] {
    if (TbsMessageForm* Box = dialogstest::ShowingBox()) Text = Box->Message->Caption();
    Shown = true;
    wintest::KeyPress(VK_RETURN);
  });
  Step();
  // No box came: the hook would wait for a later loop.
  if (!Shown) wintest::OnNextModalLoops({});
  return Text;
}

class TPreviewTest : public mainformtest::TMainFormTest {
 protected:
  static void SetUpTestSuite() {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(FFLoader()->Load(PlayerLibraries)) << FFLoader()->LastErrMsg();
  }
  void SetUp() override {
    mainformtest::TMainFormTest::SetUp();
    ASSERT_TRUE(TestMedia().Ready) << "the ffmpeg tool could not make the test media";
  }
  const TTestMedia& Media() const { return TestMedia(); }

  // The window shown, with File open in the preview as the row selection opens it.
  TForm1* CreateShowing() {
    TForm1* F = Create();
    F->Show();
    return F;
  }
  static void OpenInPreview(TForm1* F, const String& File) {
    F->T_Movie_PLayer_FileName = File;
    F->Button31->Click();
  }
};

}  // namespace previewtest
