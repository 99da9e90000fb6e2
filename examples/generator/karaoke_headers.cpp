#include "karaoke_headers.h"

namespace zmr::examples {

void addKaraokeHeaders(const Song& song, Timeline& words) {
    words.meta(0, 0x03, "Words");
    words.meta(0, 0x01, "@V0100");
    words.meta(0, 0x01, "@IExample song of the zmrimage project, free to use");
    words.meta(0, 0x01, "@LVIET");
    words.meta(0, 0x01, "@T" + song.title);
    words.meta(0, 0x01, "@TLyrics and music: zmrimage examples");
}

}  // namespace zmr::examples
