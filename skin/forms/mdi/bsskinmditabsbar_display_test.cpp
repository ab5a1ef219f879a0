// A skinned MDI main form on a real display with its tabs bar along the top and two children: the
// active child's tab shows the skin's active tab picture, the other the normal one, and a click on
// the other tab brings its child forward. The screenshot is written beside the test program as
// skinforms_mditabs_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskinrecordsbars.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/mdi/bsskinmditabsbar.h"

namespace {

class MDITabsBarDisplay : public TDisplayTest<TSkinControlTest> {};

TEST_F(MDITabsBarDisplay, ActiveChildsTabShowsTheActivePictureAndAClickSwitchesIt) {
  // The generated skin draws the bar's background from the tab element's own normal cell.
  auto* Tab = dynamic_cast<TbsDataSkinTabControl*>(Skin->Ctrls(Skin->GetControlIndex("tab")));
  ASSERT_NE(Tab, nullptr);
  Tab->TabsBGRect = Tab->SkinRect;

  TForm* Main;
  Application->CreateForm(Main);
  Main->SetFormStyle(fsMDIForm);
  Main->SetBounds(40, 40, 520, 360);
  Main->SetCaption("Nerivo 主窗口");
  auto* Engine = new TbsSkinForm(Main);
  Engine->SetSkinData(Skin.get());
  auto* Bar = new TbsSkinMDITabsBar(Main);
  Bar->SetParent(Main);
  Bar->SetAlign(alTop);
  Bar->SetShowCloseButtons(true);
  Bar->SetSkinForm(Engine);
  Bar->SetSkinData(Skin.get());
  Engine->SetMDITabsBar(Bar);
  Main->Show();

  auto child = [&](const String& Name, const String& Caption, Integer X) {
    auto* F = new TForm(Application);
    F->AfterConstruction();
    F->SetFormStyle(fsMDIChild);
    F->SetName(Name);
    F->SetCaption(Caption);
    F->SetBounds(X, 10, 220, 150);
    (new TbsSkinForm(F))->SetSkinData(Skin.get());
    F->Show();
    return F;
  };
  TForm* First = child("First", "文件 1", 10);
  TForm* Second = child("Second", "Video 2", 150);
  ASSERT_EQ(Bar->TabCount(), 2);

  // A corner pixel of each tab: the active (down) cell for the active child, the normal one otherwise.
  auto tabShows = [&](Integer I, int State) {
    return PumpUntil([&] {
      const TRect& R = Bar->Tabs(I)->ObjectRect;
      return ScreenAt(Bar, R.Left + 1, 1) == SliceColor("tab", State, 0);
    });
  };
  EXPECT_TRUE(tabShows(1, 2)) << "the second child is active";
  EXPECT_TRUE(tabShows(0, 1));

  TRect W;
  GetWindowRect(Main->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinforms_mditabs_display.png");

  const TRect& R0 = Bar->Tabs(0)->ObjectRect;
  wintest::Click(Bar->ClientToScreen(Point(R0.Left + 10, RectHeight(R0) / 2)));
  EXPECT_TRUE(PumpUntil([&] { return Main->ActiveMDIChild() == First; }));
  EXPECT_TRUE(tabShows(0, 2));
  EXPECT_TRUE(tabShows(1, 1));
  (void)Second;
}

}  // namespace

#endif
