#include "skin/boxes/edits/bscustomedit.h"

#include <algorithm>
#include <clocale>

#include "platform/ui/core/application.h"
#include "platform/ui/core/form.h"
#include "platform/ui/menus/menuitem.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsstrings.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/menus/bsskinmenu.h"

namespace {

// The form that holds the edit, at the top of its parents.
TForm* topForm(TControl* C) {
  return dynamic_cast<TForm*>(GetParentForm(C));
}

TbsResourceStrData* captionSource(TForm* Form) {
  if (Form == nullptr) return nullptr;
  for (Integer i = 0; i < Form->ComponentCount(); ++i) {
    if (auto* SF = dynamic_cast<TbsSkinForm*>(Form->Components(i))) {
      TbsSkinData* SD = SF->SkinData();
      return SD != nullptr ? SD->ResourceStrData() : nullptr;
    }
  }
  return nullptr;
}

}  // namespace

char32_t LocaleDecimalSeparator() {
  const lconv* L = std::localeconv();
  return (L != nullptr && L->decimal_point != nullptr && L->decimal_point[0] != 0)
             ? char32_t(static_cast<unsigned char>(L->decimal_point[0]))
             : U'.';
}

// ---- TbsCustomEdit ----

TbsCustomEdit::TbsCustomEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  FControlStyle.Include(csOpaque);
}

TbsCustomEdit::~TbsCustomEdit() {
  delete FSysPopupMenu;
}

void TbsCustomEdit::SetEditTransparent(bool Value) {
  FEditTransparent = Value;
  RecreateWnd();
}

void TbsCustomEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style &= ~DWORD(WS_BORDER);
  Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
  // A multi-line window, so descendants can set its formatting rectangle; Enter never reaches it.
  if (PasswordChar() != 0)
    Params.Style |= ES_PASSWORD;
  else
    Params.Style |= ES_MULTILINE;
}

void TbsCustomEdit::DestroyWnd() {
  FRefocusKeepsSel = HandleAllocated() && GetFocus() == Handle();
  TCustomMaskEdit::DestroyWnd();
}

void TbsCustomEdit::Change() {
  TCustomMaskEdit::Change();
  if (FEditTransparent) RePaintBuffered();
}

void TbsCustomEdit::ShowEditContextMenu(TPoint ScreenPos) {
  createSysPopupMenu(ScreenPos);
}

void TbsCustomEdit::createSysPopupMenu(TPoint ScreenPos) {
  delete FSysPopupMenu;
  FSysPopupMenu = nullptr;
  auto* Menu = new TbsSkinPopupMenu(this);
  FSysPopupMenu = Menu;
  TForm* Form = topForm(this);
  if (Form != nullptr && Form->FormStyle() == fsMDIChild && Application != nullptr &&
      Application->MainForm() != nullptr)
    Menu->SetComponentForm(dynamic_cast<TForm*>(Application->MainForm()));
  else
    Menu->SetComponentForm(Form);
  TbsResourceStrData* Source = captionSource(Form);

  const Integer Len = FBuffer.Length();
  const bool HasSel = SelLength() > 0;
  const bool AllSelected = SelStart() == 0 && SelStart() + SelLength() == Len;
  struct TEntry {
    const char* Key;
    const char* Fallback;
    bool Enabled;
    void (TCustomEdit::*Action)();
  };
  const TEntry Entries[] = {
      {"EDIT_UNDO", "Undo", CanUndo(), &TCustomEdit::Undo},
      {nullptr, "-", true, nullptr},
      {"EDIT_CUT", "Cut", HasSel && !FReadOnly, &TCustomEdit::CutToClipboard},
      {"EDIT_COPY", "Copy", HasSel, &TCustomEdit::CopyToClipboard},
      {"EDIT_PASTE", "Paste", WinClipboardHasText() && !FReadOnly, &TCustomEdit::PasteFromClipboard},
      {"EDIT_DELETE", "Delete", HasSel && !FReadOnly, &TCustomEdit::ClearSelection},
      {nullptr, "-", true, nullptr},
      {"EDIT_SELECTALL", "Select All", !AllSelected, &TCustomEdit::SelectAll},
  };
  for (const TEntry& E : Entries) {
    auto* Item = new TMenuItem(Menu);
    if (E.Key == nullptr)
      Item->SetCaption("-");
    else
      Item->SetCaption(Source != nullptr ? Source->GetResStr(E.Key) : String(E.Fallback));
    Item->SetEnabled(E.Enabled);
    if (E.Action) {
      auto Action = E.Action;
      Item->OnClick = [this, Action](TObject*) { (this->*Action)(); };
    }
    Menu->Items()->Add(Item);
  }
  Menu->Popup2(this, ScreenPos.X, ScreenPos.Y);
}

