#pragma once
// Reading a whole song file: the one place where the core touches a file of
// the user's, so that a failure names the system's reason.

#include <cstdint>
#include <string>
#include <vector>

#include "codec/result.h"

namespace zmr {

// The whole file in one buffer. Fails with "cannot open: <reason>" or
// "cannot read: <reason>" (a folder named like a song fails here).
Result<std::vector<uint8_t>> readFileBytes(const std::string& path);

// "<what>: <the system's reason for errno>", with a plain word for a full disk.
std::string systemMessage(const std::string& what, int error);

}  // namespace zmr
