#include "readback/song_list_check.h"

#include <algorithm>

#include "image/song_list.h"
#include "readback/text_records.h"
#include "text/name_buffer.h"
#include "text/text_encoding.h"
#include "text/text_stream.h"
#include "text/transcoder.h"

namespace zmr {
namespace {

constexpr uint8_t kLineEnd = 13;

// A listed title that filled the name buffer may have been cut, and its last
// byte may have composed with the next one: all but its last code must then
// begin the image's title.
bool titleMatchesAs(std::string_view listed, TextEncoding encoding, const std::vector<uint8_t>& codes) {
    const std::vector<uint8_t> transcoded = transcodeTitle(listed, encoding);
    if (!listedTitleMayBeCut(listed)) return transcoded == codes;
    if (transcoded.empty()) return true;
    return transcoded.size() - 1 <= codes.size() && std::equal(transcoded.begin(), transcoded.end() - 1, codes.begin());
}

}  // namespace

bool listedTitleMatches(std::string_view listed, const std::vector<uint8_t>& codes) {
    if (titleMatchesAs(listed, TextEncoding::ViqrVni, codes)) return true;
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(listed.data()), listed.size());
    const TextEncoding encoding = titleEncoding(bytes, TextEncoding::Cp1258);
    return isDecoded(encoding) && titleMatchesAs(listed, encoding, codes);
}

std::vector<uint8_t> transcodeTitle(std::string_view title, TextEncoding encoding) {
    if (isDecoded(encoding)) {
        // The text stream's own title line, up to its line end.
        TextStream stream;
        NameBuffer name;
        stream.beginTextStream(std::string(title) + ".kar", name, encoding);
        return readTextStream(stream.bytes()).titleCodes;
    }
    // The title, its line end and the flush that releases it, as the text stream feeds them.
    std::vector<uint8_t> codes = transcodeText(std::string(title) + static_cast<char>(kLineEnd));
    if (!codes.empty() && codes.back() == kLineEnd) codes.pop_back();
    return codes;
}

std::vector<SongListProblem> checkSongList(std::span<const uint8_t> songList,
                                           std::span<const std::optional<std::vector<uint8_t>>> titles) {
    std::vector<SongListProblem> problems;
    const SongList list = parseSongList(songList);
    if (list.byteOrderMark) problems.push_back({1, "the list begins with a UTF-8 byte-order mark"});
    for (size_t i = 0; i < list.lines.size(); ++i) {
        const SongListLine& line = list.lines[i];
        if (!line.crlf) problems.push_back({line.lineNumber, "the line does not end with CR LF"});
        if (std::optional<std::string> problem = songListNumberProblem(line)) {
            problems.push_back({line.lineNumber, *problem});
            if (!line.number) continue;
        }
        if (i >= titles.size()) continue;  // reported once below
        if (titles[i] && !listedTitleMatches(line.title, *titles[i])) {
            problems.push_back({line.lineNumber, "title \"" + shownSongListText(line.title) +
                                                     "\" does not transcode to the title of song " +
                                                     std::to_string(line.lineNumber) + " in the image"});
        }
    }
    if (list.lines.size() != titles.size()) {
        problems.push_back({static_cast<int32_t>(std::min(list.lines.size(), titles.size()) + 1),
                            "the list has " + std::to_string(list.lines.size()) + " lines, the image " +
                                std::to_string(titles.size()) + " songs"});
    }
    return problems;
}

}  // namespace zmr
