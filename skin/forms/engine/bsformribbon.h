// What the form engine asks of a ribbon linked to it. The ribbon and its application menu are built
// above the engine, so they reach it through these two small interfaces.
#pragma once

#include "platform/rtl/component.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/menus/menu.h"

// The ribbon's application menu, as the form's frame needs it while the menu covers the form.
class IbsFormAppMenu {
 public:
  virtual ~IbsFormAppMenu() = default;
  virtual bool AppMenuVisible() const = 0;
  // The skin has a picture for the form's caption above the open menu.
  virtual bool CanDrawAppMenuCaption() = 0;
  virtual void DrawAppMenuCaption(TCanvas* Cnvs, const TRect& R) = 0;
  // The room the picture takes at the left of the form's caption.
  virtual Integer GetAppMenuCaptionOffset() = 0;
  // The width of the menu's item column, which the picture spans.
  virtual Integer ItemWidth() const = 0;
};

class IbsFormRibbon {
 public:
  virtual ~IbsFormRibbon() = default;
  // The component behind the ribbon: the engine asks to hear when it is freed.
  virtual TComponent* RibbonComponent() = 0;
  // The engine the ribbon holds back (nullptr: none).
  virtual TComponent* LinkedSkinForm() const = 0;
  virtual void LinkSkinForm(TComponent* AEngine) = 0;
  // Null while the ribbon has no application menu.
  virtual IbsFormAppMenu* FormAppMenu() const = 0;
  // Closes the application menu without running any item.
  virtual void CloseAppMenu() = 0;
  // The application button's popup menu, whose shortcuts the form answers; null without one.
  virtual TMenu* AppButtonShortCutMenu() const = 0;
  virtual bool HasTabs() const = 0;
  // Selects the page of the first tab (in index order, shown or not) whose page caption has Key as
  // its accelerator; false when none has.
  virtual bool SelectTabByAccel(Word Key) = 0;
  virtual void FocusRibbon() = 0;
  // An MDI child of the form was maximized, or restored.
  virtual void MDIChildMaximize() = 0;
  virtual void MDIChildRestore() = 0;
};
