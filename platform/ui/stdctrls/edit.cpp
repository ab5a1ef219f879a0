#include "platform/ui/stdctrls/edit.h"

#include <algorithm>

#include "platform/rtl/consts.h"
#include "platform/rtl/strings.h"
#include "platform/ui/core/application.h"
#include "platform/ui/menus/menu.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/win/scrollbar.h"
#include "platform/win/scrollrequest.h"

namespace {
constexpr UINT_PTR AutoScrollTimer = 1;
constexpr UINT AutoScrollInterval = 100;
constexpr Integer WheelLines = 3;

char32_t upper(char32_t C) {
  return C >= U'a' && C <= U'z' ? C - 32 : C;
}
char32_t lower(char32_t C) {
  return C >= U'A' && C <= U'Z' ? C + 32 : C;
}
}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
  FWidth = 121;
  FHeight = 25;
  FTabStop = true;
  FParentColor = false;
  FColor = clWindow;
  FAutoSize = true;
}

TCustomEdit::~TCustomEdit() {
  if (FBrush) DeleteObject(FBrush);
  if (FOwnBrush) DeleteObject(FOwnBrush);
}

String TCustomEdit::GetText() const {
  return FBuffer.Text();
}

DWORD TCustomEdit::EditStyle() const {
  return FHandle ? FWindowStyle : 0;
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  static const DWORD Aligns[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  Params.Style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_AUTOVSCROLL | Aligns[FAlignment];
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FBuffer.ReadOnly()) Params.Style |= ES_READONLY;
  if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (FOEMConvert) Params.Style |= ES_OEMCONVERT;
  if (FPasswordChar != 0) Params.Style |= ES_PASSWORD;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style |= CS_DBLCLKS;
}

void TCustomEdit::CreateWindowCreated() {
  // The window's style decides what kind of edit it is, whatever the class asked for.
  FWindowStyle = DWORD(GetWindowLong(FHandle, GWL_STYLE));
  FBuffer.SetMultiline(FWindowStyle & ES_MULTILINE);
  if (FWindowStyle & ES_CENTER)
    FAlignment = taCenter;
  else if (FWindowStyle & ES_RIGHT)
    FAlignment = taRightJustify;
  if ((FWindowStyle & ES_PASSWORD) && FPasswordChar == 0) FPasswordChar = U'*';
  if (!(FWindowStyle & ES_PASSWORD) && !(FWindowStyle & ES_MULTILINE) && FPasswordChar != 0)
    FPasswordChar = 0;
  FRectSet = false;
  FScrollX = 0;
  FTopLine = 0;
  invalidateLayout();
  SendMessage(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0);
  updateScrollInfo();
  TWinControl::CreateWindowCreated();
}

void TCustomEdit::DestroyWnd() {
  // The text and the selection live in the buffer and outlast the window.
  FSelecting = false;
  FRefocus = GetFocus() == FHandle;
  TWinControl::DestroyWnd();
}

// ---- properties ----

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
  AdjustSize();
}

bool TCustomEdit::CanAutoSize(Integer&, Integer& NewHeight) {
  if (FBorderStyle != bsSingle || Multiline()) return false;
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, FFont->Handle());
  TEXTMETRIC TM;
  GetTextMetrics(DC, &TM);
  SelectObject(DC, Old);
  DeleteDC(DC);
  // The sunken frame and a pixel of air above and below the line.
  NewHeight = TM.tmHeight + 4 * GetSystemMetrics(SM_CYEDGE);
  return true;
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (Value == FCharCase) return;
  FCharCase = Value;
  if (Value == ecNormal) return;
  // The text already there follows the new case, as the platform edit converts it.
  String S;
  for (char32_t C : FBuffer.Chars()) Utf8Append(S, applyCase(C));
  const Integer A = FBuffer.Anchor(), Cr = FBuffer.Caret();
  if (S != FBuffer.Text()) {
    FBuffer.SetText(S);
    FBuffer.SetSel(A, Cr);
    edited(true);
  }
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (Value == FHideSelection) return;
  FHideSelection = Value;
  if (HandleAllocated()) Invalidate();
}

void TCustomEdit::SetMaxLength(Integer Value) {
  FBuffer.SetMaxLength(Value);
}

void TCustomEdit::SetPasswordChar(char32_t Value) {
  if (Value == FPasswordChar) return;
  FPasswordChar = Value;
  if (HandleAllocated()) {
    FWindowStyle = Value ? (FWindowStyle | ES_PASSWORD) : (FWindowStyle & ~ES_PASSWORD);
    SetWindowLong(FHandle, GWL_STYLE, LONG(FWindowStyle | (GetWindowLong(FHandle, GWL_STYLE) & ~0xFFFF)));
    invalidateLayout();
    Invalidate();
  }
}

void TCustomEdit::SetReadOnly(bool Value) {
  FBuffer.SetReadOnly(Value);
  if (HandleAllocated()) {
    FWindowStyle = Value ? (FWindowStyle | ES_READONLY) : (FWindowStyle & ~ES_READONLY);
    Invalidate();
  }
}

void TCustomEdit::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomEdit::SetSelStart(Integer Value) {
  FBuffer.SetSel(Value, Value);
  edited(false);
}

void TCustomEdit::SetSelLength(Integer Value) {
  FBuffer.SetSel(FBuffer.SelStart(), FBuffer.SelStart() + std::max(0, Value));
  edited(false);
}

