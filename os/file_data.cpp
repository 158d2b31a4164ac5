// Releasing a whole-file read is the same on every backend.
#include "os/files.h"
#include "os/memory.h"

void os_free_file_data(FileData *file) {
    if (file->data) os_free(file->data);
    file->data = nullptr;
    file->size = 0;
}
