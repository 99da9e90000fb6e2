#pragma once
// The words in which an image read back is reported, the same from the
// command line and from the web page: a layout that stops before every song
// is found, a song number the image does not hold, and the whole report of
// a verification, and a song's lyrics listed. Names and messages go through shownText.

#include <cstdint>
#include <span>
#include <string>

#include "readback/image_index.h"
#include "readback/image_verify.h"
#include "readback/song_list_check.h"
#include "readback/text_records.h"

namespace zmr {

// "PATH: cannot find every song: byte N: song K: why (zmrimage verify tells
// more)", for a scan that is not complete.
std::string layoutStopMessage(const std::string& path, const ImageIndex& scan);

// "PATH holds no song" or "PATH holds songs 1 to N; there is no song K".
std::string noSuchSongMessage(const std::string& path, size_t songs, int64_t number);

// "song N, text section: why", for a text section that does not decode.
std::string textSectionMessage(int32_t song, const std::string& why);

// "song N: why", for a text stream whose header cannot be found.
std::string textHeaderMessage(int32_t song, const TextStreamParts& text);

// The title and the lyrics line by line, each line after the time of its
// first record, as `zmrimage lyrics IMAGE N` prints them.
std::string lyricListing(const TextStreamParts& text);

// Every line `zmrimage verify IMAGE [SONGLIST]` prints: each problem, the
// song list's problems (none without a list), the note on a failed song's
// entry, and the closing "sound" or "NOT sound" line.
std::string verifyReport(const std::string& imagePath, const ImageVerification& report, const std::string& songListPath,
                         std::span<const SongListProblem> listProblems);

}  // namespace zmr
