#include "platform/ui/graphics/icon.h"

#include <gtest/gtest.h>

#include "platform/rtl/streams.h"
#include "platform/ui/core/application.h"
#include "platform/ui/core/form.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/graphics/picture.h"
#include "platform/ui/testkit/ui_test_util.h"
#include "platform/ui/testkit/uitestkit.h"
#include "platform/win/testkit/testkit.h"

namespace {

constexpr Byte Opaque = 255;

// A W x H picture: red where alpha is set, with the alpha of each pixel given row by row.
TRawImage Picture(Integer W, Integer H, const std::vector<Byte>& Alpha, COLORREF Colour = RGB(200, 0, 0)) {
  TRawImage I;
  I.Allocate(W, H, 32);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) {
      Byte* P = I.Row(y) + x * 4;
      P[0] = GetBValue(Colour);
      P[1] = GetGValue(Colour);
      P[2] = GetRValue(Colour);
      P[3] = Alpha[size_t(y * W + x)];
    }
  return I;
}

class IconTest : public ::testing::Test {
 protected:
  wintest::TWinTestEnvironment Env;
};

struct TProbe {
  Integer X, Y;
  COLORREF Expected;
};

TEST_F(IconTest, DrawsThroughItsAlphaAndStretches) {
  TIcon Icon;
  // Opaque, half and clear pixels on the top row; the rest opaque.
  Icon.SetHandle(CreateIconFromRaw(Picture(4, 2, {Opaque, 128, 0, Opaque, Opaque, Opaque, Opaque, Opaque})));
  ASSERT_FALSE(Icon.Empty());
  EXPECT_EQ(Icon.Width(), 4);
  EXPECT_EQ(Icon.Height(), 2);
  auto B = FilledBitmap(16, 8, pf32bit, clWhite);
  B->Canvas()->Draw(0, 0, &Icon);
  B->Canvas()->StretchDraw(Rect(8, 0, 16, 4), &Icon);  // twice the size
  const TProbe Probes[] = {
      {0, 0, RGB(200, 0, 0)},      {1, 0, RGB(227, 127, 127)}, {2, 0, RGB(255, 255, 255)},
      {3, 1, RGB(200, 0, 0)},      {5, 5, RGB(255, 255, 255)},  // outside the icon
      {8, 0, RGB(200, 0, 0)},      {9, 1, RGB(200, 0, 0)},     {12, 1, RGB(255, 255, 255)},
      {13, 0, RGB(255, 255, 255)}, {14, 3, RGB(200, 0, 0)},
  };
  for (const TProbe& P : Probes) {
    const COLORREF C = PixelColor(*B, P.X, P.Y);
    EXPECT_NEAR(GetRValue(C), GetRValue(P.Expected), 2) << P.X << "," << P.Y;
    EXPECT_NEAR(GetGValue(C), GetGValue(P.Expected), 2) << P.X << "," << P.Y;
    EXPECT_NEAR(GetBValue(C), GetBValue(P.Expected), 2) << P.X << "," << P.Y;
  }
  EXPECT_THROW(Icon.SetWidth(8), EInvalidGraphicOperation);
  EXPECT_NO_THROW(Icon.SetWidth(4));
}

TEST_F(IconTest, AssignsFromBitmapsAndBackWithTheMaskAsAlpha) {
  auto Bmp = FilledBitmap(3, 3, pf24bit, clWhite);
  Bmp->Canvas()->SetPixels(1, 1, clBlue);
  Bmp->SetTransparentColor(clWhite);
  Bmp->SetTransparent(true);
  TIcon Icon;
  Icon.Assign(Bmp.get());
  TBitmap Back;
  Back.Assign(&Icon);
  ASSERT_EQ(Back.PixelFormat(), pf32bit);
  ASSERT_EQ(Back.Width(), 3);
  const Byte* Centre = Back.ScanLine(1) + 4;
  EXPECT_EQ(Centre[0], 255);  // blue, opaque
  EXPECT_EQ(Centre[3], 255);
  const Byte* Corner = Back.ScanLine(0);
  EXPECT_EQ(Corner[3], 0);  // the transparent colour: masked, black
  EXPECT_EQ(Corner[0] | Corner[1] | Corner[2], 0);

  TIcon Copy;
  Copy.Assign(&Icon);
  EXPECT_NE(Copy.Handle(), Icon.Handle());
  EXPECT_EQ(Copy.Width(), 3);
  Copy.Assign(nullptr);
  EXPECT_TRUE(Copy.Empty());
}

