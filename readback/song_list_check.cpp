#include "readback/song_list_check.h"

#include <algorithm>
#include <charconv>

#include "readback/text_records.h"
#include "text/name_buffer.h"
#include "text/text_encoding.h"
#include "text/text_stream.h"
#include "text/transcoder.h"

namespace zmr {
namespace {

constexpr uint8_t kLineEnd = 13;

// The name buffer keeps room for the tab and a terminating zero after the
// title, so a longer title reaches the list cut to this many bytes.
constexpr size_t kListedTitleLimit = std::tuple_size_v<decltype(NameBuffer::bytes)> - 2;

struct ListLine {
    std::string_view text;  // without its line end
    bool crlf = false;
};

std::vector<ListLine> splitLines(std::string_view list) {
    std::vector<ListLine> lines;
    while (!list.empty()) {
        const size_t end = list.find('\n');
        std::string_view line = list.substr(0, end);
        const bool terminated = end != std::string_view::npos;
        const bool crlf = terminated && !line.empty() && line.back() == '\r';
        if (crlf) line.remove_suffix(1);
        lines.push_back({line, crlf});
        list = terminated ? list.substr(end + 1) : std::string_view{};
    }
    return lines;
}

// A listed title that filled the name buffer may have been cut, and its last
// byte may have composed with the next one: all but its last code must then
// begin the image's title.
bool titleMatchesAs(std::string_view listed, TextEncoding encoding, const std::vector<uint8_t>& codes) {
    const std::vector<uint8_t> transcoded = transcodeTitle(listed, encoding);
    if (listed.size() < kListedTitleLimit) return transcoded == codes;
    if (transcoded.empty()) return true;
    return transcoded.size() - 1 <= codes.size() && std::equal(transcoded.begin(), transcoded.end() - 1, codes.begin());
}

std::string printable(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += "0123456789ABCDEF"[byte >> 4];
            out += "0123456789ABCDEF"[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
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
    const std::string_view list(reinterpret_cast<const char*>(songList.data()), songList.size());
    const std::vector<ListLine> lines = splitLines(list);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int32_t lineNumber = static_cast<int32_t>(i + 1);
        const ListLine& line = lines[i];
        if (!line.crlf) problems.push_back({lineNumber, "the line does not end with CR LF"});

        const size_t tab = line.text.find('\t');
        const std::string_view numberText = line.text.substr(0, tab);
        int32_t number = 0;
        const auto parsed = std::from_chars(numberText.data(), numberText.data() + numberText.size(), number);
        if (tab == std::string_view::npos || parsed.ec != std::errc() || parsed.ptr != numberText.data() + numberText.size() ||
            (numberText.size() > 1 && numberText[0] == '0')) {
            problems.push_back({lineNumber, "the line does not begin with a song number and a tab: \"" +
                                                printable(line.text.substr(0, 40)) + "\""});
            continue;
        }
        if (number != lineNumber) {
            problems.push_back({lineNumber, "song number " + std::to_string(number) + ", expected " +
                                                std::to_string(lineNumber)});
        }
        if (i >= titles.size()) continue;  // reported once below
        const std::string_view name = line.text.substr(tab + 1);
        const std::string_view title = name.substr(0, name.find('\t'));
        if (titles[i] && !listedTitleMatches(title, *titles[i])) {
            problems.push_back({lineNumber, "title \"" + printable(title) + "\" does not transcode to the title of song " +
                                                std::to_string(lineNumber) + " in the image"});
        }
    }
    if (lines.size() != titles.size()) {
        problems.push_back({static_cast<int32_t>(std::min(lines.size(), titles.size()) + 1),
                            "the list has " + std::to_string(lines.size()) + " lines, the image " +
                                std::to_string(titles.size()) + " songs"});
    }
    return problems;
}

}  // namespace zmr
