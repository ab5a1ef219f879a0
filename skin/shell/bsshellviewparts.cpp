#include "skin/shell/bsshellviewparts.h"

#include "platform/ui/core/screen.h"
#include "platform/win/win.h"

TbsHourGlass::TbsHourGlass() : FOld(Screen ? Screen->Cursor() : crDefault) {
  if (Screen) Screen->SetCursor(crHourGlass);
}

TbsHourGlass::~TbsHourGlass() {
  if (Screen) Screen->SetCursor(FOld);
}

void ReplaceFolderNotifier(std::unique_ptr<TbsShellChangeNotifier>& Notifier, bool On, const String& Root,
                           TThreadMethod OnChange) {
  if (Notifier) WinDeferAction([Old = std::shared_ptr<TbsShellChangeNotifier>(Notifier.release())] {});
  if (!On) return;
  Notifier = std::make_unique<TbsShellChangeNotifier>(nullptr);
  Notifier->SetWatchSubTree(false);
  Notifier->SetRoot(Root);
  // Last: a handler starts the watch.
  Notifier->SetOnChange(std::move(OnChange));
}
