#include <doctest/doctest.h>
#include <signal.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "os/log.h"

static int report_fd = -1;

// Runs in the signal handler: only async-signal-safe calls.
static void write_report(i32 kind, const char *text) {
    char k = (char)('0' + kind);
    (void)!write(report_fd, &k, 1);
    (void)!write(report_fd, text, strlen(text));
}

static void unused_handler(i32 kind, const char *text) { (void)!write(report_fd, "wrong handler", 13); }

// Recurses until the stack runs out, on purpose.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winfinite-recursion"
static int overflow_depth(volatile char *previous) {
    volatile char frame[512];
    frame[0] = previous ? previous[0] + 1 : 0;
    return overflow_depth(frame) + frame[0];
}
#pragma GCC diagnostic pop

// Forks a child that installs the handlers, then faults; returns what the
// handler reported and the child's wait status.
static std::string crash_child(void (*fault)(void), int *status) {
    int fds[2];
    REQUIRE(pipe(fds) == 0);
    pid_t child = fork();
    REQUIRE(child >= 0);
    if (child == 0) {
        close(fds[0]);
        report_fd = fds[1];
        os_set_crash_handler(unused_handler);
        os_set_crash_handler(write_report);  // replaces the first
        fault();
        _exit(0);
    }
    close(fds[1]);
    std::string report;
    char buffer[256];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof(buffer))) > 0) report.append(buffer, (size_t)n);
    close(fds[0]);
    waitpid(child, status, 0);
    return report;
}

static void touch_protected_page(void) {
    volatile char *page = (volatile char *)mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    page[0] = 1;
}

TEST_CASE("a fault reaches the crash handler with kind 1 and ends the process") {
    int status = 0;
    std::string report = crash_child(touch_protected_page, &status);
    CHECK(report == std::string("1") + os_exception_text(0xC0000005));
    REQUIRE(WIFEXITED(status));
    CHECK(WEXITSTATUS(status) == 128 + SIGSEGV);
}

static void overflow_stack(void) { overflow_depth(nullptr); }

TEST_CASE("running out of stack is reported as a stack overflow") {
    int status = 0;
    std::string report = crash_child(overflow_stack, &status);
    CHECK(report == std::string("1") + os_exception_text(0xC00000FD));
    CHECK(WIFEXITED(status));
}
