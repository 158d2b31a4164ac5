// Win32 windows: the window class, the window procedure translating messages
// into the shared event rules, and the message pump.
#include <windows.h>

#include <shellapi.h>

#include "os/backend.h"
#include "os/memory.h"
#include "os/win32/utf16.h"
#include "os/win32/window_shared.h"

static HINSTANCE class_instance;
static const wchar_t WINDOW_CLASS_NAME[] = L"" OS_WINDOW_CLASS_NAME;

DWORD win32_window_style(u16 flags) {
    DWORD style;
    if (flags & (WINDOW_POPUP | WINDOW_BORDERLESS | WINDOW_FULLSCREEN)) style = WS_POPUP;
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

void backend_read_geometry(Window *window) {
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

void backend_register_raw_mouse(Window *window) {
    RAWINPUTDEVICE device = {1, 2, RIDEV_INPUTSINK, (HWND)window->hwnd};
    RegisterRawInputDevices(&device, 1, sizeof(device));
}

void backend_unregister_raw_mouse(void) {
    RAWINPUTDEVICE device = {1, 2, RIDEV_REMOVE, nullptr};
    RegisterRawInputDevices(&device, 1, sizeof(device));
}

// The icons the layer made for a window stay with it as window properties, so
// that a later icon or the window's end destroys them; the system never does.
static const wchar_t BIG_ICON_PROPERTY[] = L"os_big_icon";
static const wchar_t SMALL_ICON_PROPERTY[] = L"os_small_icon";

// Sets one of the window's icons and destroys the one the layer had made for
// that place before.
static void replace_icon(HWND hwnd, WPARAM which, const wchar_t *property, HICON icon) {
    SendMessageW(hwnd, WM_SETICON, which, (LPARAM)icon);
    HICON old = (HICON)GetPropW(hwnd, property);
    SetPropW(hwnd, property, icon);
    if (old && old != icon) DestroyIcon(old);
}

// The program's own icon, resource 1 of its exe as Explorer shows it, at the
// sizes the system draws; a program without one keeps the default icon.
static void give_program_icon(HWND hwnd) {
    HINSTANCE exe = GetModuleHandleW(nullptr);
    HICON big_icon = (HICON)LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                       GetSystemMetrics(SM_CYICON), 0);
    HICON small_icon = (HICON)LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), 0);
    if (big_icon) replace_icon(hwnd, ICON_BIG, BIG_ICON_PROPERTY, big_icon);
    if (small_icon) replace_icon(hwnd, ICON_SMALL, SMALL_ICON_PROPERTY, small_icon);
}

// An icon of RGBA pixels: a 32-bit colour bitmap whose alpha the system
// blends by, and an all-opaque mask that the alpha overrides.
static HICON icon_from_rgba(const u8 *rgba, i32 width, i32 height) {
    BITMAPV5HEADER header = {};
    header.bV5Size = sizeof(header);
    header.bV5Width = width;
    header.bV5Height = -height;  // top row first
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void *bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, (BITMAPINFO *)&header, DIB_RGB_COLORS, &bits, nullptr, 0);
    // Mask rows are whole 16-bit words.
    u8 *mask_bits = (u8 *)os_alloc_zeroed((u64)((width + 15) / 16) * 2 * (u64)height);
    HBITMAP mask = mask_bits ? CreateBitmap(width, height, 1, 1, mask_bits) : nullptr;
    os_free(mask_bits);
    HICON icon = nullptr;
    if (colour && mask) {
        u8 *to = (u8 *)bits;
        for (i64 i = 0; i < (i64)width * height; i++, rgba += 4, to += 4) {
            to[0] = rgba[2];
            to[1] = rgba[1];
            to[2] = rgba[0];
            to[3] = rgba[3];
        }
        ICONINFO info = {TRUE, 0, 0, mask, colour};
        icon = CreateIconIndirect(&info);
    }
    if (colour) DeleteObject(colour);
    if (mask) DeleteObject(mask);
    return icon;
}

bool backend_set_window_icon(Window *window, const u8 *rgba, i32 width, i32 height) {
    // The small icon is shrunk here by averaging: the system would sample the
    // large one down, and a title bar's 16 pixels of a 256-pixel picture come
    // out ragged.
    i32 small_width = GetSystemMetrics(SM_CXSMICON), small_height = GetSystemMetrics(SM_CYSMICON);
    u8 *small_pixels = (u8 *)os_alloc((u64)small_width * (u64)small_height * 4);
    if (!small_pixels) return false;
    icon_box_filter(rgba, width, height, small_pixels, small_width, small_height);
    HICON big_icon = icon_from_rgba(rgba, width, height);
    HICON small_icon = icon_from_rgba(small_pixels, small_width, small_height);
    os_free(small_pixels);
    if (!big_icon || !small_icon) {
        if (big_icon) DestroyIcon(big_icon);
        if (small_icon) DestroyIcon(small_icon);
        return false;
    }
    HWND hwnd = (HWND)window->hwnd;
    replace_icon(hwnd, ICON_BIG, BIG_ICON_PROPERTY, big_icon);
    replace_icon(hwnd, ICON_SMALL, SMALL_ICON_PROPERTY, small_icon);
    return true;
}

