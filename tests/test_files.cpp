#include <doctest/doctest.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "os/clock.h"
#include "os/files.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/path_text.h"
#include "os/system.h"
#include "tests/file_test_support.h"

TEST_CASE("reading whole files: missing, empty, text and directories") {
    std::string dir = scratch_dir("read_whole");
    write_raw(dir + "empty", "");
    write_raw(dir + "text.txt", "hello");

    os_last_error.code = 12345;
    FileData missing = os_read_entire_file(S(dir + "missing"));
    CHECK(missing.size == 0);
    CHECK(missing.data == nullptr);
    CHECK(os_last_error.code == 12345);  // a file that cannot be opened records nothing

    for (std::string d : {dir, dir.substr(0, dir.size() - 1)}) {
        FileData directory = os_read_entire_file(S(d));
        CHECK(directory.size == 0);
        CHECK(directory.data == nullptr);
    }

    FileData empty = os_read_entire_file(S(dir + "empty"));
    CHECK(empty.size == 0);
    REQUIRE(empty.data != nullptr);
    CHECK(empty.data[0] == 0);
    CHECK(os_last_error.code == 0);
    Str no_error = os_get_last_error_text();
    CHECK(no_error.len == 0);
    CHECK(no_error.data == nullptr);
    os_free_file_data(&empty);
    CHECK(empty.data == nullptr);

    FileData text = os_read_entire_file(S(dir + "text.txt"));
    REQUIRE(text.data != nullptr);
    CHECK(text.size == 5);
    CHECK(memcmp(text.data, "hello", 6) == 0);  // the zero byte behind the contents
    Str view;
    memcpy(&view, &text, sizeof(view));  // the same layout as Str
    CHECK(str_equal(view, STR("hello")));
    os_free_file_data(&text);
    CHECK(text.size == 0);
    CHECK(text.data == nullptr);
    os_free_file_data(&text);  // a freed record stays zero
    CHECK(text.data == nullptr);
}

TEST_CASE("reading a range: from the start, positioned, past the end") {
    std::string dir = scratch_dir("read_at");
    write_raw(dir + "digits", "0123456789");
    char buffer[8] = {};
    CHECK(os_read_file_at(S(dir + "digits"), 0, 4, buffer) == 0);
    CHECK(std::string(buffer, 4) == "0123");
    CHECK(os_read_file_at(S(dir + "digits"), 6, 4, buffer) == 0);
    CHECK(std::string(buffer, 4) == "6789");

    os_last_error.code = 0;
    CHECK(os_read_file_at(S(dir + "digits"), 8, 4, buffer) == 3);  // the file ends first
    CHECK(os_last_error.code != 0);
    CHECK(os_get_last_error_text().len > 0);
    CHECK(os_read_file_at(S(dir + "digits"), 100, 1, buffer) == 3);

    os_last_error.code = 777;
    CHECK(os_read_file_at(S(dir + "missing"), 0, 1, buffer) == 1);
    CHECK(os_read_file_at(S(dir), 0, 1, buffer) == 1);
    CHECK(os_last_error.code == 777);
}

