// The skinned container: a windowed control drawn from the "panel" element (or another element of the
// panel kind, such as "groupbox"), or flat without one. It offers a caption bar with text, an image and
// an optional check box that enables the children or a roll-up marker that collapses the panel to its
// caption; a transparent mode over the parent's background; and a client rectangle that keeps the
// children out of the element's borders and caption. The paint panel hands its client area to the
// application; the group box is a panel in caption mode on "groupbox".
#pragma once

#include <functional>
#include <memory>

#include "skin/controls/base/bsskincontrol.h"
#include "skin/core/bsdraw.h"

enum TbsSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
enum TbsImagePosition { bsipDefault, bsipLeft };
using TbsPaintPanelEvent = std::function<void(TCanvas* Cnvs, const TRect& R)>;

class TbsSkinPanel : public TbsSkinCustomControl {
 public:
  explicit TbsSkinPanel(TComponent* AOwner);
  ~TbsSkinPanel() override;
  String ClassName() const override { return "TbsSkinPanel"; }

  // ---- published ----
  bool EmptyDrawing() const { return FEmptyDrawing; }
  void SetEmptyDrawing(bool Value) { FEmptyDrawing = Value; }
  bool RibbonStyle() const { return FRibbonStyle; }
  void SetRibbonStyle(bool Value);
  TbsImagePosition ImagePosition() const { return FImagePosition; }
  void SetImagePosition(TbsImagePosition Value);
  bool TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(bool Value);
  TCustomImageList* CaptionImageList() const { return FCaptionImageList; }
  void SetCaptionImageList(TCustomImageList* Value);
  Integer CaptionImageIndex() const { return FCaptionImageIndex; }
  void SetCaptionImageIndex(Integer Value);
  Integer RealHeight() const { return FRealHeight; }
  void SetRealHeight(Integer Value) { FRealHeight = Value; }
  bool AutoEnabledControls() const { return FAutoEnabledControls; }
  void SetAutoEnabledControls(bool Value) { FAutoEnabledControls = Value; }
  bool CheckedMode() const { return FCheckedMode; }
  void SetCheckedMode(bool Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  TAlignment DefaultAlignment() const { return FDefaultAlignment; }
  void SetDefaultAlignment(TAlignment Value);
  Integer DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
  virtual void SetDefaultCaptionHeight(Integer Value);
  TbsSkinBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TbsSkinBorderStyle Value);
  bool CaptionMode() const { return FCaptionMode; }
  virtual void SetCaptionMode(bool Value);
  bool RollUpMode() const { return FRollUpMode; }
  void SetRollUpMode(bool Value);
  bool RollUpState() const { return FRollUpState; }
  void SetRollUpState(bool Value);
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TbsNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TbsNumGlyphs Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  TNotifyEvent OnChecked;
  TNotifyEvent OnChangeRollUpState;

  // ---- operations ----
  // The area the children go in, in control coordinates.
  void GetSkinClientRect(TRect& R);
  // The panel alone (no children) drawn onto C at (X, Y).
  void PaintskinTo(TCanvas* C, Integer X, Integer Y);
  void DoRollUp(bool ARollUp);
  void GetSkinData() override;
  void ChangeSkinData() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void AdjustClientRect(TRect& R) override;
  // The caption area for the current size and mode, control coordinates.
  TRect CaptionArea() const { return NewCaptionRect; }

  // Copied from the element.
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TAlignment Alignment = taLeftJustify;
  TRect CaptionRect{};
  TRect NewCaptionRect{};
  TRect NewRollUpMarkerRect{};
  Integer BGPictureIndex = -1;
  TRect CheckImageRect{}, UnCheckImageRect{};
  TRect MarkFrameRect{};
  TRect FrameRect{};
  Integer FrameLeftOffset = 0, FrameRightOffset = 0;
  TRect FrameTextRect{};

 protected:
  // Paints the client area into the off-screen image of the transparent looks.
  virtual void PaintClient(TCanvas* Cnvs) { (void)Cnvs; }
  void Paint() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void CreateParams(TCreateParams& Params) override;
  void CheckParentBackground() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void WMMove(TMessage& Message) override;

  bool FUseSkinSize = true;
  bool FEmptyDrawing = false;
  bool FRibbonStyle = false;
  bool FInChangingRollUp = false;
  TbsImagePosition FImagePosition = bsipDefault;
  bool FTransparentMode = false;
  Integer FCMaxWidth = 0, FCMinWidth = 0, FCMaxHeight = 0, FCMinHeight = 0;
  bool FCheckedMode = false;
  bool FChecked = false;
  std::unique_ptr<TBitmap> FGlyph;
  TbsNumGlyphs FNumGlyphs = 1;
  Integer FSpacing = 2;
  Integer FRealHeight = -1;
  bool FRollUpState = false;
  bool FRollUpMode = false;
  bool FCaptionMode = false;
  TbsSkinBorderStyle FBorderStyle = bvFrame;
  Integer FDefaultCaptionHeight = 20;
  TAlignment FDefaultAlignment = taLeftJustify;
  bool FAutoEnabledControls = true;
  TCustomImageList* FCaptionImageList = nullptr;
  Integer FCaptionImageIndex = -1;
  // Cleared when the panel is destroyed, so code after a handler that freed it can tell.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);

 private:
  bool hasListImage() const;
  Integer captionWidth(TCanvas* C) const;
  bool checkPicture(TBitmap& Out, bool AChecked) const;
  void drawSkinCaption(TBitmap* B);
  void drawCaptionStrip(TBitmap* B);
  void drawTransparentFrame(TBitmap* B);
  void drawClientTile(TCanvas* C, bool Cut);
  void drawBackgroundPicture(TCanvas* C, TBitmap* P);
};

class TbsSkinPaintPanel : public TbsSkinPanel {
 public:
  explicit TbsSkinPaintPanel(TComponent* AOwner);
  String ClassName() const override { return "TbsSkinPaintPanel"; }
  TbsPaintPanelEvent OnPanelPaint;

 protected:
  void PaintClient(TCanvas* Cnvs) override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void WMEraseBkgnd(TMessage& Message) override;

 private:
  void firePanelPaint(TCanvas* C);
};

class TbsSkinGroupBox : public TbsSkinPanel {
 public:
  explicit TbsSkinGroupBox(TComponent* AOwner);
  String ClassName() const override { return "TbsSkinGroupBox"; }
  void GetSkinData() override;
};
