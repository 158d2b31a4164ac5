#include <windows.h>

#include "tests/test_platform.h"

const char *test_system_library(void) { return "kernel32.dll"; }
const char *test_system_symbol(void) { return "GetTickCount"; }

// Children started with handle inheritance take every inheritable handle of
// the test process, the test runner's output pipes among them; a descendant that
// outlives its test (Wine's desktop process, started by the first window of a
// session) would keep the runner waiting for the pipes to close.
static void keep_std_handles_private(void) {
    for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        HANDLE h = GetStdHandle(which);
        if (h && h != INVALID_HANDLE_VALUE) SetHandleInformation(h, HANDLE_FLAG_INHERIT, 0);
    }
}

std::string helper_command(const char *arguments) {
    keep_std_handles_private();
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    dir.resize(dir.find_last_of(L"\\/") + 1);
    dir += L"child_process_helper.exe";
    char utf8[MAX_PATH * 3];
    int len = WideCharToMultiByte(CP_UTF8, 0, dir.c_str(), (int)dir.size(), utf8, sizeof(utf8), nullptr, nullptr);
    std::string command = "\"";
    command.append(utf8, len > 0 ? (size_t)len : 0);
    command += "\" ";
    command += arguments;
    return command;
}
