// Names and paths that differ between the two test builds.
#pragma once

#include <string>

// A library every machine of the platform has, and one function it exports.
const char *test_system_library(void);
const char *test_system_symbol(void);
// A command line that runs the child-process helper built beside the tests.
std::string helper_command(const char *arguments);
// One argument written for what runs os_run_process's command: the shell on
// POSIX, the child's own start-up code on Windows.
std::string command_argument(const std::string &argument);
