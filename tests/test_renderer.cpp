#include <doctest/doctest.h>
#include <string.h>

#include <string>

#include "os/memory.h"
#include "render/lib_opengl_loader.h"
#include "render/renderer.h"
#include "tests/stdout_capture.h"
#include "tests/render_fake_gl.h"

static Window test_window(i32 width, i32 height) {
    Window w;
    memset(&w, 0, sizeof(w));
    w.flags = WINDOW_OPEN | WINDOW_OPENGL;
    w.client_size = Size2i{width, height};
    return w;
}

// The CPU copies a renderer keeps for the life of the program.
static void stop_fake_renderer() {
    os_free(renderer.index_buffer.data);
    os_free(renderer.quad_buffer.data);
    renderer = Renderer{};
    remove_fake_gl();
}

// A renderer built against the fakes; the log it wrote is returned.
static std::string start_fake_renderer(Window *window) {
    install_fake_gl();
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    renderer = Renderer{};
    capture_stdout_begin();
    init_renderer(window);
    return capture_stdout_end();
}

TEST_CASE("init_renderer builds the program, the quad and the instance attributes") {
    Window w = test_window(1280, 800);
    std::string log = start_fake_renderer(&w);
    CHECK(log == "");
    CHECK(renderer.shader.program != 0);
    CHECK(fake_gl_find("glGetUniformBlockIndex(global_info_block)") >= 0);
    CHECK(fake_gl_find("glUniformBlockBinding(") >= 0);
    CHECK(fake_gl_count("glBindBufferBase(0x8A11, 1, ") == 1);
    CHECK(fake_gl.halts == 0);

    CHECK(renderer.index_buffer.count == 6);
    CHECK(renderer.index_buffer.stride == 4);
    CHECK(renderer.quad_buffer.count == 4);
    CHECK(renderer.quad_buffer.stride == 24);
    const u32 *indices = (const u32 *)renderer.index_buffer.data;
    CHECK((indices[0] == 0 && indices[1] == 1 && indices[2] == 3 && indices[3] == 3 && indices[4] == 2 &&
           indices[5] == 0));

    struct Expected {
        GLuint location;
        GLint components;
        GLenum type;
        GLboolean normalized;
        uintptr_t offset;
        GLsizei stride;
        GLuint divisor;
    };
    const Expected expected[] = {
        {0, 3, GL_FLOAT, 0, 0, 24, 0},           {1, 2, GL_FLOAT, 0, 12, 24, 0},
        {11, 1, GL_FLOAT, 0, 20, 24, 0},         {2, 3, GL_FLOAT, 0, 0, 49, 1},
        {3, 2, GL_FLOAT, 0, 12, 49, 1},          {4, 2, GL_FLOAT, 0, 20, 49, 1},
        {5, 1, GL_FLOAT, 0, 28, 49, 1},          {6, 4, GL_UNSIGNED_BYTE, 1, 32, 49, 1},
        {7, 4, GL_UNSIGNED_BYTE, 1, 36, 49, 1},  {8, 2, GL_UNSIGNED_SHORT, 0, 40, 49, 1},
        {9, 2, GL_UNSIGNED_SHORT, 0, 44, 49, 1}, {10, 1, GL_UNSIGNED_BYTE, 0, 48, 49, 1},
    };
    CHECK(fake_gl.attributes.size() == COUNT_OF(expected));
    for (const Expected &e : expected) {
        CAPTURE(e.location);
        const FakeAttribute &a = fake_gl.attributes[e.location];
        CHECK(a.enabled);
        CHECK(a.components == e.components);
        CHECK(a.type == e.type);
        CHECK(a.normalized == e.normalized);
        CHECK(a.offset == e.offset);
        CHECK(a.stride == e.stride);
        CHECK(a.divisor == e.divisor);
    }
    // Persistent, coherent storage for three batches, mapped once.
    CHECK(fake_gl_find("glBufferStorage(0x8892, 301056, 0x1C3)") >= 0);
    CHECK(fake_gl_find("glMapBufferRange(0x8892, 0, 301056, 0xC3)") >= 0);
    CHECK(renderer.instance_buffer.capacity == 2048);
    CHECK(renderer.instance_buffer.count == 0);
    // The vertex array is unbound before the buffers, so it keeps its index buffer.
    int unbind = fake_gl_find("glBindVertexArray(0)");
    CHECK(unbind >= 0);
    CHECK(fake_gl_find("glBindBuffer(0x8893, 0)", unbind) == unbind + 1);
    CHECK(fake_gl_find("glBindBuffer(0x8892, 0)", unbind) == unbind + 2);
    stop_fake_renderer();
}

