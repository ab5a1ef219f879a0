#include "skin/boxes/edits/bsskinedit.h"

#include <algorithm>

#include "platform/ui/graphics/graphicsobjects.h"
#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsskinrecordslists.h"

namespace {

constexpr UINT_PTR HoverTimer = 1;
constexpr UINT PaintFrameRequest = 0xB1C9;
constexpr LRESULT PaintFrameDone = 12851;
constexpr UINT PaintFrameClippedRequest = 0xBC4B;
constexpr LPARAM PaintFrameClippedKey = 16802;

const COLORREF HotRing = RGB(59, 107, 183);
const COLORREF HotFill = RGB(193, 212, 243);
const COLORREF DownFill = RGB(162, 188, 228);

void ring(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FrameRect(R);
}

void fill(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

}  // namespace

TbsSkinCustomEdit::TbsSkinCustomEdit(TComponent* AOwner) : TbsCustomEdit(AOwner), FDefaultColor(clWindow) {
  FControlStyle.Include(csOpaque);
  SetAutoSize(false);
  Font()->SetName("Tahoma");
  Font()->SetColor(clBlack);
  Font()->SetStyle({});
  Font()->SetHeight(13);
  SetHeight(20);
  SetBorderStyle(bsNone);
  SetEditTransparent(true);
  FDefaultFont = std::make_unique<TFont>();
  FDefaultFont->Assign(Font());
  FDefaultFont->OnChange = [this](TObject*) {
    if (FIndex == -1) Font()->Assign(FDefaultFont.get());
  };
}

TbsSkinCustomEdit::~TbsSkinCustomEdit() {
  if (FSD) FSD->RemoveFreeNotification(this);
  FDefaultFont->OnChange = nullptr;
}

// ---- properties ----

void TbsSkinCustomEdit::SetSkinData(TbsSkinData* Value) {
  // The skin may go before the edit: it tells us, and the edit falls back to its default look.
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  if (FSD != nullptr && !FSD->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TbsSkinCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TbsCustomEdit::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) {
    FSD = nullptr;
    FIndex = -1;
    Picture = nullptr;
  }
}

void TbsSkinCustomEdit::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (FIndex == -1) RePaintFrame();
}

void TbsSkinCustomEdit::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  if (FIndex == -1) Font()->Assign(Value);
}

void TbsSkinCustomEdit::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsSkinCustomEdit::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (FIndex == -1 && Value > 0 && FUseSkinFont)
    SetHeight(Value);
  else
    AdjustEditHeight();
}

void TbsSkinCustomEdit::SetButtonMode(bool Value) {
  FButtonMode = Value;
  if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
    FSkinDataName = Value ? "buttonedit" : "edit";
  RecreateWnd();
}

// ---- skin and geometry ----

