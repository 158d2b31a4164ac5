// Redirects the process's standard output (the handle log_printf writes to and
// the runtime's stdout) into a temporary file, one capture at a time.
#pragma once

#include <string>

void capture_stdout_begin(void);
// Restores standard output and returns everything written meanwhile.
std::string capture_stdout_end(void);
