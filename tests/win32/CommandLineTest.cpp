// The pure command-line reading: program path, switch, window handle.
#include <gtest/gtest.h>

#include <string>

#include "win32/CommandLine.h"

namespace {

const LeadByteTest NoLeadBytes = [](unsigned char) { return false; };
// A double-byte code page in the manner of Shift-JIS.
const LeadByteTest ShiftJisLeadBytes = [](unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
};

TEST(CommandLine, ProgramPathIsSkippedToTheSwitches)
{
    const struct {
        const char* line;
        const char* tail;
        LeadByteTest isLeadByte;
    } cases[] = {
        // clang-format off
        {"C:\\SAVER.SCR    \t /p 123", "/p 123", NoLeadBytes}, {"C:\\SAVER.SCR", "", NoLeadBytes},
        {"saver\x7F\x80\xFF /c", "/c", NoLeadBytes},  // high bytes belong to the path
        {"\"C:\\Program Files\\My Saver.scr\"/s", "/s", NoLeadBytes}, {"\"", "", NoLeadBytes},
        {"\"C:\\Program Files\\saver.scr /s", "", NoLeadBytes},  // unclosed quote
        {"\"\" /s", "/s", NoLeadBytes}, {"", "", NoLeadBytes},
        // 0x81 0x22: a double-byte character whose trail byte is the quote.
        {"\"C:\\\x81\"x.scr\" /s", "/s", ShiftJisLeadBytes},
        {"\"C:\\\x81\"x.scr\" /s", "x.scr\" /s", NoLeadBytes},
        {"\"C:\\\x83\x5C\x83\x74\x83\x67.scr\" /p 5", "/p 5", ShiftJisLeadBytes},
        // A leading blank or control character: no path.
        {"\t\x01\x1F /c", "/c", NoLeadBytes}, {"\x01saver.scr /s", "saver.scr /s", NoLeadBytes},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_STREQ(SkipProgramPath(c.line, c.isLeadByte), c.tail) << c.line;

    // A lead byte just before the end must not take the terminator along:
    // lines live in larger buffers, and what lies after the NUL stays unread.
    const char line[] = "\"C:\\saver\x81\0/s";
    EXPECT_EQ(SkipProgramPath(line, ShiftJisLeadBytes), line + 10);
}

// The window handle is the argument's leading digits, modulo 2^32.
TEST(CommandLine, SwitchChoosesTheModeAndItsArgument)
{
    const SaverMode Run = SaverMode::Run, Preview = SaverMode::Preview,
                    Change = SaverMode::ChangePassword, Configure = SaverMode::Configure,
                    NoOwner = SaverMode::ConfigureNoOwner, None = SaverMode::None;
    const struct {
        const char* tail;
        SaverMode mode;
        const char* argument;  // null: none
        uint32_t handle;
    } cases[] = {
        // clang-format off
        {"/s", Run, nullptr, 0}, {"-s", Run, nullptr, 0}, {"   /S", Run, nullptr, 0},
        {"/-/s", Run, nullptr, 0}, {"s:5 /c", Run, nullptr, 0},
        {"/p 123", Preview, "123", 123}, {"/P12ab", Preview, "12ab", 12},
        {"-l   007", Preview, "007", 7}, {"L4294967295", Preview, "4294967295", 4294967295u},
        {"/p 4294967297", Preview, "4294967297", 1}, {"/p:123", Preview, ":123", 0},
        {"/p 18446744073709551621", Preview, "18446744073709551621", 5},  // 2^64 + 5
        {"/p \t123", Preview, "\t123", 0}, {"/p", Preview, "", 0}, {"/p-5", Preview, "-5", 0},
        {"/p+5", Preview, "+5", 0}, {"/p0x1F", Preview, "0x1F", 0},
        {"/a 123", Change, "123", 123}, {"-A123", Change, "123", 123}, {"/a", Change, "", 0},
        {"/c", Configure, nullptr, 0}, {"C:123 /s", Configure, nullptr, 0},
        {"", NoOwner, nullptr, 0}, {"- / -", NoOwner, nullptr, 0},
        {"/x", None, nullptr, 0}, {"\t/s", None, nullptr, 0}, {"5", None, nullptr, 0},
        {":s", None, nullptr, 0}, {"\x80", None, nullptr, 0}, {"/\xFF", None, nullptr, 0},
        {"\xC3\xA1", None, nullptr, 0}, {"/\x01s", None, nullptr, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        const SaverSwitch found = ScanSaverSwitch(c.tail);
        EXPECT_EQ(found.mode, c.mode) << '"' << c.tail << '"';
        if (c.argument == nullptr) {
            EXPECT_EQ(found.argument, nullptr) << c.tail;
        } else {
            EXPECT_STREQ(found.argument, c.argument) << c.tail;
            EXPECT_EQ(ParseWindowHandle(c.argument), c.handle) << c.tail;
        }
    }
}

}  // namespace
