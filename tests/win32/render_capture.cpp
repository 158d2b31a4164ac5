#include <windows.h>

#include "tests/render_capture.h"

static HANDLE saved_stdout;
static HANDLE capture_file;

void render_capture_begin() {
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"cap", 0, path);
    capture_file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    saved_stdout = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, capture_file);
}

std::string render_capture_end() {
    SetStdHandle(STD_OUTPUT_HANDLE, saved_stdout);
    std::string text;
    SetFilePointer(capture_file, 0, nullptr, FILE_BEGIN);
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(capture_file, buffer, sizeof(buffer), &n, nullptr) && n > 0) text.append(buffer, n);
    CloseHandle(capture_file);
    return text;
}
