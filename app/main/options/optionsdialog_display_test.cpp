// The options dialog on a real display under the generated skin, as a person sees it when the main
// window opens it: centred on the main window, the "常规" page in front with the default choices
// checked; then the "CPU" page. Screenshots are written beside the test program as
// appmain_options_general.png and appmain_options_cpu.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include "app/main/options/optionsdialog.h"
#include "app/main/testkit/optionstestkit.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/pages/bsskinpagecontrol.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class OptionsDialogDisplay : public optionstest::TOptionFileTestOf<TDisplayTest<TSkinControlTest>> {
 protected:
  void Save(TForm* F, const char* Name) {
    TRect W;
    GetWindowRect(F->Handle(), &W);
    TRawImage Shot = Reader->Capture(W);
    ASSERT_FALSE(Shot.Empty());
    x11test::SaveBesideProgram(Shot, Name);
  }
  // The middle of a tab's top edge.
  TPoint TabPoint(TbsSkinPageControl* P, Integer Tab) {
    TRect R;
    P->GetTabRect(Tab, R);
    return Point((R.Left + R.Right) / 2, R.Top + 2);
  }
  // The check picture's shown half, left in the box, on its middle line.
  uint32_t CheckPixel(TbsSkinCheckRadioBox* B) { return ScreenAt(B, 12, B->Height() / 2); }
  // Whether every control lies inside its parent's client area (nothing cut off).
  static void ExpectInsideParents(TWinControl* Root) {
    for (Integer i = 0; i < Root->ControlCount(); ++i) {
      TControl* C = Root->Controls(i);
      EXPECT_GE(C->Left(), 0) << C->Name();
      EXPECT_GE(C->Top(), 0) << C->Name();
      EXPECT_LE(C->Left() + C->Width(), Root->ClientWidth()) << C->Name();
      EXPECT_LE(C->Top() + C->Height(), Root->ClientHeight()) << C->Name();
      if (auto* W = dynamic_cast<TWinControl*>(C)) ExpectInsideParents(W);
    }
  }
};

TEST_F(OptionsDialogDisplay, TheGeneralPageShowsTheDefaultChoicesCentredOnTheMainWindow) {
  UseTwoColourCheckPictures("checkbox");
  UseTwoColourCheckPictures("radiobox");
  TForm* Main;
  Application->CreateForm(Main);
  Main->SetBounds(20, 20, 842, 528);
  Main->SetCaption("NerivoAVI/MPEG格式转换器");
  Main->Show();
  auto* F = new TForm5(Application, Skin.get(), nullptr, File());
  F->AfterConstruction();

  bool General = false, CpuTab = false, Checked1 = false, Unchecked2 = false, Checked6 = false;
  bool Unchecked3 = false, Unchecked8 = false, Checked12 = false, Centred = false;
  wintest::OnNextModalLoop([&] {
    TbsSkinPageControl* P = F->bsSkinPageControl1;
    const TPoint Sel = TabPoint(P, 1), Other = TabPoint(P, 0);
    // Selected; with the keyboard on the page control (the dialog's first control) selected and focused.
    General = PumpUntil([&] {
      const uint32_t C = ScreenAt(P, Sel.X, Sel.Y);
      return C == SliceColor("tab", 2, 1) || C == SliceColor("tab", 4, 1);
    });
    CpuTab = ScreenAt(P, Other.X, Other.Y) == SliceColor("tab", 1, 1);
    Checked1 = CheckPixel(F->bsSkinCheckRadioBox1) == SliceColor("radiobox", 2, 1);
    Unchecked2 = CheckPixel(F->bsSkinCheckRadioBox2) == SliceColor("radiobox", 0, 1);
    Checked6 = CheckPixel(F->bsSkinCheckRadioBox6) == SliceColor("radiobox", 2, 1);
    Unchecked3 = CheckPixel(F->bsSkinCheckRadioBox3) == SliceColor("radiobox", 0, 1);
    const Integer MainMid = Main->Left() + Main->Width() / 2, DialogMid = F->Left() + F->Width() / 2;
    Centred = std::abs(MainMid - DialogMid) <= 1 &&
              std::abs((Main->Top() + Main->Height() / 2) - (F->Top() + F->Height() / 2)) <= 1;
    Save(F, "appmain_options_general.png");

    // The person turns to the "CPU" page.
    P->SetActivePage(F->bsSkinTabSheet1);
    Checked12 =
        PumpUntil([&] { return CheckPixel(F->bsSkinCheckRadioBox12) == SliceColor("radiobox", 2, 1); });
    Unchecked8 = CheckPixel(F->bsSkinCheckRadioBox8) == SliceColor("checkbox", 0, 1);
    Save(F, "appmain_options_cpu.png");
    F->bsSkinButton1->Click();
  });
  F->ShowModal();
  EXPECT_TRUE(General) << "the 常规 tab is the selected one";
  EXPECT_TRUE(CpuTab) << "the CPU tab is not";
  EXPECT_TRUE(Checked1) << "自动打开输出文件夹 checked";
  EXPECT_TRUE(Unchecked2) << "自动关闭计算机 not checked";
  EXPECT_TRUE(Checked6) << "自动重命名输出文件 checked";
  EXPECT_TRUE(Unchecked3) << "直接覆盖输出文件 not checked";
  EXPECT_TRUE(Checked12) << "正常优先级进行 checked";
  EXPECT_TRUE(Unchecked8) << "实时视频预览 not checked";
  EXPECT_TRUE(Centred) << "centred on the main window";
  ExpectInsideParents(F);
  // The chooser stands right of its label, on the same line.
  EXPECT_GE(F->bsSkinComboBox2->Left(), F->bsSkinStdLabel1->Left() + F->bsSkinStdLabel1->Width());
  EXPECT_GT(F->bsSkinStdLabel1->Width(), 0);
}

}  // namespace

#endif