TEST_CASE("shader build failures are logged and leave program 0") {
    Window w = test_window(1280, 800);
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    install_fake_gl();
    fake_gl.compile_ok = false;
    renderer = Renderer{};
    capture_stdout_begin();
    init_renderer(&w);
    std::string log = capture_stdout_end();
    CHECK(renderer.shader.program == 0);
    CHECK(log.rfind("[compile_shader:", 0) == 0);
    CHECK(log.find("Compiling the vertex shader failed:\n0:1(1): error: syntax error\n") != std::string::npos);
    CHECK(fake_gl.halts == 0);

    stop_fake_renderer();
    install_fake_gl();
    fake_gl.link_ok = false;
    capture_stdout_begin();
    init_renderer(&w);
    log = capture_stdout_end();
    CHECK(renderer.shader.program == 0);
    CHECK(log.find("Linking the shader program failed:\n0:1(1): error: syntax error\n") != std::string::npos);
    CHECK(fake_gl_count("glDeleteShader(") == 2);
    CHECK(fake_gl_count("glDeleteProgram(") == 1);

    stop_fake_renderer();
    install_fake_gl();
    fake_gl.has_uniform_block = false;
    capture_stdout_begin();
    init_renderer(&w);
    log = capture_stdout_end();
    CHECK(renderer.shader.program == 0);
    CHECK(log.find("The shader program has no global_info_block\n") != std::string::npos);
    CHECK(fake_gl_count("glDeleteShader(") == 2);
    CHECK(fake_gl_count("glDeleteProgram(") == 1);
    CHECK(fake_gl_count("glUniformBlockBinding(") == 0);

    // The rest of the renderer is built all the same.
    CHECK(renderer.instance_buffer.capacity == 2048);
    stop_fake_renderer();
}

TEST_CASE("missing shader files leave program 0 without a GL call for the program") {
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    install_fake_gl();
    renderer = Renderer{};
    renderer.shader.vertex_path = STR("shaders/no_such_shader");
    renderer.shader.fragment_path = STR("shaders/instanced__frag");
    capture_stdout_begin();
    bool built = build_shader_program(&renderer.shader, 1);
    std::string log = capture_stdout_end();
    CHECK_FALSE(built);
    CHECK(renderer.shader.program == 0);
    CHECK(fake_gl_count("glCreateShader") == 0);
    CHECK(log.find("Cannot read the shader (") != std::string::npos);
    CHECK(log.find("shaders/no_such_shader)\n") != std::string::npos);
    stop_fake_renderer();
}

TEST_CASE("a batch holds 2048 instances and further pushes go to the scratch record") {
    Window w = test_window(1280, 800);
    start_fake_renderer(&w);
    GlBuffer *b = &renderer.instance_buffer;
    u8 *first = (u8 *)b->data;
    for (u32 i = 0; i < 2048; i++) {
        SpriteInstance *s = push_instance();
        REQUIRE((u8 *)s == first + i * 49);
        memset(s, 0, sizeof(*s));
        s->position[0] = (f32)i;
    }
    CHECK(b->count == 2048);
    SpriteInstance *extra = push_instance();
    CHECK(extra == &scratch_instance);
    extra->position[0] = -1;
    CHECK(b->count == 2048);
    f32 last_x = ((SpriteInstance *)first)[2047].position[0];
    CHECK(last_x == 2047.0f);

    draw_instances();
    REQUIRE(fake_gl.draws.size() == 1);
    CHECK(fake_gl.draws[0].index_count == 6);
    CHECK(fake_gl.draws[0].instance_count == 2048);
    CHECK(fake_gl.draws[0].base_instance == 0);
    CHECK(b->count == 0);

    // An empty frame still draws, with 0 instances.
    draw_instances();
    CHECK(fake_gl.draws.size() == 2);
    CHECK(fake_gl.draws[1].instance_count == 0);
    stop_fake_renderer();
}

