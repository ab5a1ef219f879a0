#include "skin/boxes/combos/bsdropdownplace.h"

#include "platform/ui/core/wincontrol.h"
#include "skin/core/bssystem.h"

TPoint DropDownOrigin(TControl* Control, Integer Left, Integer ListHeight) {
  TPoint P = Point(Left, Control->Top() + Control->Height());
  if (Control->Parent() != nullptr) P = Control->Parent()->ClientToScreen(P);
  TRect WorkArea;
  GetScreenRect(true, WorkArea);
  auto* Win = dynamic_cast<TWinControl*>(Control);
  if (Win != nullptr && Win->HandleAllocated()) GetMonitorRectOfWindow(Win->Handle(), true, WorkArea);
  if (P.Y + ListHeight > WorkArea.Bottom) P.Y -= Control->Height() + ListHeight;
  return P;
}
