// Text decoding with the Windows API: MultiByteToWideChar for the code page,
// NormalizeString for the decomposition. Debian has no ICU for MinGW, and
// Windows carries both tables itself.

#include "text/text_decoder.h"
#include "text/utf8.h"
#include "text/wide_text.h"

#include <windows.h>

#include <string_view>

namespace zmr {
namespace {

constexpr char32_t kQuestionMark = U'?';
constexpr UINT kWindows1258 = 1258;

// UTF-8 to UTF-16, each maximal ill-formed piece becoming one '?', as the
// Unicode standard recommends and ICU does. The pieces are found here rather
// than left to the converter, whose count of them differs between systems.
std::wstring utf8ToWide(std::span<const uint8_t> bytes) {
    const auto text = [&](size_t from, size_t to) {
        return std::string_view(reinterpret_cast<const char*>(bytes.data()) + from, to - from);
    };
    std::wstring wide;
    size_t start = 0, i = 0;
    while (i < bytes.size()) {
        const Utf8Step step = nextUtf8(bytes.subspan(i));
        if (!step.valid) {
            wide += wideFromCodePage(text(start, i), CP_UTF8);
            wide += static_cast<wchar_t>(kQuestionMark);
            start = i + step.length;
        }
        i += step.length;
    }
    return wide + wideFromCodePage(text(start, bytes.size()), CP_UTF8);
}

// Every byte of code page 1258 stands for a character (those it leaves
// undefined become the C1 control of the same number), so nothing is invalid.
std::wstring windows1258ToWide(std::string_view bytes) { return wideFromCodePage(bytes, kWindows1258); }

std::wstring normalizeToNfd(const std::wstring& text) {
    if (text.empty()) return text;
    const int size = static_cast<int>(text.size());
    int estimate = NormalizeString(NormalizationD, text.data(), size, nullptr, 0);
    // The estimate can fall short; the call then says how much it needs.
    for (int attempt = 0; estimate > 0 && attempt < 8; ++attempt) {
        std::wstring out(static_cast<size_t>(estimate), L'\0');
        const int length = NormalizeString(NormalizationD, text.data(), size, out.data(), estimate);
        if (length > 0) {
            out.resize(static_cast<size_t>(length));
            return out;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
        estimate = -length;
    }
    // Text that the system will not normalize (a noncharacter, say) is kept as
    // it is rather than lost.
    return text;
}

std::u32string toCodePoints(const std::wstring& text) {
    std::u32string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = static_cast<char16_t>(text[i]);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
            const char32_t low = static_cast<char16_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out.push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        // The converter writes no lone surrogate; should one come, it is not a character.
        out.push_back(unit >= 0xD800 && unit <= 0xDFFF ? kQuestionMark : unit);
    }
    return out;
}

}  // namespace

std::u32string decodeToNfd(std::span<const uint8_t> bytes, TextEncoding encoding) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::wstring wide = encoding == TextEncoding::Utf8 ? utf8ToWide(bytes) : windows1258ToWide(text);
    return toCodePoints(normalizeToNfd(wide));
}

}  // namespace zmr
