#include "platform/ui/core/hintwindow.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/text.h"
#include "platform/ui/graphics/colors.h"

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

namespace {

// Text padding inside the border: left and right, top and bottom.
constexpr Integer HintPadX = 2;
constexpr Integer HintPadY = 1;
constexpr UINT HintTextFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;

}  // namespace

TRect THintWindow::CalcHintRect(Integer MaxWidth, const String& AHint) {
  TRect R = Rect(0, 0, MaxWidth, 0);
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, FFont->Handle());
  DrawText(DC, AHint, &R, DT_CALCRECT | HintTextFormat);
  SelectObject(DC, Old);
  DeleteDC(DC);
  // The one-pixel border on each side and the padding inside it.
  R.Right += 2 * (1 + HintPadX);
  R.Bottom += 2 * (1 + HintPadY);
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
  // The text is laid out in the font it was measured in: the canvas selects its own font only for
  // its own operations, so the window's font goes into the DC for the raw layout call.
  HDC DC = C->Handle();
  HGDIOBJ Old = SelectObject(DC, FFont->Handle());
  SetTextColor(DC, ColorToRGB(FFont->Color()));
  SetBkMode(DC, TRANSPARENT);
  InflateRect(&R, -HintPadX, -HintPadY);
  DrawText(DC, FText, &R, HintTextFormat);
  SelectObject(DC, Old);
}
