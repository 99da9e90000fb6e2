#pragma once
// The options of `build` that change how songs are read: --text-encoding,
// --kar-text and --lenient. All off by default.

#include <CLI/CLI.hpp>

#include "image/convert_options.h"

namespace zmr::cli {

void addConvertFlags(CLI::App& command, ConvertOptions& options);

}  // namespace zmr::cli
