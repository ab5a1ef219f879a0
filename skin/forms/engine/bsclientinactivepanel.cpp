#include "skin/forms/engine/bsclientinactivepanel.h"

#include "skin/core/bsblur.h"

TbsClientInActivePanel::TbsClientInActivePanel(TComponent* AOwner) : TbsSkinPaintPanel(AOwner) {
  SetVisible(false);
}

void TbsClientInActivePanel::Paint() {
  if (FBuffer) FBuffer->Draw(Canvas(), 0, 0);
}

void TbsClientInActivePanel::HidePanel() {
  SetVisible(false);
  FBuffer.reset();
}

void TbsClientInActivePanel::ShowPanel(TForm* AForm, TbsClientInActiveEffect AEffect) {
  if (AForm == nullptr || !AForm->Visible() || AForm->ClientWidth() == 0 || AForm->ClientHeight() == 0) return;
  SetVisible(false);
  SetParent(AForm);
  SetBounds(0, 0, AForm->ClientWidth(), AForm->ClientHeight());
  FBuffer = std::make_unique<TbsBitmap>();
  FBuffer->SetSize(Width(), Height());
  {
    PAINTSTRUCT PS;
    HDC DC = BeginPaint(AForm->Handle(), &PS);
    TCanvas C;
    C.SetHandle(DC);
    FBuffer->Canvas()->CopyRect(Rect(0, 0, Width(), Height()), &C, BoundsRect());
    C.SetHandle(nullptr);
    EndPaint(AForm->Handle(), &PS);
  }
  if (AEffect == bsieBlur) {
    StackBlurBitmap(FBuffer.get(), 3);
  } else {
    TbsBitmap BG;
    BG.SetSize(Width(), Height());
    SendMessage(AForm->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(BG.Canvas()->Handle()), 0);
    BG.SetAlphaBlend(true);
    BG.SetAlpha(170);
    BG.Draw(FBuffer.get(), 0, 0);
  }
  SetVisible(true);
}

void TbsSkinForm::ShowClientInActiveEffect() {
  if (FInActivePanel != nullptr) HideClientInActiveEffect();
  FInActivePanel = new TbsClientInActivePanel(this);
  FClientInActiveDraw = true;
  FInActivePanel->ShowPanel(FForm, FClientInActiveEffectType);
  FClientInActiveDraw = false;
}

void TbsSkinForm::HideClientInActiveEffect() {
  if (FInActivePanel == nullptr) return;
  FInActivePanel->HidePanel();
  delete FInActivePanel;
  FInActivePanel = nullptr;
}
