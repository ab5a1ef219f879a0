// The containers of a ribbon page and of an application-menu page. They hold the page's controls and,
// when those do not fit, scroll them with two 12-pixel arrows at the ends of the scrolling direction:
// the ribbon's page sideways, the menu's page up and down. The arrows take the "resizetoolbutton" look
// of the owner's skin.
#pragma once

#include "platform/ui/core/customcontrol.h"
#include "skin/controls/bars/bsarrowscroller.h"

class TbsRibbon;
class TbsAppMenu;

// What the two twins share; the axis and the skin owner make the difference.
class TbsScrollingPage : public TCustomControl {
 public:
  TbsScrollingPage(TComponent* AOwner, TbsArrowScroller::TAxis Axis, bool CanScrollByDefault);
  String ClassName() const override { return "TbsScrollingPage"; }

  bool CanScroll() const { return FScroller.CanScroll; }
  void SetCanScroll(bool Value) { FScroller.CanScroll = Value; }
  bool HotScroll() const { return FScroller.HotScroll; }
  void SetHotScroll(bool Value) { FScroller.HotScroll = Value; }
  Integer ScrollOffset() const { return FScroller.ScrollOffset; }
  void SetScrollOffset(Integer Value) { FScroller.SetScrollOffset(Value); }
  Integer ScrollTimerInterval() const { return FScroller.ScrollTimerInterval; }
  void SetScrollTimerInterval(Integer Value) { FScroller.SetScrollTimerInterval(Value); }
  Integer Position() const { return FScroller.SPosition; }
  void SetPosition(Integer Value);

  // Measures the children against the client area (when scrolling is on).
  virtual void GetScrollInfo();
  // Applies the current bounds again.
  void UpDateSize() { SetBounds(Left(), Top(), Width(), Height()); }
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  // ---- state (read by tests) ----
  const TbsScrollArrow& ScrollButton(Integer Index) const { return FScroller.Buttons[Index]; }
  bool ArrowsShown() const { return FScroller.ArrowsShown(); }
  Integer ScrollMax() const { return FScroller.SMax; }
  Integer ScrollPage() const { return FScroller.SPage; }
  Integer ScrollTimerMode() const { return FScroller.TimerMode; }
  bool MouseIn() const { return FScroller.MouseIn; }

 protected:
  void AdjustClientRect(TRect& Rect) override;
  void WndProc(TMessage& Message) override;
  void Paint() override {}
  // The skin control whose skin gives the arrows their look.
  virtual TWinControl* skinOwner() const = 0;

  TbsArrowScroller FScroller;
};

class TbsRibbonCustomPage : public TbsScrollingPage {
 public:
  explicit TbsRibbonCustomPage(TComponent* AOwner);
  String ClassName() const override { return "TbsRibbonCustomPage"; }

  TbsRibbon* Ribbon = nullptr;

 protected:
  TWinControl* skinOwner() const override;
};

class TbsAppMenuCustomPage : public TbsScrollingPage {
 public:
  explicit TbsAppMenuCustomPage(TComponent* AOwner);
  String ClassName() const override { return "TbsAppMenuCustomPage"; }

  // Nothing is measured while the page is not shown by its menu.
  void GetScrollInfo() override;

  bool FStopScroll = true;
  TbsAppMenu* AppMenu = nullptr;

 protected:
  TWinControl* skinOwner() const override;
};
