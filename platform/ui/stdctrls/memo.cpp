#include "platform/ui/stdctrls/memo.h"

#include <algorithm>

#include "platform/rtl/strings.h"
#include "platform/ui/stdctrls/stdlook.h"

namespace {
constexpr Integer Padding = 4;         // between the border and the text
constexpr Integer IndicatorWidth = 4;  // the scroll position mark at the right edge
constexpr Integer WheelLines = 3;
}  // namespace

TMemo::TMemo(TComponent* AOwner) : TCustomControl(AOwner), FLines(std::make_unique<TStringList>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks};
  FWidth = 185;
  FHeight = 89;
  FTabStop = true;
  FParentColor = false;
  FColor = stdlook::Surface;
  FLines->OnChange = [this](TObject* Sender) { linesChanged(Sender); };
}

TMemo::~TMemo() {
  FLines->OnChange = nullptr;
}

String TMemo::GetText() const {
  // Lines joined by line breaks, without a break after the last one.
  String S = FLines->Text();
  if (!S.empty() && S.back() == '\n') S.pop_back();
  return S;
}

void TMemo::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  Invalidate();
}

void TMemo::Change() {
  if (OnChange) OnChange(this);
}

void TMemo::linesChanged(TObject*) {
  ScrollToEnd();
  Invalidate();
  Change();
}

Integer TMemo::LineHeight() {
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, FFont->Handle());
  TEXTMETRIC TM;
  GetTextMetrics(DC, &TM);
  SelectObject(DC, Old);
  DeleteDC(DC);
  return std::max<Integer>(1, TM.tmHeight);
}

TRect TMemo::textArea() {
  const TRect Client = ClientRect();
  return Rect(Padding, Padding, std::max(Padding, Client.Right - Padding - IndicatorWidth),
              std::max(Padding, Client.Bottom - Padding));
}

Integer TMemo::VisibleLineCount() {
  return std::max(1, textArea().Height() / LineHeight());
}

Integer TMemo::maxTopLine() {
  return std::max(0, FLines->Count() - VisibleLineCount());
}

void TMemo::SetTopLine(Integer Value) {
  Value = std::clamp(Value, 0, maxTopLine());
  if (Value == FTopLine) return;
  FTopLine = Value;
  Invalidate();
}

void TMemo::ScrollToEnd() {
  SetTopLine(maxTopLine());
}

TRect TMemo::LineRect(Integer Index) {
  const TRect Area = textArea();
  const Integer H = LineHeight();
  const Integer Top = Area.Top + (Index - FTopLine) * H;
  return Rect(Area.Left, Top, Area.Right, Top + H);
}

void TMemo::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      // Enter makes a new line in an editable memo; Tab still moves the focus on.
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (FReadOnly ? 0 : DLGC_WANTALLKEYS);
      return;
    case WM_SETTEXT:
      FLines->SetText(Message.LParam != 0 ? String(reinterpret_cast<const char*>(Message.LParam)) : String());
      Message.Result = 1;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    case WM_MOUSEWHEEL:
      SetTopLine(FTopLine - GET_WHEEL_DELTA_WPARAM(Message.WParam) / WHEEL_DELTA * WheelLines);
      Message.Result = 1;
      return;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

void TMemo::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const Integer Page = std::max(1, VisibleLineCount() - 1);
  switch (Key) {
    case VK_UP:
      SetTopLine(FTopLine - 1);
      break;
    case VK_DOWN:
      SetTopLine(FTopLine + 1);
      break;
    case VK_PRIOR:
      SetTopLine(FTopLine - Page);
      break;
    case VK_NEXT:
      SetTopLine(FTopLine + Page);
      break;
    case VK_HOME:
      SetTopLine(0);
      break;
    case VK_END:
      ScrollToEnd();
      break;
    case VK_RETURN:
      if (FReadOnly) return;
      FLines->Add("");
      break;
    default:
      return;
  }
  Key = 0;
}

void TMemo::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (FReadOnly || Key == 0) return;
  const Integer Last = FLines->Count() - 1;
  if (Key == U'\b') {
    if (Last < 0) return;
    String S = FLines->Strings(Last);
    if (S.empty())
      FLines->Delete(Last);
    else
      FLines->SetStrings(Last, S.substr(0, Utf8PrevCodePoint(S, Integer(S.size()))));
  } else if (Key >= 0x20 && Key != 0x7F) {
    if (Last < 0)
      FLines->Add(Utf8Encode(Key));
    else
      FLines->SetStrings(Last, FLines->Strings(Last) + Utf8Encode(Key));
  } else {
    return;
  }
  Key = 0;
}

void TMemo::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && CanFocus() && !Focused()) SetFocus();
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TMemo::Paint() {
  TCanvas* C = Canvas();
  const TRect Client = ClientRect();
  const bool HasFocus = HandleAllocated() && GetFocus() == FHandle;
  const TColor Fill = FEnabled ? ColorToRGB(FColor) : stdlook::WindowBack;
  C->Brush()->SetColor(HasFocus ? stdlook::Accent : stdlook::FaceBorder);
  C->FillRect(Client);
  C->Brush()->SetColor(Fill);
  C->FillRect(Rect(1, 1, Client.Right - 1, Client.Bottom - 1));
  if (HasFocus) stdlook::FocusRing(C, Client);

  C->Font()->Assign(FFont.get());
  const TColor Ink = FEnabled ? stdlook::Text : stdlook::TextDisabled;
  const TRect Area = textArea();
  const Integer Rows = VisibleLineCount() + 1;  // a partly visible last row too
  for (Integer Row = 0; Row < Rows && FTopLine + Row < FLines->Count(); ++Row) {
    TRect R = LineRect(FTopLine + Row);
    R.Bottom = std::min(R.Bottom, Area.Bottom);
    if (R.Bottom <= R.Top) break;
    stdlook::DrawTextIn(C, FLines->Strings(FTopLine + Row), R,
                        DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS, Ink);
  }

  // Where the view stands in the text, when not everything fits.
  const Integer Count = FLines->Count(), Visible = VisibleLineCount();
  if (Count > Visible) {
    const Integer Track = Client.Height() - 4;
    const Integer Thumb = std::max(8, Track * Visible / Count);
    const Integer Top = 2 + (Track - Thumb) * FTopLine / std::max(1, Count - Visible);
    stdlook::RoundedBox(C, Rect(Client.Right - 2 - IndicatorWidth, Top, Client.Right - 2, Top + Thumb),
                        stdlook::FaceBorder, clNone, Fill);
  }
}
