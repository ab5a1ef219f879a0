// A skinned message box on a real display, as a person sees it while it waits for an answer: the
// frame drawn by the form engine, the icon, the message and the row of buttons. The screenshots are
// written beside the test program as skindialogs_message_*.png (the product skin's as
// skindialogs_message_product.png).
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordsbuttons.h"
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

// The dark columns of a control on screen: its caption's ink (faces and borders of the product look
// are light).
Integer InkColumns(x11test::TScreenReader& Reader, TControl* C) {
  const TPoint O = C->ClientToScreen({0, 0});
  const TRawImage Shot = Reader.Capture(Bounds(O.X, O.Y, C->Width(), C->Height()));
  const Integer Bytes = Shot.BitCount / 8;
  Integer N = 0;
  for (Integer x = 3; x < Shot.Width - 3; ++x)
    for (Integer y = 3; y < Shot.Height - 3; ++y) {
      const Byte* P = Shot.Row(y) + Bytes * x;
      if (std::max({P[0], P[1], P[2]}) < 120) {
        ++N;
        break;
      }
    }
  return N;
}

// The same measure of Text drawn in the font of the skin's button element.
Integer InkColumnsOf(TbsSkinData* ASkin, const String& Text) {
  auto* R = dynamic_cast<TbsDataSkinButtonControl*>(ASkin->Ctrls(ASkin->GetControlIndex("button")));
  TBitmap B;
  B.SetSize(200, 40);
  B.Canvas()->Brush()->SetColor(clWhite);
  B.Canvas()->FillRect(Rect(0, 0, 200, 40));
  B.Canvas()->Font()->SetName(R->FontName);
  B.Canvas()->Font()->SetHeight(R->FontHeight);
  B.Canvas()->Font()->SetStyle(R->FontStyle);
  B.Canvas()->Font()->SetColor(clBlack);
  B.Canvas()->Brush()->SetStyle(bsClear);
  TRect T = Rect(10, 10, 190, 30);
  DrawText(bsCanvasDC(B.Canvas()), Text, &T, DT_SINGLELINE);
  Integer N = 0;
  for (Integer x = 0; x < 200; ++x)
    for (Integer y = 0; y < 40; ++y)
      if (GetRValue(ColorToRGB(B.Canvas()->Pixels(x, y))) < 120) {
        ++N;
        break;
      }
  return N;
}

// With the product skin every text of the box comes from the skin's Chinese string table.
TEST_F(MessageBoxDisplay, OnTheProductSkinTheBoxSpeaksChinese) {
  TbsSkinData Product(nullptr);
  BuildProductSkin(&Product);
  TbsSkinMessage Msg(nullptr);
  Msg.SetSkinData(&Product);
  Msg.SetCtrlSkinData(&Product);
  String Caption, OkCaption, CancelCaption;
  Integer OkInk = 0;
  wintest::OnNextModalLoop([&] {
    TbsMessageForm* Box = ShowingBox();
    ASSERT_NE(Box, nullptr);
    auto* Ok = dynamic_cast<TbsSkinButton*>(Box->FindComponent("OK"));
    auto* Cancel = dynamic_cast<TbsSkinButton*>(Box->FindComponent("Cancel"));
    ASSERT_NE(Ok, nullptr);
    ASSERT_NE(Cancel, nullptr);
    Caption = Box->Caption();
    OkCaption = Ok->Caption();
    CancelCaption = Cancel->Caption();
    PumpUntil([&] { return InkColumns(*Reader, Ok) > 0; });
    OkInk = InkColumns(*Reader, Ok);
    EXPECT_TRUE(SaveWindowShot(Box->Handle(), "skindialogs_message_product.png"));
    wintest::KeyPress(VK_ESCAPE);
  });
  EXPECT_EQ(Msg.MessageDlg("输出目录不存在。", mtInformation, {mbOK, mbCancel}, 0), mrCancel);
  EXPECT_EQ(Caption, "提示");
  EXPECT_EQ(OkCaption, "确定");
  EXPECT_EQ(CancelCaption, "取消");
  // On screen the button reads 确定, not OK.
  EXPECT_NEAR(OkInk, InkColumnsOf(&Product, "确定"), 1);
  EXPECT_GT(std::abs(OkInk - InkColumnsOf(&Product, "OK")), 2);
}

}  // namespace

#endif
