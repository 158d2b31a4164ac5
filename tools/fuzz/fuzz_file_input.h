// The whole fuzz input as the one file every read returns, handed over in an
// allocation of exactly its size, so that reading a single byte past it trips
// AddressSanitizer.
#pragma once

#include <stdlib.h>
#include <string.h>

#include "os/files.h"

static const u8 *fuzz_input;
static size_t fuzz_input_size;

FileData os_read_entire_file(Str path) {
    FileData file = {fuzz_input_size, (u8 *)malloc(fuzz_input_size ? fuzz_input_size : 1)};
    memcpy(file.data, fuzz_input, fuzz_input_size);
    return file;
}

void os_free_file_data(FileData *file) {
    free(file->data);
    file->data = nullptr;
    file->size = 0;
}
