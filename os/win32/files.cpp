#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <string.h>

#include "os/files.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/native_paths.h"
#include "os/path_text.h"
#include "os/win32/utf16.h"

// A NUL-terminated UTF-16 path for one call (os_free).  An embedded NUL would
// silently name another file, so such paths are refused.
static wchar_t *wide_path(Str path) {
    if (path.len == 0 || memchr(path.data, 0, path.len)) return nullptr;
    return os_utf16_from_utf8_alloc(path);
}

static HANDLE open_path(Str path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    wchar_t *wide = wide_path(path);
    if (!wide) return INVALID_HANDLE_VALUE;
    HANDLE file = CreateFileW(wide, access, share, nullptr, disposition, flags, nullptr);
    os_free(wide);
    return file;
}

static HANDLE open_for_reading(Str path) {
    return open_path(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
}

// A short read (the file ended first) fails with ERROR_HANDLE_EOF.
static bool read_all(HANDLE file, u8 *dest, u64 count) {
    while (count > 0) {
        DWORD chunk = count > 0x40000000u ? 0x40000000u : (DWORD)count;
        DWORD got = 0;
        if (!ReadFile(file, dest, chunk, &got, nullptr)) return false;
        if (got == 0) {
            SetLastError(ERROR_HANDLE_EOF);
            return false;
        }
        dest += got;
        count -= got;
    }
    return true;
}

static bool seek_to(HANDLE file, u64 offset) {
    if (offset > (u64)INT64_MAX) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return false;
    }
    LARGE_INTEGER to;
    to.QuadPart = (LONGLONG)offset;
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != 0;
}

FileData os_read_entire_file(Str path) {
    FileData result = {0, nullptr};
    HANDLE file = open_for_reading(path);
    if (file == INVALID_HANDLE_VALUE) return result;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && size.QuadPart >= 0) {
        u64 n = (u64)size.QuadPart;
        u8 *data = (u8 *)os_alloc(n + 1);
        if (!data) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        } else if (!read_all(file, data, n)) {
            DWORD error = GetLastError();
            os_free(data);
            SetLastError(error);
        } else {
            memset(data + n, 0, os_alloc_size(data) - n);
            result = FileData{n, data};
            SetLastError(0);
        }
    }
    os_record_last_error();
    CloseHandle(file);
    return result;
}

int os_read_file_at(Str path, u64 offset, u32 count, void *dest) {
    HANDLE file = open_for_reading(path);
    if (file == INVALID_HANDLE_VALUE) return 1;
    int rc = 0;
    if (offset != 0 && !seek_to(file, offset)) rc = 2;
    else if (!read_all(file, (u8 *)dest, count)) rc = 3;
    if (rc) os_record_last_error();
    CloseHandle(file);
    return rc;
}

