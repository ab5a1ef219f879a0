#include "skin/core/bsstreams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<Byte> bytesOf(TMemoryStream& s) {
  const Byte* p = static_cast<const Byte*>(s.Memory());
  return std::vector<Byte>(p, p + s.Size());
}

TEST(StreamString, LayoutIsCountThenUTF16Units) {
  struct TCase {
    String text;
    std::vector<Byte> bytes;
  } cases[] = {
      {"abc", {3, 0, 0, 0, 0x61, 0, 0x62, 0, 0x63, 0}},
      {"", {0, 0, 0, 0}},
      {"按钮", {2, 0, 0, 0, 0x09, 0x63, 0xAE, 0x94}},
      {"\xF0\x9F\x98\x80", {2, 0, 0, 0, 0x3D, 0xD8, 0x00, 0xDE}},  // one code point, two units
  };
  for (const auto& c : cases) {
    TMemoryStream s;
    WriteStreamString(&s, c.text);
    EXPECT_EQ(bytesOf(s), c.bytes) << c.text;
    s.SetPosition(0);
    String back = "junk";
    ReadStreamString(&s, back);
    EXPECT_EQ(back, c.text);
    EXPECT_EQ(s.Position(), s.Size());
  }
}

TEST(StreamString, HostileCountsStayInsideTheStream) {
  struct TCase {
    Integer count;
    std::vector<Byte> tail;
    String text;
  } cases[] = {
      {-7, {0x61, 0}, ""},
      {1000000000, {0x61, 0, 0x62, 0}, "ab"},
      {3, {0x61, 0, 0x62}, "a"},  // half a unit at the end is dropped
  };
  for (const auto& c : cases) {
    TMemoryStream s;
    s.WriteBuffer(&c.count, 4);
    s.WriteBuffer(c.tail.data(), Int64(c.tail.size()));
    s.SetPosition(0);
    String text = "junk";
    ReadStreamString(&s, text);
    EXPECT_EQ(text, c.text) << c.count;
  }
  TMemoryStream empty;
  String text;
  EXPECT_THROW(ReadStreamString(&empty, text), EReadError);
}

TEST(RectText, SeparatorsSignsAndFailures) {
  struct TCase {
    const char* text;
    TRect rect;
  } cases[] = {
      {"10,20,30,40", {10, 20, 30, 40}}, {"10, 20, 30, 40", {10, 20, 30, 40}},
      {"10;20;30;40", {10, 20, 30, 40}}, {"10 20 30 40", {10, 20, 30, 40}},
      {"-5,0,5,10", {-5, 0, 5, 10}},     {"1=2:3;$A and more", {1, 2, 3, 10}},
      {"10,,30,40", {0, 0, 0, 0}},       {"10,20,30", {0, 0, 0, 0}},
      {"(10,20,30,40)", {0, 0, 0, 0}},   {"1,2,x,4", {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    TRect r = Rect(7, 7, 7, 7);
    RectFromText(c.text, r);
    EXPECT_EQ(r, c.rect) << c.text;
  }
}

TEST(RectText, TakeNextItemConsumesTheSeparatorAndTrims) {
  String s = "  12, 34";
  String item = "x";
  TakeNextItem(s, item);
  EXPECT_EQ(item, "");
  EXPECT_EQ(s, "12, 34");
  TakeNextItem(s, item);
  EXPECT_EQ(item, "12");
  EXPECT_EQ(s, "34");
  TakeNextItem(s, item);
  EXPECT_EQ(item, "34");
  EXPECT_EQ(s, "");
  // Long texts are taken in full.
  String longText(300, '7');
  longText += ",1";
  TakeNextItem(longText, item);
  EXPECT_EQ(item.size(), 300u);
  EXPECT_EQ(longText, "1");
}

}  // namespace
