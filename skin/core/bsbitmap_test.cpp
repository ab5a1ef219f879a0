#include "skin/core/bsbitmap.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/ui/graphics/picture.h"
#include "platform/ui/graphics/pngimage.h"
#include "skin/core/bsstreams.h"
#include "skin/core/testkit/bsbitmaptestkit.h"

namespace {

TEST(ColorHelpers, ConversionsAndPacking) {
  EXPECT_EQ(ColorRefToBsColor(RGB(0x12, 0x34, 0x56)), 0xFF123456u);
  EXPECT_EQ(ColorToBsColor(clRed, 0x40), 0x40FF0000u);
  EXPECT_EQ(ColorToBsColor(clBtnFace, 255), ColorRefToBsColor(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(PackBsColor(300, -4, 0x7F, 0x80), 0x80FF007Fu);
  Integer r = 256, g = -1, b = 17;
  ClampRGB(r, g, b);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 0);
  EXPECT_EQ(b, 17);
  EXPECT_EQ(RectWidth(Rect(10, 0, 4, 3)), -6);
  EXPECT_EQ(RectHeight(Rect(0, 5, 0, 2)), -3);
}

TEST(SkinBitmap, SizeRules) {
  TbsBitmap b;
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.DC(), nullptr);
  b.SetSize(-20, 10);
  EXPECT_EQ(b.Width(), 20);
  EXPECT_EQ(b.Height(), 10);
  EXPECT_FALSE(b.Empty());
  b.SetPixel(3, 4, 0xDEADBEEF);
  b.SetSize(0, 10);  // a sized bitmap is not emptied this way
  EXPECT_EQ(b.Width(), 20);
  b.SetSize(20, -10);  // same size keeps the pixels
  EXPECT_EQ(*b.GetPixelPtr(3, 4), 0xDEADBEEFu);
  b.SetSize(5, 5);  // another size starts from transparent black
  for (TbsColor p : pixelsOf(b)) EXPECT_EQ(p, 0u);
}

TEST(SkinBitmap, TooLargeSizeFailsAndLeavesTheBitmapEmpty) {
  TbsBitmap b;
  b.SetSize(4, 4);
  try {
    b.SetSize(MaxSurfaceSide + 1, 1);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Can't allocate the DIB handle");
  }
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Bits(), nullptr);
  EXPECT_EQ(FindLiveBitmapByDC(nullptr), nullptr);
  b.SetSize(2, 2);  // usable again
  EXPECT_FALSE(b.Empty());
}

TEST(SkinBitmap, RegistryHoldsEachSizedBitmapOnce) {
  HDC former;
  {
    TbsBitmap a, b;
    a.SetSize(2, 2);
    a.SetSize(3, 3);
    a.SetSize(4, 4);
    b.SetSize(1, 1);
    EXPECT_EQ(FindLiveBitmapByDC(a.DC()), &a);
    EXPECT_EQ(FindLiveBitmapByDC(b.DC()), &b);
    former = a.DC();
    TbsBitmap unsized;
    EXPECT_EQ(FindLiveBitmapByDC(unsized.DC()), nullptr);
  }
  EXPECT_EQ(FindLiveBitmapByDC(former), nullptr);
}

TEST(SkinBitmap, CanvasFollowsTheDCAndDrawsIntoThePixels) {
  TbsBitmap b;
  b.SetSize(4, 4);
  TCanvas* canvas = b.Canvas();
  EXPECT_EQ(canvas, b.Canvas());
  b.SetSize(6, 3);
  EXPECT_EQ(canvas->Handle(), b.DC());
  canvas->Brush()->SetColor(clLime);
  canvas->FillRect(Rect(1, 1, 2, 2));
  EXPECT_EQ(*b.GetPixelPtr(1, 1), 0x0000FF00u);  // brush writes leave alpha 0
  EXPECT_EQ(*b.GetPixelPtr(0, 0), 0u);
}

