#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/image_input.h"
#include "midi/time_units.h"
#include "readback/song_summary.h"
#include "text/shown_text.h"

namespace zmr::cli {
namespace {

struct ListOptions {
    std::string path;
    bool json = false;
};

nlohmann::ordered_json songJson(const SongLocation& song, const Result<SongSummary>& content) {
    const RecordFraming& f = song.framing;
    nlohmann::ordered_json row = {
        {"number", song.number},
        {"group", song.group},
        {"entry", song.entry},
        {"offset", song.recordOffset},
        {"recordSize", song.recordSize},
        {"sizeFigure", song.sizeFigure},
        {"text", {{"compressed", f.text.compressedLength}, {"uncompressed", f.text.length}}},
        {"events", {{"compressed", f.events.compressedLength}, {"uncompressed", f.events.length}}},
    };
    if (content) {
        row["notes"] = content->notes;
        row["lyricCharacters"] = content->lyricCharacters;
        row["lengthUnits"] = content->lengthUnits;
        row["length"] = minutesSeconds(content->lengthUnits);
        row["title"] = content->title;
    } else {
        row["error"] = content.message();
    }
    return row;
}

void printRow(const SongLocation& song, const Result<SongSummary>& content) {
    const RecordFraming& f = song.framing;
    std::printf("%5d %4u %4u %10llu %8llu %4u %7u %8u %7u %8u", song.number, song.group, song.entry,
                static_cast<unsigned long long>(song.recordOffset), static_cast<unsigned long long>(song.recordSize),
                song.sizeFigure, f.text.compressedLength, f.text.length, f.events.compressedLength, f.events.length);
    if (content) {
        std::printf(" %6zu %6zu %6s  %s\n", content->notes, content->lyricCharacters,
                    minutesSeconds(content->lengthUnits).c_str(), shownText(content->title).c_str());
    } else {
        std::printf(" %6s %6s %6s  (unreadable: %s)\n", "-", "-", "-", shownText(content.message()).c_str());
    }
}

int runList(const ListOptions& options) {
    const auto image = readImageFile(options.path);
    if (!image) return kExitUsage;
    const auto scan = loadImageIndex(*image, options.path);
    if (!scan) return kExitBadImage;

    bool allRead = true;
    nlohmann::ordered_json songs = nlohmann::ordered_json::array();
    if (!options.json) {
        std::printf("%5s %4s %4s %10s %8s %4s %7s %8s %7s %8s %6s %6s %6s  %s\n", "#", "grp", "ent", "offset", "size",
                    "fig", "C_t", "L_t", "C_e", "L_e", "notes", "chars", "length", "title");
    }
    for (const SongLocation& song : scan->songs) {
        const Result<SongSummary> content = readSongSummary(*image, song);
        allRead = allRead && content.ok();
        if (options.json) {
            songs.push_back(songJson(song, content));
        } else {
            printRow(song, content);
        }
    }
    if (options.json) {
        const nlohmann::ordered_json document = {{"image", options.path}, {"imageSize", scan->imageSize}, {"songs", songs}};
        // Titles are valid UTF-8 by construction; the path may not be, so replace rather than throw.
        std::printf("%s\n", document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace).c_str());
    }
    return allRead ? kExitOk : kExitBadImage;
}

}  // namespace

void addListCommand(CLI::App& app, CommandAction& action) {
    auto options = std::make_shared<ListOptions>();
    CLI::App* list = app.add_subcommand("list", "List the songs of an image, one row each (--json for one JSON document)");
    list->footer(
        "List the songs of an image, numbered from 1 in image order as in SongList.txt: group and entry,\n"
        "record offset and size, size figure (size / 1472), compressed (C) and uncompressed (L) lengths\n"
        "of the text (t) and event (e) sections, notes, lyric characters (line ends not counted), the\n"
        "length as mm:ss (time of the last event record) and the title from the text stream in Unicode.\n"
        "--json prints the same as one JSON document (lengthUnits counts 17 ms units).\n"
        "Exit status: 0 every song read; 1 a song or the layout cannot be read; 2 unreadable file.");
    list->add_option("IMAGE", options->path, "The image file (DADEDA00.DEZ)")->required();
    list->add_flag("--json", options->json, "Print one JSON document instead of a table");
    list->callback([&action, options] { action = [options] { return runList(*options); }; });
}

}  // namespace zmr::cli
