#include "generated_song.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <string_view>

#include "support/midi_writer.h"

namespace zmr::bench {
namespace {

// Vietnamese syllables written in VIQR, for titles and lyrics.
constexpr std::string_view kSyllables[] = {
    "em",    "anh",   "ye^u",   "que^",  "hu+o+ng", "dde^m",  "tra('ng", "xua^n", "ve^`",  "mu+a",
    "gio'",  "ma^y",  "bie^?n", "nho+'", "ngu+o+`i", "ddi",   "xa",      "ca'nh", "ddo`ng", "lu'a",
    "ma.",   "chie^`u", "no('ng", "ddo^i", "ma('t",  "tha^n", "thu+o+ng", "con",  "so^ng", "tre^n",
    "kha('p", "mo.i", "nha`",   "vui",   "ngay",    "ho^m",   "nay",     "ma~i",  "be^n",  "nhau",
    "lo`ng", "ddu+o+`ng", "pho^'", "nhi?", "to^i",  "ca^u",   "hoa",     "ddo?",  "tha('m", "ru",
};

constexpr int kMajorScale[] = {0, 2, 4, 5, 7, 9, 11};
// Four-bar chord loops, as scale degrees.
constexpr std::array<int, 4> kProgressions[] = {{0, 4, 5, 3}, {0, 5, 3, 4}, {5, 3, 0, 4}, {0, 3, 4, 0}, {0, 3, 5, 4}};

enum class Kind : uint8_t { NoteOff, NoteOn, Controller, Program, Lyric, Meta };

struct Event {
    uint32_t tick;
    Kind kind;
    uint8_t channel = 0, a = 0, b = 0;
    std::string text{};  // lyric text, or the data of a meta event of type `a`
};

// One track's events at absolute ticks, written in time order with note-offs
// before note-ons at the same tick.
class Track {
public:
    void note(uint32_t tick, uint32_t length, uint8_t channel, int key, int velocity) {
        const auto k = static_cast<uint8_t>(std::clamp(key, 0, 127));
        events_.push_back({tick, Kind::NoteOn, channel, k, static_cast<uint8_t>(std::clamp(velocity, 1, 127))});
        events_.push_back({tick + std::max(length, 1u), Kind::NoteOff, channel, k, 0});
    }
    void controller(uint32_t tick, uint8_t channel, uint8_t number, int value) {
        events_.push_back({tick, Kind::Controller, channel, number, static_cast<uint8_t>(std::clamp(value, 0, 127))});
    }
    void program(uint32_t tick, uint8_t channel, uint8_t program) {
        events_.push_back({tick, Kind::Program, channel, program, 0});
    }
    void lyric(uint32_t tick, std::string text) { events_.push_back({tick, Kind::Lyric, 0, 0, 0, std::move(text)}); }
    void meta(uint32_t tick, uint8_t type, std::string data) {
        events_.push_back({tick, Kind::Meta, 0, type, 0, std::move(data)});
    }

    test::TrackWriter write(bool noteOffAsZeroVelocity) {
        std::stable_sort(events_.begin(), events_.end(), [](const Event& x, const Event& y) {
            if (x.tick != y.tick) return x.tick < y.tick;
            return (x.kind == Kind::NoteOff) > (y.kind == Kind::NoteOff);
        });
        test::TrackWriter out(true);
        uint32_t now = 0;
        for (const Event& e : events_) {
            const uint32_t delta = e.tick - now;
            now = e.tick;
            switch (e.kind) {
                case Kind::NoteOn: out.noteOn(delta, e.channel, e.a, e.b); break;
                case Kind::NoteOff:
                    if (noteOffAsZeroVelocity) out.noteOn(delta, e.channel, e.a, 0);
                    else out.noteOff(delta, e.channel, e.a, 64);
                    break;
                case Kind::Controller: out.controller(delta, e.channel, e.a, e.b); break;
                case Kind::Program: out.programChange(delta, e.channel, e.a); break;
                case Kind::Lyric: out.lyric(delta, e.text); break;
                case Kind::Meta:
                    out.meta(delta, e.a, std::span(reinterpret_cast<const uint8_t*>(e.text.data()), e.text.size()));
                    break;
            }
        }
        return out.endOfTrack();
    }

private:
    std::vector<Event> events_;
};

class SongMaker {
public:
    explicit SongMaker(uint32_t seed) : random_(seed) {
        static constexpr uint16_t divisions[] = {96, 120, 192, 240, 384, 480};
        division_ = divisions[pick(6)];
        bars_ = 80 + pick(21);
        key_ = 55 + pick(12);
        progression_ = kProgressions[pick(5)];
        jitter_ = pick(2) == 0 ? division_ / 48 : 0;
    }

