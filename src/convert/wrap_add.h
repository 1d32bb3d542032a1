// Two's complement wrap-around, as the format's arithmetic on input values
// is defined.
#ifndef BDF2VBT_CONVERT_WRAP_ADD_H
#define BDF2VBT_CONVERT_WRAP_ADD_H

#include <cstdint>

inline int32_t wrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

#endif  // BDF2VBT_CONVERT_WRAP_ADD_H
