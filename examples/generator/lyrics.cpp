#include "lyrics.h"

#include <sstream>
#include <stdexcept>

#include "utf8_text.h"
#include "vni.h"

namespace zmr::examples {

std::vector<LyricLine> parseLyrics(const std::string& text) {
    std::vector<LyricLine> lines;
    std::istringstream rawLines(text);
    std::string rawLine;
    while (std::getline(rawLines, rawLine, '/')) {
        std::istringstream words(rawLine);
        LyricLine line;
        std::string word;
        while (words >> word) line.push_back(word);
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

std::string lyricEventText(const LyricLine& line, size_t syllable, const Song& song) {
    std::string text = line[syllable];
    if (syllable + 1 < line.size()) {
        text += ' ';
    } else if (song.lineBreak == LineBreak::EndOfSyllable) {
        text += lineBreakEventText();
    }
    if (song.encoding == LyricEncoding::Vni) text = viqrToVni(text);
    if (song.encoding == LyricEncoding::Utf8) text = viqrToUtf8(text);
    if (text.size() >= 16) throw std::runtime_error("lyric '" + line[syllable] + "' is 16 bytes or longer");
    return text;
}

std::string lineBreakEventText() { return "\r"; }

}  // namespace zmr::examples