void TbsSkinCustomEdit::GetSkinData() {
  FIndex = (FSD == nullptr || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
  if (FIndex == -1) {
    Picture = nullptr;
    return;
  }
  auto* E = dynamic_cast<TbsDataSkinEditControl*>(FSD->Ctrls(FIndex));
  if (E == nullptr) return;
  Picture = SkinPictureAt(FSD, E->PictureIndex);
  SkinRect = E->SkinRect;
  ActiveSkinRect = IsRectEmpty(&E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
  LOffset = E->LTPoint.X;
  ROffset = RectWidth(SkinRect) - E->RTPoint.X;
  ClRect = E->ClRect;
  FontName = E->FontName;
  FontStyle = E->FontStyle;
  FontHeight = E->FontHeight;
  FontColor = E->FontColor;
  DisabledFontColor = E->DisabledFontColor;
  ActiveFontColor = E->ActiveFontColor;
  ButtonRect = E->ButtonRect;
  ActiveButtonRect = E->ActiveButtonRect;
  DownButtonRect = IsRectEmpty(&E->DownButtonRect) ? E->ActiveButtonRect : E->DownButtonRect;
  UnEnabledButtonRect = E->UnEnabledButtonRect;
  StretchEffect = E->StretchEffect;
}

void TbsSkinCustomEdit::CalcRects() {
  if (FIndex == -1) {
    if (FButtonMode) {
      FButtonRect = Rect(Width() - Height(), 0, Width(), Height());
      FEditRect = Rect(2, 2, FButtonRect.Left - 2, Height() - 2);
    } else {
      FButtonRect = TRect();
      FEditRect = Rect(2, 2, Width() - 2, Height() - 2);
    }
    return;
  }
  const Integer D = Width() - RectWidth(SkinRect);
  FEditRect = ClRect;
  FEditRect.Right += D;
  FButtonRect = ButtonRect;
  if (ButtonRect.Left >= RectWidth(SkinRect) - ROffset) OffsetRect(&FButtonRect, D, 0);
  if (!FUseSkinFont) {
    const Integer DY = Height() - RectHeight(SkinRect);
    FEditRect.Bottom += DY;
    FButtonRect.Bottom += DY;
  }
}

Integer TbsSkinCustomEdit::GetEditHeight() {
  GetSkinData();
  TBitmap B;
  B.Canvas()->Font()->Assign(Font());
  TEXTMETRIC TM;
  GetTextMetrics(B.Canvas()->Handle(), &TM);
  Integer H = TM.tmHeight;
  if (FIndex == -1) return H + 2 + 4;
  return H + RectHeight(SkinRect) - RectHeight(ClRect);
}

void TbsSkinCustomEdit::AdjustEditHeight() {
  SetHeight(GetEditHeight());
}

void TbsSkinCustomEdit::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  GetSkinData();
  const bool SizeChanged = (AWidth != Width() || AHeight != Height()) && !(FIndex == -1 && FUseSkinFont);
  if (FIndex == -1 && Align() != alClient && Align() != alLeft && Align() != alRight) {
    AHeight = GetEditHeight();
  } else if (SizeChanged) {
    if (FUseSkinFont && FIndex != -1)
      AHeight = RectHeight(SkinRect);
    else if (!FUseSkinFont)
      AHeight = GetEditHeight();
  }
  TbsCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  RePaintFrame();
}

void TbsSkinCustomEdit::ChangeSkinData() {
  GetSkinData();
  if (FIndex != -1) {
    if (FUseSkinFont) {
      Font()->SetName(FontName);
      Font()->SetStyle(FontStyle);
      SetHeight(RectHeight(SkinRect));
      Font()->SetHeight(FontHeight);
    } else {
      Font()->Assign(FDefaultFont.get());
    }
    applyStateFontColor();
  } else {
    Font()->Assign(FDefaultFont.get());
    if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
  }
  RecreateWnd();
  if (FIndex == -1)
    Font()->SetColor(FDefaultFont->Color());
  else
    applyStateFontColor();
  if (!FUseSkinFont) AdjustEditHeight();
  RePaintFrame();
}

void TbsSkinCustomEdit::applyStateFontColor() {
  Font()->SetColor(focused() ? ActiveFontColor : FontColor);
}

bool TbsSkinCustomEdit::focused() const {
  return HandleAllocated() && GetFocus() == const_cast<TbsSkinCustomEdit*>(this)->Handle();
}

void TbsSkinCustomEdit::CreateParams(TCreateParams& Params) {
  TbsCustomEdit::CreateParams(Params);
  Params.ExStyle &= ~DWORD(WS_EX_TRANSPARENT);
  Params.Style &= ~DWORD(WS_BORDER);
}

// ---- hover and the edit button ----

bool TbsSkinCustomEdit::needHoverTimer() const {
  if (FIndex == -1) return FButtonMode;
  return FButtonMode || !(ActiveSkinRect == SkinRect) || FontColor != ActiveFontColor;
}

void TbsSkinCustomEdit::doMouseEnter() {
  FMouseIn = true;
  if (!focused() && FIndex != -1) {
    Font()->SetColor(ActiveFontColor);
    RePaintFrame();
  }
  if (OnMouseEnter) OnMouseEnter(this);
  if (needHoverTimer() && HandleAllocated()) {
    KillTimer(Handle(), HoverTimer);
    SetTimer(Handle(), HoverTimer, 100, nullptr);
  }
}

void TbsSkinCustomEdit::doMouseLeave() {
  FMouseIn = false;
  if (!focused() && FIndex != -1) {
    Font()->SetColor(FontColor);
    RePaintFrame();
  }
  if (FButtonDown || FButtonActive) {
    FButtonDown = false;
    FButtonActive = false;
    RePaintFrame();
  }
  if (OnMouseLeave) OnMouseLeave(this);
}

bool TbsSkinCustomEdit::nonClientMessage(TMessage& Message) {
  const bool Designing = ComponentState().Contains(csDesigning);
  switch (Message.Msg) {
    case WM_NCCALCSIZE: {
      GetSkinData();
      RECT* R = Message.WParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                    : reinterpret_cast<RECT*>(Message.LParam);
      if (FIndex == -1) {
        R->Left += 2;
        R->Top += 2;
        R->Bottom -= 2;
        R->Right -= FButtonMode ? Height() + 2 : 2;
      } else {
        R->Left += ClRect.Left;
        R->Top += ClRect.Top;
        R->Right -= RectWidth(SkinRect) - ClRect.Right;
        R->Bottom -= RectHeight(SkinRect) - ClRect.Bottom;
      }
      Message.Result = 0;
      return true;
    }
    case WM_NCHITTEST: {
      if (Designing) return false;
      if (!FMouseIn) doMouseEnter();
      if (FButtonMode) {
        TPoint P = ScreenToClient(TPoint{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
        GetSkinData();
        if (FIndex == -1)
          P = TPoint{P.X + 2, P.Y + 2};
        else
          P = TPoint{P.X + ClRect.Left, P.Y + ClRect.Top};
        CalcRects();
        if (PtInRect(&FButtonRect, P)) {
          Message.Result = HTHSCROLL;
          return true;
        }
        if (!PtInRect(&FEditRect, P)) {
          Message.Result = HTVSCROLL;
          return true;
        }
      }
      return false;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (Designing || !FButtonMode || Message.WParam != HTHSCROLL) return false;
      FButtonDown = true;
      RePaintFrame();
      Message.Result = 0;
      return true;
    case WM_NCLBUTTONUP:
      if (Designing || !FButtonMode || Message.WParam != HTHSCROLL) return false;
      // Fires on every release over the button, wherever the press began.
      FButtonDown = false;
      RePaintFrame();
      if (!focused()) SetFocus();
      if (OnButtonClick) OnButtonClick(this);
      Message.Result = 0;
      return true;
    case WM_NCMOUSEMOVE:
      if (Designing || !FButtonMode) return false;
      if (Message.WParam == HTHSCROLL) {
        if (!FButtonActive) {
          FButtonActive = true;
          RePaintFrame();
        }
        Message.Result = 0;
        return true;
      }
      if (FButtonActive) {
        FButtonActive = false;
        RePaintFrame();
      }
      return false;
    case WM_NCPAINT: {
      if (!HandleAllocated()) return true;
      HDC DC = GetWindowDC(Handle());
      if (DC != nullptr) {
        GetSkinData();
        CalcRects();
        ExcludeClipRect(DC, FEditRect.Left, FEditRect.Top, FEditRect.Right, FEditRect.Bottom);
        TCanvas C;
        C.SetHandle(DC);
        DrawEditFrame(&C);
        C.SetHandle(nullptr);
        ReleaseDC(Handle(), DC);
      }
      if (!Designing) RePaintBuffered();
      Message.Result = 0;
      return true;
    }
    default:
      return false;
  }
}

void TbsSkinCustomEdit::WndProc(TMessage& Message) {
  if (nonClientMessage(Message)) return;
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      TbsCustomEdit::WndProc(Message);
      if (FButtonMode && FButtonActive) {
        FButtonActive = false;
        RePaintFrame();
      }
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TbsCustomEdit::WndProc(Message);
      RePaintFrame();
      if (!FMouseIn && FIndex != -1)
        Font()->SetColor(Message.Msg == WM_SETFOCUS ? ActiveFontColor : FontColor);
      Invalidate();
      return;
    case WM_TIMER:
      TbsCustomEdit::WndProc(Message);
      if (Message.WParam == HoverTimer) {
        POINT P;
        GetCursorPos(&P);
        if (WindowFromPoint(P) != Handle()) {
          KillTimer(Handle(), HoverTimer);
          doMouseLeave();
        }
      }
      return;
    case WM_DESTROY:
      KillTimer(Handle(), HoverTimer);
      FMouseIn = false;
      break;
    case WM_SIZE:
      TbsCustomEdit::WndProc(Message);
      RePaintFrame();
      return;
    case CM_ENABLEDCHANGED:
      TbsCustomEdit::WndProc(Message);
      Invalidate();
      return;
    case CM_FONTCHANGED:
      TbsCustomEdit::WndProc(Message);
      if (FUseSkinFont) return;
      if (!(ComponentState().Contains(csDesigning) && ComponentState().Contains(csLoading))) {
        AdjustEditHeight();
        if (FIndex == -1) RecreateWnd();
      }
      return;
    case WM_ERASEBKGND:
      if (FStopDraw && !ComponentState().Contains(csDesigning)) {
        TCanvas C;
        C.SetHandle(reinterpret_cast<HDC>(Message.WParam));
        DrawEditBackground(&C);
        C.SetHandle(nullptr);
        Message.Result = 1;
        return;
      }
      break;
    case WM_PAINT:
      if (!Enabled() && !ComponentState().Contains(csDesigning)) {
        paintDisabled(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 0;
        return;
      }
      break;
    case PaintFrameRequest:
      if (Message.WParam != 0) {
        TCanvas C;
        C.SetHandle(reinterpret_cast<HDC>(Message.WParam));
        DrawEditFrame(&C);
        C.SetHandle(nullptr);
        Message.Result = PaintFrameDone;
      } else {
        Message.Result = 0;
      }
      return;
    case PaintFrameClippedRequest:
      if (Message.LParam != PaintFrameClippedKey) break;
      if (Message.WParam != 0) {
        HDC DC = reinterpret_cast<HDC>(Message.WParam);
        GetSkinData();
        CalcRects();
        const Integer Saved = SaveDC(DC);
        ExcludeClipRect(DC, FEditRect.Left, FEditRect.Top, FEditRect.Right, FEditRect.Bottom);
        TCanvas C;
        C.SetHandle(DC);
        DrawEditFrame(&C);
        C.SetHandle(nullptr);
        RestoreDC(DC, Saved);
      }
      Message.Result = PaintFrameClippedKey;
      return;
    default:
      break;
  }
  TbsCustomEdit::WndProc(Message);
}

// ---- painting ----

TRect TbsSkinCustomEdit::statePicture() const {
  return (FMouseIn || focused()) ? ActiveSkinRect : SkinRect;
}

void TbsSkinCustomEdit::drawDefaultFrame(TBitmap* B) {
  TCanvas* C = B->Canvas();
  const Integer A = FButtonMode ? Width() - FButtonRect.Left - 1 : 0;
  TRect R = Rect(0, 0, Width() - A, Height());
  ring(C, R, clBtnShadow);
  InflateRect(&R, -1, -1);
  ring(C, R, Color());
  InflateRect(&R, -1, -1);
  fill(C, R, FDefaultColor);
  if (!FButtonMode) return;
  TColor Ring = clBtnShadow, Fill = clBtnFace;
  if (FButtonDown && FButtonActive) {
    Ring = TColor(HotRing);
    Fill = TColor(DownFill);
  } else if (FButtonActive) {
    Ring = TColor(HotRing);
    Fill = TColor(HotFill);
  }
  fill(C, FButtonRect, Fill);
  ring(C, FButtonRect, Ring);
}

void TbsSkinCustomEdit::DrawEditFrame(TCanvas* C) {
  GetSkinData();
  CalcRects();
  if (Width() <= 0 || Height() <= 0) return;
  TBitmap B;
  B.SetSize(Width(), Height());
  if (FIndex == -1 || Picture == nullptr) {
    drawDefaultFrame(&B);
  } else if (FUseSkinFont) {
    ComposeSkinImageH(LOffset, ROffset, &B, Picture, statePicture(), Width(), RectHeight(SkinRect),
                      StretchEffect);
    if (FButtonMode) {
      TRect Pic;
      if (!Enabled() && !IsRectEmpty(&UnEnabledButtonRect))
        Pic = UnEnabledButtonRect;
      else if (FButtonDown && FButtonActive)
        Pic = DownButtonRect;
      else if (FButtonActive)
        Pic = ActiveButtonRect;
      if (!IsRectEmpty(&Pic)) B.Canvas()->CopyRect(FButtonRect, Picture->Canvas(), Pic);
    }
  } else {
    ComposeStretchedSkinImage(&B, Picture, statePicture(), ClRect, true);
  }
  BitBlt(C->Handle(), 0, 0, B.Width(), B.Height(), B.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TbsSkinCustomEdit::DrawEditBackground(TCanvas* C) {
  GetSkinData();
  CalcRects();
  const Integer W = RectWidth(FEditRect), H = RectHeight(FEditRect);
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  if (FIndex == -1 || Picture == nullptr) {
    fill(B.Canvas(), Rect(0, 0, W, H), FDefaultColor);
    BitBlt(C->Handle(), 0, 0, W, H, B.Canvas()->Handle(), 0, 0, SRCCOPY);
    return;
  }
  const TRect State = statePicture();
  const TRect Source =
      Bounds(State.Left + ClRect.Left, State.Top + ClRect.Top, RectWidth(ClRect), RectHeight(ClRect));
  const Integer L = std::max<Integer>(0, LOffset - ClRect.Left);
  const Integer R = std::max<Integer>(0, ClRect.Right - (RectWidth(SkinRect) - ROffset));
  ComposeSkinImageH(L, R, &B, Picture, Source, W, RectHeight(ClRect), StretchEffect);
  if (FUseSkinFont)
    BitBlt(C->Handle(), 0, 0, W, H, B.Canvas()->Handle(), 0, 0, SRCCOPY);
  else
    C->StretchDraw(Rect(0, 0, W, H), &B);
}

void TbsSkinCustomEdit::paintDisabled(HDC Given) {
  PAINTSTRUCT PS;
  HDC DC = Given != nullptr ? Given : BeginPaint(Handle(), &PS);
  if (DC != nullptr) {
    TCanvas C;
    C.SetHandle(DC);
    DrawEditBackground(&C);
    if (FIndex != -1 && FUseSkinFont) {
      C.Font()->SetName(FontName);
      C.Font()->SetHeight(FontHeight);
      C.Font()->SetStyle(FontStyle);
      C.Font()->SetColor(DisabledFontColor);
    } else {
      C.Font()->Assign(FDefaultFont.get());
      C.Font()->SetColor(FIndex == -1 ? clGrayText : DisabledFontColor);
    }
    const TRect T = Rect(0, 0, RectWidth(FEditRect), RectHeight(FEditRect));
    const String S = Text();
    const Integer TW = C.TextWidth(S);
    Integer X = 2;
    if (TCustomEdit::Alignment() == taRightJustify)
      X = RectWidth(T) - 1 - TW;
    else if (TCustomEdit::Alignment() == taCenter)
      X = RectWidth(T) / 2 + 2 - TW / 2 - 1;
    C.Brush()->SetStyle(bsClear);
    C.TextRect(T, X, 0, S);
    C.SetHandle(nullptr);
  }
  if (Given == nullptr) EndPaint(Handle(), &PS);
}

void TbsSkinCustomEdit::RePaintFrame() {
  if (Parent() == nullptr || !HandleAllocated()) return;
  SendMessage(Handle(), WM_NCPAINT, 0, 0);
  RePaintBuffered();
}

void TbsSkinCustomEdit::RePaintBuffered() {
  // The window's drawing context covers the client area only.
  if (!HandleAllocated() || FStopDraw) return;
  HDC DC = GetDC(Handle());
  if (DC == nullptr) return;
  FStopDraw = true;
  HideCaret(Handle());
  const Integer W = std::max<Integer>(ClientWidth(), 1), H = std::max<Integer>(ClientHeight(), 1);
  HDC MemDC = CreateCompatibleDC(DC);
  HBITMAP Bmp = CreateCompatibleBitmap(DC, W, H);
  HGDIOBJ Old = SelectObject(MemDC, Bmp);
  SendMessage(Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(MemDC), 0);
  SendMessage(Handle(), WM_PAINT, reinterpret_cast<WPARAM>(MemDC), 0);
  BitBlt(DC, 0, 0, W, H, MemDC, 0, 0, SRCCOPY);
  SelectObject(MemDC, Old);
  DeleteObject(Bmp);
  DeleteDC(MemDC);
  ShowCaret(Handle());
  FStopDraw = false;
  ReleaseDC(Handle(), DC);
}
