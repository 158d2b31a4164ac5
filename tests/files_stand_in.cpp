// The files layer is written elsewhere; until os/files.h is in the tree the
// tests read files through this stand-in with the same contract (a zero byte
// after the contents, null data for a missing file).
#if !__has_include("os/files.h")
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "sound/files_pending.h"
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

FileData os_read_entire_file(Str path) {
    std::string name(path.data, path.len);
    FILE *f = fopen(name.c_str(), "rb");
    if (!f) return FileData{0, nullptr};
    fseek(f, 0, SEEK_END);
    long size = ftell(f);
    fseek(f, 0, SEEK_SET);
    u8 *data = (u8 *)calloc(1, (size_t)size + 1);
    size_t got = fread(data, 1, (size_t)size, f);
    fclose(f);
    if (got != (size_t)size) {
        free(data);
        return FileData{0, nullptr};
    }
    return FileData{(u64)size, data};
}

void os_free_file_data(FileData *f) {
    free(f->data);
    f->data = nullptr;
    f->size = 0;
}

Str os_get_exe_dir(void) {
    static char dir[4096];
    if (!dir[0]) {
#ifdef _WIN32
        DWORD n = GetModuleFileNameA(nullptr, dir, sizeof dir - 1);
#else
        ssize_t n = readlink("/proc/self/exe", dir, sizeof dir - 1);
        if (n < 0) n = 0;
#endif
        dir[n] = 0;
        for (char *p = dir; *p; p++)
            if (*p == '\\') *p = '/';
        char *slash = strrchr(dir, '/');
        if (slash) slash[1] = 0;
    }
    return str_from_cstr(dir);
}
#endif
