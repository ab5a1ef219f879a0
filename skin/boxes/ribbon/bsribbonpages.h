// The containers of a ribbon page and of an application-menu page. They hold the page's controls and
// scroll them when they do not fit: the ribbon's page sideways, the menu's page up and down.
#pragma once

#include "platform/ui/core/customcontrol.h"

class TbsRibbon;
class TbsAppMenu;

class TbsRibbonCustomPage : public TCustomControl {
 public:
  explicit TbsRibbonCustomPage(TComponent* AOwner);
  String ClassName() const override { return "TbsRibbonCustomPage"; }

  bool CanScroll() const { return FCanScroll; }
  void SetCanScroll(bool Value) { FCanScroll = Value; }
  // Measures the children against the client area (when scrolling is on).
  void GetScrollInfo();
  // Applies the current bounds again.
  void UpDateSize() { SetBounds(Left(), Top(), Width(), Height()); }

  TbsRibbon* Ribbon = nullptr;

 protected:
  void Paint() override {}

 private:
  bool FCanScroll = true;
};

class TbsAppMenuCustomPage : public TCustomControl {
 public:
  explicit TbsAppMenuCustomPage(TComponent* AOwner);
  String ClassName() const override { return "TbsAppMenuCustomPage"; }

  bool CanScroll() const { return FCanScroll; }
  void SetCanScroll(bool Value) { FCanScroll = Value; }
  void GetScrollInfo();
  void UpDateSize() { SetBounds(Left(), Top(), Width(), Height()); }

  // Set while the page is not shown by its menu: nothing is measured then.
  bool FStopScroll = true;
  TbsAppMenu* AppMenu = nullptr;

 protected:
  void Paint() override {}

 private:
  bool FCanScroll = false;
};
