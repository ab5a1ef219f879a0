// The whole runtime in one include.
#pragma once

#include "platform/rtl/clock.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/files.h"
#include "platform/rtl/object.h"
#include "platform/rtl/threads.h"
#include "platform/rtl/types.h"

// Written beside these; included once they are in the tree.
#if __has_include("platform/rtl/consts.h")
#include "platform/rtl/consts.h"
#endif
#if __has_include("platform/rtl/sysutils.h")
#include "platform/rtl/sysutils.h"
#endif
#if __has_include("platform/rtl/codepage.h")
#include "platform/rtl/codepage.h"
#endif
#if __has_include("platform/rtl/classes.h")
#include "platform/rtl/classes.h"
#endif
#if __has_include("platform/rtl/inifiles.h")
#include "platform/rtl/inifiles.h"
#endif
