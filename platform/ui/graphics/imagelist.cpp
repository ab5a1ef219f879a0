#include "platform/ui/graphics/imagelist.h"

#include <algorithm>
#include <cstring>

#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/icon.h"

namespace {

constexpr const char* InvalidIndex = "Invalid ImageList Index";

TRawImage disabledLook(const TRawImage& image) {
  TRawImage result = image;
  for (size_t i = 0; i + 3 < result.Bits.size(); i += 4) {
    Byte* p = &result.Bits[i];
    const unsigned level = (77u * p[2] + 150u * p[1] + 29u * p[0] + 128) >> 8;
    p[0] = p[1] = p[2] = Byte(128 + level / 2);
  }
  return result;
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, Integer AWidth, Integer AHeight)
    : TComponent(AOwner), FWidth(std::max(AWidth, 1)), FHeight(std::max(AHeight, 1)) {}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::Change() {
  if (OnChange) OnChange(this);
}

void TCustomImageList::SetWidth(Integer Value) {
  Value = std::max(Value, 1);
  if (Value == FWidth) return;
  FWidth = Value;
  FImages.clear();
  Change();
}

void TCustomImageList::SetHeight(Integer Value) {
  Value = std::max(Value, 1);
  if (Value == FHeight) return;
  FHeight = Value;
  FImages.clear();
  Change();
}

std::vector<TRawImage> TCustomImageList::split(TBitmap* Image, TBitmap* Mask, bool UseKey,
                                               COLORREF Key) const {
  std::vector<TRawImage> result;
  if (!Image || Image->Empty()) return result;
  const TRawImage pixels = ConvertTo32(Image->ToRawImage());
  TRawImage mask;
  if (Mask && !Mask->Empty()) mask = ConvertTo32(Mask->ToRawImage());
  const Integer pieces = std::max(1, pixels.Width / FWidth);
  for (Integer piece = 0; piece < pieces; ++piece) {
    TRawImage image;
    image.Allocate(FWidth, FHeight, 32);  // outside the source: transparent black
    for (Integer y = 0; y < FHeight && y < pixels.Height; ++y)
      for (Integer x = 0; x < FWidth; ++x) {
        const Integer sx = piece * FWidth + x;
        if (sx >= pixels.Width) break;
        const Byte* src = pixels.Row(y) + sx * 4;
        Byte* dst = image.Row(y) + x * 4;
        std::memcpy(dst, src, 3);
        bool hidden = UseKey && RGB(src[2], src[1], src[0]) == Key;
        if (!mask.Empty() && sx < mask.Width && y < mask.Height) {
          const Byte* m = mask.Row(y) + sx * 4;
          hidden = hidden || (m[0] | m[1] | m[2]) != 0;
        }
        dst[3] = hidden ? 0 : 255;
      }
    result.push_back(std::move(image));
  }
  return result;
}

Integer TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  std::vector<TRawImage> images = split(Image, Mask, false, 0);
  if (images.empty()) return -1;
  const Integer first = Count();
  for (auto& image : images) FImages.push_back(std::move(image));
  Change();
  return first;
}

Integer TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  const bool useKey = MaskColor != clNone;
  COLORREF key = 0;
  if (MaskColor == clDefault) {
    if (Image && !Image->Empty()) {
      const TRawImage pixels = ConvertTo32(Image->ToRawImage());
      const Byte* p = pixels.Row(pixels.Height - 1);
      key = RGB(p[2], p[1], p[0]);
    }
  } else if (useKey) {
    key = ColorToRGB(MaskColor) & 0xFFFFFF;
  }
  std::vector<TRawImage> images = split(Image, nullptr, useKey, key);
  if (images.empty()) return -1;
  const Integer first = Count();
  for (auto& image : images) FImages.push_back(std::move(image));
  Change();
  return first;
}

void TCustomImageList::Insert(Integer Index, TBitmap* Image, TBitmap* Mask) {
  if (Index < 0 || Index > Count()) throw EInvalidOperation(InvalidIndex);
  std::vector<TRawImage> images = split(Image, Mask, false, 0);
  if (images.empty()) return;
  FImages.insert(FImages.begin() + Index, std::make_move_iterator(images.begin()),
                 std::make_move_iterator(images.end()));
  Change();
}