TEST(SkinBitmap, ClearSetPixelAndAlpha) {
  auto b = makeBitmap(3, 2);
  b->Clear(0x11223344);
  b->SetPixel(-1, 0, 0);
  b->SetPixel(3, 0, 0);
  b->SetPixel(0, 2, 0);
  for (TbsColor p : pixelsOf(*b)) EXPECT_EQ(p, 0x11223344u);
  b->SetAlpha(0x99, Rect(-5, 1, 2, 9));
  EXPECT_EQ(pixelsOf(*b),
            (std::vector<TbsColor>{0x11223344, 0x11223344, 0x11223344, 0x99223344, 0x99223344, 0x11223344}));
  b->SetAlpha(0x00, Rect(0, 0, 0, 5));  // zero width
  EXPECT_EQ(*b->GetPixelPtr(0, 1), 0x99223344u);
  b->SetAlpha(0xFF);
  for (TbsColor p : pixelsOf(*b)) EXPECT_EQ(p >> 24, 0xFFu);
}

TEST(SkinBitmap, CheckingAlphaBlend) {
  struct TCase {
    std::vector<TbsColor> px;
    bool blended;
  } cases[] = {{{0x00000000, 0xFF000000, 0xFFFFFFFF, 0x00FFFFFF}, false},
               {{0x00000000, 0x80000000, 0xFFFFFFFF, 0x00FFFFFF}, true}};
  for (const auto& c : cases) {
    auto b = makeBitmap(2, 2, c.px);
    b->CheckingAlphaBlend();
    EXPECT_EQ(b->AlphaBlend(), c.blended);
  }
  auto b = makeBitmap(2, 2, {0x00000000, 0x80000000, 0xFFFFFFFF, 0x00FFFFFF});
  b->CheckingAlphaBlend(Rect(0, 1, 5, 5));  // the row without partial alpha
  EXPECT_FALSE(b->AlphaBlend());
  TbsBitmap empty;
  empty.SetAlphaBlend(true);
  empty.CheckingAlphaBlend();
  EXPECT_FALSE(empty.AlphaBlend());
}

TEST(SkinBitmap, CheckingTransparentTakesColoursWithinFive) {
  auto b = makeBitmap(3, 1, {0xFFFA05FF, 0xFFF900FF, 0x80FF00FF});
  b->CheckingTransparent(0x00FF00FF);
  EXPECT_TRUE(b->Transparent());
  EXPECT_EQ(pixelsOf(*b), (std::vector<TbsColor>{0x007F007F, 0xFFF900FF, 0x007F007F}));
  auto plain = makeBitmap(1, 1, {0xFF000000});
  plain->SetTransparent(true);
  plain->CheckingTransparent(0x00FF00FF);
  EXPECT_FALSE(plain->Transparent());
  auto part = makeBitmap(2, 1, {0xFFFF00FF, 0xFFFF00FF});
  part->CheckingTransparent(Rect(1, 0, 9, 9), 0xFF00FF);
  EXPECT_EQ(pixelsOf(*part), (std::vector<TbsColor>{0xFFFF00FF, 0x007F007F}));
}

TEST(SkinBitmap, CheckRGBAClampsAndCheckRGBA2Premultiplies) {
  auto b = makeBitmap(2, 1, {0x80FF8001, 0x10203040});
  b->CheckRGBA();
  EXPECT_EQ(pixelsOf(*b), (std::vector<TbsColor>{0x80808001, 0x10101010}));
  // 128 * 1 / 255 rounds to 1; 255 * 128 / 255 = 128; 128 * 128 / 255 = 64.25 -> 64.
  auto p = makeBitmap(3, 1, {0x80FF8001, 0xFFABCDEF, 0x00FFFFFF});
  p->CheckRGBA2();
  EXPECT_EQ(pixelsOf(*p), (std::vector<TbsColor>{0x80804001, 0xFFABCDEF, 0x00000000}));
  // 64 * 2 / 255 = 0.502 rounds up, 63 * 2 / 255 = 0.494 down.
  auto t = makeBitmap(1, 1, {0x02FF403F});
  t->CheckRGBA2();
  EXPECT_EQ(*t->Bits(), 0x02020100u);
}

TEST(SkinBitmap, FlipVertReversesRows) {
  auto b = makeBitmap(2, 3, {1, 2, 3, 4, 5, 6});
  b->FlipVert();
  EXPECT_EQ(pixelsOf(*b), (std::vector<TbsColor>{5, 6, 3, 4, 1, 2}));
}

