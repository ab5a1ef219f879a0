// Opening a frame object's menu: the skinned popup of the menu that owns Items when that is one,
// else the form's skinned menu chain.
#pragma once

#include "platform/rtl/types.h"
#include "platform/ui/menus/menuitem.h"

class IbsFormObjectHost;
class TbsSkinData;
class TbsSkinPopupMenu;

// Items opened next to R (screen coordinates), upwards with APopupUp, in the look of ASkinData.
void PopupFrameObjectMenu(IbsFormObjectHost* Form, TMenuItem* Items, const TRect& R, bool APopupUp,
                          TbsSkinData* ASkinData);

// A quick button's drop-down menu below R (screen coordinates).
void PopupQuickButtonMenuAt(TbsSkinPopupMenu* Menu, const TRect& R);