void TCustomEdit::SetSelText(const String& Value) {
  edited(FBuffer.ReplaceSel(Value, false));
}

void TCustomEdit::Clear() {
  SetText(String());
}

void TCustomEdit::ClearSelection() {
  Perform(WM_CLEAR, 0, 0);
}

void TCustomEdit::CopyToClipboard() {
  Perform(WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard() {
  Perform(WM_CUT, 0, 0);
}

void TCustomEdit::PasteFromClipboard() {
  Perform(WM_PASTE, 0, 0);
}

void TCustomEdit::Undo() {
  Perform(WM_UNDO, 0, 0);
}

void TCustomEdit::ClearUndo() {
  FBuffer.EmptyUndoBuffer();
}

void TCustomEdit::SelectAll() {
  FBuffer.SelectAll();
  edited(false);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

char32_t TCustomEdit::applyCase(char32_t C) const {
  if (FCharCase == ecUpperCase) return upper(C);
  if (FCharCase == ecLowerCase) return lower(C);
  return C;
}

// ---- notifications of the class library ----

void TCustomEdit::DoEnter() {
  // A single-line edit entered by the keyboard shows its whole text selected.
  if (FAutoSelect && !FControlState.Contains(csLButtonDown) && !Multiline()) SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::CMFontChanged(TMessage& Message) {
  TWinControl::CMFontChanged(Message);
  invalidateLayout();
  AdjustSize();
  if (HandleAllocated()) SendMessage(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 1);
}

void TCustomEdit::CMEnabledChanged(TMessage& Message) {
  TWinControl::CMEnabledChanged(Message);
  if (HandleAllocated()) Invalidate();
}

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
      // The class library's answer: the font's colour on the control's colour.
      HDC DC = reinterpret_cast<HDC>(Message.WParam);
      SetTextColor(DC, ColorToRGB(FFont->Color()));
      SetBkColor(DC, ColorToRGB(FColor));
      if (FBrush) DeleteObject(FBrush);
      FBrush = CreateSolidBrush(ColorToRGB(FColor));
      Message.Result = reinterpret_cast<LRESULT>(FBrush);
      return;
    }
    case CM_SHOWINGCHANGED:
      TWinControl::Dispatch(Message);
      // A window made anew for the focused edit takes the focus back once it shows.
      if (FRefocus && FShowing && FHandle) {
        FRefocus = false;
        if (TCustomForm* Form = GetParentForm(this); Form != nullptr && Form->ActiveControl() == this)
          ::SetFocus(FHandle);
      }
      return;
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == EN_CHANGE) Change();
      return;
    case WM_CONTEXTMENU:
      if (PopupMenu() == nullptr) {
        DefaultHandler(Message);
        return;
      }
      break;
    default:
      break;
  }
  TWinControl::Dispatch(Message);
}

// ---- the platform edit ----

void TCustomEdit::DefaultHandler(TMessage& Message) {
  // The text works without a window too: code may set and read it before the window exists.
  if (handleEditMessage(Message)) return;
  TWinControl::DefaultHandler(Message);
}

bool TCustomEdit::handleEditMessage(TMessage& M) {
  const WPARAM W = M.WParam;
  const LPARAM L = M.LParam;
  switch (M.Msg) {
    case WM_GETDLGCODE:
      M.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL | (Multiline() ? DLGC_WANTALLKEYS : 0);
      return true;
    case WM_SETTEXT: {
      const bool Changed = FBuffer.SetText(L ? String(reinterpret_cast<const char*>(L)) : String());
      FScrollX = 0;
      FTopLine = 0;
      invalidateLayout();
      edited(Changed);
      M.Result = 1;
      return true;
    }
    case WM_GETTEXTLENGTH:
      M.Result = LRESULT(FBuffer.Text().size());
      return true;
    case WM_GETTEXT: {
      if (W == 0 || L == 0) {
        M.Result = 0;
        return true;
      }
      String S = FBuffer.Text();
      size_t N = std::min(S.size(), size_t(W) - 1);
      while (N > 0 && N < S.size() && (static_cast<unsigned char>(S[N]) & 0xC0) == 0x80) --N;
      std::copy_n(S.data(), N, reinterpret_cast<char*>(L));
      reinterpret_cast<char*>(L)[N] = 0;
      M.Result = LRESULT(N);
      return true;
    }
    case WM_SETFONT:
      FEditFont = reinterpret_cast<HFONT>(W);
      invalidateLayout();
      if (LOWORD(L)) Invalidate();
      M.Result = 0;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT PS;
      HDC DC = reinterpret_cast<HDC>(W);
      if (DC != nullptr) {
        paintEdit(DC);
      } else {
        DC = BeginPaint(FHandle, &PS);
        if (DC) paintEdit(DC);
        EndPaint(FHandle, &PS);
      }
      M.Result = 0;
      return true;
    }
    case WM_ERASEBKGND:
      M.Result = 1;  // painting covers everything
      return true;
    case WM_SIZE:
      invalidateLayout();
      if (!FRectSet) ensureCaretVisible();
      updateScrollInfo();
      return false;
    case WM_SETFOCUS:
      CreateCaret(FHandle, nullptr, 1, LineHeight());
      updateCaret();
      ShowCaret(FHandle);
      Invalidate();
      return false;
    case WM_KILLFOCUS:
      DestroyCaret();
      FSelecting = false;
      Invalidate();
      return false;
    case WM_ENABLE:
      Invalidate();
      return false;
    case WM_KEYDOWN:
      handleKeyDown(Word(W));
      M.Result = 0;
      return true;
    case WM_CHAR:
      handleChar(char32_t(W));
      M.Result = 0;
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      mouseDown(LParamToPoint(L), W & MK_SHIFT, M.Msg == WM_LBUTTONDBLCLK);
      return true;
    case WM_MOUSEMOVE:
      if (FSelecting) mouseMove(LParamToPoint(L));
      return false;
    case WM_LBUTTONUP:
      mouseUp();
      return true;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      mouseUp();
      return false;
    case WM_TIMER:
      if (W != AutoScrollTimer) return false;
      autoScrollTick();
      return true;
    case WM_MOUSEWHEEL:
      if (!Multiline()) return false;
      vscroll(SB_THUMBPOSITION, std::max(0, FTopLine - GET_WHEEL_DELTA_WPARAM(W) * WheelLines / WHEEL_DELTA));
      M.Result = 0;
      return true;
    case WM_VSCROLL:
      vscroll(LOWORD(W), HIWORD(W));
      M.Result = 0;
      return true;
    case WM_CONTEXTMENU: {
      TPoint P = LParamToPoint(L);
      if (P.X < 0 || P.Y < 0) P = ClientToScreen({Width() / 2, Height() / 2});
      ShowEditContextMenu(P);
      M.Result = 1;
      return true;
    }
    case WM_COPY:
      copySelection();
      return true;
    case WM_CUT:
      if (FPasswordChar == 0 && FBuffer.SelLength() > 0 && !FBuffer.ReadOnly()) {
        copySelection();
        edited(FBuffer.DeleteBack());
      }
      return true;
    case WM_PASTE:
      pasteText();
      return true;
    case WM_CLEAR:
      if (FBuffer.SelLength() > 0) edited(FBuffer.DeleteBack());
      return true;
    case WM_UNDO:
    case EM_UNDO:
      M.Result = FBuffer.Undo();
      if (M.Result) edited(true);
      return true;
    default:
      return handleEmMessage(M);
  }
  return false;
}

