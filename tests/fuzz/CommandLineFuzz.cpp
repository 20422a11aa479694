// Arbitrary command lines through the path skipping, the switch scan and the
// window-handle reading: nothing is read past the line's end, the mode is one
// the saver knows, only the preview and the password change take an
// argument, and a handle written after "/p " reads back as written.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "win32/CommandLine.h"

namespace {

const LeadByteTest NoLeadBytes = [](unsigned char) { return false; };
// A trail byte may then be anything, the quote included.
const LeadByteTest HighBytesLead = [](unsigned char byte) { return byte >= 0x80; };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5) return 0;
    uint32_t handle;
    std::memcpy(&handle, data, sizeof handle);
    const LeadByteTest isLeadByte = data[4] & 1 ? HighBytesLead : NoLeadBytes;
    // The line and its NUL in a block of exactly their size, so that the
    // sanitizer sees a read past it; an embedded NUL ends the line early.
    const size_t length = size - 5;
    std::unique_ptr<char[]> line(new char[length + 1]);
    std::memcpy(line.get(), data + 5, length);
    line[length] = '\0';
    const char* end = line.get() + std::strlen(line.get());

    const char* tail = SkipProgramPath(line.get(), isLeadByte);
    if (tail < line.get() || tail > end) std::abort();
    for (const char* text : {tail, static_cast<const char*>(line.get())}) {
        const SaverSwitch found = ScanSaverSwitch(text);
        const bool takesArgument =
            found.mode == SaverMode::Preview || found.mode == SaverMode::ChangePassword;
        if (found.mode < SaverMode::ConfigureNoOwner || found.mode > SaverMode::None ||
            takesArgument != (found.argument != nullptr) ||
            (found.argument && (found.argument <= text || found.argument > end)))
            std::abort();
        if (found.argument) ParseWindowHandle(found.argument);
    }

    const std::string preview = "\"C:\\saver.scr\" /p " + std::to_string(handle);
    const SaverSwitch found = ScanSaverSwitch(SkipProgramPath(preview.c_str(), isLeadByte));
    if (found.mode != SaverMode::Preview || ParseWindowHandle(found.argument) != handle)
        std::abort();
    return 0;
}
