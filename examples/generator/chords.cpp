#include "chords.h"

#include <sstream>
#include <stdexcept>

namespace zmr::examples {
namespace {

Chord parseChord(const std::string& text) {
    if (text.empty() || text[0] < '1' || text[0] > '7' || text.size() > 2 || (text.size() == 2 && text[1] != '+'))
        throw std::runtime_error("chord '" + text + "' is not a degree 1 to 7 with an optional +");
    return Chord{text[0] - '1', text.size() == 2};
}

}  // namespace

int chordTone(const Key& key, const Chord& chord, int tone) {
    constexpr int kSteps[4] = {0, 2, 4, 7};
    const int note = noteOfStep(key, chord.root + kSteps[tone]);
    return note + (tone == 1 && chord.raisedThird ? 1 : 0);
}

std::vector<BarChords> parseChords(const std::string& text) {
    std::vector<BarChords> bars;
    std::istringstream tokens(text);
    std::string token;
    while (tokens >> token) {
        BarChords bar;
        std::istringstream halves(token);
        std::string half;
        while (std::getline(halves, half, ',')) bar.push_back(parseChord(half));
        if (bar.empty() || bar.size() > 2) throw std::runtime_error("bar '" + token + "' needs one or two chords");
        bars.push_back(bar);
    }
    return bars;
}

}  // namespace zmr::examples
