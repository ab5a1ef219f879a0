// The menu speed button: a speed button that drops a skinned popup menu or an images menu below
// itself. Without track-button mode any press opens the menu; with it only a 15-pixel drop-down part
// (at the right, or at the bottom in the new style) does, and the rest clicks like a speed button.
#pragma once

#include "skin/controls/buttons/bsskinspeedbutton.h"

class TbsSkinPopupMenu;
class TbsDataSkinButtonControl;

enum TbsTrackPosition { bstpRight, bstpBottom };

class TbsSkinMenuSpeedButton : public TbsSkinSpeedButton {
 public:
  explicit TbsSkinMenuSpeedButton(TComponent* AOwner);
  String ClassName() const override { return "TbsSkinMenuSpeedButton"; }

  // ---- published ----
  bool NewStyle() const { return FNewStyle; }
  void SetNewStyle(bool Value);
  TbsTrackPosition TrackPosition() const { return FTrackPosition; }
  void SetTrackPosition(TbsTrackPosition Value);
  TbsSkinImagesMenu* SkinImagesMenu() const { return FSkinImagesMenu; }
  void SetSkinImagesMenu(TbsSkinImagesMenu* Value);
  bool UseImagesMenuImage() const { return FUseImagesMenuImage; }
  void SetUseImagesMenuImage(bool Value) { FUseImagesMenuImage = Value; }
  bool UseImagesMenuCaption() const { return FUseImagesMenuCaption; }
  void SetUseImagesMenuCaption(bool Value) { FUseImagesMenuCaption = Value; }
  TbsSkinPopupMenu* SkinPopupMenu() const { return FSkinPopupMenu; }
  void SetSkinPopupMenu(TbsSkinPopupMenu* Value);
  bool TrackButtonMode() const { return FTrackButtonMode; }
  void SetTrackButtonMode(bool Value);
  TNotifyEvent OnShowTrackMenu;
  TNotifyEvent OnHideTrackMenu;

  // ---- operations ----
  bool CanMenuTrack(Integer X, Integer Y);
  TRect GetTrackButtonRect() const;
  void TrackMenu();
  void MenuClosed(TObject* Sender);
  void GetSkinData() override;

  // Public switches of the MDI tabs bar: a plain drawn arrow of kind FArrowType (1 left .. 4 down).
  bool FDrawStandardArrow = false;
  Integer FArrowType = 4;
  TRect TrackButtonRect{};

 protected:
  void Paint() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

 private:
  void paintTransparentMenuButton();
  void drawToolOrResizeButton(TBitmap* B, bool ADown, bool AMouseIn, bool Resize);
  void composePart(TBitmap* B, const TRect& Part, const TRect& Src, bool Resize);
  void drawArrow(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn, TColor TextColor);
  void drawNewStyleMenuButton(TBitmap* B, bool ADown, bool AMouseIn);
  void DrawElementPart(TbsDataSkinButtonControl* Record, TCanvas* C, bool ADown, bool AMouseIn,
                       const TRect& R);
  TbsDataSkinButtonControl* elementByName(const String& Name) const;
  void menuClosedCommon();

  TbsSkinPopupMenu* FSkinPopupMenu = nullptr;
  bool FTrackButtonMode = false;
  bool FNewStyle = false;
  TbsTrackPosition FTrackPosition = bstpRight;
};
