// One of the four layered windows around a skinned form: a borderless form whose pixels come from the
// layered border's images. It finds which part of the frame the cursor is over, sizes the form when a
// side or corner is dragged, moves it by the caption of a full border, hands the mouse to the form's
// frame objects and leaves the activation and the focus with the skinned form.
#pragma once

#include <memory>

#include "platform/ui/core/form.h"

class TbsFormLayerBorder;
class TbsSkinForm;

enum TbsFormLayerBorderType { bsflLeft, bsflTop, bsflRight, bsflBottom };

enum TbsFormLayerBorderHit {
  bsflhNone,
  bsflhLeft,
  bsflhTop,
  bsflhRight,
  bsflhBottom,
  bsflhTopLeft,
  bsflhTopRight,
  bsflhBottomLeft,
  bsflhBottomRight,
  bsflCaption,
  bsflObject
};

class TbsFormLayerWindow : public TForm {
 public:
  // Owned by AOwner; not visible until the border places it.
  TbsFormLayerWindow(TbsFormLayerBorder* AOwner, TForm* AForm);
  String ClassName() const override { return "TbsFormLayerWindow"; }

  // The form can be sized: resizable, not rolled up, in the normal state.
  bool CanSize() const;
  // What the point (client coordinates of this window) is over.
  TbsFormLayerBorderHit GetHitMode(Integer X, Integer Y);

  bool FDown = false;
  TForm* FForm = nullptr;
  TbsFormLayerBorder* FLayerBorder = nullptr;
  TPoint MousePos1, MousePos2;
  TbsFormLayerBorderHit FHitMode = bsflhNone;
  bool FInProcessMessages = false;
  TbsFormLayerBorderType BorderType = bsflLeft;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  std::weak_ptr<void> FBorderAlive;
  // The border went first (this window was waiting to be freed): nothing of it may be touched.
  bool orphan() const { return FBorderAlive.expired(); }
  TbsSkinForm* engine() const;
  bool fullBorder() const;
  bool hitTestEnable() const;
  void wmMouseActivate(TMessage& M);
  void wmLButtonDblClk(TMessage& M);
  void activateForm();
  // One drag step for FHitMode with the mouse delta (dx, dy).
  void sizeStep(Integer dx, Integer dy);
  void moveStep(Integer dx, Integer dy);
  // Runs the queued messages once after a step; the next mouse move of this window is then ignored.
  void afterStep();
};
