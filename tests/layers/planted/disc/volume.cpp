#include "disc/volume.h"
