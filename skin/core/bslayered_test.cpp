#include "skin/core/bslayered.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/clock.h"
#include "skin/core/bssystem.h"

namespace {

// Every push goes through the UpdateLayeredWindow entry, which the fixture wraps to record them; the
// fake clock drives the fade timer.
struct Push {
  HWND Wnd;
  TPoint Position;
  Integer Alpha;
  bool PerPixel;
};
std::vector<Push> pushes;
TUpdateLayeredWindowProc realUpdate = nullptr;

bool recordingUpdate(HWND Wnd, HDC Dst, const POINT* DstPoint, const SIZE* Size, HDC Src,
                     const POINT* SrcPoint, COLORREF Key, const BLENDFUNCTION* Blend, DWORD Flags) {
  pushes.push_back(
      {Wnd, *DstPoint, Blend->SourceConstantAlpha, Flags == ULW_ALPHA && Blend->AlphaFormat == AC_SRC_ALPHA});
  return realUpdate(Wnd, Dst, DstPoint, Size, Src, SrcPoint, Key, Blend, Flags);
}

struct LayerFixture : testing::Test {
  TFakeClock Clock{1000000};
  TBitmap Image{4, 3};
  TBitmap Mask{4, 3};
  void SetUp() override {
    Clock.Install();
    Image.Canvas()->Brush()->SetColor(TColor(RGB(200, 100, 50)));
    Image.Canvas()->FillRect(Rect(0, 0, 4, 3));
    Mask.Canvas()->Brush()->SetColor(clWhite);
    Mask.Canvas()->FillRect(Rect(0, 0, 4, 3));
    pushes.clear();
    realUpdate = UpdateLayeredWindowProc;
    UpdateLayeredWindowProc = recordingUpdate;
  }
  void TearDown() override {
    UpdateLayeredWindowProc = realUpdate;
    WinResetForTests();
    Clock.Uninstall();
  }
  std::vector<Integer> Opacities(HWND Wnd = nullptr) {
    std::vector<Integer> out;
    for (const Push& p : pushes)
      if (Wnd == nullptr || p.Wnd == Wnd) out.push_back(p.Alpha);
    return out;
  }
  void Tick(Integer Count = 1) {
    for (Integer i = 0; i < Count; ++i) {
      Clock.Advance(25);
      WinProcessMessages();
    }
  }
};

TEST_F(LayerFixture, FadesInByTenthsUnderTheClock) {
  struct Case {
    Integer Final;
    std::vector<Integer> Seen;
  } cases[] = {
      {255, {0, 25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}},
      {5, {0, 1, 2, 3, 4, 5}},
      {0, {0, 0}},
  };
  for (const Case& c : cases) {
    pushes.clear();
    TbsLayerManager m(nullptr);
    m.Show(100, 50, &Image, &Mask, c.Final);
    EXPECT_TRUE(m.IsVisible);
    EXPECT_TRUE(m.Timer->Enabled());
    Tick(Integer(c.Seen.size()) + 3);
    EXPECT_EQ(Opacities(), c.Seen) << c.Final;
    EXPECT_FALSE(m.Timer->Enabled());
    EXPECT_EQ(m.BeginAlphaBlendValue, c.Final);
  }
}

TEST_F(LayerFixture, LayerWindowIsAToolPopupAtTheGivenPlace) {
  TbsLayerManager m(nullptr);
  m.Show(100, 50, &Image, &Mask, 255);
  const HWND wnd = m.LayerWindow->Handle();
  EXPECT_EQ(DWORD(GetWindowLong(wnd, GWL_STYLE)) & (WS_POPUP | WS_CHILD | WS_CAPTION), WS_POPUP);
  const DWORD ex = DWORD(GetWindowLong(wnd, GWL_EXSTYLE));
  EXPECT_EQ(ex & (WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_LAYERED | WS_EX_TOPMOST),
            WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_LAYERED | WS_EX_TOPMOST);
  EXPECT_TRUE(IsWindowVisible(wnd));
  TRect r;
  GetWindowRect(wnd, &r);
  EXPECT_EQ(r, Rect(100, 50, 104, 53));
  EXPECT_EQ(SendMessage(wnd, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
  ASSERT_FALSE(pushes.empty());
  EXPECT_EQ(pushes[0].Wnd, wnd);
  EXPECT_EQ(pushes[0].Position, Point(100, 50));
  EXPECT_TRUE(pushes[0].PerPixel);

  TbsLayerManager below(nullptr);
  below.TopMostMode = false;
  below.Show(0, 0, &Image, &Mask, 255);
  EXPECT_EQ(DWORD(GetWindowLong(below.LayerWindow->Handle(), GWL_EXSTYLE)) & WS_EX_TOPMOST, 0u);
}

TEST_F(LayerFixture, ShowAgainReplacesAndHideRemoves) {
  TbsLayerManager m(nullptr);
  m.Show(10, 10, &Image, &Mask, 100);
  Tick(3);
  const HWND first = m.LayerWindow->Handle();
  m.Show(20, 20, &Image, &Mask, 100);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(m.BeginAlphaBlendValue, 0);
  const HWND second = m.LayerWindow->Handle();
  pushes.clear();
  Tick();
  EXPECT_EQ(Opacities(second), (std::vector<Integer>{10}));

  m.Hide();
  EXPECT_FALSE(m.IsVisible);
  EXPECT_EQ(m.LayerWindow, nullptr);
  EXPECT_EQ(m.Bmp, nullptr);
  EXPECT_FALSE(IsWindow(second));
  EXPECT_FALSE(m.Timer->Enabled());
  Tick(3);
  EXPECT_EQ(Opacities().size(), 1u);
  m.Hide();  // nothing shown: only the timer stops
  m.Update();
  EXPECT_EQ(m.LayerWindow, nullptr);
}

TEST_F(LayerFixture, WithoutTheEntryTheWindowShowsButGetsNoPicture) {
  UpdateLayeredWindowProc = nullptr;
  TbsLayerManager m(nullptr);
  m.Show(0, 0, &Image, &Mask, 255);
  Tick(12);
  EXPECT_TRUE(IsWindowVisible(m.LayerWindow->Handle()));
  EXPECT_TRUE(Opacities().empty());
  EXPECT_FALSE(m.Timer->Enabled());
}

TEST_F(LayerFixture, AlphaFromTheMaskWithColoursCapped) {
  Mask.Canvas()->SetPixels(0, 0, TColor(RGB(128, 128, 128)));
  Mask.Canvas()->SetPixels(1, 0, TColor(RGB(255, 255, 254)));
  TbsLayerManager m(nullptr);
  TbsBitmap bmp;
  m.AlphaBitmapFromImageMask(&Image, &Mask, &bmp);
  ASSERT_EQ(bmp.Width(), 4);
  EXPECT_EQ(bmp.Bits()[0], 0x80806432u);  // alpha 128: red 200 lowered to 128
  EXPECT_EQ(bmp.Bits()[1], 0xFEC86432u);  // 764 / 3 = 254
  EXPECT_EQ(bmp.Bits()[2], 0xFFC86432u);

  // A mask smaller than the picture: what it lacks is transparent, nothing is read past it.
  TBitmap small(2, 1);
  small.Canvas()->Brush()->SetColor(clWhite);
  small.Canvas()->FillRect(Rect(0, 0, 2, 1));
  m.AlphaBitmapFromImageMask(&Image, &small, &bmp);
  EXPECT_EQ(bmp.Bits()[1], 0xFFC86432u);
  EXPECT_EQ(bmp.Bits()[2], 0x00000000u);
  EXPECT_EQ(bmp.GetPixelPtr(0, 2)[0], 0x00000000u);
}

}  // namespace
