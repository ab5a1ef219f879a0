#include "skin/controls/buttons/bsskincheckradiobox.h"

#include "platform/gdi/text.h"
#include "platform/ui/menus/menuitem.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bseffectbmp.h"
#include "skin/core/bsglyphs.h"

namespace {

constexpr Cardinal MorphInterval = 20;
constexpr TColor HoverFrameColor = TColor(0xB76B3B);  // RGB(59, 107, 183)

bool rectInside(const TRect& R, const TBitmap* B) {
  return !IsEmptyRect(R) && R.Left >= 0 && R.Top >= 0 && R.Right <= B->Width() && R.Bottom <= B->Height();
}

}  // namespace

TbsSkinCheckRadioBox::TbsSkinCheckRadioBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  // The control raises its own OnClick from its state changes; a quick second press is a press.
  FControlStyle.Exclude(csClickEvents);
  FControlStyle.Exclude(csDoubleClicks);
  FSkinDataName = "checkbox";
  SetTabStop(false);
  SetBounds(FLeft, FTop, 150, 25);
}

TbsSkinCheckRadioBox::~TbsSkinCheckRadioBox() {
  *FAlive = false;
  StopMorph();
  if (FImages) FImages->RemoveFreeNotification(this);
}

// ---- properties ----

void TbsSkinCheckRadioBox::SetChecked(bool Value) {
  auto Alive = FAlive;
  FChecked = Value;
  // A grayed box set to unchecked stays grayed.
  if (Value || FState == cbChecked) FState = Value ? cbChecked : cbUnchecked;
  Repaint();
  if (FChecked && FGroupIndex != 0 && Parent() != nullptr) {
    TWinControl* P = Parent();
    for (Integer i = 0; i < P->ControlCount(); ++i) {
      auto* B = dynamic_cast<TbsSkinCheckRadioBox*>(P->Controls(i));
      if (B != nullptr && B != this && B->FGroupIndex == FGroupIndex && B->FChecked) {
        B->SetChecked(false);
        if (!*Alive) return;
      }
    }
  }
  if (OnClick && (!FRadio || FChecked)) fireClick();
}

void TbsSkinCheckRadioBox::SetState(TCheckBoxState Value) {
  FState = Value;
  FChecked = Value == cbChecked;
  Repaint();
  if (OnClick) fireClick();
}

void TbsSkinCheckRadioBox::fireClick() {
  // From a copy: a handler that frees the control must not free the handler while it runs.
  const TNotifyEvent Handler = OnClick;
  Handler(this);
}

void TbsSkinCheckRadioBox::Toggle() {
  if (!FRadio)
    SetChecked(!FChecked);
  else if (!FChecked)
    SetChecked(true);
}

void TbsSkinCheckRadioBox::SetRadio(bool Value) {
  FRadio = Value;
  if (designing() && !ComponentState().Contains(csLoading)) {
    SetSkinDataName(Value ? "radiobox" : "checkbox");
    FGroupIndex = Value ? 1 : 0;
  }
  Repaint();
}

void TbsSkinCheckRadioBox::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TbsSkinCheckRadioBox::SetFlat(bool Value) {
  FFlat = Value;
  Repaint();
}

void TbsSkinCheckRadioBox::SetAllowGrayed(bool Value) {
  FAllowGrayed = Value;
  Repaint();
}

void TbsSkinCheckRadioBox::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  Repaint();
}

void TbsSkinCheckRadioBox::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Repaint();
}

void TbsSkinCheckRadioBox::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  if (FFlat) Repaint();
}

void TbsSkinCheckRadioBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    Repaint();
  }
}

// ---- element and size ----

