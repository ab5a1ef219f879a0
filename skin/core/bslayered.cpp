#include "skin/core/bslayered.h"

#include "skin/core/bsblur.h"
#include "skin/core/bssystem.h"

TbsLayerWindow::TbsLayerWindow(TComponent* AOwner) : TCustomControl(AOwner) {}

void TbsLayerWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TbsLayerWindow::WndProc(TMessage& Message) {
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  TCustomControl::WndProc(Message);
}

TbsLayerManager::TbsLayerManager(TComponent* AOwner) : TComponent(AOwner) {
  Timer = new TTimer(this);
  Timer->SetEnabled(false);
  Timer->SetInterval(25);
  Timer->OnTimer = [this](TObject* Sender) { FadeTimerTick(Sender); };
}

TbsLayerManager::~TbsLayerManager() {
  delete Timer;
  Timer = nullptr;
  freeLayerWindow();
  Bmp.reset();
}

void TbsLayerManager::freeLayerWindow() {
  delete LayerWindow;
  LayerWindow = nullptr;
}

void TbsLayerManager::Show(Integer X, Integer Y, TBitmap* AImage, TBitmap* AImageMask,
                           Integer AAlphaBlendValue) {
  if (!IsWindows2000OrLater()) return;
  if (LayerWindow != nullptr) Hide();
  IsVisible = true;
  LayerWindow = new TbsLayerWindow(this);
  LayerWindow->SetVisible(false);
  LayerWindow->SetBounds(X, Y, AImage->Width(), AImage->Height());
  const HWND wnd = LayerWindow->Handle();
  SetWindowLong(wnd, GWL_EXSTYLE, GetWindowLong(wnd, GWL_EXSTYLE) | LONG(WS_EX_LAYERED));
  Bmp = std::make_unique<TbsBitmap>();
  AlphaBitmapFromImageMask(AImage, AImageMask, Bmp.get());
  UpdateLayeredBitmap(Bmp.get(), 0, LayerWindow);
  SetWindowPos(wnd, TopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, X, Y, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  EndAlphaBlendValue = AAlphaBlendValue;
  StepAlphaBlendValue = AAlphaBlendValue / 10;
  if (StepAlphaBlendValue == 0) StepAlphaBlendValue = 1;
  StartTimer();
}

void TbsLayerManager::Hide() {
  if (!IsWindows2000OrLater()) return;
  StopTimer();
  Bmp.reset();
  IsVisible = false;
  if (LayerWindow != nullptr) {
    if (LayerWindow->HandleAllocated())
      SetWindowPos(LayerWindow->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    freeLayerWindow();
  }
}

void TbsLayerManager::Update() {
  if (!IsVisible || LayerWindow == nullptr) return;
  SetWindowPos(LayerWindow->Handle(), TopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, LayerWindow->Left(),
               LayerWindow->Top(), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TbsLayerManager::StartTimer() {
  BeginAlphaBlendValue = 0;
  Timer->SetEnabled(true);
}

void TbsLayerManager::StopTimer() {
  Timer->SetEnabled(false);
}

void TbsLayerManager::FadeTimerTick(TObject*) {
  if (Bmp == nullptr || LayerWindow == nullptr) return;
  BeginAlphaBlendValue += StepAlphaBlendValue;
  if (BeginAlphaBlendValue > EndAlphaBlendValue) BeginAlphaBlendValue = EndAlphaBlendValue;
  UpdateLayeredBitmap(Bmp.get(), Byte(BeginAlphaBlendValue), LayerWindow);
  if (BeginAlphaBlendValue == EndAlphaBlendValue) StopTimer();
}

void TbsLayerManager::AlphaBitmapFromImageMask(TBitmap* AImage, TBitmap* AImageMask, TbsBitmap* Bmp) {
  Bmp->Assign(AImage);
  // The mask is read at the image's size; where a smaller mask has no pixels the picture is transparent.
  TbsBitmap mask;
  mask.SetSize(Bmp->Width(), Bmp->Height());
  if (AImageMask != nullptr && !AImageMask->Empty() && !mask.Empty()) {
    TbsBitmap given;
    given.Assign(AImageMask);
    given.SetAlphaBlend(false);
    given.SetTransparent(false);
    given.Draw(&mask, 0, 0);
  }
  AlphaFromMask(Bmp, &mask);
  Bmp->CheckRGBA();
}

void UpdateLayeredBitmap(TbsBitmap* Bmp, Byte Alpha, TWinControl* Window) {
  if (Window == nullptr || UpdateLayeredWindowProc == nullptr) return;
  const POINT dst = Point(Window->Left(), Window->Top());
  const SIZE size{Bmp->Width(), Bmp->Height()};
  const POINT src = Point(0, 0);
  BLENDFUNCTION blend;
  blend.BlendOp = AC_SRC_OVER;
  blend.BlendFlags = 0;
  blend.SourceConstantAlpha = Alpha;
  blend.AlphaFormat = AC_SRC_ALPHA;
  UpdateLayeredWindowProc(Window->Handle(), nullptr, &dst, &size, Bmp->DC(), &src, 0, &blend, ULW_ALPHA);
}
