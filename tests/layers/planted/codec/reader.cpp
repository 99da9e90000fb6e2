#include "codec/reader.h"

#include "base/result.h"
#include "cli/commands.h"
