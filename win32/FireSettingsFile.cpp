#include "fire/ProfileStore.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

uint32_t ProfileReadInt(const char* section, const char* key, int32_t defaultValue,
                        const char* file)
{
    return GetPrivateProfileIntA(section, key, defaultValue, file);
}

bool ProfileWriteString(const char* section, const char* key, const char* text, const char* file)
{
    return WritePrivateProfileStringA(section, key, text, file) != FALSE;
}