void TCustomEdit::setLimit(Integer Value) {
  FBuffer.SetMaxLength(Value);
}

bool TCustomEdit::handleEmMessage(TMessage& M) {
  const WPARAM W = M.WParam;
  const LPARAM L = M.LParam;
  switch (M.Msg) {
    case EM_GETSEL: {
      const DWORD Start = DWORD(FBuffer.SelStart()), End = DWORD(FBuffer.SelEnd());
      if (W) *reinterpret_cast<DWORD*>(W) = Start;
      if (L) *reinterpret_cast<DWORD*>(L) = End;
      M.Result = LRESULT(std::min<DWORD>(Start, 0xFFFF) | (std::min<DWORD>(End, 0xFFFF) << 16));
      return true;
    }
    case EM_SETSEL:
      FBuffer.SetSel(Integer(intptr_t(W)), Integer(L));
      edited(false);
      return true;
    case EM_GETRECT:
      if (L) *reinterpret_cast<RECT*>(L) = FormatRect();
      return true;
    case EM_SETRECT:
    case EM_SETRECTNP:
      FRectSet = L != 0;
      if (L) FRect = *reinterpret_cast<const RECT*>(L);
      invalidateLayout();
      ensureCaretVisible();
      if (M.Msg == EM_SETRECT) Invalidate();
      return true;
    case EM_SCROLLCARET:
      ensureCaretVisible();
      Invalidate();
      return true;
    case EM_LINESCROLL:
      if (Multiline()) vscroll(SB_THUMBPOSITION, std::max(0, FTopLine + Integer(L)));
      M.Result = Multiline();
      return true;
    case EM_SCROLL:
      if (Multiline()) vscroll(Word(W), 0);
      M.Result = Multiline();
      return true;
    case EM_GETMODIFY:
      M.Result = FBuffer.Modified();
      return true;
    case EM_SETMODIFY:
      FBuffer.SetModified(W != 0);
      return true;
    case EM_GETLINECOUNT:
      M.Result = FBuffer.LineCount();
      return true;
    case EM_LINEINDEX: {
      const Integer Line = Integer(intptr_t(W)) < 0 ? FBuffer.LineFromChar(FBuffer.Caret()) : Integer(W);
      M.Result = FBuffer.LineStart(Line);
      return true;
    }
    case EM_LINELENGTH:
      M.Result = Integer(intptr_t(W)) < 0 ? 0 : FBuffer.LineLength(FBuffer.LineFromChar(Integer(W)));
      return true;
    case EM_LINEFROMCHAR:
      M.Result = FBuffer.LineFromChar(Integer(intptr_t(W)) < 0 ? FBuffer.SelStart() : Integer(W));
      return true;
    case EM_GETLINE: {
      // The buffer's first word holds its size in bytes; the line is copied without a terminator.
      if (!L || FBuffer.LineStart(Integer(W)) < 0) {
        M.Result = 0;
        return true;
      }
      const String S = Utf32ToUtf8(FBuffer.LineChars(Integer(W)));
      const size_t Size = *reinterpret_cast<const Word*>(L);
      size_t N = std::min(S.size(), Size);
      while (N > 0 && N < S.size() && (static_cast<unsigned char>(S[N]) & 0xC0) == 0x80) --N;
      std::copy_n(S.data(), N, reinterpret_cast<char*>(L));
      M.Result = LRESULT(N);
      return true;
    }
    case EM_REPLACESEL:
      edited(FBuffer.ReplaceSel(L ? String(reinterpret_cast<const char*>(L)) : String(), false, W != 0));
      return true;
    case EM_LIMITTEXT:
      setLimit(Integer(W));
      return true;
    case EM_GETLIMITTEXT:
      M.Result = FBuffer.MaxLength() > 0 ? FBuffer.MaxLength() : 0x7FFFFFFE;
      return true;
    case EM_CANUNDO:
      M.Result = FBuffer.CanUndo();
      return true;
    case EM_EMPTYUNDOBUFFER:
      FBuffer.EmptyUndoBuffer();
      return true;
    case EM_SETPASSWORDCHAR:
      SetPasswordChar(char32_t(W));
      return true;
    case EM_GETPASSWORDCHAR:
      M.Result = LRESULT(FPasswordChar);
      return true;
    case EM_GETFIRSTVISIBLELINE:
      M.Result = Multiline() ? FTopLine : 0;
      return true;
    case EM_SETREADONLY:
      SetReadOnly(W != 0);
      M.Result = 1;
      return true;
    case EM_SETMARGINS:
      if (W & EC_LEFTMARGIN) FLeftMargin = LOWORD(L) == EC_USEFONTINFO ? 1 : LOWORD(L);
      if (W & EC_RIGHTMARGIN) FRightMargin = HIWORD(L) == EC_USEFONTINFO ? 1 : HIWORD(L);
      invalidateLayout();
      ensureCaretVisible();
      Invalidate();
      return true;
    case EM_GETMARGINS:
      M.Result = LRESULT(DWORD(Word(FLeftMargin)) | (DWORD(Word(FRightMargin)) << 16));
      return true;
    case EM_POSFROMCHAR: {
      if (Integer(W) > FBuffer.Length()) {
        M.Result = -1;
        return true;
      }
      const TPoint P = PosFromChar(Integer(W));
      M.Result = LRESULT(DWORD(Word(P.X)) | (DWORD(Word(P.Y)) << 16));
      return true;
    }
    case EM_CHARFROMPOS: {
      const Integer Pos = CharFromPos(LParamToPoint(L));
      M.Result = LRESULT(DWORD(Word(std::min(Pos, 0xFFFF))) | (DWORD(Word(FBuffer.LineFromChar(Pos))) << 16));
      return true;
    }
    default:
      return false;
  }
}

