#include <unistd.h>

#include "tests/test_platform.h"

const char *test_system_library(void) { return "libm.so.6"; }
const char *test_system_symbol(void) { return "cos"; }

std::string helper_command(const char *arguments) {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof(path));
    std::string dir(path, n > 0 ? (size_t)n : 0);
    dir.resize(dir.find_last_of('/') + 1);
    return "'" + dir + "child_process_helper' " + arguments;
}

std::string command_argument(const std::string &argument) {
    std::string out = "'";
    for (char c : argument) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}
