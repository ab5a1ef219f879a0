// A picture's planes as the engine hands them around, without the libraries' headers.
#pragma once

#include <cstdint>

// The libraries' AV_NUM_DATA_POINTERS (checked where the headers are seen).
inline constexpr int PictureDataPointers = 8;

// Plane pointers and line sizes of a picture (laid out like AVFrame's data and linesize).
struct TAVPicture {
  uint8_t* data[PictureDataPointers] = {};
  int linesize[PictureDataPointers] = {};
};
