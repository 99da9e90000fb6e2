#pragma once
// Counts as people read them in messages, the song book and the dialogs.

#include <cstdint>
#include <string>

namespace zmr {

// 360000 as "360,000".
std::string groupThousands(uint64_t value);

}  // namespace zmr
