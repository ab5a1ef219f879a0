#include "skin/controls/pages/bsskinpagecontrol.h"

#include <algorithm>

#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bsmessages.h"

namespace {
Integer rectWidth(const TRect& R) {
  return R.Right - R.Left;
}
Integer rectHeight(const TRect& R) {
  return R.Bottom - R.Top;
}
bool emptyRect(const TRect& R) {
  return R.Right <= R.Left || R.Bottom <= R.Top;
}
void setTahoma(TFont* F) {
  F->SetName("Tahoma");
  F->SetStyle({});
  F->SetColor(clBtnText);
  F->SetHeight(13);
}
}  // namespace

// ---- tab sheets ----

TbsSkinCustomTabSheet::TbsSkinCustomTabSheet(TComponent* AOwner)
    : TTabSheet(AOwner), FWallPaper(std::make_unique<TBitmap>()) {}

void TbsSkinCustomTabSheet::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      PaintBG(HDC(Message.WParam));
      Message.Result = 1;
      return;
    case CM_PAINTNC:
      Message.Result = PaintNCDone;
      return;
    case WM_SIZE: {
      TTabSheet::WndProc(Message);
      Repaint();
      // Children drawing the stretched client part under them must draw it again.
      auto* PC = dynamic_cast<TbsSkinPageControl*>(PageControl());
      if (PC && PC->SkinData() && !PC->SkinData()->Empty && PC->SkinIndex() != -1 && PC->StretchEffect)
        for (Integer I = 0; I < ControlCount(); ++I)
          if (auto* W = dynamic_cast<TWinControl*>(Controls(I)); W && W->HandleAllocated())
            SendMessage(W->Handle(), WM_CHECKPARENTBG, 0, 0);
      return;
    }
    default:
      TTabSheet::WndProc(Message);
  }
}

// ---- the page control ----

TbsSkinPageControl::TbsSkinPageControl(TComponent* AOwner)
    : TPageControl(AOwner),
      FDefaultFont(std::make_unique<TFont>()),
      FTempImages(std::make_unique<TCustomImageList>(nullptr, 1, 1)) {
  setTahoma(FDefaultFont.get());
  setTahoma(Font());
  TPageControl::SetImages(FTempImages.get());
}

TbsSkinPageControl::~TbsSkinPageControl() {
  HideSkinUpDown();
  TPageControl::SetImages(nullptr);
}

void TbsSkinPageControl::SetTabExtededDraw(bool Value) {
  FTabExtededDraw = Value;
  Invalidate();
}

void TbsSkinPageControl::SetTabMargin(Integer Value) {
  if (Value < -1 || Value == FTabMargin) return;
  FTabMargin = Value;
  Repaint();
}

void TbsSkinPageControl::SetTabSpacing(Integer Value) {
  if (Value == FTabSpacing) return;
  FTabSpacing = Value;
  Repaint();
}

void TbsSkinPageControl::SetTabLayout(TbsButtonLayout Value) {
  if (Value == FTabLayout) return;
  FTabLayout = Value;
  Repaint();
}

void TbsSkinPageControl::SetTextInHorizontal(bool Value) {
  FTextInHorizontal = Value;
  Invalidate();
}

void TbsSkinPageControl::SetTabsBGTransparent(bool Value) {
  if (Value == FTabsBGTransparent) return;
  FTabsBGTransparent = Value;
  Invalidate();
}

void TbsSkinPageControl::SetTabsInCenter(bool Value) {
  if (TabWidth() == 0) return;  // centring needs tabs of one width
  FTabsInCenter = Value;
  if (Value) {
    SetTabPosition(tpTop);
    SetMultiLine(false);
    SetTabsBGTransparent(true);
  }
  Invalidate();
}

void TbsSkinPageControl::SetTabsOffset(Integer Value) {
  FTabsOffset = Value;
  if (Value > 0) {
    SetTabPosition(tpTop);
    SetMultiLine(false);
    SetTabsBGTransparent(true);
  }
  Invalidate();
}

Integer TbsSkinPageControl::GetTabsOffset() {
  if (FTabsOffset > 0) return FTabsOffset;
  if (TabWidth() == 0) return 0;
  return std::max(0, FWidth / 2 - (TabWidth() * TabCount()) / 2);
}

Integer TbsSkinPageControl::GetCloseSize() {
  if (FIndex == -1 || emptyRect(CloseButtonRect)) return 14;
  return rectWidth(CloseButtonRect);
}

