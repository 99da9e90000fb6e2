// decodeToNfd in a web page or in Node: the JavaScript engine's own
// TextDecoder (UTF-8 and windows-1258 are both in the Encoding Standard) and
// String.prototype.normalize('NFD'), so the WebAssembly build carries no ICU.
// Both engines decode and normalise with ICU underneath, and the project's
// tests compare the result with the native build's over the test songs.

#include "text/text_decoder.h"

#include <emscripten.h>

#include <cstdlib>

namespace zmr {
namespace {

// Writes the code points to a buffer it allocates with malloc (*out), and
// returns their count. Invalid sequences become '?' as the native decoder
// writes them: the decoder's U+FFFD replacements are turned into '?', while a
// U+FFFD spelt out in the bytes themselves (EF BF BD) stays a character of the
// text, so the input is decoded in pieces split at those three bytes. The
// byte-order mark is kept as a character, as the native converter keeps it.
EM_JS(int, zmr_decode_to_nfd, (const uint8_t* bytes, int length, int utf8, uint32_t** out), {
    var input = HEAPU8.slice(bytes, bytes + length);
    var decoder = new TextDecoder(utf8 ? "utf-8" : "windows-1258", {ignoreBOM: true});
    var decode = function(part) { return decoder.decode(part).replace(/\uFFFD/g, "?"); };
    var text = "";
    var start = 0;
    if (utf8) {
        for (var i = 0; i + 2 < length; ++i) {
            if (input[i] === 0xEF && input[i + 1] === 0xBF && input[i + 2] === 0xBD) {
                text += decode(input.subarray(start, i)) + "\uFFFD";
                start = i + 3;
                i += 2;
            }
        }
    }
    text += decode(input.subarray(start));
    var decomposed = text.normalize("NFD");
    var codePoints = [];
    for (var c of decomposed) codePoints.push(c.codePointAt(0));
    var buffer = _malloc(Math.max(codePoints.length, 1) * 4);
    HEAPU32.set(codePoints, buffer >> 2);
    HEAPU32[out >> 2] = buffer;
    return codePoints.length;
});

}  // namespace

std::u32string decodeToNfd(std::span<const uint8_t> bytes, TextEncoding encoding) {
    if (bytes.empty()) return {};
    uint32_t* codePoints = nullptr;
    const int count = zmr_decode_to_nfd(bytes.data(), static_cast<int>(bytes.size()),
                                        encoding == TextEncoding::Utf8 ? 1 : 0, &codePoints);
    std::u32string text(codePoints, codePoints + count);
    std::free(codePoints);
    return text;
}

}  // namespace zmr
