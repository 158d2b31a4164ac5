// Captures what log_printf writes to standard output between begin and end.
#pragma once

#include <string>

void render_capture_begin();
std::string render_capture_end();
