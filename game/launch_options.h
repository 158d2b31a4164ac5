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

// Splits a whole command line by the Windows rules: blanks separate, double
// quotes group, backslashes escape only quotes.  The program's name comes
// first and is left out: when the line starts with program followed by a
// blank (a line joined from the arguments, whose name may hold blanks) it is
// that text, otherwise the first word by the system's rule for names.
// Returns the argument count; at most max are stored, as heap copies.
u32 split_command_line(Str command_line, Str program, Str *args, u32 max);
// True with *out filled, or false with *error set to a sentence about the
// first argument that cannot be used.
bool parse_launch_options(Str command_line, Str program, LaunchOptions *out, const char **error);
