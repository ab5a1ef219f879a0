// Everything about skin bitmaps in one include: the bitmaps and their kernels, drawing and colour
// effects, blur, alpha masks, stream strings, bitmap links and the effects bitmap.
#pragma once

#include "skin/core/bsbitmap.h"
#include "skin/core/bsbitmaplinks.h"
#include "skin/core/bsblur.h"
#include "skin/core/bseffectbmp.h"
#include "skin/core/bshsl.h"
#include "skin/core/bskernels.h"
#include "skin/core/bsstreams.h"
