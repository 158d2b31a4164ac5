// Whole-file reading and the executable's directory come from the files layer
// (os/files.h).  Until that header is in the tree, these are its declarations.
#pragma once

#if __has_include("os/files.h")
#include "os/files.h"
#else
#include "os/types.h"

struct FileData {
    u64 size;
    u8 *data;
};

FileData os_read_entire_file(Str path);
void os_free_file_data(FileData *f);
Str os_get_exe_dir(void);
#endif
