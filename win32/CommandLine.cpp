#include "win32/CommandLine.h"

namespace {

// Bytes are compared unsigned: 0x80..0xFF belong to a path, never end it.
unsigned char ByteAt(const char* text)
{
    return static_cast<unsigned char>(*text);
}

const char* SkipArgumentBlanks(const char* text)
{
    while (*text == ' ') ++text;  // only blanks; a tab or a colon stays
    return text;
}

}  // namespace

const char* SkipProgramPath(const char* commandLine, LeadByteTest isLeadByte)
{
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') {
            // A trail byte may equal the quote, so a double-byte character
            // goes whole; a lead byte right before the end stays alone, so the
            // walk never passes the terminator.
            if (isLeadByte(ByteAt(p)) && p[1] != '\0') ++p;
            ++p;
        }
        if (*p == '"') ++p;
    } else if (ByteAt(p) > 0x20) {
        while (ByteAt(p) > 0x20) ++p;
    }
    while (ByteAt(p) >= 0x01 && ByteAt(p) <= 0x20) ++p;
    return p;
}

SaverSwitch ScanSaverSwitch(const char* tail)
{
    const char* p = tail;
    while (*p == ' ' || *p == '-' || *p == '/') ++p;
    // Read as a signed byte: 0x80..0xFF select no mode.
    switch (static_cast<signed char>(*p)) {
    case '\0':
        return {SaverMode::ConfigureNoOwner, nullptr};
    case 'A':
    case 'a':
        return {SaverMode::ChangePassword, SkipArgumentBlanks(p + 1)};
    case 'C':
    case 'c':
        return {SaverMode::Configure, nullptr};
    case 'P':
    case 'p':
    case 'L':
    case 'l':
        return {SaverMode::Preview, SkipArgumentBlanks(p + 1)};
    case 'S':
    case 's':
        return {SaverMode::Run, nullptr};
    default:
        return {SaverMode::None, nullptr};
    }
}

uint32_t ParseWindowHandle(const char* text)
{
    uint32_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p)
        value = value * 10u + static_cast<uint32_t>(*p - '0');
    return value;
}
