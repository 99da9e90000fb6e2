#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>

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

std::optional<std::string> soundFileLimitProblem(SoundFileType type, int sampleRate, PlaybackTime length) {
    if (type != SoundFileType::Wav || length.count() <= 0 || sampleRate <= 0) return std::nullopt;
    // 16-bit stereo; the RIFF size counts everything after its first 8 bytes,
    // and the header before the samples is well under a kibibyte.
    constexpr uint64_t kBytesPerFrame = 4;
    constexpr uint64_t kMostRiffBytes = 0xFFFFFFFFull - 1024;
    const uint64_t frames = static_cast<uint64_t>(length.count()) * static_cast<uint64_t>(sampleRate) / 1000 + 1;
    if (frames <= kMostRiffBytes / kBytesPerFrame) return std::nullopt;
    const uint64_t minutes = static_cast<uint64_t>(length.count()) / 60000;
    return "the song lasts " + std::to_string(minutes) + " minutes, too long for a WAV file (at most 4 GiB, " +
           std::to_string(kMostRiffBytes / kBytesPerFrame / static_cast<uint64_t>(sampleRate) / 60) + " minutes at " +
           std::to_string(sampleRate) + " Hz); write .flac or .ogg";
}

}  // namespace zmr
