// decodeToNfd with ICU: its converters for UTF-8 and windows-1258, then its
// NFD normaliser. Every call opens its own converter, so calls on several
// threads share nothing but ICU's read-only data.

#include "text/text_decoder.h"

#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/unistr.h>

#include <memory>

namespace zmr {
namespace {

constexpr char16_t kQuestionMark = u'?';

// Writes '?' for each byte sequence that the encoding does not hold, where
// ICU would write U+FFFD or U+001A.
void substituteQuestionMark(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                            UConverterCallbackReason reason, UErrorCode* error) {
    if (reason != UCNV_ILLEGAL && reason != UCNV_UNASSIGNED && reason != UCNV_IRREGULAR) return;
    *error = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &kQuestionMark, 1, 0, error);
}

struct ConverterClose {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

const char* converterName(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? "UTF-8" : "windows-1258";
}

// Every byte as '?': what a converter that cannot work reads.
icu::UnicodeString allQuestionMarks(size_t length) {
    const int32_t count = static_cast<int32_t>(length);
    return icu::UnicodeString(count, kQuestionMark, count);  // capacity, character, count
}

// The bytes as UTF-16; every invalid sequence already '?'.
icu::UnicodeString toUtf16(std::span<const uint8_t> bytes, TextEncoding encoding) {
    UErrorCode error = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterClose> converter(ucnv_open(converterName(encoding), &error));
    if (U_FAILURE(error)) return allQuestionMarks(bytes.size());
    ucnv_setToUCallBack(converter.get(), substituteQuestionMark, nullptr, nullptr, nullptr, &error);
    icu::UnicodeString text(reinterpret_cast<const char*>(bytes.data()), static_cast<int32_t>(bytes.size()),
                            converter.get(), error);
    if (U_FAILURE(error)) return allQuestionMarks(bytes.size());
    return text;
}

}  // namespace

std::u32string decodeToNfd(std::span<const uint8_t> bytes, TextEncoding encoding) {
    if (bytes.empty()) return {};
    const icu::UnicodeString text = toUtf16(bytes, encoding);
    UErrorCode error = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(error);
    icu::UnicodeString decomposed = U_SUCCESS(error) ? nfd->normalize(text, error) : text;
    if (U_FAILURE(error)) decomposed = text;

    std::u32string codePoints;
    codePoints.reserve(static_cast<size_t>(decomposed.length()));
    for (int32_t i = 0; i < decomposed.length(); i = decomposed.moveIndex32(i, 1)) {
        codePoints.push_back(static_cast<char32_t>(decomposed.char32At(i)));
    }
    return codePoints;
}

}  // namespace zmr