void TbsCustomEdit::wmChar(TMessage& Message) {
  const char32_t C = char32_t(Message.WParam);
  if (C == 27 || C == 13) {
    // The handler sees the key, but the form's dialog keys decide what it does.
    char32_t Copy = C;
    if (OnKeyPress) OnKeyPress(this, Copy);
    if (TCustomForm* Form = GetParentForm(this)) Form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam);
    Message.Result = 0;
    return;
  }
  if (FReadOnly && C != 3) {
    Message.Result = 0;
    return;
  }
  TCustomMaskEdit::WndProc(Message);
  if (FEditTransparent) RePaintBuffered();
}

void TbsCustomEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_AFTERDISPATCH:
      delete FSysPopupMenu;
      FSysPopupMenu = nullptr;
      return;
    case CM_CANCELMODE:
      TCustomMaskEdit::WndProc(Message);
      if (OnEditCancelMode) OnEditCancelMode(reinterpret_cast<TControl*>(Message.LParam));
      return;
    case WM_CHAR:
      wmChar(Message);
      return;
    case WM_KEYDOWN:
      if (FReadOnly && Message.WParam == VK_DELETE) return;
      break;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
      if (FReadOnly) return;
      break;
    case WM_SETFONT:
      TCustomMaskEdit::WndProc(Message);
      Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, LPARAM(2));  // left 2, right 0
      return;
    case WM_LBUTTONDOWN:
    case WM_KILLFOCUS:
      TCustomMaskEdit::WndProc(Message);
      if (FEditTransparent) RePaintBuffered();
      return;
    case WM_SETFOCUS:
      TCustomMaskEdit::WndProc(Message);
      if (FEditTransparent) RePaintBuffered();
      if (AutoSelect() && !FRefocusKeepsSel) SelectAll();
      FRefocusKeepsSel = false;
      return;
    default:
      if (paintMessage(Message)) return;
      break;
  }
  TCustomMaskEdit::WndProc(Message);
}

// ---- transparent painting ----

bool TbsCustomEdit::paintMessage(TMessage& Message) {
  if (!FEditTransparent || ComponentState().Contains(csDesigning)) return false;
  switch (Message.Msg) {
    case WM_PAINT: {
      if (FStopDraw) return false;
      HDC DC = reinterpret_cast<HDC>(Message.WParam);
      PAINTSTRUCT PS;
      const bool Begun = DC == nullptr;
      if (Begun) DC = BeginPaint(Handle(), &PS);
      if (DC != nullptr) PaintBufferedTo(DC);
      ShowCaret(Handle());
      if (Begun) EndPaint(Handle(), &PS);
      Message.Result = 0;
      return true;
    }
    case WM_ERASEBKGND: {
      if (FStopDraw) {
        TBitmap B;
        B.SetSize(Width(), Height());
        DrawParentBackground(this, B.Canvas());
        BitBlt(reinterpret_cast<HDC>(Message.WParam), 0, 0, Width(), Height(), B.Canvas()->Handle(), 0, 0,
               SRCCOPY);
      } else {
        RePaintBuffered();
      }
      Message.Result = 1;
      return true;
    }
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
      HDC DC = reinterpret_cast<HDC>(Message.WParam);
      SetBkMode(DC, TRANSPARENT);
      SetTextColor(DC, ColorToRGB(Font()->Color()));
      Message.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return true;
    }
    default:
      return false;
  }
}

