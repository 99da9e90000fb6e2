#pragma once
// The name a disc shows when it is put in a computer: the ISO 9660 volume
// identifier, which holds at most 32 of the characters A-Z, 0-9 and '_'.

#include <string>
#include <string_view>

#include "base/result.h"

namespace zmr {

inline constexpr char kDefaultVolumeId[] = "KARAOKE";
inline constexpr size_t kMaxVolumeIdLength = 32;

// The name as the disc will hold it: lower-case letters raised; anything else
// outside A-Z, 0-9 and '_' refused with a message naming it.
Result<std::string> normaliseVolumeId(std::string_view name);

}  // namespace zmr
