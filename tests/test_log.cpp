#include <doctest/doctest.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "os/log.h"
#include "tests/stdout_capture.h"

TEST_CASE("log_printf writes long messages whole and nothing for an empty one") {
    std::string big(3000, 'x');
    for (size_t i = 0; i < big.size(); i += 97) big[i] = (char)('a' + i % 26);
    std::string literal(2500, 'y');

    capture_stdout_begin();
    int n = log_printf("<%s|%d>", big.c_str(), 42);
    int m = log_printf(literal.c_str());
    int none = log_printf("");
    std::string out = capture_stdout_end();

    std::string first = "<" + big + "|42>";
    CHECK(n == (int)first.size());
    CHECK(m == (int)literal.size());
    CHECK(none == 0);
    CHECK(out == first + literal);
}

static int tagged_report(void) {
    LOG_TAG();
    log_printf("something happened %i\n", 7);
    return __LINE__ - 2;
}

TEST_CASE("a tagged message begins with the function's name and line") {
    capture_stdout_begin();
    int line = tagged_report();
    std::string out = capture_stdout_end();
    CHECK(out == "[tagged_report:" + std::to_string(line) + "] something happened 7\n");
}

TEST_CASE("os_printf goes through the runtime's standard output") {
    capture_stdout_begin();
    os_printf("value %d %s\n", 5, "five");
    std::string out = capture_stdout_end();
    CHECK(out == "value 5 five\n");
}

TEST_CASE("exception texts name the exception and say what happened") {
    struct Expected {
        u32 code;
        const char *name;
    };
    const Expected table[] = {
        {0xC0000005, "EXCEPTION_ACCESS_VIOLATION"},     {0xC000008C, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
        {0x80000003, "EXCEPTION_BREAKPOINT"},           {0x80000002, "EXCEPTION_DATATYPE_MISALIGNMENT"},
        {0xC000008D, "EXCEPTION_FLT_DENORMAL_OPERAND"}, {0xC000008E, "EXCEPTION_FLT_DIVIDE_BY_ZERO"},
        {0xC000008F, "EXCEPTION_FLT_INEXACT_RESULT"},   {0xC0000090, "EXCEPTION_FLT_INVALID_OPERATION"},
        {0xC0000091, "EXCEPTION_FLT_OVERFLOW"},         {0xC0000092, "EXCEPTION_FLT_STACK_CHECK"},
        {0xC0000093, "EXCEPTION_FLT_UNDERFLOW"},        {0xC000001D, "EXCEPTION_ILLEGAL_INSTRUCTION"},
        {0xC0000006, "EXCEPTION_IN_PAGE_ERROR"},        {0xC0000094, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
        {0xC0000095, "EXCEPTION_INT_OVERFLOW"},         {0xC0000026, "EXCEPTION_INVALID_DISPOSITION"},
        {0xC0000025, "EXCEPTION_NONCONTINUABLE_EXCEPTION"}, {0xC0000096, "EXCEPTION_PRIV_INSTRUCTION"},
        {0x80000004, "EXCEPTION_SINGLE_STEP"},          {0xC00000FD, "EXCEPTION_STACK_OVERFLOW"},
    };
    for (const Expected &e : table) {
        CAPTURE(e.name);
        std::string text = os_exception_text(e.code);
        std::string prefix = std::string(e.name) + " -> ";
        REQUIRE(text.size() > prefix.size() + 10);
        CHECK(text.compare(0, prefix.size(), prefix) == 0);
        CHECK(text.back() == '.');
    }
    CHECK(std::string(os_exception_text(0x80000003)) == "EXCEPTION_BREAKPOINT -> A breakpoint was encountered.");
    CHECK(std::string(os_exception_text(0xC00000FD)) == "EXCEPTION_STACK_OVERFLOW -> The thread used up its stack.");
    CHECK(std::string(os_exception_text(0x12345678)) == "UNKNOWN");
    CHECK(std::string(os_exception_text(0)) == "UNKNOWN");
}

TEST_CASE("the last-error text is empty with a null pointer for code 0") {
    OsLastError saved = os_last_error;
    os_last_error.code = 0;
    strcpy(os_last_error.text, "stale");
    Str none = os_get_last_error_text();
    CHECK(none.len == 0);
    CHECK(none.data == nullptr);
    os_last_error.code = 5;
    strcpy(os_last_error.text, "Access denied.");
    CHECK(str_equal(os_get_last_error_text(), STR("Access denied.")));
    os_last_error = saved;
}

static std::string crash_report;
static void first_handler(i32 kind, const char *text) { crash_report = "first"; }
static void second_handler(i32 kind, const char *text) { crash_report = std::to_string(kind) + " " + text; }

TEST_CASE("a crash report goes to the latest handler with kind 1") {
    os_set_crash_handler(first_handler);
    os_set_crash_handler(second_handler);
    os_report_crash(0xC0000094);
    CHECK(crash_report == std::string("1 ") + os_exception_text(0xC0000094));
    os_report_crash(0xDEADBEEF);
    CHECK(crash_report == "1 UNKNOWN");
}
