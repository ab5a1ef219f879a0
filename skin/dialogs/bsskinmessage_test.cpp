#include "skin/dialogs/bsskinmessage.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/rtl/threads.h"
#include "platform/ui/core/screen.h"
#include "platform/ui/extctrls/image.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/dialogs/testkit/skindialogstestkit.h"
#include "skin/forms/engine/bsskinform.h"

using dialogstest::ShowingBox;

namespace {

class SkinMessageTest : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    SetTestFontMode(true);
    Msg = std::make_unique<TbsSkinMessage>(nullptr);
  }
  void TearDown() override {
    TbsMessageForm::HelpHandler = nullptr;
    Msg.reset();
    SetTestFontMode(false);
    TSkinControlTest::TearDown();
  }

  // The box that is showing.
  static TbsSkinButton* ButtonOf(TbsMessageForm* Box, const String& Name) {
    return dynamic_cast<TbsSkinButton*>(Box->FindComponent(Name));
  }
  static void ClickButton(TbsMessageForm* Box, const String& Name) {
    TbsSkinButton* B = ButtonOf(Box, Name);
    ASSERT_NE(B, nullptr) << Name;
    wintest::Click(wintest::ScreenPoint(B->Handle(), 10, 10));
  }
  // A box built as the calls build it, left to the test to free.
  std::unique_ptr<TbsMessageForm> Build(const String& Text, TMsgDlgType Type, TMsgDlgButtons Buttons) {
    TbsSkinMessage::TBoxRequest R;
    R.Msg = Text;
    R.DlgType = Type;
    R.Buttons = Buttons;
    return std::unique_ptr<TbsMessageForm>(Msg->CreateMessageForm(R));
  }
  // Counts the message forms the application still owns.
  static Integer LiveBoxes() {
    Integer N = 0;
    for (Integer i = 0; i < Application->ComponentCount(); ++i)
      N += dynamic_cast<TbsMessageForm*>(Application->Components(i)) != nullptr;
    return N;
  }
  // A string table whose lines are Lines only.
  void UseStringTable(std::initializer_list<const char*> Lines) {
    dialogstest::UseStringTable(Skin.get(), Strings, Lines);
  }

  std::unique_ptr<TbsSkinMessage> Msg;
  std::unique_ptr<TbsResourceStrData> Strings;
};

struct TKey {
  Word Vk;
  char32_t Char = 0;
  bool Alt = false;
};

struct TAnswerCase {
  const char* Name;
  TMsgDlgButtons Buttons;
  std::optional<TMsgDlgBtn> Default;
  std::vector<TKey> Keys;
  const char* ClickName;  // a button clicked after the keys, or null
  Integer Expected;
};

class SkinMessageAnswers : public SkinMessageTest, public ::testing::WithParamInterface<TAnswerCase> {};

