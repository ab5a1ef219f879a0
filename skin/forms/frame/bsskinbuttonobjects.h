// The frame's buttons: a general frame button (normal, hover, pressed, disabled images, a linked
// menu) and the standard caption button, which runs its command, shows a restore look while the form
// is in the state its command would undo, and has a flat look of its own without a skin.
#pragma once

#include "skin/forms/frame/bsskinobjects.h"

class TbsSkinButtonObject : public TbsActiveSkinObject {
 public:
  TbsSkinButtonObject(IbsFormObjectHost* AParent, TbsDataSkinObject* AData);
  String ClassName() const override { return "TbsSkinButtonObject"; }

  void ShowLayer() override;
  void HideLayer() override;
  bool CanMorphing() override;
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  bool Down() const { return FDown; }
  void SetDown(bool Value);
  void TrackMenu();

  bool FDown = false;
  bool FPopupUp = false;
  TRect DisableSkinRect;
  TRect DownRect;
  TMenuItem* MenuItem = nullptr;
};

class TbsSkinStdButtonObject : public TbsSkinButtonObject {
 public:
  // AData nullptr: a default-look button.
  TbsSkinStdButtonObject(IbsFormObjectHost* AParent, TbsDataSkinObject* AData);
  String ClassName() const override { return "TbsSkinStdButtonObject"; }

  bool PointInMask(Integer X, Integer Y) override;
  void ShowLayer() override;
  void HideLayer() override;
  bool CanMorphing() override;
  void Draw(TCanvas* Cnvs, bool UpDate) override;
  void DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap) override;
  void DblClick() override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  void DefaultDraw(TCanvas* Cnvs);
  void DoCommand();
  // The system-menu button showing the form's icon.
  bool IsIconButton() const;
  // The restore state; AForDrawing adds that a minimized main form does not count.
  bool InRestoreState(bool AForDrawing) const;

  TbsBitmap* FAlphaNormalImage = nullptr;
  TbsBitmap* FAlphaActiveImage = nullptr;
  TbsBitmap* FAlphaDownImage = nullptr;
  TbsBitmap* FAlphaRestoreNormalImage = nullptr;
  TbsBitmap* FAlphaRestoreActiveImage = nullptr;
  TbsBitmap* FAlphaRestoreDownImage = nullptr;
  TbsBitmap* FAlphaInActiveImage = nullptr;
  TbsBitmap* FAlphaInActiveRestoreImage = nullptr;
  bool FSkinSupport = false;
  TbsStdCommand Command = cmClose;
  TRect RestoreRect;
  TRect RestoreActiveRect;
  TRect RestoreInActiveRect;
  TRect RestoreDownRect;
  String RestoreHint;
  String FTempHint;
  Integer AlphaMaskPictureIndex = -1;
  Integer AlphaMaskActivePictureIndex = -1;
  Integer AlphaMaskInActivePictureIndex = -1;
};
