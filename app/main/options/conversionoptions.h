// What the conversion asks of the options the user set. The options dialog answers from its controls,
// so a change counts the moment it is made; the main window asks at the start and end of a batch and
// whenever it names an output file.
#pragma once

#include "platform/rtl/threads.h"
#include "platform/rtl/types.h"

// After a batch: the after-finish choice.
enum TAfterFinish { afOpenFolder, afPowerOff, afPlaySound, afNothing };

class IConversionOptions {
 public:
  virtual ~IConversionOptions() = default;
  // The worker priority chosen; false when none is (the component keeps its own).
  virtual bool WorkerPriority(TThreadPriority& Priority) const = 0;
  // Files converted at once, at least 1.
  virtual Integer ThreadCount() const = 0;
  virtual TAfterFinish AfterFinish() const = 0;
  // An existing output file is replaced (by a complete output) rather than the new one renamed.
  virtual bool OverwriteOutput() const = 0;
  virtual bool LivePreview() const = 0;
};
