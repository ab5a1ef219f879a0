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
