#pragma once
// The dialog's private messages: the compilation's worker thread and the song
// book's report through them, and the dialog handles each on its own thread,
// in the order they were sent (a sent failure first takes the progress posted
// before it).

#include <windows.h>

namespace zmr::win32 {

enum WindowMessage : UINT {
    kProgressRangeMessage = WM_APP + 1,  // posted; wParam the low end, lParam the high end
    kProgressPositionMessage,            // posted; wParam the position
    kStateMessage,                       // posted; wParam the CompileState
    kSongFailedMessage,                  // sent, so the worker waits until it is seen; lParam a SongFailure*
    kFinishedMessage,                    // posted last; lParam a new Result<CompileOutcome>, deleted by the dialog
    kRunScriptMessage,                   // posted by the dialog to itself once it shows
    kSongBookMessage,                    // posted when the song book is written; lParam a new FolderSongBook
};

}  // namespace zmr::win32
