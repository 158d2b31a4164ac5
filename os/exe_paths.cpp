// The executable's name and directory, both cut from its full path.
#include "os/files.h"
#include "os/path_text.h"
#include "os/system.h"

Str os_get_exe_name(void) {
    static Str name;
    if (!name.data) {
        Str path = os_get_exe_path();
        name = os_path_name_part(path.data, path.len);
    }
    return name;
}

Str os_get_exe_dir(void) {
    static Str dir;
    if (!dir.data) {
        Str path = os_get_exe_path();
        dir = os_path_directory_part(path.data, path.len);
    }
    return dir;
}