TEST_CASE("each frame's instances go to a segment the GPU has finished reading") {
    Window w = test_window(640, 480);
    start_fake_renderer(&w);
    GlBuffer *b = &renderer.instance_buffer;
    u8 *base = renderer.instance_memory;
    const u64 segment_bytes = 2048 * 49;
    fake_gl.calls.clear();

    for (int frame = 0; frame < 5; frame++) {
        CAPTURE(frame);
        CHECK((u8 *)b->data == base + (frame % 3) * segment_bytes);
        push_instance()->position[0] = (f32)frame;
        draw_instances();
        CHECK(fake_gl.draws.back().base_instance == (GLuint)(frame % 3) * 2048);
    }
    // Each draw fences its segment.  The first two frames reuse nothing; from
    // the third draw on, the segment written next is waited for (its fence
    // from three frames before) and released before any push can reach it.
    CHECK(fake_gl_count("glFenceSync") == 5);
    CHECK(fake_gl_count("glClientWaitSync") == 3);
    int fence0 = fake_gl_find("glFenceSync");
    unsigned first_fence = 0;
    sscanf(fake_gl.calls[fence0].c_str(), "glFenceSync() -> %u", &first_fence);
    int wait0 = fake_gl_find("glClientWaitSync");
    CHECK(fake_gl.calls[wait0] == "glClientWaitSync(" + std::to_string(first_fence) + ")");
    CHECK(fake_gl.calls[wait0 + 1] == "glDeleteSync(" + std::to_string(first_fence) + ")");
    // The third frame's draw comes before the wait for the first frame's fence.
    CHECK(fake_gl_count("glDrawElementsInstancedBaseInstance") >= 3);
    int third_draw = -1;
    for (int i = 0, n = 0; i < (int)fake_gl.calls.size(); i++)
        if (fake_gl.calls[i].rfind("glDrawElementsInstancedBaseInstance", 0) == 0 && ++n == 3) third_draw = i;
    CHECK(third_draw < wait0);

    // A wait that times out is repeated until the fence is signalled.
    fake_gl.fence_timeouts = 2;
    int waits = fake_gl_count("glClientWaitSync");
    draw_instances();
    CHECK(fake_gl_count("glClientWaitSync") == waits + 3);
    stop_fake_renderer();
}

TEST_CASE("an unmappable instance buffer sends every push to the scratch record") {
    Window w = test_window(640, 480);
    install_fake_gl();
    fake_gl.map_fails = true;
    renderer = Renderer{};
    capture_stdout_begin();
    init_renderer(&w);
    std::string log = capture_stdout_end();
    CHECK(log.find("The instance buffer could not be mapped\n") != std::string::npos);
    CHECK(push_instance() == &scratch_instance);
    CHECK(renderer.instance_buffer.count == 0);
    draw_instances();
    CHECK(fake_gl.draws.back().instance_count == 0);
    CHECK(fake_gl_count("glFenceSync") == 0);
    stop_fake_renderer();
}