void TbsSkinPageControl::changeTempRoom(Integer Delta) {
  // The tab control widens each tab by its image list; rows down the side take the height instead.
  if (TabPosition() == tpLeft || TabPosition() == tpRight)
    FTempImages->SetHeight(std::max(1, FTempImages->Height() + Delta));
  else
    FTempImages->SetWidth(std::max(1, FTempImages->Width() + Delta));
  TPageControl::SetImages(nullptr);  // re-measure the tabs
  TPageControl::SetImages(FTempImages.get());
}

void TbsSkinPageControl::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  const bool Side = TabPosition() == tpLeft || TabPosition() == tpRight;
  const Integer Old = FImages ? (Side ? FImages->Height() : FImages->Width()) : 0;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  const Integer New = FImages ? (Side ? FImages->Height() : FImages->Width()) : 0;
  changeTempRoom(New - Old);
  Invalidate();
}

void TbsSkinPageControl::SetShowCloseButtons(bool Value) {
  if (Value == FShowCloseButtons) return;
  FShowCloseButtons = Value;
  changeTempRoom(Value ? FCloseSize : -FCloseSize);
  Invalidate();
}

void TbsSkinPageControl::SetDefaultItemHeight(Integer Value) {
  FDefaultItemHeight = Value;
  if (FIndex == -1) {
    SetItemSize(TabWidth(), Value);
    UpDateUpDownPosition();
    Realign();
  }
}

void TbsSkinPageControl::SetSkinData(TbsSkinData* Value) {
  if (FSD) FSD->RemoveFreeNotification(this);
  FSD = Value;
  if (FSD) FSD->FreeNotification(this);
  if (Value && !Value->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TbsSkinPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TPageControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FImages) FImages = nullptr;  // the room it had stays reserved
}

void TbsSkinPageControl::Loaded() {
  TPageControl::Loaded();
  if (FIndex == -1) {
    SetItemSize(TabWidth(), TabHeight() > 0 ? TabHeight() : FDefaultItemHeight);
    UpDateUpDownPosition();
    Realign();
  }
}

void TbsSkinPageControl::GetSkinData() {
  BGPictureIndex = -1;
  FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(SkinDataName);
  auto* R = FIndex == -1 ? nullptr : dynamic_cast<TbsDataSkinTabControl*>(FSD->Ctrls(FIndex));
  if (!R) {
    FIndex = -1;
    Picture = nullptr;
    return;
  }
  Picture = SkinPictureAt(FSD, R->PictureIndex);
  SkinRect = R->SkinRect;
  ClRect = R->ClRect;
  ElementTabRect = R->TabRect;
  ActiveTabRect = IsRectEmpty(&R->ActiveTabRect) ? R->TabRect : R->ActiveTabRect;
  FocusTabRect = IsRectEmpty(&R->FocusTabRect) ? R->ActiveTabRect : R->FocusTabRect;
  MouseInTabRect = R->MouseInTabRect;
  TabsBGRect = R->TabsBGRect;
  LTPoint = R->LTPoint;
  RTPoint = R->RTPoint;
  LBPoint = R->LBPoint;
  RBPoint = R->RBPoint;
  TabLeftOffset = R->TabLeftOffset;
  TabRightOffset = R->TabRightOffset;
  FontName = R->FontName;
  FontStyle = R->FontStyle;
  FontHeight = R->FontHeight;
  FontColor = R->FontColor;
  ActiveFontColor = R->ActiveFontColor;
  FocusFontColor = R->FocusFontColor;
  MouseInFontColor = R->MouseInFontColor;
  UpDown = R->UpDown;
  BGPictureIndex = R->BGPictureIndex;
  TabStretchEffect = R->TabStretchEffect;
  ShowFocus = R->ShowFocus;
  FocusOffsetX = R->FocusOffsetX;
  FocusOffsetY = R->FocusOffsetY;
  StretchEffect = R->StretchEffect;
  StretchType = R->StretchType;
  LeftStretch = R->LeftStretch;
  TopStretch = R->TopStretch;
  RightStretch = R->RightStretch;
  BottomStretch = R->BottomStretch;
  CloseButtonRect = R->CloseButtonRect;
  ClosebuttonActiveRect =
      IsRectEmpty(&R->CloseButtonActiveRect) ? R->CloseButtonRect : R->CloseButtonActiveRect;
  CloseButtonDownRect = IsRectEmpty(&R->CloseButtonDownRect) ? ClosebuttonActiveRect : R->CloseButtonDownRect;
  ButtonTransparent = R->ButtonTransparent;
  ButtonTransparentColor = R->ButtonTransparentColor;
  TabLeftBottomActiveRect = R->TabLeftBottomActiveRect;
  TabLeftBottomFocusRect =
      IsRectEmpty(&R->TabLeftBottomFocusRect) ? R->TabLeftBottomActiveRect : R->TabLeftBottomFocusRect;
}