// ---- keys and characters ----

void TCustomEdit::handleKeyDown(Word Key) {
  const bool Shift = GetKeyState(VK_SHIFT) < 0;
  const bool Ctrl = GetKeyState(VK_CONTROL) < 0;
  const Integer Caret = FBuffer.Caret();
  const Integer Row = RowFromChar(Caret);
  switch (Key) {
    case VK_LEFT:
      if (!Shift && FBuffer.SelLength() > 0 && !Ctrl)
        FBuffer.MoveTo(FBuffer.SelStart(), false);  // a selection collapses to its start
      else
        FBuffer.MoveTo(Ctrl ? FBuffer.WordLeft(Caret) : Caret - 1, Shift);
      break;
    case VK_RIGHT:
      if (!Shift && FBuffer.SelLength() > 0 && !Ctrl)
        FBuffer.MoveTo(FBuffer.SelEnd(), false);
      else
        FBuffer.MoveTo(Ctrl ? FBuffer.WordRight(Caret) : Caret + 1, Shift);
      break;
    case VK_HOME:
      FBuffer.MoveTo(Ctrl ? 0 : rows()[Row].Start, Shift);
      break;
    case VK_END:
      FBuffer.MoveTo(Ctrl ? FBuffer.Length() : rowEnd(Row), Shift);
      break;
    case VK_UP:
    case VK_DOWN:
      if (!Multiline()) return;
      moveVertically(Key == VK_UP ? -1 : 1, Shift);
      break;
    case VK_PRIOR:
    case VK_NEXT: {
      if (!Multiline()) return;
      // A page: the view and the caret move together.
      const Integer Lines = (Key == VK_PRIOR ? -1 : 1) * std::max(1, VisibleLineCount());
      FTopLine = std::clamp(FTopLine + Lines, 0, std::max(0, RowCount() - VisibleLineCount()));
      moveVertically(Lines, Shift);
      break;
    }
    case VK_DELETE:
      if (Shift && !Ctrl) {
        CutToClipboard();
        return;
      }
      edited(FBuffer.DeleteForward(Ctrl));
      return;
    case VK_INSERT:
      if (Ctrl && !Shift) CopyToClipboard();
      if (Shift && !Ctrl) PasteFromClipboard();
      return;
    default:
      return;
  }
  edited(false);
}

void TCustomEdit::moveVertically(Integer Lines, bool Extend) {
  const TPoint P = PosFromChar(FBuffer.Caret());
  const Integer From = RowFromChar(FBuffer.Caret());
  const Integer Row = std::clamp(From + Lines, 0, RowCount() - 1);
  const Integer Y = P.Y + (Row - From) * LineHeight();
  // The caret keeps its x as near as the new row allows.
  Integer Pos = CharFromPos({P.X, Y});
  if (RowFromChar(Pos) != Row) Pos = rowEnd(Row);
  FBuffer.MoveTo(Pos, Extend);
}

