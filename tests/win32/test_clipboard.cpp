#include <doctest/doctest.h>

#include <windows.h>
#include <string.h>
#include <string>
#include <vector>

#include "os/clipboard.h"
#include "tests/bmp_test_image.h"

TEST_SUITE_BEGIN("desktop");

static std::string text_of(const ClipboardData &d) { return std::string(d.data ? d.data : "", d.len); }

// Replaces the clipboard with the given blocks, bypassing the layer.
struct RawFormat {
    UINT format;
    std::vector<u8> bytes;
};

static void place_raw(const std::vector<RawFormat> &formats) {
    REQUIRE(OpenClipboard(nullptr));
    EmptyClipboard();
    for (const RawFormat &f : formats) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, f.bytes.size());
        void *p = GlobalLock(block);
        if (!f.bytes.empty()) memcpy(p, f.bytes.data(), f.bytes.size());
        GlobalUnlock(block);
        SetClipboardData(f.format, block);
    }
    CloseClipboard();
}

static std::vector<u8> bytes_of(const char *text, size_t n) { return std::vector<u8>(text, text + n); }

TEST_CASE("setting text places it as Unicode and as plain text, and reads back as UTF-8") {
    REQUIRE(os_set_clipboard_text(STR("abc")));
    ClipboardData wide = os_get_clipboard_data(CLIPBOARD_UNICODE_TEXT);
    REQUIRE(wide.len >= 8);
    CHECK(memcmp(wide.data, "a\0b\0c\0\0\0", 8) == 0);
    os_free_clipboard_data(&wide);
    ClipboardData plain = os_get_clipboard_data(CLIPBOARD_TEXT);
    REQUIRE(plain.len >= 4);
    CHECK(memcmp(plain.data, "abc\0", 4) == 0);
    os_free_clipboard_data(&plain);
    ClipboardData text = os_get_clipboard_text();
    CHECK(text_of(text) == "abc");
    CHECK(text.data[3] == 0);
    os_free_clipboard_data(&text);

    Str unusual = STR("Gr\xC3\xBC\xC3\x9F" "e \xE2\x98\x83 \xF0\x9D\x84\x9E \xE6\xB0\xB4");
    REQUIRE(os_set_clipboard_text(unusual));
    text = os_get_clipboard_text();
    CHECK(text_of(text) == std::string(unusual.data, unusual.len));
    os_free_clipboard_data(&text);
    plain = os_get_clipboard_data(CLIPBOARD_TEXT);
    CHECK(std::string(plain.data) == std::string(unusual.data, unusual.len));
    os_free_clipboard_data(&plain);

    // Unicode text stops at its first zero character.
    place_raw({{CF_UNICODETEXT, bytes_of("h\0i\0\0\0x\0\0\0", 10)}});
    text = os_get_clipboard_text();
    CHECK(text_of(text) == "hi");
    os_free_clipboard_data(&text);

    REQUIRE(os_set_clipboard_text(STR("")));
    CHECK(os_get_clipboard_text().data == nullptr);
    CHECK(os_get_clipboard_data(0x2F0).data == nullptr);  // a format that is not there
}

static std::vector<std::pair<u32, std::string>> listed;
static void note_format(u32 format, Str name) { listed.push_back({format, std::string(name.data, name.len)}); }

static std::string listed_name(u32 format) {
    for (auto &entry : listed)
        if (entry.first == format) return entry.second;
    return "(absent)";
}

TEST_CASE("formats are listed with standard, registered or unknown names") {
    UINT registered = RegisterClipboardFormatW(L"Fathomer test format");
    REQUIRE(registered);
    UINT unnamed = 0x0201;  // in the private range: no name anywhere
    place_raw({{CF_UNICODETEXT, bytes_of("a\0\0\0", 4)}, {registered, bytes_of("r", 1)}, {unnamed, bytes_of("u", 1)}});
    listed.clear();
    CHECK(os_list_clipboard_formats(note_format) == 0);
    CHECK(listed_name(CF_UNICODETEXT) == "UNICODETEXT");
    CHECK(listed_name(registered) == "Fathomer test format");
    CHECK(listed_name(unnamed) == "???");
    CHECK(os_print_clipboard_formats() != 0);
    ClipboardData raw = os_get_clipboard_data(unnamed);
    CHECK(text_of(raw) == "u");
    os_free_clipboard_data(&raw);
}

TEST_CASE("the file name comes from the format registered as FileNameW") {
    UINT near_name = RegisterClipboardFormatW(L"FileNameWX");
    UINT file_name = RegisterClipboardFormatW(L"FileNameW");
    const wchar_t path[] = L"C:\\d\u00e9j\u00e0\\file.txt";
    std::vector<u8> bytes((const u8 *)path, (const u8 *)path + sizeof(path));
    place_raw({{near_name, bytes_of("x\0\0\0", 4)}, {file_name, bytes}});
    ClipboardData name = os_get_clipboard_file_name();
    CHECK(text_of(name) == "C:\\d\xC3\xA9j\xC3\xA0\\file.txt");
    os_free_clipboard_data(&name);
    place_raw({{near_name, bytes_of("x\0\0\0", 4)}});
    CHECK(os_get_clipboard_file_name().data == nullptr);
}