TEST_CASE("writing keeps the bytes past the written range - write_at, truncate and sizes") {
    std::string dir = scratch_dir("write");
    std::string file = dir + "data.bin";
    CHECK(os_write_file(S(file), 10, "0123456789") == 0);
    CHECK(read_raw(file) == "0123456789");
    CHECK(os_write_file(S(file), 3, "abc") == 0);
    CHECK(read_raw(file) == "abc3456789");
    CHECK(os_get_file_size(S(file)) == 10);

    CHECK(os_write_file_at(S(file), 12, 2, "XY") == 0);
    CHECK(read_raw(file) == std::string("abc3456789\0\0XY", 14));
    CHECK(os_write_file_at(S(dir + "new.bin"), 2, 1, "z") == 0);
    CHECK(read_raw(dir + "new.bin") == std::string("\0\0z", 3));

    CHECK(os_truncate_file(S(file), 4) == 0);
    CHECK(read_raw(file) == "abc3");
    CHECK(os_truncate_file(S(file), 6) == 0);
    CHECK(read_raw(file) == std::string("abc3\0\0", 6));
    CHECK(os_truncate_file(S(dir + "missing"), 1) == 1);
    CHECK_FALSE(os_path_exists(S(dir + "missing")));

    CHECK(os_write_file(S(dir), 1, "x") == 1);
    CHECK(os_write_file(S(dir + "no/such/dir/f"), 1, "x") == 1);
    CHECK(os_get_file_size(S(dir + "missing")) == 0);
    CHECK(os_get_file_size(S(dir)) == 0);
    CHECK(os_file_exists(S(file)));
    CHECK_FALSE(os_file_exists(S(dir)));
    CHECK_FALSE(os_file_exists(S(dir + "missing")));
    CHECK(os_path_exists(S(dir)));
    CHECK(os_path_exists(S(file)));
}

TEST_CASE("copy, move and delete") {
    std::string dir = scratch_dir("copy_move");
    write_raw(dir + "a", "alpha");
    write_raw(dir + "long", "a much longer file");

    CHECK(os_copy_file(S(dir + "a"), S(dir + "b")) == 0);
    CHECK(read_raw(dir + "b") == "alpha");
    CHECK(os_copy_file(S(dir + "a"), S(dir + "long")) == 0);  // overwritten whole
    CHECK(read_raw(dir + "long") == "alpha");
    CHECK(os_copy_file(S(dir + "a"), S(dir + "a")) == 1);  // onto itself: refused, kept
    CHECK(read_raw(dir + "a") == "alpha");
    CHECK(os_copy_file(S(dir + "missing"), S(dir + "c")) == 1);
    CHECK_FALSE(os_path_exists(S(dir + "c")));

    CHECK(os_move_file(S(dir + "b"), S(dir + "moved")) == 0);
    CHECK_FALSE(os_path_exists(S(dir + "b")));
    CHECK(read_raw(dir + "moved") == "alpha");
    write_raw(dir + "other", "other");
    CHECK(os_move_file(S(dir + "other"), S(dir + "moved")) == 1);  // no replacing
    CHECK(read_raw(dir + "other") == "other");
    CHECK(read_raw(dir + "moved") == "alpha");
    CHECK(os_move_file(S(dir + "missing"), S(dir + "x")) == 1);

    CHECK(os_delete_file(S(dir + "moved")) == 0);
    CHECK_FALSE(os_path_exists(S(dir + "moved")));
    CHECK(os_delete_file(S(dir + "moved")) == 0);  // already gone
    CHECK(os_delete_file(S(dir + "no/such/dir")) == 0);
    CHECK(os_make_directory(S(dir + "sub")) == 0);
    CHECK(os_delete_file(S(dir + "sub")) == 1);  // not a file
    CHECK(os_path_exists(S(dir + "sub")));
}

TEST_CASE("making and removing directories") {
    std::string dir = scratch_dir("directories");
    CHECK(os_make_directory(S(dir + "one")) == 0);
    CHECK(std::filesystem::is_directory(fs_path(dir + "one")));
    CHECK(os_make_directory(S(dir + "one")) == 0);
    write_raw(dir + "file", "x");
    CHECK(os_make_directory(S(dir + "file")) == 0);  // the name exists
    CHECK(os_make_directory(S(dir + "two/three")) == 1);  // parents are not made
    CHECK_FALSE(os_path_exists(S(dir + "two")));

    write_raw(dir + "one/inside", "x");
    CHECK(os_remove_directory(S(dir + "one")) == 1);  // not empty
    CHECK(os_path_exists(S(dir + "one/inside")));
    CHECK(os_delete_file(S(dir + "one/inside")) == 0);
    CHECK(os_remove_directory(S(dir + "one/")) == 0);
    CHECK_FALSE(os_path_exists(S(dir + "one")));
    CHECK(os_remove_directory(S(dir + "one")) == 0);  // nothing of that name
    CHECK(os_remove_directory(S(dir + "file")) == 1);
}

