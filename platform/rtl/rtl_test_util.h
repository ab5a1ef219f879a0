// Former place of the rtl test kit; the ui tests still include it from here.
#pragma once

#include "platform/rtl/testkit/rtl_test_util.h"
