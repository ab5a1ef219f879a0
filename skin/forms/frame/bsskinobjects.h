// Frame skin objects: the active parts of a skinned form's frame (caption, caption buttons,
// animations, free user areas). The engine owns them, lays them out, paints them as part of the
// frame and feeds them the non-client mouse; each object draws itself in every state.
#pragma once

#include "platform/ui/core/controlstypes.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/menus/menuitem.h"
#include "skin/core/bsbitmap.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsskinrecordsobjects.h"

class IbsFormObjectHost;
class TbsLayerManager;

class TbsActiveSkinObject : public TObject {
 public:
  // AData may be nullptr (the default-look buttons).
  TbsActiveSkinObject(IbsFormObjectHost* AParent, TbsDataSkinObject* AData);
  String ClassName() const override { return "TbsActiveSkinObject"; }

  // Object-relative point against the hit mask; true without a skin or mask.
  virtual bool PointInMask(Integer X, Integer Y);
  virtual void ShowLayer();
  virtual void HideLayer();
  virtual bool CanMorphing();
  virtual void Draw(TCanvas* Cnvs, bool UpDate);
  // Layered border image; nothing in the base.
  virtual void DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap);
  virtual void DblClick() {}
  virtual void MouseDown(Integer X, Integer Y, TMouseButton Button);
  virtual void MouseUp(Integer X, Integer Y, TMouseButton Button);
  virtual void MouseMove(Integer X, Integer Y);
  virtual void MouseEnter();
  virtual void MouseLeave();

  bool EnableMorphing();
  void DoMorphing();
  void ReDraw();
  Double MorphKf() const { return FMorphKf; }
  void SetMorphKf(Double Value);

  IbsFormObjectHost* Parent = nullptr;
  Double FMorphKf = 0;
  bool FMouseIn = false;
  TBitmap* Picture = nullptr;
  TBitmap* ActivePicture = nullptr;
  TBitmap* ActiveMaskPicture = nullptr;
  TbsSkinData* SD = nullptr;
  String IDName;
  String Hint;
  TRect SkinRect;
  TRect ActiveSkinRect;
  TRect InActiveSkinRect;
  TRect ObjectRect;
  bool Active = false;
  bool Morphing = false;
  TbsMorphKind MorphKind = mkDefault;
  bool Enabled = true;
  bool Visible = true;
  bool SkinRectInAPicture = false;
  Integer GlowLayerPictureIndex = -1;
  Integer GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetX = 0;
  Integer GlowLayerOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 255;

 protected:
  // The engine's skin is there and loaded.
  bool HasSkin() const;
  // Picture number Index of the skin, nullptr outside the list.
  TBitmap* SkinPicture(Integer Index) const;
  // ObjectRect in screen coordinates; AWithLayeredBorder also considers a full layered border.
  TRect ScreenObjectRect(bool AWithLayeredBorder) const;
  // The glow picture on the given layer manager, when the skin and the system allow it.
  void ShowGlowOn(TbsLayerManager* Manager, bool AWithLayeredBorder);
  void HideGlowOn(TbsLayerManager* Manager);
  // The morph from From to To (rectangles of their pictures) at MorphKf, drawn at ObjectRect.
  void DrawMorph(TCanvas* Cnvs, TBitmap* FromPicture, const TRect& From, TBitmap* ToPicture, const TRect& To);
  // Rect of Source copied 1:1 to the top-left of ObjectRect.
  void CopyToObjectRect(TCanvas* Cnvs, TBitmap* Source, const TRect& Rect);
};

// An area whose painting and mouse belong to the application (the engine's events).
class TbsUserObject : public TbsActiveSkinObject {
 public:
  using TbsActiveSkinObject::TbsActiveSkinObject;
  String ClassName() const override { return "TbsUserObject"; }
  void Draw(TCanvas* Cnvs, bool UpDate) override;
};

// A frame-by-frame animation; with ButtonStyle also a caption button with a command or a menu.
class TbsSkinAnimateObject : public TbsActiveSkinObject {
 public:
  // AData must be a TbsDataSkinAnimate.
  TbsSkinAnimateObject(IbsFormObjectHost* AParent, TbsDataSkinObject* AData);
  String ClassName() const override { return "TbsSkinAnimateObject"; }

  void ShowLayer() override;
  void HideLayer() override;
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void DblClick() override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  void Start();
  void Stop();
  // One 25 ms step of the engine's animation timer.
  void ChangeFrame();
  Integer Frame() const { return FFrame; }
  void SetFrame(Integer Value);
  void DoCommand();
  void TrackMenu();
  // The form is in the state the command would undo.
  bool InRestoreState() const;

  Integer FFrame = 1;
  Integer FInc = 25;
  Integer TimerInterval = 25;
  TMenuItem* MenuItem = nullptr;
  bool FPopupUp = false;
  bool FDown = false;
  bool FMenuTracking = false;
  Integer CountFrames = 0;
  bool Cycle = false;
  bool ButtonStyle = false;
  bool Increment = true;
  TbsStdCommand Command = cmClose;
  TRect DownSkinRect;
  TRect RestoreRect;
  TRect RestoreActiveRect;
  TRect RestoreInActiveRect;
  TRect RestoreDownRect;
  String RestoreHint;
  String FTempHint;

 private:
  void StartAnimateTimer();
  // Frame n (1-based) of the strip that starts at A's top-left, each frame of S's size.
  static TRect FrameRect(const TRect& S, const TRect& A, Integer N);
};
