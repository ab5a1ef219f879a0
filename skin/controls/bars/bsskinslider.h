// A track bar: a ruler, an optional row of tick points and a thumb moved by dragging, by pressing the
// ruler (repeating) or by keys between MinValue and MaxValue. Pictures come from the skin element
// "slider", else from a thumb image list, else from the four built-in pictures, which a form may
// replace per control (the replaced ones are marked in UserImages).
#pragma once

#include <array>
#include <memory>

#include "platform/rtl/streams.h"
#include "skin/controls/base/bsskincontrol.h"

enum TbsSliderOrientation { soHorizontal, soVertical };
enum TbsSliderOption { soShowFocus, soShowPoints, soSmooth, soRulerOpaque, soThumbOpaque };
using TbsSliderOptions = TSet<TbsSliderOption>;
enum TbsSliderImage { siHThumb, siHRuler, siVThumb, siVRuler };
using TbsSliderImages = TSet<TbsSliderImage>;
enum TbsJumpMode { jmNone, jmHome, jmEnd, jmNext, jmPrior };

class TbsSkinCustomSlider : public TbsSkinControl {
 public:
  static constexpr UINT_PTR TrackTimerId = 1;
  static constexpr UINT TrackInterval = 400;

  explicit TbsSkinCustomSlider(TComponent* AOwner);
  ~TbsSkinCustomSlider() override;
  String ClassName() const override { return "TbsSkinCustomSlider"; }

