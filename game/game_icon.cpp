#include "game/game_icon.h"

#include "os/files.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/window_ops.h"
#include "render/image.h"

bool load_window_icon(Window *window, Str path) {
    Str parts[] = {os_get_exe_dir(), path, Str{0, nullptr}};
    Str full_path = arena_concat(&temp_arena, parts);
    // Not through load_image: its log line would add a seventh to the six
    // "Loaded image" lines, which stand for the texture array's pictures.
    FileData file = os_read_entire_file(full_path);
    Image image = {0, 0, nullptr, 0};
    u32 width = 0, height = 0;
    if (file.data && read_image_size(file.data, file.size, &width, &height) && width <= OS_WINDOW_ICON_MAX_SIDE &&
        height <= OS_WINDOW_ICON_MAX_SIDE)
        image = decode_image(file.data, file.size);
    os_free_file_data(&file);
    if (!image.pixels) {
        LOG_TAG();
        log_printf("Cannot read the window icon (%.*s): the window keeps the one it has\n", (int)full_path.len,
                   full_path.data);
        return false;
    }
    bool set = os_set_window_icon(window, image.pixels, (i32)image.width, (i32)image.height);
    os_free(image.pixels);
    if (!set) {
        LOG_TAG();
        log_printf("The window did not take its icon (%.*s)\n", (int)full_path.len, full_path.data);
    }
    return set;
}
