// An image list of alpha PNGs: controls that draw image i of an image list get the list's i-th PNG.
// Each item keeps a placeholder in the inherited list, so the inherited count equals the item count.
#pragma once

#include <memory>

#include "platform/rtl/collection.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/graphics/pngimage.h"
#include "skin/core/bsbitmap.h"

class TbsPngImageList;

class TbsPngImage : public TPngImage {
 public:
  String ClassName() const override { return "TbsPngImage"; }
};

class TbsPngImageItem : public TCollectionItem {
 public:
  // Joins Collection at the end, named "PngImage<index>", with a placeholder at its index in the list.
  explicit TbsPngImageItem(TCollection* Collection);
  // Removes its placeholder when the list still holds one at its index.
  ~TbsPngImageItem() override;
  String ClassName() const override { return "TbsPngImageItem"; }

  // From another item: its PNG and its name; anything else: "cannot assign".
  void Assign(TPersistent* Source) override;

  TbsPngImage* PngImage() const { return FPngImage.get(); }
  // Copies Value, then reports a change of the whole collection.
  void SetPngImage(TbsPngImage* Value);
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }

 protected:
  // Name, or the inherited display name when Name is empty.
  String GetDisplayName() override;

 private:
  std::unique_ptr<TbsPngImage> FPngImage;
  String FName;
};

class TbsPngImageItems : public TCollection {
 public:
  explicit TbsPngImageItems(TbsPngImageList* APNGImageList);
  String ClassName() const override { return "TbsPngImageItems"; }
  TPersistent* GetOwner() override;
  TbsPngImageList* PngImageList() const { return FPngImageList; }
  // EListError for an index outside the items.
  TbsPngImageItem* GetItem(Integer Index) const { return static_cast<TbsPngImageItem*>(Items(Index)); }

 private:
  TbsPngImageList* FPngImageList;
};

class TbsPngImageList : public TCustomImageList {
 public:
  explicit TbsPngImageList(TComponent* AOwner);
  // Frees the items (and their placeholders) first.
  ~TbsPngImageList() override;
  String ClassName() const override { return "TbsPngImageList"; }

  TbsPngImageItems* PngImages() const { return FPngImages.get(); }
  // Copies the items of Value one by one.
  void SetPngImages(TbsPngImageItems* Value);
  Integer PngWidth() const { return Width(); }
  Integer PngHeight() const { return Height(); }
  // A new size removes every item, unless the list is being loaded from a stored layout.
  void SetPngWidth(Integer Value);
  void SetPngHeight(Integer Value);

  // Makes the placeholder of a new item (a monochrome bitmap of the list's size) at Index.
  void InsertPlaceholder(Integer Index);

 protected:
  // PNG Index stretched into (X, Y, X + width, Y + height); disabled images at half opacity. Style is
  // ignored. EListError for an index outside the items.
  void DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, Cardinal Style,
              bool Enabled = true) override;

 private:
  void setPngSize(Integer AWidth, Integer AHeight);
  std::unique_ptr<TbsPngImageItems> FPngImages;
};

// Gives every pixel alpha Level (0..255), scaled into the existing alpha of pictures that have a channel
// (Round(alpha / 256 * (Level + 1)), halves to even); the bit-transparency key colour gets alpha 0. Grey
// and palette pictures become true colour with alpha.
void MakePngTranslucent(TPngImage* Png, Byte Level);
// The PNG's colours and alpha into Bitmap, sized to it; AlphaBlend from the alpha values found. A PNG
// without an alpha channel gives the alpha it describes otherwise (its key colour 0, the rest 255).
void AssignPngToBitmap(TbsBitmap* Bitmap, TPngImage* Png);
