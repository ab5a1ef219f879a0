// A skinned container whose children may be larger than its client area. It draws its own frame and
// background and is scrolled by two skinned scroll bars that the application places beside it: the
// box sets their ranges from its visible children, shows or hides them and moves the children when a
// bar moves.
#pragma once

#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/base/bsskincontrol.h"
#include "skin/controls/panels/bsskinpanel.h"

class TbsSkinScrollBox : public TbsSkinCustomControl {
 public:
  explicit TbsSkinScrollBox(TComponent* AOwner);
  ~TbsSkinScrollBox() override;
  String ClassName() const override { return "TbsSkinScrollBox"; }

  TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
  void SetHScrollBar(TbsSkinScrollBar* Value);
  TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
  void SetVScrollBar(TbsSkinScrollBar* Value);
  TbsSkinBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TbsSkinBorderStyle Value);
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value) { FCanFocused = Value; }

  // Call after changing the children.
  void UpDateScrollRange();
  void HScroll(Integer APosition);
  void VScroll(Integer APosition);
  // Scrolls a direct child into view.
  void ScrollToControl(TControl* C);

  void GetSkinData() override;
  void ChangeSkinData() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void PaintFrame(TCanvas* C);

  Integer BGPictureIndex = -1;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void AdjustClientRect(TRect& Rect) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void CreateControlDefaultImage(TBitmap* B) override;

 private:
  void GetHRange();
  void GetVRange();
  void HScrollBy(Integer D);
  void VScrollBy(Integer D);
  void afterScroll();
  void HScrollBarChange(TObject* Sender);
  void VScrollBarChange(TObject* Sender);
  void ScrollBarLastChange(TObject* Sender);
  // Shows or hides a bar and, when the box is aligned, realigns the parent and the children.
  void changeBarVisibility(TbsSkinScrollBar* Bar, bool Show);
  bool nonClientMessage(TMessage& Message);
  bool framed() const { return BGPictureIndex == -1 && FBorderStyle != bvNone; }
  void paintFrameTo(HDC DC);
  void paintDefaultFrame(TCanvas* C);

  bool FClicksDisabled = false;
  bool FCanFocused = false;
  bool FInCheckScrollBars = false;
  TbsSkinScrollBar* FVScrollBar = nullptr;
  TbsSkinScrollBar* FHScrollBar = nullptr;
  Integer FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;
  Integer FVSizeOffset = 0, FHSizeOffset = 0;
  TbsSkinBorderStyle FBorderStyle = bvFrame;
};
