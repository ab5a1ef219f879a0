#include "skin/controls/hints/bsskinhint.h"

#include <algorithm>

#include "platform/gdi/text.h"
#include "platform/rtl/clock.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/screen.h"
#include "skin/controls/base/bsgraphicskincontrol.h"
#include "skin/controls/base/bsskincontrol.h"
#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsregions.h"
#include "skin/core/bssystem.h"

namespace {

// More than this many milliseconds pass between two steps of the fade-in.
constexpr Cardinal FadeStepGap = 3;

}  // namespace

// ---- TbsSkinHintWindow ----

TbsSkinHintWindow::TbsSkinHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

TbsSkinHintWindow::~TbsSkinHintWindow() {
  if (FImageList != nullptr) FImageList->RemoveFreeNotification(this);
  // The window owns the shape it was given; it goes with the window.
  FRgn = nullptr;
}

void TbsSkinHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~WS_BORDER;
  if (IsWindowsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinHintWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT:
      // No frame of its own.
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    default:
      THintWindow::Dispatch(Message);
  }
}

void TbsSkinHintWindow::Notification(TComponent* AComponent, TOperation Operation) {
  THintWindow::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImageList) FImageList = nullptr;
}

TbsSkinHint* TbsSkinHintWindow::FindSkinHint() {
  if (Application == nullptr || Application->MainForm() == nullptr) return nullptr;
  TCustomForm* F = Application->MainForm();
  for (Integer i = 0; i < F->ComponentCount(); ++i)
    if (auto* H = dynamic_cast<TbsSkinHint*>(F->Components(i)); H != nullptr && H->Active()) return H;
  return nullptr;
}

String TbsSkinHintWindow::ReplaceLineSeparator(const String& S) const {
  String Result = S;
  const String& Sep = FspHint->LineSeparator();
  // An empty separator would match everywhere.
  if (Sep.empty()) return Result;
  // CR LF: the platform's text layout takes LF CR for two line breaks.
  for (size_t P = Result.find(Sep); P != String::npos; P = Result.find(Sep, P + 2))
    Result.replace(P, Sep.size(), "\r\n");
  return Result;
}

void TbsSkinHintWindow::applyFont(TCanvas* C) const {
  if (FSD != nullptr && FspHint->UseSkinFont()) {
    const TbsDataSkinHintWindow* R = FSD->HintWindow.get();
    C->Font()->SetHeight(R->FontHeight);
    C->Font()->SetName(R->FontName);
    C->Font()->SetStyle(R->FontStyle);
  } else {
    C->Font()->Assign(FspHint->DefaultFont());
  }
  TbsSkinData* SD = FspHint->SkinData();
  if (SD != nullptr && SD->ResourceStrData() != nullptr)
    C->Font()->SetCharset(SD->ResourceStrData()->CharSet());
  else
    C->Font()->SetCharset(FspHint->DefaultFont()->Charset());
}

TSize TbsSkinHintWindow::measure(TCanvas* C, const String& Text) const {
  TRect R = Rect(0, 0, 0, 0);
  DrawText(bsCanvasDC(C), Text, &R, DT_CALCRECT);
  return TSize{R.Width(), R.Height()};
}

void TbsSkinHintWindow::fitSkinGeometry(Integer& W, Integer& H) {
  const TbsDataSkinHintWindow* Rec = FSD->HintWindow.get();
  TBitmap* P = SkinPictureAt(FSD, Rec->WindowPictureIndex);
  const Integer PW = P->Width(), PH = P->Height();
  Integer dx = W - PW, dy = H - PH;
  // The window never becomes smaller than the picture's corner areas.
  if (Rec->RTPoint.X + dx < Rec->LTPoint.X) {
    W += Rec->LTPoint.X - (Rec->RTPoint.X + dx);
    dx = W - PW;
  }
  if (Rec->RBPoint.X + dx < Rec->LBPoint.X) {
    W += Rec->LBPoint.X - (Rec->RBPoint.X + dx);
    dx = W - PW;
  }
  if (Rec->LBPoint.Y + dy < Rec->LTPoint.Y) {
    H += Rec->LTPoint.Y - (Rec->LBPoint.Y + dy);
    dy = H - PH;
  }
  if (Rec->RBPoint.Y + dy < Rec->RTPoint.Y) {
    H += Rec->RTPoint.Y - (Rec->RBPoint.Y + dy);
    dy = H - PH;
  }
  NewClRect = Rect(Rec->ClRect.Left, Rec->ClRect.Top, Rec->ClRect.Right + dx, Rec->ClRect.Bottom + dy);
  NewLTPoint = Rec->LTPoint;
  NewRTPoint = TPoint{Rec->RTPoint.X + dx, Rec->RTPoint.Y};
  NewLBPoint = TPoint{Rec->LBPoint.X, Rec->LBPoint.Y + dy};
  NewRBPoint = TPoint{Rec->RBPoint.X + dx, Rec->RBPoint.Y + dy};
}

