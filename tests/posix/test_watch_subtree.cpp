#include <doctest/doctest.h>

#include "tests/watch_test_support.h"

TEST_CASE("a subtree watch names files below the root, in new directories too, and ends with its directory") {
    std::string dir = scratch_dir("watch_subtree");
    std::filesystem::create_directories(fs_path(dir + "sub/deep"));
    write_raw(dir + "sub/deep/inner.txt", "a");
    changed.clear();

    std::atomic<bool> finished{false};
    std::string root = dir.substr(0, dir.size() - 1);
    std::thread watcher([&] {
        os_watch_directory(S(root), true, note_change);
        finished = true;
    });
    CHECK(change_until_seen(dir + "sub/deep/inner.txt", "sub/deep/inner.txt"));
    std::filesystem::create_directories(fs_path(dir + "later/new"));
    write_raw(dir + "later/new/file.txt", "a");
    CHECK(change_until_seen(dir + "later/new/file.txt", "later/new/file.txt"));
    CHECK(remove_and_wait(dir, watcher, finished));
}
