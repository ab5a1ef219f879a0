#include "platform/win/testkit/win_test_util.h"

using namespace wintest;

namespace {
COLORREF pixelAt(HWND w, Integer x, Integer y) {
  POINT p{x, y};
  ClientToScreen(w, &p);
  return BitmapPixel(WinWindowSurface(w), p.X, p.Y);
}
}  // namespace

TEST_F(WinTest, CaretIsCreatedHiddenThenBlinksOnTheClockByInvertingTheWindow) {
  HWND w = Popup({0, 0, 60, 40});
  Pump();
  const COLORREF Back = pixelAt(w, 11, 6);
  ASSERT_TRUE(CreateCaret(w, nullptr, 2, 10));
  SetCaretPos(10, 5);
  EXPECT_FALSE(WinCaretDrawn());
  ASSERT_TRUE(ShowCaret(w));
  EXPECT_TRUE(WinCaretDrawn());
  EXPECT_EQ(pixelAt(w, 11, 6), Back ^ 0xFFFFFF);
  EXPECT_EQ(pixelAt(w, 12, 6), Back);  // two pixels wide, no more

  AdvanceTime(Env.Clock(), GetCaretBlinkTime());
  EXPECT_FALSE(WinCaretDrawn());
  EXPECT_EQ(pixelAt(w, 11, 6), Back);
  AdvanceTime(Env.Clock(), GetCaretBlinkTime());
  EXPECT_TRUE(WinCaretDrawn());

  // Hiding nests: two hides need two shows.
  HideCaret(w);
  HideCaret(w);
  EXPECT_EQ(pixelAt(w, 11, 6), Back);
  ShowCaret(w);
  EXPECT_FALSE(WinCaretDrawn());
  ShowCaret(w);
  EXPECT_TRUE(WinCaretDrawn());
}

TEST_F(WinTest, PaintingTakesTheCaretOffAndPutsItBack) {
  HWND w = Popup({0, 0, 60, 40});
  Pump();
  CreateCaret(w, nullptr, 1, 8);
  SetCaretPos(4, 4);
  ShowCaret(w);
  bool drawnWhilePainting = true;
  On(w, [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_PAINT) return std::nullopt;
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    drawnWhilePainting = WinCaretDrawn();
    EndPaint(h, &ps);
    return 0;
  });
  InvalidateRect(w, nullptr, true);
  UpdateWindow(w);
  EXPECT_FALSE(drawnWhilePainting);
  EXPECT_TRUE(WinCaretDrawn());
}

TEST_F(WinTest, CaretBelongsToOneWindowAndDiesWithIt) {
  HWND a = Popup({0, 0, 40, 40});
  HWND b = Popup({50, 0, 40, 40});
  CreateCaret(a, nullptr, 1, 8);
  EXPECT_FALSE(ShowCaret(b));
  EXPECT_TRUE(ShowCaret(a));
  CreateCaret(b, nullptr, 1, 8);  // moves: the old one is gone from a
  EXPECT_EQ(WinCaretOwner(), b);
  DestroyWindow(b);
  EXPECT_EQ(WinCaretOwner(), nullptr);
  EXPECT_FALSE(SetCaretPos(1, 1));
}
