// VietnameseCollator with the Windows API: CompareStringEx for the locale
// vi-VN, whose sorting table is the dictionary order. Debian has no ICU for
// MinGW, and Windows carries the table itself.

#include "songbook/vietnamese_collator.h"

#include <windows.h>

#include <string>

namespace zmr {
namespace {

constexpr wchar_t kLocale[] = L"vi-VN";
// Punctuation and spaces sort as symbols wherever they stand, as ICU's
// collator sorts them, rather than the default "word sort", which all but
// ignores hyphens and apostrophes.
constexpr DWORD kFlags = SORT_STRINGSORT;

std::wstring toWide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

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
    const std::wstring wideA = toWide(a), wideB = toWide(b);
    // CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN (1, 2, 3); 0 only for
    // bad arguments, which these are not.
    const int result = CompareStringEx(kLocale, kFlags, wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                       static_cast<int>(wideB.size()), nullptr, nullptr, 0);
    return result == 0 ? 0 : result - CSTR_EQUAL;
}

}  // namespace zmr