void TbsSkinPageControl::BeforeChangeSkinData() {
  FIndex = -1;
  Picture = nullptr;
}

void TbsSkinPageControl::ChangeSkinData() {
  GetSkinData();
  if (FShowCloseButtons) {
    changeTempRoom(-FCloseSize);
    FCloseSize = GetCloseSize();
    changeTempRoom(FCloseSize);
  }
  Integer H;
  if (FIndex == -1) {
    Font()->Assign(FDefaultFont.get());
    H = TabHeight() > 0 ? TabHeight() : FDefaultItemHeight;
  } else {
    if (UseSkinFont) {
      Font()->SetName(FontName);
      Font()->SetHeight(FontHeight);
      Font()->SetStyle(FontStyle);
    } else {
      Font()->Assign(FDefaultFont.get());
    }
    Font()->SetColor(FontColor);
    H = TabHeight() > 0 ? TabHeight() : rectHeight(ElementTabRect);
  }
  SetItemSize(TabWidth(), H);
  UpDateUpDownPosition();
  Realign();
  if (FSkinUpDown) {
    // Made again so that it takes the new skin and place.
    HideSkinUpDown();
    CheckScroll();
  }
  if (ActivePage()) ActivePage()->Repaint();
}

void TbsSkinPageControl::UpDateTabs() {
  Integer H = TabHeight();
  if (H <= 0) H = FIndex == -1 ? FDefaultItemHeight : rectHeight(ElementTabRect);
  SetItemSize(TabWidth(), H);
  if (MultiLine()) HideSkinUpDown();
  Realign();
}

// ---- hiding ----

void TbsSkinPageControl::HideTabs() {
  if (FOldTabHeight != -1 || TabCount() == 0) return;
  FHideTabs = true;
  FOLdTabPosition = TabPosition();
  FOldMultiLine = MultiLine();
  if (TabPosition() == tpLeft || TabPosition() == tpRight) SetTabPosition(tpTop);
  SetMultiLine(false);
  FOldTabHeight = TabHeight();
  SetTabHeight(1);
  HideSkinUpDown();
}

void TbsSkinPageControl::ShowTabs() {
  if (FOldTabHeight == -1) return;
  SetTabPosition(FOLdTabPosition);
  SetMultiLine(FOldMultiLine);
  FHideTabs = false;
  SetTabHeight(FOldTabHeight);
  if (FOldTabHeight <= 0 && FIndex != -1) SetItemSize(TabWidth(), rectHeight(ElementTabRect));
  FOldTabHeight = -1;
  if (!MultiLine()) CheckScroll();
}

void TbsSkinPageControl::HideBorderAndTabs() {
  SetTabPosition(tpTop);
  FHideTabs = true;
  FHideBorder = true;
  HideSkinUpDown();
  Realign();
  Invalidate();
}

void TbsSkinPageControl::ShowBorderAndTabs() {
  FHideTabs = false;
  FHideBorder = false;
  ShowTabs();
  Realign();
  Invalidate();
}

// ---- geometry corrections ----