// Icon files made by hand: a 24-bit BMP entry with an AND mask, and a PNG entry.
std::vector<Byte> IcoWith(const std::vector<std::vector<Byte>>& Entries, const std::vector<Integer>& Sizes,
                          const std::vector<Integer>& Bits) {
  std::vector<Byte> F = {0, 0, 1, 0, Byte(Entries.size()), 0};
  uint32_t Offset = uint32_t(6 + 16 * Entries.size());
  for (size_t i = 0; i < Entries.size(); ++i) {
    const uint32_t Len = uint32_t(Entries[i].size());
    const Byte Dir[16] = {Byte(Sizes[i]),
                          Byte(Sizes[i]),
                          0,
                          0,
                          1,
                          0,
                          Byte(Bits[i]),
                          0,
                          Byte(Len),
                          Byte(Len >> 8),
                          Byte(Len >> 16),
                          0,
                          Byte(Offset),
                          Byte(Offset >> 8),
                          Byte(Offset >> 16),
                          0};
    F.insert(F.end(), Dir, Dir + 16);
    Offset += Len;
  }
  for (auto& E : Entries) F.insert(F.end(), E.begin(), E.end());
  return F;
}

std::vector<Byte> Dib24WithMask(Integer N, COLORREF Colour, Integer MaskedColumn) {
  std::vector<Byte> D = {40, 0, 0, 0, Byte(N), 0, 0, 0, Byte(2 * N), 0, 0, 0, 1, 0, 24, 0};
  D.resize(40, 0);
  const Integer Row = TRawImage::RowBytesFor(N, 24), MaskRow = TRawImage::RowBytesFor(N, 1);
  for (Integer y = 0; y < N; ++y) {
    std::vector<Byte> R(size_t(Row), 0);
    for (Integer x = 0; x < N; ++x) {
      R[size_t(x * 3)] = GetBValue(Colour);
      R[size_t(x * 3 + 1)] = GetGValue(Colour);
      R[size_t(x * 3 + 2)] = GetRValue(Colour);
    }
    D.insert(D.end(), R.begin(), R.end());
  }
  for (Integer y = 0; y < N; ++y) {
    std::vector<Byte> M(size_t(MaskRow), 0);
    M[size_t(MaskedColumn / 8)] |= Byte(0x80 >> (MaskedColumn % 8));
    D.insert(D.end(), M.begin(), M.end());
  }
  return D;
}

TIcon* LoadIconFile(TIcon& Icon, const std::vector<Byte>& File) {
  TMemoryStream S;
  S.WriteBuffer(File.data(), Int64(File.size()));
  S.SetPosition(0);
  Icon.LoadFromStream(&S);
  return &Icon;
}

TEST_F(IconTest, LoadsTheLargestEntryOfAnIconFileAndSavesItBack) {
  // An 8-pixel green entry masked in column 2, and a larger 16-pixel PNG entry in blue.
  const std::vector<Byte> Small = Dib24WithMask(8, RGB(0, 160, 0), 2);
  const std::vector<Byte> Large = EncodePng(Picture(16, 16, std::vector<Byte>(256, Opaque), RGB(0, 0, 200)),
                                            TPngWriteOptions{6, 6, false, 0});
  TIcon Icon;
  LoadIconFile(Icon, IcoWith({Small, Large}, {8, 16}, {24, 32}));
  EXPECT_EQ(Icon.Width(), 16);
  LoadIconFile(Icon, IcoWith({Small}, {8}, {24}));
  ASSERT_EQ(Icon.Width(), 8);
  auto B = FilledBitmap(8, 8, pf32bit, clWhite);
  B->Canvas()->Draw(0, 0, &Icon);
  EXPECT_EQ(PixelColor(*B, 1, 3), RGB(0, 160, 0));
  EXPECT_EQ(PixelColor(*B, 2, 3), RGB(255, 255, 255));  // the mask lets the white through

  // Saved and loaded again: the same pixels and mask.
  TMemoryStream Saved;
  Icon.SaveToStream(&Saved);
  Saved.SetPosition(0);
  TIcon Again;
  Again.LoadFromStream(&Saved);
  auto C = FilledBitmap(8, 8, pf32bit, clWhite);
  C->Canvas()->Draw(0, 0, &Again);
  for (Integer x = 0; x < 8; ++x) EXPECT_EQ(PixelColor(*C, x, 5), PixelColor(*B, x, 5)) << x;

  // Not icons: nothing changes but an error.
  const std::vector<Byte> Bad[] = {
      {}, {0, 0, 2, 0, 1, 0}, {0, 0, 1, 0, 0, 0}, IcoWith({{1, 2, 3}}, {8}, {24})};
  for (const auto& File : Bad) EXPECT_THROW(LoadIconFile(Again, File), EInvalidGraphic);
  EXPECT_EQ(Again.Width(), 8);
}

TEST_F(IconTest, APictureLoadsIconFilesAsIcons) {
  TIcon Icon;
  Icon.SetHandle(CreateIconFromRaw(Picture(5, 5, std::vector<Byte>(25, Opaque))));
  const String Path = ::testing::TempDir() + "nerivo_icon_test.ico";
  Icon.SaveToFile(Path);
  TPicture P;
  P.LoadFromFile(Path);
  ASSERT_NE(dynamic_cast<TIcon*>(P.Graphic()), nullptr);
  EXPECT_EQ(P.Icon()->Width(), 5);
  EXPECT_EQ(P.Width(), 5);
  std::remove(Path.c_str());
}

