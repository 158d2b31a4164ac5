// Built without a display backend: no pads.
#include "os/backend.h"

void backend_poll_gamepads(void) {}