void TbsSkinCheckRadioBox::GetSkinData() {
  TbsSkinCustomControl::GetSkinData();
  if (FIndex == -1) return;
  auto* R = dynamic_cast<TbsDataSkinCheckRadioControl*>(FSD->Ctrls(FIndex));
  if (R == nullptr) return;
  FontName = R->FontName;
  FontColor = R->FontColor;
  ActiveFontColor = R->ActiveFontColor;
  FrameFontColor = R->FrameFontColor;
  UnEnabledFontColor = R->UnEnabledFontColor;
  FontStyle = R->FontStyle;
  FontHeight = R->FontHeight;
  ActiveSkinRect = IsEmptyRect(R->ActiveSkinRect) ? R->SkinRect : R->ActiveSkinRect;
  CheckImageArea = R->CheckImageArea;
  TextArea = R->TextArea;
  CheckImageRect = R->CheckImageRect;
  UnCheckImageRect = R->UnCheckImageRect;
  ActiveCheckImageRect = R->ActiveCheckImageRect;
  UnEnabledCheckImageRect = R->UnEnabledCheckImageRect;
  UnEnabledUnCheckImageRect = R->UnEnabledUnCheckImageRect;
  ActiveUnCheckImageRect = R->ActiveUnCheckImageRect;
  GrayedCheckImageRect = R->GrayedCheckImageRect;
  ActiveGrayedCheckImageRect = R->ActiveGrayedCheckImageRect;
  if (IsEmptyRect(UnEnabledCheckImageRect)) UnEnabledCheckImageRect = CheckImageRect;
  if (IsEmptyRect(UnEnabledUnCheckImageRect)) UnEnabledUnCheckImageRect = UnCheckImageRect;
  if (IsEmptyRect(ActiveCheckImageRect)) ActiveCheckImageRect = CheckImageRect;
  if (IsEmptyRect(ActiveUnCheckImageRect)) ActiveUnCheckImageRect = UnCheckImageRect;
  Morphing = R->Morphing;
  MorphKind = R->MorphKind;
  if (FFlat) {
    // The flat look has no cross-fade and no window region.
    Morphing = false;
    MaskPicture = nullptr;
  }
}

void TbsSkinCheckRadioBox::CalcSize(Integer& AWidth, Integer& AHeight) {
  if (FFlat) return;
  TbsSkinCustomControl::CalcSize(AWidth, AHeight);
  const Integer dW = AWidth - RectWidth(SkinRect);
  NewTextArea = TextArea;
  NewTextArea.Right += dW;
  TRect Area = CheckImageArea;
  // The picture sits right of the caption: it follows the right edge.
  if (TextArea.Right < CheckImageArea.Right) OffsetRect(&Area, dW, 0);
  const Integer w = RectWidth(CheckImageRect), h = RectHeight(CheckImageRect);
  const Integer X = Area.Left + RectWidth(Area) / 2 - w / 2, Y = Area.Top + RectHeight(Area) / 2 - h / 2;
  CIRect = Rect(X, Y, X + w, Y + h);
}

void TbsSkinCheckRadioBox::ChangeSkinData() {
  StopMorph();
  FMorphKf = 0;
  if (FFlat) {
    GetSkinData();
    Repaint();
    return;
  }
  TbsSkinCustomControl::ChangeSkinData();
}

bool TbsSkinCheckRadioBox::effectsEnabled() const {
  return FSD != nullptr && !FSD->Empty && FSD->EnableSkinEffects();
}

bool TbsSkinCheckRadioBox::isFocused() {
  return FCanFocused && HandleAllocated() && GetFocus() == Handle();
}

bool TbsSkinCheckRadioBox::hasImage() const {
  return FImages != nullptr && FImageIndex >= 0 && FImageIndex < FImages->Count();
}

// ---- check pictures ----

bool TbsSkinCheckRadioBox::checkPicture(TBitmap& Out, TCheckBoxState AState, bool AHovered) {
  if (Picture == nullptr) return false;
  TRect R;
  bool Lighten = false;
  if (AState == cbGrayed) {
    if (IsEmptyRect(GrayedCheckImageRect)) {
      // No grayed picture in the skin: the row's check picture lightened half-way to white.
      R = !Enabled() ? UnEnabledCheckImageRect : AHovered ? ActiveCheckImageRect : CheckImageRect;
      Lighten = true;
    } else {
      R = AHovered && Enabled() && !IsEmptyRect(ActiveGrayedCheckImageRect) ? ActiveGrayedCheckImageRect
                                                                            : GrayedCheckImageRect;
    }
  } else {
    const bool C = AState == cbChecked;
    if (!Enabled())
      R = C ? UnEnabledCheckImageRect : UnEnabledUnCheckImageRect;
    else if (AHovered)
      R = C ? ActiveCheckImageRect : ActiveUnCheckImageRect;
    else
      R = C ? CheckImageRect : UnCheckImageRect;
  }
  if (!rectInside(R, Picture)) return false;
  Out.SetPixelFormat(pf24bit);
  Out.SetSize(RectWidth(R), RectHeight(R));
  Out.Canvas()->CopyRect(Rect(0, 0, Out.Width(), Out.Height()), Picture->Canvas(), R);
  if (Lighten) {
    auto E = TbsEffectBmp::CreateFromhWnd(Out.Handle());
    E->ChangeBrightness(0.5);
    E->Draw(Out.Canvas()->Handle(), 0, 0);
  }
  Out.SetTransparent(true);
  Out.SetTransparentMode(tmAuto);
  return true;
}

