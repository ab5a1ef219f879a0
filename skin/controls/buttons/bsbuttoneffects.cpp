#include "skin/controls/buttons/bsbuttoneffects.h"

#include "skin/controls/base/bsskincontrolbase.h"

namespace {

constexpr Cardinal MorphInterval = 20;
constexpr Cardinal RepeatDelay = 500;

void freeTimer(TTimer*& Timer) {
  if (Timer == nullptr) return;
  Timer->SetEnabled(false);
  delete Timer;
  Timer = nullptr;
}

}  // namespace

// ---- element ----

void TbsButtonElementLook::CopyButtonElement(const TbsDataSkinButtonControl* R, const TRect& SkinRect) {
  FontName = R->FontName;
  FontStyle = R->FontStyle;
  FontHeight = R->FontHeight;
  FontColor = R->FontColor;
  ActiveFontColor = R->ActiveFontColor;
  DownFontColor = R->DownFontColor;
  DisabledFontColor = R->DisabledFontColor;
  ActiveSkinRect = R->ActiveSkinRect;
  DownSkinRect = R->DownSkinRect;
  DisabledSkinRect = R->DisabledSkinRect;
  Morphing = R->Morphing;
  MorphKind = R->MorphKind;
  AnimateSkinRect = R->AnimateSkinRect;
  FrameCount = R->FrameCount;
  AnimateInterval = R->AnimateInterval;
  MenuMarkerRect = R->MenuMarkerRect;
  MenuMarkerActiveRect = R->MenuMarkerActiveRect;
  MenuMarkerDownRect = R->MenuMarkerDownRect;
  MenuMarkerFlatRect = R->MenuMarkerFlatRect;
  MenuMarkerTransparentColor = R->MenuMarkerTransparentColor;
  if (IsEmptyRect(ActiveSkinRect)) ActiveSkinRect = SkinRect;
  if (IsEmptyRect(DownSkinRect)) DownSkinRect = ActiveSkinRect;
  if (IsEmptyRect(MenuMarkerActiveRect)) MenuMarkerActiveRect = MenuMarkerRect;
  if (IsEmptyRect(MenuMarkerDownRect)) MenuMarkerDownRect = MenuMarkerActiveRect;
  if (DisabledFontColor == FontColor) DisabledFontColor = clGray;
}

// ---- glyph ----

void TbsButtonGlyph::Assign(TBitmap* Value) {
  if (Value == nullptr)
    Bitmap = std::make_unique<TBitmap>();
  else
    Bitmap->Assign(Value);
}

bool TbsButtonGlyph::SetMargin(Integer Value) {
  if (Value < -1 || Margin == Value) return false;
  Margin = Value;
  return true;
}

bool TbsButtonGlyph::SetSpacing(Integer Value) {
  if (Spacing == Value) return false;
  Spacing = Value;
  return true;
}

bool TbsButtonGlyph::SetLayout(TbsButtonLayout Value) {
  if (Layout == Value) return false;
  Layout = Value;
  return true;
}

Integer TbsButtonGlyph::GlyphNum(bool ADown, bool AMouseIn, bool AEnabled) const {
  if (ADown && AMouseIn && NumGlyphs > 2) return 3;
  if (AMouseIn && NumGlyphs > 3) return 4;
  if (AEnabled || NumGlyphs < 2) return 1;
  return 2;
}

// ---- timers ----

TbsButtonEffects::~TbsButtonEffects() {
  StopMorph();
  StopAnimate();
  StopRepeat();
}

TTimer* TbsButtonEffects::newTimer(Cardinal Interval, TNotifyEvent Tick) {
  auto* T = new TTimer(Host.Owner);
  T->SetInterval(Interval);
  T->OnTimer = std::move(Tick);
  T->SetEnabled(true);
  return T;
}

// ---- cross-fade ----

void TbsButtonEffects::StartMorph() {
  if (MorphTimer != nullptr) return;
  MorphTimer = newTimer(MorphInterval, [this](TObject*) { morphTick(); });
}

void TbsButtonEffects::StopMorph() {
  freeTimer(MorphTimer);
}

void TbsButtonEffects::morphTick() {
  const bool Hovered = Host.Hovered();
  if (!Host.CanMorph()) {
    MorphKf = Hovered ? 1 : 0;
    StopMorph();
    return;
  }
  // The tick after the fade has arrived ends it.
  if (MorphKf == (Hovered ? 1 : 0))
    StopMorph();
  else
    MorphKf = StepMorphKf(MorphKf, Hovered);
  Host.Repaint();
}

// ---- frame animation ----

void TbsButtonEffects::StartAnimate(bool AInc, Integer AnimateInterval) {
  StopAnimate();
  AnimateInc = AInc;
  CurrentFrame = AInc ? 1 : *Host.FrameCount;
  AnimateTimer =
      newTimer(Cardinal(AnimateInterval > 0 ? AnimateInterval : 1), [this](TObject*) { animateTick(); });
}

void TbsButtonEffects::StopAnimate() {
  CurrentFrame = 0;
  freeTimer(AnimateTimer);
}

void TbsButtonEffects::animateTick() {
  if (AnimateInc) {
    if (CurrentFrame <= *Host.FrameCount) {
      ++CurrentFrame;
      Host.Repaint();
    }
    if (CurrentFrame > *Host.FrameCount) StopAnimate();
  } else {
    if (CurrentFrame >= 0) {
      --CurrentFrame;
      Host.Repaint();
    }
    if (CurrentFrame <= 0) StopAnimate();
  }
}

TRect TbsButtonEffects::AnimateFrameRect(const TRect& AnimateSkinRect, const TRect& SkinRect) const {
  const TRect& A = AnimateSkinRect;
  const Integer FrameCount = *Host.FrameCount;
  if (FrameCount <= 0) return A;
  if (RectWidth(A) > RectWidth(SkinRect)) {
    const Integer w = RectWidth(A) / FrameCount;
    return Rect(A.Left + w * (CurrentFrame - 1), A.Top, A.Left + w * CurrentFrame, A.Bottom);
  }
  const Integer h = RectHeight(A) / FrameCount;
  return Rect(A.Left, A.Top + h * (CurrentFrame - 1), A.Right, A.Top + h * CurrentFrame);
}

void TbsButtonEffects::ShowAnimateFrame(const TRect& AnimateSkinRect, TRect& SkinRect,
                                        TRect& ActiveSkinRect) const {
  if (AnimateTimer == nullptr || CurrentFrame < 1 || CurrentFrame > *Host.FrameCount) return;
  const TRect Frame = AnimateFrameRect(AnimateSkinRect, SkinRect);
  (AnimateInc ? ActiveSkinRect : SkinRect) = Frame;
}

// ---- auto-repeat ----

void TbsButtonEffects::StartRepeat() {
  StopRepeat();
  RepeatTimer = newTimer(RepeatDelay, [this](TObject*) {
    const Integer Interval = *Host.RepeatInterval;
    RepeatTimer->SetInterval(Cardinal(Interval > 0 ? Interval : 1));
    RepeatTimer->OnTimer = [this](TObject*) { Host.Click(); };
  });
}

void TbsButtonEffects::StopRepeat() {
  freeTimer(RepeatTimer);
}
