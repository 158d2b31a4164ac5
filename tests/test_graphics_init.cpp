#include <doctest/doctest.h>
#include <string.h>

#include "render/graphics_init.h"
#include "render/lib_opengl_loader.h"
#include "tests/render_fake_gl.h"

static void GL_APIENTRY any_entry_point() {}

static void set_every_slot() {
    void *p = (void *)any_entry_point;
    for (const GlEntry &e : gl_entries) memcpy(e.slot, &p, sizeof(p));
}

TEST_CASE("a context without an entry point the renderer calls is refused") {
    set_every_slot();
    CHECK(missing_renderer_gl_function() == nullptr);
    // A 4.1 context: loading stops before glBufferStorage (4.4) and the
    // base-instance draw (4.2).
    for (const GlEntryGroup &g : gl_version_groups) {
        if (g.major == 4 && g.minor >= 2)
            for (int i = g.first; i < g.first + g.count; i++) memset(gl_entries[i].slot, 0, sizeof(void *));
    }
    const char *missing = missing_renderer_gl_function();
    REQUIRE(missing != nullptr);
    CHECK(strcmp(missing, "glBufferStorage") == 0);

    set_every_slot();
    glFenceSync = nullptr;
    CHECK(strcmp(missing_renderer_gl_function(), "glFenceSync") == 0);
    null_all_gl_slots();
    CHECK(strcmp(missing_renderer_gl_function(), "glGetError") == 0);
}
