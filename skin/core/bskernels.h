// The pixel kernels of the bitmap core and the two tables through which all bulk pixel work runs.
// The tables are filled once at start-up (static initialisation of this unit), before any skin object
// exists; until then they hold the plain forms.
#pragma once

#include "skin/core/bsbitmap.h"

// ---- row kernels ----
// Pointers address the first pixel; a Count <= 0 does nothing; rectangle bounds are inclusive and an
// inverted rectangle does nothing.
using TPixelBlendProc = TbsColor (*)(TbsColor F, TbsColor B);
using TRowBlendProc = void (*)(const TbsColor* Src, TbsColor* Dst, Integer Count);
using TRowFillProc = void (*)(TbsColor* Dst, Integer Count, TbsColor Color);
using TRectFillProc = void (*)(TbsColor* Bits, Integer Width, Integer Height, Integer X1, Integer Y1,
                               Integer X2, Integer Y2, TbsColor Color);
using TRowSetAlphaProc = void (*)(TbsColor* Dst, Integer Count, Byte Alpha);
using TRectSetAlphaProc = void (*)(TbsColor* Bits, Integer Width, Integer Height, Integer X1, Integer Y1,
                                   Integer X2, Integer Y2, Byte Alpha);

extern TPixelBlendProc PixelBlend;
extern TRowBlendProc RowBlend;
extern TRowBlendProc RowKeyCopy;
extern TRowBlendProc RowCopy;
extern TRowFillProc RowFill;
extern TRectFillProc RectFill;
extern TRowSetAlphaProc RowSetAlpha;
extern TRectSetAlphaProc RectSetAlpha;
extern TRowFillProc RowKeyToAlpha;

// The implementations behind the row table.
namespace bsrow {
// Per channel c of R, G, B: (Fc * a + Bc * (255 - a)) shr 8; alpha 255. Returns F for a = 255, B for a = 0.
TbsColor PixelBlendPlain(TbsColor F, TbsColor B);
// Per channel c of all four: (Fc * a + Bc * (256 - a)) shr 8, also for a = 0 and a = 255.
TbsColor PixelBlendMMX(TbsColor F, TbsColor B);
// Source alpha 0 keeps Dst, 255 copies Src, else the pair's blend of Src over Dst.
void RowBlendPlain(const TbsColor* Src, TbsColor* Dst, Integer Count);
void RowBlendMMX(const TbsColor* Src, TbsColor* Dst, Integer Count);
// Src of RGB SkinKeyColor keeps Dst; others are copied with alpha 255.
void RowKeyCopy(const TbsColor* Src, TbsColor* Dst, Integer Count);
void RowCopy(const TbsColor* Src, TbsColor* Dst, Integer Count);
void RowFill(TbsColor* Dst, Integer Count, TbsColor Color);
// Height is not used: the rectangle is trusted to lie inside the buffer.
void RectFill(TbsColor* Bits, Integer Width, Integer Height, Integer X1, Integer Y1, Integer X2, Integer Y2,
              TbsColor Color);
void RowSetAlpha(TbsColor* Dst, Integer Count, Byte Alpha);
void RectSetAlpha(TbsColor* Bits, Integer Width, Integer Height, Integer X1, Integer Y1, Integer X2,
                  Integer Y2, Byte Alpha);
// Pixels whose RGB equals Color's become that RGB with alpha 0.
void RowKeyToAlpha(TbsColor* Dst, Integer Count, TbsColor Color);
}  // namespace bsrow

// ---- blit kernels (bsblit.cpp) ----
using TDCDrawProc = void (*)(HDC DC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, TbsBitmap* Src,
                             Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH);
// The pixel memory of the DIB section selected into DC (Height signed: positive bottom-up), or null.
using TGetDCBitsProc = void* (*)(HDC DC, Integer& Width, Integer& Height, Integer& BitCount);
using TDIBStretchProc = void (*)(void* Bits, const TRect& DstRect, const TRect& DstClip, Integer Width,
                                 Integer Height, TbsBitmap* Src, const TRect& SrcRect);
using TBitmapAreaProc = void (*)(TbsBitmap* Dst, const TRect& Area, TbsBitmap* Src, Integer SrcX,
                                 Integer SrcY);
using TBitmapStretchProc = void (*)(TbsBitmap* Dst, const TRect& DstRect, const TRect& DstClip,
                                    TbsBitmap* Src, const TRect& SrcRect);

