// What a disc standard leaves to the caller. A disc target fixes the picture size, frame rate,
// sample rate, rate-control and mux settings of its standard for the norm it decides; of the
// record's own values only those the standard leaves a choice about reach the task, brought into
// the standard's range. Codecs named in the record still replace the target's.
#pragma once

#include "engine/component/optionrecords.h"

// The record as the task applies it after the target: AOptions itself without a target.
TOutputOptions WithinDiscStandard(const TOutputOptions& AOptions);
