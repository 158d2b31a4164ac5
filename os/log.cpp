#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "os/clock.h"
#include "os/format.h"
#include "os/log.h"
#include "os/pass_loop.h"

OsLastError os_last_error;

static char *log_flush(const char *buf, void *user, int len) {
    os_write_stdout(Str{(u64)len, buf});
    return (char *)buf;
}

int log_printf(const char *format, ...) {
    char buffer[STB_SPRINTF_MIN];
    va_list args;
    va_start(args, format);
    int n = stbsp_vsprintfcb(log_flush, nullptr, buffer, format, args);
    va_end(args);
    return n;
}

int os_printf(const char *format, ...) {
    va_list args;
    va_start(args, format);
    int n = vfprintf(stdout, format, args);
    va_end(args);
    return n;
}

Str os_get_last_error_text(void) {
    if (os_last_error.code == 0) return Str{0, nullptr};
    return Str{strnlen(os_last_error.text, sizeof(os_last_error.text)), os_last_error.text};
}

struct ExceptionText {
    u32 code;
    const char *text;
};

static const ExceptionText EXCEPTION_TEXTS[] = {
    {0xC0000005, "EXCEPTION_ACCESS_VIOLATION -> The thread read or wrote memory it has no access to."},
    {0xC000008C, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED -> The thread indexed an array past its bounds."},
    {0x80000003, "EXCEPTION_BREAKPOINT -> A breakpoint was encountered."},
    {0x80000002, "EXCEPTION_DATATYPE_MISALIGNMENT -> The thread read or wrote misaligned data."},
    {0xC000008D, "EXCEPTION_FLT_DENORMAL_OPERAND -> A floating-point operand was too small to represent."},
    {0xC000008E, "EXCEPTION_FLT_DIVIDE_BY_ZERO -> The thread divided a floating-point value by zero."},
    {0xC000008F, "EXCEPTION_FLT_INEXACT_RESULT -> A floating-point result could not be represented exactly."},
    {0xC0000090, "EXCEPTION_FLT_INVALID_OPERATION -> The thread performed an invalid floating-point operation."},
    {0xC0000091, "EXCEPTION_FLT_OVERFLOW -> A floating-point exponent grew past its largest value."},
    {0xC0000092, "EXCEPTION_FLT_STACK_CHECK -> A floating-point operation overflowed or underflowed the stack."},
    {0xC0000093, "EXCEPTION_FLT_UNDERFLOW -> A floating-point exponent fell below its smallest value."},
    {0xC000001D, "EXCEPTION_ILLEGAL_INSTRUCTION -> The thread tried to execute an invalid instruction."},
    {0xC0000006, "EXCEPTION_IN_PAGE_ERROR -> The thread touched a page the system could not load."},
    {0xC0000094, "EXCEPTION_INT_DIVIDE_BY_ZERO -> The thread divided an integer by zero."},
    {0xC0000095, "EXCEPTION_INT_OVERFLOW -> An integer result overflowed."},
    {0xC0000026, "EXCEPTION_INVALID_DISPOSITION -> An exception handler returned an invalid disposition."},
    {0xC0000025, "EXCEPTION_NONCONTINUABLE_EXCEPTION -> The thread tried to continue after a noncontinuable exception."},
    {0xC0000096, "EXCEPTION_PRIV_INSTRUCTION -> The thread tried an instruction not allowed in its mode."},
    {0x80000004, "EXCEPTION_SINGLE_STEP -> One instruction was executed under a trace trap."},
    {0xC00000FD, "EXCEPTION_STACK_OVERFLOW -> The thread used up its stack."},
};

const char *os_exception_text(u32 code) {
    for (const ExceptionText &e : EXCEPTION_TEXTS)
        if (e.code == code) return e.text;
    return "UNKNOWN";
}

static OsCrashHandler crash_handler;

// The backend installs its process-wide filter once.
void os_install_crash_filter(void);

void os_set_crash_handler(OsCrashHandler handler) {
    static bool installed;
    if (!installed) {
        os_install_crash_filter();
        installed = true;
    }
    crash_handler = handler;
}

void os_report_crash(u32 code) {
    if (crash_handler) crash_handler(1, os_exception_text(code));
}

void os_abort_all_threads(void) { os_printf("* TODO * os_abort_all_threads\n"); }

static OsHaltHook halt_hook;

void os_set_halt_hook(OsHaltHook hook) { halt_hook = hook; }

void os_halt(void) {
    if (halt_hook) {
        halt_hook();
        return;
    }
    if (os_halt_passes()) return;
    os_sleep_milliseconds(OS_HALT_MILLISECONDS);
}
