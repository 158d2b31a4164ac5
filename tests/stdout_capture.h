// Collects what the program writes to standard output (both channels) while
// a test runs a piece of code.
#pragma once

#include <string>

void stdout_capture_begin(void);
// Ends the capture and gives what was written since its beginning.
std::string stdout_capture_end(void);
