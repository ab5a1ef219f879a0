#include "skin/forms/menubar/bsformmenus.h"

#include "skin/core/bsstrings.h"
#include "skin/forms/frame/bsskinbuttonobjects.h"
#include "skin/forms/frame/bsskinobjects.h"
#include "skin/forms/menubar/bsskinmainmenubar.h"
#include "skin/menus/bsskinpopupwindow.h"

std::unique_ptr<IbsFormMenuTracking> MakeFormMenus(TbsSkinForm* Engine) {
  return std::make_unique<TbsFormMenus>(Engine);
}

TbsFormMenus::TbsFormMenus(TbsSkinForm* AEngine) : Engine(AEngine) {
  FSysMenu = new TPopupMenu(Engine);
  FSysTrayMenu = new TbsSkinPopupMenu(Engine);
  FSysTrayMenu->SetComponentForm(Engine->Form());
  CreateSysTrayMenu();
}

TbsFormMenus::~TbsFormMenus() {
  UnHookApp();
}

TbsSkinData* TbsFormMenus::menuSkin() const {
  return Engine->MenusSkinData() != nullptr ? Engine->MenusSkinData() : Engine->SkinData();
}

// ---------------------------------------------------------------------------------------------
// The application hook

void TbsFormMenus::HookApp() {
  if (FInAppHook || Application == nullptr) return;
  OldAppMessage = Application->OnMessage;
  Application->OnMessage = [this](MSG& Msg, bool& Handled) { AppMessage(Msg, Handled); };
  FInAppHook = true;
}

void TbsFormMenus::UnHookApp() {
  if (!FInAppHook) return;
  FInAppHook = false;
  if (Application != nullptr) Application->OnMessage = OldAppMessage;
  OldAppMessage = nullptr;
}

void TbsFormMenus::AppMessage(MSG& Msg, bool& Handled) {
  if (Msg.message == WM_KEYDOWN) {
    SkinMenuKeyDown(Word(Msg.wParam));
    Msg.message = 0;
    Handled = true;
  } else if (Msg.message == WM_MOUSEWHEEL) {
    Msg.message = 0;
    Handled = true;
  }
}

bool TbsFormMenus::MainMenuBarAccel(Word Key) {
  return MainMenuBar != nullptr && MainMenuBar->FindHotKeyItem(Key);
}

bool TbsFormMenus::ExecuteMainMenuBarItem() {
  return MainMenuBar != nullptr && MainMenuBar->ExecuteActiveItem();
}

bool TbsFormMenus::IsFirstPopupLevel() const {
  return Engine->SkinMenu()->PopupCount() <= 1;
}

bool TbsFormMenus::IsLastPopupItemLeaf() const {
  TbsSkinMenu* M = Engine->SkinMenu();
  if (M->PopupCount() == 0) return true;
  TbsSkinPopupWindow* W = M->PopupLevel(M->PopupCount() - 1);
  if (W->ActiveItem < 0 || W->ActiveItem >= W->ItemCount()) return true;
  return W->Item(W->ActiveItem)->MenuItem->Count() == 0;
}

void TbsFormMenus::SkinMenuKeyDown(Word Key) {
  // An MDI child leaves the keyboard to its main form's open menu.
  if (TbsSkinForm* Main = mainEngine();
      Main != nullptr && Main != Engine &&
      (Main->Mode().InMenu || Main->Mode().InMainMenu || Main->SkinMenu()->Visible())) {
    if (auto* M = dynamic_cast<TbsFormMenus*>(Main->MenuTracking())) M->SkinMenuKeyDown(Key);
    return;
  }
  TbsSkinMenu* SM = Engine->SkinMenu();
  const bool MainMode = Engine->Mode().InMainMenu;
  if (MainMode && MainMenuBarAccel(Key)) return;
  if (Key == VK_ESCAPE && MainMode && !SM->Visible()) {
    SkinMainMenuClose();
    return;
  }
  if (Key == VK_LEFT && MainMode && IsFirstPopupLevel()) {
    if (MainMenuBar != nullptr) MainMenuBar->PriorMainMenuItem();
    return;
  }
  if (Key == VK_RIGHT && MainMode && IsLastPopupItemLeaf()) {
    if (MainMenuBar != nullptr) MainMenuBar->NextMainMenuItem();
    return;
  }
  auto deepest = [SM] {
    return SM->Visible() && SM->PopupCount() > 0 ? SM->PopupLevel(SM->PopupCount() - 1) : nullptr;
  };
  if (Key == VK_RETURN || Key == VK_DOWN) {
    if (ExecuteMainMenuBarItem()) return;
    if (TbsSkinPopupWindow* W = deepest()) W->PopupKeyDown(Key);
    return;
  }
  if (TbsSkinPopupWindow* W = deepest()) W->PopupKeyDown(Key);
  if (Key == VK_ESCAPE && SM->PopupCount() == 0) {
    if (Engine->Mode().InMainMenu)
      SkinMainMenuPopupClose();
    else if (Engine->Mode().InMenu)
      Engine->SkinMenuClose();
  }
}

