// The engine component: attachment to its form, properties, availability tests, the keyboard
// shortcut handler, the skin-change protocol and the skin form lookup.
#include "skin/forms/engine/bsskinform.h"

#include "platform/rtl/consts.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/core/application.h"
#include "platform/ui/core/screen.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/hints/bsskinhint.h"
#include "skin/core/bsskinchangewalk.h"
#include "skin/forms/engine/bsclientinactivepanel.h"
#include "skin/forms/frame/bsskinbuttonobjects.h"
#include "skin/forms/frame/bsskincaptionobject.h"

TbsSkinForm::TbsSkinForm(TComponent* AOwner) : TComponent(AOwner) {
  auto* F = dynamic_cast<TForm*>(AOwner);
  if (F == nullptr) throw EInvalidCast(SInvalidCast);
  FForm = F;

  FLogoBitMap = std::make_unique<TBitmap>();
  FDefCaptionFont = std::make_unique<TFont>();
  FDefInActiveCaptionFont = std::make_unique<TFont>();
  for (TFont* Fn : {FDefCaptionFont.get(), FDefInActiveCaptionFont.get()}) {
    Fn->SetName("Tahoma");
    Fn->SetStyle(TFontStyles{fsBold});
    Fn->SetHeight(13);
  }
  FDefCaptionFont->SetColor(clBtnText);
  FDefInActiveCaptionFont->SetColor(clBtnShadow);
  RMTop = std::make_unique<TBitmap>();
  RMLeft = std::make_unique<TBitmap>();
  RMBottom = std::make_unique<TBitmap>();
  RMRight = std::make_unique<TBitmap>();
  auto timer = [this](Cardinal Interval, void (TbsSkinForm::*Proc)(TObject*)) {
    auto T = std::make_unique<TTimer>(nullptr);
    T->SetEnabled(false);
    T->SetInterval(Interval);
    T->OnTimer = [this, Proc](TObject* S) { (this->*Proc)(S); };
    return T;
  };
  FQuickButtons = std::make_unique<TbsQuickButtonItems>(this);
  FLayers.LayerManager = new TbsLayerManager(this);
  FLayers.MenuLayerManager = new TbsLayerManager(this);
  FLayers.BorderLayer = MakeFormLayerBorder(this);
  FMouseTimer = timer(50, &TbsSkinForm::mouseTimerProc);
  FMorphTimer = timer(25, &TbsSkinForm::morphTimerProc);
  FAnimateTimer = timer(25, &TbsSkinForm::animateTimerProc);

  FSkinMenu = new TbsSkinMenu(this, FForm);
  FFormMenus = MakeFormMenus(this);
  FMenuTracking = FFormMenus.get();

  // The engine draws its own caption buttons.
  FForm->SetBorderIcons(TBorderIcons{});
  FForm->OnShortCut = [this](TWMKey& Msg, bool& Handled) { FormShortCut(Msg, Handled); };
  FForm->SetAutoSize(false);
  FForm->SetAutoScroll(false);
  if (FForm->FormStyle() == fsMDIForm && !designing()) CreateMDIScrollBars();

  if (!designing()) {
    OldWindowProc = FForm->WindowProc;
    FForm->WindowProc = [this](TMessage& M) { FormWndProc(M); };
    if (FForm->HandleAllocated()) FForm->RecreateWnd();
  }
}

TbsSkinForm::~TbsSkinForm() {
  releaseMDIClient();
  // A child form frees its engine before its window: the main form hears of it now, while it can
  // still leave the child out.
  if (isMDIChild() && FForm->ComponentState().Contains(csDestroying) && FForm->HandleAllocated() &&
      !FWindowDestroying)
    mdiChildDestroyed();
  // A child freed while shown is never hidden first: its tab goes with it now.
  if (isMDIChild() && FForm->ComponentState().Contains(csDestroying)) DeleteChildFromBar(FForm);
  if (FMenuTracking != nullptr) FMenuTracking->UnHookApp();
  FMenuTracking = nullptr;
  // The application outlives the engine: its restore hook must not call into a freed one.
  if (FAppRestoreHooked && Application != nullptr) Application->OnRestore = nullptr;
  FFormMenus.reset();
  // A ribbon that outlives the engine must not call into it.
  SetSkinRibbon(nullptr);
  HideClientInActiveEffect();
  // The menu chain and the layers may call back into the engine as they go: they go while it is whole.
  Destroying();
  DestroyComponents();
  FSkinMenu = nullptr;
  FLayers.LayerManager = FLayers.MenuLayerManager = nullptr;
  FLayers.BorderLayer = nullptr;
  ClearObjects();
  if (!designing() && FForm != nullptr && OldWindowProc) FForm->WindowProc = OldWindowProc;
  FMouseTimer.reset();
  FMorphTimer.reset();
  FAnimateTimer.reset();
  // The window owns the region it was given and frees it with itself.
  FRgn = nullptr;
}

