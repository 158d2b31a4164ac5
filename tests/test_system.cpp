#include <doctest/doctest.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <string>
#include <thread>

#include "game/startup_banner.h"
#include "os/clock.h"
#include "os/files.h"
#include "os/memory.h"
#include "os/system.h"
#include "tests/stdout_capture.h"

TEST_CASE("tick conversion truncates and never overflows") {
    os_init();
    CHECK(os_counter_frequency > 0);
    u64 saved = os_counter_frequency;
    os_counter_frequency = 10000000;
    CHECK(os_ticks_to_microseconds(10000000) == 1000000);
    CHECK(os_ticks_to_microseconds(9) == 0);
    CHECK(os_ticks_to_microseconds(15) == 1);
    CHECK(os_ticks_to_microseconds(123456789) == 12345678);
    CHECK(os_ticks_to_microseconds(UINT64_MAX) == 1844674407370955161u);
    os_counter_frequency = 1000000000;
    CHECK(os_ticks_to_microseconds(UINT64_MAX) == 18446744073709551u);
    CHECK(os_ticks_to_microseconds(999) == 0);
    os_counter_frequency = 3;
    CHECK(os_ticks_to_microseconds(10) == 3333333);
    os_counter_frequency = saved;

    u64 before = os_get_milliseconds();
    u64 micro = os_get_microseconds();
    u64 after = os_get_milliseconds();
    CHECK(before <= micro / 1000);
    CHECK(micro / 1000 <= after);
}

TEST_CASE("sleeps take whole milliseconds, truncated") {
    CHECK(os_sleep_milliseconds_for(0) == 0);
    CHECK(os_sleep_milliseconds_for(999) == 0);
    CHECK(os_sleep_milliseconds_for(1000) == 1);
    CHECK(os_sleep_milliseconds_for(1999) == 1);
    CHECK(os_sleep_milliseconds_for(16666) == 16);
    // Far beyond 32 bits: held just short of the system's "forever".
    CHECK(os_sleep_milliseconds_for(UINT64_MAX) == 0xFFFFFFFEu);
    CHECK(os_sleep_milliseconds_for(4294967295000ull) == 0xFFFFFFFEu);
    CHECK(os_sleep_milliseconds_for(4294967293999ull) == 0xFFFFFFFDu);
}

// 1 = Monday ... 7 = Sunday for a civil date (1970-01-01 was a Thursday).
static int civil_weekday(int y, int m, int d) {
    y -= m <= 2;
    int era = (y >= 0 ? y : y - 399) / 400;
    int yoe = y - era * 400;
    int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long long days = (long long)era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
    return (int)(((days + 3) % 7 + 7) % 7) + 1;
}

TEST_CASE("calendar records: the week runs 1 = Monday to 7, whole milliseconds") {
    CHECK(os_weekday_from_system(0) == 7);
    for (u32 d = 1; d <= 6; d++) CHECK(os_weekday_from_system(d) == d);

    DateTime utc, local;
    CHECK(os_get_utc_datetime(&utc) == &utc);
    CHECK(os_get_local_datetime(&local) == &local);
    for (const DateTime *t : {&utc, &local}) {
        CHECK(t->year >= 2024);
        CHECK(t->month >= 1);
        CHECK(t->month <= 12);
        CHECK(t->day >= 1);
        CHECK(t->hour <= 23);
        CHECK(t->minute <= 59);
        CHECK(t->second <= 59);
        CHECK(t->microsecond % 1000 == 0);
        CHECK(t->microsecond < 1000000);
        CHECK(t->weekday == civil_weekday(t->year, t->month, t->day));
    }
}

TEST_CASE("the command line loses its trailing spaces and is cached") {
    Str a = os_command_line_from_text("prog  a b   ", 12);
    CHECK(str_equal(a, STR("prog  a b")));
    CHECK(a.data[a.len] == 0);
    os_free((void *)a.data);
    Str blank = os_command_line_from_text("    ", 4);
    CHECK(blank.len == 0);
    REQUIRE(blank.data != nullptr);
    CHECK(blank.data[0] == 0);
    os_free((void *)blank.data);

    Str line = os_get_command_line();
    REQUIRE(line.len > 0);
    CHECK(line.data[line.len - 1] != ' ');
    CHECK(line.data[line.len] == 0);
    CHECK(std::string(line.data, line.len).find("fathomer_tests") != std::string::npos);
    CHECK(os_get_command_line().data == line.data);
}

static std::string quoted(const char *arg) {
    char out[64];
    u64 n = os_quote_argument(str_from_cstr(arg), out);
    return std::string(out, n);
}

