#include <doctest/doctest.h>
#include <string.h>

#include <set>
#include <string>

#include "os/log.h"
#include "render/lib_opengl_loader.h"
#include "tests/stdout_capture.h"
#include "tests/render_fake_gl.h"

static const char *fake_version;
static void GL_APIENTRY any_entry_point() {}
static const GLubyte *GL_APIENTRY version_string(GLenum name) {
    return name == GL_VERSION ? (const GLubyte *)fake_version : nullptr;
}

// Every name resolves, and glGetString answers with fake_version.
static void *lookup_all(const char *name) {
    if (strcmp(name, "glGetString") == 0) return (void *)version_string;
    return (void *)any_entry_point;
}
static void *lookup_nothing(const char *) { return nullptr; }

static bool slot_set(int i) {
    void *p;
    memcpy(&p, gl_entries[i].slot, sizeof(p));
    return p != nullptr;
}

// The first group whose slots are all null, as "major.minor"; "" when every slot is set.
static std::string first_empty_group() {
    for (const GlEntryGroup &g : gl_version_groups) {
        int set = 0;
        for (int i = g.first; i < g.first + g.count; i++) set += slot_set(i);
        if (set == 0) return std::to_string(g.major) + "." + std::to_string(g.minor);
    }
    return "";
}

static bool all_set_before(const std::string &group_name) {
    int end = GL_ENTRY_COUNT;
    for (const GlEntryGroup &g : gl_version_groups)
        if (std::to_string(g.major) + "." + std::to_string(g.minor) == group_name) end = g.first;
    for (int i = 0; i < end; i++)
        if (!slot_set(i)) return false;
    return true;
}

struct LoadResult {
    i32 version;
    std::string log;
    std::string first_empty;
    bool earlier_all_set;
};

static LoadResult load_with_version(const char *version) {
    null_all_gl_slots();
    fake_version = version;
    capture_stdout_begin();
    i32 v = load_gl_functions_with(lookup_all);
    std::string log = capture_stdout_end();
    std::string empty = first_empty_group();
    LoadResult r{v, log, empty, all_set_before(empty)};
    null_all_gl_slots();
    return r;
}

TEST_CASE("the slot table has the registry's groups in load order") {
    static const int counts[][3] = {{1, 2, 2},   {1, 3, 46},  {1, 4, 47}, {1, 5, 19}, {2, 0, 93}, {2, 1, 6},
                                    {3, 0, 84},  {3, 1, 12},  {3, 2, 19}, {3, 3, 58}, {4, 0, 46}, {4, 1, 88},
                                    {4, 2, 12},  {4, 3, 43},  {4, 4, 9},  {4, 5, 122}, {4, 6, 4}};
    int first = GL_BASE_ENTRY_COUNT + GL_EARLY_ENTRY_COUNT;
    CHECK(GL_BASE_ENTRY_COUNT == 336);
    for (int i = 0; i < GL_VERSION_GROUP_COUNT; i++) {
        CHECK(gl_version_groups[i].major == counts[i][0]);
        CHECK(gl_version_groups[i].minor == counts[i][1]);
        CHECK(gl_version_groups[i].count == counts[i][2]);
        CHECK(gl_version_groups[i].first == first);
        first += counts[i][2];
    }
    CHECK(first == GL_ENTRY_COUNT);
    CHECK(strcmp(gl_entries[GL_EARLY_ENTRY_FIRST].name, "glTexImage3D") == 0);
    CHECK(strcmp(gl_entries[GL_EARLY_ENTRY_FIRST + 1].name, "glTexSubImage3D") == 0);
    // Each name once, so no slot is loaded from two groups.
    std::set<void *> slots;
    std::set<std::string> names;
    for (const GlEntry &e : gl_entries) {
        slots.insert(e.slot);
        names.insert(e.name);
    }
    CHECK(slots.size() == GL_ENTRY_COUNT);
    CHECK(names.size() == GL_ENTRY_COUNT);
}

