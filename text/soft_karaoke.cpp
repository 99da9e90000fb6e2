#include "text/soft_karaoke.h"

#include <map>

namespace zmr {
namespace {

constexpr uint8_t kCarriageReturn = 13;

bool isHeaderLine(const TimedText& text) { return !text.bytes.empty() && text.bytes[0] == '@'; }

}  // namespace

std::vector<TimedText> softKaraokeLyrics(std::span<const TrackText> textEvents) {
    std::map<uint32_t, size_t> lyricCounts;  // ordered by track, so the earlier wins a tie
    for (const TrackText& event : textEvents) {
        if (!isHeaderLine(event.text)) ++lyricCounts[event.track];
    }
    uint32_t chosen = 0;
    size_t most = 0;
    for (const auto& [track, count] : lyricCounts) {
        if (count > most) {
            chosen = track;
            most = count;
        }
    }

    std::vector<TimedText> lyrics;
    if (most == 0) return lyrics;
    lyrics.reserve(most);
    for (const TrackText& event : textEvents) {
        if (event.track != chosen || isHeaderLine(event.text)) continue;
        TimedText& lyric = lyrics.emplace_back(event.text);
        if (!lyric.bytes.empty() && (lyric.bytes[0] == '\\' || lyric.bytes[0] == '/')) lyric.bytes[0] = kCarriageReturn;
    }
    return lyrics;
}

}  // namespace zmr