void TbsSkinHintWindow::CalcHintSize(const String& Text, Integer& W, Integer& H) {
  TBitmap Scratch;
  Scratch.SetSize(1, 1);
  applyFont(Scratch.Canvas());
  const TSize S = measure(Scratch.Canvas(), Text);
  W = S.cx;
  H = S.cy;
  if (FSD == nullptr) {
    W += 4;
    H += 4;
    return;
  }
  const TbsDataSkinHintWindow* Rec = FSD->HintWindow.get();
  TBitmap* P = SkinPictureAt(FSD, Rec->WindowPictureIndex);
  W += Rec->ClRect.Left + (P->Width() - Rec->ClRect.Right) + 5;
  H += Rec->ClRect.Top + (P->Height() - Rec->ClRect.Bottom);
  fitSkinGeometry(W, H);
}

void TbsSkinHintWindow::CalcHintSizeEx(const String& Text, const String& Title, TCustomImageList* ImageList,
                                       Integer ImageIndex, Integer& W, Integer& H) {
  TBitmap Scratch;
  Scratch.SetSize(1, 1);
  TCanvas* C = Scratch.Canvas();
  applyFont(C);
  const TSize S = measure(C, Text);
  W = S.cx;
  H = S.cy;
  Integer TH = 0;
  if (!Title.empty()) {
    // Measured as it is drawn, in bold, so the title is never cut.
    TFontStyles Bold = C->Font()->Style();
    Bold.Include(fsBold);
    C->Font()->SetStyle(Bold);
    const TSize T = measure(C, Title);
    TH = T.cy;
    H += TH + 10;
    W = std::max(W, T.cx);
  }
  if (ImageList != nullptr && ImageIndex >= 0 && ImageIndex < ImageList->Count()) {
    W += ImageList->Width() + 10;
    H = std::max(H, ImageList->Height() + TH + 5);
  }
  if (FSD == nullptr) {
    W += 4;
    H += 4;
    return;
  }
  W += 10;
  const TbsDataSkinHintWindow* Rec = FSD->HintWindow.get();
  TBitmap* P = SkinPictureAt(FSD, Rec->WindowPictureIndex);
  W += Rec->ClRect.Left + (P->Width() - Rec->ClRect.Right);
  H += Rec->ClRect.Top + (P->Height() - Rec->ClRect.Bottom);
  fitSkinGeometry(W, H);
}

void TbsSkinHintWindow::placeInWorkArea(TRect& R, Integer W, Integer H) const {
  TRect Area = Rect(0, 0, Screen != nullptr ? Screen->Width() : 0, Screen != nullptr ? Screen->Height() : 0);
  if (Screen != nullptr && Screen->ActiveCustomForm() != nullptr &&
      Screen->ActiveCustomForm()->HandleAllocated())
    GetMonitorRectOfWindow(Screen->ActiveCustomForm()->Handle(), true, Area);
  else if (Application->MainForm() != nullptr && Application->MainForm()->Visible() &&
           Application->MainForm()->HandleAllocated())
    GetMonitorRectOfWindow(Application->MainForm()->Handle(), true, Area);
  if (R.Right > Area.Right) OffsetRect(&R, -(W + 2), 0);
  if (R.Bottom > Area.Bottom) OffsetRect(&R, 0, -(H + 2));
  // A hint larger than the area, or moved past its far side, still shows inside it (clipped).
  if (R.Width() > Area.Width()) R.Right = R.Left + Area.Width();
  if (R.Height() > Area.Height()) R.Bottom = R.Top + Area.Height();
  if (R.Left < Area.Left) OffsetRect(&R, Area.Left - R.Left, 0);
  if (R.Top < Area.Top) OffsetRect(&R, 0, Area.Top - R.Top);
  if (R.Right > Area.Right) OffsetRect(&R, Area.Right - R.Right, 0);
  if (R.Bottom > Area.Bottom) OffsetRect(&R, 0, Area.Bottom - R.Bottom);
}

