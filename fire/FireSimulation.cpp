#include "fire/FireSimulation.h"
