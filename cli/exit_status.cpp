#include "cli/exit_status.h"

#include "cli/commands.h"
#include "cli/image_input.h"

namespace zmr::cli {

int exitStatusFor(FailureKind kind) {
    switch (kind) {
        case FailureKind::BadSong: return kExitSongFailed;
        case FailureKind::BadImage: return kExitBadImage;
        case FailureKind::UnreadableInput:
        case FailureKind::WriteFailed:
        case FailureKind::DiskFull:
        case FailureKind::Busy:
        case FailureKind::TooManySongs:
        case FailureKind::OutOfMemory:
        // A command stopped by a signal ends by that signal; a status is only
        // given where the stop came some other way.
        case FailureKind::Interrupted:
        case FailureKind::Other: return kExitUsage;
    }
    return kExitUsage;
}

}  // namespace zmr::cli