void TbsSkinHintWindow::applyAlpha() {
  if (!IsWindows2000OrLater()) return;
  const HWND Wnd = Handle();
  if (FspHint->AlphaBlend() != FOldAlphaBlend) {
    LONG Ex = GetWindowLong(Wnd, GWL_EXSTYLE);
    if (FspHint->AlphaBlend())
      Ex |= LONG(WS_EX_LAYERED);
    else
      Ex &= ~LONG(WS_EX_LAYERED);
    SetWindowLong(Wnd, GWL_EXSTYLE, Ex);
    FOldAlphaBlend = FspHint->AlphaBlend();
  }
  if (FspHint->AlphaBlend() && FspHint->AlphaBlendAnimation()) SetWindowAlpha(Wnd, 0);
  if (FspHint->AlphaBlend() && FspHint->AlphaBlendValue() != FOldAlphaBlendValue) {
    if (!FspHint->AlphaBlendAnimation()) SetWindowAlpha(Wnd, FspHint->AlphaBlendValue());
    FOldAlphaBlendValue = FspHint->AlphaBlendValue();
  }
}

void TbsSkinHintWindow::fadeIn() {
  if (!IsWindows2000OrLater() || !FspHint->AlphaBlend() || !FspHint->AlphaBlendAnimation()) return;
  const Integer Target = FspHint->AlphaBlendValue();
  const Integer Step = std::max(Target / 10, 1);
  Integer Alpha = 0;
  Cardinal Last = GetTickCount();
  // Blocks the calling thread; Sleep lets the process clock move on between polls.
  while (Alpha < Target) {
    if (GetTickCount() - Last > FadeStepGap) {
      Last = GetTickCount();
      Alpha = std::min(Alpha + Step, Target);
      Repaint();
      SetWindowAlpha(Handle(), Byte(Alpha));
    } else {
      Sleep(1);
    }
  }
}

void TbsSkinHintWindow::UpdateHintRegion() {
  TBitmap* Mask = FSD != nullptr ? SkinPictureAt(FSD, FSD->HintWindow->MaskPictureIndex) : nullptr;
  if (Mask != nullptr) {
    const TbsDataSkinHintWindow* Rec = FSD->HintWindow.get();
    HRGN Rgn = nullptr;
    ComposeSkinRegion(Rgn, Rec->LTPoint, Rec->RTPoint, Rec->LBPoint, Rec->RBPoint, Rec->ClRect, NewLTPoint,
                      NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, Mask, Width(), Height());
    // The window frees the shape it had.
    SetWindowRgn(Handle(), Rgn, false);
    FRgn = Rgn;
  } else if (FRgn != nullptr) {
    SetWindowRgn(Handle(), nullptr, false);
    FRgn = nullptr;
  }
}