u64 os_get_file_size(Str path) {
    HANDLE file = open_path(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION info;
    u64 size = 0;
    if (GetFileInformationByHandle(file, &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        size = ((u64)info.nFileSizeHigh << 32) | info.nFileSizeLow;
    CloseHandle(file);
    return size;
}

bool os_file_exists(Str path) {
    HANDLE file = open_path(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

static bool write_all(HANDLE file, const void *source, u32 count) {
    DWORD written = 0;
    return WriteFile(file, source, count, &written, nullptr) && written == count;
}

int os_write_file(Str path, u32 count, const void *source) {
    HANDLE file = open_path(path, GENERIC_WRITE, 0, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) return 1;
    int rc = write_all(file, source, count) ? 0 : 2;
    CloseHandle(file);
    return rc;
}

int os_write_file_at(Str path, u64 offset, u32 count, const void *source) {
    HANDLE file = open_path(path, GENERIC_WRITE, 0, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) return 1;
    int rc = 0;
    if (!seek_to(file, offset)) rc = 2;
    else if (!write_all(file, source, count)) rc = 3;
    CloseHandle(file);
    return rc;
}

int os_truncate_file(Str path, u64 size) {
    HANDLE file = open_path(path, GENERIC_WRITE, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) return 1;
    int rc = 0;
    if (!seek_to(file, size)) rc = 2;
    else if (!SetEndOfFile(file)) rc = 3;
    CloseHandle(file);
    return rc;
}

static bool copy_path(const wchar_t *from, const wchar_t *to) { return CopyFileW(from, to, FALSE) != 0; }

int os_copy_file(Str source, Str destination) {
    return os_with_native_paths(source, destination, wide_path, copy_path) ? 0 : 1;
}

static bool move_path(const wchar_t *from, const wchar_t *to) {
    return MoveFileExW(from, to, MOVEFILE_COPY_ALLOWED) != 0;
}

int os_move_file(Str source, Str destination) {
    return os_with_native_paths(source, destination, wide_path, move_path) ? 0 : 1;
}

static bool is_missing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

static bool delete_path(const wchar_t *path) { return DeleteFileW(path) || is_missing(GetLastError()); }

int os_delete_file(Str path) { return os_with_native_path(path, wide_path, delete_path) ? 0 : 1; }

static bool path_exists(const wchar_t *path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

bool os_path_exists(Str path) { return os_with_native_path(path, wide_path, path_exists); }

static bool make_directory(const wchar_t *path) {
    return CreateDirectoryW(path, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

int os_make_directory(Str path) { return os_with_native_path(path, wide_path, make_directory) ? 0 : 1; }

static bool remove_directory(const wchar_t *path) { return RemoveDirectoryW(path) || is_missing(GetLastError()); }

int os_remove_directory(Str path) { return os_with_native_path(path, wide_path, remove_directory) ? 0 : 1; }

static DateTime datetime_from_filetime(const FILETIME *time) {
    SYSTEMTIME st = {};
    FileTimeToSystemTime(time, &st);
    DateTime out;
    out.year = st.wYear;
    out.month = (u8)st.wMonth;
    out.day = (u8)st.wDay;
    out.weekday = os_weekday_from_system(st.wDayOfWeek);
    out.hour = (u8)st.wHour;
    out.minute = (u8)st.wMinute;
    out.second = (u8)st.wSecond;
    out.microsecond = (u32)st.wMilliseconds * 1000u;
    return out;
}

static bool is_dot_entry(const wchar_t *name) {
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

void os_list_directory(Str directory, OsListCallback callback) {
    if (!callback || directory.len == 0) return;
    char last = directory.data[directory.len - 1];
    bool has_separator = last == '/' || last == '\\';
    u64 len = directory.len + (has_separator ? 1 : 2);
    char *pattern = (char *)os_alloc(len);
    if (!pattern) return;
    memcpy(pattern, directory.data, directory.len);
    if (!has_separator) pattern[directory.len] = '/';
    pattern[len - 1] = '*';
    wchar_t *wide = wide_path(Str{len, pattern});
    os_free(pattern);
    if (!wide) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide, &found);
    os_free(wide);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (is_dot_entry(found.cFileName)) continue;
        Str name = os_utf8_from_utf16(found.cFileName, -1);
        if (!name.data) continue;
        DateTime modified = datetime_from_filetime(&found.ftLastWriteTime);
        bool is_directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        u64 size = is_directory ? 0 : ((u64)found.nFileSizeHigh << 32) | found.nFileSizeLow;
        callback(directory, name, size, &modified, is_directory);
        os_free((void *)name.data);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void os_watch_directory(Str directory, bool watch_subtree, OsWatchCallback callback) {
    wchar_t *wide = wide_path(directory);
    if (!wide) return;
    HANDLE dir = CreateFileW(wide, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    os_free(wide);
    if (dir == INVALID_HANDLE_VALUE) return;
    DWORD buffer[512];  // 2048 bytes, aligned as the records need
    for (;;) {
        DWORD bytes = 0;
        if (!ReadDirectoryChangesW(dir, buffer, sizeof(buffer), watch_subtree ? TRUE : FALSE,
                                   FILE_NOTIFY_CHANGE_LAST_WRITE, &bytes, nullptr, nullptr))
            break;
        // 0 bytes: more changes than the buffer holds; their names are lost.
        DWORD offset = 0;
        while (bytes > 0 && offset + sizeof(FILE_NOTIFY_INFORMATION) <= bytes) {
            const FILE_NOTIFY_INFORMATION *info = (const FILE_NOTIFY_INFORMATION *)((const u8 *)buffer + offset);
            DWORD name_end = offset + (DWORD)offsetof(FILE_NOTIFY_INFORMATION, FileName) + info->FileNameLength;
            if (name_end > bytes) break;
            if (info->Action == FILE_ACTION_MODIFIED && callback) {
                Str name = os_utf8_from_utf16(info->FileName, (int)(info->FileNameLength / sizeof(wchar_t)));
                if (name.data) {
                    os_path_forward_slashes((char *)name.data, name.len);
                    callback(name);
                    os_free((void *)name.data);
                }
            }
            if (info->NextEntryOffset == 0) break;
            offset += info->NextEntryOffset;
        }
    }
    CloseHandle(dir);
}

Str os_get_desktop_dir(void) {
    static Str desktop;
    if (desktop.data) return desktop;
    wchar_t path[MAX_PATH];
    if (SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return Str{0, nullptr};
    Str utf8 = os_utf8_from_utf16(path, -1);
    if (utf8.data) os_path_forward_slashes((char *)utf8.data, utf8.len);
    desktop = utf8;
    return desktop;
}

int os_browse_for_folder(Str *folder) {
    // The new dialog style needs COM on this thread.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    BROWSEINFOW info = {};
    info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
    LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
    int rc = 1;
    if (chosen) {
        wchar_t path[MAX_PATH];
        rc = 2;
        if (SHGetPathFromIDListW(chosen, path)) {
            Str utf8 = os_utf8_from_utf16(path, -1);
            if (utf8.data) {
                *folder = os_path_as_directory(utf8.data, utf8.len);
                os_free((void *)utf8.data);
                if (folder->data) rc = 0;
            }
        }
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return rc;
}

int os_shell_open(Str path) {
    wchar_t *wide = wide_path(path);
    if (!wide) return 1;
    HINSTANCE result = ShellExecuteW(nullptr, L"open", wide, nullptr, nullptr, SW_SHOWDEFAULT);
    os_free(wide);
    return (INT_PTR)result > 32 ? 0 : 1;
}
