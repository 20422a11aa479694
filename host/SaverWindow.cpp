#include "host/SaverWindow.h"
