#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/image_input.h"
#include "fileio/interrupt_cleanup.h"
#include "cli/terminal_reporter.h"
#include "fileio/native_path.h"
#include "image/image_layout.h"
#include "playback/playback_time.h"
#include "sound/song_render.h"
#include "sound/sound_font.h"

namespace zmr::cli {
namespace {

struct RenderCommandOptions {
    std::string imagePath;
    int64_t number = 0;
    std::string outputPath;
    std::optional<std::string> soundFont;
    int sampleRate = kDefaultSampleRate;
};

int runRender(const RenderCommandOptions& options) {
    const std::filesystem::path image = nativePath(options.imagePath);
    if (outputNamesAnother("-o", options.outputPath,
                           {{image, "the image read"}, {image.parent_path() / kSongListFileName, "the image's song list"}}))
        return kExitUsage;
    if (!songRenderAvailable()) {
        std::fprintf(stderr,
                     "zmrimage: render needs FluidSynth, which this build does not have (the Windows build never "
                     "has it); hear the song with zmrimage play, or write it out with zmrimage extract and render "
                     "the MIDI file elsewhere\n");
        return kExitUsage;
    }
    const std::filesystem::path output = nativePath(options.outputPath);
    if (!soundFileType(output)) {
        std::fprintf(stderr, "zmrimage: %s: the file must end in .wav, .flac or .ogg\n", options.outputPath.c_str());
        return kExitUsage;
    }
    const Result<std::filesystem::path> soundFont =
        findSoundFont(options.soundFont ? std::optional(nativePath(*options.soundFont)) : std::nullopt);
    if (!soundFont) {
        std::fprintf(stderr, "zmrimage: %s%s\n", soundFont.message().c_str(),
                     options.soundFont ? "" : ", or name one with --soundfont FILE.sf2");
        return exitStatusFor(soundFont.kind());
    }
    int status = kExitOk;
    const std::optional<PreviewSong> song = readPreviewSong(options.imagePath, options.number, status);
    if (!song) return status;

    std::error_code error;
    if (!output.parent_path().empty()) std::filesystem::create_directories(output.parent_path(), error);
    if (error) {
        std::fprintf(stderr, "zmrimage: cannot create %s: %s\n", pathText(output.parent_path()).c_str(),
                     error.message().c_str());
        return kExitUsage;
    }

    InterruptCleanup cleanup;  // the hidden file being written goes if the render is stopped
    RenderOptions render;
    render.soundFont = *soundFont;
    render.output = output;
    render.sampleRate = options.sampleRate;
    render.length = song->length;
    render.watcher = &cleanup;
    const bool showProgress = isTerminal(stderr);
    if (showProgress) {
        render.progress = [](PlaybackTime done, PlaybackTime total) {
            std::fprintf(stderr, "\r\x1b[Krendering %s / %s", minutesSecondsOf(done).c_str(),
                         minutesSecondsOf(total).c_str());
            std::fflush(stderr);
        };
    }
    const Result<RenderSummary> rendered = renderSong(song->music.messages, render);
    if (showProgress) std::fprintf(stderr, "\r\x1b[K");
    if (!rendered) {
        std::fprintf(stderr, "zmrimage: %s\n", rendered.message().c_str());
        return exitStatusFor(rendered.kind());
    }
    std::printf("song %d rendered to %s: %s at %d Hz, SoundFont %s\n", song->number, options.outputPath.c_str(),
                minutesSecondsOf(rendered->length).c_str(), options.sampleRate, pathText(rendered->soundFont).c_str());
    return kExitOk;
}

}  // namespace

void addRenderCommand(CLI::App& app, CommandAction& action) {
    auto options = std::make_shared<RenderCommandOptions>();
    CLI::App* render = app.add_subcommand("render", "Write a song of an image as a sound file (WAV, FLAC, Ogg)");
    render->footer(
        "Write song N as a sound file, much faster than it plays: the music of its event records as the\n"
        "player plays it (each note for its stored duration, modulo 256 units; the gaps as stored; the\n"
        "program, controller and pitch-bend messages as stored; 17 ms units): the same messages that\n"
        "zmrimage extract writes and zmrimage play sends, through FluidSynth with a General MIDI SoundFont\n"
        "(by default /usr/share/sounds/sf2/default-GM.sf2, from the package fluid-soundfont-gm or\n"
        "timgm6mb-soundfont). The file's type follows its name: .wav (16-bit PCM), .flac, .ogg (Vorbis).\n"
        "After the last note the file goes on while the synthesizer still sounds (its release and\n"
        "reverb, at most 5 seconds). It is written beside its name and renamed when complete, so a\n"
        "failure or Ctrl+C leaves any old file as it was; a missing folder is created.\n"
        "zmrimage lyrics IMAGE N --ass > FILE.ass beside FILE.wav gives a video player the lyrics.\n"
        "Not in the Windows build, which has no FluidSynth.");
    render->add_option("IMAGE", options->imagePath, "The image file (DADEDA00.DEZ)")->required();
    render->add_option("N", options->number, "Song number, from 1 as in SongList.txt")->required();
    render->add_option("-o,--output", options->outputPath, "The sound file to write: FILE.wav, FILE.flac or FILE.ogg")
        ->required();
    render->add_option("--soundfont", options->soundFont, "The SoundFont to play with (FILE.sf2)");
    render->add_option("--sample-rate", options->sampleRate, "Samples per second")
        ->capture_default_str()
        ->check(CLI::Range(kLowestSampleRate, kHighestSampleRate));
    render->callback([&action, options] { action = [options] { return runRender(*options); }; });
}

}  // namespace zmr::cli