    uint32_t pick(uint32_t n) { return random_() % n; }
    uint32_t beat() const { return division_; }
    uint32_t barStart(uint32_t bar) const { return bar * 4 * division_; }
    uint32_t humanize(uint32_t tick) { return jitter_ == 0 ? tick : tick + pick(jitter_ + 1); }
    int velocity(int base) { return base + static_cast<int>(pick(25)) - 12; }

    // The chord of a bar: the triad on its degree of the scale, as keys near `low`.
    std::array<int, 3> chord(uint32_t bar, int low) const {
        const int degree = progression_[bar % 4];
        std::array<int, 3> keys{};
        for (int i = 0; i < 3; ++i) {
            const int step = degree + 2 * i;
            keys[static_cast<size_t>(i)] = low + (key_ % 12) + kMajorScale[step % 7] + 12 * (step / 7);
        }
        return keys;
    }

    std::string title() {
        std::string text;
        const uint32_t words = 2 + pick(3);
        for (uint32_t i = 0; i < words; ++i) {
            std::string word(kSyllables[pick(std::size(kSyllables))]);
            word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
            text += (i ? " " : "") + word;
        }
        return text;
    }

    Track conductor(const std::string& name) {
        Track t;
        t.meta(0, 0x03, name);
        t.meta(0, 0x02, "(c) zmrimage benchmark collection");
        t.meta(0, 0x58, std::string{4, 2, 24, 8});
        t.meta(0, 0x59, std::string{0, 0});
        const uint32_t tempo = 60'000'000 / (72 + pick(69));
        t.meta(0, 0x51, tempoBytes(tempo));
        // A slowing down over the last two bars.
        for (uint32_t i = 1; i <= 4; ++i) t.meta(barStart(bars_ - 2) + i * 2 * beat(), 0x51, tempoBytes(tempo + i * tempo / 10));
        return t;
    }

    static std::string tempoBytes(uint32_t tempo) {
        return {static_cast<char>(tempo >> 16), static_cast<char>(tempo >> 8), static_cast<char>(tempo)};
    }

    // The melody (channel 0) and its lyrics, one syllable a note, a line every two bars.
    void melody(Track& notes, Track& words) {
        notes.meta(0, 0x03, "Melody");
        words.meta(0, 0x03, "Words");
        notes.program(0, 0, static_cast<uint8_t>(pick(2) ? 73 : 0));
        notes.controller(0, 0, 7, 110);
        int step = 7;  // scale step above the key an octave up
        for (uint32_t bar = 4; bar < bars_; ++bar) {
            if (bar % 16 == 12 && bar + 4 < bars_) bar += 2;  // an interlude
            static constexpr uint32_t rhythms[][8] = {{2, 2, 2, 2}, {1, 1, 2, 2, 2}, {3, 1, 2, 1, 1}, {1, 1, 1, 1, 2, 2}, {2, 1, 1, 4}};
            const auto& rhythm = rhythms[pick(5)];
            uint32_t tick = barStart(bar);
            for (uint32_t length : rhythm) {
                if (length == 0) break;
                step = std::clamp(step + static_cast<int>(pick(5)) - 2, 0, 12);
                const int key = key_ + kMajorScale[step % 7] + 12 * (step / 7);
                const uint32_t ticks = length * beat() / 2;
                notes.note(humanize(tick), ticks * 7 / 8, 0, key, velocity(96));
                std::string syllable(kSyllables[pick(std::size(kSyllables))]);
                const bool lineEnds = bar % 2 == 1 && tick + ticks >= barStart(bar + 1);
                words.lyric(tick, syllable + (lineEnds ? "\r" : " "));
                tick += ticks;
            }
        }
    }

    void bass(Track& t) {
        t.meta(0, 0x03, "Bass");
        t.program(0, 1, static_cast<uint8_t>(32 + pick(4)));
        for (uint32_t bar = 0; bar < bars_; ++bar) {
            const auto c = chord(bar, 36);
            const bool walking = pick(3) == 0;
            for (uint32_t b = 0; b < (walking ? 8u : 4u); ++b) {
                const int key = b % 2 == 0 ? c[0] : c[b % 4 == 1 ? 2 : 1];
                const uint32_t length = walking ? beat() / 2 : beat();
                t.note(humanize(barStart(bar) + b * length), length * 3 / 4, 1, key, velocity(90));
            }
        }
    }

