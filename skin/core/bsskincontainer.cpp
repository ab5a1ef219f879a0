#include "skin/core/bsskincontainer.h"

#include <zlib.h>

#include <vector>

#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/inifiles.h"
#include "platform/ui/graphics/bitmap.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsskinlayout.h"

namespace {

constexpr Int64 ChunkSize = 4096;
// Inflating in larger pieces costs fewer calls; the payload is the same.
constexpr Int64 InflateChunkSize = 65536;

void writeInteger(TStream* Stream, Integer Value) {
  Byte B[4];
  for (int i = 0; i < 4; ++i) B[i] = Byte(Cardinal(Value) >> (8 * i));
  Stream->WriteBuffer(B, 4);
}

Integer readInteger(TStream* Stream) {
  Byte B[4];
  Stream->ReadBuffer(B, 4);
  return Integer(Cardinal(B[0]) | (Cardinal(B[1]) << 8) | (Cardinal(B[2]) << 16) | (Cardinal(B[3]) << 24));
}

void writeSlot(TStream* Stream, TBitmap* Bitmap) {
  const Byte Flag = Bitmap->Empty() ? 1 : 0;
  Stream->WriteBuffer(&Flag, 1);
  if (!Flag) Bitmap->SaveToStream(Stream);
}

void writeText(TStream* Stream, const String& Text) {
  if (!Text.empty()) Stream->WriteBuffer(Text.data(), Int64(Text.size()));
}

std::unique_ptr<TBitmap> loadPicture(const String& Folder, const String& Name) {
  auto Bitmap = std::make_unique<TBitmap>();
  if (!Name.empty()) Bitmap->LoadFromFile(Folder + Name);
  return Bitmap;
}

}  // namespace

void CompressSkinPayload(TStream* Source, TStream* Dest) {
  z_stream Z{};
  if (deflateInit(&Z, Z_BEST_COMPRESSION) != Z_OK) throw EOutOfMemory("Out of memory");
  struct TEnd {
    z_stream* Z;
    ~TEnd() { deflateEnd(Z); }
  } End{&Z};
  std::vector<Byte> In(ChunkSize), Out(ChunkSize);
  Source->SetPosition(0);
  int Flush = Z_NO_FLUSH;
  do {
    const Int64 Got = Source->Read(In.data(), ChunkSize);
    Flush = Got < ChunkSize ? Z_FINISH : Z_NO_FLUSH;
    Z.next_in = In.data();
    Z.avail_in = uInt(Got);
    do {
      Z.next_out = Out.data();
      Z.avail_out = uInt(ChunkSize);
      deflate(&Z, Flush);
      Dest->WriteBuffer(Out.data(), ChunkSize - Z.avail_out);
    } while (Z.avail_out == 0);
  } while (Flush != Z_FINISH);
}

void DecompressSkinBlock(const void* Block, Int64 Size, TStream* Dest, Int64 Limit) {
  z_stream Z{};
  if (inflateInit(&Z) != Z_OK) throw EOutOfMemory("Out of memory");
  struct TEnd {
    z_stream* Z;
    ~TEnd() { inflateEnd(Z); }
  } End{&Z};
  std::vector<Byte> Out(InflateChunkSize);
  const Byte* Next = static_cast<const Byte*>(Block);
  Int64 Left = Size;
  Int64 Total = 0;
  for (;;) {
    if (Z.avail_in == 0 && Left > 0) {
      const Int64 Take = std::min<Int64>(Left, Int64(1) << 30);
      Z.next_in = const_cast<Byte*>(Next);
      Z.avail_in = uInt(Take);
      Next += Take;
      Left -= Take;
    }
    Z.next_out = Out.data();
    Z.avail_out = uInt(InflateChunkSize);
    const int Ret = inflate(&Z, Z_NO_FLUSH);
    const Int64 Produced = InflateChunkSize - Z.avail_out;
    if (Ret != Z_OK && Ret != Z_STREAM_END && !(Ret == Z_BUF_ERROR && Produced > 0))
      throw EZDecompressionError(Ret == Z_BUF_ERROR ? "Compressed skin data is truncated"
                                                    : "Compressed skin data is damaged");
    Total += Produced;
    if (Total > Limit)
      throw EZDecompressionError(Format("Compressed skin data inflates past %d bytes", Limit));
    if (Produced) Dest->WriteBuffer(Out.data(), Produced);
    if (Ret == Z_STREAM_END) return;
  }
}

