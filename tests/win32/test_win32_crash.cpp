#include <windows.h>
#include <doctest/doctest.h>
#include <string.h>

#include <string>

#include "os/log.h"

// Started again with this marker, the test program faults before its tests run.
static const wchar_t CRASH_CHILD_MARKER[] = L"--fathomer-crash-child";

static void report_to_stdout(i32 kind, const char *text) {
    char line[256];
    int n = wsprintfA(line, "<%d %s>", kind, text);
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, (DWORD)n, &written, nullptr);
}

static void unused_handler(i32 kind, const char *text) { report_to_stdout(kind, "wrong handler"); }

static int crash_if_child(void) {
    if (!wcsstr(GetCommandLineW(), CRASH_CHILD_MARKER)) return 0;
    os_set_crash_handler(unused_handler);
    os_set_crash_handler(report_to_stdout);
    volatile int *page = (volatile int *)VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS);
    page[0] = 1;
    return 1;
}
static int crash_child = crash_if_child();

TEST_CASE("an access violation reaches the crash handler with kind 1 and ends the process") {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(exe) + L"\" " + CRASH_CHILD_MARKER;

    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE read_end, write_end;
    REQUIRE(CreatePipe(&read_end, &write_end, &inherit, 0));
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write_end;
    startup.hStdError = write_end;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    REQUIRE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process));
    CloseHandle(write_end);
    std::string out;
    char buffer[512];
    DWORD got;
    while (ReadFile(read_end, buffer, sizeof(buffer), &got, nullptr) && got > 0) out.append(buffer, got);
    CloseHandle(read_end);
    WaitForSingleObject(process.hProcess, 10000);
    DWORD exit_code = 0;
    GetExitCodeProcess(process.hProcess, &exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    CHECK(out == std::string("<1 ") + os_exception_text(0xC0000005) + ">");
    CHECK(exit_code == 0xC0000005);
    CHECK(crash_child == 0);
}
