#include "base/result.h"