void TbsSkinHintWindow::activate(TRect Rect, const String& AHint, bool Extended, const String& Title,
                                 Integer ImageIndex, TCustomImageList* ImageList, const TRect* From,
                                 bool ATop) {
  HandleNeeded();
  TbsSkinData* SD = FspHint->SkinData();
  FSD = nullptr;
  // A hint picture index past the skin's pictures draws the flat look, as a missing one does.
  if (SD != nullptr && !SD->Empty && SD->HintWindow->WindowPictureIndex != -1 &&
      SkinPictureAt(SD, SD->HintWindow->WindowPictureIndex) != nullptr)
    FSD = SD;
  const String Text = ReplaceLineSeparator(AHint);
  SetCaption(Text);
  FTitle = Extended ? Title : String();
  FImageIndex = Extended ? ImageIndex : 0;
  if (FImageList != nullptr) FImageList->RemoveFreeNotification(this);
  FImageList = Extended ? ImageList : nullptr;
  if (FImageList != nullptr) FImageList->FreeNotification(this);
  Integer W = 0, H = 0;
  if (Extended)
    CalcHintSizeEx(Text, Title, ImageList, ImageIndex, W, H);
  else
    CalcHintSize(Text, W, H);
  TRect R = Bounds(Rect.Left, Rect.Top, W, H);
  if (From != nullptr) {
    R.Left = From->Left + From->Width() / 2 - W / 2;
    R.Top = ATop ? From->Top - H : From->Bottom;
    R.Right = R.Left + W;
    R.Bottom = R.Top + H;
  }
  placeInWorkArea(R, W, H);
  SetBoundsRect(R);
  applyAlpha();
  UpdateHintRegion();
  SetWindowPos(Handle(), HWND_TOPMOST, R.Left, R.Top, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  SetVisible(true);
  Repaint();
  fadeIn();
}

void TbsSkinHintWindow::ActivateHint(TRect Rect, const String& AHint) {
  AExtendedStyle = false;
  FspHint = FindSkinHint();
  if (FspHint == nullptr) return;
  if (!FspHint->FHintTitle.empty() || FspHint->FHintImageList != nullptr) {
    ActivateHintEx(Rect, FspHint->FHintTitle, AHint, FspHint->FHintImageIndex, FspHint->FHintImageList);
    return;
  }
  activate(Rect, AHint, false, "", 0, nullptr, nullptr, false);
}

void TbsSkinHintWindow::ActivateHintEx(TRect Rect, const String& AHintTitle, const String& AHint,
                                       Integer AImageIndex, TCustomImageList* AImageList) {
  FspHint = FindSkinHint();
  if (FspHint == nullptr) return;
  AExtendedStyle = true;
  activate(Rect, AHint, true, AHintTitle, AImageIndex, AImageList, nullptr, false);
}

void TbsSkinHintWindow::ActivateHintFromRect(TRect ARect, const String& AHint, bool ATop) {
  FspHint = FindSkinHint();
  if (FspHint == nullptr) return;
  // Sized as a plain hint, so painted as one (a titled hint before it must not leave its style).
  AExtendedStyle = false;
  activate(ARect, AHint, false, "", 0, nullptr, &ARect, ATop);
}

// ---- painting ----

void TbsSkinHintWindow::paintBackground(TBitmap* B) {
  TCanvas* C = B->Canvas();
  if (FSD != nullptr) {
    const TbsDataSkinHintWindow* Rec = FSD->HintWindow.get();
    TBitmap* P = SkinPictureAt(FSD, Rec->WindowPictureIndex);
    ComposeSkinImage2(Rec->LTPoint, Rec->RTPoint, Rec->LBPoint, Rec->RBPoint, Rec->ClRect, NewLTPoint,
                      NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, B, P,
                      Rect(0, 0, P->Width(), P->Height()), Width(), Height(), true, Rec->LeftStretch,
                      Rec->TopStretch, Rec->RightStretch, Rec->BottomStretch, Rec->StretchEffect,
                      Rec->StretchType);
    return;
  }
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clInfoBk);
  C->FillRect(ClientRect());
  DrawFrame3D(C, ClientRect(), clBtnShadow, clBtnShadow);
}

void TbsSkinHintWindow::Paint() {
  if (FspHint == nullptr || Width() <= 0 || Height() <= 0) return;
  TBitmap B;
  B.SetSize(Width(), Height());
  paintBackground(&B);
  TCanvas* C = B.Canvas();
  C->Brush()->SetStyle(bsClear);
  if (AExtendedStyle) {
    PaintEx(C);
  } else if (FSD != nullptr) {
    applyFont(C);
    C->Font()->SetColor(FSD->HintWindow->FontColor);
    const TSize S = measure(C, Caption());
    TRect R = Bounds(NewClRect.Left + NewClRect.Width() / 2 - S.cx / 2,
                     NewClRect.Top + NewClRect.Height() / 2 - S.cy / 2, S.cx, S.cy);
    DrawText(bsCanvasDC(C), Caption(), &R, 0);
  } else {
    applyFont(C);
    C->Font()->SetColor(clInfoText);
    TRect R = Rect(2, 2, Width() - 2, Height() - 2);
    DrawText(bsCanvasDC(C), Caption(), &R, 0);
  }
  Canvas()->Draw(0, 0, &B);
}

