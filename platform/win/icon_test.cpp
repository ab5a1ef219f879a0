// Icons: made from bitmaps, drawn onto a known background and read back pixel by pixel; the stock
// icons; copies and sizes; the window's icons as the native window gets them.
#include <gtest/gtest.h>

#include <vector>

#include "platform/win/testkit/testkit.h"

using namespace wintest;

namespace {

// B, G, R, A words.
constexpr uint32_t Argb(Byte a, Byte r, Byte g, Byte b) {
  return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}

HBITMAP Dib32(Integer w, Integer h, const std::vector<uint32_t>& words) {
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::copy(words.begin(), words.end(), static_cast<uint32_t*>(bits));
  return bmp;
}

// A monochrome bitmap from rows of '1' (white: the screen shows through) and '0'.
HBITMAP Mono(const std::vector<std::string>& rows) {
  Integer w = Integer(rows[0].size()), h = Integer(rows.size()), stride = ((w + 15) / 16) * 2;
  std::vector<Byte> bits(size_t(stride) * h, 0);
  for (Integer y = 0; y < h; ++y) {
    for (Integer x = 0; x < w; ++x) {
      if (rows[y][x] == '1') bits[size_t(y) * stride + x / 8] |= Byte(0x80 >> (x % 8));
    }
  }
  return CreateBitmap(w, h, 1, 1, bits.data());
}

HICON MakeIcon(HBITMAP color, HBITMAP mask) {
  ICONINFO ii;
  ii.hbmColor = color;
  ii.hbmMask = mask;
  HICON icon = CreateIconIndirect(&ii);
  if (color) DeleteObject(color);  // the icon keeps its own copies
  if (mask) DeleteObject(mask);
  return icon;
}

// A memory DC over a 32-bit surface filled with one colour.
class TCanvas {
 public:
  TCanvas(Integer w, Integer h, COLORREF fill) : FBitmap(Dib32(w, h, std::vector<uint32_t>(size_t(w) * h))) {
    FDc = CreateCompatibleDC(nullptr);
    FOld = SelectObject(FDc, FBitmap);
    TRect r{0, 0, w, h};
    HBRUSH b = CreateSolidBrush(fill);
    FillRect(FDc, &r, b);
    DeleteObject(b);
  }
  ~TCanvas() {
    SelectObject(FDc, FOld);
    DeleteDC(FDc);
    DeleteObject(FBitmap);
  }
  HDC Dc() const { return FDc; }
  COLORREF At(Integer x, Integer y) const { return GetPixel(FDc, x, y); }

 private:
  HBITMAP FBitmap;
  HDC FDc;
  HGDIOBJ FOld;
};

constexpr COLORREF kGround = RGB(10, 200, 30);

class IconTest : public ::testing::Test {
 protected:
  TWinTestEnvironment Env;
};

}  // namespace

TEST_F(IconTest, AlphaIconsBlendAndMaskedIconsCutThrough) {
  // One row of four pixels, drawn over the green ground.
  struct TCase {
    const char* Name;
    std::vector<uint32_t> Colour;
    std::vector<std::string> Mask;  // empty: no mask
    std::vector<COLORREF> Want;
  };
  const TCase cases[] = {
      {"alpha: opaque, half, clear; the mask is not used",
       {Argb(255, 200, 0, 0), Argb(128, 255, 255, 255), Argb(0, 0, 0, 0), Argb(255, 0, 0, 255)},
       {"1111"},
       {RGB(200, 0, 0), RGB(133, 228, 143), kGround, RGB(0, 0, 255)}},
      {"no alpha: the mask cuts, black shows the ground, colour on a set mask inverts",
       {Argb(0, 200, 0, 0), Argb(0, 0, 0, 0), Argb(0, 255, 255, 255), Argb(0, 0, 0, 255)},
       {"0110"},
       {RGB(200, 0, 0), kGround, RGB(245, 55, 225), RGB(0, 0, 255)}},
      {"alpha without a mask: the alpha decides",
       {Argb(255, 200, 0, 0), Argb(0, 0, 0, 0), Argb(255, 1, 2, 3), Argb(0, 9, 9, 9)},
       {},
       {RGB(200, 0, 0), kGround, RGB(1, 2, 3), kGround}},
      {"neither alpha nor mask: opaque",
       {Argb(0, 200, 0, 0), Argb(0, 0, 0, 0), Argb(0, 1, 2, 3), Argb(0, 9, 9, 9)},
       {},
       {RGB(200, 0, 0), RGB(0, 0, 0), RGB(1, 2, 3), RGB(9, 9, 9)}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    HICON icon = MakeIcon(Dib32(4, 1, c.Colour), c.Mask.empty() ? nullptr : Mono(c.Mask));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(WinIconSize(icon), (TSize{4, 1}));
    TCanvas canvas(6, 3, kGround);
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 1, 1, icon, 0, 0, 0, nullptr, DI_NORMAL));
    for (Integer x = 0; x < 4; ++x) EXPECT_EQ(canvas.At(1 + x, 1), c.Want[x]) << "pixel " << x;
    EXPECT_EQ(canvas.At(0, 1), kGround);
    EXPECT_EQ(canvas.At(5, 1), kGround);
    EXPECT_EQ(canvas.At(1, 0), kGround);
    EXPECT_TRUE(DestroyIcon(icon));
  }
}

