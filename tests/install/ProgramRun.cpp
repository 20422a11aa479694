#include "install/ProgramRun.h"

#include <vector>

ProgramRun RunAndWait(const std::string& commandLine, DWORD timeoutMs)
{
    ProgramRun run;
    // The job holds every descendant; closing it ends whatever overstayed.
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (!job) return run;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);

    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    run.started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                 nullptr, nullptr, &startup, &process) != 0;
    if (!run.started) {
        CloseHandle(job);
        return run;
    }
    AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);

    DWORD start = GetTickCount();
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        for (;;) {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
            if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                           sizeof accounting, nullptr))
                break;
            if (accounting.ActiveProcesses == 0) {
                run.finished = true;
                break;
            }
            if (GetTickCount() - start >= timeoutMs) break;
            Sleep(50);
        }
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(job);
    return run;
}
