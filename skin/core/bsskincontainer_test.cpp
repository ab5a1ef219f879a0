#include "skin/core/bsskincontainer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>

#include "skin/core/bsskindata.h"
#include "skin/core/bsskinlayout.h"
#include "skin/core/testkit/bsskintestkit.h"

namespace {

String compressed(const String& Payload) {
  TStringStream In(Payload);
  TStringStream Out;
  CompressSkinPayload(&In, &Out);
  return Out.DataString();
}

String containerOf(const String& Block, Integer Format = 3) {
  return le32(Format) + le32(Integer(Block.size())) + Block;
}

String blockOf(TbsCompressedStoredSkin& Stored) {
  TStringStream S;
  Stored.WriteCompressedStream(&S);
  return S.DataString();
}

const String Description =
    "[VERSION]\r\nskinname=C\r\n[PICTURES]\r\nx=1\r\n[FORMINFO]\r\nborderwidth=2\r\n"
    "[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=1\r\n0=button:button\r\n";
const String Payload = le32(3) + String("\x01\x01\x01", 3) + le32(0) + Description;

}  // namespace

TEST(CompressedStoredSkin, EmptySkinWritesTheBareHeaderAndReadsItBack) {
  TbsCompressedStoredSkin Stored(nullptr);
  EXPECT_TRUE(Stored.Empty());
  TStringStream S;
  Stored.SaveToCompressStream(&S);
  EXPECT_EQ(S.DataString(), String("\x03\0\0\0\0\0\0\0", 8));
  TbsCompressedStoredSkin Again(nullptr);
  Again.LoadFromCompressStream(&S);
  EXPECT_TRUE(Again.Empty());
  // Nothing to save: an existing file stays as it is.
  TTempFolder Dir;
  WriteSkinFileBytes(Dir / "keep.skn", "old");
  Stored.SaveToCompressFile(Dir / "keep.skn");
  EXPECT_EQ(ReadSkinFileBytes(Dir / "keep.skn"), "old");
}

TEST(CompressedStoredSkin, ContainerHeaderCases) {
  const String Block = compressed(Payload);
  struct {
    const char* Name;
    String Bytes;
    bool Throws;
    bool Empty;
  } Cases[] = {
      {"format 3", containerOf(Block), false, false},
      {"format -1 is read", containerOf(Block, -1), false, false},
      {"format 4 stays empty", containerOf(Block, 4), false, true},
      {"n past the end", le32(3) + le32(Integer(Block.size()) + 1) + Block, true, true},
      {"n of two gigabytes", le32(3) + le32(0x7FFFFFFF) + Block, true, true},
      {"negative n", le32(3) + le32(-5) + Block, true, true},
      {"header cut short", le32(3) + "\x10", true, true},
      {"trailing bytes are not read", containerOf(Block) + "junk", false, false},
  };
  for (const auto& C : Cases) {
    TbsCompressedStoredSkin Stored(nullptr);
    TStringStream S(C.Bytes);
    S.Seek(0, soEnd);  // read from the start whatever the position
    if (C.Throws) {
      EXPECT_THROW(Stored.LoadFromCompressStream(&S), EReadError) << C.Name;
    } else {
      EXPECT_NO_THROW(Stored.LoadFromCompressStream(&S)) << C.Name;
    }
    EXPECT_EQ(Stored.Empty(), C.Empty) << C.Name;
    if (!C.Empty) {
      EXPECT_EQ(blockOf(Stored), Block) << C.Name;
    }
  }
}

TEST(CompressedStoredSkin, FileRoundTripKeepsTheCompressedBytes) {
  TTempFolder Dir;
  TbsSkinData Skin(nullptr);
  Skin.AddCtrl(std::make_unique<TbsDataSkinButtonControl>("button"));
  Skin.SkinName = "File";
  TbsCompressedStoredSkin Stored(nullptr);
  Stored.LoadFromSkinData(&Skin);
  const String Block = blockOf(Stored);
  ASSERT_GE(Block.size(), 2u);
  EXPECT_EQ(Byte(Block[0]), 0x78);
  EXPECT_EQ(Byte(Block[1]), 0xDA);
  Stored.SaveToCompressFile(Dir / "s.skn");
  EXPECT_EQ(ReadSkinFileBytes(Dir / "s.skn"), containerOf(Block));

  TbsCompressedStoredSkin Again(nullptr);
  Again.LoadFromCompressFile(Dir / "s.skn");
  EXPECT_EQ(blockOf(Again), Block);
  TMemoryStream Out;
  Again.DeCompressToStream(&Out);
  const String Text(static_cast<const char*>(Out.Memory()), size_t(Out.Size()));
  EXPECT_EQ(Text.substr(0, 4), le32(3));
  EXPECT_NE(Text.find("[VERSION]\r\nver=1\r\nskinname=File\r\n"), String::npos);
  EXPECT_NE(Text.find("0=button:button\r\n"), String::npos);

  EXPECT_THROW(Again.LoadFromCompressFile(Dir / "none.skn"), EFOpenError);
  EXPECT_TRUE(Again.Empty());
}

