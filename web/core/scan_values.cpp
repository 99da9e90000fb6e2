#include "web/core/scan_values.h"

#include <array>
#include <string>
#include <string_view>

#include "midi/time_units.h"
#include "scan/scan_summary.h"
#include "text/text_encoding.h"
#include "web/core/js_values.h"

namespace zmr::web {
namespace {

using emscripten::val;

// The names `scan --json` gives them.
constexpr std::array<std::string_view, 3> kOutcomeNames = {"ok", "lenient", "fails"};
constexpr std::array<std::string_view, 3> kSourceNames = {"lyric-events", "text-events", "none"};
constexpr std::array<TextEncoding, 7> kEveryEncoding = {TextEncoding::ViqrVni, TextEncoding::Utf8,  TextEncoding::Cp1258,
                                                        TextEncoding::Auto,    TextEncoding::Ascii, TextEncoding::Viqr,
                                                        TextEncoding::Vni};

TextEncoding encodingNamed(const std::string& name) {
    for (const TextEncoding e : kEveryEncoding)
        if (textEncodingName(e) == name) return e;
    return TextEncoding::Ascii;
}

LyricSource sourceNamed(const std::string& name) {
    for (size_t i = 0; i < kSourceNames.size(); ++i)
        if (kSourceNames[i] == name) return static_cast<LyricSource>(i);
    return LyricSource::None;
}

}  // namespace

val scanToJs(const SongScan& scan) {
    val result = val::object();
    result.set("outcome", std::string(kOutcomeNames[static_cast<size_t>(outcomeOf(scan))]));
    result.set("compiles", scan.compiles);
    result.set("message", messageLine(scan.message));
    result.set("lenientCompiles", scan.lenientCompiles);
    result.set("read", scan.read);
    result.set("lyrics", std::string(kSourceNames[static_cast<size_t>(scan.read ? scan.lyrics : LyricSource::None)]));
    result.set("encoding", std::string(textEncodingName(scan.encoding)));
    result.set("titleEncoding", std::string(textEncodingName(scan.titleEncoding)));
    result.set("uncoded", scan.uncoded);
    result.set("lengthUnits", static_cast<double>(scan.lengthUnits));
    result.set("length", minutesSeconds(static_cast<uint64_t>(scan.lengthUnits)));
    result.set("recordBytes", static_cast<double>(scan.recordBytes));
    result.set("songListNameBytes", static_cast<double>(scan.songListNameBytes));
    return result;
}

SongScan scanFromJs(const val& value) {
    SongScan scan;
    scan.compiles = value["compiles"].as<bool>();
    scan.message = value["message"].as<std::string>();
    scan.lenientCompiles = value["lenientCompiles"].as<bool>();
    scan.read = value["read"].as<bool>();
    scan.lyrics = sourceNamed(value["lyrics"].as<std::string>());
    scan.encoding = encodingNamed(value["encoding"].as<std::string>());
    scan.titleEncoding = encodingNamed(value["titleEncoding"].as<std::string>());
    scan.uncoded = value["uncoded"].as<int32_t>();
    scan.lengthUnits = static_cast<int64_t>(value["lengthUnits"].as<double>());
    scan.recordBytes = static_cast<uint64_t>(value["recordBytes"].as<double>());
    scan.songListNameBytes = static_cast<uint64_t>(value["songListNameBytes"].as<double>());
    return scan;
}

}  // namespace zmr::web
