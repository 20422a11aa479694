#include "fire/FireColors.h"
