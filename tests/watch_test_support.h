// Collects the names a directory watch reports, from the watching thread.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "os/files.h"
#include "tests/file_test_support.h"

static std::mutex changed_lock;
static std::vector<std::string> changed;

static void note_change(Str name) {
    std::lock_guard<std::mutex> hold(changed_lock);
    changed.push_back(std::string(name.data, name.len));
}

static bool seen(const std::string &name) {
    std::lock_guard<std::mutex> hold(changed_lock);
    for (const std::string &c : changed)
        if (c == name) return true;
    return false;
}

// The watch may not be armed yet when its thread starts: keep writing until
// the change is seen (or give up after about five seconds).
static bool change_until_seen(const std::string &path, const std::string &name) {
    for (int i = 0; i < 100; i++) {
        os_write_file_at(S(path), (u64)i, 1, "x");
        for (int j = 0; j < 5; j++) {
            if (seen(name)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return false;
}

// Removes the watched tree and waits up to three seconds for the watch to end.
static bool remove_and_wait(const std::string &dir, std::thread &watcher, std::atomic<bool> &finished) {
    std::error_code ignored;
    std::filesystem::remove_all(fs_path(dir), ignored);
    for (int i = 0; i < 300 && !finished; i++) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (finished) watcher.join();
    else watcher.detach();
    return finished;
}
