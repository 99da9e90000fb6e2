// VietnameseCollator with the Windows API: CompareStringEx for the locale
// vi-VN, whose sorting table is the dictionary order. Debian has no ICU for
// MinGW, and Windows carries the table itself.

#include "songbook/vietnamese_collator.h"

#include "fileio/wide_text.h"

#include <windows.h>

#include <string>

namespace zmr {
namespace {

constexpr wchar_t kLocale[] = L"vi-VN";
// Punctuation and spaces sort as symbols wherever they stand, as ICU's
// collator sorts them, rather than the default "word sort", which all but
// ignores hyphens and apostrophes.
constexpr DWORD kFlags = SORT_STRINGSORT;

}  // namespace

struct VietnameseCollator::Platform {};

VietnameseCollator::VietnameseCollator(std::unique_ptr<Platform> platform) : platform_(std::move(platform)) {}
VietnameseCollator::VietnameseCollator(VietnameseCollator&&) noexcept = default;
VietnameseCollator& VietnameseCollator::operator=(VietnameseCollator&&) noexcept = default;
VietnameseCollator::~VietnameseCollator() = default;

Result<VietnameseCollator> VietnameseCollator::create() {
    if (!IsValidLocaleName(kLocale))
        return Failure{"cannot sort Vietnamese titles: Windows has no locale vi-VN"};
    return VietnameseCollator(std::make_unique<Platform>());
}

int VietnameseCollator::compare(std::string_view a, std::string_view b) const {
    const std::wstring wideA = wideFromUtf8(a), wideB = wideFromUtf8(b);
    // CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN (1, 2, 3); 0 only for
    // bad arguments, which these are not.
    const int result = CompareStringEx(kLocale, kFlags, wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                       static_cast<int>(wideB.size()), nullptr, nullptr, 0);
    return result == 0 ? 0 : result - CSTR_EQUAL;
}

}  // namespace zmr
