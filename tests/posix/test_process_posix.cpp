#include <doctest/doctest.h>

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#include <string>

#include "os/process.h"
#include "tests/test_platform.h"

static int fd_of(void *handle) { return (int)(intptr_t)handle - 1; }

TEST_CASE("closing a started child ends the command's whole group and every pipe end") {
    Process p;
    std::string command = helper_command("sleep 5000");
    REQUIRE(os_start_process(&p, Str{command.size(), command.c_str()}, false) == PROCESS_STARTED);
    int fds[] = {fd_of(p.child_stdin), fd_of(p.stdin_write), fd_of(p.stdout_read), fd_of(p.child_stdout)};
    for (int fd : fds) CHECK(fcntl(fd, F_GETFD) >= 0);
    // The parent's own ends do not reach the child.
    CHECK((fcntl(fds[1], F_GETFD) & FD_CLOEXEC) != 0);
    CHECK((fcntl(fds[2], F_GETFD) & FD_CLOEXEC) != 0);
    CHECK((fcntl(fds[0], F_GETFD) & FD_CLOEXEC) == 0);
    pid_t group = (pid_t)p.process_info.process_id;
    CHECK(kill(-group, 0) == 0);
    os_close_process(&p);
    for (int fd : fds) CHECK(fcntl(fd, F_GETFD) == -1);
    // The command's own process is killed with the group but reaped by init,
    // so it may linger for a moment as a zombie.
    bool gone = false;
    for (int i = 0; i < 200 && !gone; i++) {
        gone = kill(-group, 0) == -1 && errno == ESRCH;
        if (!gone) usleep(10000);
    }
    CHECK(gone);
}

TEST_CASE("writing to a child that has closed its input fails instead of ending the caller") {
    Process p;
    std::string command = helper_command("print 0 0");
    REQUIRE(os_start_process(&p, Str{command.size(), command.c_str()}, false) == PROCESS_STARTED);
    while (os_is_process_running(&p)) {}
    // The parent still holds the child's read end, so close it to break the pipe.
    close(fd_of(p.child_stdin));
    p.child_stdin = nullptr;
    CHECK(os_write_process_input(&p, 3, "abc") == -1);
    os_close_process(&p);
}

TEST_CASE("a child blocked on its empty input is idle") {
    Process p;
    std::string command = helper_command("echo");
    REQUIRE(os_start_process(&p, Str{command.size(), command.c_str()}, false) == PROCESS_STARTED);
    CHECK(os_wait_process_idle(&p));
    os_close_process(&p);
    CHECK(!os_wait_process_idle(&p));
}
