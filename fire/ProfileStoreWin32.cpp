#include "fire/ProfileStore.h"
