#include <doctest/doctest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

#include "os/console.h"

// A pseudo-terminal stands in for standard input and output while it lasts.
struct TestTerminal {
    int master, slave, saved_in, saved_out;
};

static bool open_test_terminal(TestTerminal *t, unsigned short columns) {
    t->master = posix_openpt(O_RDWR | O_NOCTTY);
    if (t->master < 0 || grantpt(t->master) != 0 || unlockpt(t->master) != 0) return false;
    t->slave = open(ptsname(t->master), O_RDWR | O_NOCTTY);
    if (t->slave < 0) return false;
    struct winsize size = {30, columns, 970, 600};
    ioctl(t->master, TIOCSWINSZ, &size);
    t->saved_in = dup(STDIN_FILENO);
    t->saved_out = dup(STDOUT_FILENO);
    dup2(t->slave, STDIN_FILENO);
    dup2(t->slave, STDOUT_FILENO);
    return true;
}

static void close_test_terminal(TestTerminal *t) {
    dup2(t->saved_in, STDIN_FILENO);
    dup2(t->saved_out, STDOUT_FILENO);
    close(t->saved_in);
    close(t->saved_out);
    close(t->slave);
    close(t->master);
}

// What reached the terminal so far.
static std::string drain(int master) {
    std::string got;
    char buffer[256];
    struct pollfd p = {master, POLLIN, 0};
    while (poll(&p, 1, 50) > 0) {
        ssize_t n = read(master, buffer, sizeof(buffer));
        if (n <= 0) break;
        got.append(buffer, (size_t)n);
    }
    return got;
}

TEST_CASE("terminal console operations speak escapes and read the terminal's size") {
    TestTerminal t;
    REQUIRE(open_test_terminal(&t, 97));
    i32 width = os_get_console_width();
    ConsoleRect rect = os_get_console_window_rect();
    os_move_console_cursor(-5, 0);
    std::string left = drain(t.master);
    os_move_console_cursor(2, 1);
    std::string moved = drain(t.master);
    os_move_console_window(30, 40);
    os_set_console_window_height(200);
    os_flash_console_window();
    std::string window = drain(t.master);
    write(t.master, "\xC3\xA9", 2);
    i16 first = os_read_console_key();
    i16 second = os_read_console_key();
    close_test_terminal(&t);

    CHECK(width == 97);
    CHECK(rect.width == 970);
    CHECK(rect.height == 600);
    CHECK(left == "\x1b[5D");
    CHECK(moved == "\x1b[2C\x1b[1B");
    CHECK(window == "\x1b[3;30;40t\x1b[4;200t\a");
    CHECK(first == (i16)(i8)0xC3);
    CHECK(second == (i16)(i8)0xA9);
}

TEST_CASE("console operations write nothing where output is not a terminal") {
    int pipe_fds[2];
    REQUIRE(pipe(pipe_fds) == 0);
    int saved = dup(STDOUT_FILENO);
    dup2(pipe_fds[1], STDOUT_FILENO);
    os_move_console_cursor(3, 3);
    os_move_console_window(1, 2);
    i32 width = os_get_console_width();
    dup2(saved, STDOUT_FILENO);
    close(saved);
    close(pipe_fds[1]);
    char c;
    CHECK(read(pipe_fds[0], &c, 1) == 0);
    close(pipe_fds[0]);
    CHECK(width == 0);
}
