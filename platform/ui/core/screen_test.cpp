#include "platform/ui/core/screen.h"

#include <gtest/gtest.h>

#include "platform/ui/core/application.h"
#include "platform/ui/core/form.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

TEST_F(TUiTest, ScreenListsFormsInCreationOrder) {
  TForm *A, *B, *C;
  Application->CreateForm(A);
  Application->CreateForm(B);
  Application->CreateForm(C);
  ASSERT_EQ(Screen->FormCount(), 3);
  EXPECT_EQ(Screen->Forms(0), A);
  EXPECT_EQ(Screen->Forms(1), B);
  EXPECT_EQ(Screen->Forms(2), C);
  EXPECT_EQ(Application->MainForm(), A);
  delete B;
  ASSERT_EQ(Screen->FormCount(), 2);
  EXPECT_EQ(Screen->Forms(1), C);
  EXPECT_THROW(Screen->Forms(2), EListError);
}

}  // namespace

namespace {

// The screen object reads the platform's metrics each time: a changed work area shows at once, in the
// monitor too, and forms centred on the screen centre in it.
TEST_F(TUiTest, ScreenSizeAndWorkAreaComeFromThePlatform) {
  EXPECT_EQ(Screen->Width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(Screen->Height(), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_GT(Screen->Width(), 0);
  TRect Saved;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &Saved, 0));
  EXPECT_EQ(Screen->WorkAreaRect(), Saved);

  TRect Panel = Rect(0, 40, Screen->Width(), Screen->Height() - 30);  // bars at the top and bottom
  ASSERT_TRUE(SystemParametersInfo(SPI_SETWORKAREA, 0, &Panel, 0));
  EXPECT_EQ(Screen->WorkAreaRect(), Panel);
  EXPECT_EQ(Screen->WorkAreaTop(), 40);
  EXPECT_EQ(Screen->WorkAreaHeight(), Screen->Height() - 70);
  ASSERT_EQ(Screen->MonitorCount(), 1);
  EXPECT_EQ(Screen->Monitors(0)->WorkareaRect(), Panel);
  EXPECT_EQ(Screen->Monitors(0)->BoundsRect(), Rect(0, 0, Screen->Width(), Screen->Height()));

  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(0, 0, 400, 300);
  F->SetPosition(poScreenCenter);
  F->Show();
  EXPECT_EQ(F->Left(), (Screen->Width() - 400) / 2);
  EXPECT_EQ(F->Top(), 40 + (Screen->Height() - 70 - 300) / 2);
  SystemParametersInfo(SPI_SETWORKAREA, 0, &Saved, 0);
}

}  // namespace
