#include <windows.h>

#include "os/system.h"
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

std::string command_argument(const std::string &argument) {
    std::string out(2 * argument.size() + 2, '\0');
    out.resize(os_quote_argument(Str{argument.size(), argument.data()}, out.data()));
    return out;
}