TEST(CompressedStoredSkin, DamagedBlocksFailWithADecompressionError) {
  const String Block = compressed(Payload);
  String Flipped = Block;
  Flipped[Flipped.size() / 2] ^= 0x55;
  struct {
    const char* Name;
    String Block;
  } Cases[] = {
      {"truncated", Block.substr(0, Block.size() - 6)},
      {"no zlib header", "plain text, not compressed"},
      {"flipped bits", Flipped},
  };
  for (const auto& C : Cases) {
    TbsCompressedStoredSkin Stored(nullptr);
    TStringStream S(containerOf(C.Block));
    Stored.LoadFromCompressStream(&S);
    TbsSkinData Skin(nullptr);
    EXPECT_THROW(Skin.LoadCompressedStoredSkin(&Stored), EZDecompressionError) << C.Name;
    EXPECT_TRUE(Skin.Empty) << C.Name;
  }
}

TEST(CompressedStoredSkin, InflatingStopsAtTheLimit) {
  // A few hundred kilobytes of zeros compress to a few hundred bytes.
  const String Block = compressed(String(300000, '\0'));
  TMemoryStream Out;
  EXPECT_THROW(DecompressSkinBlock(Block.data(), Int64(Block.size()), &Out, 100000), EZDecompressionError);
  EXPECT_LE(Out.Size(), 100000);
  TMemoryStream Whole;
  DecompressSkinBlock(Block.data(), Int64(Block.size()), &Whole, 300000);
  EXPECT_EQ(Whole.Size(), 300000);
}

TEST(CompressedStoredSkin, ABombContainerIsRefused) {
  // One more mebibyte of zeros than a payload may hold, compressed in pieces.
  z_stream Z{};
  ASSERT_EQ(deflateInit2(&Z, 1, Z_DEFLATED, 15, 8, Z_RLE), Z_OK);
  std::vector<Byte> Zeros(1 << 20), Out(1 << 16);
  String Block;
  const Int64 Pieces = SkinPayloadLimit / Int64(Zeros.size()) + 1;
  for (Int64 i = 0; i < Pieces; ++i) {
    Z.next_in = Zeros.data();
    Z.avail_in = uInt(Zeros.size());
    const int Flush = i + 1 == Pieces ? Z_FINISH : Z_NO_FLUSH;
    do {
      Z.next_out = Out.data();
      Z.avail_out = uInt(Out.size());
      deflate(&Z, Flush);
      Block.append(reinterpret_cast<char*>(Out.data()), Out.size() - Z.avail_out);
    } while (Z.avail_out == 0);
  }
  deflateEnd(&Z);
  TbsCompressedStoredSkin Stored(nullptr);
  TStringStream S(containerOf(Block));
  Stored.LoadFromCompressStream(&S);
  TbsSkinData Skin(nullptr);
  EXPECT_THROW(Skin.LoadCompressedStoredSkin(&Stored), EZDecompressionError);
}

TEST(CompressedStoredSkin, LoadFromIniFileKeepsTheBlockForANonSkin) {
  TTempFolder Dir;
  WriteSkinFileBytes(Dir / "skin.ini", Description);
  TbsCompressedStoredSkin Stored(nullptr);
  Stored.LoadFromIniFile(Dir / "skin.ini");
  ASSERT_FALSE(Stored.Empty());
  const String Before = blockOf(Stored);
  WriteSkinFileBytes(Dir / "other.ini", "[VERSION]\r\nskinname=x\r\n");
  Stored.LoadFromIniFile(Dir / "other.ini");
  EXPECT_EQ(blockOf(Stored), Before);
  EXPECT_THROW(Stored.LoadFromIniFile(Dir / "missing.ini"), EFOpenError);
  // The payload carries the file's own lines, CR LF ended.
  TMemoryStream Out;
  Stored.DeCompressToStream(&Out);
  const String Text(static_cast<const char*>(Out.Memory()), size_t(Out.Size()));
  EXPECT_EQ(Text.substr(Text.size() - Description.size()), Description);
}

TEST(SkinList, ItemsAreNamedByTheirPlaceAndCopyTheirSkins) {
  TbsCompressedSkinList List(nullptr);
  EXPECT_EQ(List.Skins()->Add()->Name(), "bsSkin0");
  List.Skins()->Add();
  TbsSkinListItem* Third = List.Skins()->Add();
  EXPECT_EQ(Third->Name(), "bsSkin2");
  EXPECT_EQ(Third->DisplayName(), "bsSkin2");
  EXPECT_EQ(List.Skins()->Owner(), &List);
  EXPECT_THROW(List.Skins()->GetItem(3), EListError);

  TStringStream Container(containerOf(compressed(Payload)));
  Third->ReadSkinStream(&Container);
  Third->SetDescription("third");
  TStringStream Written;
  Third->WriteSkinStream(&Written);
  EXPECT_EQ(Written.DataString(), Container.DataString());

  TbsCompressedSkinList Copy(nullptr);
  Copy.SetSkins(List.Skins());
  ASSERT_EQ(Copy.Skins()->Count(), 3);
  EXPECT_EQ(Copy.Skins()->GetItem(2)->Name(), "bsSkin2");
  EXPECT_EQ(Copy.Skins()->GetItem(2)->Description(), "third");
  EXPECT_EQ(blockOf(*Copy.Skins()->GetItem(2)->Skin()), blockOf(*Third->Skin()));
  EXPECT_TRUE(Copy.Skins()->GetItem(0)->Skin()->Empty());
}
