#pragma once
#include "codec/reader.h"
