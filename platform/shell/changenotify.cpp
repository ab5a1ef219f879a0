#include "platform/shell/changenotify.h"

#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>

#include "platform/rtl/threads.h"

namespace {
// Deep enough for any real folder; a bound keeps a pathological tree from taking every watch.
constexpr Integer kMaxDepth = 32;
}  // namespace

TShellChangeWatch::TShellChangeWatch(const String& Directory, bool WatchSubTree, Cardinal Filter,
                                     std::function<void()> AOnChange)
    : OnChange(std::move(AOnChange)), FDirectory(Directory), FWatchSubTree(WatchSubTree), FFilter(Filter) {
  FInotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  FWake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (FInotify < 0 || FWake < 0) return;
  FRootWatch = inotify_add_watch(FInotify, Directory.c_str(),
                                 inotifyMask() | IN_ONLYDIR | IN_DELETE_SELF | IN_MOVE_SELF);
  if (FRootWatch < 0) return;
  FWatches.emplace_back(FRootWatch, Directory);
  if (FWatchSubTree) addTree(Directory, 0);
  FActive = true;
  FThread = std::thread([this] { run(); });
}

TShellChangeWatch::~TShellChangeWatch() {
  FStop = true;
  if (FWake >= 0) {
    uint64_t one = 1;
    (void)!write(FWake, &one, sizeof one);
  }
  if (FThread.joinable()) FThread.join();
  // A notice already queued for the main thread must not reach the owner that is going away.
  TThread::RemoveQueuedEvents(this);
  if (FInotify >= 0) close(FInotify);
  if (FWake >= 0) close(FWake);
}

Cardinal TShellChangeWatch::inotifyMask() const {
  Cardinal mask = 0;
  if (FFilter & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME))
    mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
  if (FFilter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY)) mask |= IN_ATTRIB;
  if (FFilter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)) mask |= IN_MODIFY | IN_CLOSE_WRITE;
  // New subfolders must be seen to be watched, whatever the filter.
  if (FWatchSubTree) mask |= IN_CREATE | IN_MOVED_TO;
  return mask;
}

bool TShellChangeWatch::addWatch(const String& Path) {
  int wd = inotify_add_watch(FInotify, Path.c_str(), inotifyMask() | IN_ONLYDIR | IN_DONT_FOLLOW);
  if (wd < 0) return false;
  for (auto& w : FWatches)
    if (w.first == wd) return true;
  FWatches.emplace_back(wd, Path);
  return true;
}

void TShellChangeWatch::addTree(const String& Path, Integer Depth) {
  if (Depth >= kMaxDepth) return;
  DIR* d = opendir(Path.c_str());
  if (d == nullptr) return;
  while (dirent* e = readdir(d)) {
    // Only real folders: links are not followed, so a loop of links cannot recurse.
    if (e->d_type != DT_DIR || std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
      continue;
    String sub = Path + "/" + e->d_name;
    if (addWatch(sub)) addTree(sub, Depth + 1);
  }
  closedir(d);
}

void TShellChangeWatch::deliver() {
  // One notice waits for the main thread at a time; later ones fold into it.
  if (FPending.exchange(true)) return;
  TThread::Queue(this, [this] {
    FPending = false;
    if (OnChange) OnChange();  // may destroy this watch: nothing of it is touched afterwards
  });
}

void TShellChangeWatch::run() {
  alignas(inotify_event) char buffer[16384];
  while (!FStop) {
    pollfd fds[2] = {{FInotify, POLLIN, 0}, {FWake, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (FStop) break;
    ssize_t n = read(FInotify, buffer, sizeof buffer);
    if (n <= 0) continue;
    bool changed = false, rootGone = false;
    for (char* p = buffer; p < buffer + n;) {
      auto* ev = reinterpret_cast<inotify_event*>(p);
      p += sizeof(inotify_event) + ev->len;
      if (ev->mask & IN_Q_OVERFLOW) changed = true;
      if (ev->wd == FRootWatch && (ev->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED))) {
        rootGone = true;
        continue;
      }
      if (ev->mask & IN_IGNORED) continue;
      bool isDir = ev->mask & IN_ISDIR;
      if (isDir && FWatchSubTree && (ev->mask & (IN_CREATE | IN_MOVED_TO)) && ev->len > 0) {
        for (auto& w : FWatches)
          if (w.first == ev->wd) {
            String sub = w.second + "/" + ev->name;
            if (addWatch(sub)) addTree(sub, 1);
            break;
          }
      }
      if (!FWatchSubTree && ev->wd != FRootWatch) continue;
      Cardinal nameMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
      if (ev->mask & nameMask) {
        Cardinal wanted = isDir ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME;
        if (FFilter & wanted) changed = true;
      }
      if ((ev->mask & IN_ATTRIB) && (FFilter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY)))
        changed = true;
      if ((ev->mask & (IN_MODIFY | IN_CLOSE_WRITE)) &&
          (FFilter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)))
        changed = true;
    }
    if (changed || rootGone) deliver();
    if (rootGone) break;  // the folder is gone or moved away: its path names nothing we watch
  }
  FActive = false;
}
