#include <windows.h>

#include <shellapi.h>

#include "os/double_click.h"
#include "os/gl_context.h"
#include "os/memory.h"
#include "os/wheel_steps.h"
#include "os/win32/window_shared.h"
#include "os/window_ops.h"

struct WindowList {
    Window **items;
    u32 count;
    u32 capacity;
};

static WindowList window_list;
static WindowEventCallback event_callback;
static HINSTANCE class_instance;
static const wchar_t WINDOW_CLASS_NAME[] = L"orb_sharedWindowClass";
// Left, middle and right button.
static DoubleClickRecord last_clicks[3];

static Window *find_window(HWND hwnd) {
    for (u32 i = 0; i < window_list.count; i++)
        if (window_list.items[i]->hwnd == hwnd) return window_list.items[i];
    return nullptr;
}

static bool add_to_list(Window *window) {
    if (window_list.count == window_list.capacity) {
        u32 capacity = window_list.capacity ? window_list.capacity * 2 : 4;
        Window **items = (Window **)(window_list.items ? os_realloc(window_list.items, capacity * sizeof(Window *))
                                                       : os_alloc(capacity * sizeof(Window *)));
        if (!items) return false;
        window_list.items = items;
        window_list.capacity = capacity;
    }
    window_list.items[window_list.count++] = window;
    return true;
}

static void remove_from_list(Window *window) {
    for (u32 i = 0; i < window_list.count; i++) {
        if (window_list.items[i] != window) continue;
        for (u32 j = i + 1; j < window_list.count; j++) window_list.items[j - 1] = window_list.items[j];
        window_list.count--;
        return;
    }
}

static void deliver(WindowEvent *event) {
    if (event_callback) event_callback(event);
}

DWORD win32_window_style(u16 flags) {
    DWORD style;
    if (flags & (WINDOW_POPUP | WINDOW_BORDERLESS)) style = WS_POPUP;
    else if (flags & WINDOW_FIXED_SIZE) style = 0x00CB0000;
    else style = WS_OVERLAPPEDWINDOW;
    if (!(flags & WINDOW_HIDDEN)) style |= WS_VISIBLE;
    return style;
}

DWORD win32_window_ex_style(u16 flags) {
    DWORD ex = 0;
    if (flags & WINDOW_TOPMOST) ex |= WS_EX_TOPMOST;
    if (flags & WINDOW_APP) ex |= WS_EX_APPWINDOW;
    if (flags & WINDOW_TOOL) ex |= WS_EX_TOOLWINDOW;
    if (flags & WINDOW_COLOR_KEY) ex |= WS_EX_LAYERED;
    if (flags & WINDOW_CLICK_THROUGH) ex |= WS_EX_TRANSPARENT;
    return ex;
}

void win32_read_geometry(Window *window) {
    HWND hwnd = (HWND)window->hwnd;
    RECT r;
    GetWindowRect(hwnd, &r);
    window->window_pos = Vec2i{r.left, r.top};
    window->window_size = Size2i{r.right - r.left, r.bottom - r.top};
    GetClientRect(hwnd, &r);
    window->client_size = Size2i{r.right - r.left, r.bottom - r.top};
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    window->client_pos = Vec2i{origin.x, origin.y};
}

static void register_raw_mouse(Window *window) {
    RAWINPUTDEVICE device = {1, 2, RIDEV_INPUTSINK, (HWND)window->hwnd};
    RegisterRawInputDevices(&device, 1, sizeof(device));
    window->input_flags |= RAW_MOUSE_REGISTERED;
}

static void raw_mouse_off(Window *window) {
    window->input_flags &= (u8)~RAW_MOUSE_ACTIVE;
    RAWINPUTDEVICE device = {1, 2, RIDEV_REMOVE, nullptr};
    RegisterRawInputDevices(&device, 1, sizeof(device));
    for (u32 i = 0; i < window_list.count; i++) window_list.items[i]->input_flags &= (u8)~RAW_MOUSE_REGISTERED;
}