void TbsCustomEdit::PaintBufferedTo(HDC DC) {
  if (!HandleAllocated() || DC == nullptr) return;
  FStopDraw = true;
  HideCaret(Handle());
  HDC MemDC = CreateCompatibleDC(DC);
  HBITMAP Bmp = CreateCompatibleBitmap(DC, std::max<Integer>(Width(), 1), std::max<Integer>(Height(), 1));
  HGDIOBJ Old = SelectObject(MemDC, Bmp);
  try {
    SendMessage(Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(MemDC), 0);
    SendMessage(Handle(), WM_PAINT, reinterpret_cast<WPARAM>(MemDC), 0);
    BitBlt(DC, 0, 0, Width(), Height(), MemDC, 0, 0, SRCCOPY);
  } catch (...) {
    SelectObject(MemDC, Old);
    DeleteObject(Bmp);
    DeleteDC(MemDC);
    ShowCaret(Handle());
    FStopDraw = false;
    throw;
  }
  SelectObject(MemDC, Old);
  DeleteObject(Bmp);
  DeleteDC(MemDC);
  ShowCaret(Handle());
  FStopDraw = false;
}

void TbsCustomEdit::RePaintBuffered() {
  if (!HandleAllocated()) return;
  HDC DC = GetDC(Handle());
  if (DC == nullptr) return;
  PaintBufferedTo(DC);
  ReleaseDC(Handle(), DC);
}

// ---- TbsSkinNumEdit ----

TbsSkinNumEdit::TbsSkinNumEdit(TComponent* AOwner) : TbsCustomEdit(AOwner) {}

bool TbsSkinNumEdit::IsValidChar(char32_t Key) {
  const char32_t Sep = LocaleDecimalSeparator() & 0xFF;
  const bool InSet = Key == U'-' || (Key >= U'0' && Key <= U'9') || (Float && Key <= 255 && Key == Sep);
  bool Valid = InSet || (Key < 32 && Key != 13);
  if (!FEditorEnabled && Valid && (Key >= 32 || Key == 8 || Key == 46)) Valid = false;
  const std::u32string& T = FBuffer.Chars();
  if (Float && Key == Sep && T.find(Sep) != std::u32string::npos) return false;
  if (Key == U'-') {
    if (SelStart() == 0 && SelLength() > 0) return true;
    if (SelStart() != 0) return false;
    if (T.find(U'-') != std::u32string::npos) Valid = false;
  }
  return Valid;
}

void TbsSkinNumEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_UP || Key == VK_DOWN) {
    TNotifyEvent& E = Key == VK_UP ? OnUpClick : OnDownClick;
    Key = 0;
    if (E) E(this);
    return;
  }
  TbsCustomEdit::KeyDown(Key, Shift);
}

void TbsSkinNumEdit::KeyPress(char32_t& Key) {
  if (!IsValidChar(Key)) {
    Key = 0;
    MessageBeep(0);
  }
  if (Key != 0) TbsCustomEdit::KeyPress(Key);
}

void TbsSkinNumEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEWHEEL:
      // Forward rotation steps down, as the numeric owners expect.
      if (GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0) {
        if (OnDownClick) OnDownClick(this);
      } else if (OnUpClick) {
        OnUpClick(this);
      }
      Message.Result = 1;
      return;
    case CM_MOUSEENTER:
      TbsCustomEdit::WndProc(Message);
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      TbsCustomEdit::WndProc(Message);
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    default:
      TbsCustomEdit::WndProc(Message);
  }
}
