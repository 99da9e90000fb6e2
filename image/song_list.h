#pragma once
// The song list beside an image, SongList.txt: one line per song in image
// order, "NUMBER TAB NAME CR LF", the name being the song's title, a tab and
// its first lyric bytes, untranscoded. The compilation writes it; verify, the
// song book and the disc's per-song sizes read it back, here alone, taking
// also a list that an editor saved with LF line ends or a UTF-8 byte-order
// mark.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zmr {

// Line `number` (from 1) of a song named `name`: the number, a tab, the name
// with every CR and LF made a space, CR LF. Replaces what `line` held.
void songListLine(int32_t number, std::string_view name, std::string& line);
// The bytes of that line, for a name of `nameBytes`.
uint64_t songListLineBytes(int64_t number, uint64_t nameBytes);

// Whether a listed title may have been cut: the name keeps at most 62 bytes
// of a title, so a title that long may be only the start of the song's.
bool listedTitleMayBeCut(std::string_view title);

struct SongListLine {
    int32_t lineNumber = 0;  // from 1
    std::string_view text;   // without its line end
    bool crlf = false;       // ended by CR LF, as the compilation ends every line
    // The song number it begins with, followed by a tab: decimal digits
    // without a leading zero. Nothing when the line does not begin so.
    std::optional<int32_t> number;
    std::string_view title;  // after the number's tab, up to the next tab
    uint64_t end = 0;        // bytes of the list up to and with this line's end
};

struct SongList {
    bool byteOrderMark = false;  // a UTF-8 byte-order mark came first; it is in no line
    std::vector<SongListLine> lines;
};

// Lines end at LF, with or without a CR before it; the last may have no end.
// The lines view `bytes`, which must outlive them.
SongList parseSongList(std::span<const uint8_t> bytes);

// A list's bytes as a message shows them: control characters as \xNN.
std::string shownSongListText(std::string_view text);

// Why the line is not song `line.lineNumber`'s, by the numbering the
// compilation writes; nothing when it is.
std::optional<std::string> songListNumberProblem(const SongListLine& line);

}  // namespace zmr
