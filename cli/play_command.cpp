#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/image_input.h"
#include "cli/karaoke_terminal.h"
#include "cli/lyric_printer.h"
#include "cli/stop_request.h"
#include "cli/terminal.h"
#include "fileio/native_path.h"
#include "playback/live_playback.h"
#include "playback/playback_time.h"
#include "sound/live_output.h"
#include "sound/sound_font.h"

namespace zmr::cli {
namespace {

struct PlayOptions {
    std::string imagePath;
    int64_t number = 0;
    std::optional<std::string> soundFont;
    std::optional<std::string> from;
};

constexpr std::chrono::milliseconds kScreenTurn(40);
constexpr std::chrono::milliseconds kPrinterTurn(20);

// Draws the screen until the song has ended or the user quits.
void runScreen(Terminal& terminal, Transport& transport, const PreviewSong& song, const std::string& sound,
               StopRequest& stop) {
    KaraokeTerminal screen(terminal, transport, steadyPlaybackClock(), song, sound);
    while (!stop.requested() && screen.step(kScreenTurn)) {
    }
    // Ctrl+C on the screen ends the process as Ctrl+C ends it printing.
    if (screen.endKey() == TerminalKey::Interrupt) stop.request(SIGINT);
#ifdef SIGQUIT
    if (screen.endKey() == TerminalKey::QuitSignal) stop.request(SIGQUIT);
#endif
}

// Prints the lines as they come until the song has ended and rung out.
void runPrinter(Transport& transport, const PreviewSong& song, PlaybackTime from, const StopRequest& stop) {
    LyricPrinter printer(stdout, song.lyrics, from);
    std::optional<PlaybackTime> endedAt;
    const PlaybackClock& clock = steadyPlaybackClock();
    while (!stop.requested()) {
        printer.printUntil(transport.position());
        if (transport.finished()) {
            if (!endedAt) endedAt = clock.now();
            if (clock.now() >= *endedAt + kRingOut) break;
        }
        std::this_thread::sleep_for(kPrinterTurn);
    }
}

int runPlay(const PlayOptions& options) {
    PlaybackTime from(0);
    if (options.from) {
        const std::optional<PlaybackTime> parsed = parsePlaybackTime(*options.from);
        if (!parsed) {
            std::fprintf(stderr, "zmrimage: --from %s: not a time; write MM:SS, e.g. 01:30\n", options.from->c_str());
            return kExitUsage;
        }
        from = *parsed;
    }
    if (options.soundFont && !liveOutputTakesSoundFont()) {
        std::fprintf(stderr,
                     "zmrimage: --soundfont: this build plays through the system's MIDI synthesizer, which has "
                     "its own sounds\n");
        return kExitUsage;
    }
    int status = kExitOk;
    const std::optional<PreviewSong> song = readPreviewSong(options.imagePath, options.number, status);
    if (!song) return status;
    if (from > song->length) {
        std::fprintf(stderr, "zmrimage: --from %s is past the end of song %d (%s)\n", options.from->c_str(),
                     song->number, minutesSecondsOf(song->length).c_str());
        return kExitUsage;
    }

    LiveOutputOptions outputOptions;
    if (options.soundFont) outputOptions.soundFont = nativePath(*options.soundFont);
    Result<LiveOutput> live = openLiveOutput(outputOptions);
    if (!live) {
        std::fprintf(stderr, "zmrimage: %s%s\n", live.message().c_str(),
                     options.soundFont ? "" : ", or name one with --soundfont FILE.sf2");
        return exitStatusFor(live.kind());
    }
    // The screen has room for the short words; the reasons go to stderr, seen once the screen has gone.
    const std::string sound = live->output ? live->description + " \xC2\xB7 " + live->details
                                           : live->description + ": the lyrics run without sound";
    if (!live->output) {
        std::fprintf(stderr, "zmrimage: song %d: %s (%s): the lyrics run without sound\n", song->number,
                     live->description.c_str(), live->details.c_str());
    }

    StopRequest stop;
    {
        Transport transport(steadyPlaybackClock(), song->length);
        transport.seek(from);
        transport.play();
        std::optional<LivePlayback> playback;
        if (live->output) playback.emplace(transport, song->music.messages, *live->output);
        if (std::unique_ptr<Terminal> terminal = openPlayTerminal()) {
            runScreen(*terminal, transport, *song, sound, stop);
        } else {
            if (live->output) std::fprintf(stderr, "zmrimage: song %d: %s\n", song->number, sound.c_str());
            runPrinter(transport, *song, from, stop);
        }
    }
    live->output.reset();
    return stop.endBySignal();
}

}  // namespace

void addPlayCommand(CLI::App& app, CommandAction& action) {
    auto options = std::make_shared<PlayOptions>();
    CLI::App* play = app.add_subcommand("play", "Hear a song of an image and watch its lyrics as the player shows them");
    play->footer(
        "Play song N as the player will: the music from its event records (each note for its stored\n"
        "duration, modulo 256 units; the gaps as stored; 17 ms units), the same messages that\n"
        "zmrimage extract writes, and the lyrics from its text records, each character lighting up at\n"
        "the time of its record. On Linux the music goes through FluidSynth with a General MIDI SoundFont\n"
        "(by default /usr/share/sounds/sf2/default-GM.sf2, which the packages fluid-soundfont-gm and\n"
        "timgm6mb-soundfont provide) to PulseAudio, else ALSA; on Windows to the system's MIDI\n"
        "synthesizer. Where no audio device can be opened, this says so and the lyrics run in time\n"
        "without sound.\n"
        "On a terminal with colours the screen shows the title, the current line with the characters\n"
        "already sung highlighted, the next line, and the position (01:12 / 03:50). Space pauses and\n"
        "resumes, the left and right arrows seek 10 seconds, q or Ctrl+C ends; the terminal is restored,\n"
        "also while Ctrl+Z stops the play (fg continues it).\n"
        "Otherwise (output to a pipe or a file, TERM=dumb, NO_COLOR set) the title and then each line\n"
        "are printed when their time comes, after that time as zmrimage lyrics prints it.\n"
        "Where the one-byte gaps lost time, the music runs ahead of the lyrics, as on the player; the\n"
        "song lasts until both have ended.");
    play->add_option("IMAGE", options->imagePath, "The image file (DADEDA00.DEZ)")->required();
    play->add_option("N", options->number, "Song number, from 1 as in SongList.txt")->required();
    play->add_option("--soundfont", options->soundFont, "The SoundFont to play with (FILE.sf2)");
    play->add_option("--from", options->from, "Start at this time (MM:SS)");
    play->callback([&action, options] { action = [options] { return runPlay(*options); }; });
}

}  // namespace zmr::cli
