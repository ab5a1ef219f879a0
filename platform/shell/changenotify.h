// Change notification for one folder: inotify watched on a thread of its own, each notice handed to
// the main thread (through the main-thread call queue) where OnChange runs. Notices that arrive
// while one is still waiting for the main thread fold into it.
//
// Safe ends: a watched folder that is removed or renamed away gives one last notice and the watch
// ends; destroying the watch (also from inside OnChange) stops its thread and drops a notice that
// is still queued, so it never reaches a destroyed owner.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/rtl/types.h"

// What counts as a change (the platform's notify-filter values).
inline constexpr Cardinal FILE_NOTIFY_CHANGE_FILE_NAME = 0x1;
inline constexpr Cardinal FILE_NOTIFY_CHANGE_DIR_NAME = 0x2;
inline constexpr Cardinal FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x4;
inline constexpr Cardinal FILE_NOTIFY_CHANGE_SIZE = 0x8;
inline constexpr Cardinal FILE_NOTIFY_CHANGE_LAST_WRITE = 0x10;
inline constexpr Cardinal FILE_NOTIFY_CHANGE_SECURITY = 0x100;

class TShellChangeWatch {
 public:
  // Starts watching Directory at once (so a change right after construction is seen). A folder
  // that cannot be watched (missing, not a folder, no permission) gives a watch that is not
  // Active and never calls OnChange.
  TShellChangeWatch(const String& Directory, bool WatchSubTree, Cardinal Filter,
                    std::function<void()> OnChange);
  ~TShellChangeWatch();
  TShellChangeWatch(const TShellChangeWatch&) = delete;
  TShellChangeWatch& operator=(const TShellChangeWatch&) = delete;

  // Whether the thread still watches (false once the folder went away or could not be watched).
  bool Active() const { return FActive; }
  const String& Directory() const { return FDirectory; }
  // Replaced on the main thread; the next notice calls the new handler.
  std::function<void()> OnChange;

 private:
  void run();
  void addTree(const String& Path, Integer Depth);
  bool addWatch(const String& Path);
  void deliver();
  Cardinal inotifyMask() const;

  String FDirectory;
  bool FWatchSubTree;
  Cardinal FFilter;
  int FInotify = -1;
  int FWake = -1;
  int FRootWatch = -1;
  std::vector<std::pair<int, String>> FWatches;  // thread-only after construction
  std::atomic<bool> FActive{false};
  std::atomic<bool> FStop{false};
  std::atomic<bool> FPending{false};
  std::thread FThread;
};
