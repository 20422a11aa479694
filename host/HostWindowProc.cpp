#include "host/HostWindowProc.h"
