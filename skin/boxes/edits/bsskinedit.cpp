#include "skin/boxes/edits/bsskinedit.h"

#include <algorithm>

#include "platform/ui/graphics/graphicsobjects.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/core/bsskinrecordslists.h"
#include "skin/core/bsstrings.h"

namespace {

constexpr UINT_PTR HoverTimer = 1;
// Hit-test values of the image buttons, as the non-client mouse messages carry them back.
constexpr LRESULT HitLeftImage = 104;
constexpr LRESULT HitRightImage = 105;
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

bool inList(TCustomImageList* L, Integer Index) {
  return L != nullptr && Index >= 0 && Index < L->Count();
}

// Right and bottom edges excluded, as the hit test wants them.
bool inside(const TRect& R, TPoint P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
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
    if (FIndex != -1) return;
    Font()->Assign(FDefaultFont.get());
    designRelayout();
  };
}

TbsSkinCustomEdit::~TbsSkinCustomEdit() {
  if (FSD) FSD->RemoveFreeNotification(this);
  if (FImages) FImages->RemoveFreeNotification(this);
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
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TbsSkinCustomEdit::Loaded() {
  TbsCustomEdit::Loaded();
  if (FSD != nullptr && FSD->ResourceStrData() != nullptr)
    Font()->SetCharset(FSD->ResourceStrData()->CharSet());
}

// The skin's string data decides the character set of drawn text; without it the default font does.
TFontCharset TbsSkinCustomEdit::textCharset() const {
  if (FSD != nullptr && FSD->ResourceStrData() != nullptr) return FSD->ResourceStrData()->CharSet();
  return FDefaultFont->Charset();
}

// At design time a width set one less and back makes the designer lay the box out anew.
void TbsSkinCustomEdit::designRelayout() {
  if (!ComponentState().Contains(csDesigning)) return;
  SetWidth(Width() - 1);
  SetWidth(Width() + 1);
}

// ---- image buttons ----

void TbsSkinCustomEdit::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  CalcImageRects(true);
  GetSkinData();
  if (!(FIndex != -1 && FUseSkinFont)) AdjustEditHeight();
  if (Align() == alNone) designRelayout();
}

void TbsSkinCustomEdit::SetLeftImageIndex(Integer Value) {
  FLeftImageIndex = Value;
  CalcImageRects(true);
  if (Align() == alNone) designRelayout();
}

void TbsSkinCustomEdit::SetRightImageIndex(Integer Value) {
  FRightImageIndex = Value;
  CalcImageRects(true);
  if (Align() == alNone) designRelayout();
}

void TbsSkinCustomEdit::SetButtonImageIndex(Integer Value) {
  if (FButtonImageIndex == Value) return;
  FButtonImageIndex = Value;
  Invalidate();
  RePaintFrame();
}

