#include "parts.h"

namespace zmr::examples {

void addChannelSetup(Timeline& track, uint8_t channel, uint8_t program, uint8_t volume, uint8_t pan) {
    track.controller(0, channel, 0, 0);  // bank select: the General MIDI sounds
    track.program(0, channel, program);
    track.controller(0, channel, 7, volume);
    track.controller(0, channel, 10, pan);
    track.controller(0, channel, 91, 40);  // a little reverb
}

}  // namespace zmr::examples