// ---- TbsCompressedStoredSkin ----

TbsCompressedStoredSkin::TbsCompressedStoredSkin(TComponent* AOwner)
    : TComponent(AOwner), FCompressedStream(std::make_unique<TMemoryStream>()) {}

TbsCompressedStoredSkin::~TbsCompressedStoredSkin() = default;

void TbsCompressedStoredSkin::LoadFromSkinData(TbsSkinData* ASkinData) {
  TMemoryStream Payload;
  writeInteger(&Payload, SkinFormatVersion);
  writeSlot(&Payload, ASkinData->FPicture.get());
  writeSlot(&Payload, ASkinData->FInActivePicture.get());
  writeSlot(&Payload, ASkinData->FMask.get());
  writeInteger(&Payload, ASkinData->PictureCount());
  for (Integer i = 0; i < ASkinData->PictureCount(); ++i) ASkinData->Picture(i)->SaveToStream(&Payload);
  TMemIniFile Ini("");
  ASkinData->WriteSkinDescription(&Ini);
  writeText(&Payload, SkinDescriptionText(&Ini));
  FCompressedStream->Clear();
  CompressSkinPayload(&Payload, FCompressedStream.get());
}

void TbsCompressedStoredSkin::LoadFromIniFile(const String& AFileName) {
  const String Bytes = ReadSkinFileBytes(AFileName);
  TStringList Lines;
  Lines.SetText(DecodeSkinDescription(Bytes));
  TMemIniFile Ini("");
  Ini.SetStrings(&Lines);
  if (!IsValidSkinIni(&Ini)) return;
  const String Folder = ExtractFilePath(AFileName);
  TMemoryStream Payload;
  writeInteger(&Payload, SkinFormatVersion);
  for (const char* Key : {"picture", "inactivepicture", "mask"})
    writeSlot(&Payload, loadPicture(Folder, Ini.ReadString("PICTURES", Key, "")).get());
  TStringList Names;
  ReadSkinStrings(&Ini, "PICTURES", "activepictures", &Names);
  writeInteger(&Payload, Names.Count());
  for (Integer i = 0; i < Names.Count(); ++i) loadPicture(Folder, Names.Strings(i))->SaveToStream(&Payload);
  writeText(&Payload, EncodeSkinDescription(&Lines));
  FCompressedStream->Clear();
  CompressSkinPayload(&Payload, FCompressedStream.get());
}

void TbsCompressedStoredSkin::LoadFromCompressFile(const String& AFileName) {
  FCompressedStream->Clear();
  TFileStream F(AFileName, fmOpenRead | fmShareDenyWrite);
  LoadFromCompressStream(&F);
}

void TbsCompressedStoredSkin::SaveToCompressFile(const String& AFileName) {
  if (Empty()) return;
  TFileStream F(AFileName, fmCreate);
  SaveToCompressStream(&F);
}

void TbsCompressedStoredSkin::LoadFromCompressStream(TStream* Stream) {
  FCompressedStream->Clear();
  Stream->SetPosition(0);
  if (readInteger(Stream) > SkinFormatVersion) return;
  const Integer N = readInteger(Stream);
  // Checked before anything is allocated: a header may claim any size.
  if (N < 0 || N > Stream->Size() - Stream->Position()) throw EReadError("Stream read error");
  FCompressedStream->SetSize(N);
  if (N > 0) Stream->ReadBuffer(FCompressedStream->Memory(), N);
  FCompressedStream->SetPosition(0);
}

void TbsCompressedStoredSkin::SaveToCompressStream(TStream* Stream) {
  writeInteger(Stream, SkinFormatVersion);
  writeInteger(Stream, Integer(FCompressedStream->Size()));
  if (!Empty()) Stream->WriteBuffer(FCompressedStream->Memory(), FCompressedStream->Size());
}

