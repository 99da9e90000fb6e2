#pragma once
// A song book: the numbered list of a disc's songs that singers choose from,
// printed and laid on the tables. This is what it holds, whatever it is
// printed as.

#include <cstdint>
#include <string>
#include <vector>

namespace zmr {

struct SongBookEntry {
    int32_t number = 0;       // as the player numbers it, from 1
    std::string title;        // UTF-8, Vietnamese letters
    std::string firstLine;    // the first lyric line, UTF-8
    uint64_t lengthUnits = 0; // the song's length in 17 ms units
};

struct SongBook {
    std::string volumeId;  // the disc's name
    std::string date;      // YYYY-MM-DD
    std::vector<SongBookEntry> songs;  // by number
};


}  // namespace zmr
