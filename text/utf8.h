#pragma once
// The one test of well-formed UTF-8 (no overlong forms, surrogates or code
// points past U+10FFFF), for the encoding rules and for the decoders.

#include <cstddef>
#include <cstdint>
#include <span>

namespace zmr {

// The character at the start of `bytes` (not empty): its length when it is
// well-formed; otherwise `valid` is false and `length` covers its maximal
// ill-formed piece (the lead byte and the continuation bytes that could still
// have belonged to it), which a decoder replaces by one U+FFFD or '?'.
struct Utf8Step {
    size_t length = 1;
    bool valid = false;
};
Utf8Step nextUtf8(std::span<const uint8_t> bytes);

// Well-formed UTF-8, ASCII included.
bool isValidUtf8(std::span<const uint8_t> bytes);

}  // namespace zmr
