// The menu button: a push button that drops a skinned popup menu or an images menu below itself. In
// track-button mode only a drop-down part at its right end opens the menu and the rest clicks like a
// push button. The drop-down arrow is drawn by the button for the elements whose picture has none.
#pragma once

#include "skin/controls/buttons/bsskinbutton.h"

class TbsSkinPopupMenu;

class TbsSkinMenuButton : public TbsSkinButton {
 public:
  explicit TbsSkinMenuButton(TComponent* AOwner);
  ~TbsSkinMenuButton() override;
  String ClassName() const override { return "TbsSkinMenuButton"; }

  // ---- published ----
  TbsSkinPopupMenu* SkinPopupMenu() const { return FSkinPopupMenu; }
  void SetSkinPopupMenu(TbsSkinPopupMenu* Value);
  bool TrackButtonMode() const { return FTrackButtonMode; }
  void SetTrackButtonMode(bool Value);
  TNotifyEvent OnShowTrackMenu;
  TNotifyEvent OnHideTrackMenu;

  // ---- operations ----
  virtual bool CanMenuTrack(Integer X, Integer Y);
  virtual void TrackMenu();
  TRect GetTrackButtonRect() const;
  // Opens the menu from code.
  void DropDown();
  void MenuClosed(TObject* Sender);
  void GetSkinData() override;

  bool MenuTracked() const { return FMenuTracked; }
  TRect TrackButtonRect{};

 protected:
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;

  // The marker picture chosen by state, centred in R.
  void DrawMenuMarker(TCanvas* Cnvs, const TRect& R, bool AActive, bool ADown);

  bool FMenuTracked = false;

 private:
  void drawToolOrResizeButton(TBitmap* B, bool ADown, bool AMouseIn, bool Resize);
  void composePart(TBitmap* B, const TRect& Part, const TRect& Src, bool Resize);
  bool cursorOverButton();
  void closed(bool Morph);

  TbsSkinPopupMenu* FSkinPopupMenu = nullptr;
  bool FTrackButtonMode = false;
};
