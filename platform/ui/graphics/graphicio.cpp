#include "platform/ui/graphics/graphicio.h"

#include "platform/ui/graphics/bitmap.h"

std::vector<Byte> ReadStreamToEnd(TStream* Stream) {
  const Int64 count = Stream->Size() - Stream->Position();
  std::vector<Byte> data(size_t(count > 0 ? count : 0));
  if (!data.empty()) Stream->ReadBuffer(data.data(), Int64(data.size()));
  return data;
}

void WriteStreamBytes(TStream* Stream, const std::vector<Byte>& Data) {
  Stream->WriteBuffer(Data.data(), Int64(Data.size()));
}

TRawImage OpaqueImage32(TBitmap* Bitmap) {
  TRawImage image = ConvertTo32(Bitmap->ToRawImage());
  for (size_t i = 3; i < image.Bits.size(); i += 4) image.Bits[i] = 255;
  return image;
}