TEST_P(SkinMessageAnswers, AnswerTheKeysAndClicksOfAPerson) {
  const TAnswerCase& C = GetParam();
  TForm* Owner = NewForm();
  bool OwnerDisabled = false;
  wintest::OnNextModalLoop([&] {
    OwnerDisabled = !IsWindowEnabled(Owner->Handle());
    for (const TKey& K : C.Keys) wintest::KeyPress(K.Vk, K.Char, K.Alt);
    if (C.ClickName != nullptr) {
      // The keys are handled first, so a key that wrongly closed the box leaves nothing to click.
      WinProcessMessages();
      if (TbsMessageForm* Box = ShowingBox()) ClickButton(Box, C.ClickName);
    }
  });
  const Integer Result = C.Default ? Msg->MessageDlg("要继续吗？", mtConfirmation, C.Buttons, 0, *C.Default)
                                   : Msg->MessageDlg("要继续吗？", mtConfirmation, C.Buttons, 0);
  EXPECT_EQ(Result, C.Expected);
  EXPECT_TRUE(OwnerDisabled) << "the box is modal";
  EXPECT_TRUE(IsWindowEnabled(Owner->Handle()));
  EXPECT_EQ(LiveBoxes(), 0) << "the box is freed";
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, SkinMessageAnswers,
    ::testing::Values(
        TAnswerCase{"OkEnter", {mbOK}, {}, {{VK_RETURN}}, nullptr, 1},
        TAnswerCase{"OkEscapeIsOk", {mbOK}, {}, {{VK_ESCAPE}}, nullptr, 1},
        TAnswerCase{"OkCancelEscape", {mbOK, mbCancel}, {}, {{VK_ESCAPE}}, nullptr, 2},
        TAnswerCase{"YesNoCancelEnter", {mbYes, mbNo, mbCancel}, {}, {{VK_RETURN}}, nullptr, 6},
        TAnswerCase{"YesNoCancelEscape", {mbYes, mbNo, mbCancel}, {}, {{VK_ESCAPE}}, nullptr, 2},
        TAnswerCase{"YesNoCancelClickNo", {mbYes, mbNo, mbCancel}, {}, {}, "No", 7},
        TAnswerCase{"YesNoEscapeIsNo", {mbYes, mbNo}, {}, {{VK_ESCAPE}}, nullptr, 7},
        TAnswerCase{"YesNoEnterIsYes", {mbYes, mbNo}, {}, {{VK_RETURN}}, nullptr, 6},
        TAnswerCase{"MnemonicN", {mbYes, mbNo}, {}, {{'N', U'n'}}, nullptr, 7},
        TAnswerCase{"AltMnemonicI", {mbAbort, mbRetry, mbIgnore}, {}, {{'I', U'i', true}}, nullptr, 5},
        TAnswerCase{
            "AbortRetryIgnoreHasNoCancel", {mbAbort, mbRetry, mbIgnore}, {}, {{VK_ESCAPE}}, "Retry", 4},
        TAnswerCase{"GivenDefaultTakesEnter", {mbOK, mbCancel}, mbCancel, {{VK_RETURN}}, nullptr, 2},
        TAnswerCase{"DefaultNotInTheBoxKeepsTheCancelRule", {mbYes, mbNo}, mbOK, {{VK_ESCAPE}}, nullptr, 7},
        TAnswerCase{"CloseAloneHasNoCancel", {mbClose}, {}, {{VK_ESCAPE}}, "Close", 11},
        TAnswerCase{
            "SpacePressesTheFocusedFirstButton", {mbYes, mbNo, mbCancel}, {}, {{VK_SPACE, U' '}}, nullptr, 6},
        TAnswerCase{"TabThenSpace", {mbOK, mbCancel}, {}, {{VK_TAB}, {VK_SPACE, U' '}}, nullptr, 2},
        TAnswerCase{"GivenDefaultHasTheFocus", {mbYes, mbNo, mbCancel}, mbNo, {{VK_SPACE, U' '}}, nullptr, 7},
        TAnswerCase{"AllAndNoToAll", {mbYesToAll, mbNoToAll, mbAll}, {}, {{'O', U'o'}}, nullptr, 9}),
    [](const ::testing::TestParamInfo<TAnswerCase>& I) { return String(I.param.Name); });

TEST_F(SkinMessageTest, BuildsTheDefaultAndCancelButtonsByTheRule) {
  struct TCase {
    TMsgDlgButtons Buttons;
    const char* Default;  // "" for none
    const char* Cancel;
  };
  const TCase Cases[] = {
      {{mbYes, mbNo, mbCancel}, "Yes", "Cancel"},
      {{mbOK, mbCancel}, "OK", "Cancel"},
      {{mbAbort, mbRetry, mbIgnore}, "Retry", ""},
      {{mbYes, mbNo}, "Yes", "No"},
      {{mbClose, mbHelp}, "", ""},
  };
  for (const TCase& C : Cases) {
    auto Box = Build("x", mtWarning, C.Buttons);
    String Default, Cancel;
    for (Integer B = 0; B < MsgDlgBtnCount; ++B) {
      TbsSkinButton* Button = ButtonOf(Box.get(), MessageButtonName(TMsgDlgBtn(B)));
      ASSERT_EQ(Button != nullptr, C.Buttons.Contains(TMsgDlgBtn(B)));
      if (Button == nullptr) continue;
      EXPECT_EQ(Button->ModalResult(), MessageButtonResult(TMsgDlgBtn(B)));
      if (Button->Default()) Default += Button->Name();
      if (Button->Cancel()) Cancel += Button->Name();
    }
    EXPECT_EQ(Default, C.Default);
    EXPECT_EQ(Cancel, C.Cancel);
  }
}

