#include "dialog/warning_summary.h"

namespace zmr::dialog {

std::string describeWarnings(std::span<const SongWarning> warnings, size_t shown) {
    std::string text = std::to_string(warnings.size()) + (warnings.size() == 1 ? " song was" : " songs were") +
                       " written with a warning:\n";
    for (size_t i = 0; i < warnings.size() && i < shown; ++i)
        text += "\n" + warnings[i].path + ": " + warnings[i].message;
    if (warnings.size() > shown) text += "\n... and " + std::to_string(warnings.size() - shown) + " more";
    return text;
}

std::string describeBookWarnings(std::span<const std::string> warnings) {
    std::string text;
    for (const std::string& warning : warnings) text += (text.empty() ? "" : "\n") + warning;
    return text;
}

}  // namespace zmr::dialog