// ---------------------------------------------------------------------------------------------
// Main-menu mode

void TbsFormMenus::SkinMainMenuClose() {
  Engine->LeaveMainMenuMode();
  if (Engine->SkinMenu()->Visible()) Engine->SkinMenu()->Hide();
  if (MainMenuBar != nullptr) MainMenuBar->MenuExit();
  UnHookApp();
  if (Engine->OnMainMenuExit) Engine->OnMainMenuExit(Engine);
}

void TbsFormMenus::SkinMainMenuPopupClose() {
  Engine->LeavePopupMenuMode();
  if (MainMenuBar != nullptr) MainMenuBar->MenuClose();
  if (Engine->OnSkinMenuClose) Engine->OnSkinMenuClose(Engine);
}

void TbsFormMenus::MenuBarMenuEnter() {
  if (MainMenuBar != nullptr) MainMenuBar->MenuEnter();
}

void TbsFormMenus::SkinDataChanged(TbsSkinData* Value) {
  FSysTrayMenu->SetSkinData(Value);
}

TMainMenu* TbsFormMenus::MainMenuBarMenu() const {
  return MainMenuBar != nullptr ? MainMenuBar->MainMenu() : nullptr;
}

TMainMenu* TbsFormMenus::MainMenuBarChildMenu() const {
  return MainMenuBar != nullptr ? MainMenuBar->GetChildMainMenu() : nullptr;
}

void TbsFormMenus::MainMenuBarExit() {
  if (MainMenuBar != nullptr) MainMenuBar->MenuExit();
}

// ---------------------------------------------------------------------------------------------
// Showing menus

void TbsFormMenus::PopupSkinMenu(TMenu* Menu, TPoint P) {
  PopupSkinMenu1(Menu, TRect(P.X, P.Y, P.X, P.Y), false);
}

void TbsFormMenus::PopupSkinMenu1(TMenu* Menu, const TRect& R, bool PopupUp) {
  Engine->SkinMenuOpen();
  Engine->SkinMenu()->Popup(nullptr, menuSkin(), 0, R, Menu->Items(), PopupUp);
}

void TbsFormMenus::DoPopupMenu(TPopupMenu* Menu, Integer X, Integer Y) {
  if (Menu->OnPopup) Menu->OnPopup(Engine);
  if (Engine->SkinMenu()->Visible()) Engine->SkinMenuClose();
  Engine->SkinMenuOpen();
  Engine->SkinMenu()->Popup(nullptr, Engine->SkinData(), 0, TRect(X, Y, X, Y), Menu->Items(), false);
}

// An MDI child's menus open through its main form's engine.
TbsSkinForm* TbsFormMenus::mainEngine() const {
  if (Engine->Form()->FormStyle() != fsMDIChild) return Engine;
  auto* MF = Application != nullptr ? Application->MainForm() : nullptr;
  return MF != nullptr ? GetSkinFormOf(MF) : nullptr;
}

void TbsFormMenus::PopupSystemMenuRect(const TRect& R) {
  TMenuItem* Items = GetSystemMenuItems();
  TbsSkinForm* Host = mainEngine();
  if (Host == nullptr || Items == nullptr) return;
  Host->SkinMenuOpen();
  TbsSkinData* SD = Host->MenusSkinData() != nullptr ? Host->MenusSkinData() : Host->SkinData();
  Host->SkinMenu()->Popup(nullptr, SD, 0, R, Items, false);
}

void TbsFormMenus::PopupSystemMenu(const TPoint& P) {
  PopupSystemMenuRect(TRect(P.X, P.Y, P.X, P.Y));
}