// ---- painting ----

TRect TbsSkinCheckRadioBox::drawFlatCaption(TCanvas* C, Integer X0, Integer ImageGap, bool AFocused) {
  const bool Img = hasImage();
  const Integer IW = Img ? FImages->Width() : 0;
  TRect ImgR{};
  if (Img) {
    const Integer IY = Height() / 2 - FImages->Height() / 2;
    ImgR = Rect(X0, IY, X0 + IW, IY + FImages->Height());
    FImages->Draw(C, X0, IY, FImageIndex, Enabled());
  }
  const String Text = Caption();
  TRect TR;
  C->Brush()->SetStyle(bsClear);
  if (FWordWrap) {
    TR = Rect(X0 + IW, 0, ClientWidth(), 0);
    TRect Calc = Rect(TR.Left, 0, TR.Right, Height());
    DrawWideText(C, Text, Calc, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    const Integer TH = RectHeight(Calc);
    TR.Top = IntMax(0, Height() / 2 - TH / 2);
    TR.Bottom = TR.Top + TH;
    TRect Draw = TR;
    DrawWideText(C, Text, Draw, DT_EXPANDTABS | DT_WORDBREAK);
  } else {
    const TSize Ext = C->TextExtent(Text);
    const Integer L = X0 + (Img ? IW + ImageGap : 0);
    TR = Rect(L, Height() / 2 - Ext.cy / 2, IntMin(L + Ext.cx, Width() - 2),
              Height() / 2 - Ext.cy / 2 + Ext.cy);
    DrawTextLeft(C, Text, TR);
  }
  if (!AFocused) return TR;
  TRect F{};
  if (!Text.empty())
    F = Rect(TR.Left - 2, TR.Top - 1, TR.Right + 2 + (FWordWrap ? 0 : 1), TR.Bottom + 1);
  else if (Img)
    F = Rect(ImgR.Left - 1, ImgR.Top - 1, ImgR.Right + 1, ImgR.Bottom + 1);
  if (!IsEmptyRect(F)) {
    C->Brush()->SetStyle(bsSolid);
    DrawDottedFocusRect(C, F);
  }
  return TR;
}

void TbsSkinCheckRadioBox::drawDefaultBox(TCanvas* C, const TRect& Box, TCheckBoxState AState, bool AHovered,
                                          bool AFill) {
  if (AFill) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWindow);
    C->FillRect(Box);
  }
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(AHovered ? HoverFrameColor : clBtnShadow);
  C->FrameRect(Box);
  C->Pen()->SetColor(clBlack);
  const Integer X = Box.Left + 4, MidY = (Box.Top + Box.Bottom) / 2;
  if (AState == cbGrayed && !FRadio) {
    DrawCheckMark(C, X, MidY - 4, clGrayText);
  } else if (AState == cbChecked) {
    const TColor Mark = Enabled() ? clBlack : clBtnShadow;
    if (FRadio)
      DrawRadioDot(C, X, MidY - 3, Mark);
    else
      DrawCheckMark(C, X, MidY - 4, Mark);
  }
}

void TbsSkinCheckRadioBox::drawFlat(TCanvas* C, TCheckBoxState AState, bool AHovered, bool AFocused,
                                    bool APaintTo) {
  TBitmap Pic;
  const bool Skinned = FIndex != -1 && checkPicture(Pic, AState, AHovered);
  const TRect Box = Rect(3, Height() / 2 - 7, 17, Height() / 2 + 7);
  if (Skinned) {
    C->Draw(3, Height() / 2 - Pic.Height() / 2, &Pic);
    ApplySkinFont(C, FontName, FontHeight, FontStyle);
    if (FUseSkinFontColor)
      C->Font()->SetColor(Enabled() ? FrameFontColor : UnEnabledFontColor);
    else
      C->Font()->SetColor(FDefaultFont->Color());
    if (AFocused) C->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
    drawFlatCaption(C, RectWidth(CheckImageRect) + 7, 8, AFocused);
    return;
  }
  // No element, or an element whose check picture cannot be read: the look without a skin.
  C->SetFont(FDefaultFont.get());
  if (FSD != nullptr && FSD->ResourceStrData() != nullptr)
    C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  if (!Enabled()) C->Font()->SetColor(clBtnShadow);
  drawDefaultBox(C, Box, AState, APaintTo ? false : AHovered, !APaintTo);
  if (AFocused) C->Brush()->SetColor(clBtnFace);
  drawFlatCaption(C, 22, 5, AFocused);
}

