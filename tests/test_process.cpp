#include <doctest/doctest.h>

#include <chrono>
#include <string>
#include <thread>

#include "os/process.h"
#include "tests/test_platform.h"

static std::string received;
static u64 largest_piece;
static u64 piece_count;

static void collect(Str output) {
    received.append(output.data, output.len);
    if (output.len > largest_piece) largest_piece = output.len;
    piece_count++;
}

static std::string letters(size_t n) {
    std::string s(n, ' ');
    for (size_t i = 0; i < n; i++) s[i] = (char)('A' + i % 26);
    return s;
}

static Str str_of(const std::string &s) { return Str{s.size(), s.c_str()}; }

static double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Reads until `want` bytes came or the time runs out.
static std::string read_output(Process *p, size_t want, double timeout) {
    std::string got;
    char buffer[64];
    auto start = std::chrono::steady_clock::now();
    while (got.size() < want && seconds_since(start) < timeout) {
        i64 n = os_read_process_output(p, sizeof(buffer), buffer);
        if (n < 0) break;
        if (n == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        got.append(buffer, (size_t)n);
    }
    return got;
}

TEST_CASE("a child's output arrives in order in pieces of at most 4096 bytes, then its exit code") {
    received.clear();
    largest_piece = 0;
    piece_count = 0;
    std::string command = helper_command("print 10000 7");
    CHECK(os_run_process(str_of(command), collect, false) == 7);
    CHECK(received.size() == 10000);
    CHECK(received == letters(10000));
    CHECK(largest_piece <= 4096);
    CHECK(piece_count >= 3);

    received.clear();
    command = helper_command("print 0 0");
    CHECK(os_run_process(str_of(command), collect, false) == 0);
    CHECK(received.empty());
}

TEST_CASE("a child that reads its input sees its end when run with a callback") {
    received.clear();
    std::string command = helper_command("echo");
    CHECK(os_run_process(str_of(command), collect, false) == 0);
    CHECK(received.empty());
}

TEST_CASE("running without a callback does not wait for the child") {
    // Had the call waited, the child's own exit code would come back: the
    // still-active code is the proof, however slowly the system starts it.
    std::string command = helper_command("sleep 3000");
    CHECK(os_run_process(str_of(command), nullptr, false) == PROCESS_STILL_ACTIVE);
}

// A child that sleeps far longer than any slow machine takes to start, read
// or end one: a call that waits for it shows by the time, whatever the machine.
TEST_CASE("a started child's output is read without blocking") {
    Process p;
    std::string command = helper_command("sleep 30000");
    REQUIRE(os_start_process(&p, str_of(command), false) == PROCESS_STARTED);
    CHECK(os_is_process_running(&p));
    char buffer[16];
    auto start = std::chrono::steady_clock::now();
    CHECK(os_read_process_output(&p, sizeof(buffer), buffer) == 0);
    CHECK(seconds_since(start) < 10.0);
    os_close_process(&p);
    CHECK(!os_is_process_running(&p));
    CHECK(p.child_stdin == nullptr);
    CHECK(p.stdin_write == nullptr);
    CHECK(p.stdout_read == nullptr);
    CHECK(p.child_stdout == nullptr);
    CHECK(p.process_info.process == nullptr);
    CHECK(seconds_since(start) < 20.0);  // ended, not waited for
}

TEST_CASE("a started child takes input and answers through the pipes") {
    Process p;
    std::string command = helper_command("echo");
    REQUIRE(os_start_process(&p, str_of(command), false) == PROCESS_STARTED);
    CHECK(os_write_process_input(&p, 9, "ping-pong") == 9);
    CHECK(read_output(&p, 9, 10.0) == "ping-pong");
    CHECK(os_is_process_running(&p));
    os_close_process(&p);
    CHECK(os_write_process_input(&p, 4, "late") == -1);
    char buffer[4];
    CHECK(os_read_process_output(&p, sizeof(buffer), buffer) == -1);
}

TEST_CASE("a started child that ends leaves its whole output to read") {
    Process p;
    std::string command = helper_command("print 5000 3");
    REQUIRE(os_start_process(&p, str_of(command), false) == PROCESS_STARTED);
    std::string got = read_output(&p, 5000, 10.0);
    CHECK(got == letters(5000));
    auto start = std::chrono::steady_clock::now();
    while (os_is_process_running(&p) && seconds_since(start) < 10.0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    CHECK(!os_is_process_running(&p));
    char buffer[8];
    CHECK(os_read_process_output(&p, sizeof(buffer), buffer) == 0);
    os_close_process(&p);
}

TEST_CASE("a child splits back every argument of its command line whole") {
    const std::string arguments[] = {
        "--record", "My Games/run one.rec", "tab\there", "say \"hi\"", "a\\\"b", "a\\\\\"b", "my dir\\", "", "it's",
        "Spiele/L\xC3\xA4ufe \xC3\xB6.rec"};
    std::string command = helper_command("arguments");
    std::string expected;
    for (const std::string &a : arguments) {
        command.push_back(' ');
        command += command_argument(a);
        expected += a;
        expected.push_back('\0');
    }
    received.clear();
    CHECK(os_run_process(str_of(command), collect, false) == 0);
    CHECK(received.size() == expected.size());
    CHECK(received == expected);
}
