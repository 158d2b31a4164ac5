// A test-only window and WGL context until the platform layer provides them.
#include <windows.h>

#include "render/lib_opengl_loader.h"
#include "tests/win32/render_gl_window.h"

static HMODULE opengl32;
typedef PROC(WINAPI *WglGetProcAddress)(LPCSTR);
static WglGetProcAddress wgl_get_proc_address;

static void *lookup(const char *name) {
    void *p = (void *)wgl_get_proc_address(name);
    if (p == nullptr || p == (void *)1 || p == (void *)2 || p == (void *)3 || p == (void *)-1)
        p = (void *)GetProcAddress(opengl32, name);
    return p;
}

static Window window;
static int version;

Window *render_test_gl_window(void) {
    static bool tried;
    if (tried) {
        // Other tests point the slots elsewhere; load them again for this context.
        if (version > 0) version = load_gl_functions_with(lookup);
        return version > 0 ? &window : nullptr;
    }
    tried = true;
    opengl32 = LoadLibraryA("opengl32.dll");
    if (!opengl32) return nullptr;
    wgl_get_proc_address = (WglGetProcAddress)(void *)GetProcAddress(opengl32, "wglGetProcAddress");
    typedef HGLRC(WINAPI * CreateContext)(HDC);
    typedef BOOL(WINAPI * MakeCurrent)(HDC, HGLRC);
    CreateContext create_context = (CreateContext)(void *)GetProcAddress(opengl32, "wglCreateContext");
    MakeCurrent make_current = (MakeCurrent)(void *)GetProcAddress(opengl32, "wglMakeCurrent");

    WNDCLASSW wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"render_test_window";
    RegisterClassW(&wc);
    RECT r = {0, 0, 320, 240};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"render test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd) return nullptr;
    HDC hdc = GetDC(hwnd);
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof(pfd);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cAlphaBits = 8;
    pfd.cDepthBits = 24;
    SetPixelFormat(hdc, ChoosePixelFormat(hdc, &pfd), &pfd);
    HGLRC context = create_context(hdc);
    make_current(hdc, context);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

    RECT client;
    GetClientRect(hwnd, &client);
    window.flags = WINDOW_OPEN | WINDOW_OPENGL;
    window.client_size = Size2i{client.right, client.bottom};
    window.hwnd = hwnd;
    window.hdc = hdc;
    window.gl_context = context;
    version = load_gl_functions_with(lookup);
    return version > 0 ? &window : nullptr;
}

int render_test_gl_version(void) { return version; }
