#pragma once
// The '@' text events with which a karaoke (.kar) file's Words track begins:
// version, information, language and titles.

#include "song.h"
#include "timeline.h"

namespace zmr::examples {

void addKaraokeHeaders(const Song& song, Timeline& words);

}  // namespace zmr::examples
