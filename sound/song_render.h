#pragma once
// A song written to a sound file offline, much faster than it plays: the
// same messages, sent by the same sequencer as live play, into FluidSynth,
// whose samples libsndfile writes as WAV, FLAC or Ogg Vorbis. After the last
// message the file goes on while the sound dies away (the notes' release and
// the reverb), until it is below -60 dB. The file appears whole or not at
// all: it is written beside its name and renamed at the end.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "codec/result.h"
#include "image/file_image_writer.h"
#include "playback/playback_clock.h"
#include "readback/song_messages.h"

namespace zmr {

inline constexpr int kDefaultSampleRate = 44100;
inline constexpr int kLowestSampleRate = 8000;    // FluidSynth's range
inline constexpr int kHighestSampleRate = 96000;

struct RenderOptions {
    std::optional<std::filesystem::path> soundFont;  // the default SoundFont otherwise
    std::filesystem::path output;
    int sampleRate = kDefaultSampleRate;
    TemporaryFileWatcher* watcher = nullptr;  // hears of the file written before the rename
    // Told now and then how far the rendering has come.
    std::function<void(PlaybackTime done, PlaybackTime total)> progress;
};

struct RenderSummary {
    PlaybackTime length{0};  // of the file
    std::filesystem::path soundFont;
};

// False where the build has no FluidSynth (the Windows build).
bool songRenderAvailable();

enum class SoundFileType { Wav, Flac, Ogg };

// The file type that the output's extension asks for (.wav, .flac, .ogg in
// any letter case); nothing for any other.
std::optional<SoundFileType> soundFileType(const std::filesystem::path& output);

Result<RenderSummary> renderSong(std::span<const TimedMessage> messages, const RenderOptions& options);

}  // namespace zmr
