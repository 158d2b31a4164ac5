#include <doctest/doctest.h>

#include "os/clipboard.h"

static void never_called(u32, Str) { FAIL("no format expected"); }

TEST_CASE("without a display the clipboard cannot be opened") {
    CHECK(os_print_clipboard_formats() == 0);
    CHECK(os_list_clipboard_formats(never_called) == 1);
    CHECK(!os_set_clipboard_text(STR("abc")));
    CHECK(os_get_clipboard_text().data == nullptr);
    CHECK(os_get_clipboard_data(13).len == 0);
    CHECK(os_get_clipboard_file_name().data == nullptr);
    CHECK(os_get_clipboard_png().data == nullptr);
    CHECK(os_get_clipboard_bmp().data == nullptr);
    CHECK(!os_set_clipboard_images(STR(""), STR(""), STR("png")));
    CHECK(!os_copy_window_to_clipboard(nullptr));
}
