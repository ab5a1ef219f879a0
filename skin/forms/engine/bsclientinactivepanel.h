// The panel that covers an inactive skinned form's client area with a frozen picture of it,
// blurred or washed over with the form's own background.
#pragma once

#include <memory>

#include "skin/controls/panels/bsskinpanel.h"
#include "skin/core/bsbitmap.h"
#include "skin/forms/engine/bsskinform.h"

class TbsClientInActivePanel : public TbsSkinPaintPanel {
 public:
  explicit TbsClientInActivePanel(TComponent* AOwner);
  String ClassName() const override { return "TbsClientInActivePanel"; }

  // Captures AForm's client area as it is on screen, applies the effect and covers the area.
  // Nothing for a missing or invisible form or an empty client area.
  void ShowPanel(TForm* AForm, TbsClientInActiveEffect AEffect);
  void HidePanel();
  // The picture shown; nullptr while hidden.
  TbsBitmap* Buffer() const { return FBuffer.get(); }

 protected:
  void Paint() override;

 private:
  std::unique_ptr<TbsBitmap> FBuffer;
};