void TbsFormMenus::PopupSystemMenuAtButton() {
  TForm* F = Engine->Form();
  for (Integer i = 0; i < Engine->ObjectCount(); ++i) {
    TbsActiveSkinObject* O = Engine->Objects(i);
    bool IsSys = false;
    if (auto* A = dynamic_cast<TbsSkinAnimateObject*>(O)) IsSys = A->Command == cmSysMenu;
    if (auto* B = dynamic_cast<TbsSkinStdButtonObject*>(O)) IsSys = B->Command == cmSysMenu;
    if (!IsSys || !O->Enabled) continue;
    TPoint Origin(F->Left(), F->Top());
    if (F->FormStyle() == fsMDIChild) {
      const TPoint Off = Engine->Mode().SkinSupport
                             ? TPoint(-Engine->Geometry().NewClRect.Left, -Engine->Geometry().NewClRect.Top)
                             : TPoint(-3, -(Engine->GetDefCaptionHeight() + 3));
      Origin = F->ClientToScreen(Off);
    }
    TRect R = O->ObjectRect;
    OffsetRect(&R, Origin.X, Origin.Y);
    PopupSystemMenuRect(R);
  }
}

// ---------------------------------------------------------------------------------------------
// The system menu's items

TMenuItem* TbsFormMenus::newItem(const String& Name, const String& Key, const String& Builtin,
                                 std::function<void()> Click) {
  if (TComponent* Old = Engine->FindComponent(Name)) delete Old;
  auto* I = new TMenuItem(Engine);
  I->SetName(Name);
  TbsSkinData* SD = Engine->SkinData();
  if (SD != nullptr && SD->ResourceStrData() != nullptr)
    I->SetCaption(SD->ResourceStrData()->GetResStr(Key));
  else
    I->SetCaption(Builtin);
  if (Click) I->OnClick = [Click](TObject*) { Click(); };
  return I;
}

TMenuItem* TbsFormMenus::closeItem(const String& Name) {
  TForm* F = Engine->Form();
  TMenuItem* I = newItem(Name, "MI_CLOSECAPTION", "&Close", [F] { F->Close(); });
  I->SetShortCut(TextToShortCut(F->FormStyle() == fsMDIChild ? "Ctrl+F4" : "Alt+F4"));
  return I;
}

bool TbsFormMenus::wantMin() const {
  return Engine->Mode().WindowState != wsMinimized &&
         Engine->BorderIcons().Contains(TbsBorderIcon::biMinimize);
}
bool TbsFormMenus::wantMax() const {
  return Engine->Mode().WindowState != wsMaximized &&
         Engine->BorderIcons().Contains(TbsBorderIcon::biMaximize);
}
bool TbsFormMenus::wantRestore() const {
  return Engine->Mode().WindowState != wsNormal || Engine->RollUpState();
}
bool TbsFormMenus::wantRollUp() const {
  return Engine->BorderIcons().Contains(TbsBorderIcon::biRollUp) && !Engine->RollUpState() &&
         Engine->Mode().WindowState != wsMinimized &&
         !(Engine->Form()->FormStyle() == fsMDIChild && Engine->Mode().WindowState == wsMaximized);
}
bool TbsFormMenus::wantTray() const {
  return Engine->BorderIcons().Contains(TbsBorderIcon::biMinimizeToTray);
}

void TbsFormMenus::minimizeCommand() {
  if (Engine->AlwaysMinimizeToTray())
    MinimizeToTray();
  else
    Engine->SetWindowState(wsMinimized);
}

void TbsFormMenus::restoreCommand() {
  if (Engine->Mode().MaxRollUpState || (Engine->RollUpState() && Engine->WindowState() == wsNormal))
    Engine->SetRollUpState(false);
  else
    Engine->SetWindowState(wsNormal);
}

void TbsFormMenus::CreateSysMenu() {
  TMenuItem* Root = FSysMenu->Items();
  while (Root->Count() > 0) delete Root->Items(Root->Count() - 1);
  TbsSkinForm* E = Engine;
  if (wantMin())
    Root->Add(newItem("BSF_MINITEM", "MI_MINCAPTION", "Mi&nimize", [this] { minimizeCommand(); }));
  if (wantMax())
    Root->Add(newItem("BSF_MAXITEM", "MI_MAXCAPTION", "Ma&ximize", [E] { E->SetWindowState(wsMaximized); }));
  if (wantRestore())
    Root->Add(newItem("BSF_RESTORE", "MI_RESTORECAPTION", "&Restore", [this] { restoreCommand(); }));
  if (wantRollUp())
    Root->Add(newItem("BSF_ROLLUP", "MI_ROLLUPCAPTION", "Ro&llUp", [E] { E->SetRollUpState(true); }));
  if (wantTray())
    Root->Add(
        newItem("BSF_MINTOTRAY", "MI_MINTOTRAYCAPTION", "Minimize to &Tray", [this] { MinimizeToTray(); }));
  if (Root->Count() > 0) {
    auto* Sep = new TMenuItem(Engine);
    Sep->SetCaption("-");
    Root->Add(Sep);
  }
  Root->Add(closeItem("BSF_CLOSE"));
}

