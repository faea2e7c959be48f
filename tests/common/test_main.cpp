// GoogleTest entry point shared by every test executable. On Windows a
// crash ends the process at once instead of waiting for a debugger.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#include <cstdio>
static LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* e) {
    std::fprintf(stderr, "unhandled exception 0x%08lx\n",
                 e && e->ExceptionRecord ? e->ExceptionRecord->ExceptionCode : 0ul);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    SetUnhandledExceptionFilter(EndOnCrash);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
