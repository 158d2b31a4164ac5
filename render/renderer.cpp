#include <string.h>

#include "os/gl_context.h"
#include "os/log.h"
#include "os/memory.h"
#include "render/letterbox.h"
#include "render/lib_opengl_loader.h"
#include "render/renderer.h"

Renderer renderer;
SpriteInstance scratch_instance;

static const u32 QUAD_INDICES[6] = {0, 1, 3, 3, 2, 0};

static const QuadVertex QUAD_VERTICES[4] = {
    {{0, -1, 0}, {0, 0}, 0},
    {{1, -1, 0}, {1, 0}, 0},
    {{0, 0, 0}, {0, 1}, 0},
    {{1, 0, 0}, {1, 1}, 0},
};

struct VertexAttribute {
    GLuint location;
    GLint components;
    GLenum type;
    GLboolean normalized;
    u32 offset;
};

static const VertexAttribute QUAD_ATTRIBUTES[] = {
    {0, 3, GL_FLOAT, GL_FALSE, offsetof(QuadVertex, position)},
    {1, 2, GL_FLOAT, GL_FALSE, offsetof(QuadVertex, uv)},
    {11, 1, GL_FLOAT, GL_FALSE, offsetof(QuadVertex, extra)},
};

static const VertexAttribute INSTANCE_ATTRIBUTES[] = {
    {2, 3, GL_FLOAT, GL_FALSE, offsetof(SpriteInstance, position)},
    {3, 2, GL_FLOAT, GL_FALSE, offsetof(SpriteInstance, size)},
    {4, 2, GL_FLOAT, GL_FALSE, offsetof(SpriteInstance, anchor)},
    {5, 1, GL_FLOAT, GL_FALSE, offsetof(SpriteInstance, rotation)},
    {6, 4, GL_UNSIGNED_BYTE, GL_TRUE, offsetof(SpriteInstance, fill_color)},
    {7, 4, GL_UNSIGNED_BYTE, GL_TRUE, offsetof(SpriteInstance, tint)},
    {8, 2, GL_UNSIGNED_SHORT, GL_FALSE, offsetof(SpriteInstance, tex_x)},
    {9, 2, GL_UNSIGNED_SHORT, GL_FALSE, offsetof(SpriteInstance, tex_w)},
    {10, 1, GL_UNSIGNED_BYTE, GL_FALSE, offsetof(SpriteInstance, layer)},
};

static void set_attribute(const VertexAttribute *a, GLsizei stride) {
    glEnableVertexAttribArray(a->location);
    glVertexAttribPointer(a->location, a->components, a->type, a->normalized, stride,
                          (const void *)(uintptr_t)a->offset);
}

static u8 *segment_memory(u32 segment) {
    return renderer.instance_memory + (u64)segment * RENDERER_MAX_INSTANCES * sizeof(SpriteInstance);
}

bool renderer_can_map_persistently(void) { return !gl_version.es; }

