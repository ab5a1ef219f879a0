#include "platform/ui/graphics/jpegimage.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/ui/testkit/ui_test_util.h"

namespace {

TEST(JPEGImage, CompressesAssignedBitmapsAndKeepsLoadedFilesAsTheyAre) {
  auto bitmap = FilledBitmap(16, 8, pf24bit, clSkyBlue);
  TJPEGImage jpeg;
  EXPECT_EQ(jpeg.CompressionQuality(), 90);
  jpeg.Assign(bitmap.get());
  TMemoryStream high;
  jpeg.SaveToStream(&high);
  const Byte* p = static_cast<const Byte*>(high.Memory());
  EXPECT_TRUE(p[0] == 0xFF && p[1] == 0xD8);

  jpeg.SetCompressionQuality(500);
  EXPECT_EQ(jpeg.CompressionQuality(), 100);
  high.SetPosition(0);
  TJPEGImage loaded;
  loaded.LoadFromStream(&high);
  loaded.SetCompressionQuality(5);  // a loaded file is written back unchanged
  TMemoryStream again;
  loaded.SaveToStream(&again);
  ASSERT_EQ(again.Size(), high.Size());
  EXPECT_EQ(std::memcmp(again.Memory(), high.Memory(), size_t(high.Size())), 0);

  loaded.Compress();
  TMemoryStream low;
  loaded.SaveToStream(&low);
  EXPECT_NE(low.Size(), high.Size());

  TBitmap out;
  out.Assign(&loaded);
  EXPECT_EQ(out.Width(), 16);
  const COLORREF c = PixelColor(out, 8, 4), want = ColorToRGB(clSkyBlue);
  for (int shift : {0, 8, 16}) EXPECT_NEAR(int((c >> shift) & 0xFF), int((want >> shift) & 0xFF), 3);
  EXPECT_THROW(loaded.SetWidth(3), EInvalidGraphic);
}

}  // namespace
