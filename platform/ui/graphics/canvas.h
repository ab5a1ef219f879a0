// The canvas: drawing on a DC with a font, pen and brush, and the raised or sunken frame.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/rtl/component.h"
#include "platform/ui/graphics/graphicsobjects.h"

using TCopyMode = Cardinal;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

class TGraphic;

// Drawing on a DC with a font, pen and brush that are selected into it when an operation needs them.
// Pen, brush and font changes take effect at the next operation. The canvas restores the DC's own
// objects when its handle changes or it is destroyed.
class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;
  String ClassName() const override { return "TCanvas"; }

  // The DC; a canvas without one asks CreateHandle, and raises EInvalidOperation "Canvas does not allow
  // drawing" when it still has none.
  HDC Handle();
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  TPoint PenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }

  // Pixels[X, Y]: -1 outside the clip or surface.
  TColor Pixels(Integer X, Integer Y);
  void SetPixels(Integer X, Integer Y, TColor Value);
  // What can be drawn, in logical coordinates.
  TRect ClipRect();

  void MoveTo(Integer X, Integer Y);
  void LineTo(Integer X, Integer Y);  // the end point is not drawn
  void Polyline(const std::vector<TPoint>& Points);
  void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void FillRect(const TRect& Rect);   // with the brush; a clear brush draws nothing
  void FrameRect(const TRect& Rect);  // one pixel in the brush
  void DrawFocusRect(const TRect& Rect);

  void Draw(Integer X, Integer Y, TGraphic* Graphic);
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  // StretchBlt from Canvas's Source to Dest with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

  // Text in the font's colour; a solid brush fills the text cell with its colour, a clear one leaves the
  // background.
  void TextOut(Integer X, Integer Y, const String& Text);
  // As TextOut, clipped to Rect; a solid brush fills all of Rect first.
  void TextRect(const TRect& Rect, Integer X, Integer Y, const String& Text);
  TSize TextExtent(const String& Text);
  Integer TextWidth(const String& Text) { return TextExtent(Text).cx; }
  Integer TextHeight(const String& Text) { return TextExtent(Text).cy; }

  // A per-canvas recursive lock for drawing from several threads (the engine's frame bitmaps).
  void Lock();
  void Unlock();
  bool TryLock();
  Integer LockCount() const { return FLockCount; }

  // Deselects the font, pen and brush so the next operation selects them afresh.
  void Refresh();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  enum TCanvasStateItem { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
  virtual void CreateHandle() {}
  void RequiredState(Integer ReqState);
  virtual void Changing();
  virtual void Changed();

 private:
  void deselectHandles();
  void selectFont();
  void selectPen();
  void selectBrush();

  HDC FHandle = nullptr;
  Integer FState = 0;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TCopyMode FCopyMode = cmSrcCopy;
  TPoint FPenPos;
  HGDIOBJ FOldFont = nullptr, FOldPen = nullptr, FOldBrush = nullptr;
  std::recursive_mutex FLock;
  Integer FLockCount = 0;
};

// The raised or sunken frame: Width rings, each with its top and left lines in TopColor and its bottom
// and right lines in BottomColor (the top-right and bottom-left corner pixels take BottomColor). Rect
// comes back shrunk by Width on every side.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, Integer Width);
