// libFuzzer target: a container, or a raw payload, fed to the skin reader. Every input must end in a
// loaded skin or an Exception; crashes, leaks and runaway allocation are the findings.
#include <cstddef>
#include <cstdint>

#include "skin/core/bsskincontainer.h"
#include "skin/core/bsskindata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const String Bytes(reinterpret_cast<const char*>(Data) + 1, Size - 1);
  try {
    TbsCompressedStoredSkin Stored(nullptr);
    if (Data[0] & 1) {
      // The bytes as a payload: compressed here so the reader behind the inflater is reached.
      TStringStream Payload(Bytes);
      TMemoryStream Block;
      CompressSkinPayload(&Payload, &Block);
      Block.SetPosition(0);
      Stored.ReadCompressedStream(&Block);
    } else {
      TStringStream Container(Bytes);
      Stored.LoadFromCompressStream(&Container);
    }
    TbsSkinData Skin(nullptr);
    Skin.LoadCompressedStoredSkin(&Stored);
    if (!Skin.Empty) {
      Skin.GetControlIndex("button");
      TbsCompressedStoredSkin Again(nullptr);
      Again.LoadFromSkinData(&Skin);
    }
  } catch (const Exception&) {
  }
  return 0;
}
