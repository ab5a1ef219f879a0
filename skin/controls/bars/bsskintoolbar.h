// The tool bar and the status bar: two panels with a job of their own. The tool bar centres its
// children vertically, hands its image lists, skin, flat and caption modes to the speed buttons on it,
// and, when the children do not fit, scrolls them sideways with two 12-pixel arrows drawn in its own
// non-client area (pressed, or merely hovered in hot-scroll mode). The status bar sits at the bottom
// with an optional size grip in its bottom-right corner.
#pragma once

#include "skin/controls/bars/bsarrowscroller.h"
#include "skin/controls/base/bsskingeometry.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/core/bsskinrecordsbuttons.h"

using TbsToolBarScrollButton = TbsScrollArrow;

// Hit-test answers of the two arrows.
constexpr Integer HTTOOLBARLEFT = HTSCROLLARROWSTART;
constexpr Integer HTTOOLBARRIGHT = HTSCROLLARROWEND;

class TbsSkinToolBar : public TbsSkinPanel, public IbsAdjustingParent {
 public:
  explicit TbsSkinToolBar(TComponent* AOwner);
  ~TbsSkinToolBar() override;
  String ClassName() const override { return "TbsSkinToolBar"; }

  // ---- published ----
  bool AdjustControls() const override { return FAdjustControls; }
  void SetAdjustControls(bool Value) { FAdjustControls = Value; }
  bool CanScroll() const { return FScroller.CanScroll; }
  void SetCanScroll(bool Value) { FScroller.CanScroll = Value; }
  bool HotScroll() const { return FScroller.HotScroll; }
  void SetHotScroll(bool Value) { FScroller.HotScroll = Value; }
  Integer ScrollOffset() const { return FScroller.ScrollOffset; }
  void SetScrollOffset(Integer Value) { FScroller.SetScrollOffset(Value); }
  Integer ScrollTimerInterval() const { return FScroller.ScrollTimerInterval; }
  void SetScrollTimerInterval(Integer Value) { FScroller.SetScrollTimerInterval(Value); }
  Integer WidthWithCaptions() const { return FWidthWithCaptions; }
  void SetWidthWithCaptions(Integer Value) { FWidthWithCaptions = Value; }
  Integer WidthWithoutCaptions() const { return FWidthWithoutCaptions; }
  void SetWidthWithoutCaptions(Integer Value) { FWidthWithoutCaptions = Value; }
  bool AutoShowHideCaptions() const { return FAutoShowHideCaptions; }
  void SetAutoShowHideCaptions(bool Value) { FAutoShowHideCaptions = Value; }
  bool ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* HotImages() const { return FHotImages; }
  void SetHotImages(TCustomImageList* Value);
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);

  // ---- operations ----
  void SetSkinData(TbsSkinData* Value) override;
  void SetSkinDataName(const String& Value) override;
  void GetSkinData() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void AdjustClientRect(TRect& R) override;
  using TbsSkinPanel::GetSkinClientRect;
  TRect GetSkinClientRect() override;
  // Measures the children against the client width and shows, hides or moves them and the arrows.
  void UpdateScroll();

  // ---- state (read by tests) ----
  const TbsToolBarScrollButton& ScrollButton(Integer Index) const { return FScroller.Buttons[Index]; }
  bool ArrowsShown() const { return FScroller.ArrowsShown(); }
  Integer ScrollMax() const { return FScroller.SMax; }
  Integer ScrollPosition() const { return FScroller.SPosition; }
  Integer ScrollPage() const { return FScroller.SPage; }
  Integer ScrollTimerMode() const { return FScroller.TimerMode; }
  bool MouseIn() const { return FScroller.MouseIn; }
  TbsDataSkinButtonControl* ArrowElement() const { return ButtonData; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void CreateControlSkinImage(TBitmap* B) override;

 private:
  void centreChildren();
  template <class F>
  void forEachSpeedButton(F Fn);

  bool FAdjustControls = true;
  TbsArrowScroller FScroller{this, TbsArrowScroller::saHorizontal};
  TbsDataSkinButtonControl* ButtonData = nullptr;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FDisabledImages = nullptr;
  TCustomImageList* FHotImages = nullptr;
  bool FFlat = false;
  bool FAutoShowHideCaptions = false;
  bool FShowCaptions = false;
  Integer FWidthWithCaptions = 0, FWidthWithoutCaptions = 0;
};

class TbsSkinStatusBar : public TbsSkinPanel {
 public:
  explicit TbsSkinStatusBar(TComponent* AOwner);
  String ClassName() const override { return "TbsSkinStatusBar"; }

  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  bool ShowGrip() const { return FShowGrip; }
  void SetShowGrip(bool Value);

  void SetSkinData(TbsSkinData* Value) override;
  void GetSkinData() override;
  void AdjustClientRect(TRect& R) override;
  // The grip's rectangle in control coordinates.
  TRect GetGripRect();

  TRect GripperRect{};
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;

 protected:
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void WndProc(TMessage& Message) override;

 private:
  bool gripActive() const { return FSizeGrip && FShowGrip; }

  bool FSizeGrip = false;
  bool FShowGrip = true;
};

// Diagonal stripes of a size grip in R (none for a negative width).
void DrawGrip(const TRect& R, TCanvas* Canvas, TColor LightColor, TColor DarkColor);