void TbsSkinForm::Loaded() {
  TComponent::Loaded();
  if (!designing() && FMode.WindowStateInit != FMode.WindowState) SetWindowState(FMode.WindowStateInit);
}

void TbsSkinForm::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) {
    // The frame objects point into the skin that is going: the frame falls back to the default look.
    FSD = nullptr;
    ClearObjects();
    FMode.SkinSupport = false;
  } else if (AComponent == FMSD)
    FMSD = nullptr;
  else if (AComponent == FMainMenu)
    FMainMenu = nullptr;
  else if (AComponent == FSystemMenu)
    FSystemMenu = nullptr;
  if (AComponent == FSkinHint)
    FSkinHint = nullptr;
  else if (AComponent == FStatusBar)
    FStatusBar = nullptr;
  if (AComponent == FQuickImageList) FQuickImageList = nullptr;
  if (AComponent == FMDITabsBarComponent) {
    FMDITabsBar = nullptr;
    FMDITabsBarComponent = nullptr;
  }
  if (AComponent == FSkinRibbonComponent) {
    FSkinRibbon = nullptr;
    FSkinRibbonComponent = nullptr;
  }
}

// ---------------------------------------------------------------------------------------------
// Properties

void TbsSkinForm::SetSkinData(TbsSkinData* Value) {
  if (FSD != nullptr) FSD->RemoveFreeNotification(this);
  FSD = Value;
  if (FSD != nullptr) {
    FSD->FreeNotification(this);
    if (FForm->FormStyle() != fsMDIChild) FSkinnableForm = FSD->SkinnableForm() && !FUseRibbon;
  }
  if (!designing()) ApplySkinData();
  if (FMenuTracking != nullptr) FMenuTracking->SkinDataChanged(Value);
}

void TbsSkinForm::SetMenusSkinData(TbsSkinData* Value) {
  if (FMSD != nullptr) FMSD->RemoveFreeNotification(this);
  FMSD = Value;
  if (FMSD != nullptr) FMSD->FreeNotification(this);
}

