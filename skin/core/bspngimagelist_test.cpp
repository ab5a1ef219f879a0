#include "skin/core/bspngimagelist.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A 1-row RGBA picture with the given alphas, every pixel white.
void MakeRgba(TPngImage& Png, const std::vector<Byte>& Alphas) {
  Png.CreateBlank(COLOR_RGBALPHA, 8, Cardinal(Alphas.size()), 1);
  for (size_t x = 0; x < Alphas.size(); ++x) {
    Png.SetPixels(Integer(x), 0, clWhite);
    Png.AlphaScanline(0)[x] = Alphas[x];
  }
}

std::vector<Byte> Alphas(TPngImage& Png) {
  std::vector<Byte> out;
  for (Integer x = 0; x < Png.Width(); ++x) out.push_back(Png.AlphaScanline(0)[x]);
  return out;
}

TEST(PngImageList, ItemsKeepTheInheritedCountAndTheirNames) {
  TbsPngImageList list(nullptr);
  list.SetPngWidth(16);
  list.SetPngHeight(16);
  for (int i = 0; i < 3; ++i) list.PngImages()->Add();
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.PngImages()->GetItem(0)->Name(), "PngImage0");
  EXPECT_EQ(list.PngImages()->GetItem(2)->Name(), "PngImage2");
  list.PngImages()->Delete(1);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.PngImages()->GetItem(1)->Name(), "PngImage2");
  EXPECT_EQ(list.PngImages()->GetOwner(), &list);
}

TEST(PngImageList, NewSizeEmptiesTheListExceptWhileLoading) {
  TbsPngImageList list(nullptr);
  list.SetPngWidth(16);
  for (int i = 0; i < 2; ++i) list.PngImages()->Add();
  list.SetPngWidth(16);
  EXPECT_EQ(list.PngImages()->Count(), 2);
  list.SetPngWidth(32);
  EXPECT_EQ(list.PngWidth(), 32);
  EXPECT_EQ(list.PngImages()->Count(), 0);
  EXPECT_EQ(list.Count(), 0);

  // A stored layout: the items first, then the stored size; the items stay and keep their placeholders.
  TbsPngImageList loaded(nullptr);
  loaded.BeginLoading();
  for (int i = 0; i < 3; ++i) loaded.PngImages()->Add();
  loaded.SetPngWidth(48);
  loaded.SetPngHeight(48);
  loaded.EndLoading();
  EXPECT_EQ(loaded.PngImages()->Count(), 3);
  EXPECT_EQ(loaded.Count(), 3);
  EXPECT_EQ(loaded.PngHeight(), 48);
}

TEST(PngImageList, DisplayNameAndAssignment) {
  TbsPngImageList list(nullptr);
  auto* a = static_cast<TbsPngImageItem*>(list.PngImages()->Add());
  auto* b = static_cast<TbsPngImageItem*>(list.PngImages()->Add());
  EXPECT_EQ(a->DisplayName(), "PngImage0");
  a->SetName("");
  EXPECT_EQ(a->DisplayName(), "TbsPngImageItem");
  TbsPngImage png;
  MakeRgba(png, {10, 20});
  b->SetPngImage(&png);
  a->Assign(b);
  EXPECT_EQ(a->Name(), "PngImage1");
  EXPECT_EQ(a->PngImage()->Width(), 2);
  EXPECT_EQ(a->PngImage()->AlphaScanline(0)[1], 20);
  TBitmap bitmap(2, 2);
  EXPECT_THROW(a->Assign(&bitmap), EConvertError);
}

TEST(MakePngTranslucent, ScalesAlphaWithTiesToEven) {
  struct Case {
    Byte Level;
    std::vector<Byte> In, Out;
  } cases[] = {
      {127, {255, 1, 3, 0, 128, 127, 5}, {128, 0, 2, 0, 64, 64, 2}},
      {255, {255, 1, 3, 0, 128}, {255, 1, 3, 0, 128}},
      {0, {255, 128, 127}, {1, 0, 0}},
  };
  for (const Case& c : cases) {
    TPngImage png;
    MakeRgba(png, c.In);
    MakePngTranslucent(&png, c.Level);
    EXPECT_EQ(Alphas(png), c.Out) << int(c.Level);
  }
}

