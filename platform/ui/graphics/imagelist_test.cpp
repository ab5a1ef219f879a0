#include "platform/ui/graphics/imagelist.h"

#include <gtest/gtest.h>

#include "platform/ui/testkit/ui_test_util.h"

namespace {

// A strip of three 2 x 2 images: red, green and blue, each with its bottom-left pixel in fuchsia.
std::unique_ptr<TBitmap> strip() {
  auto bitmap = FilledBitmap(6, 2, pf32bit, clRed);
  bitmap->Canvas()->Brush()->SetColor(clLime);
  bitmap->Canvas()->FillRect(Rect(2, 0, 4, 2));
  bitmap->Canvas()->Brush()->SetColor(clBlue);
  bitmap->Canvas()->FillRect(Rect(4, 0, 6, 2));
  for (Integer x : {0, 2, 4}) bitmap->Canvas()->SetPixels(x, 1, clFuchsia);
  return bitmap;
}

TEST(ImageList, AddMaskedSplitsAStripAndHidesTheMaskColour) {
  TImageList list(nullptr, 2, 2);
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(list.AddMasked(strip().get(), clFuchsia), 0);
  EXPECT_EQ(list.AddMasked(strip().get(), clDefault), 3);  // key from the bottom-left pixel
  EXPECT_EQ(list.AddMasked(strip().get(), clNone), 6);
  EXPECT_EQ(list.Count(), 9);
  EXPECT_EQ(changes, 3);

  auto target = FilledBitmap(2, 2, pf32bit, clWhite);
  list.Draw(target->Canvas(), 0, 0, 4);
  EXPECT_EQ(PixelColor(*target, 1, 0), 0x00FF00u);
  EXPECT_EQ(PixelColor(*target, 0, 1), 0xFFFFFFu);  // hidden
  list.Draw(target->Canvas(), 0, 0, 8);
  EXPECT_EQ(PixelColor(*target, 0, 1), 0xFF00FFu);  // clNone hides nothing
  EXPECT_EQ(list.Images(5).Row(1)[3], 0);
  EXPECT_EQ(list.Images(5).Row(0)[3], 255);
}

TEST(ImageList, AddWithAMaskBitmap) {
  TImageList list(nullptr, 2, 1);
  auto image = FilledBitmap(2, 1, pf32bit, clRed);
  auto mask = FilledBitmap(2, 1, pf32bit, clBlack);
  mask->Canvas()->SetPixels(1, 0, clWhite);  // white = hidden
  EXPECT_EQ(list.Add(image.get(), mask.get()), 0);
  EXPECT_EQ(list.Add(nullptr, nullptr), -1);
  auto target = FilledBitmap(2, 1, pf32bit, clNavy);
  list.Draw(target->Canvas(), 0, 0, 0);
  EXPECT_EQ(PixelColor(*target, 0, 0), 0x0000FFu);
  EXPECT_EQ(PixelColor(*target, 1, 0), ColorToRGB(clNavy));
}

// Disabled look: L = (77 R + 150 G + 29 B + 128) >> 8, drawn as 128 + L / 2 in every channel.
TEST(ImageList, DisabledLookIsLightenedGrey) {
  struct {
    COLORREF Color;
    Byte Expected;
  } const cases[] = {
      {RGB(200, 100, 50), 190},                                                    // L 124
      {RGB(0, 0, 0), 128},      {RGB(255, 255, 255), 255}, {RGB(255, 0, 0), 166},  // L 77
      {RGB(0, 0, 255), 142},                                                       // L 29
  };
  TImageList list(nullptr, 1, 1);
  for (const auto& c : cases) list.AddMasked(FilledBitmap(1, 1, pf32bit, TColor(c.Color)).get(), clNone);
  for (Integer i = 0; i < list.Count(); ++i) {
    auto target = FilledBitmap(1, 1, pf32bit, clWhite);
    list.Draw(target->Canvas(), 0, 0, i, false);
    const Byte e = cases[i].Expected;
    EXPECT_EQ(PixelColor(*target, 0, 0), RGB(e, e, e)) << i;
    list.Draw(target->Canvas(), 0, 0, i, true);
    EXPECT_EQ(PixelColor(*target, 0, 0), cases[i].Color) << i;
  }
}

TEST(ImageList, DisabledImagesKeepTheirTransparency) {
  TImageList list(nullptr, 2, 2);
  list.AddMasked(strip().get(), clFuchsia);
  auto target = FilledBitmap(2, 2, pf32bit, clNavy);
  list.Draw(target->Canvas(), 0, 0, 0, false);
  EXPECT_EQ(PixelColor(*target, 0, 1), ColorToRGB(clNavy));
  EXPECT_EQ(PixelColor(*target, 1, 1), RGB(166, 166, 166));
}

TEST(ImageList, InsertDeleteClearAndIndexErrors) {
  TImageList list(nullptr, 2, 2);
  list.AddMasked(strip().get(), clNone);  // red, green, blue
  auto yellow = FilledBitmap(2, 2, pf32bit, clYellow);
  list.Insert(1, yellow.get(), nullptr);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Images(1).Row(0)[1], 255);  // yellow: green channel
  EXPECT_EQ(list.Images(2).Row(0)[2], 0);    // green (no red) moved to 2
  EXPECT_EQ(list.Images(2).Row(0)[1], 255);
  list.Delete(0);
  EXPECT_EQ(list.Images(0).Row(0)[2], 255);  // yellow first now
  EXPECT_THROW(list.Delete(3), EInvalidOperation);
  try {
    list.Insert(5, yellow.get(), nullptr);
    FAIL();
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Invalid ImageList Index");
  }
  list.Delete(-1);
  EXPECT_EQ(list.Count(), 0);
  auto target = FilledBitmap(2, 2, pf32bit, clWhite);
  list.Draw(target->Canvas(), 0, 0, 0);  // an index outside the list draws nothing
  EXPECT_EQ(PixelColor(*target, 0, 0), 0xFFFFFFu);
}