TEST_CASE("arguments are written into a command line as Windows programs read them") {
    CHECK(quoted("C:\\plain\\path") == "C:\\plain\\path");
    CHECK(quoted("") == "\"\"");
    CHECK(quoted("a b") == "\"a b\"");
    CHECK(quoted("a\tb") == "\"a\tb\"");
    CHECK(quoted("a\"b") == "\"a\\\"b\"");
    // Backslashes are doubled only before a quote and before the closing one.
    CHECK(quoted("a\\\"b") == "\"a\\\\\\\"b\"");
    CHECK(quoted("my dir\\") == "\"my dir\\\\\"");
    CHECK(quoted("a\\b c") == "\"a\\b c\"");
    // The program's name is quoted whole; a quote in it closes and reopens.
    static const char listed[] = "/my \"games\"/f\0a b\0";
    Str line = os_command_line_from_arguments(listed, sizeof(listed) - 1);
    CHECK(str_equal(line, STR("\"/my \"\"games\"\"/f\" \"a b\"")));
    os_free((void *)line.data);
}

TEST_CASE("the current directory has forward slashes and a final slash") {
    Str dir = os_get_current_directory();
    REQUIRE(dir.len > 0);
    CHECK(dir.data[dir.len - 1] == '/');
    CHECK(dir.data[dir.len] == 0);
    CHECK(memchr(dir.data, '\\', dir.len) == nullptr);
    std::u8string cwd = std::filesystem::current_path().u8string();
    std::string expected(cwd.begin(), cwd.end());
    for (char &c : expected)
        if (c == '\\') c = '/';
    if (expected.back() != '/') expected += '/';
    CHECK(std::string(dir.data, dir.len) == expected);
    CHECK(os_get_current_directory().data == dir.data);
}

TEST_CASE("processor count, installed memory and thread ids") {
    CHECK(os_get_cpu_count() >= 1);
    u64 memory = os_get_installed_memory();
    CHECK(memory >= (u64)64 << 20);
    CHECK(memory % 1024 == 0);
    u32 main_id = os_get_thread_id();
    CHECK(os_get_thread_id() == main_id);
    u32 other_id = 0;
    std::thread other([&] { other_id = os_get_thread_id(); });
    other.join();
    CHECK(other_id != 0);
    CHECK(other_id != main_id);
}

TEST_CASE("monitors: listed afresh on every call, and a default monitor always") {
    i32 count = -1;
    Monitor *first = nullptr;
    os_get_monitors(&count, &first);
    REQUIRE(count >= 0);
    i32 again = -1;
    Monitor *first_again = nullptr;
    os_get_monitors(&again, &first_again);
    CHECK(again == count);  // not appended twice
    os_get_monitors(nullptr, nullptr);

    Monitor *def = os_get_default_monitor();
    REQUIRE(def != nullptr);
    if (count == 0) {
        CHECK(first_again == nullptr);
        CHECK(str_equal(def->name, STR("default")));
        CHECK(def->refresh_rate == 60);
        CHECK(def->handle == nullptr);
        CHECK(def->resolution.width == 1920);
        CHECK(def->resolution.height == 1080);
        CHECK((def->flags & MONITOR_PRIMARY) != 0);
    } else {
        CHECK(def == first_again);
        int primaries = 0;
        for (i32 i = 0; i < again; i++) {
            const Monitor &m = first_again[i];
            CHECK(m.handle != nullptr);
            CHECK(m.refresh_rate > 1);
            CHECK(m.resolution.width > 0);
            CHECK(m.resolution.height > 0);
            CHECK(m.name.len > 0);
            primaries += (m.flags & MONITOR_PRIMARY) ? 1 : 0;
        }
        CHECK(primaries == 1);
    }
}

static std::string formatted(const char *format, ...) {
    char buffer[4096];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    return buffer;
}

TEST_CASE("the start-up banner: system facts, one line per monitor, then START") {
    capture_stdout_begin();
    log_startup_banner();
    std::string out = capture_stdout_end();

    std::string expected = formatted(
        "---------- %s ----------\nPath: (%s)\nDir:  (%s)\nCMD:  (%s)\nMemory: %lli GB\nCPU cores: %i\n",
        os_get_exe_name().data, os_get_exe_dir().data, os_get_current_directory().data,
        os_get_command_line().data, (long long)(os_get_installed_memory() >> 30), os_get_cpu_count());
    i32 count = 0;
    Monitor *monitors = nullptr;
    os_get_monitors(&count, &monitors);
    for (i32 i = 0; i < count; i++) {
        const Monitor &m = monitors[i];
        expected += formatted("Monitor %i = %ihz, Size %ix%i, Pos %i %i, Primary: %i, Name (%s)\n", i, m.refresh_rate,
                              m.resolution.width, m.resolution.height, m.position.x, m.position.y,
                              (m.flags & MONITOR_PRIMARY) ? 1 : 0, m.name.data);
    }
    expected += "---------- START ----------\n";
    CHECK(out == expected);
    CHECK(os_counter_frequency > 0);
}
