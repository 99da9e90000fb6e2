#pragma once
// The words a song book prints, the same in every format.

#include <cstdint>
#include <string>

#include "base/grouped_number.h"

namespace zmr {

inline constexpr char kSongBookHeading[] = "Song book";
inline constexpr char kByTitleHeading[] = "Songs by title";
inline constexpr char kByNumberHeading[] = "Songs by number";

// "1 song", "1,250 songs".
inline std::string songCountText(size_t count) {
    return groupThousands(count) + (count == 1 ? " song" : " songs");
}

}  // namespace zmr
