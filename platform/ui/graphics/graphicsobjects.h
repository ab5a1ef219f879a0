// The graphics objects a canvas draws with: font, pen and brush, each making its platform object on
// first use and announcing its changes.
#pragma once

#include "platform/gdi/gdi.h"
#include "platform/rtl/component.h"
#include "platform/rtl/tset.h"
#include "platform/ui/graphics/colors.h"

class TGraphicsObject : public TPersistent {
 public:
  String ClassName() const override { return "TGraphicsObject"; }
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

using TFontStyles = TSet<TFontStyle>;

enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = Byte;

// Size is in points at 96 pixels per inch: Height = -MulDiv(Size, 96, 72), Size = -MulDiv(Height, 72, 96).
class TFont : public TGraphicsObject {
 public:
  TFont();
  ~TFont() override;
  String ClassName() const override { return "TFont"; }
  void Assign(TPersistent* Source) override;

  // The font object of the current values, made on first use.
  HFONT Handle();
  // Takes over a font object's values (the object itself stays the caller's).
  void SetHandle(HFONT Value);

  const String& Name() const { return FName; }
  void SetName(const String& Value);
  Integer Size() const;
  void SetSize(Integer Value);
  Integer Height() const { return FHeight; }
  void SetHeight(Integer Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);  // colour changes never remake the font object
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  Integer Orientation() const { return FOrientation; }
  void SetOrientation(Integer Value);
  Integer PixelsPerInch() const { return FPixelsPerInch; }

  // The LOGFONT the handle is made from.
  LOGFONT LogFont() const;

 private:
  void fontChanged();
  void freeHandle();

  String FName = "Tahoma";
  Integer FHeight = -11;  // 8 points
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  Integer FOrientation = 0;
  Integer FPixelsPerInch = ScreenPixelsPerInch;
  HFONT FHandle = nullptr;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
// The SetROP2 mode of a pen mode.
Integer PenModeToROP2(TPenMode Mode);

class TPen : public TGraphicsObject {
 public:
  TPen() = default;
  ~TPen() override;
  String ClassName() const override { return "TPen"; }
  void Assign(TPersistent* Source) override;

  HPEN Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);  // a canvas state, not part of the pen object

 private:
  void penChanged();

  TColor FColor = clBlack;
  Integer FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  HPEN FHandle = nullptr;
};

enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

class TBitmap;

class TBrush : public TGraphicsObject {
 public:
  TBrush() = default;
  ~TBrush() override;
  String ClassName() const override { return "TBrush"; }
  void Assign(TPersistent* Source) override;

  HBRUSH Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);  // a clear brush becomes solid, as in the class library
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  // A pattern brush from the bitmap (not owned; its pixels are taken when the handle is made).
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);

 private:
  void brushChanged();

  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
  HBRUSH FHandle = nullptr;
};
