#pragma once
// A write that failed, as a failure whose kind tells a full disk from any
// other refusal, so that a front-end can advise freeing space rather than
// choosing another folder.

#include <string>
#include <system_error>

#include "base/result.h"

namespace zmr {

// DiskFull where the system says there is no room left (a quota counts),
// WriteFailed otherwise.
FailureKind writeFailureKind(int error);
FailureKind writeFailureKind(const std::error_code& error);

// "<what>: <the system's reason for errno>" of that kind.
Failure writeFailure(const std::string& what, int error);

}  // namespace zmr
