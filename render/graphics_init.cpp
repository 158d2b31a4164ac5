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
// call; a context that lacks one cannot run the program.
static const char *const RENDERER_GL_FUNCTIONS[] = {
    "glGetError", "glGetString", "glGetIntegerv", "glViewport", "glClearColor", "glClear", "glClearDepth",
    "glEnable", "glDepthMask", "glBlendFuncSeparate", "glBlendEquationSeparate", "glGenBuffers", "glBindBuffer",
    "glBufferData", "glBufferSubData", "glBufferStorage", "glMapBufferRange", "glBindBufferBase",
    "glGenVertexArrays", "glBindVertexArray", "glEnableVertexAttribArray", "glVertexAttribPointer",
    "glVertexAttribDivisor", "glCreateShader", "glShaderSource", "glCompileShader", "glGetShaderiv",
    "glGetShaderInfoLog", "glDeleteShader", "glCreateProgram", "glAttachShader", "glLinkProgram",
    "glGetProgramiv", "glGetProgramInfoLog", "glDeleteProgram", "glGetUniformBlockIndex", "glUniformBlockBinding",
    "glUseProgram", "glActiveTexture", "glGenTextures", "glBindTexture", "glTexImage3D", "glTexSubImage3D",
    "glTexParameteri", "glDrawElementsInstancedBaseInstance", "glFenceSync", "glClientWaitSync", "glDeleteSync",
};

const char *missing_renderer_gl_function(void) {
    for (const char *name : RENDERER_GL_FUNCTIONS) {
        for (const GlEntry &e : gl_entries) {
            if (strcmp(e.name, name) != 0) continue;
            void *proc;
            memcpy(&proc, e.slot, sizeof(proc));
            if (!proc) return name;
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

    glViewport(0, 0, window->client_size.width, window->client_size.height);
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
