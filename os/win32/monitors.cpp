#include <windows.h>

#include "os/backend.h"
#include "os/win32/utf16.h"

static BOOL CALLBACK add_monitor(HMONITOR handle, HDC, LPRECT rect, LPARAM) {
    Monitor m = {};
    m.handle = handle;
    m.position.x = rect->left;
    m.position.y = rect->top;
    m.rect_pos = {rect->left, rect->top};
    m.rect_size = {rect->right - rect->left, rect->bottom - rect->top};
    MONITORINFOEXW info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(handle, &info)) {
        if (info.dwFlags & MONITORINFOF_PRIMARY) m.flags |= MONITOR_PRIMARY;
        m.rect_pos.x = info.rcMonitor.left;
        m.rect_pos.y = info.rcMonitor.top;
        m.rect_size.width = info.rcMonitor.right - info.rcMonitor.left;
        m.rect_size.height = info.rcMonitor.bottom - info.rcMonitor.top;
        m.work_pos = {info.rcWork.left, info.rcWork.top};
        m.work_size = {info.rcWork.right - info.rcWork.left, info.rcWork.bottom - info.rcWork.top};
        m.name = os_utf8_from_utf16(info.szDevice, -1);
        DEVMODEW mode = {};
        mode.dmSize = sizeof(mode);
        if (EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode)) {
            m.resolution.width = (i32)mode.dmPelsWidth;
            m.resolution.height = (i32)mode.dmPelsHeight;
            m.refresh_rate = (i32)mode.dmDisplayFrequency;
        }
    }
    monitor_list_add(&m);
    return TRUE;
}

void backend_enumerate_monitors(void) { EnumDisplayMonitors(nullptr, nullptr, add_monitor, 0); }
