#include <doctest/doctest.h>

#include "os/library.h"
#include <string>

#include "tests/test_platform.h"

TEST_CASE("a library symbol is looked up, and a failed load gives null everywhere") {
    Library library = os_load_library(str_from_cstr(test_system_library()));
    REQUIRE(library.loaded == 1);
    CHECK(library.handle != nullptr);
    // The name is a counted slice: the bytes after it are not part of it.
    std::string names = std::string(test_system_symbol()) + "xyz";
    Str name = {names.size() - 3, names.c_str()};
    CHECK(os_get_library_symbol(&library, name) != nullptr);
    CHECK(os_get_library_symbol(&library, STR("no_such_symbol_here")) == nullptr);
    os_free_library(&library);
    CHECK(library.loaded == 0);
    CHECK(library.handle == nullptr);
    CHECK(os_get_library_symbol(&library, name) == nullptr);

    Library missing = os_load_library(STR("no_such_library_at_all_42"));
    CHECK(missing.loaded == 0);
    CHECK(missing.handle == nullptr);
    CHECK(os_get_library_symbol(&missing, name) == nullptr);
    os_free_library(&missing);

    // A handle that looks real is not asked about when the load failed.
    Library pretend = {(void *)&name, 0};
    CHECK(os_get_library_symbol(&pretend, name) == nullptr);
}
