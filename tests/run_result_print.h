// Readable failure messages for RunResult comparisons.
#ifndef BDF2VBT_TESTS_RUN_RESULT_PRINT_H
#define BDF2VBT_TESTS_RUN_RESULT_PRINT_H

#include <gtest/gtest.h>

#include <ostream>

#include "test_support.h"

inline void PrintTo(const RunResult& run, std::ostream* os) {
  *os << "{status " << run.status << ", out " << testing::PrintToString(run.out) << ", err "
      << testing::PrintToString(run.err) << "}";
}

#endif  // BDF2VBT_TESTS_RUN_RESULT_PRINT_H
