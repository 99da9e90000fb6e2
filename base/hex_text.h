#pragma once
// Numbers in hexadecimal as messages show them: upper-case digits, a fixed
// width, so that a byte reads the same in every message of every layer.

#include <cstdint>
#include <string>

namespace zmr {

// `value` as "0x" and `digits` upper-case hex digits: hexNumber(0x4F) is
// "0x4F", hexNumber(0x10A, 3) "0x10A". Digits above `digits` are dropped.
std::string hexNumber(uint32_t value, int digits = 2);

// `byte` as the escape "\xHH", for a byte that cannot be shown as it is.
std::string byteEscape(uint8_t byte);

}  // namespace zmr