TEST(SkinBitmap, AssignCopiesPixelsNameAndFlagsButNotNewFormat) {
  auto src = makeBitmap(2, 1, {0x80102030, 0xFF405060});
  src->SetName("button");
  src->SetAlphaBlend(true);
  src->SetTransparent(true);
  src->SetNewFormat(true);
  TbsBitmap dst;
  dst.Assign(src.get());
  EXPECT_EQ(pixelsOf(dst), pixelsOf(*src));
  EXPECT_EQ(dst.Name(), "button");
  EXPECT_TRUE(dst.AlphaBlend());
  EXPECT_TRUE(dst.Transparent());
  EXPECT_FALSE(dst.NewFormat());

  auto sized = makeBitmap(1, 1, {7});
  TbsBitmap empty;
  sized->Assign(&empty);  // an empty source changes nothing
  EXPECT_EQ(*sized->Bits(), 7u);
}

TEST(SkinBitmap, AssignFromPlatformBitmaps) {
  TBitmap bmp32;
  bmp32.SetPixelFormat(pf32bit);
  bmp32.SetSize(2, 1);
  const TbsColor raw[2] = {0x80112233, 0xFF445566};
  std::memcpy(bmp32.ScanLine(0), raw, 8);
  TbsBitmap a;
  a.Assign(&bmp32);
  EXPECT_EQ(pixelsOf(a), (std::vector<TbsColor>{0x80112233, 0xFF445566}));
  EXPECT_TRUE(a.AlphaBlend());

  TBitmap bmp24;
  bmp24.SetPixelFormat(pf24bit);
  bmp24.SetSize(2, 1);
  Byte* row = bmp24.ScanLine(0);
  const Byte bgr[6] = {0x33, 0x22, 0x11, 0x66, 0x55, 0x44};
  std::memcpy(row, bgr, 6);
  TbsBitmap b;
  b.Assign(&bmp24);
  EXPECT_EQ(pixelsOf(b), (std::vector<TbsColor>{0xFF112233, 0xFF445566}));
  EXPECT_FALSE(b.AlphaBlend());

  // A picture holding a 32-bit bitmap takes the plain path: alpha becomes 255.
  TPicture picture;
  picture.SetGraphic(&bmp32);
  TbsBitmap c;
  c.Assign(&picture);
  EXPECT_EQ(pixelsOf(c), (std::vector<TbsColor>{0xFF112233, 0xFF445566}));

  TStringList notAGraphic;
  EXPECT_THROW(c.Assign(&notAGraphic), EConvertError);
}

TEST(SkinBitmap, DrawGraphicSkipsMagentaAndAssignFromGraphicIsOpaque) {
  TPngImage png;
  png.CreateBlank(COLOR_RGB, 8, 2, 1);
  png.SetPixels(0, 0, TColor(0xFF00FF));  // magenta: left out
  png.SetPixels(1, 0, TColor(0x0000FF));  // red
  auto b = makeBitmap(2, 1, {0x12345678, 0x12345678});
  b->DrawGraphic(&png, Rect(0, 0, 2, 1));
  EXPECT_EQ(*b->GetPixelPtr(0, 0), 0x12345678u);
  EXPECT_EQ(*b->GetPixelPtr(1, 0) & 0xFFFFFF, 0xFF0000u);

  TbsBitmap c;
  c.Assign(&png);
  EXPECT_EQ(c.Width(), 2);
  EXPECT_EQ(*c.GetPixelPtr(0, 0), 0xFF000000u);  // the magenta pixel stays as SetSize left it, then alpha 255
  EXPECT_EQ(*c.GetPixelPtr(1, 0), 0xFFFF0000u);
}

TEST(SkinBitmapStream, RoundTripAndByteLayout) {
  auto b = makeBitmap(2, 1, {0x80102030, 0xFFAABBCC});
  b->SetName("ab");
  TMemoryStream s;
  b->SaveToStream(&s);
  const Byte expected[] = {2, 0, 0, 0, 'a',  0,    'b',  0,    2,    0,    0,    0,
                           1, 0, 0, 0, 0x30, 0x20, 0x10, 0x80, 0xCC, 0xBB, 0xAA, 0xFF};
  ASSERT_EQ(s.Size(), Int64(sizeof(expected)));
  EXPECT_EQ(std::memcmp(s.Memory(), expected, sizeof(expected)), 0);
  s.SetPosition(0);
  TbsBitmap c;
  c.LoadFromStream(&s);
  EXPECT_EQ(c.Name(), "ab");
  EXPECT_EQ(pixelsOf(c), pixelsOf(*b));
}

