// Scrolling of a windowed control's children along one axis with two 12-pixel arrows in the control's
// non-client area, shown only while the children do not fit: pressed, an arrow scrolls one step at
// once and then every interval; in hot-scroll mode merely resting on it scrolls. The content extent is
// measured from the children's positions, and scrolling moves the children. The tool bar scrolls
// sideways with it; the ribbon's pages sideways and the application menu's pages up and down.
#pragma once

#include <functional>

#include "platform/ui/core/wincontrol.h"
#include "skin/core/bsskinrecordsbuttons.h"

struct TbsScrollArrow {
  TRect R{};  // window coordinates
  bool MouseIn = false;
  bool Down = false;
  bool Visible = false;
};

// Hit-test answers of the two arrows.
constexpr Integer HTSCROLLARROWSTART = 119;
constexpr Integer HTSCROLLARROWEND = 120;
constexpr Integer ScrollArrowSize = 12;

class TbsArrowScroller {
 public:
  enum TAxis { saHorizontal, saVertical };
  // The skin look of the arrows; no data (or no picture) gives the flat default look.
  struct TArrowLook {
    TbsDataSkinButtonControl* Data = nullptr;
    TBitmap* Picture = nullptr;
  };

  TbsArrowScroller(TWinControl* AHost, TAxis AAxis) : Host(AHost), Axis(AAxis) {}

  // ---- settings ----
  bool CanScroll = false;
  bool HotScroll = false;
  // Pixels per step; 0 is one client extent.
  Integer ScrollOffset = 0;
  Integer ScrollTimerInterval = 50;
  void SetScrollOffset(Integer Value) {
    if (Value >= 0) ScrollOffset = Value;
  }
  void SetScrollTimerInterval(Integer Value) {
    if (Value > 0) ScrollTimerInterval = Value;
  }

  // ---- state ----
  Integer TimerMode = 0;  // 0 none, 1 towards the start, 2 towards the end
  Integer SMax = 0;       // last scroll coordinate of the content; 0 when everything fits
  Integer SPosition = 0;
  Integer SPage = 0;
  Integer SOldPosition = 0;  // where the children stand now
  Integer SizeOffset = 0;    // how much the host grew at its last resize
  TbsScrollArrow Buttons[2];
  bool MouseIn = false;
  bool ArrowsShown() const { return Buttons[1].Visible; }

  // ---- host hooks ----
  // Called after the children moved (the tool bar repaints there).
  std::function<void()> AfterMove;
  std::function<TArrowLook()> ArrowLook;
  // Whether the arrow rectangles may be placed (the menu's pages place them only inside a menu).
  std::function<bool()> CanPlaceArrows;

  // ---- operations ----
  bool Horizontal() const { return Axis == saHorizontal; }
  // The host's extent and its client extent along the axis.
  Integer HostExtent() const { return Horizontal() ? Host->Width() : Host->Height(); }
  Integer ClientExtent() const;
  // Measures the children: shows, hides or moves them and the arrows.
  void Measure();
  // The host's extent along the axis changed from OldExtent.
  void Resized(Integer OldExtent);
  void ShowArrows(bool Value);
  void Step(bool ToEnd);
  void PlaceArrows();
  // The non-client messages, timers and mouse moves of the scrolling; true when the message is
  // answered and must not reach the host's own handling.
  bool HandleMessage(TMessage& Message, bool Designing);
  // The shown arrows into DC (window coordinates); false when none is shown.
  bool PaintArrowsTo(HDC DC);

 private:
  Integer extentOf(TControl* C) const;
  void moveChildren(Integer D);
  void startScrollTimer();
  void stopScrollTimer();
  void mouseEnter();
  void mouseLeave();
  void repaintArrows();
  void paintArrow(HDC DC, const TbsScrollArrow& A, Integer Kind);

  TWinControl* Host;
  TAxis Axis;
  bool FUpdating = false;
};
