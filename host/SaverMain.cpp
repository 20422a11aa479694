#include "host/SaverMain.h"