void TbsSkinForm::SetQuickImageList(TCustomImageList* Value) {
  FQuickImageList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinForm::SetSkinHint(TbsSkinHint* Value) {
  FSkinHint = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinForm::SetStatusBar(TbsSkinStatusBar* Value) {
  FStatusBar = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinForm::SetSystemMenu(TPopupMenu* Value) {
  FSystemMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinForm::SetMainMenu(TMainMenu* Value) {
  FMainMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinForm::SetWindowState(TWindowState Value) {
  FMode.WindowStateInit = Value;
  if (loadingOrDesigning()) return;
  ApplyWindowState(Value);
  FMode.WindowStateInit = FMode.WindowState;
}

void TbsSkinForm::SetBorderIcons(TbsBorderIcons Value) {
  FBorderIcons = Value;
  if (loadingOrDesigning()) return;
  CheckObjects();
  UpDateFormNC();
}

void TbsSkinForm::SetShowIcon(bool Value) {
  FShowIcon = Value;
  if (!loadingOrDesigning()) UpDateFormNC();
}

void TbsSkinForm::SetDefCaptionFont(TFont* Value) {
  FDefCaptionFont->Assign(Value);
  if (!loadingOrDesigning() && !FMode.SkinSupport && FForm->HandleAllocated())
    SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinForm::SetDefInActiveCaptionFont(TFont* Value) {
  FDefInActiveCaptionFont->Assign(Value);
  if (!loadingOrDesigning() && !FMode.SkinSupport && FForm->HandleAllocated())
    SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinForm::SetUseRibbon(bool Value) {
  FUseRibbon = Value;
  if (Value && !designing() && !ComponentState().Contains(csLoading)) SetSkinnableForm(false);
}

void TbsSkinForm::setLayeredStyle(bool On) {
  if (!FForm->HandleAllocated()) return;
  HWND H = FForm->Handle();
  const LONG Ex = GetWindowLong(H, GWL_EXSTYLE);
  const bool Has = (Ex & LONG(WS_EX_LAYERED)) != 0;
  if (On && !Has) SetWindowLong(H, GWL_EXSTYLE, Ex | LONG(WS_EX_LAYERED));
  if (!On && Has) SetWindowLong(H, GWL_EXSTYLE, Ex & ~LONG(WS_EX_LAYERED));
}

void TbsSkinForm::setWindowAlpha(Byte Alpha) {
  if (FForm->HandleAllocated()) SetLayeredWindowAttributes(FForm->Handle(), 0, Alpha, LWA_ALPHA);
}

void TbsSkinForm::SetAlphaBlend(bool Value) {
  if (Value == FAlphaBlend) return;
  FAlphaBlend = Value;
  if (!ComponentState().Empty() || !FIsLayerEnabled) return;
  if (Value) {
    setLayeredStyle(true);
    setWindowAlpha(FAlphaBlendValue);
  } else {
    setLayeredStyle(false);
  }
}

void TbsSkinForm::SetAlphaBlendValue(Byte Value) {
  if (Value == FAlphaBlendValue) return;
  FAlphaBlendValue = Value;
  if (FAlphaBlend && ComponentState().Empty() && FIsLayerEnabled) setWindowAlpha(Value);
}

// ---------------------------------------------------------------------------------------------
// Attachment and availability

void TbsSkinForm::SetSkinnableForm(bool Value) {
  const bool V = FUseRibbon ? false : Value;
  FMode.FormActive = GetFormActive();
  if (designing()) return;
  // The children's frames and menus hang on the main form's: they cannot follow a switch.
  const bool MDIMain = isMDIMain();
  if (MDIMain && FForm->MDIChildCount() > 0) return;
  // An MDI main form is never hidden: its client window and whatever it holds would go with it.
  bool ReMaximize = false;
  if (FMode.WindowStateInit == wsMaximized && FSkinnableForm) {
    if (!MDIMain) FForm->Hide();
    SetWindowState(wsNormal);
    ReMaximize = true;
  } else if (FForm->WindowState() == wsMaximized && !FSkinnableForm) {
    FForm->SetWindowState(wsNormal);
    if (!MDIMain) FForm->Hide();
    ReMaximize = true;
  }
  FSkinnableForm = V;
  ApplySkinData();
  ChangeSkinDataControls(nullptr, FForm);
  if (MDIMain) {
    // The form's window is made anew for its frame; the client window then goes through the engine
    // again, and the form lays itself out for the frame it has now.
    const bool ClientSeen = FClientInstance != nullptr;
    FForm->WindowProc = [this](TMessage& M) { FormWndProc(M); };
    if (ClientSeen && FForm->HandleAllocated()) FForm->RecreateWnd();
    subclassMDIClient();
    ForceResize();
  } else {
    FForm->WindowProc = [this](TMessage& M) { FormWndProc(M); };
    // The frame the system draws again needs the window's non-client area recalculated.
    if (!FSkinnableForm && FIsVistaOs && FForm->HandleAllocated()) FForm->RecreateWnd();
  }
  if (ReMaximize) {
    if (!FSkinnableForm)
      FForm->SetWindowState(wsMaximized);
    else
      SetWindowState(wsMaximized);
    if (!MDIMain) FForm->Show();
  }
}

void TbsSkinForm::SetFormBorderStyle(TFormBorderStyle BS) {
  FForm->SetBorderStyle(BS);
  ChangeSkinDataControls(nullptr, FForm);
}

void TbsSkinForm::SetFormStyle(TFormStyle FS) {
  if (FS != fsNormal && FS != fsStayOnTop) return;
  FForm->SetFormStyle(FS);
  ChangeSkinDataControls(nullptr, FForm);
}

void TbsSkinForm::EnableShadow(bool AShowShadow, bool AHideFormBefore) {
  if (!FIsLayerEnabled || AShowShadow == FHaveShadow) return;
  FHaveShadow = AShowShadow;
  const bool WasVisible = FForm->Visible();
  if (AHideFormBefore && WasVisible) FForm->Hide();
  HWND H = FForm->Handle();
  const ULONG_PTR Style = GetClassLongPtr(H, GCL_STYLE);
  SetClassLongPtr(H, GCL_STYLE,
                  LONG_PTR(AShowShadow ? (Style | CS_DROPSHADOW) : (Style & ~ULONG_PTR(CS_DROPSHADOW))));
  if (AHideFormBefore && WasVisible) FForm->Show();
}

bool TbsSkinForm::GetFormActive() const {
  if (FPreviewMode) return true;
  if (FForm->FormStyle() == fsMDIChild || FForm->FormStyle() == fsMDIForm) return FMode.FormActive;
  return FForm->Active();
}

bool TbsSkinForm::UseLayeredBorders() const {
  return FSD != nullptr && !FSD->Empty && FSD->ShowLayeredBorders() && FSD->LayerFrame != nullptr &&
         FSD->LayerFrame->PictureIndex != -1 && FIsLayerEnabled && FSkinnableForm &&
         !AlwaysDisableLayeredFrames && !FPreviewMode && FForm->BorderStyle() != bsNone &&
         FForm->FormStyle() != fsMDIChild && !FSmartEffectsShow;
}

void TbsSkinForm::CheckAppLayeredBorders() {
  if (!isMainForm() || FSD == nullptr || !FSD->ShowLayeredBorders() || !UseLayeredBorders() ||
      Screen == nullptr)
    return;
  std::vector<TCustomForm*> Others;
  for (Integer i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* F = Screen->Forms(i);
    if (F == FForm || !F->Visible() || F->FormStyle() == fsStayOnTop || F->FormStyle() == fsMDIChild ||
        IsFormLayerWindow(F))
      continue;
    Others.push_back(F);
  }
  if (Others.empty()) return;
  for (TCustomForm* F : Others) F->Show();
  if (FForm->Visible()) FForm->Show();
}

bool TbsSkinForm::NeedLayeredShow() const {
  return FIsVistaOs && UseLayeredBorders() && !FAlphaBlend && !FAlphaBlendAnimation &&
         !(FSD != nullptr && FSD->AnimationForAllWindows());
}

bool TbsSkinForm::skinLoaded() const {
  if (FSD == nullptr || FSD->Empty) return false;
  const TBitmap* P = FSD->FPicture.get();
  if (P == nullptr || P->Empty()) return false;
  const Integer W = P->Width(), H = P->Height();
  const TRect& C = FSD->ClRect;
  // The client rectangle and the corner points must lie in the picture, in their order.
  if (C.Left < 0 || C.Top < 0 || C.Right > W || C.Bottom > H || C.Left >= C.Right || C.Top >= C.Bottom)
    return false;
  auto inside = [W, H](const TPoint& Pt) { return Pt.X >= 0 && Pt.Y >= 0 && Pt.X <= W && Pt.Y <= H; };
  const TPoint &LT = FSD->LTPoint, &RT = FSD->RTPoint, &LB = FSD->LBPoint, &RB = FSD->RBPoint;
  return inside(LT) && inside(RT) && inside(LB) && inside(RB) && LT.X <= RT.X && LB.X <= RB.X &&
         LT.Y <= LB.Y && RT.Y <= RB.Y;
}

bool TbsSkinForm::IsSizeable() const {
  return FAlwaysResize || FForm->BorderStyle() == bsSizeable || FForm->BorderStyle() == bsSizeToolWin;
}

bool TbsSkinForm::frameDrawn() const {
  return FForm->BorderStyle() != bsNone &&
         !(FForm->FormStyle() == fsMDIChild && FMode.WindowStateInit == wsMaximized);
}

bool TbsSkinForm::isMainForm() const {
  return Application != nullptr && Application->MainForm() == FForm;
}

void TbsSkinForm::FormShortCut(TWMKey& Msg, bool& Handled) {
  if (OnShortCut) {
    OnShortCut(Msg, Handled);
    if (Handled) return;
  }
  const TShiftState Shift = KeyDataToShiftState(Msg.KeyData);
  const bool AltOnly = Shift == TShiftState{ssAlt};
  if (AltOnly && Msg.CharCode == 32) {
    if (FMenuTracking != nullptr) FMenuTracking->PopupSystemMenuAtButton();
    FInShortCut = false;
    Handled = true;
    return;
  }
  if (FInShortCut) {
    FInShortCut = false;
    Handled = false;
  }
  TMessage M{Msg.Msg, WPARAM(Msg.CharCode), Msg.KeyData, 0};
  TMainMenu* MM = FMenuTracking != nullptr && FMenuTracking->MainMenuBarMenu() != nullptr
                      ? FMenuTracking->MainMenuBarMenu()
                      : FMainMenu;
  auto tryMenu = [&](TMainMenu* Menu) {
    if (AltOnly && Msg.CharCode != VK_F4 && FMenuTracking != nullptr &&
        FMenuTracking->MainMenuBarAccel(Msg.CharCode)) {
      Handled = true;
    } else {
      FInShortCut = Menu->IsShortCut(M);
      Handled = FInShortCut;
    }
  };
  if (MM != nullptr) tryMenu(MM);
  // A maximized MDI child's menu shown on the bar answers its own shortcuts.
  if (!Handled && FMenuTracking != nullptr) {
    if (TMainMenu* Child = FMenuTracking->MainMenuBarChildMenu()) tryMenu(Child);
  }
  ribbonShortCut(Msg, M, Handled);
  if (!Handled && FSystemMenu != nullptr && Msg.CharCode != 0) {
    FInShortCut = FSystemMenu->IsShortCut(M);
    if (FInShortCut) Handled = true;
  }
}

// ---------------------------------------------------------------------------------------------
// What the frame objects ask of the engine

bool TbsSkinForm::UseFullLayeredBorder() const {
  return UseLayeredBorders() && FLayers.BorderLayer != nullptr && FLayers.BorderLayer->FullBorder();
}

bool TbsSkinForm::FullLayeredBorderVisible(TPoint& TopLeft) const {
  return FLayers.BorderLayer != nullptr && FLayers.BorderLayer->FVisible &&
         FLayers.BorderLayer->FullBorder() && FLayers.BorderLayer->TopWindowPos(TopLeft);
}

bool TbsSkinForm::IsRolledFullBorder() const {
  return FLayers.BorderLayer != nullptr && FLayers.BorderLayer->FullBorder() &&
         (FMode.RollUpState || (FMode.WindowState == wsMinimized && !MinimizeDefault && !isMainForm()));
}

TMenuItem* TbsSkinForm::GetSystemMenuItems() {
  if (FMenuTracking != nullptr) return FMenuTracking->GetSystemMenuItems();
  return FSystemMenu != nullptr ? FSystemMenu->Items() : nullptr;
}

void TbsSkinForm::SkinMenuOpen() {
  if (!FMode.InMainMenu && FMenuTracking != nullptr) FMenuTracking->HookApp();
  if (FMode.InMenu) return;
  FMode.InMenu = true;
  if (OnSkinMenuOpen) OnSkinMenuOpen(this);
}

void TbsSkinForm::SkinMenuClose() {
  if (FLayers.MenuLayerManager != nullptr) FLayers.MenuLayerManager->Hide();
  FMode.InMenu = false;
  // The frame object that opened the menu is released.
  for (const auto& O : ObjectList) {
    if (auto* C = dynamic_cast<TbsSkinCaptionObject*>(O.get());
        C != nullptr && C->PopupMenuQuickButton != -1) {
      if (C->PopupMenuQuickButton < FQuickButtons->Count()) {
        FQuickButtons->Items(C->PopupMenuQuickButton)->Active = false;
        FQuickButtons->Items(C->PopupMenuQuickButton)->Down = false;
      }
      C->PopupMenuQuickButton = -1;
      C->RedrawQuickButtons();
    } else if (auto* B = dynamic_cast<TbsSkinButtonObject*>(O.get());
               B != nullptr && B->MenuItem != nullptr && B->FDown) {
      B->SetDown(false);
      break;
    } else if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O.get());
               A != nullptr && A->MenuItem != nullptr && A->FMenuTracking) {
      A->Active = true;
      A->FFrame = A->CountFrames;
      A->FDown = A->FMenuTracking = A->Increment = false;
      FAnimateTimer->SetEnabled(true);
      break;
    }
  }
  if (FMenuTracking != nullptr) FMenuTracking->UnHookApp();
  if (OnSkinMenuClose) OnSkinMenuClose(this);
  if (FMode.InMainMenu) {
    FMode.InMainMenu = false;
    if (FMenuTracking != nullptr) FMenuTracking->MainMenuBarExit();
    if (OnMainMenuExit) OnMainMenuExit(this);
  }
}

void TbsSkinForm::MinimizeToTray() {
  if (FMenuTracking != nullptr) FMenuTracking->MinimizeToTray();
}

// ---------------------------------------------------------------------------------------------
// Skin change

void TbsSkinForm::BeforeChangeSkinDataControls(TbsSkinData* ASkinData, TWinControl* AControl) {
  ::BeforeChangeSkinDataControls(ASkinData, AControl);
}

void TbsSkinForm::ChangeSkinDataControls(TbsSkinData* ASkinData, TWinControl* AControl) {
  ::ChangeSkinDataControls(ASkinData, AControl);
}

void TbsSkinForm::CheckControlsBackground() {
  for (Integer i = 0; i < FForm->ControlCount(); ++i)
    if (auto* W = dynamic_cast<TWinControl*>(FForm->Controls(i)))
      SendMessage(W->Handle(), WM_CHECKPARENTBG, 0, 0);
}

void TbsSkinForm::applyMinimumSize() {
  const Integer MW = GetMinWidth(), MH = GetMinHeight();
  const bool Narrow = FForm->Width() < MW, Low = FForm->Height() < MH;
  if (Narrow && Low)
    FForm->SetBounds(FForm->Left(), FForm->Top(), MW, MH);
  else if (Low)
    FForm->SetHeight(MH);
  else if (Narrow)
    FForm->SetWidth(MW);
  else
    ForceResize();
}

void TbsSkinForm::ApplySkinData() {
  if (FUseRibbon) FSkinnableForm = false;
  FMode.OldActiveObject = FMode.ActiveObject = FMode.MouseCaptureObject = -1;
  FMode.SkinSupport = skinLoaded();
  if (FLayers.LayerManager != nullptr) FLayers.LayerManager->Hide();
  if (FLayers.MenuLayerManager != nullptr) FLayers.MenuLayerManager->Hide();
  if (FLayers.BorderLayer->FVisible) FLayers.BorderLayer->Hide();
  // A skin without the engine's frame leaves no layer frame behind either.
  FLayers.BorderLayer->InitFrame(FMode.SkinSupport && FSkinnableForm && !FPreviewMode ? FSD : nullptr, FForm);
  if (FMode.SkinSupport && FSkinnableForm) {
    LoadObjects();
    CheckObjects();
  } else {
    ClearObjects();
    FGeometry.FormWidth = FForm->Width();
    FGeometry.FormHeight = FForm->Height();
    SetFormRegion(true);
  }
  if (FSkinnableForm) {
    if (!FForm->BorderIcons().Empty()) FForm->SetBorderIcons(TBorderIcons{});
  } else {
    // The system frame stays: its buttons follow the engine's.
    TBorderIcons I;
    if (!FHideCaptionButtons) I.Include(::biSystemMenu);
    if (FBorderIcons.Contains(biMinimize)) I.Include(::biMinimize);
    if (FBorderIcons.Contains(biMaximize)) I.Include(::biMaximize);
    FForm->SetBorderIcons(I);
  }
  applyMinimumSize();
  if (FMode.RollUpState || FMode.WindowState == wsMinimized) {
    if (FForm->Height() != GetMinHeight()) FForm->SetHeight(GetMinHeight());
  }
  if (FMode.WindowState == wsMinimized && FForm->Width() != GetMinWidth()) FForm->SetWidth(GetMinWidth());
  FGeometry.FormWidth = FForm->Width();
  FGeometry.FormHeight = FForm->Height();
  if (isMDIMain()) {
    if (FMDIHScrollBar != nullptr) FMDIHScrollBar->SetSkinData(FSD);
    if (FMDIVScrollBar != nullptr) FMDIVScrollBar->SetSkinData(FSD);
  }
  if (FMode.SkinSupport) UpdateSkinFrame(true);
  if (isMDIMain() && FForm->ClientHandle() != nullptr) {
    RedrawWindow(FForm->ClientHandle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
    FitMaximizedChildren();
  } else {
    FForm->Repaint();
  }
  CheckFormActive(!(FForm->FormStyle() == fsMDIChild && FMode.WindowState == wsMaximized));
  FMouseTimer->SetEnabled(true);
  if (OnChangeSkinData) OnChangeSkinData(this);
  if (UseLayeredBorders() && FForm->Visible()) {
    FLayers.BorderLayer->ShowWithForm();
    FForm->Show();
    FLayers.BorderLayer->SetBoundsWithForm();
  }
  RestoreOldFormBounds();
  if (!FMode.RollUpState) {
    if (FClientWidth > 0) FForm->SetClientWidth(FClientWidth);
    if (FClientHeight > 0) FForm->SetClientHeight(FClientHeight);
  }
}

// ---------------------------------------------------------------------------------------------
// Lookup

TbsSkinForm* GetSkinFormOf(TCustomForm* Form) {
  if (Form == nullptr) return nullptr;
  for (Integer i = 0; i < Form->ComponentCount(); ++i)
    if (auto* S = dynamic_cast<TbsSkinForm*>(Form->Components(i))) return S;
  return nullptr;
}
