#pragma once
// Respells VIQR text in VNI, the 8-bit convention in which a vowel is followed
// by one mark byte that may carry both its vowel mark and its tone, and a few
// letters (d with stroke, u and o with horn, i with a tone) are single bytes.

#include <string>

namespace zmr::examples {

// VIQR marks: ^ circumflex, ( breve, * horn; ' acute, ` grave, ? hook above,
// ~ tilde, . dot below; dd and DD for d with stroke. Other bytes pass through.
// Throws std::runtime_error for a letter that VNI has no bytes for.
std::string viqrToVni(const std::string& viqr);

}  // namespace zmr::examples
