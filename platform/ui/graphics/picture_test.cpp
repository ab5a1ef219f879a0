#include "platform/ui/graphics/picture.h"

#include <gtest/gtest.h>

#include "platform/rtl/testkit/rtl_test_util.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/gifimage.h"
#include "platform/ui/graphics/jpegimage.h"
#include "platform/ui/graphics/pngimage.h"
#include "platform/ui/testkit/ui_test_util.h"

namespace {

TEST(Picture, LoadFromFileChoosesTheClassByExtension) {
  TTempFolder dir("nerivo-graphics");
  auto bitmap = FilledBitmap(4, 3, pf24bit, clGreen);
  TPngImage png;
  png.Assign(bitmap.get());
  TJPEGImage jpeg;
  jpeg.Assign(bitmap.get());
  TGIFImage gif;
  gif.Assign(bitmap.get());
  bitmap->SaveToFile(dir.Path("a.bmp"));
  png.SaveToFile(dir.Path("a.PNG"));
  jpeg.SaveToFile(dir.Path("a.jpeg"));
  gif.SaveToFile(dir.Path("a.gif"));

  const std::pair<const char*, const char*> cases[] = {
      {"a.bmp", "TBitmap"}, {"a.PNG", "TPngImage"}, {"a.jpeg", "TJPEGImage"}, {"a.gif", "TGIFImage"}};
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  for (const auto& [name, cls] : cases) {
    picture.LoadFromFile(dir.Path(name));
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Graphic()->ClassName(), cls);
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.Height(), 3);
  }
  EXPECT_EQ(changes, 4);

  try {
    picture.LoadFromFile(dir.Path("a.tif"));
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Unknown picture file extension (.tif)");
  }
  // A damaged file leaves the picture as it was.
  png.SaveToFile(dir.Path("bad.gif"));
  EXPECT_THROW(picture.LoadFromFile(dir.Path("bad.gif")), EInvalidGraphic);
  EXPECT_EQ(picture.Graphic()->ClassName(), "TGIFImage");
  EXPECT_THROW(picture.LoadFromFile(dir.Path("missing.png")), EFOpenError);
  EXPECT_THROW(bitmap->SaveToFile(dir.Path("no/such/dir.bmp")), EFCreateError);
}

TEST(Picture, AssignAndBitmapAccess) {
  TPngImage png;
  png.CreateBlank(COLOR_RGB, 8, 2, 2);
  TPicture picture;
  picture.Assign(&png);
  EXPECT_EQ(picture.Graphic()->ClassName(), "TPngImage");
  EXPECT_NE(picture.Graphic(), &png);  // a copy
  TBitmap bitmap;
  bitmap.Assign(&picture);  // through the PNG's own conversion
  EXPECT_EQ(bitmap.Width(), 2);
  TBitmap* own = picture.Bitmap();  // replaces the PNG with an empty bitmap
  EXPECT_TRUE(own->Empty());
  EXPECT_EQ(picture.Graphic(), own);
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  own->SetSize(3, 3);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(picture.Width(), 3);
}

}  // namespace