// An ES context (WebGL 2): nothing can stay mapped.
TEST_CASE("on an ES context the batch is uploaded once per frame, spaced for WebGL, and drawn in one call") {
    Window w = test_window(1280, 800);
    gl_version = GlVersion{3, 0, 0, true};
    std::string log = start_fake_renderer(&w);
    CHECK(log == "");
    CHECK(fake_gl_count("glBufferStorage") == 0);
    CHECK(fake_gl_count("glMapBufferRange") == 0);
    CHECK(fake_gl_find("glBufferData(0x8892, 106496, 0x88E0)") >= 0);  // 2048 instances, 52 bytes apart
    CHECK(fake_gl.attributes[2].stride == RENDERER_UPLOAD_STRIDE);
    CHECK(fake_gl.attributes[10].offset == 48);
    CHECK(fake_gl.attributes[0].stride == 24);
    // The shaders as GLSL ES 3.00, their bodies untouched.
    REQUIRE(fake_gl.shader_sources.size() == 2);
    for (const std::string &source : fake_gl.shader_sources) {
        CHECK(source.rfind("#version 300 es\nprecision highp float;\n", 0) == 0);
        CHECK(source.find("#version 330") == std::string::npos);
        CHECK(source.find("void main()") != std::string::npos);
    }

    GlBuffer *b = &renderer.instance_buffer;
    CHECK(b->capacity == 2048);
    u8 *memory = (u8 *)b->data;
    for (u32 i = 0; i < 3; i++) {
        SpriteInstance *s = push_instance();
        REQUIRE((u8 *)s == memory + i * 49);
        memset(s, (int)(0x10 + i), sizeof(*s));
    }
    fake_gl.calls.clear();
    draw_instances();
    REQUIRE(fake_gl.draws.size() == 1);
    CHECK(fake_gl.draws[0].instance_count == 3);
    CHECK(fake_gl_count("glDrawElementsInstanced(0x4, 6, 0x1405, 3)") == 1);
    CHECK(fake_gl_count("glFenceSync") == 0);
    int upload = fake_gl_find("glBufferSubData(0x8892, 0, 156)");
    REQUIRE(upload >= 0);
    CHECK(upload < fake_gl_find("glDrawElementsInstanced("));
    REQUIRE(fake_gl.array_bytes.size() == 156);
    for (u32 i = 0; i < 3; i++) {
        CAPTURE(i);
        CHECK(fake_gl.array_bytes[i * 52] == 0x10 + i);
        CHECK(fake_gl.array_bytes[i * 52 + 48] == 0x10 + i);
    }
    // The next frame writes the same memory again; until then it is the
    // batch drawn last (the pause shows it again).
    CHECK((u8 *)b->data == memory);
    CHECK(b->count == 0);
    u32 drawn = 0;
    CHECK(renderer_drawn_batch(&drawn) == (const SpriteInstance *)memory);
    CHECK(drawn == 3);

    fake_gl.calls.clear();
    begin_frame();
    CHECK(fake_gl_count("glClearDepthf(1)") == 1);
    CHECK(fake_gl_count("glClearDepth(") == 0);
    os_free(renderer.upload_memory);
    os_free(b->data);
    gl_version = GlVersion{};
    stop_fake_renderer();
}

TEST_CASE("ES sources keep everything after the version line, and a source without one is refused") {
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    Str es = shader_source_for_es(STR("#version 330 core\r\nin vec2 p;\n"));
    CHECK(std::string(es.data, es.len) ==
          "#version 300 es\nprecision highp float;\nprecision highp int;\nprecision highp sampler2DArray;\n"
          "in vec2 p;\n");
    Str bare = shader_source_for_es(STR("#version 330 core"));
    CHECK(std::string(bare.data, bare.len).find("core") == std::string::npos);
    CHECK(shader_source_for_es(STR("void main() {}")).data == nullptr);
    CHECK(shader_source_for_es(STR("")).data == nullptr);
}

TEST_CASE("push_rect covers the window with the given texture rectangle") {
    Window w = test_window(1280, 800);
    start_fake_renderer(&w);
    SpriteInstance *s = (SpriteInstance *)renderer.instance_buffer.data;
    memset(s, 0xAB, sizeof(*s));
    push_rect(1024, 576, 1024, 576, 1);
    CHECK(renderer.instance_buffer.count == 1);
    u8 expected[49] = {};
    f32 width = 1280, height = 800;
    memcpy(expected + 12, &width, 4);
    memcpy(expected + 16, &height, 4);
    memset(expected + 36, 255, 4);
    u16 rect[4] = {1024, 576, 1024, 576};
    memcpy(expected + 40, rect, 8);
    expected[48] = 1;
    CHECK(memcmp(s, expected, 49) == 0);
    stop_fake_renderer();
}

