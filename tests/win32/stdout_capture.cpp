#include <windows.h>
#include <io.h>
#include <stdio.h>

#include "tests/stdout_capture.h"

static FILE *capture_file;
static int saved_fd = -1;
static HANDLE saved_handle;

void capture_stdout_begin(void) {
    fflush(stdout);
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"out", 0, path);
    capture_file = _wfopen(path, L"w+bD");
    saved_fd = _dup(1);
    saved_handle = GetStdHandle(STD_OUTPUT_HANDLE);
    _dup2(_fileno(capture_file), 1);
    SetStdHandle(STD_OUTPUT_HANDLE, (HANDLE)_get_osfhandle(1));
}

std::string capture_stdout_end(void) {
    fflush(stdout);
    _dup2(saved_fd, 1);
    _close(saved_fd);
    SetStdHandle(STD_OUTPUT_HANDLE, saved_handle);
    std::string text;
    rewind(capture_file);
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), capture_file)) > 0) text.append(buffer, n);
    fclose(capture_file);
    return text;
}
