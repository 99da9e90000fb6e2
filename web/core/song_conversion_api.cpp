// What a conversion worker of the page calls: one song to its record, one
// song looked over as `scan` looks at it, and the order and names of songs.

#include <emscripten/bind.h>

#include <algorithm>
#include <string>

#include "image/convert_song.h"
#include "image/image_layout.h"
#include "image/song_order.h"
#include "midi/time_units.h"
#include "scan/song_scan.h"
#include "text/text_encoding.h"
#include "web/core/js_values.h"
#include "web/core/scan_values.h"

namespace zmr::web {
namespace {

using emscripten::val;

ConvertOptions convertOptionsFromJs(const val& options) {
    ConvertOptions conversion;
    if (options.isUndefined() || options.isNull()) return conversion;
    const val encoding = options["textEncoding"];
    if (!encoding.isUndefined()) {
        if (const auto parsed = parseTextEncoding(encoding.as<std::string>())) conversion.textEncoding = *parsed;
    }
    conversion.karText = options["karText"].as<bool>();
    conversion.lenient = options["lenient"].as<bool>();
    return conversion;
}

// What one worker keeps from song to song: the buffers a conversion grows,
// so that each song costs no allocation once they have grown to the largest
// (the buffers give the same bytes fresh or used).
class SongConverter {
public:
    val convert(const std::string& path, const val& bytes, const val& options) {
        buffers_.file.resize(bytes["length"].as<size_t>());
        val(emscripten::typed_memory_view(buffers_.file.size(), buffers_.file.data())).call<void>("set", bytes);
        Result<SongRecord> song = convertSong(path, buffers_.file, buffers_, convertOptionsFromJs(options));
        val result = val::object();
        result.set("ok", song.ok());
        result.set("message", song ? std::string() : messageLine(song.message()));
        result.set("record", song ? bytesToJs(song->bytes) : bytesToJs(std::span<const uint8_t>()));
        result.set("name", song ? bytesToJs(song->name) : bytesToJs(std::span<const uint8_t>()));
        result.set("uncoded", song ? song->uncodedCharacters : 0);
        if (song) buffers_.record = std::move(song->bytes);  // handed back for the next song's record
        return result;
    }

private:
    ConversionBuffers buffers_;
};

val scanSongForJs(const std::string& path, const val& bytes) {
    const std::vector<uint8_t> file = bytesFromJs(bytes);
    return scanToJs(scanSong(path, file));
}

val readingEncodings() {
    val names = val::array();
    for (const TextEncoding e : kReadingEncodings) names.call<void>("push", std::string(textEncodingName(e)));
    return names;
}

val sortSongPathsForJs(const val& paths) {
    std::vector<std::string> sorted = stringsFromJs(paths);
    sortSongPaths(sorted);
    return stringsToJs(sorted);
}

bool hasSongExtensionForJs(const std::string& name) { return hasSongExtension(name); }

std::string lengthText(double units) { return minutesSeconds(static_cast<uint64_t>(std::max(units, 0.0))); }

}  // namespace

EMSCRIPTEN_BINDINGS(song_conversion) {
    emscripten::class_<SongConverter>("SongConverter")
        .constructor<>()
        .function("convert", &SongConverter::convert);
    emscripten::function("scanSong", &scanSongForJs);
    emscripten::function("readingEncodings", &readingEncodings);
    emscripten::function("sortSongPaths", &sortSongPathsForJs);
    emscripten::function("hasSongExtension", &hasSongExtensionForJs);
    emscripten::function("lengthText", &lengthText);
    emscripten::constant("version", std::string(ZMR_VERSION));
    emscripten::constant("maxSongs", kMaxSongs);
}

}  // namespace zmr::web
