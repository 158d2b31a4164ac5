// Whole-file reading and the executable's directory, as the files layer
// provides them.
#pragma once

#include "os/types.h"

struct FileData {
    u64 size;
    u8 *data;
};

FileData os_read_entire_file(Str path);
void os_free_file_data(FileData *f);
Str os_get_exe_dir(void);