void TbsCompressedStoredSkin::DeCompressToStream(TMemoryStream* S) {
  S->Seek(0, soEnd);
  DecompressSkinBlock(FCompressedStream->Memory(), FCompressedStream->Size(), S);
}

void TbsCompressedStoredSkin::ReadCompressedStream(TStream* Stream) {
  FCompressedStream->Clear();
  FCompressedStream->LoadFromStream(Stream);
}

void TbsCompressedStoredSkin::WriteCompressedStream(TStream* Stream) {
  if (!Empty()) Stream->WriteBuffer(FCompressedStream->Memory(), FCompressedStream->Size());
}

void TbsCompressedStoredSkin::SetFileName(const String& Value) {
  const TComponentState State = ComponentState();
  if (State.Contains(csDesigning) && !State.Contains(csReading)) {
    FFileName = ExtractFileName(Value);
    LoadFromIniFile(Value);
  } else {
    FFileName = Value;
  }
}

void TbsCompressedStoredSkin::SetCompressedFileName(const String& Value) {
  const TComponentState State = ComponentState();
  if (State.Contains(csDesigning) && !State.Contains(csReading)) {
    FCompressedFileName = ExtractFileName(Value);
    LoadFromCompressFile(Value);
  } else {
    FCompressedFileName = Value;
  }
}

// ---- skin lists ----

TbsSkinListItem::TbsSkinListItem(TCollection* Collection)
    : TCollectionItem(Collection), FSkin(std::make_unique<TbsCompressedStoredSkin>(nullptr)) {
  FName = Format("bsSkin%d", Index());
}

TbsSkinListItem::~TbsSkinListItem() = default;

void TbsSkinListItem::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TbsSkinListItem*>(Source);
  if (!Other) {
    TCollectionItem::Assign(Source);
    return;
  }
  TMemoryStream Block;
  Other->FSkin->WriteCompressedStream(&Block);
  Block.SetPosition(0);
  FSkin->ReadCompressedStream(&Block);
  FSkin->FFileName = Other->FSkin->FFileName;
  FSkin->FCompressedFileName = Other->FSkin->FCompressedFileName;
  FSkin->FDescription = Other->FSkin->FDescription;
  FDescription = Other->FDescription;
  FFileName = Other->FFileName;
  FCompressedFileName = Other->FCompressedFileName;
  FName = Other->FName;
}

bool TbsSkinListItem::designTime() const {
  auto* Items = dynamic_cast<TbsSkinListItems*>(Collection());
  if (!Items || !Items->SkinList()) return false;
  const TComponentState State = Items->SkinList()->ComponentState();
  return State.Contains(csDesigning) && !State.Contains(csReading);
}

void TbsSkinListItem::SetFileName(const String& Value) {
  if (designTime()) {
    FSkin->LoadFromIniFile(Value);
    FFileName = ExtractFileName(Value);
  } else {
    FFileName = Value;
  }
}

void TbsSkinListItem::SetCompressedFileName(const String& Value) {
  if (designTime()) {
    FSkin->LoadFromCompressFile(Value);
    FCompressedFileName = ExtractFileName(Value);
  } else {
    FCompressedFileName = Value;
  }
}

TbsSkinListItems::TbsSkinListItems(TbsCompressedSkinList* ASkinList)
    : TCollection(CollectionItemClass<TbsSkinListItem>()), FSkinList(ASkinList) {}

TPersistent* TbsSkinListItems::GetOwner() {
  return FSkinList;
}

TbsCompressedSkinList::TbsCompressedSkinList(TComponent* AOwner)
    : TComponent(AOwner), FSkins(std::make_unique<TbsSkinListItems>(this)) {}

TbsCompressedSkinList::~TbsCompressedSkinList() = default;

void TbsCompressedSkinList::SetSkins(TbsSkinListItems* Value) {
  if (Value != FSkins.get()) FSkins->Assign(Value);
}
