// Arbitrary command lines through the path skipping, the switch scan and the
// window-handle reading: every pointer handed back stays inside the text,
// and what they report agrees with the text itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/CommandLine.h"

namespace {

bool NoLeadBytes(unsigned char)
{
    return false;
}
bool EveryHighByteLeads(unsigned char byte)
{
    return byte >= 0x80;
}
// The lead-byte ranges of the Japanese code page: its trail bytes may be '"'.
bool JapaneseLeadBytes(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

void Require(bool holds)
{
    if (!holds) std::abort();
}

bool InsideText(const char* p, const char* text, const char* end)
{
    return p >= text && p <= end;
}

bool IsSkippedBeforeSwitch(char c)
{
    return c == ' ' || c == '-' || c == '/';
}

// The leading decimal digits, with the arithmetic done wide and then cut to
// 32 bits.
uint32_t LeadingDigits(const char* text)
{
    uint64_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p)
        value = (value * 10 + static_cast<uint64_t>(*p - '0')) & 0xFFFFFFFFu;
    return static_cast<uint32_t>(value);
}

void CheckHandle(const char* text)
{
    Require(ParseWindowHandle(text) == LeadingDigits(text));
}

void CheckSwitch(const char* tail, const char* end)
{
    const SaverSwitch found = ScanSaverSwitch(tail);
    const char* deciding = tail;
    while (IsSkippedBeforeSwitch(*deciding)) ++deciding;
    Require((found.mode == SaverMode::ConfigureNoOwner) == (*deciding == '\0'));

    const bool takesArgument =
        found.mode == SaverMode::ChangePassword || found.mode == SaverMode::Preview;
    Require(takesArgument == (found.argument != nullptr));
    if (found.argument != nullptr) {
        // Right after the letter and its blanks, and never past the end.
        Require(InsideText(found.argument, deciding + 1, end));
        Require(*found.argument != ' ');
        for (const char* p = deciding + 1; p < found.argument; ++p) Require(*p == ' ');
        CheckHandle(found.argument);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    // The first byte picks the code page; the rest is the command line, which
    // the platform always ends with a NUL (an embedded one ends it early).
    static const LeadByteTest codePages[] = {NoLeadBytes, EveryHighByteLeads, JapaneseLeadBytes};
    const LeadByteTest isLeadByte = codePages[data[0] % 3];
    const std::string line(reinterpret_cast<const char*>(data + 1), size - 1);
    const char* text = line.c_str();
    const char* end = text + std::strlen(text);

    const char* tail = SkipProgramPath(text, isLeadByte);
    Require(InsideText(tail, text, end));
    const unsigned char first = static_cast<unsigned char>(*tail);
    Require(first == 0 || first > 0x20);

    CheckSwitch(tail, end);
    // Started without a program path, the whole line is the tail.
    CheckSwitch(text, end);
    CheckHandle(text);
    return 0;
}