void TCustomEdit::handleChar(char32_t C) {
  switch (C) {
    case 1:  // Ctrl+A
      SelectAll();
      return;
    case 3:  // Ctrl+C
      CopyToClipboard();
      return;
    case 22:  // Ctrl+V
      PasteFromClipboard();
      return;
    case 24:  // Ctrl+X
      CutToClipboard();
      return;
    case 26:  // Ctrl+Z
      Undo();
      return;
    case 8:
      edited(FBuffer.DeleteBack());
      return;
    case 127:  // Ctrl+Backspace
      edited(FBuffer.DeleteBack(true));
      return;
    default:
      break;
  }
  if (C == U'\t' && !Multiline()) return;
  if (FBuffer.TypeChar(applyCase(C))) {
    edited(true);
  } else if (C >= 0x20 || C == U'\r') {
    MessageBeep(0);
  }
}

// ---- clipboard ----

void TCustomEdit::copySelection() {
  if (FPasswordChar != 0 || FBuffer.SelLength() == 0) return;
  WinSetClipboardText(FBuffer.SelText());
}

bool TCustomEdit::pasteText() {
  String S;
  if (!WinGetClipboardText(&S) || FBuffer.ReadOnly()) return false;
  if (FCharCase != ecNormal) {
    String Cased;
    for (char32_t C : Utf8ToUtf32(S)) Utf8Append(Cased, applyCase(C));
    S = std::move(Cased);
  }
  const bool Changed = FBuffer.ReplaceSel(S, true);
  edited(Changed);
  return Changed;
}

// ---- the mouse ----

void TCustomEdit::mouseDown(TPoint P, bool Shift, bool Double) {
  if (!Focused() && CanFocus()) SetFocus();
  if (!Focused()) return;
  const Integer Pos = CharFromPos(P);
  if (Double) {
    FBuffer.SelectWordAt(Pos);
  } else {
    FBuffer.MoveTo(Pos, Shift);
  }
  FSelecting = true;
  FMousePos = P;
  SetCapture(FHandle);
  SetTimer(FHandle, AutoScrollTimer, AutoScrollInterval, nullptr);
  edited(false);
}

void TCustomEdit::mouseMove(TPoint P) {
  FMousePos = P;
  FBuffer.MoveTo(CharFromPos(P), true);
  edited(false);
}

void TCustomEdit::mouseUp() {
  if (!FSelecting) return;
  FSelecting = false;
  KillTimer(FHandle, AutoScrollTimer);
  if (GetCapture() == FHandle) ReleaseCapture();
}

void TCustomEdit::autoScrollTick() {
  if (!FSelecting) {
    KillTimer(FHandle, AutoScrollTimer);
    return;
  }
  // The pointer held beyond the text area pulls the selection on by one step per tick.
  const TRect Area = textArea();
  const Integer Caret = FBuffer.Caret();
  if (FMousePos.X < Area.Left && !Multiline())
    FBuffer.MoveTo(Caret - 1, true);
  else if (FMousePos.X >= Area.Right && !Multiline())
    FBuffer.MoveTo(Caret + 1, true);
  else if (FMousePos.Y < Area.Top && Multiline())
    moveVertically(-1, true);
  else if (FMousePos.Y >= Area.Bottom && Multiline())
    moveVertically(1, true);
  else
    return;
  edited(false);
}

// ---- scrolling ----

void TCustomEdit::vscroll(Word Code, Integer Pos) {
  const Integer Last = std::max(0, RowCount() - VisibleLineCount());
  const std::optional<Integer> Wanted =
      ScrollRequestPosition(Code, FTopLine, {1, std::max(1, VisibleLineCount()), Pos, Last});
  if (!Wanted) return;
  const Integer Top = std::clamp(*Wanted, 0, std::max(Last, 0));
  if (Top == FTopLine) return;
  FTopLine = Top;
  updateScrollInfo();
  updateCaret();
  Invalidate();
}

void TCustomEdit::updateScrollInfo() {
  if (!FHandle || !Multiline() || !(GetWindowLong(FHandle, GWL_STYLE) & WS_VSCROLL)) return;
  SCROLLINFO SI;
  SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  SI.nMin = 0;
  SI.nMax = RowCount() - 1;
  SI.nPage = UINT(std::max(1, VisibleLineCount()));
  SI.nPos = FTopLine;
  SetScrollInfo(FHandle, SB_VERT, &SI, true);
}

