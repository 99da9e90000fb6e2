// VietnameseCollator with ICU's collator for "vi", whose tailoring is the
// dictionary order (CLDR's Vietnamese collation).

#include "songbook/vietnamese_collator.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>

#include <string>

namespace zmr {

struct VietnameseCollator::Platform {
    std::unique_ptr<icu::Collator> collator;
};

VietnameseCollator::VietnameseCollator(std::unique_ptr<Platform> platform) : platform_(std::move(platform)) {}
VietnameseCollator::VietnameseCollator(VietnameseCollator&&) noexcept = default;
VietnameseCollator& VietnameseCollator::operator=(VietnameseCollator&&) noexcept = default;
VietnameseCollator::~VietnameseCollator() = default;

Result<VietnameseCollator> VietnameseCollator::create() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(icu::Locale("vi"), status));
    if (U_FAILURE(status) || !collator)
        return Failure{std::string("cannot sort Vietnamese titles: ICU has no collator for \"vi\" (") +
                       u_errorName(status) + ")"};
    return VietnameseCollator(std::make_unique<Platform>(Platform{std::move(collator)}));
}

int VietnameseCollator::compare(std::string_view a, std::string_view b) const {
    UErrorCode status = U_ZERO_ERROR;
    // ICU reads ill-formed UTF-8 as U+FFFD, so the status never fails here.
    return platform_->collator->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                                            icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
}

}  // namespace zmr
