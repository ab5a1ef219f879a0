#include "platform/ui/graphics/gifimage.h"

#include <gtest/gtest.h>

#include "platform/ui/testkit/ui_test_util.h"

namespace {

TEST(GIFImage, KeepsTheTransparentColourOfAnAssignedBitmap) {
  auto bitmap = FilledBitmap(3, 1, pf24bit, clMaroon);
  bitmap->Canvas()->SetPixels(0, 0, clFuchsia);
  bitmap->SetTransparent(true);
  bitmap->SetTransparentColor(clFuchsia);
  TGIFImage gif;
  gif.Assign(bitmap.get());
  TMemoryStream stream;
  gif.SaveToStream(&stream);
  stream.SetPosition(0);
  TGIFImage back;
  back.LoadFromStream(&stream);
  EXPECT_TRUE(back.Transparent());
  EXPECT_EQ(back.PixelBGRA(0, 0) >> 24, 0u);
  EXPECT_EQ(back.PixelBGRA(2, 0), 0xFF800000u);  // maroon, opaque

  auto target = FilledBitmap(3, 1, pf32bit, clWhite);
  target->Canvas()->Draw(0, 0, &back);
  EXPECT_EQ(PixelColor(*target, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelColor(*target, 1, 0), ColorToRGB(clMaroon));
}

}  // namespace
