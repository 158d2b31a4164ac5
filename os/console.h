// The console window of the process and its text cursor.
#pragma once

#include "os/types.h"

// Screen coordinates of the top-left corner, then the size.
struct ConsoleRect {
    i32 x;
    i32 y;
    i32 width;
    i32 height;
};

// Window moves and resizes keep the other values and do not repaint.
void os_move_console_window(i32 x, i32 y);
void os_set_console_window_height(i32 height);
ConsoleRect os_get_console_window_rect(void);
// One line of standard input, at most size - 1 bytes and zero-terminated, one
// trailing newline removed; returns the length of what remains.
i32 os_read_console_line(i32 size, char *buffer);
// Until the window comes to the foreground.
void os_flash_console_window(void);
// Waits for the next console input event: the low 8 bits of a pressed key's
// character as a signed byte, or 0 for any other event.
i16 os_read_console_key(void);
// Relative to where the cursor is; the column stops at 0.
void os_move_console_cursor(i32 dx, i32 dy);
// Visible character columns, 0 without a console.
i32 os_get_console_width(void);
