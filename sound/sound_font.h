#pragma once
// The General MIDI SoundFont that FluidSynth plays with: the one the user
// names, or Debian's default, which the packages fluid-soundfont-gm and
// timgm6mb-soundfont provide (whichever is installed; the first when both).

#include <filesystem>
#include <optional>

#include "base/result.h"

namespace zmr {

inline constexpr char kDefaultSoundFont[] = "/usr/share/sounds/sf2/default-GM.sf2";
inline constexpr char kSoundFontPackages[] = "fluid-soundfont-gm (or the smaller timgm6mb-soundfont)";

// `chosen` when it is a readable file, else the default when that is; the
// failure says which file is missing and, for the default, the package that
// provides it.
Result<std::filesystem::path> findSoundFont(const std::optional<std::filesystem::path>& chosen);

}  // namespace zmr
