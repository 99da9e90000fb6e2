// The options never change a song they are not for: without them every
// example and corpus song gives the bytes that the tool gave before they
// existed, and a song written in Unicode gives the image of the same song in VIQR.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "image/convert_song.h"
#include "support/memory_compile.h"
#include "support/midi_writer.h"

namespace zmr {
namespace {

namespace fs = std::filesystem;

uint64_t fnv1a(std::span<const uint8_t> bytes, uint64_t hash = 0xcbf29ce484222325u) {
    for (const uint8_t b : bytes) hash = (hash ^ b) * 0x100000001b3u;
    return hash;
}

// FNV-1a of DADEDA00.DEZ followed by SongList.txt, as the tool wrote them for
// each song alone before the options existed (zmrimage build -o DIR SONG).
const std::map<std::string, uint64_t> kImagesBefore = {
    {"Chuc Mung Nam Moi.kar", 0x2afa8abfe6462f94u}, {"Dem Trang.kar", 0xe43c659907a196d7u},
    {"Hanh Trinh Dai.mid", 0xd5fbbf8581d6bda4u}, {"Mua Xuan Ve.MID", 0x8ec7378c76a4c2acu},
    {"Que Huong.mid", 0x6b3da69e65b5cd44u}, {"Ru Con.mid", 0xd87d879a316b37a1u},
    {"Battle.mid", 0xd355301ba7ea6e5bu}, {"CarnalFear.mid", 0x87700d28a52d2abeu},
    {"Hellin.mid", 0xb2b7917cd86c5daeu}, {"Homage.mid", 0x2fdcd139d6d57d4au},
    {"ItIs.mid", 0x727f80223ebb782du}, {"LettingGo.mid", 0xf47be5da0d8bac39u},
    {"MIDIBadHeaderLength.mid", 0xa46ac151da5d0378u}, {"MIDIBadHeaderSMTPE.mid", 0x3b2e0a8009bb6ee9u},
    {"MIDIBadHeaderTracksNum.mid", 0xf62e7eb8cbaf2df2u}, {"MIDIBadTrackHdr.mid", 0x37a57060f921a915u},
    {"MIDIBadTrackLength.mid", 0xa3619366f85c5715u}, {"MIDIOkFormat0.mid", 0x7fe7b5aec078b862u},
    {"MIDIOkFormat1-lyrics.mid", 0xac495fffddeb85eau}, {"MIDIOkFormat1.mid", 0xd9a5a39b1074431au},
    {"MIDIOkFormat2.mid", 0x45ea37a9f073a762u}, {"Negra_Sombra.kar", 0x89d0f39490efa417u},
    {"Schubert_Standchen.mid", 0x62e3c79d35c4ff77u}, {"haendel_hallelujah.mid", 0xfaee4050380a5bdcu},
    {"lindaamiga.mid", 0xc540c8a70395f615u}, {"mozart_aveverum.mid", 0xd4ca582b374d879du},
    {"mozart_diesirae.mid", 0x3f0be742c482d796u}, {"mozart_konigdernacht.mid", 0x886e11f8ed546972u},
    {"schubert_avemaria.mid", 0x57212c3378a2292au}, {"test-2-tracks-type-0.mid", 0xb54465d9c7ece66au},
    {"test-2-tracks-type-1.mid", 0x21b4f3d41e8381a2u}, {"test-2-tracks-type-2.mid", 0x7246668bd439b53au},
    {"test-all-gs-sounds.mid", 0xa4393a3e60bc4d96u}, {"test-corrupt-file-extra-byte.mid", 0xcf8a37bce1208fdau},
    {"test-corrupt-file-missing-byte.mid", 0x1b6eb1437e8814bau}, {"test-empty-file.mid", 0x597389afb4a8e702u},
    {"test-empty.mid", 0xd47a78555f310b97u}, {"test-illegal-message-f8.mid", 0x597389afb4a8e702u},
    {"test-karaoke-kar.mid", 0xd3a0cf462219d14cu}, {"test-multichannel-chords-1.mid", 0xd156ada87ecaa4f1u},
    {"test-non-midi-track.mid", 0x597389afb4a8e702u}, {"test-running-status-metaevent.mid", 0x9ab3c1349ea1ecabu},
    {"test-running-status-sysex.mid", 0x0ef6bf52418eb726u}, {"test-smpte-offset.mid", 0x6f4a05eac0753d2au},
    {"test-sysex-gs-40-1x-15-drum-part-change.mid", 0x89e3468506b88eb9u},
    {"test-track-length.mid", 0xf983252f94c3dec2u}, {"test-vlq-4-byte.mid", 0x8730b7afed67aeccu},
    {"test.mid", 0x1e85dc4bbcc8298bu}, {"twinkle-kar.kar", 0xb79ab2438b149119u},
    {"twinkle.kar", 0x08c0bc11d24b7efcu}, {"twinkle.mid", 0x02d866baea7d1339u},
};

uint64_t imageHash(const fs::path& song, const ConvertOptions& options) {
    std::ifstream in(song, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const test::CompiledImage compiled = test::compileInMemory({{song.string(), bytes}}, false, {}, options);
    return fnv1a(std::span(reinterpret_cast<const uint8_t*>(compiled.songList.data()), compiled.songList.size()),
                 fnv1a(compiled.image));
}

// Songs that an option is for: their images may differ under it.
const std::map<std::string, std::set<std::string>> kChangedBy = {
    {"lenient", {"MIDIBadTrackHdr.mid", "test-non-midi-track.mid"}},  // a chunk other than MTrk
    {"auto", {"Schubert_Standchen.mid", "mozart_konigdernacht.mid", "schubert_avemaria.mid"}},  // UTF-8 lyrics
};

TEST(ConvertOptions, EveryExampleAndCorpusSongKeepsItsBytes) {
    const std::map<std::string, ConvertOptions> optionSets = {
        {"none", {}},
        {"viqr-vni", {.textEncoding = TextEncoding::ViqrVni}},
        {"lenient", {.lenient = true}},
        {"auto", {.textEncoding = TextEncoding::Auto}},
    };
    size_t songs = 0;
    for (const fs::path& folder : {fs::path(ZMR_EXAMPLES_DIR), fs::path(ZMR_CORPUS_DIR)}) {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (!kImagesBefore.contains(name)) continue;
            ++songs;
            for (const auto& [label, options] : optionSets) {
                const auto changed = kChangedBy.find(label);
                if (changed != kChangedBy.end() && changed->second.contains(name)) continue;
                EXPECT_EQ(imageHash(entry.path(), options), kImagesBefore.at(name)) << name << " with " << label;
            }
        }
    }
    EXPECT_EQ(songs, kImagesBefore.size());
}

std::vector<uint8_t> song(std::initializer_list<std::string_view> lyrics) {
    test::TrackWriter track;
    uint32_t delta = 0;
    for (const std::string_view lyric : lyrics) {
        track.lyric(delta, lyric).noteOn(0, 0, 60, 100).noteOff(120, 0, 60);
        delta = 30;
    }
    track.endOfTrack();
    return test::MidiFile(240).add(track).bytes();
}

TEST(ConvertOptions, SongInUnicodeGivesTheImageOfTheSameSongInViqr) {
    const auto viqr = convertSong("/s/Chuc Mung.kar", song({"Chu'c ", "mu*`ng ", "na(m ", "mo*'i, ", "DDa^'t ", "Vie^.t"}));
    const auto utf8 = convertSong("/s/Chuc Mung.kar", song({"Chúc ", "mừng ", "năm ", "mới, ", "Đất ", "Việt"}),
                                  {.textEncoding = TextEncoding::Utf8});
    const auto cp1258 = convertSong("/s/Chuc Mung.kar",
                                    song({"Chu\xEC" "c ", "m\xFD\xCCng ", "n\xE3m ", "m\xF5\xECi, ", "\xD0\xE2\xECt ",
                                          "Vi\xEA\xF2t"}),
                                    {.textEncoding = TextEncoding::Cp1258});
    ASSERT_TRUE(viqr && utf8 && cp1258);
    EXPECT_EQ(utf8->bytes, viqr->bytes);
    EXPECT_EQ(cp1258->bytes, viqr->bytes);
    EXPECT_EQ(utf8->name, "Chuc Mung\tChúc mừng năm mới, Đất Việt");  // the song list keeps the UTF-8
    EXPECT_EQ(utf8->uncodedCharacters, 0);
}

}  // namespace
}  // namespace zmr
