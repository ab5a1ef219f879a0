#include "platform/ui/stdctrls/groupbox.h"

#include "platform/gdi/text.h"
#include "platform/ui/menus/menuitem.h"

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,
                                csSetCaption,      csDoubleClicks, csReplicatable};
  FWidth = 185;
  FHeight = 105;
  // A surface of its own, not the colour of whatever it lies on.
  FParentColor = false;
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Rect.Top += MeasureText(Font(), "0").cy;
  InflateRect(&Rect, -2, -2);
}

void TCustomGroupBox::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  const TColor Outside = LookBackground(Parent());
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Outside);
  C->FillRect(R);
  C->SetFont(Font());
  const Integer H = C->TextHeight("0");
  TRect Frame = R;
  Frame.Top += H / 2;
  stdlook::RoundedBox(C, Frame, Color() == clBtnFace ? stdlook::Surface : Color(), stdlook::SurfaceBorder,
                      Outside);
  if (Caption().empty()) return;
  // The caption sits on the top edge, with the surface behind it and a little room on each side.
  TRect T = Rect(8, 0, 8 + MeasureText(Font(), Caption()).cx, H);
  T.Right = std::min(T.Right + 8, R.Right - 8);
  T.Left = 4;
  C->Brush()->SetColor(Color() == clBtnFace ? stdlook::Surface : Color());
  C->FillRect(Rect(T.Left, T.Top + H / 2, T.Right, T.Bottom));
  C->Brush()->SetColor(Outside);
  C->FillRect(Rect(T.Left, T.Top, T.Right, T.Top + H / 2));
  OffsetRect(&T, 4, 0);
  stdlook::DrawTextIn(C, Caption(), T, DT_SINGLELINE | DT_LEFT,
                      Enabled() ? LookTextColor(Font()->Color()) : stdlook::TextDisabled);
}

void TCustomGroupBox::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomGroupBox::CMDialogChar(TMessage& Message) {
  if (IsAccel(char32_t(Message.WParam), Caption()) && CanFocus()) {
    SelectNext(nullptr, true, true);
    Message.Result = 1;
    return;
  }
  TCustomControl::CMDialogChar(Message);
}

void TCustomGroupBox::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  Invalidate();
}

void TCustomGroupBox::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  Realign();
}