TEST(ImageList, ChangingTheSizeEmptiesTheList) {
  TImageList list(nullptr);
  EXPECT_EQ(list.Width(), 16);
  EXPECT_EQ(list.Height(), 16);
  list.AddMasked(FilledBitmap(16, 16, pf32bit, clRed).get(), clNone);
  list.SetWidth(16);
  EXPECT_EQ(list.Count(), 1);
  list.SetHeight(32);
  EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, GetBitmapDrawsTheImageOnAFreshBitmap) {
  TImageList list(nullptr, 2, 2);
  list.AddMasked(strip().get(), clFuchsia);
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  EXPECT_TRUE(list.GetBitmap(2, &bitmap));
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(PixelColor(bitmap, 1, 1), 0xFF0000u);
  EXPECT_EQ(PixelColor(bitmap, 0, 1), 0xFFFFFFu);  // hidden pixel: the fresh bitmap's white
  EXPECT_FALSE(list.GetBitmap(3, &bitmap));
}

// A list that draws its own way, as the skin's PNG list does.
class TCountingList : public TCustomImageList {
 public:
  using TCustomImageList::TCustomImageList;
  std::vector<std::pair<Integer, bool>> Calls;

 protected:
  void DoDraw(Integer Index, TCanvas*, Integer, Integer, Cardinal Style, bool Enabled) override {
    EXPECT_EQ(Style, Cardinal(dsNormal));
    Calls.push_back({Index, Enabled});
  }
};

TEST(ImageList, DrawGoesThroughDoDrawForAnyIndex) {
  TCountingList list(nullptr);
  TBitmap bitmap(1, 1);
  list.Draw(bitmap.Canvas(), 0, 0, 7, false);
  list.Draw(bitmap.Canvas(), 0, 0, -1);
  EXPECT_EQ(list.Calls, (std::vector<std::pair<Integer, bool>>{{7, false}, {-1, true}}));
}

}  // namespace