void TbsSkinPageControl::adjustPageRect(TRect& R) {
  if (FHideBorder) {
    R = Rect(0, -2, FWidth, FHeight);
    return;
  }
  const Integer CW = ClientWidth(), CH = ClientHeight();
  if (FIndex == -1) {
    switch (TabPosition()) {
      case tpTop:
        R = Rect(1, R.Top - 5 - (FHideTabs ? 1 : 0), CW - 1, CH - 1);
        break;
      case tpBottom:
        R = Rect(1, 1, CW - 1, R.Bottom + 3);
        break;
      case tpLeft:
        R = Rect(R.Left - 3 - (FHideTabs ? 1 : 0), R.Top - 5, CW - 1, CH - 1);
        break;
      case tpRight:
        R = Rect(R.Left - 3, R.Top - 5, R.Right + 3 + (FHideTabs ? 1 : 0), CH - 1);
        break;
    }
    return;
  }
  const Integer RB = rectWidth(SkinRect) - ClRect.Right, BB = rectHeight(SkinRect) - ClRect.Bottom;
  switch (TabPosition()) {
    case tpTop:
      R = Rect(ClRect.Left, R.Top - 6 + ClRect.Top - (FHideTabs ? 1 : 0), CW - RB, CH - BB);
      break;
    case tpBottom:
      R = Rect(ClRect.Left, R.Top - 4 + ClRect.Top, CW - RB, R.Bottom + 4 - BB + (FHideTabs ? 1 : 0));
      break;
    case tpLeft:
      R = Rect(R.Left + ClRect.Left - 4 - (FHideTabs ? 1 : 0), R.Top - 4 + ClRect.Top, CW - RB, CH - BB);
      break;
    case tpRight:
      R = Rect(ClRect.Left, R.Top - 4 + ClRect.Top, R.Right - RB + 4 + (FHideTabs ? 1 : 0), CH - BB);
      break;
  }
}

void TbsSkinPageControl::adjustTabRect(TRect& R) {
  if (Style() != tsTabs) return;
  switch (TabPosition()) {
    case tpTop:
      if (!MultiLine()) OffsetRect(&R, -2, 0);
      OffsetRect(&R, 0, -2);
      if (shifted()) OffsetRect(&R, GetTabsOffset(), 0);
      break;
    case tpBottom:
      if (!MultiLine()) OffsetRect(&R, -2, 0);
      OffsetRect(&R, 0, 2);
      break;
    case tpLeft:
      OffsetRect(&R, -2, 0);
      break;
    case tpRight:
      OffsetRect(&R, 2, 0);
      break;
  }
}

void TbsSkinPageControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case TCM_ADJUSTRECT:
      TPageControl::WndProc(Message);
      if (Message.WParam == 0 && Message.LParam) adjustPageRect(*reinterpret_cast<TRect*>(Message.LParam));
      return;
    case TCM_GETITEMRECT:
      TPageControl::WndProc(Message);
      if (Message.LParam) adjustTabRect(*reinterpret_cast<TRect*>(Message.LParam));
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_NCHITTEST:
      // The platform hit-tests its own row; a shifted row is met by shifting the mouse back.
      if (shifted())
        Message.LParam =
            MAKELPARAM(Word(int16_t(LOWORD(Message.LParam)) - GetTabsOffset()), HIWORD(Message.LParam));
      break;
    case TCM_SETCURSEL:
      TPageControl::WndProc(Message);
      if (!ComponentState().Contains(csLoading)) Invalidate();
      return;
    case WM_SIZE:
      GetSkinData();
      TPageControl::WndProc(Message);
      if (!MultiLine() && !ComponentState().Contains(csDesigning)) CheckScroll();
      return;
    case WM_HSCROLL:
      TPageControl::WndProc(Message);
      Repaint();
      return;
    case WM_ERASEBKGND:
      if (PageCount() > 0 && TabCount() > 0) {
        Message.Result = 1;
        return;
      }
      GetSkinData();
      if (FIndex == -1) break;
      DrawBackground(HDC(Message.WParam));
      Message.Result = 1;
      return;
    case CM_PAINTNC:
      Message.Result = PaintNCDone;
      return;
    case WM_CHECKPARENTBG:
      if (FTabsBGTransparent) Repaint();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TPageControl::WndProc(Message);
      if (shifted()) Invalidate();
      return;
    case WM_MOUSEWHEEL:
      TPageControl::WndProc(Message);
      if (MouseWheelSupport && Focused()) {
        const Integer Delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
        TTabSheet* Page = FindNextPage(ActivePage(), Delta < 0, true);
        const Integer From = ActivePageIndex(), To = Page ? Page->PageIndex() : -1;
        // Nothing at the ends: the next page must really lie further that way.
        if (Page && ((Delta < 0 && To > From) || (Delta >= 0 && To < From))) SelectNextPage(Delta < 0, true);
      }
      return;
    default:
      break;
  }
  TPageControl::WndProc(Message);
}

void TbsSkinPageControl::Change() {
  syncUpDown();
  TPageControl::Change();
  Invalidate();
  if (ActivePage()) ActivePage()->Invalidate();
}

// ---- hover ----

Integer TbsSkinPageControl::visiblePageAt(Integer VisibleIndex) {
  for (Integer I = 0; I < PageCount(); ++I)
    if (Pages(I)->TabIndex() == VisibleIndex) return I;
  return -1;
}

