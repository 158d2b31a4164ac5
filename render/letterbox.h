// A picture laid out at one size shown in a window of another: scaled by one
// factor so that it fits whole, centred, the rest of the window left black.
#pragma once

#include "os/types.h"
#include "os/window.h"

// Where the view lies in the client area, counted from its top-left corner.
struct Letterbox {
    i32 x, y, width, height;
};

// The largest rectangle of the view's aspect inside the client, centred.
// Where the two sizes agree it is the whole client; an empty client gives an
// empty box, an empty view the whole client.
Letterbox letterbox_for(Size2i client, Size2i view);
// Whether the box leaves no bars.
bool letterbox_fills(Letterbox box, Size2i client);
