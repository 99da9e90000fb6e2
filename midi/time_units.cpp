#include "midi/time_units.h"

#include <cstdio>

namespace zmr {

float initialTickFactor(uint16_t division) {
    // The quotient stays fractional here, unlike after a tempo event.
    const double quotient = static_cast<double>(kDefaultTempo) / static_cast<double>(division);
    return static_cast<float>(quotient * static_cast<double>(kTimeUnitScale));
}

float tempoTickFactor(uint32_t tempo, uint16_t division) {
    // The player divides in integers, dropping the remainder, before scaling.
    const uint32_t quotient = tempo / division;
    return static_cast<float>(static_cast<double>(quotient) * static_cast<double>(kTimeUnitScale));
}

std::string minutesSeconds(uint64_t units) {
    const uint64_t seconds = units * kMillisecondsPerUnit / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%02llu:%02llu", static_cast<unsigned long long>(seconds / 60),
                  static_cast<unsigned long long>(seconds % 60));
    return text;
}

std::string minutesSecondsCentis(uint64_t units) {
    const uint64_t centis = units * kMillisecondsPerUnit / 10;
    char text[40];
    std::snprintf(text, sizeof text, "%02llu:%02llu.%02llu", static_cast<unsigned long long>(centis / 6000),
                  static_cast<unsigned long long>(centis / 100 % 60), static_cast<unsigned long long>(centis % 100));
    return text;
}

}  // namespace zmr