void TCustomEdit::ensureCaretVisible() {
  if (!FHandle) return;
  const TRect Area = textArea();
  const Integer AreaWidth = std::max(1, Area.Width());
  const Integer Caret = FBuffer.Caret();
  const Integer Line = RowFromChar(Caret);
  if (Multiline()) {
    const Integer Visible = std::max(1, VisibleLineCount());
    if (Line < FTopLine) FTopLine = Line;
    if (Line >= FTopLine + Visible) FTopLine = Line - Visible + 1;
    FTopLine = std::clamp(FTopLine, 0, std::max(0, RowCount() - 1));
  }
  // Sideways: a caret that leaves the area brings a third of the area's width with it.
  const std::vector<Integer>& Ext = lineExtents(Line);
  const Integer Column = Caret - rows()[Line].Start;
  const Integer X = Column > 0 ? Ext[Column - 1] : 0;
  const Integer LineWidth = Ext.empty() ? 0 : Ext.back();
  if (X < FScrollX) FScrollX = std::max(0, X - AreaWidth / 3);
  if (X >= FScrollX + AreaWidth) FScrollX = X - AreaWidth + AreaWidth / 3;
  Integer Widest = LineWidth;
  if (Multiline())
    for (Integer L = FTopLine; L < std::min(RowCount(), FTopLine + VisibleLineCount() + 1); ++L) {
      const std::vector<Integer>& E = lineExtents(L);
      if (!E.empty()) Widest = std::max(Widest, E.back());
    }
  // Never more scrolled than the text needs (after deleting, the text comes back into view).
  FScrollX = std::clamp(FScrollX, 0, std::max(0, std::max(Widest + 1 - AreaWidth, X + 1 - AreaWidth)));
  if (FWordWrap && Multiline()) FScrollX = 0;  // wrapped rows fit the area
  updateScrollInfo();
}

void TCustomEdit::updateCaret() {
  if (!FHandle || WinCaretOwner() != FHandle) return;
  const TPoint P = PosFromChar(FBuffer.Caret());
  SetCaretPos(P.X, P.Y);
}

void TCustomEdit::edited(bool TextChanged) {
  if (TextChanged) invalidateLayout();
  if (FHandle) {
    ensureCaretVisible();
    updateCaret();
    Invalidate();
  }
  if (TextChanged) textChanged();
}

void TCustomEdit::AppendText(const String& S) {
  if (!FBuffer.AppendText(S)) {
    edited(false);
    return;
  }
  rowsAppended();
  edited(false);
  textChanged();
}

void TCustomEdit::textChanged() {
  if (FHandle && GetParent(FHandle))
    SendMessage(GetParent(FHandle), WM_COMMAND, MAKEWPARAM(GetWindowLong(FHandle, GWL_ID), EN_CHANGE),
                reinterpret_cast<LPARAM>(FHandle));
  else
    Change();
}

// ---- the context menu ----

void TCustomEdit::ShowEditContextMenu(TPoint ScreenPos) {
  FEditMenu = std::make_unique<TPopupMenu>(nullptr);
  const bool HasSel = FBuffer.SelLength() > 0;
  const bool Writable = !FBuffer.ReadOnly();
  const bool AllSelected = FBuffer.SelStart() == 0 && FBuffer.SelEnd() == FBuffer.Length();
  struct TEntry {
    const char* Caption;
    bool Enabled;
    void (TCustomEdit::*Action)();
  };
  const TEntry Entries[] = {
      {SEditUndo, FBuffer.CanUndo() && Writable, &TCustomEdit::Undo},
      {"-", true, nullptr},
      {SEditCut, HasSel && Writable && FPasswordChar == 0, &TCustomEdit::CutToClipboard},
      {SEditCopy, HasSel && FPasswordChar == 0, &TCustomEdit::CopyToClipboard},
      {SEditPaste, Writable && WinClipboardHasText(), &TCustomEdit::PasteFromClipboard},
      {SEditDelete, HasSel && Writable, &TCustomEdit::ClearSelection},
      {"-", true, nullptr},
      {SEditSelectAll, !AllSelected, &TCustomEdit::SelectAll},
  };
  for (const TEntry& E : Entries) {
    auto* Item = new TMenuItem(FEditMenu.get());
    Item->SetCaption(E.Caption);
    Item->SetEnabled(E.Enabled);
    if (E.Action) {
      auto Action = E.Action;
      Item->OnClick = [this, Action](TObject*) { (this->*Action)(); };
    }
    FEditMenu->Items()->Add(Item);
  }
  FEditMenu->SetPopupComponent(this);
  FEditMenu->Popup(ScreenPos.X, ScreenPos.Y);
}

// ---- the masked edit ----

namespace {
const char* const SMaskEditErr = "Invalid input value.  Use escape key to abandon changes";

bool isDigit(char32_t C) {
  return C >= U'0' && C <= U'9';
}
bool isLetter(char32_t C) {
  return (C >= U'A' && C <= U'Z') || (C >= U'a' && C <= U'z') || C > 0x7F;
}
bool isRequired(char Kind) {
  return Kind == '0' || Kind == 'L' || Kind == 'A' || Kind == 'C';
}
}  // namespace

