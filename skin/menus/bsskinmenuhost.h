// What the popup menus need of the layers above them: the form skinning engine that owns a form's
// menu chain, and the skinned hint component. Both are implemented higher up; the menus reach them
// only through these interfaces.
#pragma once

#include "platform/rtl/types.h"

class TbsSkinMenu;
class TbsSkinData;

// A form's skinning engine as the popup menu component sees it. The engine is a component of the
// form; TbsSkinPopupMenu finds it among the form's components by this interface.
class IbsSkinMenuHost {
 public:
  virtual ~IbsSkinMenuHost() = default;
  // The chain through which every skinned menu of the form opens.
  virtual TbsSkinMenu* SkinMenu() = 0;
  // The skin of the form and the skin its menus use instead (null: use the form's).
  virtual TbsSkinData* SkinData() const = 0;
  virtual TbsSkinData* MenusSkinData() const = 0;
  // Menu mode: entered before a menu of the form opens (the keyboard is then handed to the open
  // menu), left when it closes.
  virtual void SkinMenuOpen() = 0;
  virtual void SkinMenuClose() = 0;
};

// The hint component as the images menu sees it.
class IbsSkinHintLink {
 public:
  virtual ~IbsSkinHintLink() = default;
  virtual void ActivateHint2(const String& AHint) = 0;
  virtual void HideHint() = 0;
};
