#include "fire/FireSettings.h"
