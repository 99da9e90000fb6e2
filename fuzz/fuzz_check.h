#pragma once
// What a fuzz target does when the core breaks one of its own promises on an
// input: say which one and abort, so libFuzzer (or the replay program) stops
// there and keeps the input.

#include <cstdio>
#include <cstdlib>

namespace zmr::fuzz {

inline void check(bool holds, const char* promise) {
    if (holds) return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

}  // namespace zmr::fuzz