TEST_CASE("PNG data comes from the format named PNG before image/png") {
    UINT png = RegisterClipboardFormatW(L"PNG");
    UINT image_png = RegisterClipboardFormatW(L"image/png");
    place_raw({{image_png, bytes_of("from image/png", 14)}, {png, bytes_of("from PNG", 8)}});
    ClipboardData data = os_get_clipboard_png();
    CHECK(text_of(data) == "from PNG");
    os_free_clipboard_data(&data);

    place_raw({{png, {}}, {image_png, bytes_of("from image/png", 14)}});
    data = os_get_clipboard_png();
    CHECK(text_of(data) == "from image/png");
    os_free_clipboard_data(&data);

    place_raw({{CF_UNICODETEXT, bytes_of("a\0\0\0", 4)}});
    CHECK(os_get_clipboard_png().data == nullptr);
}

TEST_CASE("a BMP from the clipboard's DIB decodes to the original pixels") {
    TestImage image = test_image(5, 3);
    std::vector<u8> dib = dib24(image, false);
    place_raw({{CF_DIB, dib}});
    ClipboardData bmp = os_get_clipboard_bmp();
    REQUIRE(bmp.len > 54);
    TestImage decoded = decode_bmp(bmp.data, bmp.len);
    CHECK(decoded.width == 5);
    CHECK(decoded.height == 3);
    CHECK(decoded.rgb == image.rgb);
    os_free_clipboard_data(&bmp);

    // A DIBV5 block too short for its header is passed over for the DIB.
    std::vector<u8> short_v5(100, 0);
    put_u32(short_v5, 0, 124);
    place_raw({{CF_DIBV5, short_v5}, {CF_DIB, dib}});
    bmp = os_get_clipboard_bmp();
    REQUIRE(bmp.len == 14 + dib.size());
    CHECK(memcmp(bmp.data + 14, dib.data(), dib.size()) == 0);
    CHECK(decode_bmp(bmp.data, bmp.len).rgb == image.rgb);
    os_free_clipboard_data(&bmp);

    place_raw({{CF_DIB, std::vector<u8>(dib.begin(), dib.begin() + 39)}});
    CHECK(os_get_clipboard_bmp().data == nullptr);
}

TEST_CASE("images set on the clipboard come back as they were given") {
    TestImage image = test_image(4, 2);
    std::vector<u8> dib = dib24(image, true);
    ClipboardData file = os_bmp_from_dib(dib.data(), dib.size());
    REQUIRE(os_set_clipboard_images(Str{file.len, file.data}, STR(""), STR("\x89PNG-bytes")));
    ClipboardData raw = os_get_clipboard_data(CLIPBOARD_DIB);
    REQUIRE(raw.len >= dib.size());
    CHECK(memcmp(raw.data, dib.data(), dib.size()) == 0);
    os_free_clipboard_data(&raw);
    ClipboardData bmp = os_get_clipboard_bmp();
    CHECK(decode_bmp(bmp.data, bmp.len).rgb == image.rgb);
    os_free_clipboard_data(&bmp);
    ClipboardData png = os_get_clipboard_png();
    CHECK(text_of(png) == "\x89PNG-bytes");
    os_free_clipboard_data(&png);

    // Images no longer than their headers are left out.
    REQUIRE(os_set_clipboard_images(Str{54, file.data}, Str{138, file.data}, STR("")));
    CHECK(os_get_clipboard_data(CLIPBOARD_DIB).data == nullptr);
    CHECK(os_get_clipboard_data(CLIPBOARD_DIBV5).data == nullptr);
    os_free_clipboard_data(&file);
}

static bool clipboard_has(UINT format) {
    if (!OpenClipboard(nullptr)) return false;
    bool has = IsClipboardFormatAvailable(format);
    CloseClipboard();
    return has;
}

TEST_CASE("a window's client area and the screen are copied as bitmaps") {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"fathomer_clipboard_test";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 10, 10, 64, 48, nullptr, nullptr,
                                wc.hInstance, nullptr);
    REQUIRE(hwnd);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Window window = {};
    window.hwnd = hwnd;
    window.hdc = GetDC(hwnd);
    HBRUSH brush = CreateSolidBrush(RGB(200, 30, 60));
    RECT all = {0, 0, 64, 48};
    FillRect((HDC)window.hdc, &all, brush);
    GdiFlush();

    REQUIRE(os_copy_window_to_clipboard(&window));
    CHECK(clipboard_has(CF_BITMAP));
    ClipboardData bmp = os_get_clipboard_bmp();
    TestImage shot = decode_bmp(bmp.data, bmp.len);
    CHECK(shot.width == 64);
    CHECK(shot.height == 48);
    REQUIRE(shot.rgb.size() == 64 * 48);
    CHECK(shot.rgb[24 * 64 + 32] == 0xC81E3Cu);
    os_free_clipboard_data(&bmp);

    REQUIRE(os_copy_window_to_clipboard(nullptr));
    bmp = os_get_clipboard_bmp();
    shot = decode_bmp(bmp.data, bmp.len);
    CHECK(shot.width == GetSystemMetrics(SM_CXSCREEN));
    CHECK(shot.height == GetSystemMetrics(SM_CYSCREEN));
    os_free_clipboard_data(&bmp);

    DeleteObject(brush);
    ReleaseDC(hwnd, (HDC)window.hdc);
    DestroyWindow(hwnd);
}

TEST_SUITE_END();
