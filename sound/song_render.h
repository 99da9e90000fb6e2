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

#include "base/result.h"
#include "fileio/temporary_file_watcher.h"
#include "playback/playback_clock.h"
#include "readback/song_midi_events.h"

namespace zmr {

inline constexpr int kDefaultSampleRate = 44100;
inline constexpr int kLowestSampleRate = 8000;    // FluidSynth's range
inline constexpr int kHighestSampleRate = 96000;

struct RenderOptions {
    std::optional<std::filesystem::path> soundFont;  // the default SoundFont otherwise
    std::filesystem::path output;
    int sampleRate = kDefaultSampleRate;
    TemporaryFileWatcher* watcher = nullptr;  // hears of the file written before the rename
    // The song's length with its lyrics (PreviewSong::length): the file runs
    // at least this long, as play and the subtitles do, even where the
    // lyrics go on after the last note.
    PlaybackTime length{0};
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

// Why a file of `type` cannot hold `length` of sound at `sampleRate`: a WAV
// file counts its bytes in 32 bits (4 GiB, some 6 hours at 44.1 kHz); FLAC
// and Ogg have no such limit. Nothing when it can.
std::optional<std::string> soundFileLimitProblem(SoundFileType type, int sampleRate, PlaybackTime length);

// Refuses, before writing anything, a song whose length (with the longest
// tail the sound may have) would make a file past its format's limit.
Result<RenderSummary> renderSong(std::span<const TimedMessage> messages, const RenderOptions& options);

}  // namespace zmr
