#pragma once
// Compares titles as a Vietnamese dictionary orders them: a < ă < â, d < đ,
// e < ê, o < ô < ơ, u < ư, and among words that differ only in their tones:
// no mark, grave, hook above, tilde, acute, dot below; then letter case.
// One small interface, so that each platform supplies its own: ICU's collator
// for "vi" elsewhere, the system's table for vi-VN on Windows, where Debian
// has no ICU. The two part in what the above leaves open: Windows takes ch,
// gh, gi, kh, ng, nh, ph, qu, th and tr as letters after c, g, k, n, p, q and
// t, as older dictionaries do ("Tình" < "Tu" < "Thu"), where ICU goes letter
// by letter ("Thu" < "Tình" < "Tu"); and both put spaces and punctuation
// before letters and digits, but not in the same order among themselves.
// Digits are characters here, ordered 0 to 9; numbers by value come on top.

#include <memory>
#include <string_view>

#include "base/result.h"

namespace zmr {

class VietnameseCollator {
public:
    // Fails, saying why, where the system has no Vietnamese collation.
    static Result<VietnameseCollator> create();

    VietnameseCollator(VietnameseCollator&&) noexcept;
    VietnameseCollator& operator=(VietnameseCollator&&) noexcept;
    ~VietnameseCollator();

    // Negative, zero or positive as `a` sorts before, with or after `b`; both
    // UTF-8. Safe to call from several threads at once.
    int compare(std::string_view a, std::string_view b) const;

private:
    struct Platform;
    explicit VietnameseCollator(std::unique_ptr<Platform> platform);
    std::unique_ptr<Platform> platform_;
};

}  // namespace zmr