  Integer MinValue() const { return FMinValue; }
  void SetMinValue(Integer Value);
  Integer MaxValue() const { return FMaxValue; }
  void SetMaxValue(Integer Value);
  Integer Value() const { return FValue; }
  void SetValue(Integer Value);
  Integer Increment() const { return FIncrement; }
  void SetIncrement(Integer Value);
  TbsSliderOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TbsSliderOrientation Value);
  TbsSliderOptions Options() const { return FOptions; }
  void SetOptions(TbsSliderOptions Value);
  Integer EdgeSize() const { return FEdgeSize; }
  void SetEdgeSize(Integer Value);
  Integer NumThumbStates() const { return FNumThumbStates; }
  void SetNumThumbStates(Integer Value);
  TCustomImageList* ThumbImageList() const { return FThumbImageList; }
  void SetThumbImageList(TCustomImageList* Value);
  Integer ThumbImageIndex() const { return FThumbImageIndex; }
  void SetThumbImageIndex(Integer Value);
  Integer ThumbActiveImageIndex() const { return FThumbActiveImageIndex; }
  void SetThumbActiveImageIndex(Integer Value);
  bool UseSkinThumb() const { return FUseSkinThumb; }
  void SetUseSkinThumb(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);

  TBitmap* ImageHThumb() const { return FImages[siHThumb].get(); }
  TBitmap* ImageHRuler() const { return FImages[siHRuler].get(); }
  TBitmap* ImageVThumb() const { return FImages[siVThumb].get(); }
  TBitmap* ImageVRuler() const { return FImages[siVRuler].get(); }
  // A user's picture replaces the built-in one and is marked in UserImages; null brings it back.
  void SetImage(TbsSliderImage Index, TBitmap* Value);
  TbsSliderImages UserImages() const { return FUserImages; }
  // The stored binary property "UserImages": one byte, bit n for image n. Written only when it
  // differs from the ancestor's (or from the empty set without one).
  bool UserImagesStored(const TbsSkinCustomSlider* Ancestor) const;
  void WriteUserImages(TStream* Stream) const;
  void ReadUserImages(TStream* Stream);

  // Draws the tick points on the canvas being painted (for OnDrawPoints handlers).
  void DefaultDrawPoints(Integer PointsStep, Integer PointsHeight, Integer ExtremePointsHeight);

  void GetSkinData() override;
  void ChangeSkinData() override;
  void Loaded() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  // Geometry, read by tests and by painting.
  TRect ThumbRect() const { return FThumbRect; }
  TPoint RulerOrg() const { return FRulerOrg; }
  TBitmap* Ruler() const { return FRuler.get(); }
  TRect PointsRect() const { return FPointsRect; }
  Integer GetRulerLength() const;
  Integer GetOffsetByValue(Integer V);
  Integer GetValueByOffset(Integer X);
  bool Sliding() const { return FSliding; }
  bool Tracking() const { return FTracking; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanged;
  TNotifyEvent OnDrawPoints;

 protected:
  virtual bool CanModify() { return true; }
  virtual void GetSliderRect(TRect& R) { R = Rect(0, 0, Width(), Height()); }
  virtual Integer GetValue() { return FValue; }
  virtual void ElementsChanged() { AdjustElements(); }
  virtual void RangeChanged() {}
  virtual void ThumbMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void ThumbMouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void ThumbMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void Change();
  virtual void Changed();

  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Dispatch(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void WMMove(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFocusChanged(TMessage& Message) override;
  void CheckParentBackground() override;

 private:
  bool horizontal() const { return FOrientation == soHorizontal; }
  bool reading() const { return ComponentState().Contains(csReading); }
  // The element can give the ruler / the thumb of the current orientation.
  bool skinRuler() const;
  bool skinThumb() const;
  TBitmap* rulerImage() const { return FImages[horizontal() ? siHRuler : siVRuler].get(); }
  TBitmap* thumbImage() const { return FImages[horizontal() ? siHThumb : siVThumb].get(); }
  void AdjustElements();
  void BuildDefaultRuler(Integer Length);
  void BuildSkinRuler(Integer Length);
  void SetMinMax(Integer AMin, Integer AMax);
  void AdjustThumbOffset(Integer& X, TPoint& P);
  void SetThumbOffset(Integer X);
  void InvalidateThumb();
  void ThumbJump(TbsJumpMode Mode);
  TbsJumpMode JumpModeAt(Integer X, Integer Y) const;
  void TimerTrack();
  void StopTracking();
  void ImageChanged(TObject* Sender);
  void DrawPoints(TCanvas* Canvas, Integer Step, Integer PointsHeight, Integer ExtremePointsHeight);
  void drawThumb(TCanvas* C);

  Integer FMinValue = 0, FMaxValue = 100, FValue = 0, FIncrement = 10;
  TbsSliderOrientation FOrientation = soHorizontal;
  TbsSliderOptions FOptions{soShowFocus, soShowPoints, soSmooth};
  Integer FEdgeSize = 2;
  Integer FNumThumbStates = 2;
  TCustomImageList* FThumbImageList = nullptr;
  Integer FThumbImageIndex = 0, FThumbActiveImageIndex = 1;
  bool FUseSkinThumb = true;
  bool FTransparent = false;

  std::array<std::unique_ptr<TBitmap>, 4> FImages;
  TbsSliderImages FUserImages;
  std::unique_ptr<TBitmap> FRuler;
  TPoint FRulerOrg{};
  TRect FThumbRect{};
  TRect FPointsRect{};
  bool FThumbDown = false;
  bool FSliding = false;
  Integer FHit = 0;
  bool FTracking = false;
  bool FTimerActive = false;
  TPoint FMousePos{};
  TbsJumpMode FStartJump = jmNone;
  bool FFocused = false;
  // Cleared when the slider is freed, so a handler that frees it ends the code that called the handler.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  // The canvas being painted, for DefaultDrawPoints.
  TCanvas* FPaintCanvas = nullptr;

  // Copies of the element.
  TRect HRulerRect{}, HThumbRect{}, VRulerRect{}, VThumbRect{};
  Integer SkinEdgeSize = 0;
  TColor BGColor = clBtnFace, PointsColor = clWindowText;
  TBitmap* Picture = nullptr;
};

// The published face of the slider.
class TbsSkinSlider : public TbsSkinCustomSlider {
 public:
  using TbsSkinCustomSlider::TbsSkinCustomSlider;
  String ClassName() const override { return "TbsSkinSlider"; }
};
