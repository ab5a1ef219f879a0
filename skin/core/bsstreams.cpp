#include "skin/core/bsstreams.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"

void WriteStreamString(TStream* Stream, const String& S) {
  const std::u16string units = Utf8ToUtf16(S);
  const Integer count = Integer(units.size());
  Stream->WriteBuffer(&count, 4);
  for (char16_t u : units) {
    const Byte bytes[2] = {Byte(u & 0xFF), Byte(u >> 8)};
    Stream->WriteBuffer(bytes, 2);
  }
}

void ReadStreamString(TStream* Stream, String& S) {
  Integer count = 0;
  Stream->ReadBuffer(&count, 4);
  S.clear();
  if (count <= 0) return;
  // Never trust the count further than the stream reaches.
  const Int64 available = std::max<Int64>(0, Stream->Size() - Stream->Position());
  const Int64 wanted = std::min<Int64>(Int64(count) * 2, available);
  std::vector<Byte> bytes(static_cast<size_t>(wanted));
  const Int64 got = bytes.empty() ? 0 : Stream->Read(bytes.data(), wanted);
  std::u16string units;
  units.reserve(size_t(got / 2));
  for (Int64 i = 0; i + 1 < got; i += 2)
    units.push_back(char16_t(bytes[size_t(i)] | (bytes[size_t(i) + 1] << 8)));
  S = Utf16ToUtf8(units);
}

namespace {
bool isItemSeparator(char c) {
  return std::strchr(" (),:;=", c) != nullptr && c != '\0';
}
}  // namespace

void TakeNextItem(String& S, String& Item) {
  Item.clear();
  size_t taken = 0;
  while (taken < S.size()) {
    const char c = S[taken++];
    if (isItemSeparator(c)) break;
    Item.push_back(c);
  }
  S.erase(0, taken);
  Item = Trim(Item);
  S = Trim(S);
}

void RectFromText(const String& S, TRect& R) {
  String rest = S, item;
  Integer values[4] = {};
  for (Integer& v : values) {
    TakeNextItem(rest, item);
    if (!TryStrToInt(item, v)) {
      R = Rect(0, 0, 0, 0);
      return;
    }
  }
  R = Rect(values[0], values[1], values[2], values[3]);
}
