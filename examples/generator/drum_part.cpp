#include <vector>

#include "humanizer.h"
#include "parts.h"

namespace zmr::examples {
namespace {

// General MIDI drum keys.
constexpr uint8_t kKick = 36, kSideStick = 37, kSnare = 38, kClosedHat = 42, kOpenHat = 46, kLowTom = 45,
                  kMidTom = 47, kCrash = 49, kTambourine = 54;

struct Hit {
    int sixteenth;  // position within the bar
    uint8_t key;
    int velocity;
};

// One bar of the groove; odd bars vary a little, as a drummer would.
std::vector<Hit> grooveBar(Groove groove, int beatsPerBar, bool oddBar) {
    std::vector<Hit> hits;
    const int sixteenths = beatsPerBar * 4;
    switch (groove) {
        case Groove::Ballad:
            for (int s = 0; s < sixteenths; s += 4) hits.push_back({s, kClosedHat, s % 8 == 0 ? 52 : 44});
            hits.push_back({0, kKick, 76});
            hits.push_back({oddBar ? 10 : 8, kKick, 60});
            hits.push_back({4, kSideStick, 62});
            hits.push_back({12, kSideStick, 66});
            break;
        case Groove::Festive:
            for (int s = 0; s < sixteenths; s += 4) hits.push_back({s, kKick, s == 0 ? 100 : 88});
            for (int s = 2; s < sixteenths; s += 4) hits.push_back({s, kOpenHat, 70});
            for (int s = 0; s < sixteenths; s += 1) hits.push_back({s, kTambourine, s % 2 == 0 ? 58 : 40});
            hits.push_back({4, kSnare, 92});
            hits.push_back({12, kSnare, 96});
            break;
        case Groove::Pop:
            for (int s = 0; s < sixteenths; s += 2)
                hits.push_back({s, (oddBar && s == 14) ? kOpenHat : kClosedHat, s % 4 == 0 ? 72 : 56});
            hits.push_back({0, kKick, 96});
            hits.push_back({8, kKick, 88});
            if (oddBar) hits.push_back({10, kKick, 74});
            hits.push_back({4, kSnare, 90});
            hits.push_back({12, kSnare, 94});
            break;
        case Groove::Waltz:
            hits.push_back({0, kKick, 54});
            for (int s = 4; s < sixteenths; s += 4) hits.push_back({s, kClosedHat, 40});
            break;
    }
    return hits;
}

// The last beat of a section rolls down the toms into the next one.
std::vector<Hit> fillBeat(int beatsPerBar) {
    const int s = (beatsPerBar - 1) * 4;
    return {{s, kSnare, 80}, {s + 1, kSnare, 86}, {s + 2, kMidTom, 92}, {s + 3, kLowTom, 98}};
}

}  // namespace

void addDrumPart(const Song& song, const std::vector<Bar>& bars, Timeline& track) {
    const uint32_t sixteenth = timingOf(song).eighth / 2;
    const bool fills = song.groove != Groove::Waltz;  // a lullaby stays calm
    Humanizer humanizer(song.seed * 7 + 4);
    for (size_t i = 0; i < bars.size(); ++i) {
        const Bar& bar = bars[i];
        const bool fill = fills && bar.sectionEnd && i + 1 < bars.size();
        for (const Hit& hit : grooveBar(song.groove, song.beatsPerBar, i % 2 == 1)) {
            if (fill && hit.sixteenth >= (song.beatsPerBar - 1) * 4) continue;
            track.note(bar.start + static_cast<uint32_t>(hit.sixteenth) * sixteenth, sixteenth, kDrumChannel, hit.key,
                       humanizer.velocity(hit.velocity + bar.dynamics, 6));
        }
        if (fill)
            for (const Hit& hit : fillBeat(song.beatsPerBar))
                track.note(bar.start + static_cast<uint32_t>(hit.sixteenth) * sixteenth, sixteenth, kDrumChannel,
                           hit.key, humanizer.velocity(hit.velocity + bar.dynamics, 4));
        if (bar.sectionStart && i > 0)
            track.note(bar.start, 4 * sixteenth, kDrumChannel, kCrash, humanizer.velocity(fills ? 100 : 60, 4));
    }
}

}  // namespace zmr::examples
