#pragma once

#include <cstdlib>

// A broken invariant is a crash, which the fuzzer reports with its input.
#define QUARNET_FUZZ_CHECK(condition) \
    do {                              \
        if (!(condition))             \
            std::abort();             \
    } while (false)