void writeInts(TStream& s, std::initializer_list<Integer> values) {
  for (Integer v : values) s.WriteBuffer(&v, 4);
}

TEST(SkinBitmapStream, NegativeHeightMeansBottomUpRows) {
  TMemoryStream s;
  WriteStreamString(&s, "");
  writeInts(s, {1, -2, Integer(0xAAAAAAAA), Integer(0xBBBBBBBB)});
  s.SetPosition(0);
  TbsBitmap b;
  b.LoadFromStream(&s);
  EXPECT_EQ(pixelsOf(b), (std::vector<TbsColor>{0xBBBBBBBB, 0xAAAAAAAA}));
}

TEST(SkinBitmapStream, ZeroSizeAgainstASizedBitmapReadsNoPixels) {
  TMemoryStream s;
  WriteStreamString(&s, "x");
  writeInts(s, {0, 1, 0x55});
  s.SetPosition(0);
  auto b = makeBitmap(1, 1, {9});
  b->LoadFromStream(&s);
  EXPECT_EQ(*b->Bits(), 9u);
  EXPECT_EQ(s.Position(), 4 + 2 + 8);
}

TEST(SkinBitmapStream, ShortAndHostileStreamsStayInBounds) {
  // Pixels cut short: what arrived is taken, the rest stays zero.
  TMemoryStream s;
  WriteStreamString(&s, "");
  writeInts(s, {2, 2, 0x11111111});
  s.SetPosition(0);
  TbsBitmap b;
  b.LoadFromStream(&s);
  EXPECT_EQ(pixelsOf(b), (std::vector<TbsColor>{0x11111111, 0, 0, 0}));
  // A name count far past the end reads only what is there.
  TMemoryStream t;
  writeInts(t, {0x7FFFFFFF});
  t.WriteBuffer("a\0", 2);
  t.SetPosition(0);
  TbsBitmap c;
  c.LoadFromStream(&t);
  EXPECT_EQ(c.Name(), "a");
  EXPECT_TRUE(c.Empty());
}

// ---- PCX ----
std::vector<Byte> pcxHeader(Byte version, Byte encoding, Word w, Word h, Byte planes, Word bytesPerLine) {
  std::vector<Byte> hdr(128, 0);
  hdr[0] = 0x0A;
  hdr[1] = version;
  hdr[2] = encoding;
  hdr[3] = 8;
  hdr[8] = Byte(w - 1);
  hdr[9] = Byte((w - 1) >> 8);
  hdr[10] = Byte(h - 1);
  hdr[11] = Byte((h - 1) >> 8);
  hdr[65] = planes;
  hdr[66] = Byte(bytesPerLine);
  hdr[67] = Byte(bytesPerLine >> 8);
  return hdr;
}

void appendPalette(std::vector<Byte>& file) {
  file.push_back(0x0C);
  for (int i = 0; i < 256; ++i) {
    file.push_back(Byte(i));
    file.push_back(Byte(255 - i));
    file.push_back(Byte(i * 3));
  }
}

void loadPcx(TbsBitmap& Into, const std::vector<Byte>& File) {
  TMemoryStream s;
  s.WriteBuffer(File.data(), Int64(File.size()));
  s.SetPosition(0);
  Into.LoadFromPcxStream(&s);
}

TbsColor paletteColor(int i) {
  return 0xFF000000 | (TbsColor(i) << 16) | (TbsColor(255 - i) << 8) | Byte(i * 3);
}

TEST(SkinBitmapPcx, RunLengthBodyWithFilePalette) {
  std::vector<Byte> file = pcxHeader(5, 1, 3, 1, 1, 3);
  file.insert(file.end(), {0xC3, 0x07});
  appendPalette(file);
  TbsBitmap b;
  loadPcx(b, file);
  EXPECT_EQ(pixelsOf(b), (std::vector<TbsColor>(3, paletteColor(7))));
}

