#include <doctest/doctest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "os/files.h"
#include "tests/file_test_support.h"

// PATH points at a stand-in xdg-open that records what it was given.
TEST_CASE("shell open hands the path to xdg-open, and fails without it") {
    std::string dir = scratch_dir("xdg_open");
    std::string bin = dir + "bin";
    std::filesystem::create_directory(bin);
    write_raw(bin + "/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"${0%/*}/opened.tmp\"\nmv \"${0%/*}/opened.tmp\" \"${0%/*}/opened\"\n");
    chmod((bin + "/xdg-open").c_str(), 0755);
    write_raw(dir + "document.txt", "x");

    std::string saved_path = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", (bin + ":/bin:/usr/bin").c_str(), 1);
    CHECK(os_shell_open(S(dir + "document.txt")) == 0);
    for (int i = 0; i < 500 && !std::filesystem::exists(bin + "/opened"); i++) usleep(10000);
    CHECK(read_raw(bin + "/opened") == dir + "document.txt");

    CHECK(os_shell_open(S(dir + "missing.txt")) == 1);
    setenv("PATH", dir.c_str(), 1);  // no xdg-open anywhere
    CHECK(os_shell_open(S(dir + "document.txt")) == 1);
    setenv("PATH", saved_path.c_str(), 1);
}
