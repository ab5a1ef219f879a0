// The menus of a skinned form that sit above the engine: the system menu and the tray menu with
// their standard items, minimize to tray, the application hook that feeds the keyboard to an open
// skinned menu, and the main-menu (keyboard) mode of the form's menu bar.
#pragma once

#include "platform/ui/core/application.h"
#include "platform/ui/menus/menu.h"
#include "skin/forms/engine/bsskinform.h"

class TbsSkinMainMenuBar;
class TbsSkinPopupMenu;

// What the form needs of its notification-area icon component.
class IbsFormTrayIcon {
 public:
  virtual ~IbsFormTrayIcon() = default;
  // While on, minimizing the application hides the main form and shows the icon.
  virtual void SetMinimizeToTray(bool Value) = 0;
  virtual void ShowMainForm() = 0;
  virtual void SetIconVisible(bool Value) = 0;
  virtual TPopupMenu* PopupMenu() const = 0;
  virtual void SetPopupMenu(TPopupMenu* Value) = 0;
  virtual bool HasOnDblClick() const = 0;
  virtual void SetOnDblClick(TNotifyEvent Value) = 0;
};

class TbsFormMenus : public IbsFormMenuTracking {
 public:
  explicit TbsFormMenus(TbsSkinForm* AEngine);
  ~TbsFormMenus() override;

  // ---- what the engine calls ----
  void SkinMainMenuClose() override;
  void PopupSystemMenu(const TPoint& P) override;
  void PopupSystemMenuAtButton() override;
  void MenuBarMenuEnter() override;
  bool MainMenuBarAccel(Word Key) override;
  TMenuItem* GetSystemMenuItems() override;
  void MinimizeToTray() override;
  void HookApp() override;
  void UnHookApp() override;
  void MainMenuBarExit() override;
  TMainMenu* MainMenuBarMenu() const override;
  TMainMenu* MainMenuBarChildMenu() const override;
  void SkinDataChanged(TbsSkinData* Value) override;
  void MDIChildMaximize() override;
  void MDIChildRestore() override;
  void ChildMenuChanged() override;

  // ---- menu tracking ----
  void SkinMainMenuPopupClose();
  void PopupSystemMenuRect(const TRect& R);
  void PopupSkinMenu(TMenu* Menu, TPoint P);
  void PopupSkinMenu1(TMenu* Menu, const TRect& R, bool PopupUp);
  void DoPopupMenu(TPopupMenu* Menu, Integer X, Integer Y);
  void AppMessage(MSG& Msg, bool& Handled);
  void SkinMenuKeyDown(Word Key);
  bool ExecuteMainMenuBarItem();
  bool IsFirstPopupLevel() const;
  bool IsLastPopupItemLeaf() const;
  bool InAppHook() const { return FInAppHook; }

  // ---- system and tray menus ----
  void CreateSysMenu();
  void UpdateSystemMenu();
  void CreateSysTrayMenu();
  void RestoreFromTray();
  IbsFormTrayIcon* TrayIcon() const { return FTrayIcon; }
  void SetTrayIcon(IbsFormTrayIcon* Value);
  TPopupMenu* SysMenu() const { return FSysMenu; }
  TbsSkinPopupMenu* SysTrayMenu() const { return FSysTrayMenu; }

  TbsSkinMainMenuBar* MainMenuBar = nullptr;

 private:
  TbsSkinData* menuSkin() const;
  TMenuItem* newItem(const String& Name, const String& Key, const String& Builtin,
                     std::function<void()> Click);
  TMenuItem* closeItem(const String& Name);
  bool wantMin() const;
  bool wantMax() const;
  bool wantRestore() const;
  bool wantRollUp() const;
  bool wantTray() const;
  void minimizeCommand();
  void restoreCommand();
  TbsSkinForm* mainEngine() const;

  TbsSkinForm* Engine;
  TPopupMenu* FSysMenu;            // owned by the engine component
  TbsSkinPopupMenu* FSysTrayMenu;  // owned by the engine component
  IbsFormTrayIcon* FTrayIcon = nullptr;
  bool FInAppHook = false;
  TMessageEvent OldAppMessage;
};
