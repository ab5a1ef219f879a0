// The JobParameters of a new job as the engine's output record of its task.
#pragma once

#include "app/formats/jobparameters.h"
#include "engine/component/optionrecords.h"

// A reset record that takes the fields the JobParameters give: empty texts, "AUTO" and the
// bit-rate sentinels leave a field at its reset value; "libx264" also selects the encoder preset
// "libx264-default".
TOutputOptions JobOutputOptions(const TJobParameters& P);
