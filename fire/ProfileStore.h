// The private profile file functions the settings need: the platform's own
// on Windows, a small file layer of ours elsewhere.
#pragma once
#include <cstdint>

// The value of key in section of file, as the platform's GetPrivateProfileInt
// reads it, or defaultValue when file, section or key is missing.
uint32_t ProfileReadInt(const char* section, const char* key, int32_t defaultValue,
                        const char* file);

// Sets key in section of file to text, as WritePrivateProfileString does.
// Returns false when the file could not be written.
bool ProfileWriteString(const char* section, const char* key, const char* text, const char* file);

#ifndef _WIN32
// Where a file named without a directory lives; none means the current
// directory. The platform uses its Windows directory instead.
extern const char* ProfileDirectory;
#endif
