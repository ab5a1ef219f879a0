// Main and popup menus over a tree of items, their shortcut handling and the hook through which
// popup menus are shown.
#pragma once

#include <functional>

#include "platform/rtl/component.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/win/win.h"

class TCustomImageList;

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  String ClassName() const override { return "TMenu"; }

  TMenuItem* Items() const { return FItems; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);

  // Whether the key message is the shortcut of an enabled, visible item (walking the whole tree);
  // that item's Click runs. A disabled item's sub-items are not searched.
  virtual bool IsShortCut(TMessage& Message);
  // The item with this command number / shortcut.
  TMenuItem* FindItem(Word Value, bool ByShortCut) const;
  // Runs the item with this command number; false when there is none.
  bool DispatchCommand(Word ACommand);

  TNotifyEvent OnChange;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TMenuItem* FItems;
  TCustomImageList* FImages = nullptr;
};

class TMainMenu : public TMenu {
 public:
  using TMenu::TMenu;
  String ClassName() const override { return "TMainMenu"; }
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu;
// How a popup menu is shown; the default runs the platform-free built-in list (see TPopupMenu::Popup),
// the skin library installs its own.
using TPopupListHook = std::function<void(TPopupMenu* Menu, Integer X, Integer Y)>;
void SetPopupListHook(TPopupListHook Hook);
TPopupListHook GetPopupListHook();

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  String ClassName() const override { return "TPopupMenu"; }

  // Shows the menu at a screen point: OnPopup, then the popup-list hook. Without a hook the menu is
  // announced (the platform has no native menus) and nothing is chosen.
  virtual void Popup(Integer X, Integer Y);
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  TPoint PopupPoint() const { return FPopupPoint; }

  TNotifyEvent OnPopup;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TComponent* FPopupComponent = nullptr;
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
  TPoint FPopupPoint{-1, -1};
};
