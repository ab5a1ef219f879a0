#include "platform/ui/stdctrls/combobox.h"

#include <algorithm>

#include "platform/rtl/strings.h"
#include "platform/ui/stdctrls/stdlook.h"

namespace {
constexpr Integer ButtonWidth = 22;  // the arrow's part at the right of the closed box
constexpr Integer TextIndent = 8;

char32_t foldCase(char32_t C) {
  return C >= U'A' && C <= U'Z' ? C + (U'a' - U'A') : C;
}

void drawItemText(TCanvas* C, TRect R, const String& Text, TColor Color) {
  R.Left += TextIndent;
  R.Right -= 4;
  stdlook::DrawTextIn(C, Text, R, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS,
                      Color);
}
}  // namespace

// ---- the floating list ----

TComboListWindow::TComboListWindow(TComboBox* Combo) : TCustomControl(nullptr), FCombo(Combo) {
  FVisible = false;
  FParentColor = false;
  FParentFont = false;
  FColor = stdlook::Surface;
}

void TComboListWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  if (FCombo->HandleAllocated()) Params.WndParent = FCombo->Handle();
}

void TComboListWindow::Dispatch(TMessage& Message) {
  // The list never takes the activation: the form and the box keep it.
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TComboListWindow::ShowAt(const TRect& R) {
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
  SetWindowPos(Handle(), HWND_TOPMOST, R.Left, R.Top, R.Width(), R.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  FVisible = true;
  FShowing = true;
  Invalidate();
}

void TComboListWindow::HideList() {
  FVisible = false;
  FShowing = false;
  if (HandleAllocated()) ShowWindow(FHandle, SW_HIDE);
}

Integer TComboListWindow::ItemAtPos(TPoint P) {
  if (P.X < 0 || P.X >= ClientWidth() || P.Y < 1 || P.Y >= ClientHeight() - 1) return -1;
  const Integer Index = FCombo->FTopIndex + (P.Y - 1) / FCombo->FItemHeight;
  return Index < FCombo->FItems->Count() ? Index : -1;
}

void TComboListWindow::Paint() {
  TCanvas* C = Canvas();
  const TRect Client = ClientRect();
  C->Brush()->SetColor(stdlook::FaceBorder);
  C->FillRect(Client);
  C->Brush()->SetColor(stdlook::Surface);
  C->FillRect(Rect(1, 1, Client.Right - 1, Client.Bottom - 1));
  C->Font()->Assign(FCombo->Font());
  const Integer Rows = FCombo->visibleRows();
  for (Integer Row = 0; Row < Rows; ++Row) {
    const Integer Index = FCombo->FTopIndex + Row;
    if (Index >= FCombo->FItems->Count()) break;
    const TRect R =
        Rect(1, 1 + Row * FCombo->FItemHeight, Client.Right - 1, 1 + (Row + 1) * FCombo->FItemHeight);
    const bool Hot = Index == FCombo->FListIndex;
    if (Hot) {
      C->Brush()->SetColor(stdlook::Accent);
      C->FillRect(R);
    }
    drawItemText(C, R, FCombo->FItems->Strings(Index), Hot ? stdlook::Surface : stdlook::Text);
  }
}

// ---- the box ----

TComboBox::TComboBox(TComponent* AOwner) : TCustomControl(AOwner), FItems(std::make_unique<TStringList>()) {
  // The box handles its own capture: it holds the mouse for as long as the list is open.
  FControlStyle = {csSetCaption, csOpaque, csDoubleClicks};
  FWidth = 145;
  FHeight = 26;
  FTabStop = true;
  FParentColor = false;
  FColor = stdlook::Face;
  FItems->OnChange = [this](TObject* Sender) { itemsChanged(Sender); };
  FList = std::make_unique<TComboListWindow>(this);
}

TComboBox::~TComboBox() {
  FItems->OnChange = nullptr;
  if (FDroppedDown && HandleAllocated() && GetCapture() == FHandle) ReleaseCapture();
  FList.reset();
}

String TComboBox::GetText() const {
  return FItemIndex >= 0 && FItemIndex < FItems->Count() ? FItems->Strings(FItemIndex) : String();
}

void TComboBox::itemsChanged(TObject*) {
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  if (FListIndex >= FItems->Count()) FListIndex = -1;
  FTopIndex = std::clamp(FTopIndex, 0, std::max(0, FItems->Count() - visibleRows()));
  Invalidate();
  if (FDroppedDown) FList->Invalidate();
}

void TComboBox::SetItemIndex(Integer Value) {
  if (Value < -1 || Value >= FItems->Count()) Value = -1;
  if (Value == FItemIndex) return;
  FItemIndex = Value;
  Invalidate();
}

void TComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TComboBox::selectByUser(Integer Index) {
  if (FItems->Count() == 0) return;
  Index = std::clamp(Index, 0, FItems->Count() - 1);
  if (Index == FItemIndex) return;
  FItemIndex = Index;
  Invalidate();
  Click();
  Change();
}

Integer TComboBox::visibleRows() const {
  return std::max(1, std::min(FDropDownCount, FItems->Count()));
}

void TComboBox::setListIndex(Integer Index) {
  if (FItems->Count() == 0) return;
  Index = std::clamp(Index, 0, FItems->Count() - 1);
  FListIndex = Index;
  const Integer Rows = visibleRows();
  if (FListIndex < FTopIndex) FTopIndex = FListIndex;
  if (FListIndex >= FTopIndex + Rows) FTopIndex = FListIndex - Rows + 1;
  FList->Invalidate();
}

void TComboBox::SetDroppedDown(bool Value) {
  if (Value == FDroppedDown) return;
  if (Value) {
    if (!FEnabled || !HandleAllocated() || !IsWindowVisible(FHandle)) return;
    DropDown();
    FDroppedDown = true;
    FListIndex = FItemIndex;
    FTopIndex = 0;
    setListIndex(std::max(FItemIndex, 0));
    if (FItemIndex < 0) FListIndex = -1;
    const Integer H = visibleRows() * FItemHeight + 2;
    TPoint P = ClientToScreen(Point(0, FHeight));
    // Above the box when the list would leave the work area below it.
    TRect Work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
    if (P.Y + H > Work.Bottom) P.Y = ClientToScreen(Point(0, 0)).Y - H;
    FList->ShowAt(Bounds(P.X, P.Y, FWidth, H));
    SetCapture(FHandle);
  } else {
    FDroppedDown = false;
    FPressed = false;
    FList->HideList();
    if (HandleAllocated() && GetCapture() == FHandle) ReleaseCapture();
    CloseUp();
  }
  Invalidate();
}

Integer TComboBox::listItemAt(Integer X, Integer Y) {
  if (!FDroppedDown || !FList->HandleAllocated()) return -1;
  const TPoint Screen = ClientToScreen(Point(X, Y));
  return FList->ItemAtPos(FList->ScreenToClient(Screen));
}

void TComboBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      // Enter and Escape belong to the open list, not to the dialog.
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (FDroppedDown ? DLGC_WANTALLKEYS : 0);
      return;
    case WM_SETFOCUS:
      Invalidate();
      break;
    case WM_KILLFOCUS:
      SetDroppedDown(false);
      Invalidate();
      break;
    case WM_CAPTURECHANGED:
      if (FDroppedDown && reinterpret_cast<HWND>(Message.LParam) != FHandle) SetDroppedDown(false);
      break;
    case WM_MOUSEWHEEL: {
      const Integer Notches = GET_WHEEL_DELTA_WPARAM(Message.WParam) / WHEEL_DELTA;
      if (FDroppedDown) {
        FTopIndex = std::clamp(FTopIndex - Notches, 0, std::max(0, FItems->Count() - visibleRows()));
        FList->Invalidate();
      } else {
        selectByUser(FItemIndex - Notches);
      }
      Message.Result = 1;
      return;
    }
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

void TComboBox::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  const bool Alt = Shift.Contains(ssAlt);
  if (Key == VK_F4 || (Alt && (Key == VK_DOWN || Key == VK_UP))) {
    SetDroppedDown(!FDroppedDown);
    Key = 0;
    return;
  }
  const Integer Page = std::max(1, visibleRows() - 1);
  if (FDroppedDown) {
    switch (Key) {
      case VK_RETURN: {
        // Closed first: the choice's handlers run last and may do anything, even free the box.
        const Integer Chosen = FListIndex;
        Key = 0;
        SetDroppedDown(false);
        if (Chosen >= 0) selectByUser(Chosen);
        return;
      }
      case VK_ESCAPE:
        SetDroppedDown(false);
        break;
      case VK_UP:
      case VK_LEFT:
        setListIndex(FListIndex - 1);
        break;
      case VK_DOWN:
      case VK_RIGHT:
        setListIndex(FListIndex + 1);
        break;
      case VK_PRIOR:
        setListIndex(FListIndex - Page);
        break;
      case VK_NEXT:
        setListIndex(FListIndex + Page);
        break;
      case VK_HOME:
        setListIndex(0);
        break;
      case VK_END:
        setListIndex(FItems->Count() - 1);
        break;
      default:
        return;
    }
    Key = 0;
    return;
  }
  switch (Key) {
    case VK_UP:
    case VK_LEFT:
      selectByUser(FItemIndex < 0 ? 0 : FItemIndex - 1);
      break;
    case VK_DOWN:
    case VK_RIGHT:
      selectByUser(FItemIndex + 1);
      break;
    case VK_PRIOR:
      selectByUser(FItemIndex - Page);
      break;
    case VK_NEXT:
      selectByUser(FItemIndex + Page);
      break;
    case VK_HOME:
      selectByUser(0);
      break;
    case VK_END:
      selectByUser(FItems->Count() - 1);
      break;
    default:
      return;
  }
  Key = 0;
}

void TComboBox::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (Key < 0x20 || FItems->Count() == 0) return;
  // The next item after the current one whose first character is the key, round the end.
  const Integer Count = FItems->Count();
  const Integer From = FDroppedDown ? FListIndex : FItemIndex;
  for (Integer Step = 1; Step <= Count; ++Step) {
    const Integer Index = ((From < 0 ? -1 : From) + Step) % Count;
    const String& S = FItems->Strings(Index);
    if (!S.empty() && foldCase(Utf8Decode(S, 0)) == foldCase(Key)) {
      if (FDroppedDown)
        setListIndex(Index);
      else
        selectByUser(Index);
      break;
    }
  }
  Key = 0;
}

void TComboBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (FDroppedDown) {
    // A press on the list picks on release; anywhere else (the box included) closes it.
    if (listItemAt(X, Y) < 0) SetDroppedDown(false);
    return;
  }
  if (CanFocus() && !Focused()) SetFocus();
  if (X >= 0 && Y >= 0 && X < FWidth && Y < FHeight) {
    SetDroppedDown(true);
    FPressed = FDroppedDown;
  }
}

void TComboBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  const Integer Index = listItemAt(X, Y);
  if (Index >= 0 && Index != FListIndex) setListIndex(Index);
}

void TComboBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !FDroppedDown) return;
  const Integer Index = listItemAt(X, Y);
  FPressed = false;
  if (Index >= 0) {
    SetDroppedDown(false);
    selectByUser(Index);
  }
}

void TComboBox::Paint() {
  TCanvas* C = Canvas();
  const TRect Client = ClientRect();
  const TColor Outside = FParent != nullptr ? ColorToRGB(FParent->Color()) : stdlook::WindowBack;
  const bool HasFocus = HandleAllocated() && GetFocus() == FHandle;
  const TColor Fill = !FEnabled ? stdlook::WindowBack : FDroppedDown ? stdlook::FacePressed : stdlook::Face;
  const TColor Border = HasFocus || FDroppedDown ? stdlook::Accent : stdlook::FaceBorder;
  stdlook::RoundedBox(C, Client, Fill, Border, Outside);
  if (HasFocus) stdlook::FocusRing(C, Client);
  C->Font()->Assign(FFont.get());
  const TRect TextRect = Rect(Client.Left, Client.Top, Client.Right - ButtonWidth, Client.Bottom);
  drawItemText(C, TextRect, GetText(), FEnabled ? stdlook::Text : stdlook::TextDisabled);
  stdlook::DownArrow(C, Client.Right - ButtonWidth / 2 - 1, Client.Bottom / 2, 7,
                     FEnabled ? stdlook::TextSecondary : stdlook::TextDisabled);
}
