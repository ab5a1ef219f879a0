// Codec threads: the conversions running in this process share the machine's cores. A task's
// decoders open with about the core count divided by the running tasks; its encoders, which do
// most of the work, open with the libraries' own count for the whole machine and the system shares
// the cores among the tasks' threads, so that a task still running when the others have ended (a
// long job at the end of a batch) keeps every core busy.
#pragma once

#include "platform/rtl/types.h"

// Holds one running conversion for its lifetime.
class TRunningConversion {
 public:
  TRunningConversion();
  ~TRunningConversion();
  TRunningConversion(const TRunningConversion&) = delete;
  TRunningConversion& operator=(const TRunningConversion&) = delete;
};

// Conversions running now.
Integer RunningConversions();

// Threads for one codec of a task when ARunning conversions share ACores: at least 1, or 0 when
// the task has the machine to itself, which lets each library take every core its own way (as
// the ffmpeg tool does; the H.264 encoder, for one, runs more threads than cores).
Integer CodecThreadCount(Integer ACores, Integer ARunning);
// The same for this machine and the conversions running now.
Integer CodecThreadCount();

// Threads for one encoder of a task on ACores: 0 (the library's own count for the whole machine,
// as the ffmpeg tool gives it) wherever there is more than one core, however many tasks run.
Integer EncoderThreadCount(Integer ACores);
// The same for this machine.
Integer EncoderThreadCount();
