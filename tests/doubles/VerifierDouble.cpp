#include "VerifierDouble.h"
#include "DoubleLog.h"

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

enum Answer { Accept, Refuse, Fault };

Answer AnswerFromEnvironment()
{
    char mode[16];
    const DWORD length = GetEnvironmentVariableA("EMBRIX_VERIFIER_DOUBLE", mode, sizeof mode);
    if (length == 0 || length >= sizeof mode)
        return Accept;
    if (lstrcmpiA(mode, "refuse") == 0)
        return Refuse;
    if (lstrcmpiA(mode, "fault") == 0)
        return Fault;
    return Accept;
}

Answer NextAnswer()
{
    if (Verifier.scriptCount == 0)
        return AnswerFromEnvironment();
    const BOOL answer = Verifier.script[Verifier.scriptNext];
    if (Verifier.scriptNext + 1 < Verifier.scriptCount)
        ++Verifier.scriptNext;
    return answer ? Accept : Refuse;
}

void LogCall(HWND window, Answer answer)
{
    static const char* const words[] = {"accept", "refuse", "fault"};
    char line[96] = "VerifyScreenSavePwd ";
    char* end = AppendDecimal(line + lstrlenA(line), reinterpret_cast<ULONG_PTR>(window));
    *end++ = ' ';
    lstrcpyA(end, words[answer]);
    lstrcatA(line, "\n");
    AppendToDoubleLog("EMBRIX_VERIFIER_DOUBLE_LOG", line);
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

    const Answer answer = NextAnswer();
    LogCall(window, answer);
    if (answer == Fault) {
        // A store through a volatile pointer: the compiler cannot see it is null
        // and turn it into a trap, so the platform reports an access violation.
        volatile LONG* volatile nowhere = nullptr;
        *nowhere = 1;
    }
    return answer == Accept ? TRUE : FALSE;
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