TEST_CASE("version strings decide how far loading goes") {
    LoadResult r = load_with_version("4.6.0 NVIDIA 535.54");
    CHECK(r.version == 40600);
    CHECK(r.first_empty == "");
    CHECK(r.earlier_all_set);
    CHECK(r.log == "");
    CHECK(gl_version.major == 4);
    CHECK(gl_version.minor == 6);
    CHECK(gl_version.release == 0);

    r = load_with_version("3.3");
    CHECK(r.version == 30300);
    CHECK(r.first_empty == "4.0");
    CHECK(r.earlier_all_set);

    r = load_with_version("4.5.0 Mesa 22.3.6");
    CHECK(r.version == 40500);
    CHECK(r.first_empty == "4.6");
    CHECK(r.earlier_all_set);

    r = load_with_version("4.5 (Compatibility Profile) Mesa 22.3.6");
    CHECK(r.version == 40500);
    CHECK(r.first_empty == "4.6");

    // Within a major version the rule follows the minor; past its last group
    // the major alone decides.
    r = load_with_version("1.3");
    CHECK(r.version == 10300);
    CHECK(r.first_empty == "1.4");
    r = load_with_version("2.7");
    CHECK(r.version == 20700);
    CHECK(r.first_empty == "3.0");
    r = load_with_version("4.1.12");
    CHECK(r.version == 40112);
    CHECK(r.first_empty == "4.2");

    // ES counts its versions apart from the desktop's: every slot is looked up.
    r = load_with_version("OpenGL ES 3.0 (WebGL 2.0 (OpenGL ES 3.0 Chromium))");
    CHECK(r.version == 30000);
    CHECK(r.first_empty == "");
    CHECK(r.log == "");
    CHECK(gl_version.es);
    r = load_with_version("3.0");
    CHECK(!gl_version.es);
    CHECK(r.first_empty == "3.1");
}

TEST_CASE("a version above 4.6 loads everything and warns once") {
    const char *warning_47 =
        "OpenGL version (4.7) is higher than what is supported by lib_opengl_loader (4.6). Some features may not be "
        "available.\n";
    LoadResult r = load_with_version("4.7");
    CHECK(r.version == 40700);
    CHECK(r.first_empty == "");
    CHECK(r.log == warning_47);

    r = load_with_version("5.0 future");
    CHECK(r.version == 50000);
    CHECK(r.first_empty == "");
    CHECK(r.log ==
          "OpenGL version (5.0) is higher than what is supported by lib_opengl_loader (4.6). Some features may not "
          "be available.\n");
}

TEST_CASE("unusable version strings fail after the early 3D pair is loaded") {
    for (const char *text : {"", "OpenGL 4.6", "OpenGL ES", "0.9", ".5", "99999999999.0", "300000.0"}) {
        CAPTURE(text);
        LoadResult r = load_with_version(text);
        CHECK(r.version == -1);
        CHECK(r.first_empty == "1.2");
        CHECK(r.earlier_all_set);  // 1.0, 1.1 and glTexImage3D / glTexSubImage3D
    }
}

TEST_CASE("no glGetString, or no version from it, is a failure without calling through null") {
    null_all_gl_slots();
    CHECK(load_gl_functions_with(lookup_nothing) == -1);
    fake_version = nullptr;
    CHECK(load_gl_functions_with(lookup_all) == -1);
    null_all_gl_slots();
}

TEST_CASE("version parsing stops at the first character that does not fit") {
    GlVersion v = parse_gl_version("4.6.0 NVIDIA 535");
    CHECK((v.major == 4 && v.minor == 6 && v.release == 0));
    v = parse_gl_version("3.3.2-devel");
    CHECK((v.major == 3 && v.minor == 3 && v.release == 2));
    v = parse_gl_version("4.");
    CHECK((v.major == 4 && v.minor == 0 && v.release == 0));
    v = parse_gl_version("12.34.56.78");
    CHECK(encode_gl_version(v) == 123456);
    v = parse_gl_version("2147483648.0");
    CHECK(v.major == 0);
    v = parse_gl_version("OpenGL ES 3.2 Mesa 22.3.6");
    CHECK((v.major == 3 && v.minor == 2 && v.es));
    // Only the exact prefix marks ES.
    v = parse_gl_version("OpenGL 4.6");
    CHECK((v.major == 0 && !v.es));
    v = parse_gl_version("OpenGL ES3.0");
    CHECK(v.major == 0);
}

TEST_CASE("gl_check_errors names every pending error, then halts once") {
    install_fake_gl();
    capture_stdout_begin();
    gl_check_errors();
    std::string quiet = capture_stdout_end();
    CHECK(quiet == "");
    CHECK(fake_gl.halts == 0);

    fake_gl.pending_errors = {GL_INVALID_OPERATION, GL_OUT_OF_MEMORY};
    capture_stdout_begin();
    gl_check_errors();
    std::string two = capture_stdout_end();
    CHECK(two == "GL_INVALID_OPERATION\nGL_OUT_OF_MEMORY\n");
    CHECK(fake_gl.halts == 1);
    CHECK(fake_gl.pending_errors.empty());

    fake_gl.pending_errors = {0x0500, 0x0501, 0x0503, 0x0504, 0x0506, 0x0507, 0x1234};
    capture_stdout_begin();
    gl_check_errors();
    std::string all = capture_stdout_end();
    CHECK(all ==
          "GL_INVALID_ENUM\nGL_INVALID_VALUE\nGL_STACK_OVERFLOW\nGL_STACK_UNDERFLOW\n"
          "GL_INVALID_FRAMEBUFFER_OPERATION\nGL_CONTEXT_LOST\n???\n");
    CHECK(fake_gl.halts == 2);
    remove_fake_gl();
}