void TbsSkinCheckRadioBox::drawFramedCheck(TCanvas* C, bool AActive) {
  TBitmap Pic;
  if (checkPicture(Pic, FState, AActive)) {
    C->Draw(CIRect.Left, (CIRect.Top + CIRect.Bottom) / 2 - Pic.Height() / 2, &Pic);
    return;
  }
  const Integer CX = (CIRect.Left + CIRect.Right) / 2, CY = (CIRect.Top + CIRect.Bottom) / 2;
  drawDefaultBox(C, Rect(CX - 7, CY - 7, CX + 7, CY + 7), FState, AActive, true);
}

void TbsSkinCheckRadioBox::createFramedImage(TBitmap* B, const TRect& R, bool AActive) {
  CreateSkinImage(B, Picture, R);
  TCanvas* C = B->Canvas();
  drawFramedCheck(C, AActive);
  ApplySkinFont(C, FontName, FontHeight, FontStyle);
  C->Font()->SetColor(!Enabled() ? UnEnabledFontColor : AActive ? ActiveFontColor : FontColor);
  C->Brush()->SetStyle(bsClear);
  DrawTextLeft(C, Caption(), NewTextArea);
}

void TbsSkinCheckRadioBox::CreateControlDefaultImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  const TRect R = ClientRect();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(R);
  if (isFocused() || FMouseIn) {
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(R);
  }
  C->SetFont(FDefaultFont.get());
  if (FSD != nullptr && FSD->ResourceStrData() != nullptr)
    C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  if (!Enabled()) C->Font()->SetColor(clBtnShadow);
  C->Brush()->SetStyle(bsClear);
  DrawTextLeft(C, Caption(), Rect(19, 0, Width(), Height()));
  drawDefaultBox(C, Rect(3, Height() / 2 - 7, 17, Height() / 2 + 7), FState, FMouseIn, true);
}

void TbsSkinCheckRadioBox::Paint() {
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  TBitmap B;
  B.SetSize(Width(), Height());
  if (FFlat) {
    DrawParentBackground(this, B.Canvas());
    drawFlat(B.Canvas(), FState, FMouseIn, isFocused(), false);
    Canvas()->Draw(0, 0, &B);
    return;
  }
  if (FIndex == -1) {
    CreateControlDefaultImage(&B);
    Canvas()->Draw(0, 0, &B);
    return;
  }
  Integer W = Width(), H = Height();
  CalcSize(W, H);
  if (morphingEnabled() && FMorphKf > 0 && FMorphKf < 1) {
    TBitmap B2;
    B2.SetSize(Width(), Height());
    createFramedImage(&B, SkinRect, false);
    createFramedImage(&B2, ActiveSkinRect, true);
    MorphDraw(Canvas()->Handle(), B.Handle(), B2.Handle(), MorphKind, FMorphKf);
    return;
  }
  const bool Active = FMouseIn || isFocused();
  createFramedImage(&B, Active ? ActiveSkinRect : SkinRect, Active);
  Canvas()->Draw(0, 0, &B);
}

void TbsSkinCheckRadioBox::PaintSkinTo(TCanvas* C, Integer X, Integer Y, bool AChecked) {
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  const TCheckBoxState S = AChecked ? cbChecked : cbUnchecked;
  TBitmap B;
  B.SetSize(Width(), Height());
  if (FFlat) {
    if (Parent() != nullptr) DrawParentBackground(this, B.Canvas());
    drawFlat(B.Canvas(), S, false, false, true);
  } else {
    if (FIndex == -1) return;
    Integer W = Width(), H = Height();
    CalcSize(W, H);
    const TCheckBoxState Saved = FState;
    FState = S;
    createFramedImage(&B, SkinRect, false);
    FState = Saved;
  }
  C->Draw(X, Y, &B);
}

void TbsSkinCheckRadioBox::CheckParentBackground() {
  if (FFlat) Repaint();
}

void TbsSkinCheckRadioBox::WMEraseBkgnd(TMessage& Message) {
  // A parent drawing its children into its own background gets the framed control's image.
  if (!FromWMPaint && !FFlat && Message.WParam != 0) PaintWindow(reinterpret_cast<HDC>(Message.WParam));
  Message.Result = 1;
}

void TbsSkinCheckRadioBox::WMMove(TMessage& Message) {
  TbsSkinCustomControl::WMMove(Message);
  // The background under a flat control changed.
  if (FFlat) Invalidate();
}

// ---- cross-fade ----

void TbsSkinCheckRadioBox::StartMorph() {
  if (MorphTimer != nullptr) return;
  MorphTimer = new TTimer(this);
  MorphTimer->SetInterval(MorphInterval);
  MorphTimer->OnTimer = [this](TObject* Sender) { MorphTimerProc(Sender); };
  MorphTimer->SetEnabled(true);
}

