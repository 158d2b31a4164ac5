// The test runner: doctest's own main, plus a listener that names each case
// as it starts and, on POSIX when FATHOMER_CASE_TIMEOUT gives a number of
// seconds, a watchdog that ends the process once a case runs past it.  ctest
// runs many cases in one process and sets the limit for those, so a hang fails
// after a minute and names its case; a crash or a hang stopped by ctest is told
// apart by the last "case:" line.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef _WIN32
#include <signal.h>
#include <unistd.h>
#endif

namespace {

char case_name[512];

#ifndef _WIN32
const char TIMED_OUT[] = "\ncase timed out, the process ends here: ";

// An alarm rather than a thread: cases fork children that then fault, and with
// a watchdog thread in the parent such a child hung at its exit; a pending
// alarm is not inherited by a child.
void timed_out(int) {
    (void)!write(2, TIMED_OUT, sizeof TIMED_OUT - 1);
    (void)!write(2, case_name, strlen(case_name));
    (void)!write(2, "\n", 1);
    _exit(124);
}

void watch_case(int seconds) {
    signal(SIGALRM, timed_out);
    alarm((unsigned)seconds);
}
#else
// No watchdog under Windows: a watchdog thread made processes hang after
// their last case under Wine, now and then (twice in about fifteen runs).
// ctest's time-out for the whole process stops a hang there, and the last
// "case:" line names it.
void watch_case(int) {}
#endif

struct CaseListener : doctest::IReporter {
    explicit CaseListener(const doctest::ContextOptions &) {}

    void test_case_start(const doctest::TestCaseData &data) override {
        snprintf(case_name, sizeof case_name, "%s", data.m_name);
        fprintf(stderr, "case: %s\n", case_name);
        fflush(stderr);
        const char *limit = getenv("FATHOMER_CASE_TIMEOUT");
        if (limit && atoi(limit) > 0) watch_case(atoi(limit));
    }
    void test_case_end(const doctest::CurrentTestCaseStats &) override {
        if (getenv("FATHOMER_CASE_TIMEOUT")) watch_case(0);
    }

    void report_query(const doctest::QueryData &) override {}
    void test_run_start() override {}
    void test_run_end(const doctest::TestRunStats &) override {}
    void test_case_reenter(const doctest::TestCaseData &) override {}
    void test_case_exception(const doctest::TestCaseException &) override {}
    void subcase_start(const doctest::SubcaseSignature &) override {}
    void subcase_end() override {}
    void log_assert(const doctest::AssertData &) override {}
    void log_message(const doctest::MessageData &) override {}
    void test_case_skipped(const doctest::TestCaseData &) override {}
};

}  // namespace

REGISTER_LISTENER("case names and watchdog", 1, CaseListener);
