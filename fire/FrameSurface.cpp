#include "fire/FrameSurface.h"
