#pragma once
// The message boxes a dialog shows after a command: which box each outcome
// takes and what it says. The dialogs draw them (caption, the text, one OK
// button, no icon, no owner window); the choice is made here once.

#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "image/compile_session.h"
#include "songbook/folder_song_book.h"

namespace zmr::dialog {

enum class BoxKind { Error, Warning };

struct DialogBox {
    BoxKind kind;
    std::string text;  // UTF-8
};

// The box of a failure, by its kind: another build holding the folder is
// worth a warning (try again once it is done); everything else is an error.
BoxKind boxFor(FailureKind kind);
const char* captionOf(BoxKind kind);

// What the dialog shows once a compilation has ended: its failure, or the
// songs written with warnings, or nothing.
std::optional<DialogBox> boxAfterCompilation(const Result<CompileOutcome>& result);
// Once a song book has been written: why it was not, then its warnings.
std::vector<DialogBox> boxesAfterSongBook(const FolderSongBook& written);

}  // namespace zmr::dialog
