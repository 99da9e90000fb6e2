#include "midi/time_units.h"

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

}  // namespace zmr
