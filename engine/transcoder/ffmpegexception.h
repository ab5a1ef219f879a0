// The engine's own errors: everything the transcoder raises itself, with the texts of its messages.
#pragma once

#include "platform/rtl/exceptions.h"

NERIVO_EXCEPTION_CLASS(FFmpegException, Exception);
