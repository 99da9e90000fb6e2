#include "dialog/dialog_box.h"

#include "dialog/dialog_texts.h"
#include "dialog/warning_summary.h"

namespace zmr::dialog {

BoxKind boxFor(FailureKind kind) { return kind == FailureKind::Busy ? BoxKind::Warning : BoxKind::Error; }

const char* captionOf(BoxKind kind) { return kind == BoxKind::Warning ? kWarningCaption : kErrorCaption; }

std::optional<DialogBox> boxAfterCompilation(const Result<CompileOutcome>& result) {
    if (!result) return DialogBox{boxFor(result.kind()), result.message()};
    if (!result->warnings.empty()) return DialogBox{BoxKind::Warning, describeWarnings(result->warnings)};
    return std::nullopt;
}

std::vector<DialogBox> boxesAfterSongBook(const FolderSongBook& written) {
    std::vector<DialogBox> boxes;
    if (written.problem) boxes.push_back({BoxKind::Error, *written.problem});
    if (!written.warnings.empty()) boxes.push_back({BoxKind::Warning, describeBookWarnings(written.warnings)});
    return boxes;
}

}  // namespace zmr::dialog
