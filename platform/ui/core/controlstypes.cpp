#include "platform/ui/core/controlstypes.h"

TShiftState KeysToShiftState(WPARAM Keys) {
  TShiftState S;
  if (Keys & MK_SHIFT) S.Include(ssShift);
  if (Keys & MK_CONTROL) S.Include(ssCtrl);
  if (Keys & MK_LBUTTON) S.Include(ssLeft);
  if (Keys & MK_RBUTTON) S.Include(ssRight);
  if (Keys & MK_MBUTTON) S.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) S.Include(ssAlt);
  return S;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState S;
  if (GetKeyState(VK_SHIFT) < 0) S.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) S.Include(ssCtrl);
  if ((KeyData & KF_ALTDOWN_BIT) != 0 || GetKeyState(VK_MENU) < 0) S.Include(ssAlt);
  return S;
}

TShiftState GetShiftState() {
  TShiftState S = KeyDataToShiftState(0);
  if (GetKeyState(VK_LBUTTON) < 0) S.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) S.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) S.Include(ssMiddle);
  return S;
}
