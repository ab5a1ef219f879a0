// Test support for reading and writing skins: the scratch folder, and the little-endian integers the
// skin streams are made of.
#pragma once

#include "platform/rtl/testkit/rtl_test_util.h"
#include "platform/rtl/types.h"

inline String le32(Integer V) {
  String S(4, '\0');
  for (int i = 0; i < 4; ++i) S[i] = char(Byte(Cardinal(V) >> (8 * i)));
  return S;
}
