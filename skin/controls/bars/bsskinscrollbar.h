// A stand-alone scroll bar window drawn from the skin: two arrow buttons, a track and a thumb. The
// value model (Min, Max, Position, PageSize) is kept apart from pixels; every paint and every press
// recomputes the geometry from it, and a thumb drag maps pixels back to a Position. Views and boxes
// hide the platform's bars and mirror their scroll state onto one or two of these through SetRange.
#pragma once

#include <memory>

#include "skin/controls/base/bsskincontrol.h"

struct TbsScrollBarButton {
  TRect R{};  // control coordinates
  bool MouseIn = false;
  bool Down = false;
};

class TbsSkinScrollBar : public TbsSkinCustomControl {
 public:
  // Parts of the bar, the indexes of Buttons.
  static constexpr Integer ThumbButton = 0;
  static constexpr Integer UpButton = 1;    // right or bottom end: Position + SmallChange
  static constexpr Integer DownButton = 2;  // left or top end: Position - SmallChange
  static constexpr UINT_PTR RepeatTimerId = 1;
  static constexpr UINT RepeatDelay = 500;
  static constexpr UINT RepeatInterval = 50;
  // Thumb length of the default look and its minimum with a page size.
  static constexpr Integer DefaultThumbLength = 16;

  explicit TbsSkinScrollBar(TComponent* AOwner);
  ~TbsSkinScrollBar() override;
  String ClassName() const override { return "TbsSkinScrollBar"; }

  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  Integer Min() const { return FMin; }
  void SetMin(Integer Value);
  Integer Max() const { return FMax; }
  void SetMax(Integer Value);
  Integer Position() const { return FPosition; }
  void SetPosition(Integer Value);
  Integer PageSize() const { return FPageSize; }
  void SetPageSize(Integer Value);
  Integer SmallChange() const { return FSmallChange; }
  void SetSmallChange(Integer Value);
  Integer LargeChange() const { return FLargeChange; }
  void SetLargeChange(Integer Value);
  bool Both() const { return FBoth; }
  void SetBoth(bool Value);
  Integer BothMarkerWidth() const { return FBothMarkerWidth; }
  void SetBothMarkerWidth(Integer Value);
  const String& BothSkinDataName() const { return FBothSkinDataName; }
  void SetBothSkinDataName(const String& Value) { FBothSkinDataName = Value; }
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);

  // Mirrors a host's scroll state: no OnChange, also when the Position moves.
  void SetRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize);
  // Clamps and stores without OnChange; repaints when it changed.
  void SimplySetPosition(Integer AValue);

  void GetSkinData() override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;
  // Recomputes the parts' rectangles, the track and the thumb offsets from the value model.
  void CalcRects();

  TNotifyEvent OnChange;
  TNotifyEvent OnLastChange;
  TNotifyEvent OnUpButtonClick;
  TNotifyEvent OnDownButtonClick;
  TNotifyEvent OnPageUp;
  TNotifyEvent OnPageDown;

  // Thumb, up and down button (see the constants above).
  TbsScrollBarButton Buttons[3];
  Integer ActiveButton = -1;
  Integer OldActiveButton = -1;
  Integer CaptureButton = -1;
  // 0 none, 1 down button, 2 up button, 3 page up, 4 page down.
  Integer TimerMode = 0;
  // The first, long repeat interval is still running.
  bool WaitMode = false;
  bool MouseD = false;
  // A thumb drag is in progress.
  bool FDown = false;
  TRect NewTrackArea{};
  // First and last place of the thumb's centre along the track; the centre's distance from Offset1.
  Integer Offset1 = 0, Offset2 = 0, BOffset = 0;

 protected:
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

 private:
  Integer upperBound() const { return FPageSize != 0 ? FMax - FPageSize + 1 : FMax; }
  Integer clamped(Integer Value) const;
  bool horizontal() const { return FKind == sbHorizontal; }
  // k of the model and kp of the thumb's place.
  double valueFraction() const;
  double thumbFraction() const;
  Integer pageThumbLength(Integer TrackLength, Integer MinLength) const;
  void calcDefaultRects();
  void calcSkinRects();
  void placeThumb(Integer Length, Integer Across0, Integer Across1);
  Integer CalcPosition(Integer Offset);
  void TestActive(Integer X, Integer Y);
  void ButtonEnter(Integer Index);
  void ButtonLeave(Integer Index);
  void ButtonDown(Integer Index, Integer X, Integer Y);
  void ButtonUp(Integer Index);
  // False when a handler freed the bar.
  bool ButtonClick(Integer Index);
  bool pageStep(bool Before);
  void StartTimer(UINT Interval);
  void StopTimer();
  void WMTimer(TMessage& Message);
  void WMMouseWheel(TMessage& Message);
  void DrawButton(TCanvas* C, Integer Index);
  void drawDefaultButton(TCanvas* C, Integer Index);
  void drawSkinArrow(TCanvas* C, Integer Index);
  void drawSkinThumb(TCanvas* C);
  // The element is a scroll bar record whose picture can be drawn; otherwise the default look.
  bool skinUsable() const;
  // True when R is defined and lies inside Picture.
  bool inPicture(const TRect& R) const;

  TScrollBarKind FKind = sbHorizontal;
  Integer FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
  Integer FSmallChange = 1, FLargeChange = 1;
  bool FBoth = false;
  Integer FBothMarkerWidth = 19;
  String FBothSkinDataName = "bothhscrollbar";
  String FNormalSkinDataName;
  bool FCanFocused = false;
  bool FClicksDisabled = false;
  // Cleared when the bar is freed, so a handler that frees it ends the code that called the handler.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  Integer OMPos = 0, OldBOffset = 0;
  Integer MX = 0, MY = 0;

  // Copies of the element.
  TRect TrackArea{}, UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{};
  TRect DownButtonRect{}, ActiveDownButtonRect{}, DownDownButtonRect{};
  TRect ThumbRect{}, ActiveThumbRect{}, DownThumbRect{};
  Integer ThumbOffset1 = 0, ThumbOffset2 = 0;
  bool ThumbTransparent = false;
  TColor ThumbTransparentColor = 0;
  TRect GlyphRect{}, ActiveGlyphRect{}, DownGlyphRect{};
  bool GlyphTransparent = false;
  TColor GlyphTransparentColor = 0;
  bool ThumbStretchEffect = false;
  Integer ThumbMinSize = 0, ThumbMinPageSize = 0;
};

// Makes Value the external bar a scrolling view keeps in Field: watched for its freeing, enabled,
// hidden until the view has something to scroll, reporting its moves to OnChange.
void AttachExternalScrollBar(TComponent* View, TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value,
                             TNotifyEvent OnChange);
