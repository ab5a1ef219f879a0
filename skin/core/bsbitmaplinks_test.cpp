#include "skin/core/bsbitmaplinks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::unique_ptr<TbsBitmap> sheet(Integer w, Integer h, TbsColor fill) {
  auto b = std::make_unique<TbsBitmap>();
  b->SetSize(w, h);
  b->Clear(fill);
  b->SetName("sheet");
  return b;
}

TEST(BitmapLink, MadeBySheetWithNameAndRectangle) {
  auto s = sheet(20, 20, 0xFF000000);
  auto link = s->GetBitmapLink(Rect(1, 2, 3, 4));
  EXPECT_EQ(link->Image(), s.get());
  EXPECT_EQ(link->Name(), "sheet");
  EXPECT_EQ(link->Rect(), Rect(1, 2, 3, 4));
  auto fromText = s->GetBitmapLink(String("5, 6, 7, 8"));
  EXPECT_EQ(fromText->Rect(), Rect(5, 6, 7, 8));
  EXPECT_EQ(s->GetBitmapLink(String("5,6"))->Rect(), Rect(0, 0, 0, 0));
}

TEST(BitmapLink, AssignedNeedsAnImageAndPositiveArea) {
  auto s = sheet(4, 4, 0xFF000000);
  TbsBitmapLink link;
  link.SetRect(Rect(0, 0, 10, 10));
  EXPECT_FALSE(link.Assigned());
  link.SetImage(s.get());
  EXPECT_TRUE(link.Assigned());
  link.SetRect(Rect(0, 0, 10, 0));
  EXPECT_FALSE(link.Assigned());
  link.SetRect(Rect(10, 10, 0, 0));  // -10 x -10 is positive
  EXPECT_TRUE(link.Assigned());
  auto target = sheet(4, 4, 0x11111111);
  link.Draw(target.get(), 0, 0);  // but nothing is drawn for it
  EXPECT_EQ(*target->GetPixelPtr(0, 0), 0x11111111u);
}

TEST(BitmapLink, DrawPutsTheRectangleAtThePosition) {
  auto s = sheet(4, 4, 0xFF000000);
  *s->GetPixelPtr(2, 1) = 0xFFABCDEF;
  auto link = s->GetBitmapLink(Rect(2, 1, 4, 3));
  auto target = sheet(3, 3, 0);
  link->Draw(target.get(), 1, 1);
  EXPECT_EQ(*target->GetPixelPtr(1, 1), 0xFFABCDEFu);
  EXPECT_EQ(*target->GetPixelPtr(2, 2), 0xFF000000u);
  EXPECT_EQ(*target->GetPixelPtr(0, 0), 0u);
}

struct TMaskCase {
  const char* what;
  TPoint pixel;  // link-relative position of the only transparent pixel (-1: none)
  TbsColor value;
  TRect margin;
  bool masked, border, angles;
};

const TMaskCase MaskCases[] = {
    {"corner", {0, 0}, 0x00000000, {2, 2, 2, 2}, false, false, true},
    {"top edge", {5, 0}, 0x00000000, {2, 2, 2, 2}, false, true, false},
    {"centre", {5, 5}, 0x00000000, {2, 2, 2, 2}, true, false, false},
    {"right edge", {9, 5}, 0x00000000, {2, 2, 2, 2}, false, true, false},
    {"bottom-right corner", {9, 9}, 0x80FFFFFF, {2, 2, 2, 2}, false, false, true},
    {"no margins", {5, 5}, 0x007F007F, {0, 0, 0, 0}, true, false, false},
    {"0x33333333 never counts", {5, 5}, 0x33333333, {0, 0, 0, 0}, false, false, false},
    {"opaque key colour does not count", {5, 5}, 0xFF7F007F, {0, 0, 0, 0}, false, false, false},
    {"opaque key colour with margins", {0, 0}, 0xFF7F007F, {2, 2, 2, 2}, false, false, false},
};

TEST(BitmapLink, CheckingMaskedSortsTransparentPixels) {
  for (const auto& c : MaskCases) {
    auto s = sheet(14, 14, 0xFF202020);
    *s->GetPixelPtr(2 + c.pixel.X, 3 + c.pixel.Y) = c.value;
    *s->GetPixelPtr(0, 0) = 0;  // outside the link
    auto link = s->GetBitmapLink(Rect(2, 3, 12, 13));
    link->SetMasked(true);
    link->SetMaskedBorder(true);
    link->SetMaskedAngles(true);
    link->CheckingMasked(c.margin);
    EXPECT_EQ(link->Masked(), c.masked) << c.what;
    EXPECT_EQ(link->MaskedBorder(), c.border) << c.what;
    EXPECT_EQ(link->MaskedAngles(), c.angles) << c.what;
  }
}

TEST(BitmapLink, PositionsOutsideTheSheetCountAsTransparent) {
  auto s = sheet(4, 4, 0xFF000000);
  auto link = s->GetBitmapLink(Rect(0, 0, 5, 4));
  link->CheckingMasked();
  EXPECT_TRUE(link->Masked());
  auto inside = s->GetBitmapLink(Rect(0, 0, 4, 4));
  inside->CheckingMasked();
  EXPECT_FALSE(inside->Masked());
}

TEST(BitmapLink, StreamKeepsNameAndRectOnlyAndAssignCopiesEverything) {
  auto s = sheet(4, 4, 0);
  auto link = s->GetBitmapLink(Rect(-1, 2, 3, 4));
  link->SetName("名");
  link->SetMasked(true);
  TMemoryStream stream;
  link->SaveToStream(&stream);
  EXPECT_EQ(stream.Size(), 4 + 2 + 16);
  stream.SetPosition(0);
  TbsBitmapLink loaded;
  loaded.LoadFromStream(&stream);
  EXPECT_EQ(loaded.Name(), "名");
  EXPECT_EQ(loaded.Rect(), Rect(-1, 2, 3, 4));
  EXPECT_EQ(loaded.Image(), nullptr);
  EXPECT_FALSE(loaded.Masked());

  TbsBitmapLink copy;
  copy.Assign(link.get());
  EXPECT_EQ(copy.Image(), s.get());
  EXPECT_TRUE(copy.Masked());
  EXPECT_EQ(copy.Left(), -1);
  EXPECT_EQ(copy.Bottom(), 4);
  EXPECT_THROW(copy.Assign(s.get()), EConvertError);
}

}  // namespace
