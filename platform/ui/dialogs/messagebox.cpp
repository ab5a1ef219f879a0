#include "platform/ui/dialogs/messagebox.h"

#include <algorithm>

#include "platform/ui/core/application.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/stdlook.h"

namespace {
constexpr Integer Margin = 16;
constexpr Integer IconSize = 32;
constexpr Integer IconGap = 12;
constexpr Integer MaxTextWidth = 420;
constexpr Integer MinClientWidth = 220;
constexpr Integer ButtonHeight = 28;
constexpr Integer ButtonMinWidth = 80;
constexpr Integer ButtonGap = 8;
constexpr Integer ButtonRowPad = 12;
constexpr TColor FrameBorder = stdlook::rgb(0xBF, 0xC4, 0xCC);
constexpr TColor TitleInactiveText = stdlook::rgb(0x8A, 0x91, 0x9C);

struct TButtonSpec {
  Integer Answer;
  const char* Caption;
};

// The captions of the system's own boxes on a Chinese desktop, with their letters.
constexpr TButtonSpec OkButton{IDOK, "确定"};
constexpr TButtonSpec CancelButton{IDCANCEL, "取消"};
constexpr TButtonSpec AbortButton{IDABORT, "中止(&A)"};
constexpr TButtonSpec RetryButton{IDRETRY, "重试(&R)"};
constexpr TButtonSpec IgnoreButton{IDIGNORE, "忽略(&I)"};
constexpr TButtonSpec YesButton{IDYES, "是(&Y)"};
constexpr TButtonSpec NoButton{IDNO, "否(&N)"};
constexpr TButtonSpec TryAgainButton{IDTRYAGAIN, "重试(&T)"};
constexpr TButtonSpec ContinueButton{IDCONTINUE, "继续(&C)"};

std::vector<TButtonSpec> buttonsOf(UINT Flags) {
  switch (Flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {OkButton, CancelButton};
    case MB_ABORTRETRYIGNORE:
      return {AbortButton, RetryButton, IgnoreButton};
    case MB_YESNOCANCEL:
      return {YesButton, NoButton, CancelButton};
    case MB_YESNO:
      return {YesButton, NoButton};
    case MB_RETRYCANCEL:
      return {RetryButton, CancelButton};
    case MB_CANCELTRYCONTINUE:
      return {CancelButton, TryAgainButton, ContinueButton};
    default:
      return {OkButton};
  }
}

TSize measure(TFont* Font, const String& Text, UINT Format, Integer Width) {
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Font->Handle());
  TRect R = Rect(0, 0, Width, 0);
  DrawText(DC, Text, &R, Format | DT_CALCRECT);
  SelectObject(DC, Old);
  DeleteDC(DC);
  return {R.Width(), R.Height()};
}

void fillRect(TCanvas* C, TColor Color, Integer L, Integer T, Integer R, Integer B) {
  C->Brush()->SetColor(Color);
  C->FillRect(Rect(L, T, R, B));
}
}  // namespace

// ---- the icon ----

void DrawMessageIcon(TCanvas* Canvas, Integer X, Integer Y, Integer Size, UINT Kind) {
  uintptr_t Id = 0;
  switch (Kind & MB_ICONMASK) {
    case MB_ICONHAND:
      Id = IDI_HAND;
      break;
    case MB_ICONQUESTION:
      Id = IDI_QUESTION;
      break;
    case MB_ICONEXCLAMATION:
      Id = IDI_EXCLAMATION;
      break;
    case MB_ICONASTERISK:
      Id = IDI_ASTERISK;
      break;
    default:
      return;
  }
  if (Size <= 0) return;
  // The stock pictures, drawn again at the size asked for.
  HICON Icon = static_cast<HICON>(CopyImage(LoadIcon(nullptr, Id), IMAGE_ICON, Size, Size, 0));
  if (Icon == nullptr) return;
  DrawIconEx(Canvas->Handle(), X, Y, Icon, Size, Size, 0, nullptr, DI_NORMAL);
  DestroyIcon(Icon);
}

// ---- the buttons ----

TMessageButton::TMessageButton(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csCaptureMouse, csSetCaption, csOpaque, csDoubleClicks};
  FTabStop = true;
  FParentColor = true;
}

void TMessageButton::Press() {
  if (TCustomForm* Form = GetParentForm(this)) Form->SetModalResult(FAnswer);
}

void TMessageButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

void TMessageButton::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == VK_SPACE) {
    Key = 0;
    Press();
  }
}

void TMessageButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    FPressed = true;
    Invalidate();
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TMessageButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  const bool WasPressed = FPressed && Button == mbLeft;
  if (Button == mbLeft) {
    FPressed = false;
    Invalidate();
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
  // A press counts when it is let go over the button.
  if (WasPressed && X >= 0 && Y >= 0 && X < FWidth && Y < FHeight) Press();
}

