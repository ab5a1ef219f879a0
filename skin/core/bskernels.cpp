#include "skin/core/bskernels.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// ---- row kernels ----
namespace bsrow {

TbsColor PixelBlendPlain(TbsColor F, TbsColor B) {
  const Cardinal a = F >> 24;
  if (a == 255) return F;
  if (a == 0) return B;
  const Cardinal na = 255 - a;
  // Red and blue share one product: each stays below 65536, so no carry crosses channels.
  const Cardinal rb = (((F & 0x00FF00FF) * a + (B & 0x00FF00FF) * na) >> 8) & 0x00FF00FF;
  const Cardinal g = ((((F >> 8) & 0xFF) * a + ((B >> 8) & 0xFF) * na) >> 8) & 0xFF;
  return 0xFF000000 | rb | (g << 8);
}

TbsColor PixelBlendMMX(TbsColor F, TbsColor B) {
  const Cardinal a = F >> 24;
  TbsColor result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const Cardinal fc = (F >> shift) & 0xFF;
    const Cardinal bc = (B >> shift) & 0xFF;
    result |= (((fc * a + bc * (256 - a)) >> 8) & 0xFF) << shift;
  }
  return result;
}

void RowBlendPlain(const TbsColor* Src, TbsColor* Dst, Integer Count) {
  for (Integer i = 0; i < Count; ++i) {
    const TbsColor s = Src[i];
    const Cardinal a = s >> 24;
    if (a == 0) continue;
    Dst[i] = a == 255 ? s : PixelBlendPlain(s, Dst[i]);
  }
}

void RowBlendMMX(const TbsColor* Src, TbsColor* Dst, Integer Count) {
  Integer i = 0;
#if defined(__SSE2__)
  // Four 16-bit lanes per pixel: Bc * 256 + (Fc - Bc) * a, exact modulo 2^16 since the true value lies
  // in 0..65280. Alpha 0 gives Dst by the formula itself; alpha 255 takes Src unchanged.
  const __m128i zero = _mm_setzero_si128();
  const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000));
  for (; i + 4 <= Count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
    const __m128i sLo = _mm_unpacklo_epi8(s, zero), sHi = _mm_unpackhi_epi8(s, zero);
    const __m128i dLo = _mm_unpacklo_epi8(d, zero), dHi = _mm_unpackhi_epi8(d, zero);
    const __m128i aLo = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sLo, 0xFF), 0xFF);
    const __m128i aHi = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sHi, 0xFF), 0xFF);
    const __m128i rLo = _mm_srli_epi16(
        _mm_add_epi16(_mm_slli_epi16(dLo, 8), _mm_mullo_epi16(_mm_sub_epi16(sLo, dLo), aLo)), 8);
    const __m128i rHi = _mm_srli_epi16(
        _mm_add_epi16(_mm_slli_epi16(dHi, 8), _mm_mullo_epi16(_mm_sub_epi16(sHi, dHi), aHi)), 8);
    const __m128i blended = _mm_packus_epi16(rLo, rHi);
    const __m128i opaque = _mm_cmpeq_epi32(_mm_and_si128(s, alphaMask), alphaMask);
    const __m128i out = _mm_or_si128(_mm_and_si128(opaque, s), _mm_andnot_si128(opaque, blended));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), out);
  }
#endif
  for (; i < Count; ++i) {
    const TbsColor s = Src[i];
    const Cardinal a = s >> 24;
    if (a == 0) continue;
    Dst[i] = a == 255 ? s : PixelBlendMMX(s, Dst[i]);
  }
}

void RowKeyCopy(const TbsColor* Src, TbsColor* Dst, Integer Count) {
  for (Integer i = 0; i < Count; ++i) {
    const TbsColor s = Src[i];
    if ((s & 0x00FFFFFF) != SkinKeyColor) Dst[i] = s | 0xFF000000;
  }
}

void RowCopy(const TbsColor* Src, TbsColor* Dst, Integer Count) {
  if (Count <= 0 || Src == Dst) return;
  std::memmove(Dst, Src, size_t(Count) * sizeof(TbsColor));
}

void RowFill(TbsColor* Dst, Integer Count, TbsColor Color) {
  for (Integer i = 0; i < Count; ++i) Dst[i] = Color;
}

