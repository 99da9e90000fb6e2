#include "cli/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <iostream>

#include "cli/commands.h"
#include "fileio/file_bytes.h"

namespace zmr::cli {

int closeStandardOutput(int status) {
    std::cout.flush();  // the help text goes through iostreams
    const bool failedBefore = std::ferror(stdout) != 0 || !std::cout;
    errno = 0;
    const bool closeFailed = std::fclose(stdout) != 0;
    const int error = errno;
    if (!failedBefore && !closeFailed) return status;
    // A write that failed earlier left no reason behind unless the close failed as well.
    std::fprintf(stderr, "zmrimage: %s\n",
                 error != 0 ? systemMessage("cannot write standard output", error).c_str()
                            : "cannot write standard output: write error");
    return kExitUsage;
}

}  // namespace zmr::cli
