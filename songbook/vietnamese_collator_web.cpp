// VietnameseCollator in a web page or in Node: the JavaScript engine's
// Intl.Collator for "vi", which both engines build on ICU's collator with
// CLDR's Vietnamese tailoring, as the native build's is. One collator is made
// per module and kept on it: collators hold no state between comparisons.

#include "songbook/vietnamese_collator.h"

#include <emscripten.h>

namespace zmr {
namespace {

EM_JS(int, zmr_has_vietnamese_collation, (), {
    return typeof Intl === "object" && Intl.Collator.supportedLocalesOf(["vi"]).length > 0 ? 1 : 0;
});

EM_JS(int, zmr_compare_vietnamese, (const char* a, int aLength, const char* b, int bLength), {
    if (!Module.zmrVietnameseCollator) Module.zmrVietnameseCollator = new Intl.Collator("vi");
    var decoder = new TextDecoder("utf-8");
    var first = decoder.decode(HEAPU8.subarray(a, a + aLength));
    var second = decoder.decode(HEAPU8.subarray(b, b + bLength));
    return Module.zmrVietnameseCollator.compare(first, second);
});

}  // namespace

struct VietnameseCollator::Platform {};

VietnameseCollator::VietnameseCollator(std::unique_ptr<Platform> platform) : platform_(std::move(platform)) {}
VietnameseCollator::VietnameseCollator(VietnameseCollator&&) noexcept = default;
VietnameseCollator& VietnameseCollator::operator=(VietnameseCollator&&) noexcept = default;
VietnameseCollator::~VietnameseCollator() = default;

Result<VietnameseCollator> VietnameseCollator::create() {
    if (!zmr_has_vietnamese_collation())
        return Failure{"cannot sort Vietnamese titles: this browser has no Vietnamese collation"};
    return VietnameseCollator(std::make_unique<Platform>());
}

int VietnameseCollator::compare(std::string_view a, std::string_view b) const {
    return zmr_compare_vietnamese(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
}

}  // namespace zmr
