// The command line as plain text: the program path cut off, the switch found,
// a window handle read. No platform calls.
#pragma once
#include <cstdint>

enum class SaverMode {
    ConfigureNoOwner,  // nothing but blanks, dashes and slashes
    Configure,         // "C": owned by the foreground window
    ChangePassword,    // "A"
    Preview,           // "P" or "L"
    Run,               // "S": full screen
    None               // anything else: the command line is unusable
};

struct SaverSwitch {
    SaverMode mode;
    const char* argument;  // text after the letter and its blanks ("A", "P", "L"), else null
};

// Tells whether a byte leads a double-byte character of the active code page.
typedef bool (*LeadByteTest)(unsigned char byte);

// The tail of a whole command line: after the program path and every
// character from 0x01 to 0x20.
const char* SkipProgramPath(const char* commandLine, LeadByteTest isLeadByte);

// The mode that the first significant character of the tail selects.
SaverSwitch ScanSaverSwitch(const char* tail);

// Leading decimal digits, wrapping modulo 2^32; 0 when there are none.
uint32_t ParseWindowHandle(const char* text);
