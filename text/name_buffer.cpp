#include "text/name_buffer.h"

#include <algorithm>

namespace zmr {

std::string NameBuffer::text() const {
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return std::string(bytes.begin(), end);
}

}  // namespace zmr