void TMessageButton::CMDialogChar(TMessage& Message) {
  if (FEnabled && IsAccel(char32_t(Message.WParam), Caption())) {
    Message.Result = 1;
    Press();
    return;
  }
  TCustomControl::CMDialogChar(Message);
}

void TMessageButton::Paint() {
  TCanvas* C = Canvas();
  const TRect R = ClientRect();
  const bool HasFocus = HandleAllocated() && GetFocus() == FHandle;
  const TPoint Cursor = [this] {
    POINT P{};
    GetCursorPos(&P);
    return ScreenToClient(P);
  }();
  const bool Hot = Cursor.X >= 0 && Cursor.Y >= 0 && Cursor.X < FWidth && Cursor.Y < FHeight;
  // The focused button is the one Enter presses: it wears the default look.
  TColor Fill, Border, Ink;
  if (HasFocus) {
    Fill = FPressed ? stdlook::AccentPressed : Hot ? stdlook::AccentHover : stdlook::Accent;
    Border = Fill;
    Ink = stdlook::Surface;
  } else {
    Fill = FPressed ? stdlook::FacePressed : Hot ? stdlook::FaceHover : stdlook::Face;
    Border = stdlook::FaceBorder;
    Ink = FEnabled ? stdlook::Text : stdlook::TextDisabled;
  }
  stdlook::RoundedBox(C, R, Fill, Border, ColorToRGB(FColor));
  C->Font()->Assign(FFont.get());
  stdlook::DrawTextIn(C, Caption(), R, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Ink);
}

// ---- the box ----

TMessageBoxForm::TMessageBoxForm(TComponent* AOwner, const String& Text, const String& Caption, UINT Flags)
    : TCustomForm(AOwner), FMessage(Text), FIconKind(Flags & MB_ICONMASK) {
  AfterConstruction();
  SetBorderStyle(bsDialog);
  SetBorderIcons({biSystemMenu});
  SetCaption(Caption);
  SetKeyPreview(false);
  FColor = stdlook::Surface;
  FFont->SetName("WenQuanYi Micro Hei");
  FFont->SetHeight(-12);
  FFont->SetColor(stdlook::Text);
  layout(Flags);
}

void TMessageBoxForm::layout(UINT Flags) {
  const std::vector<TButtonSpec> Specs = buttonsOf(Flags);
  for (const TButtonSpec& S : Specs) {
    if (S.Answer == IDCANCEL) FEscapeAnswer = IDCANCEL;
  }
  if (Specs.size() == 1 && Specs[0].Answer == IDOK) FEscapeAnswer = IDOK;

  const UINT TextFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
  TSize TextSize = measure(FFont.get(), FMessage, TextFormat, MaxTextWidth);
  const Integer IconPart = FIconKind != 0 ? IconSize + IconGap : 0;
  const Integer ContentHeight = std::max(TextSize.cy, FIconKind != 0 ? IconSize : 0);

  std::vector<Integer> Widths;
  Integer ButtonsWidth = 0;
  for (const TButtonSpec& S : Specs) {
    const Integer W = std::max(ButtonMinWidth, measure(FFont.get(), S.Caption, DT_SINGLELINE, 0).cx + 24);
    Widths.push_back(W);
    ButtonsWidth += W + (Widths.size() > 1 ? ButtonGap : 0);
  }
  const Integer ClientW =
      std::max({MinClientWidth, Margin + IconPart + TextSize.cx + Margin, ButtonsWidth + 2 * ButtonRowPad});
  FButtonRowTop = Margin + ContentHeight + Margin;
  const Integer ClientH = FButtonRowTop + ButtonHeight + 2 * ButtonRowPad;

  FIconRect =
      FIconKind != 0 ? Bounds(Margin, Margin + (ContentHeight - IconSize) / 2, IconSize, IconSize) : TRect{};
  FTextRect = Bounds(Margin + IconPart, Margin + (ContentHeight - TextSize.cy) / 2, TextSize.cx, TextSize.cy);
  SetClientWidth(ClientW);
  SetClientHeight(ClientH);

  // Buttons from the right edge of the row, in the set's order.
  Integer X = ClientW - ButtonRowPad - ButtonsWidth;
  for (size_t i = 0; i < Specs.size(); ++i) {
    auto* B = new TMessageButton(this);
    B->SetAnswer(Specs[i].Answer);
    B->SetCaption(Specs[i].Caption);
    B->SetBounds(X, FButtonRowTop + ButtonRowPad, Widths[i], ButtonHeight);
    B->SetColor(stdlook::WindowBack);
    B->SetParent(this);
    FButtons.push_back(B);
    X += Widths[i] + ButtonGap;
  }
  Integer Default = Integer((Flags & MB_DEFMASK) >> 8);
  if (Default >= Integer(FButtons.size())) Default = 0;
  // Taken as the focus when the box shows (the window cannot take it before).
  FActiveControl = FButtons[size_t(Default)];
}