void RectFill(TbsColor* Bits, Integer Width, Integer, Integer X1, Integer Y1, Integer X2, Integer Y2,
              TbsColor Color) {
  if (X2 < X1 || Y2 < Y1) return;
  for (Integer y = Y1; y <= Y2; ++y) RowFill(Bits + ptrdiff_t(y) * Width + X1, X2 - X1 + 1, Color);
}

void RowSetAlpha(TbsColor* Dst, Integer Count, Byte Alpha) {
  const TbsColor a = TbsColor(Alpha) << 24;
  for (Integer i = 0; i < Count; ++i) Dst[i] = (Dst[i] & 0x00FFFFFF) | a;
}

void RectSetAlpha(TbsColor* Bits, Integer Width, Integer, Integer X1, Integer Y1, Integer X2, Integer Y2,
                  Byte Alpha) {
  if (X2 < X1 || Y2 < Y1) return;
  for (Integer y = Y1; y <= Y2; ++y) RowSetAlpha(Bits + ptrdiff_t(y) * Width + X1, X2 - X1 + 1, Alpha);
}

void RowKeyToAlpha(TbsColor* Dst, Integer Count, TbsColor Color) {
  const TbsColor key = Color & 0x00FFFFFF;
  for (Integer i = 0; i < Count; ++i)
    if ((Dst[i] & 0x00FFFFFF) == key) Dst[i] = key;
}

}  // namespace bsrow

// Constant-initialised to the plain forms, so nothing can see an unfilled slot.
TPixelBlendProc PixelBlend = bsrow::PixelBlendPlain;
TRowBlendProc RowBlend = bsrow::RowBlendPlain;
TRowBlendProc RowKeyCopy = bsrow::RowKeyCopy;
TRowBlendProc RowCopy = bsrow::RowCopy;
TRowFillProc RowFill = bsrow::RowFill;
TRectFillProc RectFill = bsrow::RectFill;
TRowSetAlphaProc RowSetAlpha = bsrow::RowSetAlpha;
TRectSetAlphaProc RectSetAlpha = bsrow::RectSetAlpha;
TRowFillProc RowKeyToAlpha = bsrow::RowKeyToAlpha;

TDCDrawProc DCStretchCopy = bsblit::DCStretchCopy;
TDCDrawProc DCAlphaDraw = bsblit::DCSoftwareDraw;
TDCDrawProc DCKeyDraw = bsblit::DCSoftwareDraw;
TGetDCBitsProc GetDCBits = bsblit::GetDCBits;
TDIBStretchProc DIBStretchCopy = bsblit::DIBStretchCopy;
TDIBStretchProc DIBStretchAlpha = bsblit::DIBStretchAlpha;
TDIBStretchProc DIBStretchKey = bsblit::DIBStretchKey;
TBitmapAreaProc BitmapAreaCopy = bsblit::BitmapAreaCopy;
TBitmapAreaProc BitmapAreaAlpha = bsblit::BitmapAreaAlpha;
TBitmapAreaProc BitmapAreaKey = bsblit::BitmapAreaKey;
TBitmapStretchProc BitmapStretchCopy = bsblit::BitmapStretchCopy;
TBitmapStretchProc BitmapStretchAlpha = bsblit::BitmapStretchAlpha;
TBitmapStretchProc BitmapStretchKey = bsblit::BitmapStretchKey;

// ---- processor and system ----
bool MMXAvailable = false;
const void* MsImg32Handle = nullptr;
TTransparentBltProc MsImg32TransparentBlt = nullptr;
TAlphaBlendProc MsImg32AlphaBlend = nullptr;

namespace {
bool MsImg32Loaded = false;
// Stands for the loaded image library: the platform layer carries its functions itself.
const char BuiltInMsImg32 = 0;
// The platform profile's system version.
constexpr Integer PlatformVersionMajor = 10;
constexpr Integer PlatformVersionMinor = 0;
}  // namespace

void EndMMX() {}

bool IsMsImg32Loaded() {
  return MsImg32Loaded;
}

bool HasCPUID() {
#if defined(__x86_64__) || defined(__i386__)
  return __get_cpuid_max(0, nullptr) != 0;
#else
  return false;
#endif
}

Cardinal CPUSignature() {
#if defined(__x86_64__) || defined(__i386__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return eax;
#endif
  return 0;
}

