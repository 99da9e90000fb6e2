#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <system_error>
#include <vector>

#include "fileio/file_bytes.h"
#include "fileio/native_path.h"
#include "fileio/temporary_file.h"
#include "fileio/write_failure.h"
#include "playback/playback_time.h"
#include "playback/sequencer.h"
#include "sound/fluid_synth.h"
#include "sound/song_render.h"
#include "sound/sound_font.h"

namespace zmr {
namespace {

constexpr int kChannels = 2;
// After the last message the file goes on until the sound has stayed below
// -60 dB (full scale 1) for this long, but never longer than the cap.
constexpr float kSilence = 0.001f;
constexpr PlaybackTime kSilentFor(100);
constexpr PlaybackTime kLongestTail(5000);
constexpr int kLongestChunk = 512;  // frames rendered at once: the silence is measured in these
constexpr PlaybackTime kProgressStep(5000);

int sndFileFormat(SoundFileType type) {
    switch (type) {
        case SoundFileType::Wav: return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        case SoundFileType::Flac: return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
        case SoundFileType::Ogg: return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    }
    return 0;
}

// The file being written: a hidden file beside the output, which libsndfile
// writes through its descriptor, renamed over the output when complete and
// removed otherwise.
class RenderTarget {
public:
    RenderTarget(std::filesystem::path output, TemporaryFileWatcher* watcher) : file_(std::move(output), watcher) {}
    ~RenderTarget() { close(); }

    Status open(SoundFileType type, int sampleRate) {
        if (Status opened = file_.open(); !opened) return opened;
        SF_INFO info{};
        info.samplerate = sampleRate;
        info.channels = kChannels;
        info.format = sndFileFormat(type);
        sound_ = sf_open_fd(fileno(file_.file()), SFM_WRITE, &info, SF_FALSE);
        if (!sound_)
            return Failure{"cannot write " + pathText(file_.output()) + ": " + sf_strerror(nullptr), FailureKind::WriteFailed};
        sf_command(sound_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
        return success();
    }

    Status write(const std::vector<float>& samples, sf_count_t frames) {
        errno = 0;
        if (sf_writef_float(sound_, samples.data(), frames) == frames) return success();
        // libsndfile names the system's reason but keeps no code: errno still holds it.
        const int error = errno;
        return Failure{"cannot write " + pathText(file_.output()) + ": " + sf_strerror(sound_), writeFailureKind(error)};
    }

    // Ends the sound file, then puts it in place as any other output.
    Status place() {
        if (!close())
            return Failure{"cannot write " + pathText(file_.output()) + ": the file could not be completed",
                           FailureKind::WriteFailed};
        return file_.place();
    }

private:
    bool close() {
        if (!sound_) return true;
        const bool closed = sf_close(sound_) == 0;
        sound_ = nullptr;
        return closed;
    }

    TemporaryFile file_;
    SNDFILE* sound_ = nullptr;
};

float peakOf(const std::vector<float>& samples, size_t count) {
    float peak = 0;
    for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::fabs(samples[i]));
    return peak;
}

}  // namespace

bool songRenderAvailable() { return true; }

Result<RenderSummary> renderSong(std::span<const TimedMessage> messages, const RenderOptions& options) {
    const std::optional<SoundFileType> type = soundFileType(options.output);
    if (!type) return Failure{pathText(options.output) + ": write .wav, .flac or .ogg"};
    const PlaybackTime songEnd = std::max(messages.empty() ? PlaybackTime(0) : unitsToTime(messages.back().time), options.length);
    if (const std::optional<std::string> problem = soundFileLimitProblem(*type, options.sampleRate, songEnd + kLongestTail))
        return Failure{pathText(options.output) + ": " + *problem};
    Result<std::filesystem::path> soundFont = findSoundFont(options.soundFont);
    if (!soundFont) return soundFont.failure();
    Result<std::unique_ptr<FluidSynth>> fluid = FluidSynth::create(*soundFont, options.sampleRate);
    if (!fluid) return fluid.failure();
    fluid_synth_t* synth = (*fluid)->synth();

    RenderTarget target(options.output, options.watcher);
    if (Status opened = target.open(*type, options.sampleRate); !opened) return opened.failure();

    Sequencer sequencer(std::vector<TimedMessage>(messages.begin(), messages.end()));
    FluidSynthOutput out(synth);
    sequencer.jumpTo(PlaybackTime(0), out);
    const auto timeOf = [&](uint64_t frames) {
        return PlaybackTime(static_cast<int64_t>(frames * 1000 / static_cast<uint64_t>(options.sampleRate)));
    };
    const auto framesAt = [&](PlaybackTime time) {
        return static_cast<uint64_t>(time.count()) * static_cast<uint64_t>(options.sampleRate) / 1000;
    };

    std::vector<float> samples(static_cast<size_t>(kLongestChunk) * kChannels);
    uint64_t frames = 0;
    uint64_t silentFrom = 0;  // where the sound last went below the silence
    PlaybackTime reported(0);
    while (true) {
        const PlaybackTime now = timeOf(frames);
        sequencer.playUntil(now, out);
        if (sequencer.done() && now >= songEnd &&
            (now >= timeOf(silentFrom) + kSilentFor || now >= songEnd + kLongestTail)) {
            break;
        }
        // Up to the next message, so that each one starts where it is due.
        uint64_t chunk = kLongestChunk;
        if (const std::optional<PlaybackTime> due = sequencer.nextDue()) {
            chunk = std::clamp<uint64_t>(framesAt(*due) > frames ? framesAt(*due) - frames : 1, 1, kLongestChunk);
        }
        const int count = static_cast<int>(chunk);
        fluid_synth_write_float(synth, count, samples.data(), 0, kChannels, samples.data(), 1, kChannels);
        if (Status written = target.write(samples, count); !written) return written.failure();
        const bool silent = peakOf(samples, chunk * kChannels) < kSilence;
        frames += chunk;
        if (!silent || now < songEnd) silentFrom = frames;
        if (options.progress && now >= reported + kProgressStep) {
            options.progress(now, songEnd);
            reported = now;
        }
    }
    if (Status placed = target.place(); !placed) return placed.failure();
    return RenderSummary{timeOf(frames), *soundFont};
}

}  // namespace zmr
