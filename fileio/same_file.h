#pragma once
// Whether two paths name one file, so that a command never writes its output
// over a file it reads or writes besides.

#include <filesystem>

namespace zmr {

// The same file when both exist (std::filesystem::equivalent: hard links and
// symbolic links included); otherwise the same absolute path once "." and
// ".." and the links of its existing part are resolved (letter case ignored
// on Windows, whose file systems ignore it).
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace zmr
