#include <errno.h>
#include <pthread.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "os/log.h"

void os_write_stdout(Str text) {
    const char *p = text.data;
    u64 left = text.len;
    while (left > 0) {
        ssize_t n = write(STDOUT_FILENO, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        p += n;
        left -= (u64)n;
    }
}

// Terminals take the same colours as ANSI escapes; anything else gets no escapes.
static void set_console_colour(const char *escape) {
    if (!isatty(STDOUT_FILENO)) return;
    os_write_stdout(str_from_cstr(escape));
}

void os_console_red(void) { set_console_colour("\x1b[91m"); }
void os_console_green(void) { set_console_colour("\x1b[92m"); }
void os_console_blue(void) { set_console_colour("\x1b[94m"); }
void os_console_yellow(void) { set_console_colour("\x1b[93m"); }
void os_console_cyan(void) { set_console_colour("\x1b[96m"); }
void os_console_magenta(void) { set_console_colour("\x1b[95m"); }
void os_console_default(void) { set_console_colour("\x1b[0m"); }
void os_console_white(void) { set_console_colour("\x1b[97m"); }

void os_record_last_error(void) {
    int code = errno;
    os_last_error.code = (u32)code;
    os_last_error.text[0] = 0;
    if (code == 0) return;
    snprintf(os_last_error.text, OS_LAST_ERROR_TEXT_SIZE, "%s", strerror(code));
}

// Signals are reported with the code of the matching Windows exception, so
// both backends give the same crash texts.
static u32 exception_code_for(int sig, const siginfo_t *info) {
    switch (sig) {
    case SIGSEGV:
        return 0xC0000005;
    case SIGBUS:
        return info->si_code == BUS_ADRALN ? 0x80000002 : 0xC0000006;
    case SIGILL:
        return info->si_code == ILL_PRVOPC ? 0xC0000096 : 0xC000001D;
    case SIGTRAP:
        return info->si_code == TRAP_TRACE ? 0x80000004 : 0x80000003;
    case SIGFPE:
        switch (info->si_code) {
        case FPE_INTDIV: return 0xC0000094;
        case FPE_INTOVF: return 0xC0000095;
        case FPE_FLTDIV: return 0xC000008E;
        case FPE_FLTOVF: return 0xC0000091;
        case FPE_FLTUND: return 0xC0000093;
        case FPE_FLTRES: return 0xC000008F;
        case FPE_FLTSUB: return 0xC000008C;
        default: return 0xC0000090;
        }
    default:
        return 0;
    }
}

static const int CRASH_SIGNALS[] = {SIGSEGV, SIGBUS, SIGILL, SIGTRAP, SIGFPE};

// A stack overflow faults just below the faulting thread's stack.
static bool looks_like_stack_overflow(const siginfo_t *info) {
    pthread_attr_t attr;
    void *stack_addr = nullptr;
    size_t stack_size = 0;
    if (pthread_getattr_np(pthread_self(), &attr) != 0) return false;
    pthread_attr_getstack(&attr, &stack_addr, &stack_size);
    pthread_attr_destroy(&attr);
    uintptr_t addr = (uintptr_t)info->si_addr;
    uintptr_t low = (uintptr_t)stack_addr;
    return addr + 65536 >= low && addr < low + 65536;
}

static void crash_signal(int sig, siginfo_t *info, void *) {
    u32 code = exception_code_for(sig, info);
    if (sig == SIGSEGV && looks_like_stack_overflow(info)) code = 0xC00000FD;
    os_report_crash(code);
    // The process ends without a core dump, as the Windows filter ends it
    // without the system's error dialog.
    _exit(128 + sig);
}

void os_install_crash_filter(void) {
    static char alt_stack[64 * 1024];
    stack_t ss;
    ss.ss_sp = alt_stack;
    ss.ss_size = sizeof(alt_stack);
    ss.ss_flags = 0;
    sigaltstack(&ss, nullptr);
    struct sigaction sa;
    memset(&sa, 0, sizeof(sa));
    sa.sa_sigaction = crash_signal;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&sa.sa_mask);
    for (int sig : CRASH_SIGNALS) sigaction(sig, &sa, nullptr);
}

void os_fatal_error(const char *message) {
    fprintf(stderr, "YA FUCKED UP: %s\n", message);
    abort();
}
