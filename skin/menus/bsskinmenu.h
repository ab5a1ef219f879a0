// The chain of open levels of a form's skinned popup menu (submenus on the clock, commands, the
// closing notifications) and the popup menu component that shows its items through the chain of
// its form's skinning engine.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/core/control.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/timer.h"
#include "platform/ui/graphics/graphicsobjects.h"
#include "platform/ui/menus/menu.h"
#include "skin/core/bsskindata.h"
#include "skin/menus/bsskinmenuhost.h"

class TbsSkinPopupWindow;
class TbsSkinMenuItem;

// The messages that close an open skinned menu when the menu's form receives them.
bool IsMenuCloseMessage(Cardinal Msg);

class TbsSkinMenu : public TComponent {
 public:
  TbsSkinMenu(TComponent* AOwner, TForm* AForm);
  // Closes an open menu (with its notifications).
  ~TbsSkinMenu() override;
  String ClassName() const override { return "TbsSkinMenu"; }

  // Opens a menu of AItem's children from StartIndex at screen rectangle R; APopupCtrl (may be null)
  // is told when the menu closes.
  void Popup(TControl* APopupCtrl, TbsSkinData* ASkinData, Integer StartIndex, TRect R, TMenuItem* AItem,
             bool PopupUp);
  // The same for AItem's children followed by AItem2's in one level.
  void Popup2(TControl* APopupCtrl, TbsSkinData* ASkinData, Integer StartIndex, TRect R, TMenuItem* AItem,
              TMenuItem* AItem2, bool PopupUp);
  void Hide();
  // Hovering (AClick false) or clicking an entry; Kb: moved by the keyboard.
  void CheckItem(TbsSkinPopupWindow* AWindow, TbsSkinMenuItem* AItem, bool Kb, bool AClick);
  // Frees the levels from AIndex on; 0 closes the menu.
  void HidePopups(Integer AIndex);
  Integer GetPopupIndex(TbsSkinPopupWindow* AWindow) const;
  void AddPopup(TRect R, TMenuItem* AItem, Integer StartIndex, bool PopupByItem, bool PopupUp);
  void AddPopup2(TRect R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex, bool PopupByItem,
                 bool PopupUp);
  void GetWorkArea(TRect& R);
  void WaitTimerProc(TObject* Sender);
  // Whether the open menu shows ARoot's children.
  bool Shows(TMenuItem* ARoot) const;

  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool First() const { return FFirst; }
  Integer DefaultMenuItemHeight() const { return FDefaultMenuItemHeight; }
  void SetDefaultMenuItemHeight(Integer Value) { FDefaultMenuItemHeight = Value; }
  TFont* DefaultMenuItemFont() const { return FDefaultMenuItemFont.get(); }
  void SetDefaultMenuItemFont(TFont* Value) { FDefaultMenuItemFont->Assign(Value); }
  bool Visible() const { return FVisible; }
  TForm* Form() const { return FForm; }
  // The open levels, first to deepest.
  Integer PopupCount() const { return Integer(FPopupList.size()); }
  TbsSkinPopupWindow* PopupLevel(Integer Index) const { return FPopupList[size_t(Index)]; }

  TControl* PopupCtrl = nullptr;
  TControl* DCtrl = nullptr;
  TForm* FForm;
  TTimer* WaitTimer;
  TbsSkinMenuItem* WItem = nullptr;
  TRect WorkArea;
  TbsSkinData* SkinData = nullptr;
  TNotifyEvent OnMenuClose;
  bool AlphaBlend = false;
  Byte AlphaBlendValue = 150;
  bool AlphaBlendAnimation = false;
  Integer MaxMenuItemsInWindow = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool openFirst(TControl* APopupCtrl, TbsSkinData* ASkinData);
  void nothingOpened();
  void setPopupCtrl(TControl* C);
  TbsSkinPopupWindow* newLevel();

  bool FUseSkinFont = true;
  bool FUseSkinSize = true;
  bool FFirst = false;
  Integer FDefaultMenuItemHeight = 20;
  std::unique_ptr<TFont> FDefaultMenuItemFont;
  bool FVisible = false;
  std::vector<TbsSkinPopupWindow*> FPopupList;
  TMenuItem* FRootItem = nullptr;
  TMenuItem* FRootItem2 = nullptr;
  // Cleared by the destructor: a command's handler may free the chain while it runs.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TbsSkinPopupMenu : public TPopupMenu {
 public:
  explicit TbsSkinPopupMenu(TComponent* AOwner);
  // An open menu showing these items closes first.
  ~TbsSkinPopupMenu() override;
  String ClassName() const override { return "TbsSkinPopupMenu"; }

  // Shows the menu at the screen point, opening downwards.
  void Popup(Integer X, Integer Y) override;
  // Below (or above) screen rectangle R.
  void PopupFromRect(TRect R, bool APopupUp);
  // As PopupFromRect; ACtrl is told when the menu closes (WM_CLOSESKINMENU) and after a command ran
  // (WM_AFTERDISPATCH).
  void PopupFromRect2(TControl* ACtrl, TRect R, bool APopupUp);
  // As Popup, with ACtrl; nothing when no skin is found.
  void Popup2(TControl* ACtrl, Integer X, Integer Y);

  TPoint PopupPoint() const { return FPopupPoint; }
  TbsSkinData* SkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  TForm* ComponentForm() const { return FComponentForm; }
  void SetComponentForm(TForm* Value);
  TComponent* SkinComponent() const { return FSkinComponent; }
  void SetSkinComponent(TComponent* Value);
  TNotifyEvent OnMenuClose;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  IbsSkinMenuHost* findHost();
  void showThroughHost(TControl* ACtrl, TRect R, bool APopupUp, bool NeedSkin);

  TPoint FPopupPoint{-1, -1};
  TbsSkinData* FSD = nullptr;
  TForm* FComponentForm = nullptr;
  TComponent* FSkinComponent = nullptr;
  TbsSkinMenu* FShownBy = nullptr;
};

// The first skinning engine among a form's components; null when none.
IbsSkinMenuHost* GetSkinMenuHostOf(TCustomForm* AForm);
