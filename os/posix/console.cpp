#include <stdio.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "os/console.h"
#include "os/log.h"

// The terminal takes xterm's window and cursor escapes; output that is not a
// terminal gets none.
static void terminal_escape(const char *format, i32 a, i32 b) {
    if (!isatty(STDOUT_FILENO)) return;
    char text[64];
    int n = snprintf(text, sizeof(text), format, a, b);
    if (n > 0) os_write_stdout(Str{(u64)n, text});
}

void os_move_console_window(i32 x, i32 y) { terminal_escape("\x1b[3;%d;%dt", x, y); }

// Pixel height; the omitted width stays as it is.
void os_set_console_window_height(i32 height) { terminal_escape("\x1b[4;%dt", height, 0); }

// The terminal tells its size in pixels but not where it is.
ConsoleRect os_get_console_window_rect(void) {
    ConsoleRect result = {0, 0, 0, 0};
    struct winsize size;
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return result;
    result.width = size.ws_xpixel;
    result.height = size.ws_ypixel;
    return result;
}

// The bell marks the terminal as wanting attention.
void os_flash_console_window(void) { terminal_escape("\a", 0, 0); }

// Terminals report key presses only, as bytes; a terminal's line editing is
// switched off for the one read.
i16 os_read_console_key(void) {
    struct termios saved, raw;
    bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        raw = saved;
        raw.c_lflag &= ~(tcflag_t)(ICANON | ECHO);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    }
    unsigned char c;
    ssize_t got = read(STDIN_FILENO, &c, 1);
    if (terminal) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    return got == 1 ? (i16)(i8)c : 0;
}

// The terminal stops the cursor at its edges by itself.
void os_move_console_cursor(i32 dx, i32 dy) {
    if (dx > 0) terminal_escape("\x1b[%dC", dx, 0);
    if (dx < 0) terminal_escape("\x1b[%dD", dx == INT32_MIN ? INT32_MAX : -dx, 0);
    if (dy > 0) terminal_escape("\x1b[%dB", dy, 0);
    if (dy < 0) terminal_escape("\x1b[%dA", dy == INT32_MIN ? INT32_MAX : -dy, 0);
}

i32 os_get_console_width(void) {
    struct winsize size;
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}
