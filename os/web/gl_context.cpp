// A WebGL 2 context on the canvas.  The browser presents what was drawn when
// the animation frame's pass returns, and its frames set the pace.
#include <emscripten/html5.h>
#include <emscripten/html5_webgl.h>

#include "os/backend.h"
#include "os/log.h"
#include "os/web/web_shared.h"

void *backend_create_gl_context(Window *window) {
    EmscriptenWebGLContextAttributes attrs;
    emscripten_webgl_init_context_attributes(&attrs);
    attrs.majorVersion = 2;
    attrs.minorVersion = 0;
    // No alpha, as the desktop windows have none: the page would show through.
    attrs.alpha = EM_FALSE;
    attrs.depth = EM_TRUE;
    attrs.stencil = EM_FALSE;
    attrs.antialias = EM_FALSE;
    attrs.premultipliedAlpha = EM_FALSE;
    attrs.preserveDrawingBuffer = EM_FALSE;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(WEB_CANVAS, &attrs);
    if (context <= 0) {
        os_printf("FAILED emscripten_webgl_create_context(WebGL 2) %d\n", (int)context);
        return nullptr;
    }
    emscripten_webgl_make_context_current(context);
    return (void *)(intptr_t)context;
}

void backend_delete_gl_context(Window *window) {
    emscripten_webgl_make_context_current(0);
    emscripten_webgl_destroy_context((EMSCRIPTEN_WEBGL_CONTEXT_HANDLE)(intptr_t)window->gl_context);
}

int backend_swap_buffers(Window *) { return 1; }

// The browser's animation frames are the swap interval.
bool backend_set_swap_interval(u8) { return false; }

Size2i backend_gl_drawable_size(Window *) { return web_drawing_buffer_size(); }

void *backend_gl_get_proc_address(const char *name) {
    return emscripten_webgl_get_current_context() ? emscripten_webgl_get_proc_address(name) : nullptr;
}
