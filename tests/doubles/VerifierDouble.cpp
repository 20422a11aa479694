#include "VerifierDouble.h"

namespace {

constexpr LONG MaxScript = 16;
constexpr LONG MaxCalls = 64;

struct VerifierDoubleRecord {
    BOOL script[MaxScript];
    LONG scriptCount;
    LONG scriptNext;
    VerifierDuringCall duringCall;
    LONG callCount;
    HWND callWindow[MaxCalls];
    DWORD callTick[MaxCalls];
};

VerifierDoubleRecord Verifier;

// Scripted answers in order, the last one repeated; accepts when none were
// scripted, so a forgotten set-up never keeps a saver up.
BOOL NextAnswer()
{
    if (Verifier.scriptCount == 0)
        return TRUE;
    const BOOL answer = Verifier.script[Verifier.scriptNext];
    if (Verifier.scriptNext + 1 < Verifier.scriptCount)
        ++Verifier.scriptNext;
    return answer ? TRUE : FALSE;
}

}  // namespace

extern "C" {

BOOL WINAPI VerifyScreenSavePwd(HWND window)
{
    const LONG call = Verifier.callCount + 1;
    if (Verifier.callCount < MaxCalls) {
        Verifier.callWindow[Verifier.callCount] = window;
        Verifier.callTick[Verifier.callCount] = GetTickCount();
    }
    Verifier.callCount = call;

    if (Verifier.duringCall)
        Verifier.duringCall(window, call);

    return NextAnswer();
}

void WINAPI VerifierDoubleReset()
{
    Verifier = VerifierDoubleRecord{};
}

void WINAPI VerifierDoubleScript(const BOOL* answers, LONG count)
{
    if (count > MaxScript)
        count = MaxScript;
    if (count < 0)
        count = 0;
    for (LONG i = 0; i < count; ++i)
        Verifier.script[i] = answers[i];
    Verifier.scriptCount = count;
    Verifier.scriptNext = 0;
}

void WINAPI VerifierDoubleDuringCall(VerifierDuringCall hook)
{
    Verifier.duringCall = hook;
}

LONG WINAPI VerifierDoubleCallCount()
{
    return Verifier.callCount;
}

BOOL WINAPI VerifierDoubleCallAt(LONG index, HWND* window, DWORD* tick)
{
    if (index < 0 || index >= Verifier.callCount || index >= MaxCalls)
        return FALSE;
    *window = Verifier.callWindow[index];
    *tick = Verifier.callTick[index];
    return TRUE;
}

}  // extern "C"
