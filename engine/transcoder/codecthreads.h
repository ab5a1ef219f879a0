// Codec threads: the conversions running in this process share the machine's cores, so each
// task's decoders and encoders open with about the core count divided by the running tasks.
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
