#include "host/DefaultSaverProc.h"
