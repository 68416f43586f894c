#pragma once

#include <cstdio>
#include <cstdlib>

// A property a fuzz target asserts: when it does not hold, the target says which and aborts,
// so that libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(condition)                                                               \
    do {                                                                                    \
        if (!(condition)) {                                                                 \
            std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__,      \
                         #condition);                                                       \
            std::abort();                                                                   \
        }                                                                                   \
    } while (false)
