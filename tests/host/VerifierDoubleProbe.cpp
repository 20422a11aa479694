// Calls the verifier double the way another process would meet it:
//   verifier_double_probe <window handle in decimal>
// exits with its answer, or with the exception code when the call faults.
#include <windows.h>
#include <cstdlib>

namespace {

LONG WINAPI ExitWithExceptionCode(EXCEPTION_POINTERS* exception)
{
    ExitProcess(exception->ExceptionRecord->ExceptionCode);
}

}  // namespace

int main(int argc, char** argv)
{
    SetUnhandledExceptionFilter(ExitWithExceptionCode);
    HMODULE library = LoadLibraryA("PASSWORD.CPL");
    if (!library)
        return 100;
    typedef BOOL(WINAPI * VerifyEntry)(HWND);
    VerifyEntry verify = reinterpret_cast<VerifyEntry>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "VerifyScreenSavePwd")));
    if (!verify)
        return 101;
    const ULONG_PTR handle = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 0;
    return verify(reinterpret_cast<HWND>(handle)) ? 1 : 0;
}