void init_renderer(Window *window) {
    renderer.window = window;

    glGenBuffers(1, &renderer.uniform_buffer);
    glBindBuffer(GL_UNIFORM_BUFFER, renderer.uniform_buffer);
    glBufferData(GL_UNIFORM_BUFFER, sizeof(FrameUniforms), nullptr, GL_DYNAMIC_DRAW);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
    gl_check_errors();

    renderer.shader.vertex_path = STR("shaders/instanced__vert");
    renderer.shader.fragment_path = STR("shaders/instanced__frag");
    build_shader_program(&renderer.shader, renderer.uniform_buffer);

    glGenVertexArrays(1, &renderer.vertex_array);
    glBindVertexArray(renderer.vertex_array);
    gl_check_errors();

    create_gl_buffer(GL_ELEMENT_ARRAY_BUFFER, &renderer.index_buffer, sizeof(u32), COUNT_OF(QUAD_INDICES),
                     QUAD_INDICES, GL_STATIC_DRAW, false);

    create_gl_buffer(GL_ARRAY_BUFFER, &renderer.quad_buffer, sizeof(QuadVertex), COUNT_OF(QUAD_VERTICES),
                     QUAD_VERTICES, GL_STATIC_DRAW, false);
    for (const VertexAttribute &a : QUAD_ATTRIBUTES) {
        set_attribute(&a, sizeof(QuadVertex));
        gl_check_errors();
    }

    GlBuffer *instances = &renderer.instance_buffer;
    if (renderer_can_map_persistently()) {
        create_gl_buffer(GL_ARRAY_BUFFER, instances, sizeof(SpriteInstance),
                         RENDERER_MAX_INSTANCES * RENDERER_INSTANCE_SEGMENTS, nullptr, GL_DYNAMIC_DRAW, true);
    } else {
        // One frame's batch in program memory; the upload copies it, so no
        // segment is ever read while written.
        create_gl_buffer(GL_ARRAY_BUFFER, instances, sizeof(SpriteInstance), RENDERER_MAX_INSTANCES, nullptr,
                         GL_STREAM_DRAW, false);
        glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)RENDERER_MAX_INSTANCES * RENDERER_UPLOAD_STRIDE, nullptr,
                     GL_STREAM_DRAW);
        renderer.upload_memory = (u8 *)os_alloc_zeroed((u64)RENDERER_MAX_INSTANCES * RENDERER_UPLOAD_STRIDE);
        if (!renderer.upload_memory) os_free(instances->data), instances->data = nullptr;
    }
    GLsizei instance_stride = renderer_can_map_persistently() ? (GLsizei)sizeof(SpriteInstance)
                                                                : (GLsizei)RENDERER_UPLOAD_STRIDE;
    renderer.instance_memory = (u8 *)instances->data;
    renderer.segment = 0;
    if (renderer.instance_memory) {
        instances->capacity = RENDERER_MAX_INSTANCES;
    } else {
        // Every push then lands in scratch_instance and frames draw nothing.
        LOG_TAG();
        log_printf("The instance buffer could not be mapped\n");
        instances->capacity = 0;
    }
    for (const VertexAttribute &a : INSTANCE_ATTRIBUTES) {
        set_attribute(&a, instance_stride);
        glVertexAttribDivisor(a.location, 1);
        gl_check_errors();
    }

    glBindVertexArray(0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

Size2i renderer_view_size(void) {
    if (renderer.view_size.width > 0 && renderer.view_size.height > 0) return renderer.view_size;
    return Size2i{renderer.window->client_size.width, renderer.window->client_size.height};
}

// Bars where the view's aspect leaves the window uncovered: the whole surface
// is cleared black, then the view's box is the viewport.  A view that fills
// the window makes none of these calls.  The view is drawn with every pixel
// the surface has, which on a high-density screen is more than the client's:
// sharper, never more of the world.
static bool place_viewport(void) {
    Size2i client = os_gl_drawable_size(renderer.window);
    Letterbox box = letterbox_for(client, renderer_view_size());
    if (letterbox_fills(box, client)) {
        glViewport(0, 0, client.width, client.height);
        return false;
    }
    glViewport(0, 0, client.width, client.height);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // GL counts rows from the bottom.
    i32 gl_y = client.height - box.y - box.height;
    glViewport(box.x, gl_y, box.width, box.height);
    glScissor(box.x, gl_y, box.width, box.height);
    glEnable(GL_SCISSOR_TEST);
    return true;
}

void begin_frame(void) {
    bool scissored = place_viewport();
    glEnable(GL_BLEND);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE);
    glBlendEquationSeparate(GL_FUNC_ADD, GL_MAX);
    glEnable(GL_DEPTH_TEST);
    if (gl_version.es) glClearDepthf(1.0f);
    else glClearDepth(1.0);
    glClearColor(46.0f / 255.0f, 59.0f / 255.0f, 58.0f / 255.0f, 1.0f);
    // The depth mask also masks the clear: depth writes are turned off only
    // after it, or the depth buffer keeps stale values that hide every quad.
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDepthMask(GL_FALSE);
    // The scissor kept the clear inside the box; drawing stays there by itself.
    if (scissored) glDisable(GL_SCISSOR_TEST);
}

