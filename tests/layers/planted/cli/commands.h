#pragma once
#include "disc/volume.h"
#include "songbook/book.h"
