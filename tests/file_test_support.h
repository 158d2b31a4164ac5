// Scratch directories and independent file access for the file tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "os/types.h"

static inline Str S(const std::string &s) { return Str{s.size(), s.data()}; }

static inline std::filesystem::path fs_path(const std::string &utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

static inline std::string utf8_of(const std::filesystem::path &p) {
    std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

// A fresh, empty directory for one test; its path ends in "/".
static inline std::string scratch_dir(const char *name) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / (std::string("fathomer_test_") + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return utf8_of(dir) + "/";
}

static inline void write_raw(const std::string &path, const std::string &bytes) {
    std::ofstream out(fs_path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
}

static inline std::string read_raw(const std::string &path) {
    std::ifstream in(fs_path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
