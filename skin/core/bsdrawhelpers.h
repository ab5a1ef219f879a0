// The drawing helpers in one include: drawing and text helpers, image composition, regions from masks,
// layered windows, default glyphs, system entry points, text glow, and the conversion from PNG.
#pragma once

#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bslayered.h"
#include "skin/core/bspngimagelist.h"
#include "skin/core/bsregions.h"
#include "skin/core/bssystem.h"
#include "skin/core/bstextglow.h"