// Sizes with the test font: Tahoma height 13 is a 13-pixel line with a 7-pixel advance.
TEST_F(SkinMessageTest, SizesTheBoxToItsTextAndButtons) {
  // One information box with OK, no skin: the button 70 x 25 centred at the bottom, the icon at 5, 10.
  auto Box = Build("A", mtInformation, {mbOK});
  EXPECT_EQ(Box->Caption(), "Information");
  // The button row 70 + 40 gives a client 110 wide, a frame 116 wide: below the frame's minimum 120.
  EXPECT_EQ(Box->Width(), 120);
  EXPECT_EQ(Box->Width() - Box->ClientWidth(), 6);
  EXPECT_EQ(Box->ClientHeight(), 25 + 13 + 50);
  TbsSkinButton* Ok = ButtonOf(Box.get(), "OK");
  EXPECT_EQ(Ok->BoundsRect(), Bounds((114 - 70) / 2, 88 - 25 - 10, 70, 25));
  EXPECT_EQ(Ok->Caption(), "OK");
  auto* Image = dynamic_cast<TImage*>(Box->FindComponent("Image"));
  ASSERT_NE(Image, nullptr);
  EXPECT_EQ(Image->BoundsRect(), Bounds(5, 10, 32, 32)) << "a short label keeps the icon at 10";
  EXPECT_FALSE(Image->Picture()->Icon()->Empty());
  EXPECT_EQ(Box->Message->BoundsRect(), Bounds(50, 15, 7, 13));
  EXPECT_EQ(Box->DisplayCheckBox, nullptr);
  EXPECT_TRUE(Box->BSF->BorderIcons().Empty());
  EXPECT_EQ(Box->Position(), poScreenCenter);

  // Three buttons: the row 230 wide, left to right from (width - 230) / 2 in steps of 80.
  Box = Build("A longer line of text, sixty-three characters of the test font.", mtWarning,
              {mbYes, mbNo, mbCancel});
  const Integer Lr = 50 + 63 * 7;
  EXPECT_EQ(Box->ClientWidth(), Lr + 40) << "the label is wider than the row";
  const Integer X0 = (Lr + 40 - 230) / 2;
  EXPECT_EQ(ButtonOf(Box.get(), "Yes")->Left(), X0);
  EXPECT_EQ(ButtonOf(Box.get(), "No")->Left(), X0 + 80);
  EXPECT_EQ(ButtonOf(Box.get(), "Cancel")->Left(), X0 + 160);

  // A two-line message moves the icon down to the middle of the label.
  Box = Build("one\ntwo\nthree\nfour", mtError, {mbOK});
  EXPECT_EQ(Box->Message->Height(), 4 * 13);
  EXPECT_EQ(Box->FindComponent("Image") ? dynamic_cast<TImage*>(Box->FindComponent("Image"))->Top() : -1,
            15 + 26 - 16);

  // mtCustom: the application's title and an empty image.
  Application->SetTitle("Nerivo视频转换");
  Box = Build("x", mtCustom, {mbOK});
  EXPECT_EQ(Box->Caption(), "Nerivo视频转换");
  EXPECT_TRUE(dynamic_cast<TImage*>(Box->FindComponent("Image"))->Picture()->Icon()->Empty());
}

TEST_F(SkinMessageTest, HandsItsSettingsToTheBoxAndItsControls) {
  Msg->SetSkinData(Skin.get());
  TbsSkinData Controls(nullptr);
  Msg->SetCtrlSkinData(&Controls);
  Msg->SetAlphaBlend(true);
  Msg->SetAlphaBlendAnimation(true);
  Msg->SetAlphaBlendValue(150);
  Msg->SetUseSkinFont(false);
  Msg->DefaultFont()->SetHeight(20);
  Msg->DefaultButtonFont()->SetName("宋体");
  auto Box = Build("A", mtWarning, {mbOK});
  EXPECT_EQ(Box->BSF->SkinData(), Skin.get());
  EXPECT_EQ(Box->BSF->MenusSkinData(), &Controls);
  EXPECT_TRUE(Box->BSF->AlphaBlend());
  EXPECT_TRUE(Box->BSF->AlphaBlendAnimation());
  EXPECT_EQ(Box->BSF->AlphaBlendValue(), 150);
  EXPECT_EQ(Box->Message->SkinData(), &Controls);
  EXPECT_EQ(Box->Message->DefaultFont()->Height(), 20);
  EXPECT_FALSE(Box->Message->UseSkinFont());
  TbsSkinButton* Ok = ButtonOf(Box.get(), "OK");
  EXPECT_EQ(Ok->SkinData(), &Controls);
  EXPECT_EQ(Ok->DefaultFont()->Name(), "宋体");
  EXPECT_FALSE(Ok->UseSkinFont());
  EXPECT_TRUE(Ok->CanFocused());
}

