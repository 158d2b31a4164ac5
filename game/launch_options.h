// The program's few command-line options: recording a game and replaying one.
#pragma once

#include "os/types.h"

enum : u8 {
    LAUNCH_PLAY = 0,  // no arguments: the game as always
    LAUNCH_RECORD = 1,
    LAUNCH_REPLAY = 2,
};

struct LaunchOptions {
    u8 mode;
    bool fast;  // replay without a window and without pacing
    Str file;   // NUL-terminated heap copy
};

// The lines shown for a command line that cannot be used.
extern const char *const LAUNCH_USAGE;

// Splits a whole command line by the rules of Windows programs' start-up
// code: blanks separate, double quotes group, backslashes escape only quotes
// (2n of them before a quote give n and the quote groups, 2n + 1 give n and a
// literal quote), and "" inside quotes is a quote.  The program's name comes
// first and is left out; it ends at the first blank outside quotes.  Returns
// the argument count; at most max are stored, as heap copies.
u32 split_command_line(Str command_line, Str *args, u32 max);
// True with *out filled, or false with *error set to a sentence about the
// first argument that cannot be used.
bool parse_launch_options(Str command_line, LaunchOptions *out, const char **error);
