#include <doctest/doctest.h>

#include <stdio.h>
#include <string.h>

#include "os/console.h"

TEST_CASE("console lines lose one newline, and a last line without one is whole") {
    const char *path = "console_line_input.txt";
    FILE *f = fopen(path, "wb");
    REQUIRE(f);
    fputs("abc\n\nxyz", f);
    fclose(f);
    REQUIRE(freopen(path, "r", stdin));

    char buffer[16];
    memset(buffer, 'q', sizeof(buffer));
    CHECK(os_read_console_line(sizeof(buffer), buffer) == 3);
    CHECK(memcmp(buffer, "abc", 4) == 0);
    CHECK(os_read_console_line(sizeof(buffer), buffer) == 0);
    CHECK(buffer[0] == 0);
    CHECK(os_read_console_line(sizeof(buffer), buffer) == 3);
    CHECK(memcmp(buffer, "xyz", 4) == 0);
    // At the end of input the buffer is left empty.
    CHECK(os_read_console_line(sizeof(buffer), buffer) == 0);
    CHECK(buffer[0] == 0);
    fclose(stdin);
    remove(path);
}

TEST_CASE("a console line longer than the buffer comes in size - 1 byte parts") {
    const char *path = "console_long_input.txt";
    FILE *f = fopen(path, "wb");
    REQUIRE(f);
    fputs("abcdefgh\n", f);
    fclose(f);
    REQUIRE(freopen(path, "r", stdin));
    char buffer[4];
    CHECK(os_read_console_line(sizeof(buffer), buffer) == 3);
    CHECK(memcmp(buffer, "abc", 4) == 0);
    CHECK(os_read_console_line(sizeof(buffer), buffer) == 3);
    CHECK(os_read_console_line(sizeof(buffer), buffer) == 2);
    CHECK(memcmp(buffer, "gh", 3) == 0);
    CHECK(os_read_console_line(0, buffer) == 0);
    fclose(stdin);
    remove(path);
}
