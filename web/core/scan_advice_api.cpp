// The options a collection wants and the disc it would fill, from the scans
// the workers made: what `zmrimage scan` recommends, for the page to propose.

#include <emscripten/bind.h>

#include <string>

#include "scan/scan_summary.h"
#include "web/core/js_values.h"
#include "web/core/scan_values.h"

namespace zmr::web {
namespace {

using emscripten::val;

// `scans` holds {path, scan} in list order.
val scanAdvice(const val& scans) {
    ScanSummary summary;
    const size_t count = scans["length"].as<size_t>();
    for (size_t i = 0; i < count; ++i) {
        const val entry = scans[i];
        summary.add(entry["path"].as<std::string>(), scanFromJs(entry["scan"]));
    }
    const BuildAdvice advice = summary.advice();
    const DiscMedium medium = *findDiscMedium(kDefaultDiscMedium);
    const DiscFill fill = summary.discFill(medium);

    val result = val::object();
    result.set("textEncoding", std::string(textEncodingName(advice.options.textEncoding)));
    result.set("karText", advice.options.karText);
    result.set("lenient", advice.options.lenient);
    result.set("skipBad", advice.skipBad);
    result.set("disc", describeFill(fill));
    result.set("fits", fill.fits());
    result.set("songsOnDisc", static_cast<double>(summary.songsOnDisc()));
    result.set("songsThatFit", static_cast<double>(summary.songsThatFit(medium)));
    result.set("withoutLyrics", stringsToJs(summary.withoutLyrics()));
    result.set("cp1258Apart", stringsToJs(summary.cp1258Apart()));
    return result;
}

}  // namespace

EMSCRIPTEN_BINDINGS(scan_advice) { emscripten::function("scanAdvice", &scanAdvice); }

}  // namespace zmr::web
