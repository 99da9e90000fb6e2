// An image opened in the page (a build's, or a chosen DADEDA00.DEZ): its
// songs as `zmrimage list` reads them, its verification as `zmrimage verify`
// reports it, and a song's lyrics, LRC and ASS as `zmrimage lyrics` gives
// them, with the same words for every problem. The image is copied into the
// module once and read from there by every request of the page's image worker.

#include <emscripten/bind.h>

#include <cstdint>
#include <string>
#include <vector>

#include "midi/time_units.h"
#include "playback/ass_file.h"
#include "playback/lrc_file.h"
#include "playback/lyric_timeline.h"
#include "readback/image_report.h"
#include "readback/image_index.h"
#include "readback/image_verify.h"
#include "readback/song_list_check.h"
#include "readback/song_streams.h"
#include "readback/song_summary.h"
#include "readback/text_records.h"
#include "text/shown_text.h"
#include "web/core/js_values.h"

namespace zmr::web {
namespace {

using emscripten::val;

val failed(const std::string& message) {
    val result = val::object();
    result.set("ok", false);
    result.set("message", message);
    return result;
}

class OpenedImage {
public:
    OpenedImage(const val& bytes, std::string name) : image_(bytesFromJs(bytes)), name_(std::move(name)), scan_(readImageIndex(image_)) {}

    // The rows of `zmrimage list`: number, title and length of each song, or
    // why a song cannot be read; nothing but a message when the layout stops.
    val songs() const {
        if (!scan_.complete) return failed(layoutStopMessage(name_, scan_));
        val rows = val::array();
        for (const SongLocation& song : scan_.songs) {
            const Result<SongSummary> summary = readSongSummary(image_, song);
            val row = val::object();
            row.set("number", song.number);
            if (summary) {
                row.set("title", summary->title);
                row.set("length", minutesSeconds(summary->lengthUnits));
                row.set("error", std::string());
            } else {
                row.set("title", std::string());
                row.set("length", std::string());
                row.set("error", shownText(summary.message()));
            }
            rows.call<void>("push", row);
        }
        val result = val::object();
        result.set("ok", true);
        result.set("songs", rows);
        return result;
    }

    // What `zmrimage verify IMAGE [SONGLIST]` prints; `songList` is null
    // when no song list came with the image.
    val verify(const val& songList, const std::string& songListName) const {
        const ImageVerification report = verifyImage(image_);
        std::vector<SongListProblem> listProblems;
        if (!songList.isNull() && !songList.isUndefined()) listProblems = checkSongList(bytesFromJs(songList), report.titles);
        val result = val::object();
        result.set("sound", report.sound() && listProblems.empty());
        result.set("report", verifyReport(name_, report, songListName, listProblems));
        return result;
    }

    // Song `number` as `zmrimage lyrics IMAGE N` prints it, with its
    // `--lrc` and `--ass` files as bytes.
    val lyrics(double number) const {
        Result<TextStreamParts> text = songText(number);
        if (!text) return failed(text.message());
        const LyricTimeline timeline(*text);
        val result = val::object();
        result.set("ok", true);
        result.set("listing", lyricListing(*text));
        result.set("lrc", bytesToJs(lrcFile(timeline)));
        result.set("ass", bytesToJs(assFile(timeline)));
        return result;
    }

    // Song `number`'s decoded streams, for the page to preview: what
    // `zmrimage play IMAGE N` reads before it plays.
    val streams(double number) const {
        const Result<const SongLocation*> song = located(number);
        if (!song) return failed(song.message());
        const Result<SongStreams> streams = readSongStreams(image_, **song);
        if (!streams) return failed(shownText(name_) + ": " + shownText(streams.message()));
        val result = val::object();
        result.set("ok", true);
        result.set("text", bytesToJs(streams->text));
        result.set("events", bytesToJs(streams->events));
        return result;
    }

private:
    Result<const SongLocation*> located(double number) const {
        if (!scan_.complete) return Failure{layoutStopMessage(name_, scan_), FailureKind::BadImage};
        if (!(number >= 1 && number <= static_cast<double>(scan_.songs.size()))) {
            return Failure{noSuchSongMessage(name_, scan_.songs.size(), static_cast<int64_t>(number))};
        }
        return &scan_.songs[static_cast<size_t>(number) - 1];
    }

    Result<TextStreamParts> songText(double number) const {
        const Result<const SongLocation*> located = this->located(number);
        if (!located) return located.failure();
        const SongLocation& song = **located;
        const Result<std::vector<uint8_t>> stream = decodeSection(image_, song.framing.text, false);
        if (!stream)
            return Failure{shownText(name_) + ": " + textSectionMessage(song.number, stream.message()), stream.kind()};
        TextStreamParts text = readTextStream(*stream);
        if (!text.headerFound)
            return Failure{shownText(name_) + ": " + textHeaderMessage(song.number, text), FailureKind::BadImage};
        return text;
    }

    std::vector<uint8_t> image_;
    std::string name_;
    ImageIndex scan_;
};

}  // namespace

EMSCRIPTEN_BINDINGS(opened_image) {
    emscripten::class_<OpenedImage>("OpenedImage")
        .constructor<const val&, std::string>()
        .function("songs", &OpenedImage::songs)
        .function("verify", &OpenedImage::verify)
        .function("lyrics", &OpenedImage::lyrics)
        .function("streams", &OpenedImage::streams);
}

}  // namespace zmr::web
