// The log on standard output, the runtime's printf channel, console colours,
// the last system error, crash reports and the halt convention.
#pragma once

#include "os/types.h"

#if defined(__GNUC__)
#define OS_PRINTF_LIKE(f, a) __attribute__((format(printf, f, a)))
#else
#define OS_PRINTF_LIKE(f, a)
#endif

// Formats (stb_sprintf syntax) in 1024-byte chunks, each written straight to
// standard output; returns the number of bytes formatted.
int log_printf(const char *format, ...);
// The tag that precedes a message reporting a place in the code: "[name:line] ".
#define LOG_TAG() log_printf("[%s:%i] ", __func__, __LINE__)
// The same tag with a fixed place number, for log lines whose numbers users
// compare across versions: they stay put however the source moves.
#define LOG_TAG_AT(line) log_printf("[%s:%i] ", __func__, (int)(line))

void os_write_stdout(Str text);
// The runtime library's buffered standard output (the platform layer's own lines).
int os_printf(const char *format, ...) OS_PRINTF_LIKE(1, 2);

void os_console_red(void);
void os_console_green(void);
void os_console_blue(void);
void os_console_yellow(void);
void os_console_cyan(void);
void os_console_magenta(void);
void os_console_default(void);
void os_console_white(void);

// Last-error record, written by the file reads.
#define OS_LAST_ERROR_TEXT_SIZE 512
struct OsLastError {
    u32 code;
    char text[OS_LAST_ERROR_TEXT_SIZE];
};
extern OsLastError os_last_error;
// Stores the calling thread's latest system error code and its message.
void os_record_last_error(void);
// {0, null} while the stored code is 0.
Str os_get_last_error_text(void);

// kind is 1 for an unhandled exception; text names it.
typedef void (*OsCrashHandler)(i32 kind, const char *text);
void os_set_crash_handler(OsCrashHandler handler);
// The report text for a system exception code ("UNKNOWN" for codes not listed).
const char *os_exception_text(u32 code);
// Calls the stored crash handler, if any, with kind 1 and the code's text.
void os_report_crash(u32 code);

[[noreturn]] void os_fatal_error(const char *message);
void os_abort_all_threads(void);

// A failed internal check: the caller has logged what it knows; the thread then
// sleeps for twelve hours so the frozen window can be inspected.
#define OS_HALT_MILLISECONDS 43200000u
void os_halt(void);
// Tests replace the sleep to observe a halt; null restores it.
typedef void (*OsHaltHook)(void);
void os_set_halt_hook(OsHaltHook hook);
