#include <doctest/doctest.h>

#include "tests/watch_test_support.h"

TEST_CASE("watching a directory reports each modified file by name") {
    std::string dir = scratch_dir("watch");
    write_raw(dir + "top.txt", "a");
    write_raw(dir + "second.txt", "a");
    changed.clear();

    std::atomic<bool> finished{false};
    std::thread watcher([&] {
        os_watch_directory(S(dir), false, note_change);
        finished = true;
    });
    CHECK(change_until_seen(dir + "top.txt", "top.txt"));
    CHECK(change_until_seen(dir + "second.txt", "second.txt"));
    CHECK(change_until_seen(dir + "top.txt", "top.txt"));
    remove_and_wait(dir, watcher, finished);
}

TEST_CASE("watching a directory that cannot be opened returns at once") {
    std::string dir = scratch_dir("watch_missing");
    os_watch_directory(S(dir + "missing"), false, note_change);
    os_watch_directory(Str{0, nullptr}, true, note_change);
}
