// A skin in one zlib-compressed block (its pictures and description), as a file, a stream with a small
// header or a stored layout's binary property; and named lists of such skins on a form.
#pragma once

#include <memory>

#include "platform/rtl/collection.h"
#include "platform/rtl/component.h"
#include "platform/rtl/streams.h"

class TbsSkinData;

// A compressed block that does not inflate, or whose payload would pass SkinPayloadLimit.
NERIVO_EXCEPTION_CLASS(EZDecompressionError, EStreamError);

// The largest payload a block may inflate to. Real skins are well under a megabyte; the bound keeps a
// crafted block from making the program allocate without end.
constexpr Int64 SkinPayloadLimit = Int64(32) << 20;
// The container and payload version written; readers take any value up to it.
constexpr Integer SkinFormatVersion = 3;

// zlib format (RFC 1950), best compression.
void CompressSkinPayload(TStream* Source, TStream* Dest);
// Inflates all of Block and appends the payload to Dest. EZDecompressionError for a damaged or
// truncated block, or a payload larger than Limit.
void DecompressSkinBlock(const void* Block, Int64 Size, TStream* Dest, Int64 Limit = SkinPayloadLimit);

class TbsCompressedStoredSkin : public TComponent {
 public:
  explicit TbsCompressedStoredSkin(TComponent* AOwner);
  ~TbsCompressedStoredSkin() override;
  String ClassName() const override { return "TbsCompressedStoredSkin"; }

  // The payload of a loaded skin, with its description regenerated.
  void LoadFromSkinData(TbsSkinData* ASkinData);
  // The payload of a skin folder. EFOpenError for a missing file; a file that is no skin description
  // leaves the block as it was.
  void LoadFromIniFile(const String& AFileName);
  // A container whose format is above 3 leaves the block empty; EReadError when it is shorter than
  // its header says.
  void LoadFromCompressFile(const String& AFileName);
  // Nothing when Empty.
  void SaveToCompressFile(const String& AFileName);
  // Reads from the stream's start, whatever its position.
  void LoadFromCompressStream(TStream* Stream);
  // Writes at the stream's position; an empty block gives the header with n = 0.
  void SaveToCompressStream(TStream* Stream);
  void DeCompressToStream(TMemoryStream* S);
  bool Empty() const { return FCompressedStream->Size() == 0; }

  // The "CompressedData" property of a stored layout: the block without header.
  void ReadCompressedStream(TStream* Stream);
  void WriteCompressedStream(TStream* Stream);
  TMemoryStream* CompressedStream() const { return FCompressedStream.get(); }

  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value) { FDescription = Value; }
  const String& FileName() const { return FFileName; }
  // At design time (outside layout reading) stores the bare name and rebuilds the block from the file.
  void SetFileName(const String& Value);
  const String& CompressedFileName() const { return FCompressedFileName; }
  void SetCompressedFileName(const String& Value);

 private:
  friend class TbsSkinListItem;
  String FFileName;
  String FCompressedFileName;
  std::unique_ptr<TMemoryStream> FCompressedStream;
  String FDescription;
};

class TbsCompressedSkinList;

class TbsSkinListItem : public TCollectionItem {
 public:
  // Named "bsSkin<index>" after its place in the collection.
  explicit TbsSkinListItem(TCollection* Collection);
  ~TbsSkinListItem() override;
  String ClassName() const override { return "TbsSkinListItem"; }
  // Copies another item's stored skin and texts.
  void Assign(TPersistent* Source) override;

  TbsCompressedStoredSkin* Skin() const { return FSkin.get(); }
  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value) { FDescription = Value; }
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value);
  const String& CompressedFileName() const { return FCompressedFileName; }
  void SetCompressedFileName(const String& Value);
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }

  // The "Skin" property of a stored layout: the container with its header.
  void ReadSkinStream(TStream* Stream) { FSkin->LoadFromCompressStream(Stream); }
  void WriteSkinStream(TStream* Stream) { FSkin->SaveToCompressStream(Stream); }

 protected:
  String GetDisplayName() override { return FName; }

 private:
  bool designTime() const;

  std::unique_ptr<TbsCompressedStoredSkin> FSkin;
  String FDescription;
  String FFileName;
  String FCompressedFileName;
  String FName;
};

class TbsSkinListItems : public TCollection {
 public:
  explicit TbsSkinListItems(TbsCompressedSkinList* ASkinList);
  String ClassName() const override { return "TbsSkinListItems"; }
  // EListError outside 0..Count-1.
  TbsSkinListItem* GetItem(Integer Index) const { return static_cast<TbsSkinListItem*>(Items(Index)); }
  TbsSkinListItem* Add() { return static_cast<TbsSkinListItem*>(TCollection::Add()); }
  TbsCompressedSkinList* SkinList() const { return FSkinList; }
  TPersistent* GetOwner() override;

 private:
  TbsCompressedSkinList* FSkinList;
};

class TbsCompressedSkinList : public TComponent {
 public:
  explicit TbsCompressedSkinList(TComponent* AOwner);
  ~TbsCompressedSkinList() override;
  String ClassName() const override { return "TbsCompressedSkinList"; }

  TbsSkinListItems* Skins() const { return FSkins.get(); }
  // Replaces the items by copies of Value's items.
  void SetSkins(TbsSkinListItems* Value);

 private:
  std::unique_ptr<TbsSkinListItems> FSkins;
};
