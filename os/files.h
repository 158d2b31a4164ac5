// Files, directories and the program's own paths.
//
// Paths are UTF-8 Strs; either "/" or "\" separates their parts.  Paths handed
// back use "/" and directories end with "/".  Result codes: 0 is success.
#pragma once

#include <stddef.h>

#include "os/clock.h"
#include "os/types.h"

// A whole file's contents on the heap, followed by at least one zero byte so
// text can be used as a C string.  Same layout as Str: callers may view it as one.
struct FileData {
    u64 size;
    u8 *data;
};
static_assert(sizeof(FileData) == sizeof(Str), "FileData must match Str");
static_assert(offsetof(FileData, size) == offsetof(Str, len), "FileData must match Str");
static_assert(offsetof(FileData, data) == offsetof(Str, data), "FileData must match Str");

// Size 0 and a null pointer when the file cannot be opened or read (missing,
// a directory, no permission).  An empty file gives size 0 and a buffer that
// must still be freed.  Records the last error (os/log.h) once the file was open.
FileData os_read_entire_file(Str path);
// Frees the data if any and zeroes the record.
void os_free_file_data(FileData *file);
// Reads exactly count bytes at offset.  1 cannot open, 2 positioning failed,
// 3 read failed or the file ended first (2 and 3 record the last error).
int os_read_file_at(Str path, u64 offset, u32 count, void *dest);
// 0 when the file cannot be opened (directories included).
u64 os_get_file_size(Str path);
// True for a file that can be opened for reading; false for directories.
bool os_file_exists(Str path);
// Writes from the start of the file, creating it if missing; bytes past the
// written range stay.  1 cannot open or create, 2 write failed.
int os_write_file(Str path, u32 count, const void *source);
// 1 cannot open or create, 2 positioning failed, 3 write failed.
int os_write_file_at(Str path, u64 offset, u32 count, const void *source);
// Sets the end of an existing file.  1 cannot open, 2 positioning failed,
// 3 setting the end failed.
int os_truncate_file(Str path, u64 size);
// Overwrites an existing destination.  1 on failure.
int os_copy_file(Str source, Str destination);
// Fails (1) when the destination exists.
int os_move_file(Str source, Str destination);
// 0 also when the file did not exist.
int os_delete_file(Str path);
bool os_path_exists(Str path);
// One level; 0 also when the name exists already.
int os_make_directory(Str path);
// The directory must be empty; 0 also when nothing of that name exists.
int os_remove_directory(Str path);

// directory is the Str given to os_list_directory; name and *modified (UTC)
// live only for the call.  Directories come with size 0.
typedef void (*OsListCallback)(Str directory, Str name, u64 size, const DateTime *modified, bool is_directory);
// Calls back once per entry, "." and ".." left out, subdirectories not entered.
// A missing directory gives no call.
void os_list_directory(Str directory, OsListCallback callback);

// name is relative to the watched directory, with "/" separators.
typedef void (*OsWatchCallback)(Str name);
// Calls back whenever a file's contents change.  Blocks until watching fails
// (the directory is removed, for one); returns at once if it cannot be opened.
void os_watch_directory(Str directory, bool watch_subtree, OsWatchCallback callback);

// The executable's directory, ending in "/"; cached.
Str os_get_exe_dir(void);
// The user's desktop folder, no final "/"; cached once found, empty Str while
// the system does not give it.
Str os_get_desktop_dir(void);
// A modal folder picker.  0: *folder is the choice, ending in "/", on the heap
// (os_free); 1 cancelled (or no picker on this system); 2 no file-system path.
int os_browse_for_folder(Str *folder);
// Opens a path (or URL) with the program the system associates with it.  1 on failure.
int os_shell_open(Str path);
