// Soft Karaoke lyrics: the text events of one track become lyrics when a song
// has no lyric event, as lyric events of the same bytes at the same times.

#include "text/soft_karaoke.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "image/convert_song.h"
#include "support/midi_writer.h"
#include "support/record_text.h"

namespace zmr {
namespace {

using Bytes = std::vector<uint8_t>;

TrackText text(uint32_t track, std::string_view bytes, int64_t time = 0) {
    return {track, {Bytes(bytes.begin(), bytes.end()), time}};
}

std::vector<std::string> texts(const std::vector<TimedText>& lyrics) {
    std::vector<std::string> out;
    for (const TimedText& t : lyrics) out.emplace_back(t.bytes.begin(), t.bytes.end());
    return out;
}

TEST(SoftKaraoke, TakesTheTrackWithTheMostLyricLinesWithoutItsHeaders) {
    // Track 1 has more text events, but most are '@' headers; track 2 wins.
    const std::vector<TrackText> events = {text(1, "@KMIDI KARAOKE FILE"), text(1, "@TSong"), text(1, "@LENGL"),
                                           text(2, "\\Hel"), text(1, "words"), text(2, "lo"),
                                           text(2, ""), text(2, "/a\\b"), text(2, "@not a header here")};
    EXPECT_EQ(texts(softKaraokeLyrics(events)), (std::vector<std::string>{"\rHel", "lo", "", "\ra\\b"}));

    // On a tie the earlier track; nothing when every text event is a header.
    EXPECT_EQ(texts(softKaraokeLyrics(std::vector{text(3, "c"), text(2, "b"), text(3, "d"), text(2, "e")})),
              (std::vector<std::string>{"b", "e"}));
    EXPECT_TRUE(softKaraokeLyrics(std::vector{text(0, "@T"), text(1, "@I")}).empty());
}

Bytes karSong(bool withLyricEvent) {
    test::TrackWriter conductor;
    conductor.tempo(0, 500000).text(0, "Made with care").endOfTrack();
    test::TrackWriter words;
    words.text(0, "@KMIDI KARAOKE FILE").text(0, "@TEm ye^u").text(480, "\\Em ").text(480, "ye^u").text(480, "/anh");
    if (withLyricEvent) words.lyric(0, "la");
    words.endOfTrack();
    test::TrackWriter music;
    music.noteOn(0, 0, 60, 100).noteOff(1920, 0, 60).endOfTrack();
    return test::MidiFile(480).add(conductor).add(words).add(music).bytes();
}

TEST(SoftKaraoke, SongWithoutLyricEventsTakesItsTextEvents) {
    const ConvertOptions kar{.karText = true};
    auto song = convertSong("/k/Kar.kar", karSong(false), kar);
    ASSERT_TRUE(song) << song.message();
    // At 480 ticks a beat and 500000 us: 29, 58 and 88 units; each record is
    // released by the next byte, and the last one by the closing flush.
    const auto t = test::recordText(*song);
    std::vector<std::pair<uint8_t, uint16_t>> records;
    for (const TextRecord& r : t.lyrics()) records.emplace_back(r.code, r.time);
    EXPECT_EQ(records, (std::vector<std::pair<uint8_t, uint16_t>>{
                           {13, 29}, {'E', 29}, {'m', 29}, {' ', 58}, {'y', 58}, {136, 58}, {'u', 88},
                           {13, 88}, {'a', 88}, {'n', 88}, {'h', 88}}));
    EXPECT_EQ(song->name, "Kar\t\rEm ye^u\ranh");

    // Without the option, and with a lyric event, the text events are passed over.
    EXPECT_EQ(test::lyricCodes(test::recordText(*convertSong("/k/Kar.kar", karSong(false)))), Bytes{});
    EXPECT_EQ(convertSong("/k/Kar.kar", karSong(true), kar)->bytes, convertSong("/k/Kar.kar", karSong(true))->bytes);
}

TEST(SoftKaraoke, NegraSombraShowsItsVerses) {
    const std::filesystem::path path = std::filesystem::path(ZMR_CORPUS_DIR) / "Negra_Sombra.kar";
    std::ifstream in(path, std::ios::binary);
    const Bytes file{std::istreambuf_iterator<char>(in), {}};
    auto song = convertSong(path.string(), file, {.textEncoding = TextEncoding::Auto, .karText = true});
    ASSERT_TRUE(song) << song.message();
    const auto lines = test::shownLines(test::recordText(*song));
    // 22 text events begin a line: the first, "\Can", after an empty one; 16
    // verses, the last two again and four lines of "la" follow.
    ASSERT_EQ(lines.size(), 23u);
    // Times from the file: "\Can" at tick 15840 and "/ne" at 18720, at 1200000 us a beat and division 480.
    EXPECT_EQ(lines[0], std::make_pair(uint16_t{2329}, std::string()));
    EXPECT_EQ(lines[1], std::make_pair(uint16_t{2329}, std::string("Cando penso que te fuches,")));
    EXPECT_EQ(lines[2], std::make_pair(uint16_t{2752}, std::string("negra sombra que me asombras,")));
    EXPECT_EQ(lines[3].second, "ó pé dos meus cabezales");
    EXPECT_EQ(lines[4].second, "tornas facéndome mofa.");
    EXPECT_EQ(lines[18].second, "sombra que sempre me asombras.");
    EXPECT_EQ(lines[22].second, "la la la la la");
}

}  // namespace
}  // namespace zmr
