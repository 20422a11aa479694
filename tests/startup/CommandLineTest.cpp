// The pure command-line reading: program path, switch, window handle.
#include <gtest/gtest.h>

#include <string>

#include "host/CommandLine.h"

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

TEST(CommandLine, SwitchChoosesTheModeAndItsArgument)
{
    const SaverMode Run = SaverMode::Run, Preview = SaverMode::Preview,
                    Change = SaverMode::ChangePassword, Configure = SaverMode::Configure,
                    NoOwner = SaverMode::ConfigureNoOwner, None = SaverMode::None;
    const struct {
        const char* tail;
        SaverMode mode;
        const char* argument;  // null: none
    } cases[] = {
        // clang-format off
        {"/s", Run, nullptr}, {"-s", Run, nullptr}, {"   /S", Run, nullptr},
        {"/-/s", Run, nullptr}, {"s:5 /c", Run, nullptr},
        {"/p 123", Preview, "123"}, {"/P123", Preview, "123"}, {"-l   123", Preview, "123"},
        {"L123", Preview, "123"}, {"/p:123", Preview, ":123"}, {"/p \t123", Preview, "\t123"},
        {"/p", Preview, ""}, {"/a 123", Change, "123"}, {"-A123", Change, "123"},
        {"/a", Change, ""}, {"/c", Configure, nullptr}, {"C:123 /s", Configure, nullptr},
        {"", NoOwner, nullptr}, {"- / -", NoOwner, nullptr},
        {"/x", None, nullptr}, {"\t/s", None, nullptr}, {"5", None, nullptr},
        {":s", None, nullptr}, {"\x80", None, nullptr}, {"/\xFF", None, nullptr},
        {"\xC3\xA1", None, nullptr}, {"/\x01s", None, nullptr},
        // clang-format on
    };
    for (const auto& c : cases) {
        const SaverSwitch found = ScanSaverSwitch(c.tail);
        EXPECT_EQ(found.mode, c.mode) << '"' << c.tail << '"';
        if (c.argument == nullptr) {
            EXPECT_EQ(found.argument, nullptr) << c.tail;
        } else {
            EXPECT_STREQ(found.argument, c.argument) << c.tail;
        }
    }
}

TEST(CommandLine, WindowHandleIsTheLeadingDigitsModulo2To32)
{
    const struct {
        const char* text;
        uint32_t handle;
    } cases[] = {
        // clang-format off
        {"123", 123}, {"12ab", 12}, {"0", 0}, {"007", 7}, {"", 0}, {"-5", 0}, {"+5", 0},
        {" 5", 0}, {"0x1F", 0}, {"abc", 0}, {"4294967295", 4294967295u}, {"4294967297", 1},
        {"4294967296", 0}, {"18446744073709551621", 5},  // 2^64 + 5
        // clang-format on
    };
    for (const auto& c : cases) EXPECT_EQ(ParseWindowHandle(c.text), c.handle) << c.text;
}

}  // namespace
