// Pieces the folder tree and the file list share: the hourglass while the shell is asked, and the
// auto-refresh notifier of the folder a view shows.
#pragma once

#include <memory>

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

// Drops Notifier and, when On, makes a new one watching Root (not its subfolders) that calls
// OnChange on the main thread. The old notifier may be the one whose notice is being handled right
// now: it is freed once that delivery has returned.
void ReplaceFolderNotifier(std::unique_ptr<TbsShellChangeNotifier>& Notifier, bool On, const String& Root,
                           TThreadMethod OnChange);
