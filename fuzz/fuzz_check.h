// The fuzz targets' assertion: a broken property prints where and stops the run with a trap,
// which libFuzzer reports as a crash and saves the input for.
#pragma once

#include <cstdio>

#define FUZZ_REQUIRE(condition)                                                                  \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            __builtin_trap();                                                                    \
        }                                                                                        \
    } while (false)
