#include "skin/core/bspngimagelist.h"

#include <cmath>

#include "platform/rtl/format.h"

TbsPngImageItem::TbsPngImageItem(TCollection* Collection)
    : TCollectionItem(Collection), FPngImage(std::make_unique<TbsPngImage>()) {
  FName = Format("PngImage%d", Index());
  if (auto* items = dynamic_cast<TbsPngImageItems*>(Collection); items && items->PngImageList())
    items->PngImageList()->InsertPlaceholder(Index());
}

TbsPngImageItem::~TbsPngImageItem() {
  FPngImage.reset();
  if (auto* items = dynamic_cast<TbsPngImageItems*>(Collection()); items && items->PngImageList()) {
    TbsPngImageList* list = items->PngImageList();
    if (Index() < list->Count()) list->Delete(Index());
  }
}

void TbsPngImageItem::Assign(TPersistent* Source) {
  if (auto* item = dynamic_cast<TbsPngImageItem*>(Source)) {
    FPngImage->Assign(item->FPngImage.get());
    FName = item->FName;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TbsPngImageItem::SetPngImage(TbsPngImage* Value) {
  FPngImage->Assign(Value);
  Changed(true);
}

String TbsPngImageItem::GetDisplayName() {
  return FName.empty() ? TCollectionItem::GetDisplayName() : FName;
}

TbsPngImageItems::TbsPngImageItems(TbsPngImageList* APNGImageList)
    : TCollection(CollectionItemClass<TbsPngImageItem>()), FPngImageList(APNGImageList) {}

TPersistent* TbsPngImageItems::GetOwner() {
  return FPngImageList;
}

TbsPngImageList::TbsPngImageList(TComponent* AOwner)
    : TCustomImageList(AOwner), FPngImages(std::make_unique<TbsPngImageItems>(this)) {}

TbsPngImageList::~TbsPngImageList() {
  FPngImages.reset();
}

void TbsPngImageList::SetPngImages(TbsPngImageItems* Value) {
  FPngImages->Assign(Value);
}

void TbsPngImageList::SetPngWidth(Integer Value) {
  setPngSize(Value, Height());
}

void TbsPngImageList::SetPngHeight(Integer Value) {
  setPngSize(Width(), Value);
}

void TbsPngImageList::setPngSize(Integer AWidth, Integer AHeight) {
  if (AWidth == Width() && AHeight == Height()) return;
  if (AWidth != Width()) SetWidth(AWidth);
  if (AHeight != Height()) SetHeight(AHeight);
  if (!ComponentState().Contains(csLoading)) {
    FPngImages->Clear();
    return;
  }
  // Loading keeps the items, but the new size removed their placeholders; without stored bitmap data to
  // bring them back, they are made again so that the count still matches.
  for (Integer i = Count(); i < FPngImages->Count(); ++i) InsertPlaceholder(i);
}

void TbsPngImageList::InsertPlaceholder(Integer Index) {
  TBitmap placeholder;
  placeholder.SetPixelFormat(pf1bit);
  placeholder.SetSize(Width(), Height());
  Insert(Index, &placeholder, nullptr);
}

void TbsPngImageList::DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, Cardinal, bool Enabled) {
  const TRect r = Rect(X, Y, X + Width(), Y + Height());
  TbsPngImageItem* item = FPngImages->GetItem(Index);
  if (Enabled) {
    Canvas->StretchDraw(r, item->PngImage());
    return;
  }
  TbsPngImage disabled;
  disabled.Assign(item->PngImage());
  MakePngTranslucent(&disabled, 127);
  Canvas->StretchDraw(r, &disabled);
}

void MakePngTranslucent(TPngImage* Png, Byte Level) {
  if (Png->Empty()) return;
  const bool bitTransparency = Png->TransparencyMode() == ptmBit;
  const TColor key = Png->TransparentColor();
  const Integer w = Png->Width(), h = Png->Height();
  auto isKey = [&](Integer X, Integer Y) { return bitTransparency && Png->Pixels(X, Y) == key; };
  const Byte type = Png->Header().ColorType;
  if (type == COLOR_GRAYSCALE || type == COLOR_PALETTE) {
    TPngImage rgba;
    rgba.CreateBlank(COLOR_RGBALPHA, 8, Cardinal(w), Cardinal(h));
    for (Integer y = 0; y < h; ++y) {
      Byte* alpha = rgba.AlphaScanline(y);
      for (Integer x = 0; x < w; ++x) {
        rgba.SetPixels(x, y, Png->Pixels(x, y));
        alpha[x] = isKey(x, y) ? 0 : Level;
      }
    }
    Png->Assign(&rgba);
    return;
  }
  if (type == COLOR_RGB) Png->CreateAlpha();
  for (Integer y = 0; y < h; ++y) {
    Byte* alpha = Png->AlphaScanline(y);
    if (alpha == nullptr) return;
    for (Integer x = 0; x < w; ++x)
      alpha[x] = isKey(x, y)
                     ? 0
                     : Byte(std::nearbyint(static_cast<long double>(alpha[x]) / 256 * (Integer(Level) + 1)));
  }
}

void AssignPngToBitmap(TbsBitmap* Bitmap, TPngImage* Png) {
  const Integer w = Png->Width(), h = Png->Height();
  Bitmap->SetSize(w, h);
  // A PNG without pixels leaves the bitmap's size alone: nothing of it may be written then.
  if (Bitmap->Width() == w && Bitmap->Height() == h && !Png->Empty()) {
    for (Integer y = 0; y < h; ++y) {
      const Byte* colour = Png->Scanline(y);
      const Byte* alpha = Png->AlphaScanline(y);
      TbsColor* row = Bitmap->GetRowPtr(y);
      for (Integer x = 0; x < w; ++x) {
        const Byte a = alpha ? alpha[x] : Png->AlphaAt(x, y);
        row[x] = TbsColor(a) << 24 | TbsColor(colour[3 * x + 2]) << 16 | TbsColor(colour[3 * x + 1]) << 8 |
                 colour[3 * x];
      }
    }
  }
  Bitmap->CheckingAlphaBlend();
}