TEST_F(IconTest, DrawingFlagsSizesAndTheBackgroundBrush) {
  HICON icon =
      MakeIcon(Dib32(2, 2, {Argb(0, 255, 0, 0), Argb(0, 0, 0, 0), Argb(0, 0, 0, 0), Argb(0, 0, 0, 255)}),
               Mono({"01", "10"}));
  ASSERT_NE(icon, nullptr);
  {  // Stretched to 4 x 4: each pixel becomes a 2 x 2 block.
    TCanvas canvas(4, 4, kGround);
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 4, 4, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(2, 1), kGround);
    EXPECT_EQ(canvas.At(3, 3), RGB(0, 0, 255));
  }
  {  // The mask alone and the picture alone are copied as they are.
    TCanvas canvas(4, 2, kGround);
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_MASK));
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 2, 0, icon, 0, 0, 0, nullptr, DI_IMAGE));
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(1, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(3, 0), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(2, 0), RGB(255, 0, 0));
  }
  {  // A brush fills under the see-through pixels.
    TCanvas canvas(2, 2, kGround);
    HBRUSH grey = CreateSolidBrush(RGB(90, 90, 90));
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 0, 0, 0, grey, DI_NORMAL));
    DeleteObject(grey);
    EXPECT_EQ(canvas.At(1, 0), RGB(90, 90, 90));
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 0));
  }
  // DI_DEFAULTSIZE draws at the system icon size.
  TCanvas big(40, 40, kGround);
  ASSERT_TRUE(DrawIconEx(big.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE));
  EXPECT_EQ(big.At(31, 31), RGB(0, 0, 255));
  EXPECT_EQ(big.At(32, 32), kGround);
  // Refused: a negative size, no drawing flag, no DC.
  EXPECT_FALSE(DrawIconEx(big.Dc(), 0, 0, icon, -1, 4, 0, nullptr, DI_NORMAL));
  EXPECT_FALSE(DrawIconEx(big.Dc(), 0, 0, icon, 4, 4, 0, nullptr, 0));
  EXPECT_FALSE(DrawIconEx(nullptr, 0, 0, icon, 4, 4, 0, nullptr, DI_NORMAL));
  DestroyIcon(icon);
}

TEST_F(IconTest, BadInputIsRefusedWithoutHarm) {
  EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
  ICONINFO none;
  EXPECT_EQ(CreateIconIndirect(&none), nullptr);  // neither picture nor mask
  none.hbmMask = Mono({"01"});                    // a monochrome icon needs a double-height mask
  EXPECT_EQ(CreateIconIndirect(&none), nullptr);
  DeleteObject(none.hbmMask);
  ICONINFO deleted;
  deleted.hbmColor = Dib32(2, 2, std::vector<uint32_t>(4));
  DeleteObject(deleted.hbmColor);
  EXPECT_EQ(CreateIconIndirect(&deleted), nullptr);

  HICON icon = MakeIcon(Dib32(1, 1, {Argb(255, 1, 2, 3)}), nullptr);
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(DestroyIcon(icon));
  // A freed icon is no icon any more.
  EXPECT_FALSE(DestroyIcon(icon));
  TCanvas canvas(2, 2, kGround);
  EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
  ICONINFO ii;
  EXPECT_FALSE(GetIconInfo(icon, &ii));
  EXPECT_EQ(CopyImage(icon, IMAGE_ICON, 0, 0, 0), nullptr);
  EXPECT_EQ(WinIconSize(icon), (TSize{0, 0}));
  EXPECT_EQ(canvas.At(0, 0), kGround);
}

