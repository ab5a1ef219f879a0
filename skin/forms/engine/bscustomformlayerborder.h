// The layered border as the form engine drives it: what the engine reads of it (shown, the skin's
// layer frame, how far it reaches beyond the form) and the operations its window procedure calls.
// The border itself is built above the engine, in skin/forms/layered.
#pragma once

#include "platform/rtl/classes.h"
#include "platform/ui/core/form.h"
#include "skin/core/bsskindata.h"

class TbsDataSkinLayerFrame;
class TbsSkinForm;

class TbsCustomFormLayerBorder : public TComponent {
 public:
  explicit TbsCustomFormLayerBorder(TComponent* AOwner) : TComponent(AOwner) {}

  virtual void InitFrame(TbsSkinData* ASkinData, TForm* AForm) = 0;
  virtual void Hide() = 0;
  virtual void ShowWithForm() = 0;
  virtual void ShowWithFormAnimation() = 0;
  virtual void UpdateBorder() = 0;
  virtual void SetBoundsWithForm() = 0;
  // With the form's bounds as they are about to be (while it is being sized).
  virtual void SetBoundsWithForm3(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) = 0;
  virtual void MoveWithForm2(Integer ALeft, Integer ATop) = 0;
  virtual void CheckFormAlpha(Integer AFormAlpha, bool AUpdate) = 0;
  virtual void SetActive(bool AValue, bool AUpdate) = 0;
  // The top window also carries the caption and the caption buttons.
  virtual bool FullBorder() const = 0;
  // The screen position of the top window; false without one.
  virtual bool TopWindowPos(TPoint& P) const = 0;

  bool FVisible = false;
  TbsDataSkinLayerFrame* FData = nullptr;
  // How far the border reaches beyond the form on each side.
  Integer LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
};

// The engine's layered border, owned by the engine as a component.
TbsCustomFormLayerBorder* MakeFormLayerBorder(TbsSkinForm* Engine);
// F is one of the windows of a layered border (they count as forms of the screen).
bool IsFormLayerWindow(const TCustomForm* F);
