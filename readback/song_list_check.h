#pragma once
// Checking a song list against the image it was written with. The names in
// the list are untranscoded bytes while the image holds transcoded codes, so
// what is compared is what survives robustly: the numbering (1, 2, 3, ... one
// line per song, lines ending CR LF) and each title, which must transcode to
// the codes of the song's title line exactly as the text stream transcodes
// it (a name that is not ASCII may also have been read as UTF-8 or
// Windows-1258, as --text-encoding reads names). The lyric bytes after the title's tab are not compared: the text stream
// keeps only lyric events shorter than 16 bytes, the list takes every one.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_decoder.h"

namespace zmr {

struct SongListProblem {
    int32_t line = 0;  // from 1; past the last line when a line is missing
    std::string message;
};

// `titles` holds each song's title codes in image order, nothing for a song
// whose title could not be read (it is then not compared).
std::vector<SongListProblem> checkSongList(std::span<const uint8_t> songList,
                                           std::span<const std::optional<std::vector<uint8_t>>> titles);

// Whether a title as the list gives it is the title whose codes the image
// holds: read as VIQR, or as --text-encoding reads a name that is not ASCII
// (UTF-8 when it is valid UTF-8, Windows-1258 otherwise); a title that filled
// the name buffer only needs to begin the image's.
bool listedTitleMatches(std::string_view listed, const std::vector<uint8_t>& codes);

// The codes of a title line, as the text stream makes them from the title's
// bytes: as they stand (VIQR/VNI), or read in a decoded `encoding` (as
// --text-encoding reads names).
std::vector<uint8_t> transcodeTitle(std::string_view title, TextEncoding encoding = TextEncoding::ViqrVni);

}  // namespace zmr