TEST_F(IconTest, MonochromeIconsAndGetIconInfoRoundTrip) {
  // AND rows over XOR rows: opaque black, opaque white, the ground, the ground inverted.
  HICON mono = MakeIcon(nullptr, Mono({"0011", "0101"}));
  ASSERT_NE(mono, nullptr);
  EXPECT_EQ(WinIconSize(mono), (TSize{4, 1}));
  TCanvas canvas(4, 1, kGround);
  DrawIconEx(canvas.Dc(), 0, 0, mono, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(canvas.At(1, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.At(2, 0), kGround);
  EXPECT_EQ(canvas.At(3, 0), RGB(245, 55, 225));
  DestroyIcon(mono);

  // The bitmaps come back as new ones; an icon made from them draws the same.
  HICON icon = MakeIcon(Dib32(2, 1, {Argb(0, 255, 0, 0), Argb(0, 0, 0, 0)}), Mono({"01"}));
  ICONINFO ii;
  ASSERT_TRUE(GetIconInfo(icon, &ii));
  EXPECT_TRUE(ii.fIcon);
  BITMAP bm;
  ASSERT_NE(GetObject(ii.hbmMask, sizeof(bm), &bm), 0);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  ASSERT_NE(GetObject(ii.hbmColor, sizeof(bm), &bm), 0);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(bm.bmWidth, 2);
  HICON again = CreateIconIndirect(&ii);
  DeleteObject(ii.hbmColor);
  DeleteObject(ii.hbmMask);
  TCanvas a(2, 1, kGround), b(2, 1, kGround);
  DrawIconEx(a.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  DrawIconEx(b.Dc(), 0, 0, again, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(a.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(a.At(1, 0), kGround);
  EXPECT_EQ(b.At(0, 0), a.At(0, 0));
  EXPECT_EQ(b.At(1, 0), a.At(1, 0));
  DestroyIcon(icon);
  DestroyIcon(again);
}

TEST_F(IconTest, CopiesAreResampledAndMayFreeTheOriginal) {
  // Four 2 x 2 quadrants to 2 x 2: each pixel the average of its quadrant.
  std::vector<uint32_t> px(16);
  for (Integer y = 0; y < 4; ++y) {
    for (Integer x = 0; x < 4; ++x) {
      bool right = x >= 2, bottom = y >= 2;
      uint32_t c = right ? (bottom ? Argb(255, 0, 0, 200) : Argb(255, 0, 100, 0)) : Argb(255, 200, 0, 0);
      if (!right && bottom) c = (x + y) % 2 ? Argb(255, 100, 0, 0) : Argb(255, 200, 0, 0);
      px[size_t(y) * 4 + x] = c;
    }
  }
  HICON icon = MakeIcon(Dib32(4, 4, px), nullptr);
  auto small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 2, 2, 0));
  ASSERT_NE(small, nullptr);
  EXPECT_NE(small, icon);
  EXPECT_EQ(WinIconSize(small), (TSize{2, 2}));
  TSize size;
  std::vector<uint32_t> argb;
  ASSERT_TRUE(WinIconPixels(small, &size, &argb));
  EXPECT_EQ(argb, (std::vector<uint32_t>{Argb(255, 200, 0, 0), Argb(255, 0, 100, 0), Argb(255, 150, 0, 0),
                                         Argb(255, 0, 0, 200)}));
  // The same size with LR_COPYDELETEORG frees the original.
  auto same = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 0, 0, LR_COPYDELETEORG));
  ASSERT_NE(same, nullptr);
  EXPECT_EQ(WinIconSize(same), (TSize{4, 4}));
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_EQ(CopyImage(same, IMAGE_ICON, -1, 2, 0), nullptr);
  // Bitmaps too.
  HBITMAP bmp = Dib32(4, 4, px);
  auto half = static_cast<HBITMAP>(CopyImage(bmp, IMAGE_BITMAP, 2, 2, 0));
  ASSERT_NE(half, nullptr);
  BITMAP bm;
  GetObject(half, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 2);
  DeleteObject(half);
  DeleteObject(bmp);
  DestroyIcon(small);
  DestroyIcon(same);
}

TEST_F(IconTest, StockIconsAreSharedAndDrawnByUs) {
  struct TCase {
    uintptr_t Id;
    TPoint Body;  // a pixel of the coloured body
    COLORREF BodyColour;
    TPoint Glyph;  // a pixel of the glyph on it
    COLORREF GlyphColour;
  };
  const TCase cases[] = {
      {IDI_ERROR, {16, 4}, RGB(0xD9, 0x3C, 0x3C), {16, 16}, RGB(255, 255, 255)},
      {IDI_WARNING, {16, 27}, RGB(0xD9, 0x8E, 0x04), {16, 15}, RGB(0x1F, 0x23, 0x28)},
      {IDI_INFORMATION, {6, 16}, RGB(0x2F, 0x6F, 0xDE), {16, 20}, RGB(255, 255, 255)},
      {IDI_QUESTION, {6, 16}, RGB(0x2F, 0x6F, 0xDE), {16, 23}, RGB(255, 255, 255)},
      {IDI_APPLICATION, {16, 8}, RGB(0x2F, 0x6F, 0xDE), {16, 20}, RGB(255, 255, 255)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Id);
    HICON icon = LoadIcon(nullptr, c.Id);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIcon(nullptr, c.Id), icon);
    EXPECT_EQ(WinIconSize(icon), (TSize{32, 32}));
    TCanvas canvas(32, 32, kGround);
    ASSERT_TRUE(DrawIcon(canvas.Dc(), 0, 0, icon));
    EXPECT_EQ(canvas.At(c.Body.X, c.Body.Y), c.BodyColour);
    EXPECT_EQ(canvas.At(c.Glyph.X, c.Glyph.Y), c.GlyphColour);
    EXPECT_EQ(canvas.At(0, 31), kGround);  // a corner is clear
    // Shared: destroying it leaves it usable.
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_TRUE(DrawIcon(canvas.Dc(), 0, 0, icon));
    // A copy at 16 px is drawn again at that size, not shrunk.
    auto small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(small, nullptr);
    TCanvas s(16, 16, kGround);
    DrawIconEx(s.Dc(), 0, 0, small, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(s.At(c.Body.X / 2, c.Body.Y / 2), c.BodyColour);
    EXPECT_TRUE(DestroyIcon(small));
    EXPECT_FALSE(DestroyIcon(small));
  }
  EXPECT_EQ(LoadIcon(GetModuleHandle(nullptr), IDI_ERROR), nullptr);
  EXPECT_EQ(LoadIcon(nullptr, 1), nullptr);
}

TEST_F(IconTest, TheWindowsIconsReachTheNativeWindow) {
  HICON classIcon = LoadIcon(nullptr, IDI_APPLICATION);
  WNDCLASS wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "IconTestWnd";
  wc.hIcon = classIcon;
  ASSERT_NE(RegisterClass(&wc), 0);
  HWND w = CreateWindowEx(0, "IconTestWnd", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                          nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  // Without icons of its own the window shows its class icon.
  const auto* native = Env.Backend().Native(w);
  ASSERT_NE(native, nullptr);
  ASSERT_EQ(native->Icon.size(), 1u);
  EXPECT_EQ(native->Icon[0].Width, 32);
  EXPECT_EQ(SendMessage(w, WM_GETICON, ICON_BIG, 0), 0);

  HICON big = MakeIcon(
      Dib32(2, 2, {Argb(255, 1, 2, 3), Argb(0, 0, 0, 0), Argb(128, 4, 5, 6), Argb(255, 7, 8, 9)}), nullptr);
  HICON small = MakeIcon(Dib32(1, 1, {Argb(0, 200, 0, 0)}), Mono({"0"}));
  EXPECT_EQ(SendMessage(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big)), 0);
  EXPECT_EQ(SendMessage(w, WM_GETICON, ICON_SMALL2, 0), reinterpret_cast<LRESULT>(big));
  EXPECT_EQ(SendMessage(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small)), 0);
  EXPECT_EQ(SendMessage(w, WM_GETICON, ICON_SMALL2, 0), reinterpret_cast<LRESULT>(small));
  EXPECT_EQ(SendMessage(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big)),
            reinterpret_cast<LRESULT>(big));
  // Big first, straight alpha; an icon without alpha is opaque where its mask lets it show.
  ASSERT_EQ(native->Icon.size(), 2u);
  EXPECT_EQ(native->Icon[0].Argb, (std::vector<uint32_t>{Argb(255, 1, 2, 3), Argb(0, 0, 0, 0),
                                                         Argb(128, 4, 5, 6), Argb(255, 7, 8, 9)}));
  EXPECT_EQ(native->Icon[1].Argb, (std::vector<uint32_t>{Argb(255, 200, 0, 0)}));
  DestroyWindow(w);
  DestroyIcon(big);
  DestroyIcon(small);
  UnregisterClass("IconTestWnd", nullptr);
}