void os_set_raw_mouse(Window *window, bool on) {
    if (!window) return;
    if (on) {
        window->input_flags |= RAW_MOUSE_WANTED;
        if (!(window->input_flags & RAW_MOUSE_REGISTERED)) register_raw_mouse(window);
        window->input_flags |= RAW_MOUSE_ACTIVE;
    } else {
        window->input_flags &= (u8)~RAW_MOUSE_WANTED;
        if (window->input_flags & RAW_MOUSE_ACTIVE) raw_mouse_off(window);
    }
}

// destroying: the system is already destroying the window (WM_DESTROY and
// after), so it is not asked to destroy it a second time.
static void close_window(Window *window, bool destroying) {
    window->flags &= (u16)~WINDOW_OPEN;
    // A close that arrives inside the system's modal move or size loop (a
    // dragged title bar) would leave that loop waiting for the mouse or Enter
    // with the window gone, and the frame loop waiting for it: a quit message
    // ends the loop.  The frame loop ends by the closed window, not by the quit.
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    if (GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMOVESIZE)) PostQuitMessage(0);
    if (window->gl_context) os_delete_gl_context(window);
    if (window->flags & WINDOW_FRAMEBUFFER) os_destroy_framebuffer(window);
    HWND hwnd = (HWND)window->hwnd;
    if (window->hdc) ReleaseDC(hwnd, (HDC)window->hdc);
    window->hdc = nullptr;
    if (hwnd && !destroying) DestroyWindow(hwnd);
    if (window->input_flags & RAW_MOUSE_ACTIVE) raw_mouse_off(window);
    remove_from_list(window);
    WindowEvent event = {};
    event.kind = EVENT_CLOSED;
    event.window = window;
    deliver(&event);
}

static Vec2i cursor_position(void) {
    POINT p = {0, 0};
    GetCursorPos(&p);
    return Vec2i{p.x, p.y};
}

static void deliver_drop(Window *window, HDROP drop) {
    WindowEvent event = {};
    event.kind = EVENT_DROP;
    event.window = window;
    POINT at = {0, 0};
    DragQueryPoint(drop, &at);
    event.drop.position = Vec2i{at.x, at.y};
    u32 count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    u64 units = 0;
    for (u32 i = 0; i < count; i++) units += DragQueryFileW(drop, i, nullptr, 0);
    // Four bytes per UTF-16 unit hold any path's UTF-8 form; each path's NUL
    // is counted apart, since the system may report an empty path (Wine does,
    // for an empty list) and four times nothing has no room for it.
    u64 size = count ? 4 * units + count + 1 : 1;
    char *list = (char *)os_alloc(size);
    if (!list) {
        DragFinish(drop);
        return;
    }
    u64 used = 0;
    static wchar_t path[2048];
    static char utf8[4 * 2048];
    for (u32 i = 0; i < count; i++) {
        UINT n = DragQueryFileW(drop, i, path, 2048);
        int bytes = n ? WideCharToMultiByte(CP_UTF8, 0, path, (int)n, utf8, (int)sizeof(utf8), nullptr, nullptr) : 0;
        if (bytes < 0) bytes = 0;
        // Bounded all the same: the lengths come from a message anyone can post.
        for (int b = 0; b < bytes && used + 2 < size; b++) list[used++] = utf8[b] == '\\' ? '/' : utf8[b];
        if (used + 1 < size) list[used++] = 0;
    }
    list[used] = 0;
    DragFinish(drop);
    event.drop.paths = list;
    event.drop.count = count;
    deliver(&event);
    os_free(list);
}

static u16 button_for(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: return BUTTON_MOUSE_LEFT;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: return BUTTON_MOUSE_MIDDLE;
    default: return BUTTON_MOUSE_RIGHT;
    }
}

static LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    Window *window = find_window(hwnd);
    if (!window) return DefWindowProcW(hwnd, message, wparam, lparam);
    WindowEvent event = {};
    event.window = window;
    switch (message) {
    case WM_MOUSEMOVE: {
        event.kind = EVENT_POINTER;
        event.pointer.position = cursor_position();
        bool entered = !(window->input_flags & POINTER_INSIDE);
        if (entered) {
            window->input_flags |= POINTER_INSIDE;
            event.pointer.pointer_flags = 1;
        }
        deliver(&event);
        if (entered) {
            TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
        }
        break;
    }
    case WM_MOUSELEAVE:
        event.kind = EVENT_POINTER;
        event.pointer.position = cursor_position();
        event.pointer.pointer_flags = 2;
        window->input_flags &= (u8)~POINTER_INSIDE;
        deliver(&event);
        break;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        SetCapture(hwnd);
        u16 button = button_for(message);
        bool twice = double_click_test(&last_clicks[button - BUTTON_MOUSE_LEFT], (i16)LOWORD(lparam),
                                       (i16)HIWORD(lparam), (u32)GetMessageTime(), GetDoubleClickTime(),
                                       GetSystemMetrics(SM_CXDOUBLECLK), GetSystemMetrics(SM_CYDOUBLECLK));
        Vec2i at = cursor_position();
        event.kind = EVENT_MOUSE_BUTTON;
        event.mouse_button = {ACTION_DOWN, button, at.x, at.y, (u8)(twice ? 1 : 0)};
        deliver(&event);
        break;
    }
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP: {
        ReleaseCapture();
        Vec2i at = cursor_position();
        event.kind = EVENT_MOUSE_BUTTON;
        event.mouse_button = {ACTION_UP, button_for(message), at.x, at.y, 0};
        deliver(&event);
        break;
    }
    case WM_MOUSEWHEEL: {
        // Fine wheels send parts of a notch: one step per whole notch gathered.
        i32 steps = wheel_take_steps(window, (i16)HIWORD(wparam));
        event.kind = EVENT_WHEEL;
        event.wheel.position = cursor_position();
        event.wheel.delta = steps > 0 ? 1 : -1;
        for (i32 i = 0; i < steps || i < -steps; i++) deliver(&event);
        break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        // Virtual-key codes stop at 255; anything larger is not a key.
        if (wparam > 255) break;
        bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
        event.kind = EVENT_KEY;
        event.key.action = up ? ACTION_UP : ((lparam & (1 << 30)) ? ACTION_REPEAT : ACTION_DOWN);
        event.key.key = (u16)wparam;
        deliver(&event);
        // Alt alone would open the window menu and stall the frame loop.
        if (wparam == VK_MENU) return 0;
        break;
    }
    case WM_CHAR:
        if (wparam == 8) break;
        event.kind = EVENT_TEXT;
        event.text.code = wparam == 13 ? 10 : (u32)wparam;
        deliver(&event);
        break;
    case WM_MOVE:
        if (!(window->flags & WINDOW_OPEN)) break;
        win32_read_geometry(window);
        event.kind = EVENT_MOVED;
        event.moved.x = (i16)LOWORD(lparam);
        event.moved.y = (i16)HIWORD(lparam);
        deliver(&event);
        break;
    case WM_SIZE:
        if (!(window->flags & WINDOW_OPEN)) break;
        win32_read_geometry(window);
        if (window->flags & WINDOW_FRAMEBUFFER) os_resize_framebuffer(window);
        event.kind = EVENT_RESIZED;
        event.resized.width = LOWORD(lparam);
        event.resized.height = HIWORD(lparam);
        deliver(&event);
        break;
    case WM_SETFOCUS:
        window->flags |= WINDOW_FOCUSED;
        if ((window->flags & WINDOW_OPEN) && (window->input_flags & RAW_MOUSE_WANTED)) {
            if (!(window->input_flags & RAW_MOUSE_REGISTERED)) register_raw_mouse(window);
            window->input_flags |= RAW_MOUSE_ACTIVE;
        }
        event.kind = EVENT_FOCUS;
        event.focus.gained = 1;
        deliver(&event);
        break;
    case WM_KILLFOCUS:
        window->flags &= (u16)~WINDOW_FOCUSED;
        if ((window->flags & WINDOW_OPEN) && (window->input_flags & RAW_MOUSE_ACTIVE)) raw_mouse_off(window);
        event.kind = EVENT_FOCUS;
        event.focus.gained = 0;
        deliver(&event);
        break;
    case WM_DROPFILES:
        deliver_drop(window, (HDROP)wparam);
        break;
    case WM_CLOSE:
    case WM_DESTROY:
    case WM_NCDESTROY:
    case WM_QUIT:
        if (window->flags & WINDOW_OPEN) close_window(window, message != WM_CLOSE && message != WM_QUIT);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

