#include "platform/ui/comctrls/trackbar.h"

#include <gtest/gtest.h>

#include "platform/ui/stdctrls/stdlook.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

class TrackBarTest : public TUiTest {
 protected:
  void SetUp() override {
    TUiTest::SetUp();
    Form = NewForm();
    Bar = NewControl<TTrackBar>(Form, Bounds(10, 10, 211, 32));
    Bar->SetMax(10);
    Bar->SetPageSize(3);
    Bar->OnChange = [this](TObject*) { Changes.push_back(Bar->Position()); };
    Bar->SetFocus();
  }
  TForm* Form = nullptr;
  TTrackBar* Bar = nullptr;
  std::vector<Integer> Changes;
};

struct TKeyCase {
  Integer From;
  Word Key;
  Integer To;
};

TEST_F(TrackBarTest, KeysMoveThePositionByLinePageOrToTheEnds) {
  const TKeyCase Cases[] = {
      {5, VK_RIGHT, 6},   {5, VK_DOWN, 6},  {5, VK_LEFT, 4}, {5, VK_UP, 4},
      {5, VK_NEXT, 8},    {5, VK_PRIOR, 2}, {5, VK_HOME, 0}, {5, VK_END, 10},
      {10, VK_RIGHT, 10}, {9, VK_NEXT, 10}, {0, VK_LEFT, 0}, {1, VK_PRIOR, 0},
  };
  for (const TKeyCase& C : Cases) {
    Bar->SetPosition(C.From);
    Changes.clear();
    wintest::KeyPress(C.Key);
    EXPECT_EQ(Bar->Position(), C.To) << "from " << C.From << " key " << C.Key;
    // OnChange once for a move, never for a key that hits an end.
    EXPECT_EQ(Changes, C.To == C.From ? std::vector<Integer>{} : std::vector<Integer>{C.To});
    // The arrows belong to the bar: the focus stays.
    EXPECT_TRUE(Bar->Focused());
  }
}

TEST_F(TrackBarTest, RangeChangesKeepThePositionInside) {
  Bar->SetPosition(8);
  Changes.clear();
  Bar->SetMax(5);
  EXPECT_EQ(Bar->Position(), 5);
  EXPECT_EQ(Changes, std::vector<Integer>{5});
  Bar->SetMin(7);  // past the maximum: the maximum follows
  EXPECT_EQ(Bar->Min(), 7);
  EXPECT_EQ(Bar->Max(), 7);
  EXPECT_EQ(Bar->Position(), 7);
  Bar->SetPosition(-100);
  EXPECT_EQ(Bar->Position(), 7);
}

TEST_F(TrackBarTest, AClickInTheChannelPagesAndDraggingTheThumbFollowsTheMouse) {
  HWND W = Bar->Handle();
  Bar->SetPosition(5);
  const TRect Thumb = Bar->ThumbRect();
  const Integer MidY = Thumb.Top + Thumb.Height() / 2;
  wintest::Click(wintest::ScreenPoint(W, 200, MidY));
  EXPECT_EQ(Bar->Position(), 8);
  wintest::Click(wintest::ScreenPoint(W, 2, MidY));
  EXPECT_EQ(Bar->Position(), 5);

  // Drag from the thumb's centre: the 200-pixel channel holds 10 steps of 20 pixels.
  const TRect T = Bar->ThumbRect();
  const Integer CX = T.Left + T.Width() / 2;
  wintest::MouseDown(wintest::ScreenPoint(W, CX, MidY));
  wintest::MouseMove(wintest::ScreenPoint(W, CX + 41, MidY));
  EXPECT_EQ(Bar->Position(), 7);
  wintest::MouseMove(wintest::ScreenPoint(W, 500, MidY));
  EXPECT_EQ(Bar->Position(), 10);
  wintest::MouseUp(wintest::ScreenPoint(W, 500, MidY));
  wintest::MouseMove(wintest::ScreenPoint(W, CX, MidY));
  EXPECT_EQ(Bar->Position(), 10);  // released: moving no longer drags
}

TEST_F(TrackBarTest, PaintsTheChannelInTheAccentUpToTheThumb) {
  Bar->SetPosition(5);
  const TRect T = Bar->ThumbRect();
  EXPECT_EQ(T.Left, 100);
  const Integer MidY = 16;
  HWND W = Bar->Handle();
  EXPECT_EQ(PaintedPixel(W, 50, MidY), COLORREF(stdlook::Accent));
  EXPECT_EQ(PaintedPixel(W, 160, MidY), COLORREF(stdlook::Track));
  // The focused thumb: an accent border around a white face.
  EXPECT_EQ(PaintedPixel(W, T.Left + 5, T.Top), COLORREF(stdlook::Accent));
  EXPECT_EQ(PaintedPixel(W, T.Left + 5, T.Top + 4), COLORREF(stdlook::Face));
  // Vertical: the accent runs from the top down to the thumb.
  Bar->SetOrientation(trVertical);
  EXPECT_EQ(Bar->Width(), 32);
  EXPECT_EQ(Bar->Height(), 211);
  EXPECT_EQ(PaintedPixel(W, 16, 50), COLORREF(stdlook::Accent));
  EXPECT_EQ(PaintedPixel(W, 16, 160), COLORREF(stdlook::Track));
}

}  // namespace
