#include "engine/preview/framehook.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <utility>

#include "engine/base/avstubs.h"
#include "platform/rtl/dynlib.h"

namespace {

// Every plug-in library loaded so far, by the name it was added with. File names are
// case-sensitive here, so names compare exactly. Libraries are never unloaded: chains of running
// conversions may still point into them.
class TLoadedHookLibraries {
 public:
  // The library's handle, loaded on first request; nullptr with AError set when it cannot be.
  HMODULE Get(const String& AName, String& AError) {
    std::lock_guard<std::mutex> guard(FLock);
    for (const auto& [name, handle] : FItems)
      if (name == AName) return handle;
    // The name goes to the loader as given: the plug-in's folder is not made the current folder
    // nor put into PATH, since both are process-wide and other threads rely on them.
    HMODULE handle = LoadLibrary(AName);
    if (!handle) {
      AError = LastLibraryError();
      return nullptr;
    }
    FItems.emplace_back(AName, handle);
    return handle;
  }

 private:
  std::mutex FLock;  // conversions add their hooks from their own threads
  std::vector<std::pair<String, HMODULE>> FItems;
};

TLoadedHookLibraries& LoadedHookLibraries() {
  static TLoadedHookLibraries libraries;
  return libraries;
}

struct TAVFreeEntry {
  void operator()(TFrameHookEntry* AEntry) const { ff::av_free(AEntry); }
};
using TEntryHolder = std::unique_ptr<TFrameHookEntry, TAVFreeEntry>;

// An entry with room behind it for Configure's argument array and the texts it points to, so that
// a plug-in may keep its argv pointers for as long as its entry lives.
TEntryHolder NewEntry(const std::vector<String>& AArgs, char**& AArgv, Integer& AArgvHigh) {
  const size_t slots = std::max<size_t>(FrameHookArgSlots, AArgs.size() + 1);
  size_t textSize = 0;
  for (const String& arg : AArgs) textSize += arg.size() + 1;
  const size_t size = sizeof(TFrameHookEntry) + slots * sizeof(char*) + textSize;
  TEntryHolder entry(static_cast<TFrameHookEntry*>(ff::av_mallocz(size)));
  if (!entry) return entry;
  AArgv = reinterpret_cast<char**>(entry.get() + 1);
  char* text = reinterpret_cast<char*>(AArgv + slots);
  for (size_t i = 0; i < AArgs.size(); ++i) {
    std::memcpy(text, AArgs[i].c_str(), AArgs[i].size() + 1);
    AArgv[i] = text;
    text += AArgs[i].size() + 1;
  }
  AArgvHigh = Integer(slots - 1);
  return entry;
}

}  // namespace

Integer AddFrameHook(PFrameHookEntry& AChain, const std::vector<String>& AArgs) {
  if (AArgs.empty()) return -ENOENT;
  const String& name = AArgs[0];
  const Integer argc = Integer(AArgs.size());

  String error;
  HMODULE library = LoadedHookLibraries().Get(name, error);
  if (!library) {
    ff::av_log(nullptr, AV_LOG_ERROR, "%s\n", error.c_str());
    return -1;
  }

  char** argv = nullptr;
  Integer argvHigh = 0;
  TEntryHolder entry = NewEntry(AArgs, argv, argvHigh);
  if (!entry) return -ENOMEM;

  entry->Configure = reinterpret_cast<TFrameHookConfigureFn>(GetProcAddress(library, "Configure"));
  entry->Process = reinterpret_cast<TFrameHookProcessFn>(GetProcAddress(library, "Process"));
  entry->Release = reinterpret_cast<TFrameHookReleaseFn>(GetProcAddress(library, "Release"));

  if (!entry->Process) {
    ff::av_log(nullptr, AV_LOG_ERROR, "Failed to find Process entrypoint in %s\n", name.c_str());
    return -ENOENT;
  }
  if (!entry->Configure && argc > 1) {
    ff::av_log(nullptr, AV_LOG_ERROR, "Failed to find Configure entrypoint in %s\n", name.c_str());
    return -ENOENT;
  }
  if (entry->Configure && entry->Configure(&entry->ctx, argc, argv, argvHigh) != 0) {
    ff::av_log(nullptr, AV_LOG_ERROR, "Failed to Configure %s\n", name.c_str());
    return -EINVAL;
  }

  PFrameHookEntry* last = &AChain;
  while (*last) last = &(*last)->next;
  *last = entry.release();
  return 0;
}

void ProcessFrameHooks(PFrameHookEntry AChain, TFrameHookPicture* APicture, Integer APixFmt, Integer AWidth,
                       Integer AHeight, Int64 APTS) {
  for (PFrameHookEntry entry = AChain; entry; entry = entry->next)
    entry->Process(entry->ctx, APicture, APixFmt, AWidth, AHeight, APTS);
}

void ReleaseFrameHooks(PFrameHookEntry& AChain) {
  PFrameHookEntry entry = AChain;
  while (entry) {
    PFrameHookEntry next = entry->next;
    if (entry->Release) entry->Release(entry->ctx);
    ff::av_free(entry);
    entry = next;
  }
  AChain = nullptr;
}
