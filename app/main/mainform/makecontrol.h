// The one step of every window builder of this folder: a control made, named and placed on its parent.
#pragma once

#include "platform/rtl/component.h"

class TWinControl;

template <class T>
T* Make(TComponent* Owner, TWinControl* Parent, const char* Name) {
  T* C = new T(Owner);
  C->SetName(Name);
  C->SetParent(Parent);
  return C;
}