void TCustomMaskEdit::SetEditMask(const String& Value) {
  const String Before = GetText();
  FEditMask = Value;
  FMask.clear();
  FSaveLiterals = true;
  FBlank = U'_';
  const std::u32string Chars = Utf8ToUtf32(Value);
  // The mask ends at the first ';' that is not escaped; the two fields after it follow.
  size_t End = 0;
  for (; End < Chars.size() && Chars[End] != U';'; ++End)
    if (Chars[End] == U'\\') ++End;
  End = std::min(End, Chars.size());
  if (End < Chars.size()) {
    const size_t Blank = Chars.find(U';', End + 1);
    const std::u32string Save =
        Chars.substr(End + 1, Blank == std::u32string::npos ? Blank : Blank - End - 1);
    FSaveLiterals = Save != U"0";
    if (Blank != std::u32string::npos && Blank + 1 < Chars.size()) FBlank = Chars[Blank + 1];
  }
  char Case = 0;
  for (size_t I = 0; I < End; ++I) {
    const char32_t C = Chars[I];
    TMaskChar M;
    if (C == U'\\' && I + 1 < End) {
      M.Literal = Chars[++I];
    } else if (C == U'<' && I + 1 < End && Chars[I + 1] == U'>') {
      Case = 0;
      ++I;
      continue;
    } else if (C == U'>' || C == U'<') {
      Case = char(C);
      continue;
    } else if (C == U'!') {
      continue;
    } else if (C == U'_') {
      M.Literal = U' ';
    } else if (C == U'0' || C == U'9' || C == U'#' || C == U'L' || C == U'l' || C == U'A' || C == U'a' ||
               C == U'C' || C == U'c') {
      M.Kind = char(C);
      M.Case = Case;
    } else {
      M.Literal = C;
    }
    FMask.push_back(M);
  }
  if (FMask.empty()) {
    SetMaxLength(0);
    return;
  }
  SetMaxLength(Integer(FMask.size()));
  // What was there is kept as far as the new mask lets it.
  SetEditText(Before);
}

Integer TCustomMaskEdit::nextInput(Integer Pos) const {
  while (Pos < Integer(FMask.size()) && !isInput(Pos)) ++Pos;
  return Pos;
}

char32_t TCustomMaskEdit::fit(Integer Pos, char32_t C) const {
  if (!isInput(Pos) || C < 0x20 || C == FBlank) return 0;
  const TMaskChar& M = FMask[Pos];
  bool Fits = false;
  switch (M.Kind) {
    case '0':
    case '9':
      Fits = isDigit(C);
      break;
    case '#':
      Fits = isDigit(C) || C == U'+' || C == U'-';
      break;
    case 'L':
    case 'l':
      Fits = isLetter(C);
      break;
    case 'A':
    case 'a':
      Fits = isLetter(C) || isDigit(C);
      break;
    default:
      Fits = true;
      break;
  }
  if (!Fits) return 0;
  if (M.Case == '>') return upper(C);
  if (M.Case == '<') return lower(C);
  return C;
}

std::u32string TCustomMaskEdit::formatText(const String& S) const {
  const std::u32string In = Utf8ToUtf32(S);
  std::u32string Out;
  size_t J = 0;
  for (Integer P = 0; P < Integer(FMask.size()); ++P) {
    if (!isInput(P)) {
      Out += FMask[P].Literal;
      // A literal of the given text at its place is that literal.
      if (J < In.size() && In[J] == FMask[P].Literal) ++J;
      continue;
    }
    char32_t C = J < In.size() ? In[J++] : 0;
    C = (C == U' ' || C == 0) ? 0 : fit(P, C);
    Out += C ? C : FBlank;
  }
  return Out;
}

String TCustomMaskEdit::GetText() const {
  if (FMask.empty()) return TCustomEdit::GetText();
  const std::u32string& Shown = FBuffer.Chars();
  String Out;
  for (Integer P = 0; P < Integer(Shown.size()); ++P) {
    if (!isInput(P) && !FSaveLiterals) continue;
    Utf8Append(Out, isInput(P) && Shown[P] == FBlank ? U' ' : Shown[P]);
  }
  return Out;
}

