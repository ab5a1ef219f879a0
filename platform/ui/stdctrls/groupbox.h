// A framed container with a caption on its top edge; its mnemonic focuses the first child.
#pragma once

#include "platform/ui/core/customcontrol.h"
#include "platform/ui/stdctrls/looksurface.h"

class TCustomGroupBox : public TCustomControl, public ILookSurface {
 public:
  explicit TCustomGroupBox(TComponent* AOwner);
  String ClassName() const override { return "TCustomGroupBox"; }
  TColor LookSurfaceColor() const override { return stdlook::Surface; }

 protected:
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
};

class TGroupBox : public TCustomGroupBox {
 public:
  using TCustomGroupBox::TCustomGroupBox;
  String ClassName() const override { return "TGroupBox"; }
};
