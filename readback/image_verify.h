#pragma once
// Everything an image promises, checked: its layout (readImageIndex) and, for
// every song it holds, both sections decoding exactly to their stated
// lengths and the decoded streams keeping the writer's shape.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "readback/image_index.h"

namespace zmr {

struct ImageVerification {
    ImageIndex scan;                    // its problems come first in `problems`
    std::vector<ImageProblem> problems;
    // The title codes of each located song, in song order; nothing where the
    // text stream could not be read.
    std::vector<std::optional<std::vector<uint8_t>>> titles;

    bool sound() const { return problems.empty() && scan.complete; }
};

ImageVerification verifyImage(std::span<const uint8_t> image);

}  // namespace zmr
