#include "text/song_text.h"

#include <algorithm>

#include "text/soft_karaoke.h"
#include "text/utf8.h"

namespace zmr {

bool lyricsAreUtf8(std::span<const TimedText> lyrics) {
    const auto valid = [](const TimedText& t) { return isValidUtf8(t.bytes); };
    const auto multibyte = [](const TimedText& t) { return !isAscii(t.bytes); };
    return std::all_of(lyrics.begin(), lyrics.end(), valid) && std::any_of(lyrics.begin(), lyrics.end(), multibyte);
}

void SongText::begin(std::string_view path, NameBuffer& name) {
    const std::string_view title = songTitle(path);
    const auto titleBytes = std::span(reinterpret_cast<const uint8_t*>(title.data()), title.size());
    stream_.beginTextStream(path, name, titleEncoding(titleBytes, reading_.encoding));
}

void SongText::lyric(std::span<const uint8_t> bytes, int64_t timeUnits) {
    ++lyricEvents_;
    if (reading_.encoding == TextEncoding::Auto) {
        heldLyrics_.push_back({std::vector<uint8_t>(bytes.begin(), bytes.end()), timeUnits});
    } else {
        stream_.addLyric(bytes, timeUnits, reading_.encoding);
    }
}

void SongText::textEvent(uint32_t track, std::span<const uint8_t> bytes, int64_t timeUnits) {
    if (reading_.karText) textEvents_.push_back({track, {std::vector<uint8_t>(bytes.begin(), bytes.end()), timeUnits}});
}

void SongText::feed(std::span<const TimedText> lyrics) {
    const TextEncoding encoding = reading_.encoding != TextEncoding::Auto ? reading_.encoding
                                  : lyricsAreUtf8(lyrics)                 ? TextEncoding::Utf8
                                                                          : TextEncoding::ViqrVni;
    for (const TimedText& lyric : lyrics) stream_.addLyric(lyric.bytes, lyric.timeUnits, encoding);
}

uint32_t SongText::end() {
    // Nothing reached the stream yet when lyrics were held back or none were
    // met, so handing them on now gives the records the merge would have.
    if (reading_.encoding == TextEncoding::Auto) feed(heldLyrics_);
    if (lyricEvents_ == 0 && reading_.karText) {
        feed(softKaraokeLyrics(textEvents_));
    }
    return stream_.endTextStream();
}

}  // namespace zmr