// A transparent label used to fill its text cells with the canvas brush, a white box behind the text.
TEST_F(SkinMessageTest, TheMessageStandsOnTheFormsOwnColour) {
  COLORREF Glyph = 0, Gap = 0;
  wintest::OnNextModalLoop([&] {
    TbsSkinStdLabel* Label = ShowingBox()->Message;
    Glyph = PixelOf(Label, 2, 5);
    Gap = PixelOf(Label, 6, 5);  // the blank column after the first character
    wintest::KeyPress(VK_RETURN);
  });
  Msg->MessageDlg("AB", mtInformation, {mbOK}, 0);
  EXPECT_EQ(Gap, BtnFaceRGB());
  EXPECT_NE(Glyph, BtnFaceRGB());
}

TEST_F(SkinMessageTest, KeepsTheWidthInsideTheFramesLimits) {
  // Wider than the work area: cut to the frame's maximum width.
  auto Box = Build(String(400, 'W'), mtWarning, {mbOK});
  EXPECT_EQ(Box->Width(), Box->BSF->GetMaxWidth());
  EXPECT_EQ(Box->Width(), Screen->WorkAreaRect().Right - Screen->WorkAreaRect().Left);
  // The skin's frame is at least 120 wide; a box narrower is widened to it.
  Msg->SetSkinData(Skin.get());
  Skin->FormMinWidth = 300;
  Box = Build("A", mtWarning, {mbOK});
  EXPECT_EQ(Box->Width(), Box->BSF->GetMinWidth());
  EXPECT_EQ(Box->Width(), 300);
}

TEST_F(SkinMessageTest, TakesTheButtonHeightAndTheTextsFromTheControlSkin) {
  auto* Element = dynamic_cast<TbsDataSkinButtonControl*>(Skin->Ctrls(Skin->GetControlIndex("button")));
  ASSERT_NE(Element, nullptr);
  const Integer Hb = RectHeight(Element->SkinRect);
  ASSERT_NE(Hb, 25);
  Msg->SetCtrlSkinData(Skin.get());

  // A skin without a string table: the built-in texts, the skin's button height.
  auto Box = Build("A", mtWarning, {mbYes, mbClose});
  EXPECT_EQ(Box->Caption(), "Warning");
  EXPECT_EQ(ButtonOf(Box.get(), "Yes")->Caption(), "&Yes");
  EXPECT_EQ(ButtonOf(Box.get(), "Yes")->Height(), Hb);
  EXPECT_EQ(Box->ClientHeight(), Hb + 13 + 50);

  // With a table: its texts; a key it lacks gives an empty text, except the check box's.
  UseStringTable({"MSG_BTN_CLOSE=关闭", "MSG_CAP_WARNING=警告", "MSG_BTN_OK=确定"});
  Msg->SetShowAgainFlag(true);
  Box = Build("A", mtWarning, {mbYes, mbClose});
  EXPECT_EQ(Box->Caption(), "警告");
  EXPECT_EQ(ButtonOf(Box.get(), "Close")->Caption(), "关闭");
  EXPECT_EQ(ButtonOf(Box.get(), "Yes")->Caption(), "");
  ASSERT_NE(Box->DisplayCheckBox, nullptr);
  EXPECT_EQ(Box->DisplayCheckBox->Caption(), "Do not display this message again");
  EXPECT_EQ(GetMessageTypeCaption(mtError, Skin.get()), "");
  EXPECT_EQ(GetMessageTypeCaption(mtCustom, Skin.get()), "");
  EXPECT_EQ(GetMessageTypeCaption(mtError, nullptr), "Error");
  EXPECT_EQ(GetMessageButtonCaption(mbNoToAll, nullptr), "N&oToAll");

  // Mbclose alone with the table, shown: its caption and result 11.
  Msg->SetShowAgainFlag(false);
  String Shown;
  wintest::OnNextModalLoop([&] {
    Shown = ButtonOf(ShowingBox(), "Close")->Caption();
    ClickButton(ShowingBox(), "Close");
  });
  EXPECT_EQ(Msg->MessageDlg("完成", mtInformation, {mbClose}, 0), 11);
  EXPECT_EQ(Shown, "关闭");

  // The component forgets a skin that goes.
  Skin.reset();
  EXPECT_EQ(Msg->CtrlSkinData(), nullptr);
}

