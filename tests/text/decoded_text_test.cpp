// Titles and lyrics read from UTF-8 or Windows-1258: spelled in VIQR, where
// only the marks that the spelling adds compose, with the times and names
// that the player's own reading would give the same text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/song_text.h"
#include "text/text_encoding.h"
#include "text/text_stream.h"
#include "text/utf8.h"

namespace zmr {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

struct Event {
    std::string bytes;
    int64_t time;
};

struct Stream {
    std::vector<std::pair<uint8_t, uint16_t>> lyrics;  // code and time of each lyric record
    std::vector<uint8_t> title;
    std::string name;
    int32_t uncoded = 0;
};

// A song named `path` with `events` as its lyric events.
Stream streamOf(std::string_view path, const std::vector<Event>& events, TextEncoding encoding,
                TextEncoding title = TextEncoding::ViqrVni) {
    TextStream stream;
    NameBuffer name;
    stream.beginTextStream(path, name, title);
    for (const Event& e : events) stream.addLyric(bytesOf(e.bytes), e.time, encoding);
    stream.endTextStream();
    Stream out;
    const auto bytes = stream.bytes();
    const size_t records = bytes.size() / 4;
    size_t titleRecords = 0;
    while (bytes[4 * (15 + titleRecords)] != 13) out.title.push_back(bytes[4 * (15 + titleRecords++)]);
    for (size_t i = 31 + titleRecords; i + 2 < records; ++i) {
        out.lyrics.emplace_back(bytes[4 * i], static_cast<uint16_t>(bytes[4 * i + 2] | bytes[4 * i + 3] << 8));
    }
    out.name = name.text();
    out.uncoded = stream.uncodedCharacters();
    return out;
}

std::vector<uint8_t> codes(const Stream& s) {
    std::vector<uint8_t> out;
    for (const auto& [code, time] : s.lyrics) out.push_back(code);
    return out;
}

TEST(DecodedText, ByteStandingForItselfNeverComposesAndReleasesWithItsEventsTime) {
    // VIQR "ddi" then "." gives i with dot below; from Unicode the full stop stays one.
    const Stream viqr = streamOf("x.kar", {{"ddi", 10}, {".", 20}}, TextEncoding::ViqrVni);
    EXPECT_EQ(viqr.lyrics, (std::vector<std::pair<uint8_t, uint16_t>>{{173, 10}, {171, 20}}));
    const Stream unicode = streamOf("x.kar", {{"đi", 10}, {".", 20}}, TextEncoding::Utf8);
    EXPECT_EQ(unicode.lyrics, (std::vector<std::pair<uint8_t, uint16_t>>{{173, 10}, {'i', 20}, {'.', 20}}));

    EXPECT_EQ(codes(streamOf("x.kar", {{"đâu?", 5}}, TextEncoding::Utf8)), (Bytes{173, 131, 'u', '?'}));
    EXPECT_EQ(codes(streamOf("x.kar", {{"Eddie", 5}}, TextEncoding::Utf8)), bytesOf("Eddie"));
    // The same words in Windows-1258: d with stroke 0xF0, a with circumflex 0xE2.
    EXPECT_EQ(codes(streamOf("x.kar", {{"\xF0\xE2u?", 5}}, TextEncoding::Cp1258)), (Bytes{173, 131, 'u', '?'}));
}

TEST(DecodedText, MarksOfALetterComposeAcrossTheSpellingOnly) {
    // "Việt" as NFC, as NFD, and as Windows-1258 (e with circumflex, then the dot below as a combining mark).
    for (const auto& [text, decoding] : {std::pair<std::string, TextEncoding>{"Vi\xE1\xBB\x87t", TextEncoding::Utf8},
                                         {"Vie\xCC\x82\xCC\xA3t", TextEncoding::Utf8},
                                         {"Vi\xEA\xF2t", TextEncoding::Cp1258}}) {
        EXPECT_EQ(codes(streamOf("x.kar", {{text, 7}}, decoding)), (Bytes{'V', 'i', 172, 't'})) << text;
    }
}

TEST(DecodedText, CharactersWithoutACodeBecomeQuestionMarksAndAreCounted) {
    // n with tilde and a lone combining mark have no code; an invalid byte is a '?' but no character.
    const Stream s = streamOf("x.kar", {{"ñ", 1}, {"\xCC\x81", 2}, {"a\xFF", 3}}, TextEncoding::Utf8);
    EXPECT_EQ(codes(s), bytesOf("??a?"));
    EXPECT_EQ(s.uncoded, 2);
    EXPECT_EQ(s.name, "x\tñ\xCC\x81" "a\xFF");  // the song list keeps the bytes as they were
}

TEST(DecodedText, OnlyEventsShorterThan16BytesAsStoredAreShown) {
    const std::string fifteen = "ếếếếế";  // 5 letters, 15 bytes
    const Stream s = streamOf("x.kar", {{fifteen, 1}, {fifteen + "a", 2}}, TextEncoding::Utf8);
    EXPECT_EQ(codes(s), (Bytes{137, 137, 137, 137, 137}));
    EXPECT_EQ(s.lyrics.back().second, 1);  // the long event's time is not the lyric time
}

TEST(DecodedText, TitleIsSpelledLikeTheLyrics) {
    const Stream s = streamOf("/songs/Chúc Đi.kar", {}, TextEncoding::ViqrVni, TextEncoding::Utf8);
    EXPECT_EQ(s.title, (Bytes{'C', 'h', 163, 'c', ' ', 174, 'i'}));
    EXPECT_EQ(s.name, "Chúc Đi\t");
}

TEST(TitleEncoding, AsciiNamesAreViqrUnderEveryEncoding) {
    const Bytes ascii = bytesOf("Em ye^u"), utf8 = bytesOf("Em yêu"), windows = bytesOf("Em y\xEAu");
    for (const TextEncoding e : kReadingEncodings) EXPECT_EQ(titleEncoding(ascii, e), TextEncoding::ViqrVni);
    EXPECT_EQ(titleEncoding(utf8, TextEncoding::ViqrVni), TextEncoding::ViqrVni);
    EXPECT_EQ(titleEncoding(utf8, TextEncoding::Utf8), TextEncoding::Utf8);
    EXPECT_EQ(titleEncoding(utf8, TextEncoding::Auto), TextEncoding::Utf8);
    EXPECT_EQ(titleEncoding(utf8, TextEncoding::Cp1258), TextEncoding::Utf8);
    EXPECT_EQ(titleEncoding(windows, TextEncoding::Cp1258), TextEncoding::Cp1258);
    EXPECT_EQ(titleEncoding(windows, TextEncoding::Utf8), TextEncoding::ViqrVni);
    EXPECT_EQ(titleEncoding(windows, TextEncoding::Auto), TextEncoding::ViqrVni);
}

TEST(Utf8Validity, RejectsWhatTheDecoderRejects) {
    EXPECT_TRUE(isValidUtf8(bytesOf("y\xC3\xAA\xF0\x9F\x8E\xA4")));
    EXPECT_TRUE(isValidUtf8(bytesOf("ye^u")));
    for (const std::string bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3", "\x80", "\xF8"}) {
        EXPECT_FALSE(isValidUtf8(bytesOf(bad))) << bad.size();
    }
}

TEST(AutoEncoding, SongIsUtf8OnlyWhenEveryLyricEventIs) {
    const auto run = [](std::vector<std::string> events) {
        TextStream stream;
        NameBuffer name;
        SongText text(stream, {TextEncoding::Auto, false});
        text.begin("x.kar", name);
        for (const std::string& e : events) text.lyric(bytesOf(e), 3);
        text.end();
        return Bytes(stream.bytes().begin(), stream.bytes().end());
    };
    const auto fixed = [](std::vector<std::string> events, TextEncoding encoding) {
        std::vector<Event> timed;
        for (const std::string& e : events) timed.push_back({e, 3});
        TextStream stream;
        NameBuffer name;
        stream.beginTextStream("x.kar", name);
        for (const Event& e : timed) stream.addLyric(bytesOf(e.bytes), e.time, encoding);
        stream.endTextStream();
        return Bytes(stream.bytes().begin(), stream.bytes().end());
    };
    EXPECT_EQ(run({"Em ", "yêu"}), fixed({"Em ", "yêu"}, TextEncoding::Utf8));
    EXPECT_EQ(run({"Em ", "ye^u"}), fixed({"Em ", "ye^u"}, TextEncoding::ViqrVni));
    // One event that is not UTF-8 (VNI e with circumflex) keeps the whole song VIQR/VNI.
    EXPECT_EQ(run({"yêu ", "ye\xE2u"}), fixed({"yêu ", "ye\xE2u"}, TextEncoding::ViqrVni));
}

}  // namespace
}  // namespace zmr
