#pragma once
// A karaoke song shaped like the files people collect, made from a seed: a
// conductor track, a lyrics track in VIQR and five to seven instrument tracks
// playing some ninety bars of 4/4 (about 3,500 notes, 7,000 events, 30 KB).
// The same seed always gives the same bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace zmr::bench {

struct GeneratedSong {
    std::string fileName;  // "00042 Mua Xua^n Ve^`.kar": a number, a VIQR title, .kar or .mid
    std::vector<uint8_t> bytes;
};

GeneratedSong generateSong(uint32_t seed);

}  // namespace zmr::bench
