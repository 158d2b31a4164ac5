#include <windows.h>
#include <io.h>
#include <stdio.h>

#include "../stdout_capture.h"

static FILE *capture_file;
static int saved_stdout = -1;
static HANDLE saved_handle;

// The log writes to the standard output handle, the runtime's printf channel
// to its descriptor 1: both are pointed at one temporary file.
void stdout_capture_begin(void) {
    fflush(stdout);
    capture_file = tmpfile();
    saved_stdout = _dup(1);
    _dup2(_fileno(capture_file), 1);
    saved_handle = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, (HANDLE)_get_osfhandle(_fileno(capture_file)));
}

std::string stdout_capture_end(void) {
    fflush(stdout);
    SetStdHandle(STD_OUTPUT_HANDLE, saved_handle);
    _dup2(saved_stdout, 1);
    _close(saved_stdout);
    std::string text;
    fseek(capture_file, 0, SEEK_SET);
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, capture_file)) > 0) text.append(buffer, n);
    fclose(capture_file);
    return text;
}
