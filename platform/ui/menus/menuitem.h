// Menu items in a tree (captions with "&" accelerators, shortcuts, checks and radio groups, images),
// and the shortcut and accelerator texts.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/component.h"
#include "platform/ui/core/controlstypes.h"
#include "platform/ui/graphics/bitmap.h"

// Key in the low byte(s), scShift / scCtrl / scAlt in the high bits.
using TShortCut = Word;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Ctrl+S", "Shift+Del", "Alt+F4"; "" for 0.
String ShortCutToText(TShortCut ShortCut);
// The inverse (case-insensitive); 0 for a text that names no shortcut.
TShortCut TextToShortCut(const String& Text);
// The accelerator character of a caption ("&File" → 'F', "&&" is a literal "&"); 0 for none.
char32_t GetHotkey(const String& Text);
// Whether Key is the accelerator of Text (compared without regard to case).
bool IsAccel(char32_t Key, const String& Text);
String StripHotkey(const String& Text);

class TMenu;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  // Frees the sub-items and leaves the parent item.
  ~TMenuItem() override;
  String ClassName() const override { return "TMenuItem"; }

  // ---- the tree ----
  Integer Count() const { return Integer(FItems.size()); }
  TMenuItem* Items(Integer Index) const;
  TMenuItem* Parent() const { return FParent; }
  // The menu at the root of the tree (null for a free-standing item).
  TMenu* GetParentMenu() const;
  // EMenuError-like EInvalidOperation when Item already has a parent.
  void Add(TMenuItem* Item);
  void Insert(Integer Index, TMenuItem* Item);
  // Frees the item at Index.
  void Delete(Integer Index);
  // Takes Item out without freeing it.
  void Remove(TMenuItem* Item);
  // Frees every sub-item.
  void Clear();
  Integer IndexOf(TMenuItem* Item) const;
  Integer MenuIndex() const {
    return FParent != nullptr ? FParent->IndexOf(const_cast<TMenuItem*>(this)) : -1;
  }
  void SetMenuIndex(Integer Value);
  // The sub-item whose caption (without "&") equals ACaption, or null.
  TMenuItem* Find(const String& ACaption) const;
  // The command number a menu dispatches by.
  Word Command() const { return FCommand; }

  // ---- properties ----
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Checked() const { return FChecked; }
  // A checked radio item unchecks the radio items of its group among its siblings.
  void SetChecked(bool Value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  Byte GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Byte Value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  bool IsLine() const { return FCaption == "-"; }
  // The item's own picture (made on first use).
  TBitmap* Bitmap();

  // Runs the item: toggles an AutoCheck item, then OnClick.
  virtual void Click();
  TNotifyEvent OnClick;

 private:
  friend class TMenu;
  void changed();
  void checkRadioGroup();

  String FCaption;
  TShortCut FShortCut = 0;
  bool FChecked = false;
  bool FRadioItem = false;
  Byte FGroupIndex = 0;
  bool FAutoCheck = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  Integer FImageIndex = -1;
  String FHint;
  Word FCommand = 0;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on the root item only
  std::unique_ptr<TBitmap> FBitmap;
};
