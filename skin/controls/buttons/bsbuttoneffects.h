// What the skinned push and speed buttons share beside their looks: the glyph with its layout, and
// the timed effects (the hover cross-fade, the frame animation through the element's strip of frames,
// the auto-repeat clicks), each on a timer the button owns.
#pragma once

#include <functional>
#include <memory>

#include "platform/ui/core/timer.h"
#include "platform/ui/graphics/bitmap.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordsbuttons.h"

// What the push and the speed button copy from their "button" element.
struct TbsButtonElementLook {
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
  TRect ActiveSkinRect{}, DownSkinRect{}, DisabledSkinRect{};
  bool Morphing = false;
  TbsMorphKind MorphKind = mkDefault;
  TRect AnimateSkinRect{};
  Integer FrameCount = 0, AnimateInterval = 0;
  TRect MenuMarkerRect{}, MenuMarkerActiveRect{}, MenuMarkerDownRect{}, MenuMarkerFlatRect{};
  TColor MenuMarkerTransparentColor = 0;

  // The fields from R; a missing hovered picture is the normal one (SkinRect), a missing pressed one
  // the hovered one, likewise for the marker, and a disabled text colour like the normal one is grey.
  void CopyButtonElement(const TbsDataSkinButtonControl* R, const TRect& SkinRect);
};

// The glyph (a strip of NumGlyphs state cells) and where it stands beside the caption.
struct TbsButtonGlyph {
  std::unique_ptr<TBitmap> Bitmap = std::make_unique<TBitmap>();
  TbsNumGlyphs NumGlyphs = 1;
  Integer Margin = -1;
  Integer Spacing = 1;
  TbsButtonLayout Layout = blGlyphLeft;

  // A null Value clears the glyph.
  void Assign(TBitmap* Value);
  // Each answers whether the value changed (a margin below -1 is refused), so the button repaints.
  bool SetMargin(Integer Value);
  bool SetSpacing(Integer Value);
  bool SetLayout(TbsButtonLayout Value);
  // The 1-based cell a state shows: pressed under the mouse, hovered, disabled, else the first, each
  // only when the strip has that many cells.
  Integer GlyphNum(bool ADown, bool AMouseIn, bool AEnabled) const;
};

class TbsButtonEffects {
 public:
  // What the effects read from and do to the button that owns them.
  struct THost {
    TComponent* Owner = nullptr;  // owns the timers
    std::function<void()> Repaint;
    // Where the cross-fade heads: true towards the hovered picture.
    std::function<bool()> Hovered;
    // False once the element no longer fades: the fade jumps to its end and stops.
    std::function<bool()> CanMorph;
    // One auto-repeat click.
    std::function<void()> Click;
    // The element's frame count and the repeat interval, read as they are at each tick.
    const Integer* FrameCount = nullptr;
    const Integer* RepeatInterval = nullptr;
  };

  explicit TbsButtonEffects(THost AHost) : Host(std::move(AHost)) {}
  ~TbsButtonEffects();
  TbsButtonEffects(const TbsButtonEffects&) = delete;
  TbsButtonEffects& operator=(const TbsButtonEffects&) = delete;

  // ---- cross-fade: 0 shows the normal picture, 1 the hovered one ----
  Double MorphKf = 0;
  bool MorphRunning() const { return MorphTimer != nullptr; }
  void StartMorph();
  void StopMorph();

  // ---- frame animation: forwards from frame 1 on entering, backwards from the last on leaving ----
  Integer CurrentFrame = 0;
  bool AnimateInc = false;
  bool Animating() const { return AnimateTimer != nullptr; }
  void StartAnimate(bool AInc, Integer AnimateInterval);
  void StopAnimate();
  // The current frame's rectangle in the strip; the strip runs across when wider than the element.
  TRect AnimateFrameRect(const TRect& AnimateSkinRect, const TRect& SkinRect) const;
  // While a frame shows, it stands in for the picture being left (hovered forwards, normal backwards).
  void ShowAnimateFrame(const TRect& AnimateSkinRect, TRect& SkinRect, TRect& ActiveSkinRect) const;

  // ---- auto-repeat: no click for the first delay, then one every RepeatInterval ----
  bool RepeatRunning() const { return RepeatTimer != nullptr; }
  void StartRepeat();
  void StopRepeat();

 private:
  void morphTick();
  void animateTick();
  TTimer* newTimer(Cardinal Interval, TNotifyEvent Tick);

  THost Host;
  TTimer* MorphTimer = nullptr;
  TTimer* AnimateTimer = nullptr;
  TTimer* RepeatTimer = nullptr;
};