void TbsSkinHintWindow::PaintEx(TCanvas* C) {
  // What the window was sized for: a caller of ActivateHintEx may pass a title and image that the
  // component does not hold.
  const String& Title = FTitle;
  TCustomImageList* IL = FImageList;
  const Integer Index = FImageIndex;
  const bool HasImage = IL != nullptr && Index >= 0 && Index < IL->Count();
  applyFont(C);
  C->Font()->SetColor(FSD != nullptr ? FSD->HintWindow->FontColor : clInfoText);
  const TRect Area = FSD != nullptr ? NewClRect : Rect(2, 2, Width() - 2, Height() - 2);
  const Integer Indent = FSD != nullptr ? 5 : 0;
  Integer A = 0, TX = 0;
  if (!Title.empty()) {
    TFontStyles Bold = C->Font()->Style();
    Bold.Include(fsBold);
    C->Font()->SetStyle(Bold);
    const TSize S = measure(C, Title);
    TRect R = Bounds(Area.Left + Indent, Area.Top, S.cx, S.cy);
    DrawText(bsCanvasDC(C), Title, &R, 0);
    Bold.Exclude(fsBold);
    C->Font()->SetStyle(Bold);
    A = S.cy + 5;
  }
  if (HasImage) {
    const Integer X = Area.Left + Indent;
    const Integer Y =
        A > 0 ? (FSD != nullptr ? Area.Top + A : A) : Area.Top + Area.Height() / 2 - IL->Height() / 2;
    IL->Draw(C, X, Y, Index, true);
    TX = X + IL->Width() + 5;
  }
  const String Text = Caption();
  if (FSD != nullptr) {
    const TSize S = measure(C, Text);
    const Integer X = TX != 0 ? TX : Area.Left + 5;
    const Integer Y = A > 0 ? Area.Top + A : Area.Top + Area.Height() / 2 - S.cy / 2;
    TRect R = Bounds(X, Y, S.cx, S.cy);
    DrawText(bsCanvasDC(C), Text, &R, 0);
  } else {
    TRect R = Area;
    R.Top += A;
    R.Left += TX;
    DrawText(bsCanvasDC(C), Text, &R, 0);
  }
}

// ---- TbsSkinHint ----

TbsSkinHint::TbsSkinHint(TComponent* AOwner) : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  HW = new TbsSkinHintWindow(this);
  HW->SetVisible(false);
  if (!ComponentState().Contains(csDesigning) && Application != nullptr) {
    HintWindowClass = [](TComponent* Owner) -> THintWindow* { return new TbsSkinHintWindow(Owner); };
    // The application makes its hint window again, now in the skinned class.
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    installShowHint();
    Application->SetHintShortPause(100);
  }
  FUseSkinFont = true;
}

TbsSkinHint::~TbsSkinHint() {
  *FAlive = false;
  freeTimer();
  if (FSD != nullptr) FSD->RemoveFreeNotification(this);
}

void TbsSkinHint::installShowHint() {
  // The handler outlives nothing: once the component is gone it does nothing.
  Application->OnShowHint = [this, Alive = FAlive](String& HintStr, bool& CanShow, THintInfo& HintInfo) {
    if (*Alive) DoShowHint(HintStr, CanShow, HintInfo);
  };
}

void TbsSkinHint::SetSkinData(TbsSkinData* Value) {
  if (FSD == Value) return;
  if (FSD != nullptr) FSD->RemoveFreeNotification(this);
  FSD = Value;
  if (FSD != nullptr) FSD->FreeNotification(this);
}

void TbsSkinHint::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FHintImageList) FHintImageList = nullptr;
  if (AComponent == HW) HW = nullptr;
}

void TbsSkinHint::SetActive(bool Value) {
  FActive = Value;
  if (Value && Application != nullptr && Application->MainForm() != nullptr) {
    TCustomForm* F = Application->MainForm();
    for (Integer i = 0; i < F->ComponentCount(); ++i)
      if (auto* H = dynamic_cast<TbsSkinHint*>(F->Components(i)); H != nullptr && H != this && H->Active())
        H->SetActive(false);
  }
  if (!ComponentState().Contains(csDesigning) && FActive && Application != nullptr) installShowHint();
}

void TbsSkinHint::DoShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo) {
  FHintTitle.clear();
  FHintImageIndex = 0;
  FHintImageList = nullptr;
  if (auto* C = dynamic_cast<TbsSkinControl*>(HintInfo.HintControl)) {
    FHintTitle = C->HintTitle();
    FHintImageIndex = C->HintImageIndex();
    FHintImageList = C->HintImageList();
  } else if (auto* G = dynamic_cast<TbsGraphicSkinControl*>(HintInfo.HintControl)) {
    FHintTitle = G->HintTitle();
    FHintImageIndex = G->HintImageIndex();
    FHintImageList = G->HintImageList();
  }
  if (OnShowHint) OnShowHint(HintStr, CanShow, HintInfo);
}

