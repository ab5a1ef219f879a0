// The runtime's string, formatting and conversion routines in one include.
#pragma once

#include "platform/rtl/consts.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"
