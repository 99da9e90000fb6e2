#pragma once
#include "base/result.h"