void set_frame_uniforms(const Camera *camera, u64 total_ms) {
    const Size2i client = renderer.window->client_size;
    FrameUniforms u = {
        {0, 0},
        {camera->view_size.width, -camera->view_size.height},
        {(f32)client.width, (f32)client.height},
        {camera->zoom, camera->zoom},
        camera->camera_extra,
        (f32)(u32)(total_ms % RENDERER_TIME_WRAP_MS),
    };
    glBindBuffer(GL_UNIFORM_BUFFER, renderer.uniform_buffer);
    glBufferSubData(GL_UNIFORM_BUFFER, 0, sizeof(u), &u);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
    gl_check_errors();
}

SpriteInstance *push_instance(void) {
    GlBuffer *b = &renderer.instance_buffer;
    if (b->count >= b->capacity) return &scratch_instance;
    SpriteInstance *slot = (SpriteInstance *)((u8 *)b->data + (u64)b->count * sizeof(SpriteInstance));
    b->count++;
    return slot;
}

void push_rect(u16 tex_x, u16 tex_y, u16 tex_w, u16 tex_h, u8 layer) {
    SpriteInstance *s = push_instance();
    memset(s, 0, sizeof(*s));
    Size2i view = renderer_view_size();
    s->size[0] = (f32)view.width;
    s->size[1] = (f32)view.height;
    memset(s->tint, 255, sizeof(s->tint));
    s->tex_x = tex_x;
    s->tex_y = tex_y;
    s->tex_w = tex_w;
    s->tex_h = tex_h;
    s->layer = layer;
}

// Moves the batch to the next segment once the GPU has finished reading it.
static void advance_segment(void) {
    renderer.segment_fences[renderer.segment] = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    renderer.segment = (renderer.segment + 1) % RENDERER_INSTANCE_SEGMENTS;
    GLsync fence = renderer.segment_fences[renderer.segment];
    if (fence) {
        GLenum status;
        do {
            status = glClientWaitSync(fence, GL_SYNC_FLUSH_COMMANDS_BIT, 1000000000);
        } while (status == GL_TIMEOUT_EXPIRED);
        glDeleteSync(fence);
        renderer.segment_fences[renderer.segment] = nullptr;
    }
    renderer.instance_buffer.data = segment_memory(renderer.segment);
}

// The batch from program memory into the buffer, once per frame.
static void draw_uploaded(GlBuffer *b) {
    if (b->count) {
        const u8 *from = (const u8 *)b->data;
        for (u32 i = 0; i < b->count; i++)
            memcpy(renderer.upload_memory + (u64)i * RENDERER_UPLOAD_STRIDE, from + (u64)i * sizeof(SpriteInstance),
                   sizeof(SpriteInstance));
        glBindBuffer(GL_ARRAY_BUFFER, b->name);
        glBufferSubData(GL_ARRAY_BUFFER, 0, (GLsizeiptr)((u64)b->count * RENDERER_UPLOAD_STRIDE),
                        renderer.upload_memory);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
    glBindVertexArray(renderer.vertex_array);
    glDrawElementsInstanced(GL_TRIANGLES, (GLsizei)renderer.index_buffer.count, GL_UNSIGNED_INT, nullptr,
                            (GLsizei)b->count);
    glBindVertexArray(0);
}

void draw_instances(void) {
    GlBuffer *b = &renderer.instance_buffer;
    if (!(b->flags & GL_BUFFER_PERSISTENT)) {
        draw_uploaded(b);
        // The batch stays in the one segment until the next frame writes it.
        renderer.drawn_segment = 0;
        renderer.drawn_count = (u32)b->count;
        gl_check_errors();
        b->count = 0;
        return;
    }
    glBindVertexArray(renderer.vertex_array);
    glDrawElementsInstancedBaseInstance(GL_TRIANGLES, (GLsizei)renderer.index_buffer.count, GL_UNSIGNED_INT,
                                        nullptr, (GLsizei)b->count,
                                        renderer.segment * RENDERER_MAX_INSTANCES);
    glBindVertexArray(0);
    renderer.drawn_segment = renderer.segment;
    renderer.drawn_count = (u32)b->count;
    if (renderer.instance_memory) advance_segment();
    gl_check_errors();
    b->count = 0;
}

const SpriteInstance *renderer_drawn_batch(u32 *count) {
    if (!renderer.instance_memory || renderer.drawn_count == 0) {
        *count = 0;
        return nullptr;
    }
    *count = renderer.drawn_count;
    return (const SpriteInstance *)segment_memory(renderer.drawn_segment);
}
