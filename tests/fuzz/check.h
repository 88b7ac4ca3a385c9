#pragma once

// A failed property aborts, which libFuzzer reports as a finding with the
// input that caused it.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                     \
    do {                                                                                     \
        if (!(cond)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                    \
        }                                                                                    \
    } while (0)
