// Change notification for the shell views: one component watching one folder and calling OnChange
// on the main thread when the file system reports a change there. The waiting happens on the
// platform watch's own thread, which makes no shell calls and touches no control.
#pragma once

#include <functional>
#include <memory>

#include "platform/rtl/component.h"
#include "platform/shell/changenotify.h"

enum TNotifyFilter {
  nfFileNameChange,
  nfDirNameChange,
  nfAttributeChange,
  nfSizeChange,
  nfWriteChange,
  nfSecurityChange
};
using TNotifyFilters = TSet<TNotifyFilter>;
using TThreadMethod = std::function<void()>;

// The OR of the platform flags of the filters in Filters.
Cardinal NotifyFilterFlags(TNotifyFilters Filters);

class TbsCustomShellChangeNotifier : public TComponent {
 public:
  explicit TbsCustomShellChangeNotifier(TComponent* AOwner);
  ~TbsCustomShellChangeNotifier() override;
  String ClassName() const override { return "TbsCustomShellChangeNotifier"; }

  TNotifyFilters NotifyFilters() const { return FFilters; }
  void SetNotifyFilters(TNotifyFilters Value);
  bool WatchSubTree() const { return FWatchSubTree; }
  void SetWatchSubTree(bool Value);
  const String& Root() const { return FRoot; }
  void SetRoot(const String& Value);
  const TThreadMethod& OnChange() const { return FOnChange; }
  void SetOnChange(TThreadMethod Value);

  // Whether a watch thread runs for the current options (none without OnChange, none once the folder
  // could not be watched or has gone away).
  bool Watching() const { return FThread != nullptr && FThread->Active(); }

 private:
  void StartThread();
  void UpdateThreadOptions();

  TNotifyFilters FFilters{nfFileNameChange, nfDirNameChange};
  bool FWatchSubTree = true;
  String FRoot = "C:\\";
  // Owned: destroying it stops its thread and drops a notice still on its way to the main thread.
  std::unique_ptr<TShellChangeWatch> FThread;
  TThreadMethod FOnChange;
};

class TbsShellChangeNotifier : public TbsCustomShellChangeNotifier {
 public:
  explicit TbsShellChangeNotifier(TComponent* AOwner) : TbsCustomShellChangeNotifier(AOwner) {}
  String ClassName() const override { return "TbsShellChangeNotifier"; }
};
