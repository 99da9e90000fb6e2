#pragma once
// The box after a compilation or a song book that went well but deserves a
// look: which songs were written with a warning, or which lines of the song
// list the book could not use.

#include <cstddef>
#include <span>
#include <string>

#include "image/compile_session.h"

namespace zmr::dialog {

// The songs with warnings that one box lists by name; a box taller than the
// screen could not be read or closed.
inline constexpr size_t kWarningsShown = 20;

// How many songs have warnings, then up to `shown` of them as "PATH: message"
// lines and how many more there are.
std::string describeWarnings(std::span<const SongWarning> warnings, size_t shown = kWarningsShown);

// The song book's warnings, one a line.
std::string describeBookWarnings(std::span<const std::string> warnings);

}  // namespace zmr::dialog
