// The names the option dispatcher (TCustomFFmpeg::SetOption) handles itself, in table order.
#pragma once

#include <vector>

#include "platform/rtl/types.h"

const std::vector<String>& DispatcherOptionNames();
