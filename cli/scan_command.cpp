#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "base/grouped_number.h"
#include "base/message_line.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/image_input.h"
#include "cli/song_arguments.h"
#include "cli/terminal_reporter.h"
#include "image/compile_image.h"
#include "image/song_path_list.h"
#include "midi/time_units.h"
#include "scan/collection_scan.h"
#include "scan/scan_summary.h"
#include "scan/song_scan.h"
#include "text/shown_text.h"

namespace zmr::cli {
namespace {

using Json = nlohmann::ordered_json;

struct ScanOptions {
    bool json = false;
    std::string medium{kDefaultDiscMedium};
    unsigned jobs = defaultCompileJobs();
    std::vector<std::string> paths;
};

// At most this many paths under each list of the summary, so it fits a screen.
constexpr size_t kListedPaths = 10;

constexpr std::string_view kOutcomeNames[] = {"ok", "lenient", "fails"};
constexpr std::string_view kSourceNames[] = {"lyric-events", "text-events", "none"};

std::string_view name(ScanOutcome outcome) { return kOutcomeNames[static_cast<size_t>(outcome)]; }
std::string_view name(LyricSource source) { return kSourceNames[static_cast<size_t>(source)]; }

std::vector<std::string> adviceArguments(const BuildAdvice& advice) {
    std::vector<std::string> arguments;
    if (advice.options.textEncoding != TextEncoding::ViqrVni) {
        arguments.insert(arguments.end(), {"--text-encoding", std::string(textEncodingName(advice.options.textEncoding))});
    }
    if (advice.options.karText) arguments.emplace_back("--kar-text");
    if (advice.options.lenient) arguments.emplace_back("--lenient");
    if (advice.skipBad) arguments.emplace_back("--skip-bad");
    return arguments;
}

void printRow(const std::string& path, const SongScan& scan) {
    const ScanOutcome outcome = outcomeOf(scan);
    const std::string message = outcome == ScanOutcome::Compiles ? "" : ": " + std::string(withoutTrailingNewline(scan.message));
    if (scan.read) {
        std::printf("%6s  %-12s  %-8s  %7d  %-7s  %s%s\n", minutesSeconds(static_cast<uint64_t>(scan.lengthUnits)).c_str(),
                    std::string(name(scan.lyrics)).c_str(), std::string(textEncodingName(scan.encoding)).c_str(),
                    scan.uncoded, std::string(name(outcome)).c_str(), shownText(path).c_str(), shownText(message).c_str());
    } else {
        std::printf("%6s  %-12s  %-8s  %7s  %-7s  %s%s\n", "-", "-", "-", "-", std::string(name(outcome)).c_str(),
                    shownText(path).c_str(), shownText(message).c_str());
    }
}

void printPaths(const char* heading, const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    std::printf("%s (%zu):\n", heading, paths.size());
    for (size_t i = 0; i < paths.size() && i < kListedPaths; ++i) std::printf("  %s\n", shownText(paths[i]).c_str());
    if (paths.size() > kListedPaths) std::printf("  ... and %zu more\n", paths.size() - kListedPaths);
}

void printDisc(const ScanSummary& summary, const DiscMedium& medium) {
    const DiscFill fill = summary.discFill(medium);
    std::printf("Disc: %s, once built with those options\n", describeFill(fill).c_str());
    if (!fill.fits()) {
        std::printf("Too big: the first %s of its %s songs would fit\n",
                    groupThousands(static_cast<uint64_t>(summary.songsThatFit(medium))).c_str(),
                    groupThousands(static_cast<uint64_t>(summary.songsOnDisc())).c_str());
    }
}

void printSummary(const ScanSummary& summary) {
    const int32_t compiles = summary.count(ScanOutcome::Compiles);
    std::printf("\n%d song%s: %d compile%s as %s stand%s, %d only with --lenient, %d not at all\n", summary.songs(),
                summary.songs() == 1 ? "" : "s", compiles, compiles == 1 ? "s" : "", compiles == 1 ? "it" : "they",
                compiles == 1 ? "s" : "", summary.count(ScanOutcome::LenientOnly), summary.count(ScanOutcome::Fails));
    std::printf("Lyrics: %d in lyric events, %d in Soft Karaoke text events, %d none\n",
                summary.count(LyricSource::LyricEvents), summary.count(LyricSource::TextEvents),
                summary.count(LyricSource::None));
    std::string encodings;
    for (const TextEncoding guess : kGuessedEncodings) {
        if (!encodings.empty()) encodings += ", ";
        encodings += std::to_string(summary.count(guess)) + " " + std::string(textEncodingName(guess));
    }
    std::printf("Text: %s; file names in UTF-8: %d; characters without a code: %d\n", encodings.c_str(),
                summary.utf8Titles(), summary.uncodedCharacters());
    std::string command = "zmrimage build";
    for (const std::string& argument : adviceArguments(summary.advice())) command += " " + argument;
    std::printf("Recommended: %s PATH...\n", command.c_str());
    printPaths("Without lyrics on the disc", summary.withoutLyrics());
    printPaths("In Windows-1258, to build apart with --text-encoding cp1258", summary.cp1258Apart());
}

Json songJson(const std::string& path, const SongScan& scan) {
    Json row = {
        {"path", path},
        {"compiles", scan.compiles},
        {"message", scan.compiles ? Json(nullptr) : Json(std::string(withoutTrailingNewline(scan.message)))},
        {"lenientCompiles", scan.lenientCompiles},
        {"lyrics", name(scan.read ? scan.lyrics : LyricSource::None)},
        {"encoding", scan.read ? Json(textEncodingName(scan.encoding)) : Json(nullptr)},
        {"titleEncoding", scan.read ? Json(textEncodingName(scan.titleEncoding)) : Json(nullptr)},
        {"uncoded", scan.read ? Json(scan.uncoded) : Json(nullptr)},
        {"length", scan.read ? Json(minutesSeconds(static_cast<uint64_t>(scan.lengthUnits))) : Json(nullptr)},
    };
    return row;
}

Json discJson(const ScanSummary& summary, const DiscMedium& medium) {
    const DiscFill fill = summary.discFill(medium);
    return {{"medium", medium.name},
            {"sectors", fill.sectors},
            {"capacity", medium.sectors},
            {"fits", fill.fits()},
            {"songs", summary.songsOnDisc()},
            {"songsThatFit", summary.songsThatFit(medium)}};
}

Json summaryJson(const ScanSummary& summary) {
    Json outcomes = Json::object(), sources = Json::object(), encodings = Json::object();
    for (const ScanOutcome o : {ScanOutcome::Compiles, ScanOutcome::LenientOnly, ScanOutcome::Fails}) {
        outcomes[std::string(name(o))] = summary.count(o);
    }
    for (const LyricSource s : {LyricSource::LyricEvents, LyricSource::TextEvents, LyricSource::None}) {
        sources[std::string(name(s))] = summary.count(s);
    }
    for (const TextEncoding g : kGuessedEncodings) encodings[std::string(textEncodingName(g))] = summary.count(g);
    const BuildAdvice advice = summary.advice();
    return {
        {"songs", summary.songs()},
        {"outcomes", outcomes},
        {"lyrics", sources},
        {"encodings", encodings},
        {"utf8Titles", summary.utf8Titles()},
        {"uncoded", summary.uncodedCharacters()},
        {"recommended",
         {{"textEncoding", textEncodingName(advice.options.textEncoding)},
          {"karText", advice.options.karText},
          {"lenient", advice.options.lenient},
          {"skipBad", advice.skipBad},
          {"arguments", adviceArguments(advice)}}},
        {"withoutLyrics", summary.withoutLyrics()},
        {"cp1258Apart", summary.cp1258Apart()},
    };
}

int runScan(const ScanOptions& options) {
    Result<std::vector<std::string>> songs = gatherSongs(options.paths);
    if (!songs) {
        std::fprintf(stderr, "zmrimage: %s\n", shownText(songs.message()).c_str());
        return exitStatusFor(songs.kind());
    }
    const DiscMedium medium = *findDiscMedium(options.medium);
    TerminalReporter progress(stderr, isTerminal(stderr));
    Json rows = Json::array();
    if (!options.json) {
        std::printf("%6s  %-12s  %-8s  %7s  %-7s  %s\n", "length", "lyrics", "encoding", "uncoded", "outcome", "song");
    }
    const SongPathList list(std::move(songs).value());
    CollectionScanSinks sinks;
    sinks.songStarted = [&](int32_t index, int32_t count, const std::string& path) {
        progress.songStarted(index, count, path);
    };
    sinks.songScanned = [&](const std::string& path, const SongScan& scan) {
        if (options.json) {
            rows.push_back(songJson(path, scan));
        } else {
            progress.clearLine();
            printRow(path, scan);
            std::fflush(stdout);
        }
    };
    const ScanSummary summary = scanCollection(list, options.jobs, sinks);
    progress.clearLine();
    if (options.json) {
        Json summaryDocument = summaryJson(summary);
        summaryDocument["disc"] = discJson(summary, medium);
        const Json document = {{"songs", rows}, {"summary", summaryDocument}};
        // Paths need not be UTF-8: replace rather than throw.
        std::printf("%s\n", document.dump(2, ' ', false, Json::error_handler_t::replace).c_str());
    } else {
        printSummary(summary);
        printDisc(summary, medium);
    }
    return summary.count(ScanOutcome::Compiles) == summary.songs() ? kExitOk : kExitSongFailed;
}

}  // namespace

void addScanCommand(CLI::App& app, CommandAction& action) {
    auto options = std::make_shared<ScanOptions>();
    CLI::App* scan = app.add_subcommand("scan", "Look over songs before a build: what each holds and which options suit them");
    scan->footer(
        "Read songs as build would and write nothing. PATHs as for build: a folder adds its .mid and .kar\n"
        "files. One row per song: its length (mm:ss, time of the last event record), where its lyrics are\n"
        "(lyric-events; text-events: Soft Karaoke text events, read with --kar-text; none), the encoding\n"
        "its text appears to be in, how many characters have no code on the player when it is read so,\n"
        "and whether it compiles: ok (as it stands), lenient (only with --lenient; the row then describes\n"
        "the lenient reading) or fails, with the message. A summary follows: songs per outcome, lyric source\n"
        "and encoding, the build options that suit the collection, and the songs that would still reach\n"
        "the disc without lyrics (at most 10 listed), and how much of the disc (--medium, as for build)\n"
        "the image and its song list would fill in an ISO 9660 image, built with those options.\n"
        "The encoding is a best guess from the bytes of the lyrics (of the title when there are none):\n"
        "  ascii   ASCII only, without VIQR marks;\n"
        "  viqr    ASCII only, at least two marks and one mark per four words where only VIQR puts them\n"
        "          (^ ( * after a vowel, or ' ` ? ~ . between a vowel and a letter);\n"
        "  utf8    not ASCII, and every lyric event is valid UTF-8 (as --text-encoding auto decides);\n"
        "  vni, cp1258  otherwise: whichever leaves fewer bytes outside a Vietnamese letter (VNI on a tie);\n"
        "          a VNI letter is a letter followed by a mark byte that composes with it, or one of\n"
        "          VNI's single-byte letters; Windows-1258 letters are read as that code page has them.\n"
        "Characters without a code are counted only for text read from UTF-8 or Windows-1258: they become\n"
        "'?'. The file name is guessed apart (titleEncoding in --json): names in UTF-8 need auto too.\n"
        "--json writes one document: {\"songs\": [{\"path\", \"compiles\", \"message\", \"lenientCompiles\",\n"
        "\"lyrics\", \"encoding\", \"titleEncoding\", \"uncoded\", \"length\"}], \"summary\": {...}}; a song that\n"
        "compiles in no way has lyrics \"none\" and null for the facts after them.\n"
        "Exit status: 0 every song compiles as it stands; 1 otherwise; 2 usage error.");
    scan->add_flag("--json", options->json, "Write one JSON document instead of rows and a summary");
    std::vector<std::string> media;
    for (const DiscMedium& medium : discMedia()) media.emplace_back(medium.name);
    scan->add_option("--medium", options->medium, "The disc to estimate: cd650, cd700, dvd or dvd-dl")
        ->check(CLI::IsMember(media))
        ->capture_default_str();
    scan->add_option("-j,--jobs", options->jobs,
                     "Songs read at once, each on a thread (default: the number of cores); the output is the same")
        ->check(CLI::Range(1u, 1024u));
    scan->add_option("PATH", options->paths, "Song files or folders of songs")->required();
    scan->callback([&action, options] { action = [options] { return runScan(*options); }; });
}

}  // namespace zmr::cli
