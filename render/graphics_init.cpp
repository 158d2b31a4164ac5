#include <string.h>

#include "os/gl_context.h"
#include "os/log.h"
#include "os/window_ops.h"
#include "render/graphics_init.h"
#include "render/lib_opengl_loader.h"
#include "render/renderer.h"

i32 gl_max_texture_size;

// These three lines are main_init's start-up report; their tags carry its name
// and the fixed place numbers that readers of the log compare across versions.
static void log_main_init_tag(int line) { log_printf("[%s:%i] ", "main_init", line); }

// Every entry point start-up, the renderer, the texture array and the frame
// call; a context that lacks one cannot run the program.  Where instance
// memory cannot be mapped persistently (WebGL 2) the renderer uploads it and
// draws without a base instance, and ES clears depth with a float.
enum : u8 { GL_NEEDED_ALWAYS, GL_NEEDED_MAPPED, GL_NEEDED_UPLOADED };
struct RendererGlFunction {
    const char *name;
    u8 needed;
};
static const RendererGlFunction RENDERER_GL_FUNCTIONS[] = {
    {"glGetError", GL_NEEDED_ALWAYS}, {"glGetString", GL_NEEDED_ALWAYS}, {"glGetIntegerv", GL_NEEDED_ALWAYS},
    {"glViewport", GL_NEEDED_ALWAYS}, {"glClearColor", GL_NEEDED_ALWAYS}, {"glClear", GL_NEEDED_ALWAYS},
    {"glClearDepth", GL_NEEDED_MAPPED}, {"glClearDepthf", GL_NEEDED_UPLOADED}, {"glEnable", GL_NEEDED_ALWAYS},
    {"glDepthMask", GL_NEEDED_ALWAYS}, {"glBlendFuncSeparate", GL_NEEDED_ALWAYS},
    {"glBlendEquationSeparate", GL_NEEDED_ALWAYS}, {"glGenBuffers", GL_NEEDED_ALWAYS},
    {"glBindBuffer", GL_NEEDED_ALWAYS}, {"glBufferData", GL_NEEDED_ALWAYS}, {"glBufferSubData", GL_NEEDED_ALWAYS},
    {"glBufferStorage", GL_NEEDED_MAPPED}, {"glMapBufferRange", GL_NEEDED_MAPPED},
    {"glBindBufferBase", GL_NEEDED_ALWAYS}, {"glGenVertexArrays", GL_NEEDED_ALWAYS},
    {"glBindVertexArray", GL_NEEDED_ALWAYS}, {"glEnableVertexAttribArray", GL_NEEDED_ALWAYS},
    {"glVertexAttribPointer", GL_NEEDED_ALWAYS}, {"glVertexAttribDivisor", GL_NEEDED_ALWAYS},
    {"glCreateShader", GL_NEEDED_ALWAYS}, {"glShaderSource", GL_NEEDED_ALWAYS},
    {"glCompileShader", GL_NEEDED_ALWAYS}, {"glGetShaderiv", GL_NEEDED_ALWAYS},
    {"glGetShaderInfoLog", GL_NEEDED_ALWAYS}, {"glDeleteShader", GL_NEEDED_ALWAYS},
    {"glCreateProgram", GL_NEEDED_ALWAYS}, {"glAttachShader", GL_NEEDED_ALWAYS}, {"glLinkProgram", GL_NEEDED_ALWAYS},
    {"glGetProgramiv", GL_NEEDED_ALWAYS}, {"glGetProgramInfoLog", GL_NEEDED_ALWAYS},
    {"glDeleteProgram", GL_NEEDED_ALWAYS}, {"glGetUniformBlockIndex", GL_NEEDED_ALWAYS},
    {"glUniformBlockBinding", GL_NEEDED_ALWAYS}, {"glUseProgram", GL_NEEDED_ALWAYS},
    {"glActiveTexture", GL_NEEDED_ALWAYS}, {"glGenTextures", GL_NEEDED_ALWAYS}, {"glBindTexture", GL_NEEDED_ALWAYS},
    {"glTexImage3D", GL_NEEDED_ALWAYS}, {"glTexSubImage3D", GL_NEEDED_ALWAYS}, {"glTexParameteri", GL_NEEDED_ALWAYS},
    {"glDrawElementsInstancedBaseInstance", GL_NEEDED_MAPPED}, {"glDrawElementsInstanced", GL_NEEDED_UPLOADED},
    {"glFenceSync", GL_NEEDED_MAPPED}, {"glClientWaitSync", GL_NEEDED_MAPPED}, {"glDeleteSync", GL_NEEDED_MAPPED},
};

const char *missing_renderer_gl_function(void) {
    u8 path = renderer_can_map_persistently() ? GL_NEEDED_MAPPED : GL_NEEDED_UPLOADED;
    for (const RendererGlFunction &f : RENDERER_GL_FUNCTIONS) {
        if (f.needed != GL_NEEDED_ALWAYS && f.needed != path) continue;
        for (const GlEntry &e : gl_entries) {
            if (strcmp(e.name, f.name) != 0) continue;
            void *proc;
            memcpy(&proc, e.slot, sizeof(proc));
            if (!proc) return f.name;
            break;
        }
    }
    return nullptr;
}

i32 init_graphics(Window *window) {
    i32 version = load_gl_functions();
    if (version <= 0) return version;
    const char *missing = missing_renderer_gl_function();
    if (missing) {
        LOG_TAG();
        log_printf("OpenGL %s lacks %s\n", (const char *)glGetString(GL_VERSION), missing);
        return -1;
    }

    Size2i drawable = os_gl_drawable_size(window);
    glViewport(0, 0, drawable.width, drawable.height);
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    os_show_window(window, true);
    os_swap_buffers(window);

    log_main_init_tag(409);
    log_printf("GPU: %s, %s\n", (const char *)glGetString(GL_RENDERER), (const char *)glGetString(GL_VENDOR));
    log_main_init_tag(410);
    log_printf("OpenGL: %s %i\n", (const char *)glGetString(GL_VERSION), version);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &gl_max_texture_size);
    log_main_init_tag(414);
    log_printf("Max texture %i\n", gl_max_texture_size);

    init_renderer(window);
    return version;
}