void TbsSkinPageControl::TestActive(Integer X, Integer Y) {
  if (FHideTabs) return;
  FOldActiveTab = FActiveTab;
  FOldActiveTabIndex = FActiveTabIndex;
  FActiveTabIndex = -1;
  for (Integer I = 0; I < TabCount(); ++I) {
    TRect R;
    GetTabRect(I, R);
    if (PtInRect(&R, Point(X, Y))) {
      FActiveTabIndex = I;
      FActiveTab = visiblePageAt(I);
      break;
    }
  }
  if (FActiveTabIndex == FOldActiveTabIndex) {
    trackCloseButton(X, Y);
    return;
  }
  bool Redraw = false;
  if (FOldActiveTabIndex != -1 && FOldActiveTabIndex != TabIndex() && FOldActiveTab >= 0 &&
      FOldActiveTab < PageCount()) {
    if (auto* S = dynamic_cast<TbsSkinCustomTabSheet*>(Pages(FOldActiveTab))) {
      S->ButtonMouseIn = false;
      S->ButtonMouseDown = false;
    }
    Redraw = true;
  }
  if (FActiveTabIndex != -1 && FActiveTabIndex != TabIndex()) Redraw = true;
  if (Redraw && HandleAllocated()) {
    DrawTabs(Canvas());
    // Hand the drawing to the screen now rather than when the canvas is next released.
    if (auto* CC = dynamic_cast<TControlCanvas*>(Canvas())) CC->FreeHandle();
  }
  trackCloseButton(X, Y);
}

void TbsSkinPageControl::redrawTabs() {
  if (!HandleAllocated()) return;
  DrawTabs(Canvas());
  if (auto* CC = dynamic_cast<TControlCanvas*>(Canvas())) CC->FreeHandle();
}

TbsSkinCustomTabSheet* TbsSkinPageControl::hotSheet() {
  if (!FShowCloseButtons || FHideTabs || FActiveTabIndex == -1 || FActiveTab < 0 || FActiveTab >= PageCount())
    return nullptr;
  return dynamic_cast<TbsSkinCustomTabSheet*>(Pages(FActiveTab));
}

bool TbsSkinPageControl::inCloseButton(TbsSkinCustomTabSheet* Sheet, Integer X, Integer Y, bool Shifted) {
  TRect Tab;
  GetTabRect(FActiveTabIndex, Tab);
  TRect Hit = Sheet->ButtonRect;
  OffsetRect(&Hit, Shifted ? Tab.Left - GetTabsOffset() : Tab.Left, Tab.Top);
  return PtInRect(&Hit, Point(X, Y));
}

void TbsSkinPageControl::trackCloseButton(Integer X, Integer Y) {
  TbsSkinCustomTabSheet* Sheet = hotSheet();
  if (!Sheet) return;
  const bool In = inCloseButton(Sheet, X, Y, false);
  if (In == Sheet->ButtonMouseIn) return;
  Sheet->ButtonMouseIn = In;
  if (!In) Sheet->ButtonMouseDown = false;
  redrawTabs();
}

void TbsSkinPageControl::closeButtonMouse(TMouseButton Button, Integer X, Integer Y, bool Up) {
  if (Button != mbLeft) return;
  TbsSkinCustomTabSheet* Sheet = hotSheet();
  if (!Sheet) return;
  if (!inCloseButton(Sheet, X, Y, shifted())) {
    Sheet->ButtonMouseIn = false;
    Sheet->ButtonMouseDown = false;
    return;
  }
  Sheet->ButtonMouseIn = true;
  Sheet->ButtonMouseDown = !Up;
  redrawTabs();
  if (Up) DoClose();
}

void TbsSkinPageControl::DoClose() {
  TTabSheet* Page = ActivePage();
  if (!Page) return;
  bool CanClose = true;
  if (OnClose) OnClose(Page, CanClose);
  if (CanClose) {
    Page->SetTabVisible(false);
    if (FreeOnClose) delete Page;
    if (OnAfterClose) OnAfterClose(this);
    return;
  }
  POINT P;
  GetCursorPos(&P);
  if (HandleAllocated() && WindowFromPoint(P) != Handle()) {
    if (auto* S = dynamic_cast<TbsSkinCustomTabSheet*>(Page)) {
      S->ButtonMouseIn = false;
      S->ButtonMouseDown = false;
    }
    redrawTabs();
  }
}

void TbsSkinPageControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TPageControl::MouseMove(Shift, X, Y);
  if (!ComponentState().Contains(csDesigning)) TestActive(X, Y);
}

void TbsSkinPageControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TPageControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && !shifted()) TestActive(X, Y);
  closeButtonMouse(Button, X, Y, false);
}

void TbsSkinPageControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TPageControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft && !shifted()) TestActive(X, Y);
  closeButtonMouse(Button, X, Y, true);
}

void TbsSkinPageControl::CMMouseLeave(TMessage& Message) {
  TPageControl::CMMouseLeave(Message);
  TestActive(-1, -1);
  FActiveTabIndex = -1;
  FActiveTab = -1;
}

// ---- tab scroller ----

Integer TbsSkinPageControl::CountHiddenTabs() {
  Integer N = 0;
  for (Integer I = 0; I < TabCount(); ++I) {
    TRect R;
    GetTabRect(I, R);
    if (R.Right > FWidth - 3 || R.Right <= 0) ++N;
  }
  return N;
}

Integer TbsSkinPageControl::CountLeftHiddenTabs() {
  Integer N = 0;
  for (Integer I = 0; I < TabCount(); ++I) {
    TRect R;
    GetTabRect(I, R);
    if (R.Right <= 0) ++N;
  }
  return N;
}

void TbsSkinPageControl::placeUpDown() {
  const Integer H = FSkinUpDown->Height();
  Integer Top;
  const TRect D = DisplayRect();
  if (TabPosition() == tpTop)
    Top = FIndex == -1 ? 0 : std::max(0, D.Top - H - ClRect.Top);
  else
    Top = FIndex == -1 ? FHeight - H : std::min(FHeight - H, rectHeight(SkinRect) + D.Bottom - ClRect.Bottom);
  FSkinUpDown->SetBounds(FWidth - FSkinUpDown->Width(), Top, FSkinUpDown->Width(), H);
}

void TbsSkinPageControl::CheckScroll() {
  // The platform row draws its arrows inside the control (we paint over them) and the scroller's
  // window covers their place, so there is no arrow window of its own to take away here.
  const Integer N = CountHiddenTabs();
  if (N == 0 || MultiLine()) {
    HideSkinUpDown();
    return;
  }
  if (!FSkinUpDown) {
    ShowSkinUpDown();
    return;
  }
  FSkinUpDown->SetMax(N);
  placeUpDown();
}

void TbsSkinPageControl::ShowSkinUpDown() {
  if (FHideTabs || FSkinUpDown) return;
  GetSkinData();
  FSkinUpDown = new TbsSkinUpDown(this);
  FSkinUpDown->SetVisible(false);
  FSkinUpDown->SetParent(this);
  FSkinUpDown->SetWidth(FDefaultItemHeight * 2);
  FSkinUpDown->SetHeight(FDefaultItemHeight);
  FSkinUpDown->SetMin(0);
  FSkinUpDown->SetMax(CountHiddenTabs());
  FSkinUpDown->SetPosition(CountLeftHiddenTabs());
  FSkinUpDown->SetIncrement(1);
  FSkinUpDown->OnChange = [this](TObject* Sender) { UpDownChange(Sender); };
  FSkinUpDown->SetSkinDataName(UpDown);
  FSkinUpDown->SetSkinData(FSD);
  placeUpDown();
  FSkinUpDown->SetVisible(true);
}

void TbsSkinPageControl::HideSkinUpDown() {
  if (!FSkinUpDown) return;
  TbsSkinUpDown* U = FSkinUpDown;
  FSkinUpDown = nullptr;
  delete U;
}

void TbsSkinPageControl::UpDownChange(TObject*) {
  if (!FSkinUpDown) return;
  FSkinUpDown->SetMax(CountHiddenTabs());
  // Scrolls the platform row so that visible tab Position comes first; WM_HSCROLL repaints.
  Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, Word(FSkinUpDown->Position() & 0xFFFF)), 0);
}

void TbsSkinPageControl::syncUpDown() {
  if (!FSkinUpDown) return;
  // The row may have scrolled further than the range last set (bringing the selected tab in): a
  // position the range refuses would leave the scroller behind, and its next step would scroll back.
  FSkinUpDown->SetMax(CountHiddenTabs());
  FSkinUpDown->SetPosition(CountLeftHiddenTabs());
}

void TbsSkinPageControl::UpDateUpDownPosition() {
  syncUpDown();
  Invalidate();
}
