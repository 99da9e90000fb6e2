// Rendering plays what the records say: a song built in code with known notes
// and a two-second rest, rendered with Debian's small TimGM6mb SoundFont and
// measured in windows of 100 ms.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "sound/song_render.h"
#include "support/memory_compile.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

using test::runCommand;
using test::shellQuote;
using test::zmrimageCommand;

constexpr char kSoundFont[] = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr int kRate = 22050;

struct Sound {
    int rate = 0;
    int channels = 0;
    std::vector<int16_t> samples;  // interleaved
    double seconds() const { return static_cast<double>(samples.size()) / channels / rate; }
};

uint32_t little32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }

// A 16-bit PCM WAV file: its "fmt " and "data" chunks.
Sound readWav(const std::vector<uint8_t>& file) {
    Sound sound;
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 || std::memcmp(file.data() + 8, "WAVE", 4) != 0)
        return sound;
    for (size_t at = 12; at + 8 <= file.size();) {
        const uint8_t* chunk = file.data() + at;
        const size_t size = std::min<size_t>(little32(chunk + 4), file.size() - at - 8);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            sound.channels = chunk[10] | (chunk[11] << 8);
            sound.rate = static_cast<int>(little32(chunk + 12));
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            sound.samples.resize(size / 2);
            std::memcpy(sound.samples.data(), chunk + 8, sound.samples.size() * 2);
        }
        at += 8 + size + (size & 1);
    }
    return sound;
}

// Root mean square of both channels over [from, from + 100 ms), full scale 1.
double energy(const Sound& sound, double from) {
    const size_t first = static_cast<size_t>(from * sound.rate) * sound.channels;
    const size_t count = static_cast<size_t>(0.1 * sound.rate) * sound.channels;
    double sum = 0;
    for (size_t i = first; i < first + count && i < sound.samples.size(); ++i) sum += std::pow(sound.samples[i] / 32768.0, 2);
    return std::sqrt(sum / static_cast<double>(count));
}

// One tick is one time unit (17 ms): an organ note from 0 to 58 units, two
// seconds of rest, and a note from 176 units that lasts 400, which the
// one-byte duration keeps as 144: it ends at 320 units (5.44 s), not 576.
std::vector<uint8_t> organSong() {
    test::TrackWriter music;
    music.tempo(0, 17000).programChange(0, 0, 19);  // church organ: it sounds as long as the note lasts
    music.noteOn(0, 0, 60, 110).noteOff(58, 0, 60).noteOn(118, 0, 67, 110).noteOff(400, 0, 67).endOfTrack();
    return test::MidiFile(1).add(music).bytes();
}

TEST(SongRender, NotesSoundForTheirStoredDurationsAndTheRestIsSilent) {
    const auto compiled = test::compileInMemory({{"/songs/Organ.mid", organSong()}});
    test::TempDir dir;
    const std::string image = dir.write("DADEDA00.DEZ", compiled.image);
    const auto run = runCommand(zmrimageCommand("render " + shellQuote(image) + " 1 -o " + shellQuote(dir / "out/organ.wav") +
                                                " --soundfont " + kSoundFont + " --sample-rate " + std::to_string(kRate)));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("song 1 rendered to"), std::string::npos) << run.out;
    const Sound sound = readWav(dir.read("out/organ.wav"));
    ASSERT_EQ(sound.rate, kRate);
    ASSERT_EQ(sound.channels, 2);

    constexpr double kSongEnd = 320 * 0.017;
    EXPECT_GE(sound.seconds(), kSongEnd);
    EXPECT_LE(sound.seconds(), kSongEnd + 0.5) << "more than the synthesizer's release tail after the last note";
    for (double at : {0.1, 0.5, 0.8, 3.1, 4.0, 5.2}) EXPECT_GT(energy(sound, at), 0.005) << "no sound at " << at << " s";
    for (double at = 1.5; at < 2.85; at += 0.1) EXPECT_LT(energy(sound, at), 0.0005) << "sound in the rest at " << at << " s";
    EXPECT_LT(energy(sound, sound.seconds() - 0.1), 0.005) << "the last note was not cut where its record ends";
}

// The lyrics go on for 2.5 s after a short note: the file runs to the last
// lyric, as play and the subtitles do.
TEST(SongRender, TheSoundRunsToTheLastLyricAndAWavPastItsLimitIsRefused) {
    test::TrackWriter track;
    track.tempo(0, 17000).programChange(0, 0, 19).lyric(0, "La ").noteOn(0, 0, 60, 110).noteOff(10, 0, 60);
    track.lyric(140, "end").endOfTrack();
    test::TempDir dir;
    const std::string image =
        dir.write("DADEDA00.DEZ", test::compileInMemory({{"/songs/Late.kar", test::MidiFile(1).add(track).bytes()}}).image);
    const auto run = runCommand(zmrimageCommand("render " + shellQuote(image) + " 1 -o " + shellQuote(dir / "late.wav") +
                                                " --soundfont " + kSoundFont + " --sample-rate " + std::to_string(kRate)));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_GE(readWav(dir.read("late.wav")).seconds(), 150 * 0.017);

    EXPECT_FALSE(soundFileLimitProblem(SoundFileType::Wav, 44100, PlaybackTime(6LL * 3600 * 1000)));
    const auto tooLong = soundFileLimitProblem(SoundFileType::Wav, 44100, PlaybackTime(7LL * 3600 * 1000));
    ASSERT_TRUE(tooLong);
    EXPECT_EQ(*tooLong, "the song lasts 420 minutes, too long for a WAV file (at most 4 GiB, 405 minutes at 44100 Hz); "
                        "write .flac or .ogg");
    EXPECT_FALSE(soundFileLimitProblem(SoundFileType::Flac, 44100, PlaybackTime(7LL * 3600 * 1000)));
}

TEST(SongRender, RefusesWhatItCannotWrite) {
    test::TempDir dir;
    const std::string image = dir.write("DADEDA00.DEZ", test::compileInMemory({{"/s/a.mid", organSong()}}).image);
    const auto wrongType = runCommand(zmrimageCommand("render " + shellQuote(image) + " 1 -o " + shellQuote(dir / "a.mp3")));
    EXPECT_EQ(wrongType.status, 2);
    EXPECT_NE(wrongType.err.find("a.mp3: the file must end in .wav, .flac or .ogg"), std::string::npos) << wrongType.err;
    const auto noFont = runCommand(zmrimageCommand("render " + shellQuote(image) + " 1 -o " + shellQuote(dir / "a.wav") +
                                                   " --soundfont " + shellQuote(dir / "none.sf2")));
    EXPECT_EQ(noFont.status, 2);
    EXPECT_NE(noFont.err.find("none.sf2: cannot open"), std::string::npos) << noFont.err;
    const auto notFont = runCommand(zmrimageCommand("render " + shellQuote(image) + " 1 -o " + shellQuote(dir / "a.wav") +
                                                    " --soundfont " + shellQuote(image)));
    EXPECT_EQ(notFont.status, 2);
    EXPECT_NE(notFont.err.find("not a SoundFont"), std::string::npos) << notFont.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "a.wav"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary file was left";
}

}  // namespace
}  // namespace zmr
