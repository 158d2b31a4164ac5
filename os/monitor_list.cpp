// The process-wide monitor list: backends report what the system shows,
// this file keeps the list and its fallbacks.
#include "os/backend.h"
#include "os/memory.h"

static Monitor *monitors;
static i32 monitor_count;
static i32 monitor_capacity;

static Monitor fallback_monitor = {MONITOR_PRIMARY, {0, 0}, {1920, 1080}, {0, 0}, {1920, 1080}, 60, STR("default"), nullptr,
                                  {0, 0}, {1920, 1080}};

void monitor_list_add(const Monitor *monitor) {
    if (monitor_count == monitor_capacity) {
        i32 capacity = monitor_capacity ? monitor_capacity * 2 : 8;
        Monitor *grown = monitors ? (Monitor *)os_realloc(monitors, (u64)capacity * sizeof(Monitor))
                                  : (Monitor *)os_alloc((u64)capacity * sizeof(Monitor));
        if (!grown) {
            os_free((void *)monitor->name.data);
            return;
        }
        monitors = grown;
        monitor_capacity = capacity;
    }
    Monitor *m = &monitors[monitor_count++];
    *m = *monitor;
    // 0 and 1 stand for the hardware's default rate.
    if (m->refresh_rate == 0 || m->refresh_rate == 1) m->refresh_rate = 60;
    if (m->resolution.width <= 0 || m->resolution.height <= 0) {
        m->resolution.width = m->rect_size.width;
        m->resolution.height = m->rect_size.height;
    }
    // A system that tells no work area lends the whole monitor to windows.
    if (m->work_size.width <= 0 || m->work_size.height <= 0) {
        m->work_pos.x = m->rect_pos.x;
        m->work_pos.y = m->rect_pos.y;
        m->work_size.width = m->rect_size.width;
        m->work_size.height = m->rect_size.height;
    }
}

static void enumerate_monitors(void) {
    for (i32 i = 0; i < monitor_count; i++) os_free((void *)monitors[i].name.data);
    monitor_count = 0;
    backend_enumerate_monitors();
}

void os_get_monitors(i32 *count, Monitor **first) {
    enumerate_monitors();
    if (count) *count = monitor_count;
    if (first) *first = monitor_count ? monitors : nullptr;
}

Monitor *os_get_default_monitor(void) {
    if (monitor_count == 0) enumerate_monitors();
    return monitor_count ? &monitors[0] : &fallback_monitor;
}
