#include "host/CommandLine.h"