TEST(MakePngTranslucent, PictureWithoutChannelGetsOne) {
  // Palette with a key colour: the key is transparent, everything else gets the level as it stands.
  TPngImage palette;
  palette.CreateBlank(COLOR_PALETTE, 8, 3, 1);
  palette.SetPixels(0, 0, clRed);
  palette.SetPixels(1, 0, clBlue);
  palette.SetPixels(2, 0, clLime);
  palette.SetTransparentColor(clBlue);
  MakePngTranslucent(&palette, 127);
  EXPECT_EQ(palette.Header().ColorType, COLOR_RGBALPHA);
  EXPECT_EQ(Alphas(palette), (std::vector<Byte>{127, 0, 127}));
  EXPECT_EQ(palette.Pixels(0, 0), clRed);

  TPngImage grey;
  grey.CreateBlank(COLOR_GRAYSCALE, 8, 2, 1);
  MakePngTranslucent(&grey, 127);
  EXPECT_EQ(Alphas(grey), (std::vector<Byte>{127, 127}));

  // True colour: an opaque channel first, then scaled like any channel; the key still goes.
  TPngImage rgb;
  rgb.CreateBlank(COLOR_RGB, 8, 2, 1);
  rgb.SetPixels(0, 0, clRed);
  rgb.SetPixels(1, 0, clBlue);
  rgb.SetTransparentColor(clBlue);
  MakePngTranslucent(&rgb, 127);
  EXPECT_EQ(Alphas(rgb), (std::vector<Byte>{128, 0}));
}

// A 2 x 1 list image: white opaque and white transparent, drawn over black.
struct DrawFixture : testing::Test {
  TbsPngImageList List{nullptr};
  void SetUp() override {
    List.SetPngWidth(2);
    List.SetPngHeight(1);
    auto* item = static_cast<TbsPngImageItem*>(List.PngImages()->Add());
    TbsPngImage png;
    MakeRgba(png, {255, 0});
    item->SetPngImage(&png);
  }
  TColor DrawnAt(bool Enabled, Integer X) {
    TBitmap target(4, 1);
    target.SetPixelFormat(pf32bit);
    target.Canvas()->Brush()->SetColor(clBlack);
    target.Canvas()->FillRect(Rect(0, 0, 4, 1));
    List.Draw(target.Canvas(), 1, 0, 0, Enabled);
    return target.Canvas()->Pixels(X, 0);
  }
};

TEST_F(DrawFixture, DisabledImageAtHalfOpacityAndItemUnchanged) {
  EXPECT_EQ(DrawnAt(true, 1), clWhite);
  const TColor half = DrawnAt(false, 1);
  EXPECT_NEAR(GetRValue(COLORREF(half)), 128, 1);
  EXPECT_EQ(GetRValue(COLORREF(half)), GetBValue(COLORREF(half)));
  EXPECT_EQ(DrawnAt(false, 2), clBlack);  // alpha 0 stays 0
  EXPECT_EQ(DrawnAt(true, 0), clBlack);   // nothing left of X
  EXPECT_EQ(List.PngImages()->GetItem(0)->PngImage()->AlphaScanline(0)[0], 255);
}

TEST_F(DrawFixture, IndexOutsideTheItemsRaises) {
  TBitmap target(4, 1);
  EXPECT_THROW(List.Draw(target.Canvas(), 0, 0, 1, true), EListError);
  EXPECT_THROW(List.Draw(target.Canvas(), 0, 0, -1, false), EListError);
}

TEST(AssignPngToBitmap, ColoursAlphaAndBlendFlag) {
  TPngImage png;
  png.CreateBlank(COLOR_RGBALPHA, 8, 2, 1);
  png.SetPixels(0, 0, TColor(RGB(10, 20, 30)));
  png.SetPixels(1, 0, clRed);
  png.AlphaScanline(0)[0] = 128;
  png.AlphaScanline(0)[1] = 255;
  TbsBitmap bmp;
  AssignPngToBitmap(&bmp, &png);
  ASSERT_EQ(bmp.Width(), 2);
  EXPECT_EQ(bmp.Bits()[0], 0x800A141Eu);
  EXPECT_EQ(bmp.Bits()[1], 0xFFFF0000u);
  EXPECT_TRUE(bmp.AlphaBlend());

  // No channel: the key colour transparent, the rest opaque; only 0 and 255, so no blending.
  TPngImage rgb;
  rgb.CreateBlank(COLOR_RGB, 8, 2, 1);
  rgb.SetPixels(0, 0, clBlue);
  rgb.SetPixels(1, 0, clLime);
  rgb.SetTransparentColor(clBlue);
  AssignPngToBitmap(&bmp, &rgb);
  EXPECT_EQ(bmp.Bits()[0], 0x000000FFu);
  EXPECT_EQ(bmp.Bits()[1], 0xFF00FF00u);
  EXPECT_FALSE(bmp.AlphaBlend());

  // An empty PNG writes nothing into a bitmap of another size.
  TPngImage empty;
  AssignPngToBitmap(&bmp, &empty);
  EXPECT_EQ(bmp.Width(), 2);
  EXPECT_EQ(bmp.Bits()[1], 0xFF00FF00u);
}

}  // namespace