TEST_F(SkinMessageTest, TheCheckBoxSizesTheBoxAndWritesItsStateBack) {
  Msg->SetShowAgainFlag(true);
  Msg->SetShowAgainFlagValue(true);
  auto Box = Build("A", mtInformation, {mbOK});
  ASSERT_NE(Box->DisplayCheckBox, nullptr);
  const Integer Tw = 33 * 7;  // the fallback caption in the default font
  EXPECT_FALSE(Box->DisplayCheckBox->Checked()) << "shown again: the box starts unchecked";
  EXPECT_EQ(Box->ClientHeight(), 25 + 13 + 50 + 40);
  EXPECT_EQ(Box->ClientWidth(), Tw + 60);
  EXPECT_EQ(Box->DisplayCheckBox->BoundsRect(), Bounds(5, 128 - 25 - 50, Tw + 55, 30));
  Box.reset();

  // With the skin's check box element and its font, the caption is measured in that font.
  Msg->SetCtrlSkinData(Skin.get());
  Msg->DefaultFont()->SetHeight(30);
  Box = Build("A", mtInformation, {mbOK});
  TbsSkinCheckRadioBox* Check = Box->DisplayCheckBox;
  ASSERT_NE(Check->SkinIndex(), -1);
  TBitmap Measure;
  Measure.Canvas()->Font()->SetName(Check->FontName);
  Measure.Canvas()->Font()->SetHeight(Check->FontHeight);
  const Integer SkinTw = Measure.Canvas()->TextWidth("Do not display this message again");
  ASSERT_NE(SkinTw, 33 * 16) << "the default font's width would not tell the two apart";
  EXPECT_EQ(Check->Width(), SkinTw + 55);
  Msg->SetUseSkinFont(false);
  Box = Build("A", mtInformation, {mbOK});
  EXPECT_EQ(Box->DisplayCheckBox->Width(), 33 * 16 + 55)
      << "the default font, a 30-pixel cell: a 16-pixel advance";
  Box.reset();
  Msg->SetCtrlSkinData(nullptr);

  // A person checks it and closes: the message is not to be shown again.
  wintest::OnNextModalLoop([&] {
    TbsMessageForm* B = ShowingBox();
    wintest::Click(wintest::ScreenPoint(B->DisplayCheckBox->Handle(), 8, 15));
    WinProcessMessages();
    ClickButton(B, "OK");
  });
  EXPECT_EQ(Msg->MessageDlg2("A", "提示", mtInformation, {mbOK}, 0), 1);
  EXPECT_FALSE(Msg->ShowAgainFlagValue());

  // The wide-text boxes carry no check box and write nothing back.
  bool HadBox = true;
  wintest::OnNextModalLoop([&] {
    HadBox = ShowingBox()->DisplayCheckBox != nullptr;
    wintest::KeyPress(VK_RETURN);
  });
  EXPECT_EQ(Msg->WideMessageDlg("宽文本", mtWarning, {mbOK}, 0), 1);
  EXPECT_FALSE(HadBox);
  EXPECT_FALSE(Msg->ShowAgainFlagValue());
}

