#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep. A broken one is reported with its text
// and ends the run, so libFuzzer keeps the input as a finding.
#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__,      \
                         #condition);                                                  \
            std::abort();                                                              \
        }                                                                              \
    } while (false)
