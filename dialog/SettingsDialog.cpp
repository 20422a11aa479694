#include "dialog/SettingsDialog.h"
