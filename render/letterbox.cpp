#include "render/letterbox.h"

Letterbox letterbox_for(Size2i client, Size2i view) {
    if (client.width <= 0 || client.height <= 0) return Letterbox{0, 0, 0, 0};
    if (view.width <= 0 || view.height <= 0) return Letterbox{0, 0, client.width, client.height};
    i64 w, h;
    // Cross-multiplied: the side that limits is found without rounding, and
    // the other is rounded to the nearest pixel.
    if ((i64)client.width * view.height <= (i64)client.height * view.width) {
        w = client.width;
        h = ((i64)client.width * view.height * 2 + view.width) / (2 * (i64)view.width);
    } else {
        h = client.height;
        w = ((i64)client.height * view.width * 2 + view.height) / (2 * (i64)view.height);
    }
    if (w < 1) w = 1;
    if (h < 1) h = 1;
    return Letterbox{(client.width - (i32)w) / 2, (client.height - (i32)h) / 2, (i32)w, (i32)h};
}

bool letterbox_fills(Letterbox box, Size2i client) {
    return box.x == 0 && box.y == 0 && box.width == client.width && box.height == client.height;
}
