// The layered border of a skinned form: the skin's layer frame (a picture with per-pixel alpha, such
// as a soft shadow or a glass edge) cut into a top, bottom, left and right image that are stretched
// to the form's size and shown by four layered windows around the form. With a full border the top
// window also carries the form's caption and caption buttons. The form engine drives it from its
// window procedure; without a layer frame in the skin every operation does nothing.
#pragma once

#include <memory>

#include "platform/rtl/classes.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/timer.h"
#include "skin/core/bsbitmap.h"
#include "skin/core/bsskindata.h"
#include "skin/forms/engine/bscustomformlayerborder.h"
#include "skin/forms/layered/bsformlayerwindow.h"

class TbsSkinForm;
class TbsDataSkinLayerFrame;

class TbsFormLayerBorder : public TbsCustomFormLayerBorder {
 public:
  // AOwner is the form engine.
  explicit TbsFormLayerBorder(TbsSkinForm* AOwner);
  ~TbsFormLayerBorder() override;
  String ClassName() const override { return "TbsFormLayerBorder"; }

  void InitFrame(TbsSkinData* ASkinData, TForm* AForm) override;
  void Show(Integer X, Integer Y, Integer AWidth, Integer AHeight);
  void Hide() override;
  void SetBounds(Integer X, Integer Y, Integer AWidth, Integer AHeight);
  // Rebuilds and pushes the images; nothing moves.
  void Update(Integer X, Integer Y, Integer AWidth, Integer AHeight);
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer AWidth, Integer AHeight);
  void ShowWithForm() override;
  void UpdateBorder() override;
  void SetBoundsWithForm() override;
  void SetBoundsWithForm2(Integer AWidth, Integer AHeight);
  // With the form's bounds as they are about to be (while it is being sized).
  void SetBoundsWithForm3(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void MoveWithForm();
  void MoveWithForm2(Integer ALeft, Integer ATop) override;
  void ShowWithFormAnimation() override;
  void SetAlphaBlend();
  void SetAlphaBlend2();
  void CheckFormAlpha(Integer AFormAlpha, bool AUpdate) override;
  void SetActive(bool AValue, bool AUpdate) override;
  bool Active() const { return FActive; }
  bool Visible() const { return FVisible; }
  TbsDataSkinLayerFrame* Data() const { return FData; }
  bool FullBorder() const override;
  bool TopWindowPos(TPoint& P) const override;
  // The frame (left, top, width, height) for a form at ALeft, ATop of AWidth x AHeight.
  TRect FrameBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight, bool ARolled) const;

  // Hover tracking of the frame objects on the top window (top-image coordinates).
  void UpdateActiveObject(Integer X, Integer Y);
  void ResetButtons();

  // Expires with the border: a window freed after it (deferred) knows it is on its own.
  std::weak_ptr<void> AliveToken() const { return FAlive; }

  TbsSkinForm* BSF = nullptr;
  bool FIsAeroEnabled = false;
  TTimer* MouseTimer = nullptr;  // owned
  TForm* FForm = nullptr;
  TbsSkinData* FSD = nullptr;
  std::unique_ptr<TbsBitmap> LeftImage, TopImage, RightImage, BottomImage;
  TbsFormLayerWindow *LeftBorder = nullptr, *TopBorder = nullptr, *RightBorder = nullptr,
                     *BottomBorder = nullptr;
  Integer FWidth = 0, FHeight = 0;
  Integer HitTopLeftX = 0, HitTopLeftY = 0, HitTopRightX = 0, HitTopRightY = 0;
  Integer HitBottomLeftX = 0, HitBottomLeftY = 0, HitBottomRightX = 0, HitBottomRightY = 0;
  Integer OldActiveObject = -1, ActiveObject = -1, MouseCaptureObject = -1;
  HRGN DataRgn1 = nullptr, DataRgn2 = nullptr, DataRgn3 = nullptr, DataRgn4 = nullptr;
  HRGN TopRgn = nullptr, BottomRgn = nullptr, RightRgn = nullptr, LeftRgn = nullptr;
  bool FActive = true;
  Integer FCurrentAlphaBlendValue = -1, FCurrentInActiveAlphaBlendValue = -1;

 private:
  std::shared_ptr<void> FAlive = std::make_shared<int>(0);
  void MouseTimerProc(TObject* Sender);
  void ArrangeCaptionObjects();
  void CreateImages(Integer AWidth, Integer AHeight);
  void CreateBlurRegions();
  void CreateBlurMaskRegions();
  void deleteRegions();
  void freeImages();
  void freeWindows(bool ADeferred);
  bool blurApplies() const;
  Byte currentAlpha() const;
  void push(TbsBitmap* Image, TbsFormLayerWindow* Window, HRGN Rgn);
  void pushAll(bool AOnlyVisibleSides);
  // Frame geometry of the form's current (or given) bounds.
  TRect frameOfForm() const;
  // Places the four windows for a frame at (X, Y) of height AHeight; Flags for top and bottom.
  void placeWindows(Integer X, Integer Y, Integer AWidth, Integer AHeight, UINT Flags, bool AHideEmptySides);
  void makeSide(std::unique_ptr<TbsBitmap>& Image, TbsBitmap* Src, Integer Width, Integer SrcLeft,
                Integer TopH, Integer BottomH, Integer AHeight);
};