// What begin_frame does after placing the viewport: blending, depth, the clear.
static const std::vector<std::string> FRAME_STATE_CALLS = {
        "glEnable(0xBE2)",
        "glBlendFuncSeparate(0x302, 0x303, 0x1, 0x1)",
        "glBlendEquationSeparate(0x8006, 0x8008)",
        "glEnable(0xB71)",
        "glClearDepth(1)",
        "glClearColor(0.18039216, 0.23137255, 0.22745098, 1.00000000)",
        "glDepthMask(1)",
        "glClear(0x4100)",
        "glDepthMask(0)",
};

TEST_CASE("begin_frame sets the viewport and blending, clears colour and depth, then stops depth writes") {
    Window w = test_window(1280, 800);
    start_fake_renderer(&w);
    fake_gl.calls.clear();
    begin_frame();
    std::vector<std::string> expected = {"glViewport(0, 0, 1280, 800)"};
    expected.insert(expected.end(), FRAME_STATE_CALLS.begin(), FRAME_STATE_CALLS.end());
    CHECK(fake_gl.calls == expected);
    stop_fake_renderer();
}

TEST_CASE("a view of another aspect is letterboxed: the bars cleared black, the view's box the viewport") {
    Window w = test_window(1024, 768);
    start_fake_renderer(&w);
    renderer.view_size = Size2i{1280, 800};
    fake_gl.calls.clear();
    begin_frame();
    // 1024 x 640 in the middle; GL counts the box's rows from the bottom.
    std::vector<std::string> expected = {
        "glViewport(0, 0, 1024, 768)",
        "glClearColor(0.00000000, 0.00000000, 0.00000000, 1.00000000)",
        "glClear(0x4000)",
        "glViewport(0, 64, 1024, 640)",
        "glScissor(0, 64, 1024, 640)",
        "glEnable(0xC11)",
    };
    expected.insert(expected.end(), FRAME_STATE_CALLS.begin(), FRAME_STATE_CALLS.end());
    expected.push_back("glDisable(0xC11)");
    CHECK(fake_gl.calls == expected);
    // A whole-view quad covers the view, not the window.
    push_rect(0, 0, 16, 16, 1);
    const SpriteInstance *s = (const SpriteInstance *)renderer.instance_buffer.data;
    CHECK(s->size[0] == 1280.0f);
    CHECK(s->size[1] == 800.0f);
    // The same view in a window of its own size makes no extra calls.
    w.client_size = Size2i{1280, 800};
    fake_gl.calls.clear();
    begin_frame();
    CHECK(fake_gl.calls.front() == "glViewport(0, 0, 1280, 800)");
    CHECK(fake_gl_count("glScissor(") == 0);
    CHECK(fake_gl_count("glDisable(") == 0);
    stop_fake_renderer();
}

TEST_CASE("the uniform block carries the camera, the window and the wrapped game clock") {
    Window w = test_window(1280, 800);
    start_fake_renderer(&w);
    Camera camera = {{1280.0f, 800.0f}, 0.0f, 1.0f};
    set_frame_uniforms(&camera, 12252239);
    REQUIRE(fake_gl.uniform_bytes.size() == 40);
    const f32 expected[10] = {0, 0, 1280, -800, 1280, 800, 1, 1, 0, 12252239.0f};
    CHECK(memcmp(fake_gl.uniform_bytes.data(), expected, 40) == 0);
    f32 time;
    memcpy(&time, fake_gl.uniform_bytes.data() + 36, 4);
    CHECK(time == 12252239.0f);  // exact: below 2^24

    set_frame_uniforms(&camera, 12252240);
    memcpy(&time, fake_gl.uniform_bytes.data() + 36, 4);
    CHECK(time == 0.0f);
    set_frame_uniforms(&camera, 3ull * 12252240 + 17);
    memcpy(&time, fake_gl.uniform_bytes.data() + 36, 4);
    CHECK(time == 17.0f);
    // The buffer is bound for the upload and unbound after it.
    int upload = fake_gl_find("glBufferSubData(0x8A11, 0, 40)");
    CHECK(fake_gl.calls[upload - 1] == "glBindBuffer(0x8A11, " + std::to_string(renderer.uniform_buffer) + ")");
    CHECK(fake_gl.calls[upload + 1] == "glBindBuffer(0x8A11, 0)");
    stop_fake_renderer();
}
