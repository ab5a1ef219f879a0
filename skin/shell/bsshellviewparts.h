// Pieces the folder tree and the file list share: the hourglass while the shell is asked, and the
// auto-refresh notifier of the folder a view shows.
#pragma once

#include <memory>

#include "platform/rtl/component.h"
#include "platform/ui/core/controlstypes.h"
#include "skin/shell/bsshellchangenotify.h"

// The hourglass for as long as the object lives, whatever happens meanwhile.
class TbsHourGlass {
 public:
  TbsHourGlass();
  ~TbsHourGlass();
  TbsHourGlass(const TbsHourGlass&) = delete;
  TbsHourGlass& operator=(const TbsHourGlass&) = delete;

 private:
  TCursor FOld;
};

// Sets a flag for a scope and puts the old value back.
class TbsFlagScope {
 public:
  TbsFlagScope(bool& Flag, bool Value) : FFlag(Flag), FOld(Flag) { FFlag = Value; }
  ~TbsFlagScope() { FFlag = FOld; }
  TbsFlagScope(const TbsFlagScope&) = delete;
  TbsFlagScope& operator=(const TbsFlagScope&) = delete;

 private:
  bool& FFlag;
  bool FOld;
};

// BeginUpdate of a list (tree nodes, a collection, strings) for a scope, EndUpdate in every case.
template <class TList>
class TbsUpdateScope {
 public:
  explicit TbsUpdateScope(TList* List) : FList(List) { FList->BeginUpdate(); }
  ~TbsUpdateScope() { FList->EndUpdate(); }
  TbsUpdateScope(const TbsUpdateScope&) = delete;
  TbsUpdateScope& operator=(const TbsUpdateScope&) = delete;

 private:
  TList* FList;
};

// Links a shell control to another one (Link is this control's field): the new one takes Root and
// points back (SetBack (Other, true)) and both are told when the other goes; nil unlinks the old one
// (SetBack (Old, false)).
template <class TOther, class TSetBack>
void LinkShellControl(TOther*& Link, TOther* Value, TComponent* Self, const String& Root, TSetBack SetBack) {
  if (Value == Link) return;
  if (Value) {
    Value->SetRoot(Root);
    SetBack(Value, true);
    Value->FreeNotification(Self);
  } else if (Link) {
    SetBack(Link, false);
  }
  Link = Value;
}

// Drops Notifier and, when On, makes a new one watching Root (not its subfolders) that calls
// OnChange on the main thread. The old notifier may be the one whose notice is being handled right
// now: it is freed once that delivery has returned.
void ReplaceFolderNotifier(std::unique_ptr<TbsShellChangeNotifier>& Notifier, bool On, const String& Root,
                           TThreadMethod OnChange);