void TbsSkinCheckRadioBox::StopMorph() {
  if (MorphTimer == nullptr) return;
  MorphTimer->SetEnabled(false);
  delete MorphTimer;
  MorphTimer = nullptr;
}

void TbsSkinCheckRadioBox::StartMorphOrRepaint() {
  GetSkinData();
  if (morphingEnabled() && FIndex != -1)
    StartMorph();
  else
    Repaint();
}

void TbsSkinCheckRadioBox::MorphTimerProc(TObject*) {
  const bool Hovered = FMouseIn || isFocused();
  if (FIndex == -1 || !morphingEnabled()) {
    FMorphKf = Hovered ? 1 : 0;
    StopMorph();
    return;
  }
  FMorphKf = StepMorphKf(FMorphKf, Hovered);
  if (FMorphKf == (Hovered ? 1 : 0)) StopMorph();
  Repaint();
}

// ---- input ----

void TbsSkinCheckRadioBox::WndProc(TMessage& Message) {
  if (FCanFocused) {
    switch (Message.Msg) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (!designing() && HandleAllocated() && GetFocus() != Handle()) {
          FClicksDisabled = true;
          ::SetFocus(Handle());
          FClicksDisabled = false;
          // The focus change was refused: no press at all.
          if (GetFocus() != Handle()) return;
        }
        break;
      case CN_COMMAND:
        if (FClicksDisabled) return;
        break;
      case WM_KEYUP:
        if (Message.WParam == VK_SPACE && isFocused()) {
          auto Alive = FAlive;
          Toggle();
          if (!*Alive) return;
        }
        break;
      default:
        break;
    }
  }
  TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinCheckRadioBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    FDown = true;
    if (!FMouseIn) {
      FMouseIn = true;
      StartMorphOrRepaint();
    }
  }
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCheckRadioBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
  if (!*Alive || !FDown) return;
  const bool Inside = X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
  // The mouse is captured, so the class library reports neither leaving nor coming back.
  if (!Inside && FMouseIn)
    Perform(CM_MOUSELEAVE, 0, 0);
  else if (Inside && !FMouseIn)
    Perform(CM_MOUSEENTER, 0, 0);
}

void TbsSkinCheckRadioBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = FAlive;
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft || !FDown) return;
  FDown = false;
  const bool Inside = X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
  if (!Inside) return;
  if (!FRadio && FAllowGrayed && FState == cbUnchecked)
    SetState(cbGrayed);
  else
    Toggle();
}

void TbsSkinCheckRadioBox::CMMouseEnter(TMessage& Message) {
  auto Alive = FAlive;
  TbsSkinCustomControl::CMMouseEnter(Message);
  if (!*Alive) return;
  FMouseIn = true;
  StartMorphOrRepaint();
}

void TbsSkinCheckRadioBox::CMMouseLeave(TMessage& Message) {
  auto Alive = FAlive;
  TbsSkinCustomControl::CMMouseLeave(Message);
  if (!*Alive) return;
  FMouseIn = false;
  StartMorphOrRepaint();
}

void TbsSkinCheckRadioBox::CMDialogChar(TMessage& Message) {
  if (FCanFocused && IsAccel(char32_t(Message.WParam), Caption()) && CanFocus()) {
    Message.Result = 1;
    auto Alive = FAlive;
    SetFocus();
    if (!*Alive) return;
    Toggle();
    return;
  }
  TbsSkinCustomControl::CMDialogChar(Message);
}

void TbsSkinCheckRadioBox::WMSetFocus(TMessage& Message) {
  TbsSkinCustomControl::WMSetFocus(Message);
  if (!FCanFocused) return;
  if (FFlat)
    Invalidate();
  else
    StartMorphOrRepaint();
}

void TbsSkinCheckRadioBox::WMKillFocus(TMessage& Message) {
  TbsSkinCustomControl::WMKillFocus(Message);
  if (!FCanFocused) return;
  if (FFlat)
    Invalidate();
  else
    StartMorphOrRepaint();
}

void TbsSkinCheckRadioBox::CMEnabledChanged(TMessage& Message) {
  TbsSkinCustomControl::CMEnabledChanged(Message);
  if (morphingEnabled()) {
    StopMorph();
    FMorphKf = 0;
  }
  FMouseIn = false;
  Repaint();
}

void TbsSkinCheckRadioBox::CMTextChanged(TMessage& Message) {
  TbsSkinCustomControl::CMTextChanged(Message);
  Repaint();
}