void backend_release_window(Window *window, bool already_destroying) {
    // A close that arrives inside the system's modal move or size loop (a
    // dragged title bar) would leave that loop waiting for the mouse or Enter
    // with the window gone, and the frame loop waiting for it: a quit message
    // ends the loop.  The frame loop ends by the closed window, not by the quit.
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    if (GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMOVESIZE)) PostQuitMessage(0);
    HWND hwnd = (HWND)window->hwnd;
    if (window->hdc) ReleaseDC(hwnd, (HDC)window->hdc);
    window->hdc = nullptr;
    // The icons the layer made go with the window, once it is gone from the screen.
    HICON big_icon = hwnd ? (HICON)RemovePropW(hwnd, BIG_ICON_PROPERTY) : nullptr;
    HICON small_icon = hwnd ? (HICON)RemovePropW(hwnd, SMALL_ICON_PROPERTY) : nullptr;
    if (hwnd && !already_destroying) DestroyWindow(hwnd);
    if (big_icon) DestroyIcon(big_icon);
    if (small_icon) DestroyIcon(small_icon);
}

static Vec2i cursor_position(void) {
    POINT p = {0, 0};
    GetCursorPos(&p);
    return Vec2i{p.x, p.y};
}

static void deliver_drop(Window *window, HDROP drop) {
    POINT at = {0, 0};
    DragQueryPoint(drop, &at);
    u32 count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    Str *paths = count ? (Str *)os_alloc_zeroed((u64)count * sizeof(Str)) : nullptr;
    if (count && !paths) {
        DragFinish(drop);
        return;
    }
    static wchar_t path[2048];
    for (u32 i = 0; i < count; i++) {
        UINT n = DragQueryFileW(drop, i, path, 2048);
        // A path that cannot be converted keeps its place in the list, empty.
        paths[i] = os_utf8_from_utf16(path, (int)n);
    }
    DragFinish(drop);
    window_drop(window, Vec2i{at.x, at.y}, paths, count);
    for (u32 i = 0; i < count; i++) os_free((void *)paths[i].data);
    os_free(paths);
}

static u16 button_for(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: return BUTTON_MOUSE_LEFT;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: return BUTTON_MOUSE_MIDDLE;
    default: return BUTTON_MOUSE_RIGHT;
    }
}

static LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    Window *window = window_find(hwnd);
    if (!window) return DefWindowProcW(hwnd, message, wparam, lparam);
    switch (message) {
    case WM_MOUSEMOVE:
        if (window_pointer_moved(window, cursor_position())) {
            TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
        }
        break;
    case WM_MOUSELEAVE:
        window_pointer_left(window, cursor_position());
        break;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP: {
        bool down = message == WM_LBUTTONDOWN || message == WM_MBUTTONDOWN || message == WM_RBUTTONDOWN;
        if (down) SetCapture(hwnd);
        else ReleaseCapture();
        DoubleClickLimits limits = {GetDoubleClickTime(), GetSystemMetrics(SM_CXDOUBLECLK),
                                    GetSystemMetrics(SM_CYDOUBLECLK)};
        Vec2i client = {(i16)LOWORD(lparam), (i16)HIWORD(lparam)};
        window_mouse_button(window, button_for(message), down, client, cursor_position(), (u32)GetMessageTime(),
                            limits);
        break;
    }
    case WM_MOUSEWHEEL:
        window_wheel(window, (i16)HIWORD(wparam), cursor_position());
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
        u8 action = up ? ACTION_UP : ((lparam & (1 << 30)) ? ACTION_REPEAT : ACTION_DOWN);
        window_key(window, wparam > 255 ? 256 : (u32)wparam, action);
        // Alt alone would open the window menu and stall the frame loop.
        if (wparam == VK_MENU) return 0;
        break;
    }
    case WM_CHAR:
        window_char(window, (u32)wparam);
        break;
    // Alt+Enter, the fullscreen key, would otherwise ring the menu's bell.
    case WM_SYSCHAR:
        if (wparam == '\r') return 0;
        break;
    case WM_MOVE:
        window_moved(window, (i16)LOWORD(lparam), (i16)HIWORD(lparam));
        break;
    case WM_SIZE:
        window_resized(window, LOWORD(lparam), HIWORD(lparam));
        break;
    case WM_SETFOCUS:
        window_focus(window, true);
        break;
    case WM_KILLFOCUS:
        window_focus(window, false);
        break;
    case WM_DROPFILES:
        deliver_drop(window, (HDROP)wparam);
        break;
    case WM_CLOSE:
    case WM_DESTROY:
    case WM_NCDESTROY:
    case WM_QUIT:
        window_close(window, message != WM_CLOSE && message != WM_QUIT);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

bool backend_handle_message(void) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void backend_wait_message(void) { WaitMessage(); }

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

// The class is registered with the first window.
bool backend_display_ready(void) { return true; }

SystemWindow backend_create_window(const WindowRequest *request) {
    SystemWindow made = {nullptr, nullptr};
    if (!register_class()) return made;
    DWORD style = win32_window_style(request->flags);
    DWORD ex_style = win32_window_ex_style(request->flags);
    RECT r = {0, 0, request->client_size.width, request->client_size.height};
    AdjustWindowRectEx(&r, style, FALSE, ex_style);
    int x = request->placed ? request->position.x : CW_USEDEFAULT;
    int y = request->placed ? request->position.y : CW_USEDEFAULT;
    wchar_t *title = os_utf16_from_utf8_alloc(request->title);
    if (!title) return made;
    HWND hwnd = CreateWindowExW(ex_style, WINDOW_CLASS_NAME, title, style, x, y, r.right - r.left, r.bottom - r.top,
                                nullptr, nullptr, class_instance, nullptr);
    os_free(title);
    if (!hwnd) return made;
    if (request->flags & WINDOW_COLOR_KEY) SetLayeredWindowAttributes(hwnd, 0, 0, LWA_COLORKEY);
    DragAcceptFiles(hwnd, TRUE);
    // The class has no icon: each window gets the program's own here.
    give_program_icon(hwnd);
    made.hwnd = hwnd;
    made.hdc = GetDC(hwnd);
    return made;
}