void TCustomMaskEdit::SetEditText(const String& Value) {
  // WM_SETTEXT of a masked edit fills the input positions (WndProc).
  if (HandleAllocated())
    SendMessage(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  else
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TCustomMaskEdit::userEdit(const std::u32string& Chars, Integer Caret) {
  if (FBuffer.ReadOnly()) return;
  if (Chars == FBuffer.Chars()) {
    FBuffer.SetSel(Caret, Caret);
    TextReplaced(false);
    return;
  }
  FBuffer.SetSel(0, -1);
  FBuffer.ReplaceSel(Utf32ToUtf8(Chars), false);
  FBuffer.SetSel(Caret, Caret);
  TextReplaced(true);
}

void TCustomMaskEdit::blankRange(Integer Start, Integer End, Integer Caret) {
  std::u32string Chars = FBuffer.Chars();
  for (Integer P = std::max(0, Start); P < std::min(End, Integer(Chars.size())); ++P)
    if (isInput(P)) Chars[P] = FBlank;
  userEdit(Chars, Caret);
}

void TCustomMaskEdit::pasteMasked() {
  String S;
  if (!WinGetClipboardText(&S) || FBuffer.ReadOnly()) return;
  std::u32string Chars = FBuffer.Chars();
  Integer P = FBuffer.SelStart();
  for (Integer Q = P; Q < FBuffer.SelEnd(); ++Q)
    if (isInput(Q)) Chars[Q] = FBlank;
  for (char32_t C : Utf8ToUtf32(S)) {
    if (C == U'\r' || C == U'\n') break;
    P = nextInput(P);
    if (P >= Integer(Chars.size())) break;
    const char32_t Fitted = fit(P, C);
    if (Fitted == 0) continue;  // literals of the pasted text and misfits are passed over
    Chars[P++] = Fitted;
  }
  userEdit(Chars, nextInput(P) < Integer(Chars.size()) ? nextInput(P) : Integer(Chars.size()));
}

void TCustomMaskEdit::cutMasked() {
  if (PasswordChar() != 0 || FBuffer.SelLength() == 0 || FBuffer.ReadOnly()) return;
  WinSetClipboardText(FBuffer.SelText());
  blankRange(FBuffer.SelStart(), FBuffer.SelEnd(), FBuffer.SelStart());
}

Integer TCustomMaskEdit::firstInvalid() const {
  const std::u32string& Chars = FBuffer.Chars();
  for (Integer P = 0; P < Integer(FMask.size()); ++P)
    if (isInput(P) && isRequired(FMask[P].Kind) && (P >= Integer(Chars.size()) || Chars[P] == FBlank))
      return P;
  return -1;
}

void TCustomMaskEdit::ValidateEdit() {
  if (FMask.empty()) return;
  const Integer Bad = firstInvalid();
  if (Bad < 0) return;
  if (!Focused() && CanFocus()) SetFocus();
  SetSelStart(Bad);
  throw EDBEditError(SMaskEditErr);
}

void TCustomMaskEdit::Reset() {
  if (FMask.empty() || !Modified()) return;
  SetEditText(FOldValue);
  SetModified(false);
}

void TCustomMaskEdit::DoEnter() {
  FOldValue = EditText();
  SetModified(false);
  TCustomEdit::DoEnter();
}

void TCustomMaskEdit::WndProc(TMessage& Message) {
  if (!FMask.empty()) {
    switch (Message.Msg) {
      case WM_PASTE:
        pasteMasked();
        return;
      case WM_CUT:
        cutMasked();
        return;
      case WM_CLEAR:
        blankRange(FBuffer.SelStart(), FBuffer.SelEnd(), FBuffer.SelStart());
        return;
      case WM_SETTEXT: {
        // Text from code fills the input positions.
        const String Formatted =
            Utf32ToUtf8(formatText(Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : ""));
        Message.LParam = reinterpret_cast<LPARAM>(Formatted.c_str());
        TCustomEdit::WndProc(Message);
        return;
      }
      case CM_EXIT:
        if (Modified() && firstInvalid() >= 0) {
          // The focus stays here; the form's move of the focus sees that and stops.
          try {
            ValidateEdit();
          } catch (const Exception& E) {
            if (Application != nullptr) Application->HandleException(this, E);
          }
          return;
        }
        break;
      default:
        break;
    }
  }
  TCustomEdit::WndProc(Message);
}

void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (FMask.empty() || Key == 0 || Shift.Contains(ssCtrl) || Shift.Contains(ssAlt)) return;
  const Integer N = Integer(FMask.size());
  const Integer Caret = FBuffer.Caret();
  switch (Key) {
    case VK_ESCAPE:
      if (!Modified()) return;
      Reset();
      SelectAll();
      break;
    case VK_RIGHT: {
      if (Shift.Contains(ssShift) || FBuffer.SelLength() > 0) return;
      const Integer Next = nextInput(Caret + 1);
      FBuffer.MoveTo(std::min(Next, N), false);
      TextReplaced(false);
      break;
    }
    case VK_LEFT: {
      if (Shift.Contains(ssShift) || FBuffer.SelLength() > 0) return;
      Integer Prev = Caret - 1;
      while (Prev > 0 && !isInput(Prev)) --Prev;
      if (Prev >= 0 && isInput(Prev)) FBuffer.MoveTo(Prev, false);
      TextReplaced(false);
      break;
    }
    case VK_HOME:
      FBuffer.MoveTo(std::min(nextInput(0), N), Shift.Contains(ssShift));
      TextReplaced(false);
      break;
    case VK_DELETE:
      if (Shift.Contains(ssShift)) {
        cutMasked();
      } else if (FBuffer.SelLength() > 0) {
        blankRange(FBuffer.SelStart(), FBuffer.SelEnd(), FBuffer.SelStart());
      } else {
        const Integer P = nextInput(Caret);
        blankRange(P, P + 1, Caret);
      }
      break;
    default:
      return;
  }
  Key = 0;
}

void TCustomMaskEdit::KeyPress(char32_t& Key) {
  TCustomEdit::KeyPress(Key);
  if (FMask.empty() || Key == 0 || FBuffer.ReadOnly()) return;
  if (Key == 27) {
    Key = 0;  // Esc was handled with its key
    return;
  }
  if (Key == 8) {
    // Backspace blanks the input position before the caret (or the selection).
    if (FBuffer.SelLength() > 0) {
      blankRange(FBuffer.SelStart(), FBuffer.SelEnd(), FBuffer.SelStart());
    } else {
      Integer Pos = FBuffer.Caret() - 1;
      while (Pos >= 0 && !isInput(Pos)) --Pos;
      if (Pos >= 0) blankRange(Pos, Pos + 1, Pos);
    }
    Key = 0;
    return;
  }
  if (Key < 0x20) return;  // Ctrl+letters: the edit's own (paste and cut come back here as messages)
  std::u32string Chars = FBuffer.Chars();
  const Integer Pos = nextInput(FBuffer.SelStart());
  const char32_t Fitted = Pos < Integer(Chars.size()) ? fit(Pos, Key) : 0;
  if (Fitted == 0) {
    MessageBeep(0);
    Key = 0;
    return;
  }
  for (Integer Q = FBuffer.SelStart(); Q < FBuffer.SelEnd(); ++Q)
    if (isInput(Q)) Chars[Q] = FBlank;
  Chars[Pos] = Fitted;
  userEdit(Chars, nextInput(Pos + 1));
  Key = 0;
}
