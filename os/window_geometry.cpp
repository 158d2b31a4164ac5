#include "os/window_ops.h"

u64 os_framebuffer_capacity_for(i32 width, i32 height) {
    u64 w = width > 0 ? (u64)width : 0;
    u64 h = height > 0 ? (u64)height : 0;
    u64 need = w * h * 4;
    u64 capacity = 1;
    while (capacity < need) capacity <<= 1;
    return capacity;
}

Rect32 os_outer_rect_for_client(const Window *window, Rect32 client) {
    return Rect32{client.x + window->window_pos.x - window->client_pos.x,
                  client.y + window->window_pos.y - window->client_pos.y,
                  client.width + window->window_size.width - window->client_size.width,
                  client.height + window->window_size.height - window->client_size.height};
}

Rect32 os_resized_about_centre(const Window *window, i32 width, i32 height, bool client) {
    if (!client) {
        return Rect32{window->window_pos.x + (window->window_size.width - width) / 2,
                      window->window_pos.y + (window->window_size.height - height) / 2, width, height};
    }
    Rect32 area = {window->client_pos.x + (window->client_size.width - width) / 2,
                   window->client_pos.y + (window->client_size.height - height) / 2, width, height};
    return os_outer_rect_for_client(window, area);
}

Vec2i os_centred_position(Size2i area, Size2i window_size) {
    return Vec2i{area.width / 2 - window_size.width / 2, area.height / 2 - window_size.height / 2};
}
