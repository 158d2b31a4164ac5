// Without a display there are no monitors; the list falls back to its default.
#include "os/backend.h"

void backend_enumerate_monitors(void) {}
