#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/image_input.h"
#include "midi/time_units.h"
#include "playback/ass_file.h"
#include "playback/lrc_file.h"
#include "playback/lyric_timeline.h"
#include "readback/image_report.h"
#include "readback/song_streams.h"
#include "readback/text_records.h"
#include "text/code_page_inverse.h"
#include "text/shown_text.h"

namespace zmr::cli {
namespace {

struct LyricsOptions {
    std::string path;
    int64_t number = 0;
    bool raw = false;
    bool lrc = false;
    bool ass = false;
};

constexpr uint8_t kLineEnd = 13;

void printRaw(const TextStreamParts& text) {
    std::printf("%6s %4s %4s %6s  %s\n", "record", "code", "flag", "time", "shows");
    for (size_t i = 0; i < text.records.size(); ++i) {
        const TextRecord& r = text.records[i];
        std::string shows;
        if (r.code == kLineEnd) {
            shows = "(line end)";
        } else {
            appendUtf8(shows, CodePageInverse::standard().unicode(r.code));
        }
        std::printf("%6zu %4u %4u %6u  %s\n", i, r.code, r.lineFeed, r.time, shownText(shows).c_str());
    }
}

int runLyrics(const LyricsOptions& options) {
    int status = kExitOk;
    const std::optional<ImageSong> opened = openImageSong(options.path, options.number, status);
    if (!opened) return status;
    const SongLocation* song = &opened->song;
    Result<std::vector<uint8_t>> stream = decodeSection(opened->image, song->framing.text, false);
    if (!stream) {
        std::fprintf(stderr, "zmrimage: %s: %s\n", shownText(options.path).c_str(),
                     textSectionMessage(song->number, stream.message()).c_str());
        return exitStatusFor(stream.kind());
    }
    const TextStreamParts text = readTextStream(*stream);
    if (options.raw) {
        printRaw(text);
        return kExitOk;
    }
    if (!text.headerFound) {
        std::fprintf(stderr, "zmrimage: %s: %s (try --raw)\n", shownText(options.path).c_str(),
                     textHeaderMessage(song->number, text).c_str());
        return kExitBadImage;
    }
    if (options.lrc || options.ass) {
        const LyricTimeline timeline(text);
        const std::string file = options.lrc ? lrcFile(timeline) : assFile(timeline);
        std::fwrite(file.data(), 1, file.size(), stdout);
        return kExitOk;
    }
    const std::string listing = lyricListing(text);
    std::fwrite(listing.data(), 1, listing.size(), stdout);
    return kExitOk;
}

}  // namespace

void addLyricsCommand(CLI::App& app, CommandAction& action) {
    auto options = std::make_shared<LyricsOptions>();
    CLI::App* lyrics = app.add_subcommand("lyrics", "Show a song's title and lyrics as the player will");
    lyrics->footer(
        "Show song N's text as the player will: first its title, then the lyrics line by line (a line\n"
        "ends at code 13), each line after the time of its first record as mm:ss.cc. A record carries\n"
        "the time of the lyric event whose byte completed it, so the last letter of a syllable often\n"
        "shows the next syllable's time. Codes of the player's code page are shown as Unicode through\n"
        "the inverse of the compiler's composition table and single-byte remap. Where one code stands\n"
        "for two letters, this shows: 144 as \xE1\xBA\xA8 (A^? and A^~ both give it), 252 as \xC6\xA0 (O* and A( both give\n"
        "it; its row holds the O-with-horn letters), 255 as \xE1\xBB\xB4 (VIQR Y. and VNI Y with tilde both give\n"
        "it). Codes that are neither letters nor printable ASCII show as U+FFFD.\n"
        "--raw prints every record of the text stream as it is: code, line-feed flag and time in 17 ms\n"
        "units, header and closing records included.\n"
        "--lrc prints the lyrics as enhanced LRC: each line as [mm:ss.cc] at its time, each group of\n"
        "characters that share a time led by <mm:ss.cc>. --ass prints them as Advanced SubStation Alpha\n"
        "subtitles with karaoke timing: a dialogue line per lyric line, each group led by {\\kN} (N in\n"
        "hundredths of a second), so that FILE.wav from zmrimage render with FILE.ass beside it plays with\n"
        "the lyrics lighting up in any player that shows subtitles. Both give each group the time printed\n"
        "here; a group whose time runs backwards within its line (after a tempo change) lights up in the\n"
        "ASS file with the group before it. Redirect the output into FILE.lrc or FILE.ass.");
    lyrics->add_option("IMAGE", options->path, "The image file (DADEDA00.DEZ)")->required();
    lyrics->add_option("N", options->number, "Song number, from 1 as in SongList.txt")->required();
    CLI::Option* raw = lyrics->add_flag("--raw", options->raw, "Print the records as they are");
    CLI::Option* lrc = lyrics->add_flag("--lrc", options->lrc, "Print the lyrics as enhanced LRC")->excludes(raw);
    lyrics->add_flag("--ass", options->ass, "Print the lyrics as ASS subtitles with karaoke timing")->excludes(raw, lrc);
    lyrics->callback([&action, options] { action = [options] { return runLyrics(*options); }; });
}

}  // namespace zmr::cli
