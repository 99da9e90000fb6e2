#include "image/song_list.h"

#include <charconv>

#include "base/hex_text.h"
#include "text/name_buffer.h"

namespace zmr {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::optional<int32_t> leadingNumber(std::string_view numberText) {
    int32_t number = 0;
    const auto parsed = std::from_chars(numberText.data(), numberText.data() + numberText.size(), number);
    if (parsed.ec != std::errc() || parsed.ptr != numberText.data() + numberText.size() ||
        (numberText.size() > 1 && numberText[0] == '0'))
        return std::nullopt;
    return number;
}

}  // namespace

std::string shownSongListText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += byteEscape(byte);
        } else {
            out += c;
        }
    }
    return out;
}

void songListLine(int32_t number, std::string_view name, std::string& line) {
    line = std::to_string(number);
    line += '\t';
    for (const char c : name) line += (c == '\r' || c == '\n') ? ' ' : c;
    line += "\r\n";
}

uint64_t songListLineBytes(int64_t number, uint64_t nameBytes) { return std::to_string(number).size() + 1 + nameBytes + 2; }

bool listedTitleMayBeCut(std::string_view title) { return title.size() >= static_cast<size_t>(kNameTitleLimit); }

SongList parseSongList(std::span<const uint8_t> bytes) {
    SongList list;
    std::string_view rest(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (rest.starts_with(kByteOrderMark)) {
        list.byteOrderMark = true;
        rest.remove_prefix(kByteOrderMark.size());
    }
    while (!rest.empty()) {
        SongListLine line;
        line.lineNumber = static_cast<int32_t>(list.lines.size() + 1);
        const size_t end = rest.find('\n');
        line.text = rest.substr(0, end);
        line.crlf = end != std::string_view::npos && line.text.ends_with('\r');
        if (line.crlf) line.text.remove_suffix(1);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        line.end = bytes.size() - rest.size();

        const size_t tab = line.text.find('\t');
        if (tab != std::string_view::npos) {
            line.number = leadingNumber(line.text.substr(0, tab));
            const std::string_view name = line.text.substr(tab + 1);
            line.title = name.substr(0, name.find('\t'));
        }
        list.lines.push_back(line);
    }
    return list;
}

std::optional<std::string> songListNumberProblem(const SongListLine& line) {
    if (!line.number) return "the line does not begin with a song number and a tab: \"" + shownSongListText(line.text.substr(0, 40)) + "\"";
    if (*line.number != line.lineNumber)
        return "song number " + std::to_string(*line.number) + ", expected " + std::to_string(line.lineNumber);
    return std::nullopt;
}

}  // namespace zmr
