#pragma once
// The exit status for a failure, by its kind: every command turns a failure
// into a status through this one table, so that a full disk or a damaged image
// ends the same way whichever command met it.

#include "base/result.h"

namespace zmr::cli {

// 1 for a song that cannot be converted and for a damaged image (what the
// input holds is at fault); 2 for everything else: an input that cannot be
// read, an output that cannot be written or does not fit, a busy folder, too
// many songs, no memory.
int exitStatusFor(FailureKind kind);

}  // namespace zmr::cli
