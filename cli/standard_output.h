#pragma once
// What a command wrote to standard output is checked before the process
// ends: a write that failed (a full disk behind "> file", /dev/full, a closed
// pipe's EPIPE) or the last flush and close failing would otherwise still
// exit 0 with nothing written.

namespace zmr::cli {

// Flushes and closes standard output; on any failure of it, then or before,
// prints "zmrimage: cannot write standard output: REASON" and gives 2 (a
// usage or output error), otherwise `status`. Call once, as the program ends.
int closeStandardOutput(int status);

}  // namespace zmr::cli
