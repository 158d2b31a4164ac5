// A page has no console window: the log goes to the browser's console, which
// a program can neither move nor read keys from.
#include "os/console.h"
#include "os/log.h"

static void no_console(const char *call) {
    static bool said;
    if (!said) os_printf("FAILED %s a page has no console window\n", call);
    said = true;
}

void os_move_console_window(i32, i32) { no_console("os_move_console_window"); }
void os_set_console_window_height(i32) { no_console("os_set_console_window_height"); }
ConsoleRect os_get_console_window_rect(void) { return ConsoleRect{0, 0, 0, 0}; }
void os_flash_console_window(void) { no_console("os_flash_console_window"); }
i16 os_read_console_key(void) {
    no_console("os_read_console_key");
    return 0;
}
void os_move_console_cursor(i32, i32) {}
i32 os_get_console_width(void) { return 0; }
