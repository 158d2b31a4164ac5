#include <windows.h>

#include <stdio.h>

#include <iostream>

#include "tests/test_platform.h"

const char *test_system_library(void) { return "kernel32.dll"; }
const char *test_system_symbol(void) { return "GetTickCount"; }

std::string helper_command(const char *arguments) {
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

// Under Wine a finished test program has hung in its exit-time clean-up now
// and then (about once in a full run, after cases of every kind had passed),
// until its time-out failed it.  With the reports written, the process ends
// here instead, without that clean-up.
int test_program_end(int result) {
    std::cout.flush();
    std::cerr.flush();
    fflush(stdout);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), (UINT)result);
    return result;
}
