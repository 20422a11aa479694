#include "host/PasswordVerifier.h"
