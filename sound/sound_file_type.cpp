#include <algorithm>
#include <cctype>

#include "fileio/native_path.h"
#include "sound/song_render.h"

namespace zmr {

std::optional<SoundFileType> soundFileType(const std::filesystem::path& output) {
    std::string extension = pathText(output.extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".wav") return SoundFileType::Wav;
    if (extension == ".flac") return SoundFileType::Flac;
    if (extension == ".ogg") return SoundFileType::Ogg;
    return std::nullopt;
}

}  // namespace zmr