    void piano(Track& t) {
        t.meta(0, 0x03, "Piano");
        t.program(0, 2, static_cast<uint8_t>(pick(5)));
        const bool offBeat = pick(2) == 0;
        for (uint32_t bar = 0; bar < bars_; ++bar) {
            const auto c = chord(bar, 60);
            t.controller(barStart(bar), 2, 64, 127);
            for (uint32_t b = offBeat ? 1 : 0; b < 4; b += 2) {
                const uint32_t tick = humanize(barStart(bar) + b * beat());
                for (int key : c) t.note(tick, beat() * 3 / 2, 2, key, velocity(70));
            }
            t.controller(barStart(bar + 1) - beat() / 8, 2, 64, 0);
        }
    }

    void guitar(Track& t) {
        t.meta(0, 0x03, "Guitar");
        t.program(0, 3, static_cast<uint8_t>(24 + pick(4)));
        for (uint32_t bar = 0; bar < bars_; ++bar) {
            const auto c = chord(bar, 52);
            for (uint32_t e = 0; e < 8; ++e) {
                static constexpr int order[] = {0, 1, 2, 1, 0, 2, 1, 2};
                t.note(humanize(barStart(bar) + e * beat() / 2), beat() / 2, 3, c[static_cast<size_t>(order[e])] + (e == 4 ? 12 : 0), velocity(64));
            }
        }
    }

    void strings(Track& t) {
        t.meta(0, 0x03, "Strings");
        t.program(0, 4, static_cast<uint8_t>(48 + pick(3)));
        for (uint32_t bar = 0; bar < bars_; ++bar) {
            for (int key : chord(bar, 60)) t.note(barStart(bar), 4 * beat() - 1, 4, key, velocity(60));
            for (uint32_t b = 0; b < 4; ++b) t.controller(barStart(bar) + b * beat(), 4, 11, 80 + 10 * static_cast<int>(b));
        }
    }

    void counterMelody(Track& t) {
        t.meta(0, 0x03, "Organ");
        t.program(0, 5, static_cast<uint8_t>(16 + pick(4)));
        for (uint32_t bar = 0; bar < bars_; ++bar) {
            const auto c = chord(bar, 72);
            for (uint32_t b = 0; b < 4; b += 1 + pick(2)) t.note(humanize(barStart(bar) + b * beat()), beat(), 5, c[pick(3)], velocity(56));
        }
    }

    void drums(Track& t) {
        t.meta(0, 0x03, "Drums");
        for (uint32_t bar = 0; bar < bars_; ++bar) {
            const uint32_t start = barStart(bar);
            if (bar % 8 == 0) t.note(start, beat(), 9, 49, velocity(110));
            for (uint32_t e = 0; e < 8; ++e) t.note(start + e * beat() / 2, beat() / 4, 9, 42, velocity(e % 2 ? 60 : 80));
            t.note(start, beat() / 4, 9, 36, velocity(110));
            t.note(start + 2 * beat(), beat() / 4, 9, 36, velocity(105));
            if (pick(2)) t.note(start + 5 * beat() / 2, beat() / 4, 9, 36, velocity(90));
            t.note(start + beat(), beat() / 4, 9, 38, velocity(100));
            t.note(start + 3 * beat(), beat() / 4, 9, 38, velocity(100));
        }
    }

    GeneratedSong make(uint32_t seed) {
        const std::string name = title();
        Track melodyNotes, words, bassLine, chords, drumKit;
        melody(melodyNotes, words);
        bass(bassLine);
        piano(chords);
        drums(drumKit);
        const bool zeroVelocityOffs = pick(10) < 7;
        test::MidiFile file(division_);
        file.add(conductor(name).write(zeroVelocityOffs)).add(words.write(zeroVelocityOffs));
        file.add(melodyNotes.write(zeroVelocityOffs)).add(bassLine.write(zeroVelocityOffs));
        file.add(chords.write(zeroVelocityOffs));
        // One to three of the optional parts.
        const uint32_t extras = 1 + pick(7);
        if (extras & 1) { Track t; guitar(t); file.add(t.write(zeroVelocityOffs)); }
        if (extras & 2) { Track t; strings(t); file.add(t.write(zeroVelocityOffs)); }
        if (extras & 4) { Track t; counterMelody(t); file.add(t.write(zeroVelocityOffs)); }
        file.add(drumKit.write(zeroVelocityOffs));

        char number[16];
        std::snprintf(number, sizeof number, "%05u ", seed);
        return {number + name + (pick(5) < 3 ? ".kar" : ".mid"), file.bytes()};
    }

private:
    std::mt19937 random_;
    uint16_t division_ = 480;
    uint32_t bars_ = 90;
    int key_ = 60;
    std::array<int, 4> progression_{};
    uint32_t jitter_ = 0;
};

}  // namespace

GeneratedSong generateSong(uint32_t seed) { return SongMaker(seed).make(seed); }

}  // namespace zmr::bench
