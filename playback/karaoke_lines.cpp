#include "playback/karaoke_lines.h"

namespace zmr {

KaraokeLines karaokeLinesAt(const LyricTimeline* lyrics, PlaybackTime position) {
    KaraokeLines shown;
    if (!lyrics) return shown;
    shown.title = lyrics->title();
    const LyricView view = lyrics->at(position);
    if (view.line) {
        shown.sung = lyrics->text(*view.line, 0, view.sung);
        shown.unsung = lyrics->text(*view.line, view.sung);
        shown.sungCharacters = view.sung;
    }
    if (view.next) shown.next = lyrics->text(*view.next);
    return shown;
}

}  // namespace zmr