TEST_F(SkinMessageTest, PlacesTheBoxWhereAskedAndLetsTheOwnerMoveIt) {
  std::vector<TRect> Asked;
  Msg->OnSetShowPos = [&](Integer& AX, Integer& AY, Integer AWidth, Integer AHeight) {
    Asked.push_back(Bounds(AX, AY, AWidth, AHeight));
    AX += 5;
    AY += 7;
  };
  TRect Shown;
  auto Record = [&] {
    Shown = ShowingBox()->BoundsRect();
    wintest::KeyPress(VK_RETURN);
  };
  wintest::OnNextModalLoop(Record);
  EXPECT_EQ(Msg->MessageDlgPos("A", mtWarning, {mbOK}, 0, 40, 60), 1);
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].TopLeft(), TPoint(40, 60));
  EXPECT_EQ(Shown.TopLeft(), TPoint(45, 67));
  EXPECT_EQ(RectWidth(Shown), RectWidth(Asked[0]));

  // -10001 centres the box on the screen even through a Pos call.
  wintest::OnNextModalLoop(Record);
  Msg->OnSetShowPos = nullptr;
  Msg->MessageDlgPos("A", mtWarning, {mbOK}, 0, -10001, -10001);
  const TRect Work = Bounds(0, 0, Screen->Width(), Screen->Height());
  EXPECT_NEAR((Shown.Left + Shown.Right) / 2, (Work.Left + Work.Right) / 2, 1);

  // The wide-text Pos box takes the place but asks nobody.
  Asked.clear();
  Msg->OnSetShowPos = [&](Integer&, Integer&, Integer, Integer) { Asked.push_back({}); };
  wintest::OnNextModalLoop(Record);
  Msg->WideMessageDlgPos("A", mtWarning, {mbOK}, 0, 30, 20);
  EXPECT_TRUE(Asked.empty());
  EXPECT_EQ(Shown.TopLeft(), TPoint(30, 20));
}

TEST_F(SkinMessageTest, HelpOpensTheTopicAndLeavesTheBoxOpen) {
  std::vector<std::pair<String, Integer>> Topics;
  TbsMessageForm::HelpHandler = [&](const String& File, Integer Ctx) { Topics.emplace_back(File, Ctx); };
  bool StillOpen = false;
  wintest::OnNextModalLoop([&] {
    ClickButton(ShowingBox(), "Help");
    WinProcessMessages();
    StillOpen = ShowingBox() != nullptr;
    ClickButton(ShowingBox(), "OK");
  });
  EXPECT_EQ(Msg->MessageDlgHelp("A", mtError, {mbOK, mbHelp}, 42, "nerivo.chm"), 1);
  EXPECT_TRUE(StillOpen);
  ASSERT_EQ(Topics.size(), 1u);
  EXPECT_EQ(Topics[0], (std::pair<String, Integer>("nerivo.chm", 42)));
}

TEST_F(SkinMessageTest, ShowsAnImageOfAListOnlyForAnIndexInsideIt) {
  TImageList Images(nullptr);
  Images.SetWidth(24);
  Images.SetHeight(24);
  TBitmap B;
  B.SetSize(24, 24);
  Images.Add(&B, nullptr);
  TbsSkinMessage::TBoxRequest R;
  R.Msg = "A";
  R.ACaption = String("图片");
  R.UseImageList = true;
  R.AImages = &Images;
  R.Buttons = {mbOK};
  for (Integer Index : {-1, 0, 1}) {
    R.AImageIndex = Index;
    std::unique_ptr<TbsMessageForm> Box(Msg->CreateMessageForm(R));
    auto* Image = dynamic_cast<TImage*>(Box->FindComponent("Image"));
    EXPECT_EQ(Image != nullptr, Index == 0) << Index;
    EXPECT_EQ(Box->Caption(), "图片");
    if (Image != nullptr) {
      EXPECT_EQ(Image->BoundsRect(), Bounds(5, 15 + 6 - 16, 24, 24)) << "no lower limit for a list's image";
    }
  }
}

TEST_F(SkinMessageTest, AFailureWhileShowingStillFreesTheBox) {
  Msg->SetShowAgainFlag(true);
  Msg->OnSetShowPos = [](Integer&, Integer&, Integer, Integer) { throw Exception("moved away"); };
  EXPECT_THROW(Msg->MessageDlgPos("A", mtWarning, {mbOK}, 0, 10, 10), Exception);
  EXPECT_EQ(LiveBoxes(), 0);
  EXPECT_FALSE(Msg->ShowAgainFlagValue());
}

TEST_F(SkinMessageTest, AWorkerIsServedWhileTheBoxIsOpen) {
  std::thread Worker;
  bool RanInside = false;
  wintest::OnNextModalLoop([&] {
    // The worker waits for the main thread while the box is up; its call answers the box.
    Worker = std::thread([&] {
      TThread::Synchronize(nullptr, [&] {
        RanInside = ShowingBox() != nullptr;
        ClickButton(ShowingBox(), "Cancel");
      });
    });
  });
  EXPECT_EQ(Msg->MessageDlg("转换中", mtConfirmation, {mbOK, mbCancel}, 0), 2);
  Worker.join();
  EXPECT_TRUE(RanInside);
}

}  // namespace