extern TDCDrawProc DCStretchCopy;
extern TDCDrawProc DCAlphaDraw;
extern TDCDrawProc DCKeyDraw;
extern TGetDCBitsProc GetDCBits;
extern TDIBStretchProc DIBStretchCopy;
extern TDIBStretchProc DIBStretchAlpha;
extern TDIBStretchProc DIBStretchKey;
extern TBitmapAreaProc BitmapAreaCopy;
extern TBitmapAreaProc BitmapAreaAlpha;
extern TBitmapAreaProc BitmapAreaKey;
extern TBitmapStretchProc BitmapStretchCopy;
extern TBitmapStretchProc BitmapStretchAlpha;
extern TBitmapStretchProc BitmapStretchKey;

namespace bsblit {
void DCStretchCopy(HDC DC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, TbsBitmap* Src,
                   Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH);
// Alpha and software key draw: the target area is read into a temporary bitmap, Src is drawn into it
// by its flags, and the result written back.
void DCSoftwareDraw(HDC DC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, TbsBitmap* Src,
                    Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH);
// The system TransparentBlt with the key colour.
void DCTransparentBltDraw(HDC DC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, TbsBitmap* Src,
                          Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH);
void* GetDCBits(HDC DC, Integer& Width, Integer& Height, Integer& BitCount);
void DIBStretchCopy(void* Bits, const TRect& DstRect, const TRect& DstClip, Integer Width, Integer Height,
                    TbsBitmap* Src, const TRect& SrcRect);
void DIBStretchAlpha(void* Bits, const TRect& DstRect, const TRect& DstClip, Integer Width, Integer Height,
                     TbsBitmap* Src, const TRect& SrcRect);
void DIBStretchKey(void* Bits, const TRect& DstRect, const TRect& DstClip, Integer Width, Integer Height,
                   TbsBitmap* Src, const TRect& SrcRect);
// EAssertionFailed when either bitmap has no pixels.
void BitmapAreaCopy(TbsBitmap* Dst, const TRect& Area, TbsBitmap* Src, Integer SrcX, Integer SrcY);
void BitmapAreaAlpha(TbsBitmap* Dst, const TRect& Area, TbsBitmap* Src, Integer SrcX, Integer SrcY);
void BitmapAreaKey(TbsBitmap* Dst, const TRect& Area, TbsBitmap* Src, Integer SrcX, Integer SrcY);
void BitmapStretchCopy(TbsBitmap* Dst, const TRect& DstRect, const TRect& DstClip, TbsBitmap* Src,
                       const TRect& SrcRect);
void BitmapStretchAlpha(TbsBitmap* Dst, const TRect& DstRect, const TRect& DstClip, TbsBitmap* Src,
                        const TRect& SrcRect);
void BitmapStretchKey(TbsBitmap* Dst, const TRect& DstRect, const TRect& DstClip, TbsBitmap* Src,
                      const TRect& SrcRect);
}  // namespace bsblit

// ---- processor, system and selection ----
extern bool MMXAvailable;
// The system image library's entry points; here they are the platform's own functions, always present.
using TTransparentBltProc = bool (*)(HDC, Integer, Integer, Integer, Integer, HDC, Integer, Integer, Integer,
                                     Integer, UINT);
using TAlphaBlendProc = bool (*)(HDC, Integer, Integer, Integer, Integer, HDC, Integer, Integer, Integer,
                                 Integer, BLENDFUNCTION);
extern const void* MsImg32Handle;  // null while not loaded
extern TTransparentBltProc MsImg32TransparentBlt;
extern TAlphaBlendProc MsImg32AlphaBlend;  // kept; no kernel calls it

// Clears the multimedia state after MMX-form kernels. Our MMX form runs on SSE2 or scalar code, so there
// is no state to clear; callers still run it where the order of work asks for it.
void EndMMX();
bool IsMsImg32Loaded();
bool HasCPUID();
Cardinal CPUSignature();  // CPUID leaf 1, EAX
Cardinal CPUFeatures();   // CPUID leaf 1, EDX
// The MMX rule on given processor facts: CPUID present, family (signature bits 8..11) >= 5, feature bit 23.
bool DetectMMX(bool CPUIDPresent, Cardinal Signature, Cardinal Features);
bool DetectMMX();
// The platform profile's system version.
void GetWindowsVersion(Integer& Major, Integer& Minor);
// major > 5, or major 5 with minor 0, 1 or 2.
bool IsWindows2000OrLater(Integer Major, Integer Minor);
bool IsWindows2000OrLater();
void LoadMsImg32();
Integer ScreenColorDepth();
bool IsTrueColorScreen();
// Blend pair by the MMX rule; the other row slots are the same on every processor.
void SelectRowKernels(bool UseMMX);
void SelectRowKernels();
// DCKeyDraw gets the TransparentBlt form when the library, its entry point and a true-colour screen are
// there, the software form otherwise.
void SelectBlitKernels(bool UseTransparentBlt);
void SelectBlitKernels();
