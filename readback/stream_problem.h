#pragma once
// Something in a decoded stream that the compiler never writes, at a byte
// offset within the stream.

#include <cstddef>
#include <string>

namespace zmr {

struct StreamProblem {
    size_t byte = 0;
    std::string message;
};

}  // namespace zmr