Cardinal CPUFeatures() {
#if defined(__x86_64__) || defined(__i386__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return edx;
#endif
  return 0;
}

bool DetectMMX(bool CPUIDPresent, Cardinal Signature, Cardinal Features) {
  return CPUIDPresent && ((Signature >> 8) & 0xF) >= 5 && (Features & (1u << 23)) != 0;
}

bool DetectMMX() {
  const bool present = HasCPUID();
  return DetectMMX(present, present ? CPUSignature() : 0, present ? CPUFeatures() : 0);
}

void GetWindowsVersion(Integer& Major, Integer& Minor) {
  Major = PlatformVersionMajor;
  Minor = PlatformVersionMinor;
}

bool IsWindows2000OrLater(Integer Major, Integer Minor) {
  return Major > 5 || (Major == 5 && Minor >= 0 && Minor <= 2);
}

bool IsWindows2000OrLater() {
  Integer major = 0, minor = 0;
  GetWindowsVersion(major, minor);
  return IsWindows2000OrLater(major, minor);
}

void LoadMsImg32() {
  if (!IsWindows2000OrLater()) return;
  MsImg32Handle = &BuiltInMsImg32;
  MsImg32TransparentBlt = &::TransparentBlt;
  MsImg32AlphaBlend = &::AlphaBlend;
  MsImg32Loaded = true;
}

Integer ScreenColorDepth() {
  HDC dc = GetDC(nullptr);
  if (!dc) return 0;
  const Integer depth = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  ReleaseDC(nullptr, dc);
  return depth;
}

bool IsTrueColorScreen() {
  return ScreenColorDepth() >= 24;
}

void SelectRowKernels(bool UseMMX) {
  PixelBlend = UseMMX ? bsrow::PixelBlendMMX : bsrow::PixelBlendPlain;
  RowBlend = UseMMX ? bsrow::RowBlendMMX : bsrow::RowBlendPlain;
  RowKeyCopy = bsrow::RowKeyCopy;
  RowCopy = bsrow::RowCopy;
  RowFill = bsrow::RowFill;
  RectFill = bsrow::RectFill;
  RowSetAlpha = bsrow::RowSetAlpha;
  RectSetAlpha = bsrow::RectSetAlpha;
  RowKeyToAlpha = bsrow::RowKeyToAlpha;
}

void SelectRowKernels() {
  SelectRowKernels(DetectMMX());
}

void SelectBlitKernels(bool UseTransparentBlt) {
  DCStretchCopy = bsblit::DCStretchCopy;
  DCAlphaDraw = bsblit::DCSoftwareDraw;
  DCKeyDraw = UseTransparentBlt ? bsblit::DCTransparentBltDraw : bsblit::DCSoftwareDraw;
  GetDCBits = bsblit::GetDCBits;
  DIBStretchCopy = bsblit::DIBStretchCopy;
  DIBStretchAlpha = bsblit::DIBStretchAlpha;
  DIBStretchKey = bsblit::DIBStretchKey;
  BitmapAreaCopy = bsblit::BitmapAreaCopy;
  BitmapAreaAlpha = bsblit::BitmapAreaAlpha;
  BitmapAreaKey = bsblit::BitmapAreaKey;
  BitmapStretchCopy = bsblit::BitmapStretchCopy;
  BitmapStretchAlpha = bsblit::BitmapStretchAlpha;
  BitmapStretchKey = bsblit::BitmapStretchKey;
}

void SelectBlitKernels() {
  SelectBlitKernels(IsMsImg32Loaded() && MsImg32TransparentBlt != nullptr && IsTrueColorScreen());
}

// ---- unit start-up and shutdown ----
namespace {
struct TEffectsUnit {
  TEffectsUnit() {
    MMXAvailable = DetectMMX();
    LoadMsImg32();
    SelectRowKernels();
    SelectBlitKernels();
  }
  ~TEffectsUnit() {
    if (MsImg32Loaded) {
      MsImg32Loaded = false;
      MsImg32Handle = nullptr;
      MsImg32TransparentBlt = nullptr;
      MsImg32AlphaBlend = nullptr;
    }
    FreeLiveBitmaps();
  }
};
const TEffectsUnit EffectsUnit;
}  // namespace
