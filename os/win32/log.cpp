#include <windows.h>
#include <stdlib.h>

#include "os/log.h"
#include "os/win32/utf16.h"

void os_write_stdout(Str text) {
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data, (DWORD)text.len, &written, nullptr);
}

static void set_console_attribute(WORD attribute) {
    SetConsoleTextAttribute(GetStdHandle(STD_OUTPUT_HANDLE), attribute);
}

void os_console_red(void) { set_console_attribute(12); }
void os_console_green(void) { set_console_attribute(10); }
void os_console_blue(void) { set_console_attribute(9); }
void os_console_yellow(void) { set_console_attribute(14); }
void os_console_cyan(void) { set_console_attribute(11); }
void os_console_magenta(void) { set_console_attribute(13); }
void os_console_default(void) { set_console_attribute(7); }
void os_console_white(void) { set_console_attribute(15); }

void os_record_last_error(void) {
    DWORD code = GetLastError();
    os_last_error.code = code;
    os_last_error.text[0] = 0;
    if (code == 0) return;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 1024,
                             os_last_error.text, OS_LAST_ERROR_TEXT_SIZE, nullptr);
    if (n >= OS_LAST_ERROR_TEXT_SIZE) n = OS_LAST_ERROR_TEXT_SIZE - 1;
    os_last_error.text[n] = 0;
}

static LONG WINAPI crash_filter(EXCEPTION_POINTERS *info) {
    os_report_crash((u32)info->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

void os_install_crash_filter(void) { SetUnhandledExceptionFilter(crash_filter); }

void os_fatal_error(const char *message) {
    wchar_t text[2048];
    wchar_t caption[64];
    // A message too long for the box is cut, not dropped.
    os_utf16_from_utf8(str_from_cstr(message), text, (int)COUNT_OF(text));
    os_utf16_from_utf8(STR("YA FUCKED UP"), caption, (int)COUNT_OF(caption));
    MessageBoxW(nullptr, text, caption, MB_OK);
    abort();
}
