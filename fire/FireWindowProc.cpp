#include "fire/FireWindowProc.h"
