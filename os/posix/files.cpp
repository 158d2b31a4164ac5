#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "os/files.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/native_paths.h"
#include "os/path_text.h"

// A NUL-terminated path for one call (os_free).  "\" separates like "/", as on
// Windows; an embedded NUL would silently name another file, so it is refused.
static char *native_path(Str path) {
    if (path.len == 0 || memchr(path.data, 0, path.len)) return nullptr;
    char *out = (char *)os_alloc(path.len + 1);
    if (!out) return nullptr;
    memcpy(out, path.data, path.len);
    out[path.len] = 0;
    os_path_forward_slashes(out, path.len);
    return out;
}

// Only regular files are read: a directory, a pipe or a device counts as a
// file that cannot be opened.  O_NONBLOCK keeps a FIFO from blocking the open.
static int open_for_reading(Str path) {
    char *native = native_path(path);
    if (!native) return -1;
    int fd = open(native, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    os_free(native);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
}

static int open_for_writing(Str path, int flags) {
    char *native = native_path(path);
    if (!native) return -1;
    int fd = open(native, O_WRONLY | O_CLOEXEC | flags, 0666);
    os_free(native);
    return fd;
}

// A short read (the file ended first) fails with ENODATA.
static bool read_all(int fd, u8 *dest, u64 count) {
    while (count > 0) {
        size_t chunk = count > 0x40000000u ? 0x40000000u : (size_t)count;
        ssize_t got = read(fd, dest, chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) {
            errno = ENODATA;
            return false;
        }
        dest += got;
        count -= (u64)got;
    }
    return true;
}

static bool write_all(int fd, const u8 *source, u64 count) {
    while (count > 0) {
        ssize_t put = write(fd, source, count);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        source += put;
        count -= (u64)put;
    }
    return true;
}

static bool seek_to(int fd, u64 offset) {
    if (offset > (u64)INT64_MAX) {
        errno = EINVAL;
        return false;
    }
    return lseek(fd, (off_t)offset, SEEK_SET) == (off_t)offset;
}

FileData os_read_entire_file(Str path) {
    FileData result = {0, nullptr};
    int fd = open_for_reading(path);
    if (fd < 0) return result;
    struct stat st;
    if (fstat(fd, &st) == 0) {
        u64 n = (u64)st.st_size;
        u8 *data = (u8 *)os_alloc(n + 1);
        if (!data) {
            errno = ENOMEM;
        } else if (!read_all(fd, data, n)) {
            int error = errno;
            os_free(data);
            errno = error;
        } else {
            memset(data + n, 0, os_alloc_size(data) - n);
            result = FileData{n, data};
            errno = 0;
        }
    }
    os_record_last_error();
    close(fd);
    return result;
}

int os_read_file_at(Str path, u64 offset, u32 count, void *dest) {
    int fd = open_for_reading(path);
    if (fd < 0) return 1;
    int rc = 0;
    if (offset != 0 && !seek_to(fd, offset)) rc = 2;
    else if (!read_all(fd, (u8 *)dest, count)) rc = 3;
    if (rc) os_record_last_error();
    close(fd);
    return rc;
}

u64 os_get_file_size(Str path) {
    char *native = native_path(path);
    if (!native) return 0;
    struct stat st;
    bool ok = stat(native, &st) == 0 && S_ISREG(st.st_mode);
    os_free(native);
    return ok ? (u64)st.st_size : 0;
}

bool os_file_exists(Str path) {
    int fd = open_for_reading(path);
    if (fd < 0) return false;
    close(fd);
    return true;
}

int os_write_file(Str path, u32 count, const void *source) {
    int fd = open_for_writing(path, O_CREAT);
    if (fd < 0) return 1;
    int rc = write_all(fd, (const u8 *)source, count) ? 0 : 2;
    close(fd);
    return rc;
}

int os_write_file_at(Str path, u64 offset, u32 count, const void *source) {
    int fd = open_for_writing(path, O_CREAT);
    if (fd < 0) return 1;
    int rc = 0;
    if (!seek_to(fd, offset)) rc = 2;
    else if (!write_all(fd, (const u8 *)source, count)) rc = 3;
    close(fd);
    return rc;
}

int os_truncate_file(Str path, u64 size) {
    int fd = open_for_writing(path, 0);
    if (fd < 0) return 1;
    int rc = 0;
    if (!seek_to(fd, size)) rc = 2;
    else if (ftruncate(fd, (off_t)size) != 0) rc = 3;
    close(fd);
    return rc;
}

// Copies a regular file's bytes, mode and modification time.  exclusive: the
// destination must not exist yet.
static bool copy_file(const char *from, const char *to, bool exclusive) {
    int in = open(from, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0) return false;
    struct stat src;
    if (fstat(in, &src) != 0 || !S_ISREG(src.st_mode)) {
        close(in);
        return false;
    }
    int out = open(to, O_WRONLY | O_CLOEXEC | O_CREAT | (exclusive ? O_EXCL : 0), src.st_mode & 07777);
    if (out < 0) {
        close(in);
        return false;
    }
    // Truncating before copying would destroy a file copied onto itself.
    struct stat dst;
    bool ok = fstat(out, &dst) == 0 && !(dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) &&
              ftruncate(out, 0) == 0;
    u64 chunk = 1u << 20;
    u8 *buffer = ok ? (u8 *)os_alloc(chunk) : nullptr;
    ok = ok && buffer;
    while (ok) {
        ssize_t got = read(in, buffer, chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        ok = write_all(out, buffer, (u64)got);
    }
    if (buffer) os_free(buffer);
    if (ok) {
        fchmod(out, src.st_mode & 07777);
        struct timespec times[2] = {src.st_atim, src.st_mtim};
        futimens(out, times);
    }
    close(out);
    close(in);
    return ok;
}

static bool copy_path(const char *from, const char *to) { return copy_file(from, to, false); }

int os_copy_file(Str source, Str destination) {
    return os_with_native_paths(source, destination, native_path, copy_path) ? 0 : 1;
}

// Like the Windows move: an existing destination is not replaced, and a file
// moves to another file system by copy and delete.
static bool move_path(const char *from, const char *to) {
#ifdef RENAME_NOREPLACE
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
#else
    errno = ENOSYS;  // a C library without renameat2 (WebAssembly's)
#endif
    if (errno == EINVAL || errno == ENOSYS) {
        // The file system cannot refuse a replacement itself.
        struct stat st;
        if (lstat(to, &st) == 0) return false;
        return rename(from, to) == 0;
    }
    if (errno != EXDEV) return false;
    if (!copy_file(from, to, true)) return false;
    if (unlink(from) == 0) return true;
    unlink(to);
    return false;
}

int os_move_file(Str source, Str destination) {
    return os_with_native_paths(source, destination, native_path, move_path) ? 0 : 1;
}

static bool delete_path(const char *path) { return unlink(path) == 0 || errno == ENOENT || errno == ENOTDIR; }

int os_delete_file(Str path) { return os_with_native_path(path, native_path, delete_path) ? 0 : 1; }

static bool path_exists(const char *path) {
    struct stat st;
    return stat(path, &st) == 0;
}

bool os_path_exists(Str path) { return os_with_native_path(path, native_path, path_exists); }

static bool make_directory(const char *path) { return mkdir(path, 0777) == 0 || errno == EEXIST; }

int os_make_directory(Str path) { return os_with_native_path(path, native_path, make_directory) ? 0 : 1; }

static bool remove_directory(const char *path) { return rmdir(path) == 0 || errno == ENOENT; }

int os_remove_directory(Str path) { return os_with_native_path(path, native_path, remove_directory) ? 0 : 1; }

static DateTime utc_datetime(struct timespec time) {
    struct tm tm;
    gmtime_r(&time.tv_sec, &tm);
    DateTime out;
    out.year = (u16)(tm.tm_year + 1900);
    out.month = (u8)(tm.tm_mon + 1);
    out.day = (u8)tm.tm_mday;
    out.weekday = os_weekday_from_system((u32)tm.tm_wday);
    out.hour = (u8)tm.tm_hour;
    out.minute = (u8)tm.tm_min;
    out.second = (u8)(tm.tm_sec > 59 ? 59 : tm.tm_sec);
    // Whole milliseconds, as the Windows file times are reported.
    out.microsecond = (u32)(time.tv_nsec / 1000000) * 1000u;
    return out;
}

static bool is_dot_entry(const char *name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

void os_list_directory(Str directory, OsListCallback callback) {
    if (!callback) return;
    char *native = native_path(directory);
    if (!native) return;
    DIR *dir = opendir(native);
    os_free(native);
    if (!dir) return;
    int dir_fd = dirfd(dir);
    while (struct dirent *entry = readdir(dir)) {
        if (is_dot_entry(entry->d_name)) continue;
        struct stat st;
        // A dangling link is listed as itself.
        if (fstatat(dir_fd, entry->d_name, &st, 0) != 0 &&
            fstatat(dir_fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        DateTime modified = utc_datetime(st.st_mtim);
        bool is_directory = S_ISDIR(st.st_mode);
        u64 size = is_directory ? 0 : (u64)st.st_size;
        callback(directory, str_from_cstr(entry->d_name), size, &modified, is_directory);
    }
    closedir(dir);
}

// One inotify watch and the watched directory's path below the root, "" or
// ending in "/".
struct DirectoryWatch {
    int wd;
    char *relative;
};

static const u32 WATCH_EVENTS = IN_MODIFY | IN_ONLYDIR;
static const u32 WATCH_SUBTREE_EVENTS = IN_CREATE | IN_MOVED_TO;

// Watches root/relative and, for a subtree, every directory below it; the
// watch descriptor of root/relative, -1 when it cannot be watched.
static int add_watch(int fd, DynArray *watches, const char *root, const char *relative, bool subtree) {
    u64 root_len = strlen(root), relative_len = strlen(relative);
    char *full = (char *)os_alloc(root_len + 1 + relative_len + 1);
    if (!full) return -1;
    memcpy(full, root, root_len);
    full[root_len] = '/';
    memcpy(full + root_len + 1, relative, relative_len + 1);
    int wd = inotify_add_watch(fd, full, WATCH_EVENTS | (subtree ? WATCH_SUBTREE_EVENTS : 0));
    DirectoryWatch watch = {wd, nullptr};
    if (wd >= 0) watch.relative = (char *)os_alloc(relative_len + 1);
    if (watch.relative) {
        memcpy(watch.relative, relative, relative_len + 1);
        if (!dynarray_push(watches, sizeof(DirectoryWatch), &watch)) os_free(watch.relative);
    }
    DIR *dir = subtree && wd >= 0 ? opendir(full) : nullptr;
    os_free(full);
    if (!dir) return wd;
    while (struct dirent *entry = readdir(dir)) {
        if (is_dot_entry(entry->d_name)) continue;
        struct stat st;
        if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode)) continue;
        u64 name_len = strlen(entry->d_name);
        char *child = (char *)os_alloc(relative_len + name_len + 2);
        if (!child) continue;
        memcpy(child, relative, relative_len);
        memcpy(child + relative_len, entry->d_name, name_len);
        child[relative_len + name_len] = '/';
        child[relative_len + name_len + 1] = 0;
        add_watch(fd, watches, root, child, true);
        os_free(child);
    }
    closedir(dir);
    return wd;
}

static const char *watch_relative(const DynArray *watches, int wd) {
    const DirectoryWatch *items = (const DirectoryWatch *)watches->items;
    for (u64 i = 0; i < watches->count; i++)
        if (items[i].wd == wd) return items[i].relative;
    return nullptr;
}

void os_watch_directory(Str directory, bool watch_subtree, OsWatchCallback callback) {
    char *root = native_path(directory);
    if (!root) return;
    int fd = inotify_init1(IN_CLOEXEC);
    DynArray watches = dynarray_create(sizeof(DirectoryWatch), 16);
    bool watching = fd >= 0 && add_watch(fd, &watches, root, "", watch_subtree) >= 0;
    alignas(struct inotify_event) char buffer[4096];
    while (watching) {
        ssize_t got = read(fd, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        for (ssize_t at = 0; at + (ssize_t)sizeof(struct inotify_event) <= got;) {
            const struct inotify_event *event = (const struct inotify_event *)(buffer + at);
            at += (ssize_t)(sizeof(struct inotify_event) + event->len);
            if (at > got) break;
            const char *relative = watch_relative(&watches, event->wd);
            if (event->mask & IN_IGNORED) {
                // The root itself is gone or unmounted: watching has failed.
                if (relative && relative[0] == 0) watching = false;
                continue;
            }
            if (!relative || event->len == 0) continue;
            if ((event->mask & IN_ISDIR) && (event->mask & WATCH_SUBTREE_EVENTS)) {
                u64 relative_len = strlen(relative), name_len = strlen(event->name);
                char *child = (char *)os_alloc(relative_len + name_len + 2);
                if (!child) continue;
                memcpy(child, relative, relative_len);
                memcpy(child + relative_len, event->name, name_len);
                memcpy(child + relative_len + name_len, "/", 2);
                add_watch(fd, &watches, root, child, true);
                os_free(child);
            } else if ((event->mask & IN_MODIFY) && callback) {
                u64 relative_len = strlen(relative), name_len = strlen(event->name);
                char *name = (char *)os_alloc(relative_len + name_len + 1);
                if (!name) continue;
                memcpy(name, relative, relative_len);
                memcpy(name + relative_len, event->name, name_len + 1);
                callback(Str{relative_len + name_len, name});
                os_free(name);
            }
        }
    }
    DirectoryWatch *items = (DirectoryWatch *)watches.items;
    for (u64 i = 0; i < watches.count; i++) os_free(items[i].relative);
    if (watches.items) os_free(watches.items);
    if (fd >= 0) close(fd);
    os_free(root);
}

Str os_get_desktop_dir(void) {
    static Str desktop;
    if (desktop.data) return desktop;
    const char *home = getenv("HOME");
    if (!home || !home[0]) {
        struct passwd *user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    if (!home || !home[0]) return Str{0, nullptr};
    u64 home_len = strlen(home);
    char *path = (char *)os_alloc(home_len + sizeof("/Desktop"));
    if (!path) return Str{0, nullptr};
    memcpy(path, home, home_len);
    memcpy(path + home_len, "/Desktop", sizeof("/Desktop"));
    struct stat st;
    if (stat(path, &st) != 0 || !S_ISDIR(st.st_mode)) {
        os_free(path);
        return Str{0, nullptr};
    }
    desktop = Str{home_len + sizeof("/Desktop") - 1, path};
    return desktop;
}

// There is no system folder picker here: it reports a cancelled choice.
int os_browse_for_folder(Str *folder) { return 1; }

// "scheme:" before any "/" marks a URL, handed over as it is.
static bool looks_like_url(const char *text) {
    for (const char *p = text; *p && *p != '/'; p++)
        if (*p == ':') return p != text;
    return false;
}

// Handed to xdg-open, started in a detached grandchild so that nothing is
// left to reap; 0 once xdg-open runs.  A path that does not exist fails at once,
// as on Windows.
int os_shell_open(Str path) {
    char *native = native_path(path);
    if (!native) return 1;
    struct stat st;
    if (stat(native, &st) != 0 && !looks_like_url(native)) {
        os_free(native);
        return 1;
    }
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        os_free(native);
        return 1;
    }
    pid_t child = fork();
    if (child == 0) {
        pid_t grandchild = fork();
        if (grandchild == 0) {
            setsid();
            execlp("xdg-open", "xdg-open", native, (char *)nullptr);
            int error = errno;
            (void)!write(report[1], &error, sizeof(error));
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    close(report[1]);
    int status = 1;
    if (child > 0) {
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    int error = 0;
    ssize_t got;
    do got = read(report[0], &error, sizeof(error));
    while (got < 0 && errno == EINTR);
    close(report[0]);
    os_free(native);
    bool started = child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
    return started ? 0 : 1;
}