void TMessageBoxForm::PlaceOver(HWND Owner) {
  TRect Area;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &Area, 0);
  if (Owner != nullptr && IsWindow(Owner) && IsWindowVisible(Owner)) {
    GetWindowRect(GetAncestor(Owner, GA_ROOT), &Area);
  }
  Integer L = Area.Left + (Area.Width() - FWidth) / 2;
  Integer T = Area.Top + (Area.Height() - FHeight) / 2;
  // Never off the work area, whatever the owner's place.
  TRect Work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
  L = std::max(Work.Left, std::min(L, Work.Right - FWidth));
  T = std::max(Work.Top, std::min(T, Work.Bottom - FHeight));
  SetBounds(L, T, FWidth, FHeight);
}

void TMessageBoxForm::moveFocus(bool Forward) {
  const Integer Count = Integer(FButtons.size());
  Integer Index = 0;
  for (Integer i = 0; i < Count; ++i)
    if (FButtons[size_t(i)] == FActiveControl) Index = i;
  Index = (Index + (Forward ? 1 : Count - 1)) % Count;
  FButtons[size_t(Index)]->SetFocus();
}

void TMessageBoxForm::CMDialogKey(TMessage& Message) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (Message.WParam) {
      case VK_RETURN:
        if (auto* B = dynamic_cast<TMessageButton*>(FActiveControl)) B->Press();
        Message.Result = 1;
        return;
      case VK_ESCAPE:
        if (FEscapeAnswer != 0) SetModalResult(FEscapeAnswer);
        Message.Result = 1;
        return;
      case VK_LEFT:
      case VK_UP:
      case VK_RIGHT:
      case VK_DOWN:
        moveFocus(Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN);
        Message.Result = 1;
        return;
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          moveFocus(GetKeyState(VK_SHIFT) >= 0);
          Message.Result = 1;
          return;
        }
        break;
      default:
        break;
    }
  }
  TCustomForm::CMDialogKey(Message);
}

void TMessageBoxForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE:
      // The close box and Alt+F4 answer as Escape does, and do nothing where Escape does nothing.
      if (FEscapeAnswer != 0) SetModalResult(FEscapeAnswer);
      return;
    case WM_NCPAINT:
      paintFrame();
      return;
    case CM_ACTIVATE:
      // The window is activated while it shows, before its buttons are visible: the default
      // button takes the focus once the box is up.
      TCustomForm::WndProc(Message);
      if (FActive) SetWindowFocus();
      return;
    case WM_NCACTIVATE:
      TCustomForm::WndProc(Message);
      paintFrame();
      Message.Result = 1;
      return;
    default:
      break;
  }
  TCustomForm::WndProc(Message);
}

void TMessageBoxForm::paintFrame() {
  if (!HandleAllocated() || !IsWindowVisible(FHandle)) return;
  RECT W;
  GetWindowRect(FHandle, &W);
  POINT Origin{0, 0};
  ::ClientToScreen(FHandle, &Origin);
  RECT Client;
  ::GetClientRect(FHandle, &Client);
  const TPoint Off = Point(Origin.X - W.Left, Origin.Y - W.Top);
  HDC DC = GetWindowDC(FHandle);
  if (DC == nullptr) return;
  ExcludeClipRect(DC, Off.X, Off.Y, Off.X + Client.Right, Off.Y + Client.Bottom);
  const TRect All = Rect(0, 0, W.Right - W.Left, W.Bottom - W.Top);
  const bool Active = GetActiveWindow() == FHandle;
  GdiFillSolidRect(DC, All, Active ? stdlook::Surface : stdlook::WindowBack);
  HBRUSH Border = CreateSolidBrush(FrameBorder);
  FrameRect(DC, &All, Border);
  DeleteObject(Border);
  // The title in the bar above the client area.
  HGDIOBJ Old = SelectObject(DC, FFont->Handle());
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, Active ? stdlook::Text : TitleInactiveText);
  TRect Title = Rect(Off.X + 8, 1, All.Right - Off.X - 8, Off.Y);
  DrawText(DC, Caption(), &Title, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(DC, Old);
  ReleaseDC(FHandle, DC);
}

void TMessageBoxForm::Paint() {
  TCanvas* C = Canvas();
  const TRect Client = ClientRect();
  fillRect(C, stdlook::Surface, 0, 0, Client.Right, FButtonRowTop);
  fillRect(C, stdlook::WindowBack, 0, FButtonRowTop, Client.Right, Client.Bottom);
  fillRect(C, stdlook::SurfaceBorder, 0, FButtonRowTop, Client.Right, FButtonRowTop + 1);
  if (FIconKind != 0) DrawMessageIcon(C, FIconRect.Left, FIconRect.Top, IconSize, FIconKind);
  C->Font()->Assign(FFont.get());
  stdlook::DrawTextIn(C, FMessage, FTextRect, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS,
                      stdlook::Text);
}

// ---- the call ----

Integer MessageBox(HWND Owner, const String& Text, const String& Caption, UINT Flags) {
  TMessageBoxForm Box(nullptr, Text, Caption, Flags);
  Box.PlaceOver(Owner);
  return Box.ShowModal();
}
