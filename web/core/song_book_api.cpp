// The song book of a built image as one HTML page, as `zmrimage songbook -o
// BOOK.html` writes it: the page's book worker mounts the image and its song
// list (WORKERFS, no copy) and passes their paths.

#include <emscripten/bind.h>

#include <string>
#include <vector>

#include "image/volume_id.h"
#include "songbook/load_song_book.h"
#include "songbook/song_book_html.h"
#include "songbook/vietnamese_order.h"
#include "web/core/js_values.h"

namespace zmr::web {
namespace {

using emscripten::val;

val failed(const std::string& message) {
    val result = val::object();
    result.set("ok", false);
    result.set("message", messageLine(message));
    result.set("html", std::string());
    result.set("warnings", val::array());
    return result;
}

val songBookHtmlForJs(const std::string& imagePath, const std::string& songListPath, const std::string& volumeId) {
    const Result<std::string> volume = normaliseVolumeId(volumeId.empty() ? kDefaultVolumeId : volumeId);
    if (!volume) return failed(volume.message());
    std::vector<std::string> warnings;
    SongBookSource source{imagePath, std::nullopt, *volume};
    if (!songListPath.empty()) source.songList = songListPath;
    const Result<SongBook> book = loadSongBook(source, warnings);
    if (!book) return failed(book.message());
    const Result<std::vector<size_t>> byTitle = orderByTitle(book->songs);
    if (!byTitle) return failed(byTitle.message());

    val result = val::object();
    result.set("ok", true);
    result.set("message", std::string());
    result.set("html", songBookHtml(*book, *byTitle));
    result.set("warnings", stringsToJs(warnings));
    return result;
}

}  // namespace

EMSCRIPTEN_BINDINGS(song_book) { emscripten::function("songBookHtml", &songBookHtmlForJs); }

}  // namespace zmr::web
