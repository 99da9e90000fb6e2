#include "utf8_text.h"

#include <cstdint>
#include <vector>

#include "text/code_page_inverse.h"
#include "text/transcoder.h"

namespace zmr::examples {

std::string viqrToUtf8(const std::string& viqr) {
    Transcoder transcoder;
    std::vector<uint8_t> codes;
    bool reset = true;
    for (const char c : viqr) {
        if (const uint8_t code = transcoder.transcodeChar(static_cast<uint8_t>(c), reset)) codes.push_back(code);
        reset = false;
    }
    if (const uint8_t code = transcoder.transcodeChar(0, reset)) codes.push_back(code);
    return codesToUtf8(codes);
}

}  // namespace zmr::examples
