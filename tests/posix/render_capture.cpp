#include <stdio.h>
#include <unistd.h>

#include "tests/render_capture.h"

static int saved_stdout = -1;
static FILE *capture_file;

void render_capture_begin() {
    fflush(stdout);
    capture_file = tmpfile();
    saved_stdout = dup(STDOUT_FILENO);
    dup2(fileno(capture_file), STDOUT_FILENO);
}

std::string render_capture_end() {
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