void TbsFormMenus::UpdateSystemMenu() {
  TPopupMenu* SM = Engine->SystemMenu();
  if (SM == nullptr || !Engine->UseDefaultSysMenu()) return;
  static const char* const Standard[] = {"BSF_MINITEM",   "BSF_MAXITEM", "BSF_CLOSE",
                                         "BSF_MINTOTRAY", "BSF_ROLLUP",  "BSF_RESTORE"};
  for (bool Removed = true; Removed;) {
    Removed = false;
    for (Integer i = 0; i < SM->Items()->Count() && !Removed; ++i)
      for (const char* N : Standard)
        if (SM->Items()->Items(i)->Name() == N) {
          delete SM->Items()->Items(i);
          Removed = true;
          break;
        }
  }
  TbsSkinForm* E = Engine;
  TMenuItem* Root = SM->Items();
  if (wantTray())
    Root->Insert(0, newItem("BSF_MINTOTRAY", "MI_MINTOTRAYCAPTION", "Minimize to &Tray",
                            [this] { MinimizeToTray(); }));
  if (wantRollUp())
    Root->Insert(0, newItem("BSF_ROLLUP", "MI_ROLLUPCAPTION", "Ro&llUp", [E] { E->SetRollUpState(true); }));
  if (wantMax())
    Root->Insert(
        0, newItem("BSF_MAXITEM", "MI_MAXCAPTION", "Ma&ximize", [E] { E->SetWindowState(wsMaximized); }));
  if (wantRestore())
    Root->Insert(0, newItem("BSF_RESTORE", "MI_RESTORECAPTION", "&Restore", [this] { restoreCommand(); }));
  if (wantMin())
    Root->Insert(0, newItem("BSF_MINITEM", "MI_MINCAPTION", "Mi&nimize", [this] { minimizeCommand(); }));
  Root->Add(closeItem("BSF_CLOSE"));
}

TMenuItem* TbsFormMenus::GetSystemMenuItems() {
  if (Engine->SystemMenu() != nullptr) {
    UpdateSystemMenu();
    return Engine->SystemMenu()->Items();
  }
  CreateSysMenu();
  return FSysMenu->Items();
}

// ---------------------------------------------------------------------------------------------
// Tray

void TbsFormMenus::CreateSysTrayMenu() {
  TMenuItem* Root = FSysTrayMenu->Items();
  Root->Add(newItem("TRAY_BSF_RESTORE", "MI_RESTORECAPTION", "&Restore", [this] { RestoreFromTray(); }));
  auto* Sep = new TMenuItem(Engine);
  Sep->SetCaption("-");
  Root->Add(Sep);
  Root->Add(closeItem("TRAY_BSF_CLOSE"));
}

void TbsFormMenus::MinimizeToTray() {
  if (FTrayIcon == nullptr) return;
  FTrayIcon->SetMinimizeToTray(true);
  if (Application != nullptr) Application->Minimize();
  if (Engine->OnMinimizeToTray) Engine->OnMinimizeToTray(Engine);
}

void TbsFormMenus::RestoreFromTray() {
  if (FTrayIcon == nullptr) return;
  FTrayIcon->SetMinimizeToTray(false);
  FTrayIcon->ShowMainForm();
  if (Application != nullptr) Application->Restore();
  if (!Engine->AlwaysShowInTray()) FTrayIcon->SetIconVisible(false);
  if (Engine->OnRestoreFromTray) Engine->OnRestoreFromTray(Engine);
  Engine->CheckAppLayeredBorders();
}

void TbsFormMenus::SetTrayIcon(IbsFormTrayIcon* Value) {
  FTrayIcon = Value;
  if (Value == nullptr) return;
  if (!Engine->AlwaysShowInTray()) Value->SetIconVisible(false);
  Value->SetMinimizeToTray(false);
  if (Value->PopupMenu() == nullptr) {
    Value->SetPopupMenu(FSysTrayMenu);
    if (!Value->HasOnDblClick()) Value->SetOnDblClick([this](TObject*) { RestoreFromTray(); });
  }
}

// ---------------------------------------------------------------------------------------------
// The MDI main form's menu bar

void TbsFormMenus::MDIChildMaximize() {
  if (MainMenuBar != nullptr) MainMenuBar->MDIChildMaximize();
}

void TbsFormMenus::MDIChildRestore() {
  if (MainMenuBar != nullptr) MainMenuBar->MDIChildRestore();
}

void TbsFormMenus::ChildMenuChanged() {
  if (MainMenuBar != nullptr && (MainMenuBar->GetChildMainMenu() != nullptr || MainMenuBar->ChildMenuIn))
    MainMenuBar->UpDateItems();
}
