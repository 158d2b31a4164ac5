#include "game/data_checksum.h"

#include <string.h>

#include "game/data_digest.h"
#include "game/data_manifest.h"
#include "os/files.h"
#include "os/memory.h"

static FileData read_data_file(Str dir, const char *name) {
    u64 name_len = strlen(name);
    u64 path_len = dir.len + name_len;
    char *path = (char *)os_alloc(path_len + 1);
    if (!path) return FileData{};
    if (dir.len) memcpy(path, dir.data, dir.len);
    memcpy(path + dir.len, name, name_len + 1);
    FileData data = os_read_entire_file(Str{path_len, path});
    os_free(path);
    return data;
}

u64 game_data_checksum(Str dir) {
    u64 h = data_digest_start();
    for (const char *name : GAME_DATA_FILES) {
        FileData data = read_data_file(dir, name);
        const char *counted = name;
        char stand_in[64];
        u64 n = strlen(name);
        if (!data.data && n >= 4 && n < sizeof stand_in && memcmp(name + n - 4, ".wav", 4) == 0) {
            // The sound bank's stand-in, counted under its own name.
            memcpy(stand_in, name, n - 4);
            memcpy(stand_in + n - 4, ".ogg", 5);
            data = read_data_file(dir, stand_in);
            if (data.data) counted = stand_in;
        }
        h = data_digest_file(h, counted, data.data, data.size);
        os_free_file_data(&data);
    }
    return h;
}

GameDataCheck check_game_data(Str dir) {
    GameDataCheck check = {};
    check.own = game_data_checksum(dir);
    check.checksum = check.own;
    FileData file = read_data_file(dir, DATA_MANIFEST_FILE);
    if (!file.data) return check;
    DataManifest manifest;
    bool read = data_manifest_parse(file.data, file.size, &manifest);
    os_free_file_data(&file);
    if (!read || manifest.contents != check.own) {
        check.kind = GAME_DATA_MANIFEST_WRONG;
        return check;
    }
    check.kind = GAME_DATA_STANDS_IN;
    check.checksum = manifest.made_from;
    return check;
}
