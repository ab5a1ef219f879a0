#include "platform/ui/core/hintwindow.h"

#include "platform/gdi/text.h"

THintWindowClass HintWindowClass = [](TComponent* AOwner) { return new THintWindow(AOwner); };

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  FColor = clInfoBk;
  FParentColor = false;
  FParentFont = false;
  FVisible = false;
  Canvas()->Font()->SetColor(clInfoText);
  FFont->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void THintWindow::Dispatch(TMessage& Message) {
  // The hint never takes the activation from the form under it.
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  if (Message.Msg == WM_NCHITTEST) {
    Message.Result = HTTRANSPARENT;
    return;
  }
  TCustomControl::Dispatch(Message);
}

TRect THintWindow::CalcHintRect(Integer MaxWidth, const String& AHint) {
  TRect R = Rect(0, 0, MaxWidth, 0);
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, FFont->Handle());
  DrawText(DC, AHint, &R, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(DC, Old);
  DeleteDC(DC);
  R.Right += 6;
  R.Bottom += 2;
  return R;
}

void THintWindow::ActivateHint(TRect Rect, const String& AHint) {
  FText = AHint;
  // Keep the window on the screen's work area.
  TRect Work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
  if (Rect.Right > Work.Right) OffsetRect(&Rect, Work.Right - Rect.Right, 0);
  if (Rect.Left < Work.Left) OffsetRect(&Rect, Work.Left - Rect.Left, 0);
  if (Rect.Bottom > Work.Bottom) OffsetRect(&Rect, 0, Work.Bottom - Rect.Bottom);
  if (Rect.Top < Work.Top) OffsetRect(&Rect, 0, Work.Top - Rect.Top);
  SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
  HWND Wnd = Handle();
  SetWindowText(Wnd, AHint.c_str());
  SetWindowPos(Wnd, HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  FVisible = true;
  FShowing = true;
  Invalidate();
  Update();
}

void THintWindow::ReleaseHandle() {
  FVisible = false;
  FShowing = false;
  if (HandleAllocated()) ShowWindow(FHandle, SW_HIDE);
}

void THintWindow::Paint() {
  TRect R = ClientRect();
  TCanvas* C = Canvas();
  C->Brush()->SetColor(FColor);
  C->FillRect(R);
  C->Font()->Assign(FFont.get());
  C->Brush()->SetStyle(bsClear);
  InflateRect(&R, -2, -1);
  R.Left += 1;
  DrawText(C->Handle(), FText, &R, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}