void TCustomImageList::Delete(Integer Index) {
  if (Index >= Count()) throw EInvalidOperation(InvalidIndex);
  if (Index < 0)
    FImages.clear();
  else
    FImages.erase(FImages.begin() + Index);
  Change();
}

void TCustomImageList::Clear() {
  Delete(-1);
}

const TRawImage& TCustomImageList::Images(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation(InvalidIndex);
  return FImages[size_t(Index)];
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled) {
  DoDraw(Index, Canvas, X, Y, dsNormal, Enabled);
}

void TCustomImageList::DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, Cardinal, bool Enabled) {
  if (Index < 0 || Index >= Count()) return;
  const TRect rect = Bounds(X, Y, FWidth, FHeight);
  if (Enabled)
    DrawStraightAlpha(Canvas, rect, FImages[size_t(Index)]);
  else
    DrawStraightAlpha(Canvas, rect, disabledLook(FImages[size_t(Index)]));
}

bool TCustomImageList::GetBitmap(Integer Index, TBitmap* Image) {
  if (!Image || Index < 0 || Index >= Count()) return false;
  Image->SetSize(FWidth, FHeight);
  Draw(Image->Canvas(), 0, 0, Index, true);
  return true;
}

bool TCustomImageList::GetIcon(Integer Index, TIcon* Image) {
  if (Image == nullptr || Index < 0 || Index >= Count()) return false;
  Image->SetHandle(CreateIconFromRaw(FImages[size_t(Index)]));
  return !Image->Empty();
}

void TCustomImageList::DrawEx(Integer Index, HDC DC, Integer X, Integer Y, Integer DX, Integer DY,
                              COLORREF Bk, COLORREF Fg, UINT Style) {
  if (DC == nullptr || Index < 0 || Index >= Count()) return;
  const TRawImage& Source = FImages[size_t(Index)];
  const Integer W = DX <= 0 ? Source.Width : std::min(DX, Source.Width);
  const Integer H = DY <= 0 ? Source.Height : std::min(DY, Source.Height);
  TRawImage Part;
  Part.Allocate(W, H, 32);
  for (Integer y = 0; y < H; ++y) std::memcpy(Part.Row(y), Source.Row(y), size_t(W) * 4);

  if (Style & ILD_MASK) {
    for (Integer y = 0; y < H; ++y)
      for (Integer x = 0; x < W; ++x) {
        Byte* P = Part.Row(y) + x * 4;
        const Byte Level = P[3] != 0 ? 0 : 255;
        P[0] = P[1] = P[2] = Level;
        P[3] = 255;
      }
  } else if ((Style & (ILD_BLEND25 | ILD_BLEND50)) && Fg != CLR_NONE) {
    const COLORREF Mix = Fg == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : Fg;
    const Integer Weight = (Style & ILD_BLEND50) ? 128 : 64;  // of 256
    const Byte MixBGR[3] = {GetBValue(Mix), GetGValue(Mix), GetRValue(Mix)};
    for (Integer y = 0; y < H; ++y)
      for (Integer x = 0; x < W; ++x) {
        Byte* P = Part.Row(y) + x * 4;
        for (Integer k = 0; k < 3; ++k) P[k] = Byte((P[k] * (256 - Weight) + MixBGR[k] * Weight) >> 8);
      }
  }

  const TRect Target = Bounds(X, Y, W, H);
  if (!(Style & ILD_TRANSPARENT) && !(Style & ILD_MASK) && Bk != CLR_NONE) {
    const bool ListColour = Bk == CLR_DEFAULT;
    if (!ListColour || FBkColor != clNone)
      GdiFillSolidRect(DC, Target, ListColour ? ColorToRGB(FBkColor) : Bk);
  }
  TCanvas Canvas;
  Canvas.SetHandle(DC);
  DrawStraightAlpha(&Canvas, Target, Part);
  Canvas.SetHandle(nullptr);
}
