// The pieces of the probe's information text: metadata blocks, stream lines and rate texts.
#pragma once

#include <vector>

#include "engine/base/avheaders.h"
#include "engine/base/ffutils.h"
#include "platform/rtl/types.h"

// ", 25 tbn", ", 29.97 fps", ", 90k tbn": two decimals unless whole, thousands as "k" when round.
String RateText(double AValue, const char* ASuffix);
// The generic name of an ID3v2 frame identifier ("TPE1" is "artist"); other keys as they are.
String MetadataKeyDisplayName(const char* AKey);
// "<indent>Metadata:" and one line per entry except "language"; nothing for no dictionary or one
// that only holds a language.
void AddMetadataBlock(std::vector<String>& ALines, const AVDictionary* AMetadata, const String& AIndent);
// "Stream #i…: <codec description>…" of stream AIndex, followed by its metadata block.
void AddStreamLines(std::vector<String>& ALines, const AVFormatContext* AContext, Integer AIndex);
// "<seconds>.<six digits>" of a time in microseconds.
String SecondsText(Int64 AMicroseconds);
