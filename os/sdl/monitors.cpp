// Stand-in until the SDL backend implements this concern: the failure results.
#include "os/backend.h"

void backend_enumerate_monitors(void) {}
