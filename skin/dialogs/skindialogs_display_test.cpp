// A skinned message box on a real display, as a person sees it while it waits for an answer: the
// frame drawn by the form engine, the icon, the message and the row of buttons. The screenshots are
// written beside the test program as skindialogs_message_*.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/dialogs/bsskinmessage.h"
#include "skin/dialogs/testkit/skindialogstestkit.h"
#include "skin/forms/engine/bsskinform.h"

using dialogstest::ShowingBox;

namespace {

class MessageBoxDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  // The default look's fill of a focused button.
  static constexpr COLORREF FocusedFill = 0xF3D4C1;
  static COLORREF Frame(int Slice) { return COLORREF(GeneratedSkinSliceColor(63, 0, Slice)); }
};

TEST_F(MessageBoxDisplay, AConfirmationWaitsWithItsIconTextAndButtons) {
  TbsSkinMessage Msg(nullptr);
  bool Painted = false;
  wintest::OnNextModalLoop([&] {
    TbsMessageForm* Box = ShowingBox();
    ASSERT_NE(Box, nullptr);
    TbsSkinButton* Yes = dynamic_cast<TbsSkinButton*>(Box->FindComponent("Yes"));
    ASSERT_NE(Yes, nullptr);
    // The focused first button in the hover fill, the message's text on the form's own colour.
    Painted = PumpUntil([&] { return ScreenAt(Yes, 3, Yes->Height() / 2) == FocusedFill; });
    EXPECT_EQ(ScreenAt(Box->Message, Box->Message->Width() - 2, 2), ScreenAt(Box, 2, 2))
        << "no box behind the text (right of the shorter first line)";
    EXPECT_TRUE(SaveWindowShot(Box->Handle(), "skindialogs_message_default.png"));
    wintest::KeyPress(VK_RETURN);
  });
  EXPECT_EQ(Msg.MessageDlg("要覆盖已有的文件吗？\n文件 \"片段01.mp4\" 已存在。", mtConfirmation,
                           {mbYes, mbNo, mbCancel}, 0),
            mrYes);
  EXPECT_TRUE(Painted);
}

TEST_F(MessageBoxDisplay, TheFrameAndButtonsComeFromTheSkin) {
  TbsSkinMessage Msg(nullptr);
  Msg.SetSkinData(Skin.get());
  Msg.SetCtrlSkinData(Skin.get());
  bool Painted = false;
  COLORREF NoFace = 0;
  wintest::OnNextModalLoop([&] {
    TbsMessageForm* Box = ShowingBox();
    auto* No = dynamic_cast<TbsSkinButton*>(Box->FindComponent("No"));
    Painted = PumpUntil([&] { return Reader->Pixel(Box->Left() + 3, Box->Top() + 3) == Frame(0); });
    NoFace = ScreenAt(No, 1, No->Height() / 2);
    EXPECT_TRUE(SaveWindowShot(Box->Handle(), "skindialogs_message_skin.png"));
    wintest::KeyPress(VK_ESCAPE);
  });
  EXPECT_EQ(Msg.MessageDlg("文件已存在。", mtWarning, {mbYes, mbNo}, 0), mrNo);
  EXPECT_TRUE(Painted) << "the skin's frame";
  EXPECT_EQ(NoFace, SliceColor("button", 0, 3)) << "the skin's button picture";
}

}  // namespace

#endif
