#pragma once
// Soft Karaoke .kar files keep their lyrics in text events (meta type 0x01) of
// one track: header lines begin with '@', a leading '\' starts a paragraph and
// a leading '/' a line.

#include <span>
#include <vector>

#include "text/timed_text.h"

namespace zmr {

// The lyrics of a song's text events, in merge order: those of the track
// holding the most text events that do not begin with '@' (the earlier track
// on a tie), without the '@' lines, each leading '\' or '/' made a carriage
// return (13, a new line on the player); empty events are kept. Nothing when
// no track holds such an event.
std::vector<TimedText> softKaraokeLyrics(std::span<const TrackText> textEvents);

}  // namespace zmr
