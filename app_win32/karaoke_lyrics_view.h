#pragma once
// The preview window's lyrics, drawn large: the song's title, the current
// line with the characters already sung in the highlight colour, and the next
// line, dimmed, below it. A child window of its own class; each paint is
// drawn into a bitmap and copied at once, so the line does not flicker as it
// lights up.

#include <windows.h>

#include "playback/karaoke_lines.h"

namespace zmr::win32 {

// The view as child `id` of `parent`; it keeps what it shows until destroyed.
HWND createKaraokeLyricsView(HWND parent, int id);

// Shows `lines`; redrawn only when they differ from what shows.
void showKaraokeLines(HWND view, const KaraokeLines& lines);

}  // namespace zmr::win32
