#include "skin/boxes/ribbon/bsribbonpages.h"

#include <algorithm>

#include "skin/boxes/ribbon/bsappmenu.h"
#include "skin/boxes/ribbon/bsribbon.h"
#include "skin/core/bsmessages.h"

namespace {

// The arrows' look from the owner's skin: its "resizetoolbutton" element, when the owner has found its
// own element there and the button element has a picture.
TbsArrowScroller::TArrowLook arrowLookOf(TbsSkinControl* Owner) {
  if (Owner == nullptr) return {};
  Owner->GetSkinData();
  TbsSkinData* SD = Owner->SkinData();
  if (Owner->SkinIndex() == -1 || SD == nullptr) return {};
  const Integer I = SD->GetControlIndex("resizetoolbutton");
  auto* D = I != -1 ? dynamic_cast<TbsDataSkinButtonControl*>(SD->Ctrls(I)) : nullptr;
  TBitmap* Pic = D != nullptr ? SkinPictureAt(SD, D->PictureIndex) : nullptr;
  if (Pic == nullptr) return {};
  return {D, Pic};
}

}  // namespace

// ---- TbsScrollingPage ----

TbsScrollingPage::TbsScrollingPage(TComponent* AOwner, TbsArrowScroller::TAxis Axis, bool CanScrollByDefault)
    : TCustomControl(AOwner), FScroller(this, Axis) {
  FScroller.CanScroll = CanScrollByDefault;
  FScroller.ArrowLook = [this] { return arrowLookOf(dynamic_cast<TbsSkinControl*>(skinOwner())); };
  SetBounds(Left(), Top(), 150, 30);
}

void TbsScrollingPage::SetPosition(Integer Value) {
  if (FScroller.SPosition == Value) return;
  FScroller.SPosition = Value;
  GetScrollInfo();
}

void TbsScrollingPage::GetScrollInfo() {
  if (FScroller.CanScroll) FScroller.Measure();
}

void TbsScrollingPage::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const Integer Old = FScroller.HostExtent();
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  FScroller.Resized(Old);
  if (FScroller.CanScroll) GetScrollInfo();
}

void TbsScrollingPage::AdjustClientRect(TRect& R) {
  if (FScroller.CanScroll) {
    const TRect Client = TWinControl::GetClientRect();
    const Integer CW = Client.Width(), CH = Client.Height();
    const Integer P = FScroller.SPosition;
    if (FScroller.Horizontal())
      R = Rect(-P, 0, std::max(FScroller.SMax, CW) - P, CH);
    else
      R = Rect(0, -P, CW, std::max(FScroller.SMax, CH) - P);
  }
  TCustomControl::AdjustClientRect(R);
}

void TbsScrollingPage::WndProc(TMessage& Message) {
  const bool Designing = ComponentState().Contains(csDesigning);
  switch (Message.Msg) {
    case CM_PAINTNC: {
      HDC DC = reinterpret_cast<HDC>(Message.WParam);
      Message.Result = DC != nullptr && FScroller.PaintArrowsTo(DC) ? PaintNCDone : 0;
      return;
    }
    case CN_PAINTNC:
      if (Message.LParam == PaintNCNotifyCode) {
        FScroller.PaintArrowsTo(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = PaintNCNotifyCode;
        return;
      }
      break;
    case WM_WINDOWPOSCHANGED:
      TCustomControl::WndProc(Message);
      if (FScroller.CanScroll && HandleAllocated() && Align() == alNone) GetScrollInfo();
      return;
    case WM_SIZE:
      TCustomControl::WndProc(Message);
      if (FScroller.CanScroll && FScroller.ArrowsShown()) {
        FScroller.PlaceArrows();
        SendMessage(Handle(), WM_NCPAINT, 0, 0);
      }
      return;
    default:
      break;
  }
  if (FScroller.HandleMessage(Message, Designing)) return;
  TCustomControl::WndProc(Message);
}

// ---- the ribbon's page ----

TbsRibbonCustomPage::TbsRibbonCustomPage(TComponent* AOwner)
    : TbsScrollingPage(AOwner, TbsArrowScroller::saHorizontal, true) {
  // Pictures stretched over the page move with its children only when it repaints.
  FScroller.AfterMove = [this] {
    if (Ribbon == nullptr) return;
    Ribbon->GetSkinData();
    if (Ribbon->Data() != nullptr && Ribbon->Data()->StretchEffect) Invalidate();
  };
}

TWinControl* TbsRibbonCustomPage::skinOwner() const {
  return Ribbon;
}

// ---- the application menu's page ----

TbsAppMenuCustomPage::TbsAppMenuCustomPage(TComponent* AOwner)
    : TbsScrollingPage(AOwner, TbsArrowScroller::saVertical, false) {
  FScroller.CanPlaceArrows = [this] { return AppMenu != nullptr; };
}

void TbsAppMenuCustomPage::GetScrollInfo() {
  if (FStopScroll) return;
  TbsScrollingPage::GetScrollInfo();
}

TWinControl* TbsAppMenuCustomPage::skinOwner() const {
  return AppMenu;
}
