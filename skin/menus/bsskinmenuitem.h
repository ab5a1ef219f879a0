// One entry of one open level of a skinned popup menu: its rectangle in the level window, its hover
// and submenu state, its three looks (flat default, the skin at its own height, the skin resized)
// and its hover morphing or frame animation.
#pragma once

#include <functional>

#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/menus/menuitem.h"
#include "skin/core/bsskinrecordsobjects.h"

class TbsSkinPopupWindow;

// Marks of the look without skin pictures, at (X, Y) in Color. The tick is skin/core's DrawCheckMark.
// A 6 x 6 filled ellipse.
void DrawRadioMark(TCanvas* Cnvs, Integer X, Integer Y, TColor Color);
// A right-pointing triangle 4 pixels wide and 7 high.
void DrawSubMenuArrow(TCanvas* Cnvs, Integer X, Integer Y, TColor Color);

// The draw handler of a menu item that paints its own entry over the skin background: the entry
// (the TbsSkinMenuItem) as Sender, the entry's canvas, the text rectangle and the highlight.
using TbsSkinMenuItemDrawEvent = std::function<void(TObject* Sender, TCanvas* Cnvs, TRect R, bool AActive)>;
// Where the handler is kept: per menu item, looked up by the entry (the platform's TMenuItem has no
// owner-draw slot of its own).
void SetSkinMenuItemDrawHandler(TMenuItem* Item, TbsSkinMenuItemDrawEvent Handler);
TbsSkinMenuItemDrawEvent SkinMenuItemDrawHandler(TMenuItem* Item);

enum class TbsMenuEntryKind { Separator, Header, Command };
// Separator: caption "-"; header: a disabled item whose caption is at least two characters, begins
// and ends with "-"; everything else a command.
TbsMenuEntryKind MenuEntryKindOf(TMenuItem* Item);

class TbsSkinMenuItem : public TObject {
 public:
  TbsSkinMenuItem(TbsSkinPopupWindow* AParent, TMenuItem* AMenuItem, TbsDataSkinMenuItem* AData);
  String ClassName() const override { return "TbsSkinMenuItem"; }

  bool EnableMorphing() const;
  bool EnableAnimation() const;
  virtual bool CanMorphing();
  void DoMorphing();
  double MorphKf() const { return FMorphKf; }
  void SetMorphKf(double Value);
  void ReDraw();
  // Kb: the keyboard or the level itself moved the highlight.
  void MouseEnter(bool Kb);
  void MouseLeave();
  void MouseDown(Integer X, Integer Y);
  void Draw(TCanvas* Cnvs);
  void ResizeDraw(TCanvas* Cnvs);
  void DefaultDraw(TCanvas* Cnvs);
  void DrawCheckImage(TCanvas* Cnvs, TRect R, bool AActive);
  void DrawRadioImage(TCanvas* Cnvs, TRect R, bool AActive);
  void DrawArrowImage(TCanvas* Cnvs, TRect R, bool AActive);
  // Whether the item is highlighted (Active or Down).
  bool Highlighted() const { return Active || Down; }

  TbsSkinPopupWindow* Parent;
  TbsDataSkinMenuItem* MI;
  TBitmap* ActivePicture = nullptr;
  double FMorphKf = 0;
  TMenuItem* MenuItem;
  TRect ObjectRect;
  bool Active = false;
  bool Down = false;
  bool FVisible = true;
  bool WaitCommand = false;
  Integer CurrentFrame = 0;

 private:
  void drawSkinImage(TBitmap* B, bool A, const TRect* FrameRect, bool Resized);
  void drawSkinItem(TBitmap* B, bool Resized);
  void drawHeader(TCanvas* Cnvs, bool Resized);
  void drawMarkPicture(TCanvas* Cnvs, TRect R, const TRect& Src);
  TRect animationFrameRect() const;
};
