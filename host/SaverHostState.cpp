#include "host/SaverHostState.h"
