// Menu items and the shortcut and accelerator texts.
#include "platform/ui/menus/menuitem.h"

#include <algorithm>

#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"
#include "platform/ui/core/application.h"
#include "platform/ui/menus/menu.h"

namespace {
struct TKeyName {
  Word Key;
  const char* Name;
};
// Names of the keys that are not a letter, a digit or a function key.
constexpr TKeyName KeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},   {VK_END, "End"},      {VK_HOME, "Home"},  {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},    {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

String keyName(Word Key) {
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z')) return String(1, char(Key));
  if (Key >= VK_F1 && Key <= VK_F12) return "F" + std::to_string(Key - VK_F1 + 1);
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD0 + 9) return "Num " + std::to_string(Key - VK_NUMPAD0);
  for (const auto& K : KeyNames)
    if (K.Key == Key) return K.Name;
  return "";
}

String upper(const String& S) {
  String R = S;
  for (char& c : R)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return R;
}

Word nextCommand() {
  static Word Counter = 0;
  if (++Counter == 0) Counter = 1;
  return Counter;
}

char32_t toUpper(char32_t C) {
  return C >= 'a' && C <= 'z' ? C - 'a' + 'A' : C;
}
}  // namespace

// ---- shortcuts ----

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if ((Key & 0xFF00) != 0) return 0;
  TShortCut R = Key;
  if (Shift.Contains(ssShift)) R |= scShift;
  if (Shift.Contains(ssCtrl)) R |= scCtrl;
  if (Shift.Contains(ssAlt)) R |= scAlt;
  return R;
}

void ShortCutToKey(TShortCut SC, Word& Key, TShiftState& Shift) {
  Key = SC & ~(scShift | scCtrl | scAlt);
  Shift = {};
  if (SC & scShift) Shift.Include(ssShift);
  if (SC & scCtrl) Shift.Include(ssCtrl);
  if (SC & scAlt) Shift.Include(ssAlt);
}

String ShortCutToText(TShortCut SC) {
  String Name = keyName(Word(SC & 0xFF));
  if (Name.empty()) return "";
  String R;
  if (SC & scShift) R += "Shift+";
  if (SC & scCtrl) R += "Ctrl+";
  if (SC & scAlt) R += "Alt+";
  return R + Name;
}

TShortCut TextToShortCut(const String& Text) {
  String T = upper(Text);
  TShortCut Shift = 0;
  // Modifiers in any order, each at most once.
  for (bool Found = true; Found;) {
    Found = false;
    for (auto [Prefix, Bit] :
         {std::pair<const char*, TShortCut>{"SHIFT+", scShift}, {"CTRL+", scCtrl}, {"ALT+", scAlt}}) {
      String P = Prefix;
      if (T.size() > P.size() && T.compare(0, P.size(), P) == 0 && (Shift & Bit) == 0) {
        Shift |= Bit;
        T.erase(0, P.size());
        Found = true;
      }
    }
  }
  if (T.empty()) return 0;
  for (Word Key = 8; Key <= 255; ++Key)
    if (upper(keyName(Key)) == T && !T.empty()) return TShortCut(Key | Shift);
  return 0;
}

char32_t GetHotkey(const String& Text) {
  for (size_t i = 0; i + 1 < Text.size(); ++i) {
    if (Text[i] != '&') continue;
    if (Text[i + 1] == '&') {
      ++i;
      continue;
    }
    return Utf8Decode(Text, Integer(i + 1));
  }
  return 0;
}

bool IsAccel(char32_t Key, const String& Text) {
  char32_t H = GetHotkey(Text);
  return H != 0 && toUpper(H) == toUpper(Key);
}

String StripHotkey(const String& Text) {
  String R;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '&') {
      if (i + 1 < Text.size() && Text[i + 1] == '&') R += '&', ++i;
      continue;
    }
    R += Text[i];
  }
  return R;
}

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(nextCommand()) {}

TMenuItem::~TMenuItem() {
  Clear();
  if (FParent != nullptr) FParent->Remove(this);
}

TMenuItem* TMenuItem::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FItems[size_t(Index)];
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* I = this;
  while (I->FParent != nullptr) I = I->FParent;
  return I->FMenu;
}

void TMenuItem::Add(TMenuItem* Item) {
  Insert(Count(), Item);
}

void TMenuItem::Insert(Integer Index, TMenuItem* Item) {
  if (Item->FParent != nullptr) throw EInvalidOperation("Menu inserted twice");
  if (Index < 0 || Index > Count()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  if (Item->FChecked && Item->FRadioItem) Item->checkRadioGroup();
  changed();
}

void TMenuItem::Delete(Integer Index) {
  TMenuItem* Item = Items(Index);
  Remove(Item);
  delete Item;
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) throw EInvalidOperation("Sub-menu is not in menu");
  FItems.erase(it);
  Item->FParent = nullptr;
  changed();
}

void TMenuItem::Clear() {
  while (!FItems.empty()) Delete(Count() - 1);
}

Integer TMenuItem::IndexOf(TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : Integer(it - FItems.begin());
}

void TMenuItem::SetMenuIndex(Integer Value) {
  if (FParent == nullptr) return;
  TMenuItem* P = FParent;
  P->Remove(this);
  Value = std::clamp(Value, 0, P->Count());
  P->Insert(Value, this);
}

TMenuItem* TMenuItem::Find(const String& ACaption) const {
  String Wanted = upper(StripHotkey(ACaption));
  for (TMenuItem* I : FItems)
    if (upper(StripHotkey(I->FCaption)) == Wanted) return I;
  return nullptr;
}

void TMenuItem::changed() {
  if (TMenu* M = GetParentMenu(); M != nullptr && M->OnChange) M->OnChange(M);
}

void TMenuItem::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  changed();
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  changed();
}

void TMenuItem::checkRadioGroup() {
  if (FParent == nullptr) return;
  for (TMenuItem* I : FParent->FItems)
    if (I != this && I->FRadioItem && I->FGroupIndex == FGroupIndex && I->FChecked) {
      I->FChecked = false;
      I->changed();
    }
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value && FRadioItem) checkRadioGroup();
  changed();
}

void TMenuItem::SetRadioItem(bool Value) {
  if (FRadioItem == Value) return;
  FRadioItem = Value;
  if (FChecked && FRadioItem) checkRadioGroup();
  changed();
}

void TMenuItem::SetGroupIndex(Byte Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (FChecked && FRadioItem) checkRadioGroup();
  changed();
}

void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  changed();
}

void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  changed();
}

void TMenuItem::SetDefault(bool Value) {
  if (FDefault == Value) return;
  // One default item per level.
  if (Value && FParent != nullptr)
    for (TMenuItem* I : FParent->FItems) I->FDefault = false;
  FDefault = Value;
  changed();
}

void TMenuItem::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  changed();
}

TBitmap* TMenuItem::Bitmap() {
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return FBitmap.get();
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck) SetChecked(!FChecked || (FRadioItem && FChecked));
  if (OnClick) {
    TNotifyEvent Handler = OnClick;
    Handler(this);
  }
}
