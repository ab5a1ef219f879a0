#include "platform/ui/stdctrls/looksurface.h"

#include "platform/ui/core/form.h"
#include "platform/ui/extctrls/bevel.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/extctrls/panel.h"
#include "platform/ui/extctrls/splitter.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/checkbox.h"
#include "platform/ui/stdctrls/groupbox.h"
#include "platform/ui/stdctrls/label.h"
#include "platform/ui/testkit/stdcontrolstest.h"
#include "platform/ui/testkit/ui_test_util.h"

namespace {

using LookTest = TStdControlsTest;

TEST_F(LookTest, BackgroundsFollowChosenColoursSurfacesAndParents) {
  TForm* F = NewForm();
  auto* Panel = NewControl<TPanel>(F, Bounds(0, 0, 200, 100));
  auto* OnPanel = NewControl<TLabel>(Panel, Bounds(5, 5, 50, 20));
  auto* OnForm = NewControl<TLabel>(F, Bounds(5, 120, 50, 20));
  EXPECT_EQ(LookBackground(OnPanel), stdlook::Surface);
  EXPECT_EQ(LookBackground(OnForm), stdlook::WindowBack);  // the form keeps the button face
  F->SetColor(clYellow);
  EXPECT_EQ(LookBackground(OnForm), clYellow);
  EXPECT_EQ(LookBackground(OnPanel), stdlook::Surface);  // a panel is a surface of its own
  OnPanel->SetColor(clAqua);
  EXPECT_EQ(LookBackground(OnPanel), clAqua);
  EXPECT_EQ(LookBackground(nullptr), stdlook::WindowBack);
  EXPECT_EQ(LookTextColor(clWindowText), stdlook::Text);
  EXPECT_EQ(LookTextColor(clRed), clRed);
}

// Every control paints at a zero size and takes a negative one as zero, without failing.
TEST_F(LookTest, EveryControlSurvivesZeroAndNegativeSizes) {
  TForm* F = NewForm();
  Integer Failures = 0;
  Application->OnException = [&](TObject*, const Exception&) { ++Failures; };
  std::vector<TControl*> All = {new TLabel(F),       new TButton(F),   new TCheckBox(F),
                                new TRadioButton(F), new TGroupBox(F), new TPanel(F),
                                new TBevel(F),       new TSplitter(F), new TImage(F)};
  for (TControl* C : All) {
    C->SetCaption("&Caption");
    if (auto* L = dynamic_cast<TLabel*>(C)) L->SetAutoSize(false);
    C->SetBounds(10, 10, -5, -7);
    EXPECT_EQ(C->Width(), 0) << C->ClassName();
    EXPECT_EQ(C->Height(), 0) << C->ClassName();
    C->SetParent(F);
  }
  auto B = FilledBitmap(2, 2, pf24bit, clRed);
  static_cast<TImage*>(All.back())->Picture()->SetGraphic(B.get());
  static_cast<TImage*>(All.back())->SetProportional(true);
  EXPECT_NE(PaintedPixel(F->Handle(), 5, 5), CLR_INVALID);
  for (TControl* C : All) C->SetBounds(10, 10, 1, 1);
  EXPECT_NE(PaintedPixel(F->Handle(), 5, 5), CLR_INVALID);
  EXPECT_EQ(Failures, 0);
}

}  // namespace
