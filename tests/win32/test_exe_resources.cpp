#include <windows.h>

#include <doctest/doctest.h>

#include <wchar.h>

// fathomer.exe lies beside the test executable.
static bool game_exe(wchar_t *out, DWORD units) {
    DWORD n = GetModuleFileNameW(nullptr, out, units);
    wchar_t *slash = n && n < units ? wcsrchr(out, L'\\') : nullptr;
    if (!slash || (size_t)(slash - out) + 14 >= units) return false;
    wcscpy(slash + 1, L"fathomer.exe");
    return true;
}

TEST_CASE("the exe carries its version and product name where Explorer reads them") {
    wchar_t exe[MAX_PATH];
    REQUIRE(game_exe(exe, MAX_PATH));
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(exe, &handle);
    REQUIRE(size > 0);
    void *info = HeapAlloc(GetProcessHeap(), 0, size);
    REQUIRE(GetFileVersionInfoW(exe, 0, size, info));

    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT len = 0;
    REQUIRE(VerQueryValueW(info, L"\\", (void **)&fixed, &len));
    CHECK(fixed->dwSignature == 0xFEEF04BD);
    CHECK(HIWORD(fixed->dwFileVersionMS) == FATHOMER_VERSION_MAJOR);
    CHECK(LOWORD(fixed->dwFileVersionMS) == FATHOMER_VERSION_MINOR);
    CHECK(HIWORD(fixed->dwFileVersionLS) == FATHOMER_VERSION_PATCH);
    CHECK(fixed->dwFileType == VFT_APP);

    wchar_t *text = nullptr;
    REQUIRE(VerQueryValueW(info, L"\\StringFileInfo\\040904B0\\ProductName", (void **)&text, &len));
    CHECK(wcscmp(text, L"Fathomer") == 0);
    REQUIRE(VerQueryValueW(info, L"\\StringFileInfo\\040904B0\\ProductVersion", (void **)&text, &len));
    CHECK(wcscmp(text, FATHOMER_VERSION_TEXT) == 0);
    HeapFree(GetProcessHeap(), 0, info);
}

#pragma pack(push, 1)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)
static_assert(sizeof(IconGroupEntry) == 14, "resource icon directory entry");

TEST_CASE("the exe's own icon holds 256, 48, 32 and 16 pixel images in 32 bits") {
    wchar_t exe[MAX_PATH];
    REQUIRE(game_exe(exe, MAX_PATH));
    HMODULE module = LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    REQUIRE(module != nullptr);
    HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(1), (LPCWSTR)RT_GROUP_ICON);
    REQUIRE(group != nullptr);
    REQUIRE(SizeofResource(module, group) >= 6 + 4 * sizeof(IconGroupEntry));
    const BYTE *dir = (const BYTE *)LockResource(LoadResource(module, group));
    REQUIRE(dir != nullptr);
    CHECK(*(const WORD *)(dir + 2) == 1);
    REQUIRE(*(const WORD *)(dir + 4) == 4);
    const IconGroupEntry *entries = (const IconGroupEntry *)(dir + 6);
    const int sizes[4] = {0, 48, 32, 16};  // 0 stands for 256
    for (int i = 0; i < 4; i++) {
        CHECK(entries[i].width == sizes[i]);
        CHECK(entries[i].bits == 32);
        HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(entries[i].id), (LPCWSTR)RT_ICON);
        REQUIRE(image != nullptr);
        CHECK(SizeofResource(module, image) == entries[i].bytes);
    }
    FreeLibrary(module);
}
