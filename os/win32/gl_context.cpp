#include <string.h>
#include <windows.h>

#include "os/backend.h"
#include "os/log.h"

typedef BOOL(WINAPI *SwapBuffersFn)(HDC);
typedef PROC(WINAPI *GetProcAddressFn)(LPCSTR);
typedef HGLRC(WINAPI *CreateContextFn)(HDC);
typedef BOOL(WINAPI *DeleteContextFn)(HGLRC);
typedef BOOL(WINAPI *MakeCurrentFn)(HDC, HGLRC);
typedef const char *(WINAPI *GetExtensionsStringFn)(void);
typedef BOOL(WINAPI *SwapIntervalFn)(int);

// Reached at run time: the program links no OpenGL import library.
static struct {
    SwapBuffersFn SwapBuffers;
    GetProcAddressFn wglGetProcAddress;
    CreateContextFn wglCreateContext;
    DeleteContextFn wglDeleteContext;
    MakeCurrentFn wglMakeCurrent;
    GetExtensionsStringFn wglGetExtensionsStringEXT;
    SwapIntervalFn wglSwapIntervalEXT;
} wgl;

static HMODULE opengl32;

static void load_libraries(void) {
    HMODULE gdi32 = LoadLibraryA("Gdi32.dll");
    if (!gdi32) {
        os_printf("Failed to load Gdi32.dll\n");
    } else {
        wgl.SwapBuffers = (SwapBuffersFn)(void *)GetProcAddress(gdi32, "SwapBuffers");
        if (!wgl.SwapBuffers) os_printf("Failed to load functions from Gdi32.dll\n");
    }
    opengl32 = LoadLibraryA("Opengl32.dll");
    if (!opengl32) {
        os_printf("Failed to load Opengl32.dll\n");
        return;
    }
    wgl.wglGetProcAddress = (GetProcAddressFn)(void *)GetProcAddress(opengl32, "wglGetProcAddress");
    wgl.wglCreateContext = (CreateContextFn)(void *)GetProcAddress(opengl32, "wglCreateContext");
    wgl.wglDeleteContext = (DeleteContextFn)(void *)GetProcAddress(opengl32, "wglDeleteContext");
    wgl.wglMakeCurrent = (MakeCurrentFn)(void *)GetProcAddress(opengl32, "wglMakeCurrent");
    if (!wgl.wglGetProcAddress || !wgl.wglCreateContext || !wgl.wglDeleteContext || !wgl.wglMakeCurrent)
        os_printf("Failed to load functions from Opengl32.dll\n");
}

static void find_swap_control(void) {
    wgl.wglGetExtensionsStringEXT = (GetExtensionsStringFn)(void *)wgl.wglGetProcAddress("wglGetExtensionsStringEXT");
    if (!wgl.wglGetExtensionsStringEXT) {
        os_printf("Failed to load wglGetExtensionsStringEXT\n");
        return;
    }
    const char *extensions = wgl.wglGetExtensionsStringEXT();
    if (!extensions || !strstr(extensions, "WGL_EXT_swap_control")) {
        os_printf("No WGL_EXT_swap_control extension\n");
        return;
    }
    wgl.wglSwapIntervalEXT = (SwapIntervalFn)(void *)wgl.wglGetProcAddress("wglSwapIntervalEXT");
    if (!wgl.wglSwapIntervalEXT) os_printf("Failed to load wglSwapIntervalEXT\n");
}

void *backend_create_gl_context(Window *window) {
    if (!wgl.wglGetProcAddress) load_libraries();
    // Without the WGL entry points no context is made (rather than calling
    // through null pointers); the GL loader then finds no context and start-up
    // ends with its failure.
    if (!wgl.wglGetProcAddress || !wgl.wglCreateContext || !wgl.wglDeleteContext || !wgl.wglMakeCurrent) return nullptr;
    HDC hdc = (HDC)window->hdc;
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = 40;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cAlphaBits = 8;
    pfd.cDepthBits = 24;
    pfd.iLayerType = PFD_MAIN_PLANE;
    int format = ChoosePixelFormat(hdc, &pfd);
    SetPixelFormat(hdc, format, &pfd);
    HGLRC context = wgl.wglCreateContext(hdc);
    if (!context) return nullptr;
    wgl.wglMakeCurrent(hdc, context);
    if (!wgl.wglSwapIntervalEXT) find_swap_control();
    return context;
}

void backend_delete_gl_context(Window *window) {
    if (!wgl.wglMakeCurrent) return;
    wgl.wglMakeCurrent(nullptr, nullptr);
    wgl.wglDeleteContext((HGLRC)window->gl_context);
}

int backend_swap_buffers(Window *window) { return wgl.SwapBuffers ? wgl.SwapBuffers((HDC)window->hdc) : 0; }

// The extension's own result is not asked for.
bool backend_set_swap_interval(u8 interval) {
    if (!wgl.wglSwapIntervalEXT) return false;
    wgl.wglSwapIntervalEXT(interval);
    return true;
}

void *backend_gl_get_proc_address(const char *name) {
    void *p = wgl.wglGetProcAddress ? (void *)wgl.wglGetProcAddress(name) : nullptr;
    // Some drivers answer 1, 2, 3 or -1 instead of null for a name they lack.
    intptr_t v = (intptr_t)p;
    if (v >= -1 && v <= 3) p = nullptr;
    // The 1.0 and 1.1 entry points are only exported by the module itself.
    if (!p) {
        if (!opengl32) opengl32 = LoadLibraryA("Opengl32.dll");
        if (opengl32) p = (void *)GetProcAddress(opengl32, name);
    }
    return p;
}

// The process is DPI-aware: the client area counts the screen's own pixels.
Size2i backend_gl_drawable_size(Window *window) { return window->client_size; }
