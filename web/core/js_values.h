#pragma once
// Moving bytes and lists between the core and JavaScript: a Uint8Array in
// becomes a vector the core reads as a span; bytes out are copied into a new
// Uint8Array that the page owns (and may transfer between workers), so nothing
// it holds points into the module's memory.

#include <emscripten/val.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/message_line.h"

namespace zmr::web {

inline std::vector<uint8_t> bytesFromJs(const emscripten::val& array) {
    std::vector<uint8_t> bytes(array["length"].as<size_t>());
    emscripten::val(emscripten::typed_memory_view(bytes.size(), bytes.data())).call<void>("set", array);
    return bytes;
}

inline emscripten::val bytesToJs(std::span<const uint8_t> bytes) {
    return emscripten::val::global("Uint8Array")
        .new_(emscripten::val(emscripten::typed_memory_view(bytes.size(), bytes.data())));
}

inline emscripten::val bytesToJs(const std::string& text) {
    return bytesToJs({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

inline emscripten::val stringsToJs(const std::vector<std::string>& strings) {
    emscripten::val array = emscripten::val::array();
    for (const std::string& s : strings) array.call<void>("push", s);
    return array;
}

inline std::vector<std::string> stringsFromJs(const emscripten::val& array) {
    std::vector<std::string> strings;
    const size_t length = array["length"].as<size_t>();
    strings.reserve(length);
    for (size_t i = 0; i < length; ++i) strings.push_back(array[i].as<std::string>());
    return strings;
}

// A message the page shows as it stands: one line, without the newline
// that some of the core's messages end with.
inline std::string messageLine(const std::string& message) { return std::string(withoutTrailingNewline(message)); }

}  // namespace zmr::web