void TbsSkinCustomEdit::CalcImageRects(bool AUpdate) {
  if (FImages == nullptr) return;
  LeftButton.R = TRect();
  RightButton.R = TRect();
  TRect R = Rect(0, 0, ClientWidth(), ClientHeight());
  const Integer IW = FImages->Width();
  if (FLeftImageIndex >= 0) {
    LeftButton.R = Rect(R.Left, R.Top, R.Left + IW, R.Bottom);
    R.Left += IW + 2;
  }
  if (FRightImageIndex >= 0) {
    RightButton.R = Rect(R.Right - IW, R.Top, R.Right, R.Bottom);
    R.Right -= IW + 2;
  }
  if (AUpdate && HandleAllocated()) SendMessage(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
}

LRESULT TbsSkinCustomEdit::hitImageButtons(TPoint P) {
  auto hot = [&](TbsCBButtonX& B, bool Value) {
    if (B.MouseIn == Value) return;
    B.MouseIn = Value;
    RePaintBuffered();
  };
  if (FLeftImageIndex >= 0 && inside(LeftButton.R, P)) {
    hot(LeftButton, true);
    return HitLeftImage;
  }
  if (FRightImageIndex >= 0 && inside(RightButton.R, P)) {
    hot(RightButton, true);
    return HitRightImage;
  }
  hot(LeftButton, false);
  hot(RightButton, false);
  return 0;
}

void TbsSkinCustomEdit::imageButtonsNotHot() {
  bool Changed = false;
  for (TbsCBButtonX* B : {&LeftButton, &RightButton})
    if (B->MouseIn) {
      B->MouseIn = false;
      Changed = true;
    }
  if (Changed) RePaintBuffered();
}

void TbsSkinCustomEdit::takeFocus() {
  if (!focused()) SetFocus();
}

// Press and release on the image buttons (the hit test gave 104 or 105).
bool TbsSkinCustomEdit::imageButtonMessage(TMessage& Message) {
  if (FImages == nullptr) return false;
  const bool Left = LRESULT(Message.WParam) == HitLeftImage;
  if (!Left && LRESULT(Message.WParam) != HitRightImage) return false;
  TbsCBButtonX& B = Left ? LeftButton : RightButton;
  if (Message.Msg == WM_NCLBUTTONUP) {
    // Only a press that began on the button clicks it.
    if (!B.Down) return false;
    B.Down = false;
    RePaintBuffered();
    const TNotifyEvent& Click = Left ? OnLeftButtonClick : OnRightButtonClick;
    if (Click) Click(this);
  } else {
    B.Down = true;
    takeFocus();
    RePaintBuffered();
  }
  Message.Result = 0;
  return true;
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
  if (FIndex == -1) {
    H += 2;
    if (FImages != nullptr && FImages->Height() > H) H = FImages->Height();
    return H + 4;
  }
  if (FImages != nullptr && FImages->Height() > H) H = FImages->Height();
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

void TbsSkinCustomEdit::BeforeChangeSkinData() {
  FIndex = -1;
  Picture = nullptr;
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
  Font()->SetCharset(textCharset());
  RecreateWnd();
  if (FIndex == -1)
    Font()->SetColor(FDefaultFont->Color());
  else
    applyStateFontColor();
  if (!FUseSkinFont) AdjustEditHeight();
  RePaintFrame();
  if (FImages != nullptr) {
    CalcImageRects(true);
    RePaintBuffered();
  }
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
  if (FIndex == -1) return FButtonMode || FImages != nullptr;
  return FButtonMode || FImages != nullptr || !(ActiveSkinRect == SkinRect) || FontColor != ActiveFontColor;
}

void TbsSkinCustomEdit::doMouseEnter() {
  FMouseIn = true;
  if (!focused() && FIndex != -1) {
    Font()->SetColor(ActiveFontColor);
    if (FImages != nullptr) CalcImageRects(true);
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
    if (FImages != nullptr) CalcImageRects(true);
    RePaintFrame();
  }
  if (FButtonDown || FButtonActive) {
    FButtonDown = false;
    FButtonActive = false;
    RePaintFrame();
  }
  if (FImages != nullptr) imageButtonsNotHot();
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
      const TPoint Client =
          ScreenToClient(TPoint{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
      if (FImages != nullptr) {
        const LRESULT Hit = hitImageButtons(Client);
        if (Hit != 0) {
          Message.Result = Hit;
          return true;
        }
      }
      if (FButtonMode) {
        TPoint P = Client;
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
      if (!Designing && imageButtonMessage(Message)) return true;
      if (Designing || !FButtonMode || Message.WParam != HTHSCROLL) return false;
      FButtonDown = true;
      RePaintFrame();
      Message.Result = 0;
      return true;
    case WM_NCLBUTTONUP:
      if (!Designing && imageButtonMessage(Message)) return true;
      if (Designing || !FButtonMode || Message.WParam != HTHSCROLL) return false;
      // Fires on every release over the button, wherever the press began.
      FButtonDown = false;
      RePaintFrame();
      takeFocus();
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
      if (FImages != nullptr) CalcImageRects(true);
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
      CalcImageRects(true);
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
    case WM_ERASEBKGND: {
      TCanvas C;
      if (ComponentState().Contains(csDesigning)) {
        TbsCustomEdit::WndProc(Message);
        if (FImages != nullptr) {
          C.SetHandle(reinterpret_cast<HDC>(Message.WParam));
          DrawImages(&C);
          C.SetHandle(nullptr);
        }
        return;
      }
      if (FStopDraw) {
        C.SetHandle(reinterpret_cast<HDC>(Message.WParam));
        DrawEditBackground(&C);
        DrawImages(&C);
        C.SetHandle(nullptr);
      } else {
        RePaintBuffered();
      }
      Message.Result = 1;
      return;
    }
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

// The default look: a shadow ring, an inner ring and DefaultColor inside, the frame ending at
// FrameRight; in button mode the flat edit button on FButtonRect.
void TbsSkinCustomEdit::drawDefaultFrame(TBitmap* B, TColor InnerRing, Integer FrameRight,
                                         bool ShowButtonState) {
  TCanvas* C = B->Canvas();
  TRect R = Rect(0, 0, FrameRight, Height());
  ring(C, R, clBtnShadow);
  InflateRect(&R, -1, -1);
  ring(C, R, InnerRing);
  InflateRect(&R, -1, -1);
  fill(C, R, FDefaultColor);
  if (!FButtonMode) return;
  TColor Ring = clBtnShadow, Fill = clBtnFace;
  if (ShowButtonState && FButtonDown && FButtonActive) {
    Ring = TColor(HotRing);
    Fill = TColor(DownFill);
  } else if (ShowButtonState && FButtonActive) {
    Ring = TColor(HotRing);
    Fill = TColor(HotFill);
  }
  fill(C, FButtonRect, Fill);
  ring(C, FButtonRect, Ring);
  drawButtonImage(C, FButtonRect);
}

// ButtonImageIndex centred in R, enabled as the box.
void TbsSkinCustomEdit::drawButtonImage(TCanvas* C, const TRect& R) {
  if (!inList(FImages, FButtonImageIndex)) return;
  const Integer X = R.Left + RectWidth(R) / 2 - FImages->Width() / 2;
  const Integer Y = R.Top + RectHeight(R) / 2 - FImages->Height() / 2;
  FImages->Draw(C, X, Y, FButtonImageIndex, Enabled());
}

void TbsSkinCustomEdit::DrawEditFrame(TCanvas* C) {
  GetSkinData();
  CalcRects();
  if (Width() <= 0 || Height() <= 0) return;
  TBitmap B;
  B.SetSize(Width(), Height());
  if (FIndex == -1 || Picture == nullptr) {
    // In button mode the frame reaches one pixel under the button.
    const Integer A = FButtonMode ? Width() - FButtonRect.Left - 1 : 0;
    drawDefaultFrame(&B, Color(), Width() - A, true);
  } else if (FUseSkinFont) {
    ComposeSkinImageH(LOffset, ROffset, &B, Picture, statePicture(), Width(), RectHeight(SkinRect),
                      StretchEffect);
    if (FButtonMode) {
      // The resting button is part of the frame picture.
      TRect Pic;
      if (!Enabled() && !IsRectEmpty(&UnEnabledButtonRect))
        Pic = UnEnabledButtonRect;
      else if (FButtonDown && FButtonActive)
        Pic = DownButtonRect;
      else if (FButtonActive)
        Pic = ActiveButtonRect;
      if (!IsRectEmpty(&Pic)) B.Canvas()->CopyRect(FButtonRect, Picture->Canvas(), Pic);
      drawButtonImage(B.Canvas(), FButtonRect);
    }
  } else {
    ComposeStretchedSkinImage(&B, Picture, statePicture(), ClRect, true);
    if (FButtonMode) DrawEditButton(B.Canvas(), FButtonRect);
  }
  BitBlt(C->Handle(), 0, 0, B.Width(), B.Height(), B.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TbsSkinCustomEdit::DrawEditButton(TCanvas* C, const TRect& R) {
  if (FSD == nullptr) return;
  Integer I = -1;
  for (const char* Name : {"editbutton", "combobutton", "resizebutton"})
    if ((I = FSD->GetControlIndex(Name)) != -1) break;
  if (I == -1) return;
  auto* E = dynamic_cast<TbsDataSkinButtonControl*>(FSD->Ctrls(I));
  TBitmap* Source = E != nullptr ? SkinPictureAt(FSD, E->PictureIndex) : nullptr;
  const Integer W = RectWidth(R), H = RectHeight(R);
  if (Source == nullptr || W <= 0 || H <= 0) return;
  const TRect Active = IsRectEmpty(&E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
  const TRect Down = IsRectEmpty(&E->DownSkinRect) ? Active : E->DownSkinRect;
  const TRect State = (FButtonDown && FButtonActive) ? Down : FButtonActive ? Active : E->SkinRect;
  const Integer DX = W - RectWidth(E->SkinRect), DY = H - RectHeight(E->SkinRect);
  const TPoint NewRT{E->RTPoint.X + DX, E->RTPoint.Y};
  const TPoint NewLB{E->LBPoint.X, E->LBPoint.Y + DY};
  const TPoint NewRB{E->RBPoint.X + DX, E->RBPoint.Y + DY};
  const TRect NewCl = Rect(E->ClRect.Left, E->ClRect.Top, E->ClRect.Right + DX, E->ClRect.Bottom + DY);
  TBitmap B;
  ComposeSkinImage(E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect, E->LTPoint, NewRT, NewLB, NewRB,
                   NewCl, &B, Source, State, W, H, true, E->LeftStretch, E->TopStretch, E->RightStretch,
                   E->BottomStretch, E->StretchEffect, E->StretchType);
  drawButtonImage(B.Canvas(), Rect(0, 0, W, H));
  BitBlt(C->Handle(), R.Left, R.Top, W, H, B.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TbsSkinCustomEdit::DrawImages(TCanvas* C) {
  if (FImages == nullptr) return;
  CalcImageRects(false);
  auto draw = [&](const TbsCBButtonX& B, Integer Normal, Integer Hot, Integer Down) {
    if (!inList(FImages, Normal)) return;
    Integer Index = Normal;
    if (B.Down && B.MouseIn && inList(FImages, Down))
      Index = Down;
    else if (B.MouseIn && inList(FImages, Hot))
      Index = Hot;
    const Integer Y = std::max<Integer>(B.R.Top, B.R.Top + RectHeight(B.R) / 2 - FImages->Height() / 2);
    FImages->Draw(C, B.R.Left, Y, Index, Enabled());
  };
  draw(LeftButton, FLeftImageIndex, FLeftImageHotIndex, FLeftImageDownIndex);
  draw(RightButton, FRightImageIndex, FRightImageHotIndex, FRightImageDownIndex);
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
    C.Font()->SetCharset(textCharset());
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

void TbsSkinCustomEdit::PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText) {
  GetSkinData();
  CalcRects();
  if (Width() <= 0 || Height() <= 0) return;
  TBitmap B;
  B.SetSize(Width(), Height());
  TCanvas* BC = B.Canvas();
  if (FIndex == -1 || Picture == nullptr) {
    drawDefaultFrame(&B, clBtnFace, FButtonMode ? FButtonRect.Left : Width(), false);
  } else if (FUseSkinFont) {
    ComposeSkinImageH(LOffset, ROffset, &B, Picture, SkinRect, Width(), RectHeight(SkinRect), StretchEffect);
  } else {
    ComposeStretchedSkinImage(&B, Picture, SkinRect, ClRect, true);
    if (FButtonMode) {
      // The resting look: no hover or press on the button.
      const bool Down = FButtonDown, Active = FButtonActive;
      FButtonDown = FButtonActive = false;
      DrawEditButton(BC, FButtonRect);
      FButtonDown = Down;
      FButtonActive = Active;
    }
  }
  if (FIndex != -1 && FUseSkinFont) {
    BC->Font()->SetName(FontName);
    BC->Font()->SetHeight(FontHeight);
    BC->Font()->SetColor(FontColor);
    BC->Font()->SetStyle(FontStyle);
  } else {
    BC->Font()->Assign(FDefaultFont.get());
  }
  BC->Font()->SetCharset(textCharset());
  TRect T = FEditRect;
  if (FImages != nullptr) {
    if (FLeftImageIndex >= 0) T.Left += FImages->Width() + 2;
    if (FRightImageIndex >= 0) T.Right -= FImages->Width() + 2;
  }
  const Integer TW = BC->TextWidth(AText);
  Integer TX = T.Left + 2;
  if (TCustomEdit::Alignment() == taRightJustify)
    TX = T.Right - TW;
  else if (TCustomEdit::Alignment() == taCenter)
    TX = T.Left + 2 + RectWidth(T) / 2 - TW / 2;
  BC->Brush()->SetStyle(bsClear);
  BC->TextRect(T, TX, T.Top, AText);
  C->Draw(X, Y, &B);
}
