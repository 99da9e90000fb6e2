#pragma once
// A song's scan as a plain JavaScript object, and back: each worker scans its
// songs, and the page hands all the scans to one module for the advice.

#include <emscripten/val.h>

#include "scan/song_scan.h"

namespace zmr::web {

emscripten::val scanToJs(const SongScan& scan);
SongScan scanFromJs(const emscripten::val& scan);

}  // namespace zmr::web