TEST(SkinBitmapPcx, RawBodyLinePaddingAndRunsCutAtTheEnd) {
  // 2 x 2, lines of 3 bytes: the third byte of each line is padding.
  std::vector<Byte> file = pcxHeader(5, 0, 2, 2, 1, 3);
  file.insert(file.end(), {1, 2, 99, 3, 4, 99});
  appendPalette(file);
  TbsBitmap b;
  loadPcx(b, file);
  EXPECT_EQ(pixelsOf(b),
            (std::vector<TbsColor>{paletteColor(1), paletteColor(2), paletteColor(3), paletteColor(4)}));

  // A run longer than the room left is cut; the 16-colour system palette for version 3.
  std::vector<Byte> v3 = pcxHeader(3, 1, 2, 1, 1, 2);
  v3.insert(v3.end(), {0xFF, 12});
  TbsBitmap c;
  loadPcx(c, v3);
  EXPECT_EQ(pixelsOf(c), (std::vector<TbsColor>(2, 0xFF0000FF)));  // entry 12: blue
}

TEST(SkinBitmapPcx, OtherManufacturerAndTruncatedFilesAreSafe) {
  std::vector<Byte> file = pcxHeader(5, 1, 3, 1, 1, 3);
  file[0] = 0x0B;
  auto b = makeBitmap(1, 1, {5});
  loadPcx(*b, file);
  EXPECT_EQ(b->Width(), 1);
  EXPECT_EQ(*b->Bits(), 5u);

  // A header claiming huge lines over a tiny body: no large allocation, missing data reads index 0.
  std::vector<Byte> huge = pcxHeader(5, 1, 2, 2, 255, 0xFFFF);
  huge.insert(huge.end(), {0xC2, 9});
  TbsBitmap c;
  loadPcx(c, huge);
  ASSERT_EQ(c.Width(), 2);
  // No palette (file shorter than one): every colour is black.
  EXPECT_EQ(pixelsOf(c), (std::vector<TbsColor>(4, 0xFF000000)));
}

// A 128-byte header claiming 65536 x 65536 pixels is refused by the surface cap before anything of
// that size is allocated. The child process may map little more than it has, so a decode buffer of
// gigabytes ends it instead of the refusal.
TEST(SkinBitmapPcx, OversizedHeaderIsRefusedBeforeAnyLargeAllocation) {
  const auto body = [] {
    long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
      if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
      std::fclose(f);
    }
    if (pages <= 0) std::_Exit(2);
    const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(768) << 20);
    const rlimit bound{limit, limit};
    if (setrlimit(RLIMIT_AS, &bound) != 0) std::_Exit(2);
    std::vector<Byte> file = pcxHeader(5, 1, 0, 0, 1, 0xFFFF);  // sides of 0 - 1 + 1 = 65536
    file.insert(file.end(), {0xC1, 1});
    auto b = makeBitmap(1, 1, {5});
    try {
      loadPcx(*b, file);
    } catch (const Exception&) {
      std::_Exit(b->Empty() ? 0 : 4);
    } catch (...) {
      std::_Exit(3);
    }
    std::_Exit(5);
  };
  EXPECT_EXIT(body(), testing::ExitedWithCode(0), "");
}

TEST(SkinBitmapResource, ResourceDataBecomesABitmapAndMissingModulesChangeNothing) {
  // A 2 x 1 24-bit bottom-up DIB as a resource stores it.
  std::vector<Byte> dib(40 + 8, 0);
  BITMAPINFOHEADER h;
  h.biWidth = 2;
  h.biHeight = 1;
  h.biBitCount = 24;
  std::memcpy(dib.data(), &h, 40);
  const Byte px[6] = {0x30, 0x20, 0x10, 0x60, 0x50, 0x40};
  std::memcpy(dib.data() + 40, px, 6);
  TBitmap bmp;
  ASSERT_TRUE(LoadBitmapResourceData(dib.data(), &bmp));
  TbsBitmap b;
  b.Assign(&bmp);
  EXPECT_EQ(pixelsOf(b), (std::vector<TbsColor>{0xFF102030, 0xFF405060}));

  auto c = makeBitmap(1, 1, {3});
  c->LoadFromResource("/nonexistent/module.so", "BITMAP1");
  EXPECT_EQ(*c->Bits(), 3u);
}

}  // namespace
