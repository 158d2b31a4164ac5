#include <stdio.h>
#include <unistd.h>

#include "tests/stdout_capture.h"

static FILE *capture_file;
static int saved_stdout = -1;

void capture_stdout_begin(void) {
    fflush(stdout);
    capture_file = tmpfile();
    saved_stdout = dup(STDOUT_FILENO);
    dup2(fileno(capture_file), STDOUT_FILENO);
}

std::string capture_stdout_end(void) {
    fflush(stdout);
    dup2(saved_stdout, STDOUT_FILENO);
    close(saved_stdout);
    std::string text;
    rewind(capture_file);
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), capture_file)) > 0) text.append(buffer, n);
    fclose(capture_file);
    return text;
}
