#include "base/grouped_number.h"

namespace zmr {

std::string groupThousands(uint64_t value) {
    // Built forward rather than by inserting into the digits, which GCC 12
    // misreads as an overlapping copy (-Wrestrict).
    const std::string digits = std::to_string(value);
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace zmr
