#include "PasswordChangeDouble.h"
#include "DoubleLog.h"

namespace {

struct PasswordChangeRecord {
    LONG callCount;
    char provider[64];
    HWND owner;
    DWORD third;
    DWORD fourth;
};

PasswordChangeRecord Change;

void LogCall()
{
    char line[160];
    lstrcpynA(line, Change.provider, sizeof Change.provider);
    char* end = line + lstrlenA(line);
    *end++ = ' ';
    end = AppendDecimal(end, reinterpret_cast<ULONG_PTR>(Change.owner));
    *end++ = ' ';
    end = AppendDecimal(end, Change.third);
    *end++ = ' ';
    end = AppendDecimal(end, Change.fourth);
    lstrcpyA(end, "\n");
    AppendToDoubleLog("EMBRIX_MPR_DOUBLE_LOG", line);
}

}  // namespace

extern "C" {

DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD third, DWORD fourth)
{
    ++Change.callCount;
    lstrcpynA(Change.provider, provider ? provider : "(null)", sizeof Change.provider);
    Change.owner = owner;
    Change.third = third;
    Change.fourth = fourth;
    LogCall();
    return ERROR_SUCCESS;
}

LONG WINAPI MprDoubleCallCount()
{
    return Change.callCount;
}

BOOL WINAPI MprDoubleLastCall(char* provider, DWORD providerSize, HWND* owner, DWORD* third,
                              DWORD* fourth)
{
    if (Change.callCount == 0)
        return FALSE;
    if (providerSize > 0)
        lstrcpynA(provider, Change.provider, static_cast<int>(providerSize));
    *owner = Change.owner;
    *third = Change.third;
    *fourth = Change.fourth;
    return TRUE;
}

}  // extern "C"
