// Showing, raising or focusing a visible MDI child makes it the client's active child, as a click
// would; top-level forms keep raising without activation.
#include <gtest/gtest.h>

#include <functional>

#include "platform/ui/core/application.h"
#include "platform/ui/core/form.h"
#include "platform/ui/testkit/uitestkit.h"
#include "platform/win/mdi.h"

namespace {

class TMDIShowTest : public TUiTest {
 protected:
  // Outlives the test's forms, whose teardown still reports.
  std::vector<String> Log;
  TForm* Main = nullptr;

  void SetUp() override {
    TUiTest::SetUp();
    Application->CreateForm(Main);
    Main->SetFormStyle(fsMDIForm);
    Main->SetBoundsRect(Rect(50, 50, 550, 450));
    Main->Show();
  }
  TForm* NewChild(const String& Name) {
    auto* F = new TForm(Application);
    F->AfterConstruction();
    F->SetFormStyle(fsMDIChild);
    F->SetName(Name);
    F->SetBounds(10, 10, 200, 150);
    F->OnActivate = [this, Name](TObject*) { Log.push_back("activate " + Name); };
    F->OnDeactivate = [this, Name](TObject*) { Log.push_back("deactivate " + Name); };
    F->Show();
    return F;
  }
  HWND TopChild() const { return GetWindow(Main->ClientHandle(), GW_CHILD); }
};

struct TWay {
  const char* Name;
  std::function<void(TCustomForm*)> Call;
};

const TWay Ways[] = {
    {"Show", [](TCustomForm* F) { F->Show(); }},
    {"BringToFront", [](TCustomForm* F) { F->BringToFront(); }},
    {"SetFocus", [](TCustomForm* F) { F->SetFocus(); }},
};

}  // namespace

TEST_F(TMDIShowTest, VisibleChildShownRaisedOrFocusedBecomesTheActiveChild) {
  TForm* A = NewChild("A");
  TForm* B = NewChild("B");
  for (const TWay& Way : Ways) {
    SCOPED_TRACE(Way.Name);
    TForm* Other = Main->ActiveMDIChild() == A ? B : A;
    TForm* Was = Other == A ? B : A;
    Log.clear();
    Way.Call(Other);
    EXPECT_EQ(Main->ActiveMDIChild(), Other);
    EXPECT_TRUE(Other->Active());
    EXPECT_FALSE(Was->Active());
    EXPECT_EQ(TopChild(), Other->Handle());
    EXPECT_EQ(Log, (std::vector<String>{"deactivate " + Was->Name(), "activate " + Other->Name()}));
    EXPECT_TRUE(GetFocus() == Other->Handle() || IsChild(Other->Handle(), GetFocus()));
    // Asked again, the active child stays as it is and tells nobody.
    Log.clear();
    Way.Call(Other);
    EXPECT_EQ(Main->ActiveMDIChild(), Other);
    EXPECT_TRUE(Log.empty());
  }
}

TEST_F(TMDIShowTest, ShownChildTakesOverTheMaximizedState) {
  TForm* A = NewChild("A");
  TForm* B = NewChild("B");
  B->SetWindowState(wsMaximized);
  ASSERT_EQ(Main->ActiveMDIChild(), B);
  A->Show();
  EXPECT_EQ(Main->ActiveMDIChild(), A);
  EXPECT_EQ(A->WindowState(), wsMaximized);
  EXPECT_EQ(B->WindowState(), wsNormal);
}

TEST_F(TMDIShowTest, HiddenChildRaisedStaysHiddenAndInactive) {
  TForm* A = NewChild("A");
  TForm* B = NewChild("B");
  A->Hide();
  ASSERT_EQ(Main->ActiveMDIChild(), B);
  Log.clear();
  A->BringToFront();
  EXPECT_EQ(Main->ActiveMDIChild(), B);
  EXPECT_FALSE(IsWindowVisible(A->Handle()));
  EXPECT_TRUE(Log.empty());
  // Shown again, it is active at once.
  A->Show();
  EXPECT_EQ(Main->ActiveMDIChild(), A);
  EXPECT_EQ(Log, (std::vector<String>{"deactivate B", "activate A"}));
}

TEST_F(TMDIShowTest, TopLevelFormRaisedIsNotActivated) {
  TForm* Other = new TForm(Application);
  Other->AfterConstruction();
  Other->Show();
  Main->SetFocus();
  ASSERT_EQ(GetActiveWindow(), Main->Handle());
  Other->BringToFront();
  EXPECT_EQ(GetActiveWindow(), Main->Handle());
  EXPECT_FALSE(Other->Active());
}
