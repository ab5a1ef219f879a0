// The steps every window builder of the program shares: a control made, named and placed on its
// parent, and a dialog's fixed skinned frame.
#pragma once

#include "platform/rtl/component.h"
#include "platform/ui/core/form.h"
#include "skin/forms/engine/bsskinform.h"

class TWinControl;

template <class T>
T* Make(TComponent* Owner, TWinControl* Parent, const char* Name) {
  T* C = new T(Owner);
  C->SetName(Name);
  C->SetParent(Parent);
  return C;
}

// A dialog's frame: fixed single border without border icons, centred on the main window, its client
// size, drawn by the skinned form engine with Skin.
inline void SetDialogFrame(TForm* Form, TbsSkinForm* SkinForm, TbsSkinData* Skin, const String& Caption,
                           Integer ClientW, Integer ClientH) {
  Form->SetCaption(Caption);
  Form->SetBorderStyle(bsSingle);
  Form->SetBorderIcons({});
  Form->SetPosition(poMainFormCenter);
  Form->SetClientWidth(ClientW);
  Form->SetClientHeight(ClientH);
  SkinForm->SetBorderIcons({});
  SkinForm->SetSkinData(Skin);
}
