// The verifier double as other processes drive it: EMBRIX_VERIFIER_DOUBLE
// picks the answer and EMBRIX_VERIFIER_DOUBLE_LOG gets one line per call.
#include <string>
#include "HostTestSupport.h"

namespace {

const char ProbeLog[] = "verifier_double_probe.log";

// Runs the probe with the mode set; its exit code, or ~0 when it hung.
DWORD RunProbe(const char* mode, const char* window)
{
    SetEnvironmentVariableA("EMBRIX_VERIFIER_DOUBLE", mode);
    SetEnvironmentVariableA("EMBRIX_VERIFIER_DOUBLE_LOG", ProbeLog);
    std::string commandLine = std::string("verifier_double_probe.exe ") + window;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    DWORD exitCode = ~0u;
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        // A hang guard, not a measurement.
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &exitCode);
        else
            TerminateProcess(process.hProcess, exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SetEnvironmentVariableA("EMBRIX_VERIFIER_DOUBLE", nullptr);
    SetEnvironmentVariableA("EMBRIX_VERIFIER_DOUBLE_LOG", nullptr);
    return exitCode;
}

TEST(VerifierDoubleModes, AnswersFaultsAndLogsForAnotherProcess)
{
    DeleteFileA(ProbeLog);
    EXPECT_EQ(RunProbe("accept", "65570"), 1u);
    EXPECT_EQ(RunProbe("refuse", "196612"), 0u);
    EXPECT_EQ(RunProbe("fault", "12"), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    EXPECT_EQ(RunProbe(nullptr, "7"), 1u);  // unset: accepts
    EXPECT_EQ(ReadLogFile(ProbeLog),
              "VerifyScreenSavePwd 65570 accept\n"
              "VerifyScreenSavePwd 196612 refuse\n"
              "VerifyScreenSavePwd 12 fault\n"
              "VerifyScreenSavePwd 7 accept\n");
    DeleteFileA(ProbeLog);
}

}  // namespace