struct ListedEntry {
    std::string directory;
    const char *directory_data;
    std::string name;
    u64 size;
    DateTime modified;
    bool is_directory;
};
static std::vector<ListedEntry> listed;

static void collect_entry(Str directory, Str name, u64 size, const DateTime *modified, bool is_directory) {
    listed.push_back(ListedEntry{std::string(directory.data, directory.len), directory.data,
                                 std::string(name.data, name.len), size, *modified, is_directory});
}

static std::vector<ListedEntry> list_sorted(Str directory) {
    listed.clear();
    os_list_directory(directory, collect_entry);
    std::vector<ListedEntry> out = listed;
    std::sort(out.begin(), out.end(), [](const ListedEntry &a, const ListedEntry &b) { return a.name < b.name; });
    return out;
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
static i64 days_from_civil(i64 y, i64 m, i64 d) {
    y -= m <= 2;
    i64 era = (y >= 0 ? y : y - 399) / 400;
    i64 yoe = y - era * 400;
    i64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    i64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

static i64 seconds_of(const DateTime &t) {
    return days_from_civil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

// 1 = Monday ... 7 = Sunday for a civil date (1970-01-01 was a Thursday).
static int weekday_of(const DateTime &t) {
    i64 days = days_from_civil(t.year, t.month, t.day);
    return (int)(((days + 3) % 7 + 7) % 7) + 1;
}

TEST_CASE("listing a directory: entries once, without dot entries, with or without a final separator") {
    std::string dir = scratch_dir("listing");
    write_raw(dir + "a.txt", "abc");
    write_raw(dir + "b.bin", "");
    std::filesystem::create_directory(fs_path(dir + "sub"));
    write_raw(dir + "sub/deeper.txt", "not listed");
    DateTime now;
    os_get_utc_datetime(&now);

    std::string bare = dir.substr(0, dir.size() - 1);
    for (std::string path : {dir, bare, bare + "\\"}) {
        CAPTURE(path);
        Str directory = S(path);
        std::vector<ListedEntry> entries = list_sorted(directory);
        REQUIRE(entries.size() == 3);
        CHECK(entries[0].name == "a.txt");
        CHECK(entries[0].size == 3);
        CHECK_FALSE(entries[0].is_directory);
        CHECK(entries[1].name == "b.bin");
        CHECK(entries[1].size == 0);
        CHECK(entries[2].name == "sub");
        CHECK(entries[2].size == 0);
        CHECK(entries[2].is_directory);
        for (const ListedEntry &e : entries) {
            CHECK(e.directory_data == directory.data);  // the caller's Str, as given
            CHECK(e.directory == path);
            CHECK(e.modified.microsecond % 1000 == 0);
            CHECK(e.modified.weekday == weekday_of(e.modified));
            // Written moments ago, in UTC.
            CHECK(std::abs(seconds_of(e.modified) - seconds_of(now)) < 600);
        }
    }

    CHECK(list_sorted(S(dir + "missing")).empty());
    CHECK(list_sorted(Str{0, nullptr}).empty());
    os_list_directory(S(dir), nullptr);
}

TEST_CASE("UTF-8 paths with non-ASCII names, either separator") {
    std::string dir = scratch_dir("utf8");
    std::string sub = dir + "t\xC3\xABst \xE6\x97\xA5\xE6\x9C\xAC";  // "tëst 日本"
    std::string name = "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB \xF0\x9F\x98\x80.txt";  // "ファイル 😀.txt"
    CHECK(os_make_directory(S(sub)) == 0);
    CHECK(os_write_file(S(sub + "/" + name), 4, "data") == 0);
    // The system sees the very same name, not a code-page rendering of it.
    CHECK(std::filesystem::exists(fs_path(sub + "/" + name)));

    std::vector<ListedEntry> entries = list_sorted(S(sub));
    REQUIRE(entries.size() == 1);
    CHECK(entries[0].name == name);

    std::string backslashed = sub + "\\" + name;
    FileData file = os_read_entire_file(S(backslashed));
    CHECK(str_equal(Str{file.size, (const char *)file.data}, STR("data")));
    os_free_file_data(&file);
    CHECK(os_get_file_size(S(backslashed)) == 4);
    CHECK(os_copy_file(S(backslashed), S(sub + "/copy \xC3\xA9")) == 0);
    CHECK(read_raw(sub + "/copy \xC3\xA9") == "data");
}

TEST_CASE("a path with an embedded NUL names no file") {
    std::string dir = scratch_dir("embedded_nul");
    write_raw(dir + "a.txt", "real");
    std::string tricky = dir + std::string("a.txt\0.png", 10);
    FileData file = os_read_entire_file(S(tricky));
    CHECK(file.data == nullptr);
    CHECK(os_write_file(S(tricky), 1, "x") == 1);
    CHECK(os_delete_file(S(tricky)) == 1);
    CHECK(read_raw(dir + "a.txt") == "real");
}

// Compares a heap result of the path helpers and frees it.
static bool heap_text_is(Str s, Str expected) {
    bool same = str_equal(s, expected) && s.data[s.len] == 0;
    os_free((void *)s.data);
    return same;
}

TEST_CASE("path text: directories end in a slash, names lose their directory") {
    CHECK(heap_text_is(os_path_as_directory("C:\\Games\\x", 10), STR("C:/Games/x/")));
    CHECK(heap_text_is(os_path_as_directory("/home/x/", 8), STR("/home/x/")));
    CHECK(heap_text_is(os_path_as_directory("", 0), STR("/")));
    CHECK(heap_text_is(os_path_as_directory("C:\\Games\\", 9), STR("C:/Games/")));  // no second separator
    CHECK(heap_text_is(os_path_as_directory("\\", 1), STR("/")));
    CHECK(heap_text_is(os_path_directory_part("C:\\games\\x.exe", 14), STR("C:/games/")));
    CHECK(heap_text_is(os_path_directory_part("x.exe", 5), STR("x.exe")));
    CHECK(heap_text_is(os_path_name_part("C:\\games/x.exe", 14), STR("x.exe")));
    CHECK(heap_text_is(os_path_name_part("x.exe", 5), STR("x.exe")));
    CHECK(heap_text_is(os_path_name_part("dir/", 4), STR("")));
}

TEST_CASE("the executable's directory, name and path agree and are cached") {
    Str dir = os_get_exe_dir();
    Str name = os_get_exe_name();
    Str path = os_get_exe_path();
    REQUIRE(dir.len > 0);
    CHECK(dir.data[dir.len - 1] == '/');
    CHECK(memchr(dir.data, '\\', dir.len) == nullptr);
    CHECK(std::string(path.data, path.len) == std::string(dir.data, dir.len) + std::string(name.data, name.len));
    std::string n(name.data, name.len);
    CHECK((n == "fathomer_tests" || n == "fathomer_tests.exe"));
    CHECK(os_file_exists(path));
    CHECK(os_get_exe_dir().data == dir.data);
    CHECK(os_get_exe_name().data == name.data);
}

TEST_CASE("a missing path cannot be opened by the shell") {
    std::string dir = scratch_dir("shell_open");
    CHECK(os_shell_open(S(dir + "no such file.txt")) == 1);
}

TEST_CASE("the desktop folder, when the system has one, is a cached path without a final slash") {
    Str desktop = os_get_desktop_dir();
    if (desktop.len == 0) {
        CHECK(desktop.data == nullptr);
        return;
    }
    CHECK(desktop.data[desktop.len - 1] != '/');
    CHECK(memchr(desktop.data, '\\', desktop.len) == nullptr);
    CHECK(os_path_exists(desktop));
    CHECK(os_get_desktop_dir().data == desktop.data);
}
