// The frame-hook plug-in chain of a transcoder: external libraries exporting "Configure", "Process"
// and "Release", run in order over every decoded video picture before it is encoded. A library is
// loaded once per process, on the first add with its name, and stays loaded until the process ends.
//
// libavutil must be bound: entries are library memory and failures go to av_log at the error level.
#pragma once

#include <vector>

#include "engine/preview/framehookabi.h"
#include "platform/rtl/types.h"

struct TFrameHookEntry;
using PFrameHookEntry = TFrameHookEntry*;

// One added plug-in; a chain is the pointer to its first entry (nullptr when empty).
struct TFrameHookEntry {
  PFrameHookEntry next;
  TFrameHookConfigureFn Configure;  // nullptr when the library has none
  TFrameHookProcessFn Process;
  TFrameHookReleaseFn Release;  // nullptr when the library has none
  void* ctx;                    // set by Configure; nullptr when it was not called
};

// Room for the library name, 62 more words and the closing null: "Configure" is told index 63 as
// the argument array's highest one (more when more words are given).
inline constexpr Integer FrameHookArgSlots = 64;

// Loads the library AArgs[0] (a path, or a bare name for the system search), configures it with
// AArgs (argc = their count) and appends it to AChain. 0 on success; otherwise nothing is appended:
// -2 without arguments, -1 when the library cannot be loaded, -12 without memory, -2 without
// "Process" or with arguments but no "Configure", -22 when "Configure" fails.
Integer AddFrameHook(PFrameHookEntry& AChain, const std::vector<String>& AArgs);
// "Process" of every entry, first to last, on the picture.
void ProcessFrameHooks(PFrameHookEntry AChain, TFrameHookPicture* APicture, Integer APixFmt, Integer AWidth,
                       Integer AHeight, Int64 APTS);
// "Release" of every entry that has it, frees the entries and empties AChain.
void ReleaseFrameHooks(PFrameHookEntry& AChain);