void os_set_event_callback(WindowEventCallback callback) { event_callback = callback; }

int os_pump_messages(void) {
    int handled = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        handled++;
    }
    return handled;
}

void os_wait_message(void) { WaitMessage(); }

static bool register_class(void) {
    if (class_instance) return true;
    class_instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    wc.lpfnWndProc = window_procedure;
    wc.hInstance = class_instance;
    wc.lpszClassName = WINDOW_CLASS_NAME;
    if (!RegisterClassW(&wc)) {
        class_instance = nullptr;
        return false;
    }
    return true;
}

// UTF-8 to a heap UTF-16 string; "Window" for an empty title.
static wchar_t *widen_title(Str title) {
    if (title.len == 0 || title.len > 0x7FFFFFFF) title = STR("Window");
    int units = MultiByteToWideChar(CP_UTF8, 0, title.data, (int)title.len, nullptr, 0);
    wchar_t *text = (wchar_t *)os_alloc(((u64)units + 1) * sizeof(wchar_t));
    if (!text) return nullptr;
    MultiByteToWideChar(CP_UTF8, 0, title.data, (int)title.len, text, units);
    text[units] = 0;
    return text;
}

Window *os_create_window(i32 width, i32 height, Str title, u16 flags) {
    win32_ensure_cursor_table();
    if (!register_class()) return nullptr;
    DWORD style = win32_window_style(flags);
    DWORD ex_style = win32_window_ex_style(flags);
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, w = 100, h = 100;
    if (flags & WINDOW_POPUP) {
        x = 0;
        y = 0;
    } else {
        RECT r = {0, 0, width, height};
        AdjustWindowRectEx(&r, style, FALSE, ex_style);
        w = r.right - r.left;
        h = r.bottom - r.top;
    }
    wchar_t *text = widen_title(title);
    HWND hwnd = CreateWindowExW(ex_style, WINDOW_CLASS_NAME, text ? text : L"Window", style, x, y, w, h, nullptr,
                                nullptr, class_instance, nullptr);
    os_free(text);
    if (!hwnd) return nullptr;
    if (flags & WINDOW_COLOR_KEY) SetLayeredWindowAttributes(hwnd, 0, 0, LWA_COLORKEY);
    Window *window = (Window *)os_alloc_zeroed(sizeof(Window));
    if (!window || !add_to_list(window)) {
        os_free(window);
        DestroyWindow(hwnd);
        return nullptr;
    }
    window->hdc = GetDC(hwnd);
    window->hwnd = hwnd;
    window->flags = (u16)(flags | WINDOW_OPEN | WINDOW_FOCUSED);
    win32_read_geometry(window);
    DragAcceptFiles(hwnd, TRUE);
    if (flags & WINDOW_FRAMEBUFFER) os_create_framebuffer(window);
    else if (flags & WINDOW_OPENGL) os_create_gl_context(window);
    return window;
}
