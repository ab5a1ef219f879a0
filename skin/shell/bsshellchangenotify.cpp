#include "skin/shell/bsshellchangenotify.h"

#include <strings.h>

Cardinal NotifyFilterFlags(TNotifyFilters Filters) {
  static const Cardinal Flags[] = {FILE_NOTIFY_CHANGE_FILE_NAME,  FILE_NOTIFY_CHANGE_DIR_NAME,
                                   FILE_NOTIFY_CHANGE_ATTRIBUTES, FILE_NOTIFY_CHANGE_SIZE,
                                   FILE_NOTIFY_CHANGE_LAST_WRITE, FILE_NOTIFY_CHANGE_SECURITY};
  Cardinal Result = 0;
  for (Integer F = nfFileNameChange; F <= nfSecurityChange; ++F)
    if (Filters.Contains(TNotifyFilter(F))) Result |= Flags[F];
  return Result;
}

TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier(TComponent* AOwner) : TComponent(AOwner) {
  StartThread();
}

TbsCustomShellChangeNotifier::~TbsCustomShellChangeNotifier() {
  FThread.reset();
}

void TbsCustomShellChangeNotifier::SetRoot(const String& Value) {
  if (strcasecmp(Value.c_str(), FRoot.c_str()) == 0) return;
  FRoot = Value;
  UpdateThreadOptions();
}

void TbsCustomShellChangeNotifier::SetNotifyFilters(TNotifyFilters Value) {
  FFilters = Value;
  UpdateThreadOptions();
}

void TbsCustomShellChangeNotifier::SetWatchSubTree(bool Value) {
  FWatchSubTree = Value;
  UpdateThreadOptions();
}

void TbsCustomShellChangeNotifier::SetOnChange(TThreadMethod Value) {
  // A running watch reaches the handler through the notifier, so the new one takes effect at once.
  FOnChange = std::move(Value);
  if (!FThread) StartThread();
}

void TbsCustomShellChangeNotifier::StartThread() {
  if (!FOnChange) return;
  FThread = std::make_unique<TShellChangeWatch>(FRoot, FWatchSubTree, NotifyFilterFlags(FFilters), [this] {
    if (FOnChange) FOnChange();
  });
}

void TbsCustomShellChangeNotifier::UpdateThreadOptions() {
  // A watch cannot change its folder while it waits: a new one replaces it, the old one's pending
  // notice dropped with it.
  if (!FThread) return;
  FThread.reset();
  StartThread();
}
