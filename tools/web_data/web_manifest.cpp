// Writes the web data's manifest: the checksum of the generated files it was
// made from and that of its own files, by the game's own rules.  Built with
// the host compiler, so these few file calls stand in for the platform layer.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "game/data_checksum.h"
#include "game/data_manifest.h"
#include "os/files.h"
#include "os/memory.h"

void *os_alloc(u64 size) { return malloc(size ? size : 1); }

int os_free(void *ptr) {
    free(ptr);
    return 1;
}

FileData os_read_entire_file(Str path) {
    std::string name(path.data, path.len);
    FILE *f = fopen(name.c_str(), "rb");
    if (!f) return FileData{};
    FileData file = {};
    if (fseek(f, 0, SEEK_END) == 0) {
        long size = ftell(f);
        // One zero byte past the contents, as the platform layer leaves it.
        u8 *data = size >= 0 ? (u8 *)calloc((size_t)size + 1, 1) : nullptr;
        if (data && fseek(f, 0, SEEK_SET) == 0 && fread(data, 1, (size_t)size, f) == (size_t)size) {
            file.data = data;
            file.size = (u64)size;
        } else {
            free(data);
        }
    }
    fclose(f);
    return file;
}

void os_free_file_data(FileData *file) {
    free(file->data);
    file->data = nullptr;
    file->size = 0;
}

// Directories end with "/".
static Str dir_arg(const char *arg, std::string *keep) {
    *keep = arg;
    if (keep->empty() || keep->back() != '/') *keep += '/';
    return Str{keep->size(), keep->data()};
}

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s GENERATED_DIR WEB_DATA_DIR\n", argv[0]);
        return 2;
    }
    std::string from, to;
    DataManifest manifest = {};
    manifest.made_from = game_data_checksum(dir_arg(argv[1], &from));
    manifest.contents = game_data_checksum(dir_arg(argv[2], &to));
    char text[DATA_MANIFEST_TEXT_MAX];
    u32 length = data_manifest_text(&manifest, text);
    std::string path = to + DATA_MANIFEST_FILE;
    FILE *f = fopen(path.c_str(), "wb");
    if (!f || fwrite(text, 1, length, f) != length || fclose(f) != 0) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    printf("%s: made from %016llX, contents %016llX\n", path.c_str(), (unsigned long long)manifest.made_from,
           (unsigned long long)manifest.contents);
    return 0;
}
