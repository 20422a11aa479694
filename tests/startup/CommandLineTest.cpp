// The pure command-line reading: program path, switch, window handle.
#include <gtest/gtest.h>

#include <string>

#include "host/CommandLine.h"

namespace {

bool NoLeadBytes(unsigned char) { return false; }

// A double-byte code page in the manner of Shift-JIS.
bool ShiftJisLeadBytes(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Every byte leads: a trail byte may then be anything, the quote included.
bool EveryByteLeads(unsigned char) { return true; }

std::string Tail(const char* line, LeadByteTest isLeadByte = NoLeadBytes) {
    return SkipProgramPath(line, isLeadByte);
}

TEST(ProgramPath, PlainPathEndsAtTheFirstBlankOrControlCharacter) {
    EXPECT_EQ(Tail("C:\\SAVER.SCR /s"), "/s");
    EXPECT_EQ(Tail("C:\\SAVER.SCR\t/s"), "/s");
    EXPECT_EQ(Tail("C:\\SAVER.SCR    \t /p 123"), "/p 123");
    EXPECT_EQ(Tail("C:\\SAVER.SCR"), "");
    EXPECT_EQ(Tail("saver\x7F\x80\xFF /c"), "/c");  // high bytes belong to the path
}

TEST(ProgramPath, QuotedPathKeepsItsBlanks) {
    EXPECT_EQ(Tail("\"C:\\Program Files\\My Saver.scr\" /s"), "/s");
    EXPECT_EQ(Tail("\"C:\\Program Files\\My Saver.scr\"/s"), "/s");
    EXPECT_EQ(Tail("\"C:\\a b.scr\""), "");
}

TEST(ProgramPath, UnclosedQuoteTakesTheWholeLine) {
    EXPECT_EQ(Tail("\"C:\\Program Files\\saver.scr /s"), "");
    EXPECT_EQ(Tail("\""), "");
}

TEST(ProgramPath, EmptyQuotesAreAnEmptyPath) {
    EXPECT_EQ(Tail("\"\" /s"), "/s");
    EXPECT_EQ(Tail("\"\"/c"), "/c");
    EXPECT_EQ(Tail("\"\""), "");
}

TEST(ProgramPath, DoubleByteCharactersAreSteppedOverWhole) {
    // 0x81 0x22: a double-byte character whose trail byte is the quote.
    EXPECT_EQ(Tail("\"C:\\\x81\"x.scr\" /s", ShiftJisLeadBytes), "/s");
    EXPECT_EQ(Tail("\"C:\\\x81\"x.scr\" /s", NoLeadBytes), "x.scr\" /s");
    EXPECT_EQ(Tail("\"C:\\\x83\x5C\x83\x74\x83\x67.scr\" /p 5", ShiftJisLeadBytes), "/p 5");
}

TEST(ProgramPath, LeadByteAtTheEndDoesNotPassTheTerminator) {
    // Lines live in larger buffers; what lies after the NUL must stay unread.
    const char line[] = "\"C:\\saver\x81\0/s";
    EXPECT_EQ(Tail(line, ShiftJisLeadBytes), "");
    EXPECT_EQ(SkipProgramPath(line, ShiftJisLeadBytes), line + 10);
    const char lone[] = "\"\x81\0\"/s";
    EXPECT_EQ(SkipProgramPath(lone, EveryByteLeads), lone + 2);
}

TEST(ProgramPath, LeadingBlankOrControlCharacterMeansNoPath) {
    EXPECT_EQ(Tail(" /s"), "/s");
    EXPECT_EQ(Tail("\t\x01\x1F /c"), "/c");
    EXPECT_EQ(Tail("\x01saver.scr /s"), "saver.scr /s");
    EXPECT_EQ(Tail(""), "");
}

SaverMode ModeOf(const char* tail) { return ScanSaverSwitch(tail).mode; }

TEST(SaverSwitchScan, FullScreenWhateverFollows) {
    for (const char* tail : {"/s", "-s", "s", "S", "   /S", "/-/s", "/s /c", "/s:5", "S P"})
        EXPECT_EQ(ModeOf(tail), SaverMode::Run) << tail;
    EXPECT_EQ(ScanSaverSwitch("/s 123").argument, nullptr);
}

TEST(SaverSwitchScan, PreviewTakesTheTextAfterItsBlanks) {
    for (const char* tail : {"/p 123", "/p123", "/P    123", "-l 123", "L123"}) {
        const SaverSwitch found = ScanSaverSwitch(tail);
        EXPECT_EQ(found.mode, SaverMode::Preview) << tail;
        ASSERT_NE(found.argument, nullptr) << tail;
        EXPECT_STREQ(found.argument, "123") << tail;
    }
    EXPECT_STREQ(ScanSaverSwitch("/p:123").argument, ":123");
    EXPECT_STREQ(ScanSaverSwitch("/p \t123").argument, "\t123");
    EXPECT_STREQ(ScanSaverSwitch("/p").argument, "");
    EXPECT_STREQ(ScanSaverSwitch("/p   ").argument, "");
}

TEST(SaverSwitchScan, ChangePasswordTakesTheTextAfterItsBlanks) {
    for (const char* tail : {"/a 123", "-A123", "a   123"}) {
        const SaverSwitch found = ScanSaverSwitch(tail);
        EXPECT_EQ(found.mode, SaverMode::ChangePassword) << tail;
        EXPECT_STREQ(found.argument, "123") << tail;
    }
    EXPECT_STREQ(ScanSaverSwitch("/a").argument, "");
}

TEST(SaverSwitchScan, ConfigureOwnedOrNot) {
    for (const char* tail : {"/c", "C", "-c:123", "/c /s"})
        EXPECT_EQ(ModeOf(tail), SaverMode::Configure) << tail;
    for (const char* tail : {"", " ", "///", "- / -", "-"})
        EXPECT_EQ(ModeOf(tail), SaverMode::ConfigureNoOwner) << '"' << tail << '"';
}

TEST(SaverSwitchScan, EveryOtherCharacterIsUnusable) {
    for (const char* tail : {"/x", "\t/s", "\ts", "5", "/1", ":s", "\x80", "/\xFF", "\xE1",
                             "\xC3\xA1", "/\x01s"})
        EXPECT_EQ(ModeOf(tail), SaverMode::None) << tail;
}

TEST(WindowHandleText, LeadingDigitsOnly) {
    EXPECT_EQ(ParseWindowHandle("123"), 123u);
    EXPECT_EQ(ParseWindowHandle("12ab"), 12u);
    EXPECT_EQ(ParseWindowHandle("0"), 0u);
    EXPECT_EQ(ParseWindowHandle("007"), 7u);
    EXPECT_EQ(ParseWindowHandle(""), 0u);
    EXPECT_EQ(ParseWindowHandle("-5"), 0u);
    EXPECT_EQ(ParseWindowHandle("+5"), 0u);
    EXPECT_EQ(ParseWindowHandle(" 5"), 0u);
    EXPECT_EQ(ParseWindowHandle("0x1F"), 0u);
    EXPECT_EQ(ParseWindowHandle("abc"), 0u);
}

TEST(WindowHandleText, WrapsModulo2To32) {
    EXPECT_EQ(ParseWindowHandle("4294967295"), 4294967295u);
    EXPECT_EQ(ParseWindowHandle("4294967297"), 1u);
    EXPECT_EQ(ParseWindowHandle("4294967296"), 0u);
    EXPECT_EQ(ParseWindowHandle("18446744073709551621"), 5u);  // 2^64 + 5
}

}  // namespace
