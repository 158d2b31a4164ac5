// Paths as the platform layer hands them back: "/" separators, directories
// ending in "/".  Every result is a NUL-terminated heap copy that lives until
// the caller frees it with os_free; {0, null} when memory runs out.
#pragma once

#include "os/types.h"

// Turns every '\' into '/'.
void os_path_forward_slashes(char *text, u64 len);

// The text as a directory: forward slashes and a final "/" (added unless there
// already is one).  "C:\Games\x" gives "C:/Games/x/".
Str os_path_as_directory(const char *text, u64 len);

// The directory part of a file's path, up to and including its last separator;
// the whole text when it has none.  "C:\games\x.exe" gives "C:/games/".
Str os_path_directory_part(const char *text, u64 len);

// The file name behind the last separator; the whole text when it has none.
Str os_path_name_part(const char *text, u64 len);