void TbsSkinHint::ActivateHint(TPoint P, const String& AHint) {
  FHintTitle.clear();
  FHintImageList = nullptr;
  FHintImageIndex = 0;
  if (HW == nullptr) return;
  HW->ActivateHint(Rect(P.X, P.Y, P.X, P.Y), AHint);
  showActivated();
}

void TbsSkinHint::ActivateHintEx(TPoint P, const String& AHintTitle, const String& AHint, Integer AImageIndex,
                                 TCustomImageList* AImageList) {
  if (HW == nullptr) return;
  HW->ActivateHintEx(Rect(P.X, P.Y, P.X, P.Y), AHintTitle, AHint, AImageIndex, AImageList);
  showActivated();
}

void TbsSkinHint::showActivated() {
  // A window that found no active component was neither sized nor painted: it stays hidden.
  if (HW->FspHint != nullptr) HW->SetVisible(true);
}

TPoint TbsSkinHint::hintPoint() const {
  POINT P{};
  GetCursorPos(&P);
  return TPoint{P.X, P.Y + GetCursorHeightMargin()};
}

void TbsSkinHint::freeTimer() {
  if (HintTimer == nullptr) return;
  HintTimer->SetEnabled(false);
  // Safe from the timer's own tick: the timer touches nothing of itself after its handler.
  delete HintTimer;
  HintTimer = nullptr;
}

void TbsSkinHint::startDelayed(std::function<void()> ShowStep) {
  HintTimer = new TTimer(this);
  HintTimer->SetEnabled(false);
  HintTimer->SetInterval(Cardinal(std::max(Application->HintPause(), 1)));
  HintTimer->OnTimer = [ShowStep](TObject*) { ShowStep(); };
  HintTimer->SetEnabled(true);
}

void TbsSkinHint::afterShow() {
  if (HintTimer == nullptr) return;
  HintTimer->SetEnabled(false);
  HintTimer->SetInterval(Cardinal(std::max(Application->HintHidePause(), 1)));
  HintTimer->OnTimer = [this](TObject*) { HideHint(); };
  HintTimer->SetEnabled(true);
}

void TbsSkinHint::ActivateHint2(const String& AHint) {
  freeTimer();
  HintText = AHint;
  FHintTitle.clear();
  FHintImageList = nullptr;
  FHintImageIndex = 0;
  startDelayed([this] {
    const TPoint P = hintPoint();
    if (HW != nullptr) {
      HW->ActivateHint(Rect(P.X, P.Y, P.X, P.Y), HintText);
      showActivated();
    }
    afterShow();
  });
}

void TbsSkinHint::ActivateHintEx2(const String& AHintTitle, const String& AHint, Integer AImageIndex,
                                  TCustomImageList* AImageList) {
  freeTimer();
  FHintTitle = AHintTitle;
  FHintImageIndex = AImageIndex;
  FHintImageList = AImageList;
  HintText = AHint;
  startDelayed([this] {
    if (HintTimer == nullptr) return;
    const TPoint P = hintPoint();
    if (HW != nullptr) {
      HW->ActivateHintEx(Rect(P.X, P.Y, P.X, P.Y), FHintTitle, HintText, FHintImageIndex, FHintImageList);
      showActivated();
    }
    afterShow();
  });
}

void TbsSkinHint::ActivateHint3(TRect AFromRect, const String& AHint, bool ATop) {
  FromRect = AFromRect;
  Top = ATop;
  freeTimer();
  HintText = AHint;
  FHintTitle.clear();
  FHintImageList = nullptr;
  FHintImageIndex = 0;
  startDelayed([this] {
    if (HW != nullptr) {
      HW->ActivateHintFromRect(FromRect, HintText, Top);
      showActivated();
    }
    afterShow();
  });
}

void TbsSkinHint::HideHint() {
  freeTimer();
  if (HW == nullptr || !HW->Visible()) return;
  HW->SetVisible(false);
  if (HW->HandleAllocated())
    SetWindowPos(HW->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  FHintTitle.clear();
  FHintImageList = nullptr;
  FHintImageIndex = 0;
}

bool TbsSkinHint::IsVisible() const {
  return HW != nullptr && HW->Visible();
}

Integer TbsSkinHint::GetCursorHeightMargin() const {
  // The platform's cursors carry no icon bitmaps to measure: the system's cursor height.
  return GetSystemMetrics(SM_CYCURSOR);
}
