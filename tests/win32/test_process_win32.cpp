#include <doctest/doctest.h>

#include <windows.h>
#include <chrono>
#include <string>

#include "os/process.h"
#include "tests/test_platform.h"

TEST_SUITE_BEGIN("desktop");

static Str str_of(const std::string &s) { return Str{s.size(), s.c_str()}; }

static bool handle_open(void *handle) {
    DWORD flags;
    return GetHandleInformation(handle, &flags) != 0;
}

static bool inheritable(void *handle) {
    DWORD flags = 0;
    GetHandleInformation(handle, &flags);
    return (flags & HANDLE_FLAG_INHERIT) != 0;
}

TEST_CASE("a started child's record holds its pipes, creation values and handles until closed") {
    Process p;
    std::string command = helper_command("sleep 5000");
    REQUIRE(os_start_process(&p, str_of(command), false) == PROCESS_STARTED);
    CHECK(p.creation_flags == (PROCESS_NORMAL_PRIORITY | PROCESS_NO_WINDOW));
    CHECK(p.security.length == 24);
    CHECK(p.security.descriptor == nullptr);
    CHECK(p.security.inherit_handles == 1);
    CHECK(p.startup.size == 104);
    CHECK(p.startup.flags == PROCESS_USE_STD_HANDLES);
    CHECK(p.startup.std_input == p.child_stdin);
    CHECK(p.startup.std_output == p.child_stdout);
    CHECK(p.startup.std_error == p.child_stdout);
    CHECK(p.startup.show_window == 0);
    CHECK(p.process_info.process_id != 0);
    CHECK(inheritable(p.child_stdin));
    CHECK(inheritable(p.child_stdout));
    CHECK(!inheritable(p.stdin_write));
    CHECK(!inheritable(p.stdout_read));

    void *handles[] = {p.child_stdin, p.stdin_write, p.stdout_read, p.child_stdout, p.process_info.process,
                       p.process_info.thread};
    HANDLE process = nullptr;
    DuplicateHandle(GetCurrentProcess(), p.process_info.process, GetCurrentProcess(), &process, SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, 0);
    os_close_process(&p);
    for (void *h : handles) CHECK(!handle_open(h));
    // Ended by the close with exit code 0.
    CHECK(WaitForSingleObject(process, 2000) == WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(process, &code);
    CHECK(code == 0);
    CloseHandle(process);

    Process shown;
    REQUIRE(os_start_process(&shown, str_of(command), true) == PROCESS_STARTED);
    CHECK(shown.creation_flags == PROCESS_NORMAL_PRIORITY);
    os_close_process(&shown);
}

TEST_CASE("a program that does not exist fails to start in all three ways") {
    Process p;
    Str missing = STR("no_such_program_for_fathomer.exe");
    CHECK(os_start_process(&p, missing, false) == PROCESS_ERROR_START);
    CHECK(p.stdout_read == nullptr);
    CHECK(p.stdin_write == nullptr);
    CHECK(os_run_process(missing, [](Str) {}, false) == PROCESS_ERROR_START);
    CHECK(os_run_process(missing, nullptr, false) == 1);
}

TEST_CASE("a console child is never input-idle, while a window program becomes so") {
    Process p;
    std::string command = helper_command("echo");
    REQUIRE(os_start_process(&p, str_of(command), false) == PROCESS_STARTED);
    auto start = std::chrono::steady_clock::now();
    CHECK(!os_wait_process_idle(&p));
    CHECK(std::chrono::steady_clock::now() - start < std::chrono::seconds(2));
    os_close_process(&p);

    command = helper_command("");
    command.replace(command.find("child_process_helper"), 20, "child_window_helper");
    REQUIRE(os_start_process(&p, str_of(command), false) == PROCESS_STARTED);
    CHECK(os_wait_process_idle(&p));
    // Ended by its own message loop: a window program cut off by the close
    // can leave Wine's desktop process behind, holding the test runner's output.
    PostThreadMessageW(p.process_info.thread_id, WM_QUIT, 0, 0);
    WaitForSingleObject(p.process_info.process, 5000);
    CHECK(!os_is_process_running(&p));
    os_close_process(&p);
}

TEST_SUITE_END();
