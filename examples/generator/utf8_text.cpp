#include "utf8_text.h"

#include <cstdint>
#include <vector>

#include "text/code_page_inverse.h"
#include "text/transcoder.h"

namespace zmr::examples {

std::string viqrToUtf8(const std::string& viqr) {
    return codesToUtf8(transcodeText(viqr));
}

}  // namespace zmr::examples
