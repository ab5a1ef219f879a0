// Texts in byte streams (the head of the bitmap and link stream formats) and rectangles written as text.
#pragma once

#include "platform/rtl/streams.h"
#include "platform/rtl/types.h"

// A 32-bit count of UTF-16 code units, then the code units, little-endian.
void WriteStreamString(TStream* Stream, const String& S);
// Reads what WriteStreamString wrote. A negative count gives an empty text, and a count beyond the
// stream's end takes only the code units that are there.
void ReadStreamString(TStream* Stream, String& S);

// Removes the first item and the separator after it (blank ( ) , : ; =) from S; both are trimmed of
// blanks and control characters.
void TakeNextItem(String& S, String& Item);
// Left, top, right, bottom from the text; (0, 0, 0, 0) when any of the four does not convert.
void RectFromText(const String& S, TRect& R);
