// Runs a program as a user or the list of installed programs would, and waits
// for it and for every process it starts: an uninstaller hands its work to a
// copy of itself and returns at once.
#pragma once
#include <windows.h>

#include <string>

struct ProgramRun {
    bool started = false;
    bool finished = false;  // the whole run ended within the time allowed
    DWORD exitCode = 0;     // of the program itself
};

ProgramRun RunAndWait(const std::string& commandLine, DWORD timeoutMs);
