#include "melody.h"

#include <sstream>
#include <stdexcept>

namespace zmr::examples {
namespace {

MelodyNote parseToken(const std::string& token) {
    MelodyNote note;
    size_t i = 0;
    if (token[i] == 'r') {
        note.rest = true;
        ++i;
    } else if (token[i] >= '1' && token[i] <= '7') {
        note.step = token[i] - '1';
        ++i;
    } else {
        throw std::runtime_error("melody token '" + token + "' does not start with a degree or r");
    }
    for (; i < token.size() && token[i] != ':'; ++i) {
        switch (token[i]) {
            case '\'': note.step += 7; break;
            case ',': note.step -= 7; break;
            case '#': ++note.semitone; break;
            case '_': note.melisma = true; break;
            default: throw std::runtime_error("melody token '" + token + "' has an unknown mark");
        }
    }
    if (i < token.size()) note.eighths = std::stoi(token.substr(i + 1));
    if (note.eighths <= 0) throw std::runtime_error("melody token '" + token + "' has no length");
    return note;
}

}  // namespace

std::vector<MelodyNote> parseMelody(const std::string& text, int eighthsPerBar) {
    std::vector<MelodyNote> notes;
    std::istringstream tokens(text);
    std::string token;
    int position = 0;
    while (tokens >> token) {
        if (token == "|") {
            if (position % eighthsPerBar != 0)
                throw std::runtime_error("bar line after " + std::to_string(position) + " eighths in '" + text + "'");
            continue;
        }
        notes.push_back(parseToken(token));
        position += notes.back().eighths;
    }
    return notes;
}

int melodyLength(const std::vector<MelodyNote>& melody) {
    int eighths = 0;
    for (const MelodyNote& note : melody) eighths += note.eighths;
    return eighths;
}

}  // namespace zmr::examples
