// The process entry: cuts the program path off the platform's command line
// and hands the rest to SaverMain.
#include <windows.h>

#include "win32/CommandLine.h"
#include "win32/SaverMain.h"

namespace {

bool IsActiveCodePageLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}

}  // namespace

// The runtime's own view of the command line is not used: the tail is cut
// from GetCommandLineA so that quotes and double-byte paths are read our way.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand)
{
    const char* tail = SkipProgramPath(GetCommandLineA(), IsActiveCodePageLeadByte);
    return SaverMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(tail), showCommand);
}
