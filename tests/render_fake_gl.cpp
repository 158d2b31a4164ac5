#include "tests/render_fake_gl.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "os/log.h"

FakeGl fake_gl;

static void record(const char *format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    fake_gl.calls.push_back(text);
}

static GLenum GL_APIENTRY fake_get_error() {
    if (fake_gl.pending_errors.empty()) return GL_NO_ERROR;
    GLenum e = fake_gl.pending_errors.front();
    fake_gl.pending_errors.erase(fake_gl.pending_errors.begin());
    return e;
}
static const GLubyte *GL_APIENTRY fake_get_string(GLenum name) {
    switch (name) {
    case GL_VERSION: return (const GLubyte *)"4.5 (Compatibility Profile) Fake 1.0";
    case GL_RENDERER: return (const GLubyte *)"fake renderer";
    case GL_VENDOR: return (const GLubyte *)"fake vendor";
    default: return nullptr;
    }
}
static void GL_APIENTRY fake_get_integerv(GLenum name, GLint *v) { *v = name == GL_MAX_TEXTURE_SIZE ? 16384 : 0; }
static void GL_APIENTRY fake_viewport(GLint x, GLint y, GLsizei w, GLsizei h) { record("glViewport(%d, %d, %d, %d)", x, y, w, h); }
static void GL_APIENTRY fake_clear_color(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { record("glClearColor(%.8f, %.8f, %.8f, %.8f)", r, g, b, a); }
static void GL_APIENTRY fake_clear(GLbitfield mask) { record("glClear(0x%X)", mask); }
static void GL_APIENTRY fake_clear_depth(GLdouble d) { record("glClearDepth(%g)", d); }
static void GL_APIENTRY fake_clear_depthf(GLfloat d) { record("glClearDepthf(%g)", (double)d); }
static void GL_APIENTRY fake_enable(GLenum cap) { record("glEnable(0x%X)", cap); }
static void GL_APIENTRY fake_disable(GLenum cap) { record("glDisable(0x%X)", cap); }
static void GL_APIENTRY fake_scissor(GLint x, GLint y, GLsizei w, GLsizei h) { record("glScissor(%d, %d, %d, %d)", x, y, w, h); }
static void GL_APIENTRY fake_depth_mask(GLboolean flag) { record("glDepthMask(%d)", flag); }
static void GL_APIENTRY fake_blend_func_separate(GLenum a, GLenum b, GLenum c, GLenum d) { record("glBlendFuncSeparate(0x%X, 0x%X, 0x%X, 0x%X)", a, b, c, d); }
static void GL_APIENTRY fake_blend_equation_separate(GLenum a, GLenum b) { record("glBlendEquationSeparate(0x%X, 0x%X)", a, b); }
static void GL_APIENTRY fake_gen(GLsizei n, GLuint *names) {
    for (GLsizei i = 0; i < n; i++) names[i] = fake_gl.next_name++;
    record("glGen(%d)", n);
}
static void GL_APIENTRY fake_bind_buffer(GLenum target, GLuint name) {
    fake_gl.bound_buffers[target] = name;
    record("glBindBuffer(0x%X, %u)", target, name);
}
static void GL_APIENTRY fake_buffer_data(GLenum target, GLsizeiptr size, const void *, GLenum usage) { record("glBufferData(0x%X, %lld, 0x%X)", target, (long long)size, usage); }
static void GL_APIENTRY fake_buffer_sub_data(GLenum target, GLintptr offset, GLsizeiptr size, const void *data) {
    record("glBufferSubData(0x%X, %lld, %lld)", target, (long long)offset, (long long)size);
    if (target == GL_UNIFORM_BUFFER) fake_gl.uniform_bytes.assign((const uint8_t *)data, (const uint8_t *)data + size);
    if (target == GL_ARRAY_BUFFER) fake_gl.array_bytes.assign((const uint8_t *)data, (const uint8_t *)data + size);
}
static void GL_APIENTRY fake_buffer_storage(GLenum target, GLsizeiptr size, const void *, GLbitfield flags) {
    fake_gl.buffer_storage[fake_gl.bound_buffers[target]].assign((size_t)size, 0xCD);
    record("glBufferStorage(0x%X, %lld, 0x%X)", target, (long long)size, flags);
}
static void *GL_APIENTRY fake_map_buffer_range(GLenum target, GLintptr offset, GLsizeiptr size, GLbitfield access) {
    record("glMapBufferRange(0x%X, %lld, %lld, 0x%X)", target, (long long)offset, (long long)size, access);
    if (fake_gl.map_fails) return nullptr;
    return fake_gl.buffer_storage[fake_gl.bound_buffers[target]].data() + offset;
}
static void GL_APIENTRY fake_bind_buffer_base(GLenum target, GLuint index, GLuint name) { record("glBindBufferBase(0x%X, %u, %u)", target, index, name); }
static void GL_APIENTRY fake_bind_vertex_array(GLuint name) { record("glBindVertexArray(%u)", name); }
static void GL_APIENTRY fake_enable_attrib(GLuint loc) { fake_gl.attributes[loc].enabled = true; }
static void GL_APIENTRY fake_attrib_pointer(GLuint loc, GLint n, GLenum type, GLboolean norm, GLsizei stride, const void *offset) {
    FakeAttribute &a = fake_gl.attributes[loc];
    a.components = n;
    a.type = type;
    a.normalized = norm;
    a.stride = stride;
    a.offset = (uintptr_t)offset;
}
static void GL_APIENTRY fake_attrib_divisor(GLuint loc, GLuint d) { fake_gl.attributes[loc].divisor = d; }
static GLuint GL_APIENTRY fake_create_shader(GLenum type) {
    record("glCreateShader(0x%X)", type);
    return fake_gl.next_name++;
}
static void GL_APIENTRY fake_shader_source(GLuint, GLsizei count, const GLchar *const *text, const GLint *length) {
    record("glShaderSource(%d, %d)", count, length ? length[0] : -1);
    if (count == 1 && length) fake_gl.shader_sources.emplace_back(text[0], (size_t)length[0]);
}
static void GL_APIENTRY fake_compile_shader(GLuint) {}
static void GL_APIENTRY fake_get_shaderiv(GLuint, GLenum, GLint *v) { *v = fake_gl.compile_ok; }
static void GL_APIENTRY fake_info_log(GLuint, GLsizei size, GLsizei *length, GLchar *text) {
    GLsizei n = (GLsizei)fake_gl.info_log.size();
    if (n > size - 1) n = size - 1;
    memcpy(text, fake_gl.info_log.data(), (size_t)n);
    text[n] = 0;
    *length = n;
}
static void GL_APIENTRY fake_delete_shader(GLuint name) { record("glDeleteShader(%u)", name); }
static GLuint GL_APIENTRY fake_create_program() {
    record("glCreateProgram()");
    return fake_gl.next_name++;
}
static void GL_APIENTRY fake_attach_shader(GLuint p, GLuint s) { record("glAttachShader(%u, %u)", p, s); }
static void GL_APIENTRY fake_link_program(GLuint) {}
static void GL_APIENTRY fake_get_programiv(GLuint, GLenum, GLint *v) { *v = fake_gl.link_ok; }
static void GL_APIENTRY fake_delete_program(GLuint name) { record("glDeleteProgram(%u)", name); }
static GLuint GL_APIENTRY fake_get_uniform_block_index(GLuint, const GLchar *name) {
    record("glGetUniformBlockIndex(%s)", name);
    return fake_gl.has_uniform_block ? 0 : GL_INVALID_INDEX;
}
static void GL_APIENTRY fake_uniform_block_binding(GLuint p, GLuint block, GLuint binding) { record("glUniformBlockBinding(%u, %u, %u)", p, block, binding); }
static void GL_APIENTRY fake_bind_texture(GLenum target, GLuint name) { record("glBindTexture(0x%X, %u)", target, name); }
static void GL_APIENTRY fake_tex_image_3d(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLsizei d, GLint border, GLenum format, GLenum type, const void *) {
    record("glTexImage3D(0x%X, %d, 0x%X, %d, %d, %d, %d, 0x%X, 0x%X)", target, level, internal, w, h, d, border, format, type);
}
static void GL_APIENTRY fake_tex_sub_image_3d(GLenum, GLint, GLint x, GLint y, GLint z, GLsizei w, GLsizei h, GLsizei, GLenum, GLenum, const void *pixels) {
    record("glTexSubImage3D(%d, %d, %d, %d, %d)", x, y, z, w, h);
    const uint8_t *p = (const uint8_t *)pixels;
    fake_gl.uploads.push_back(FakeTexUpload{x, y, z, w, h, std::vector<uint8_t>(p, p + (size_t)w * h * 4)});
}
static void GL_APIENTRY fake_tex_parameteri(GLenum, GLenum name, GLint value) { record("glTexParameteri(0x%X, 0x%X)", name, value); }
static void GL_APIENTRY fake_draw(GLenum mode, GLsizei count, GLenum type, const void *, GLsizei instances, GLuint base) {
    record("glDrawElementsInstancedBaseInstance(0x%X, %d, 0x%X, %d, %u)", mode, count, type, instances, base);
    fake_gl.draws.push_back(FakeDraw{count, instances, base});
}
static void GL_APIENTRY fake_draw_instanced(GLenum mode, GLsizei count, GLenum type, const void *, GLsizei instances) {
    record("glDrawElementsInstanced(0x%X, %d, 0x%X, %d)", mode, count, type, instances);
    fake_gl.draws.push_back(FakeDraw{count, instances, 0});
}
static GLsync GL_APIENTRY fake_fence_sync(GLenum, GLbitfield) {
    GLuint n = fake_gl.next_name++;
    record("glFenceSync() -> %u", n);
    return (GLsync)(uintptr_t)n;
}
static GLenum GL_APIENTRY fake_client_wait_sync(GLsync fence, GLbitfield, GLuint64) {
    record("glClientWaitSync(%u)", (unsigned)(uintptr_t)fence);
    if (fake_gl.fence_timeouts > 0) {
        fake_gl.fence_timeouts--;
        return GL_TIMEOUT_EXPIRED;
    }
    return GL_CONDITION_SATISFIED;
}
static void GL_APIENTRY fake_delete_sync(GLsync fence) { record("glDeleteSync(%u)", (unsigned)(uintptr_t)fence); }

static void GL_APIENTRY fake_use_program(GLuint program) { record("glUseProgram(%u)", program); }
static void GL_APIENTRY fake_active_texture(GLenum unit) { record("glActiveTexture(0x%X)", unit); }

static void count_halt() { fake_gl.halts++; }

void null_all_gl_slots() {
    for (const GlEntry &e : gl_entries) memset(e.slot, 0, sizeof(void *));
}

void install_fake_gl() {
    fake_gl = FakeGl();
    null_all_gl_slots();
    os_set_halt_hook(count_halt);
    glGetError = fake_get_error;
    glGetString = fake_get_string;
    glGetIntegerv = fake_get_integerv;
    glViewport = fake_viewport;
    glClearColor = fake_clear_color;
    glClear = fake_clear;
    glClearDepth = fake_clear_depth;
    glEnable = fake_enable;
    glDisable = fake_disable;
    glScissor = fake_scissor;
    glDepthMask = fake_depth_mask;
    glBlendFuncSeparate = fake_blend_func_separate;
    glBlendEquationSeparate = fake_blend_equation_separate;
    glGenBuffers = fake_gen;
    glGenVertexArrays = fake_gen;
    glGenTextures = fake_gen;
    glBindBuffer = fake_bind_buffer;
    glBufferData = fake_buffer_data;
    glBufferSubData = fake_buffer_sub_data;
    glBufferStorage = fake_buffer_storage;
    glMapBufferRange = fake_map_buffer_range;
    glBindBufferBase = fake_bind_buffer_base;
    glBindVertexArray = fake_bind_vertex_array;
    glEnableVertexAttribArray = fake_enable_attrib;
    glVertexAttribPointer = fake_attrib_pointer;
    glVertexAttribDivisor = fake_attrib_divisor;
    glCreateShader = fake_create_shader;
    glShaderSource = fake_shader_source;
    glCompileShader = fake_compile_shader;
    glGetShaderiv = fake_get_shaderiv;
    glGetShaderInfoLog = fake_info_log;
    glDeleteShader = fake_delete_shader;
    glCreateProgram = fake_create_program;
    glAttachShader = fake_attach_shader;
    glLinkProgram = fake_link_program;
    glGetProgramiv = fake_get_programiv;
    glGetProgramInfoLog = fake_info_log;
    glDeleteProgram = fake_delete_program;
    glGetUniformBlockIndex = fake_get_uniform_block_index;
    glUniformBlockBinding = fake_uniform_block_binding;
    glBindTexture = fake_bind_texture;
    glTexImage3D = fake_tex_image_3d;
    glTexSubImage3D = fake_tex_sub_image_3d;
    glTexParameteri = fake_tex_parameteri;
    glDrawElementsInstancedBaseInstance = fake_draw;
    glDrawElementsInstanced = fake_draw_instanced;
    glClearDepthf = fake_clear_depthf;
    glFenceSync = fake_fence_sync;
    glClientWaitSync = fake_client_wait_sync;
    glDeleteSync = fake_delete_sync;
    glUseProgram = fake_use_program;
    glActiveTexture = fake_active_texture;
}

void remove_fake_gl() {
    os_set_halt_hook(nullptr);
    null_all_gl_slots();
}

int fake_gl_count(const char *prefix) {
    int n = 0;
    for (const std::string &c : fake_gl.calls)
        if (c.rfind(prefix, 0) == 0) n++;
    return n;
}

int fake_gl_find(const char *prefix, int from) {
    for (int i = from; i < (int)fake_gl.calls.size(); i++)
        if (fake_gl.calls[i].rfind(prefix, 0) == 0) return i;
    return -1;
}