HICON ShownIcon(TCustomForm* F, WPARAM Kind = ICON_BIG) {
  return reinterpret_cast<HICON>(SendMessage(F->Handle(), WM_GETICON, Kind, 0));
}

TEST_F(TUiTest, FormsShowTheirOwnIconOrTheApplications) {
  TForm* A = NewForm();
  EXPECT_EQ(ShownIcon(A), nullptr);
  TIcon AppIcon;
  AppIcon.SetHandle(CreateIconFromRaw(Picture(16, 16, std::vector<Byte>(256, Opaque))));
  Application->SetIcon(&AppIcon);
  ASSERT_FALSE(Application->Icon()->Empty());
  EXPECT_EQ(ShownIcon(A), Application->Icon()->Handle());
  EXPECT_EQ(ShownIcon(A, ICON_SMALL), Application->Icon()->Handle());

  TIcon Own;
  Own.SetHandle(CreateIconFromRaw(Picture(32, 32, std::vector<Byte>(1024, Opaque), RGB(0, 0, 255))));
  A->SetIcon(&Own);
  EXPECT_EQ(ShownIcon(A), A->Icon()->Handle());
  EXPECT_EQ(WinIconSize(ShownIcon(A)).cx, 32);
  TForm* B = NewForm();  // made after: takes the application's at once
  EXPECT_EQ(ShownIcon(B), Application->Icon()->Handle());

  A->Icon()->Assign(nullptr);
  EXPECT_EQ(ShownIcon(A), Application->Icon()->Handle());
  Application->Icon()->Assign(nullptr);
  EXPECT_EQ(ShownIcon(A), nullptr);
  EXPECT_EQ(ShownIcon(B), nullptr);
}

struct TDrawExCase {
  const char* Name;
  Integer DX;
  COLORREF Bk, Fg;
  UINT Style;
  COLORREF Opaque, Masked, Beyond;  // pixel (0, 0), the masked pixel (1, 0), and column 3
};

// A 4 x 1 image: red, masked, red, red; drawn at (0, 0) of a white bitmap.
TEST_F(TUiTest, ImageListsDrawLikeThePlatformsAndGiveIcons) {
  TImageList List(nullptr, 4, 1);
  auto Image = FilledBitmap(4, 1, pf24bit, clRed);
  Image->Canvas()->SetPixels(1, 0, clLime);
  ASSERT_EQ(List.AddMasked(Image.get(), clLime), 0);
  List.SetBkColor(clBlue);
  const COLORREF White = RGB(255, 255, 255), Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255);
  const TDrawExCase Cases[] = {
      {"Normal", 0, CLR_NONE, CLR_NONE, ILD_NORMAL, Red, White, Red},
      {"Background", 0, RGB(0, 255, 0), CLR_NONE, ILD_NORMAL, Red, RGB(0, 255, 0), Red},
      {"ListBackground", 0, CLR_DEFAULT, CLR_NONE, ILD_NORMAL, Red, Blue, Red},
      {"TransparentIgnoresBackground", 0, RGB(0, 255, 0), CLR_NONE, ILD_TRANSPARENT, Red, White, Red},
      {"Part", 2, CLR_NONE, CLR_NONE, ILD_NORMAL, Red, White, White},
      {"Blend50", 0, CLR_NONE, Blue, ILD_BLEND50, RGB(127, 0, 127), White, RGB(127, 0, 127)},
      {"Blend25", 0, CLR_NONE, Blue, ILD_BLEND25, RGB(191, 0, 63), White, RGB(191, 0, 63)},
      {"BlendWithoutColour", 0, CLR_NONE, CLR_NONE, ILD_BLEND50, Red, White, Red},
      {"Mask", 0, CLR_NONE, CLR_NONE, ILD_MASK, RGB(0, 0, 0), White, RGB(0, 0, 0)},
  };
  for (const TDrawExCase& C : Cases) {
    auto B = FilledBitmap(6, 1, pf32bit, clWhite);
    List.DrawEx(0, B->Canvas()->Handle(), 0, 0, C.DX, 0, C.Bk, C.Fg, C.Style);
    EXPECT_EQ(PixelColor(*B, 0, 0), C.Opaque) << C.Name;
    EXPECT_EQ(PixelColor(*B, 1, 0), C.Masked) << C.Name;
    EXPECT_EQ(PixelColor(*B, 3, 0), C.Beyond) << C.Name;
    EXPECT_EQ(PixelColor(*B, 5, 0), White) << C.Name;  // outside the image
  }
  List.DrawEx(7, nullptr, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);  // no harm

  TIcon Icon;
  ASSERT_TRUE(List.GetIcon(0, &Icon));
  EXPECT_EQ(Icon.Width(), 4);
  auto B = FilledBitmap(4, 1, pf32bit, clWhite);
  B->Canvas()->Draw(0, 0, &Icon);
  EXPECT_EQ(PixelColor(*B, 0, 0), Red);
  EXPECT_EQ(PixelColor(*B, 1, 0), White);
  EXPECT_FALSE(List.GetIcon(1, &Icon));
  EXPECT_FALSE(List.GetIcon(0, nullptr));
}

}  // namespace
