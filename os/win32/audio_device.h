// DirectSound details that the backend's tests look at.
#pragma once

#include "os/types.h"

// The name printed after "FAILED <step> " for a DirectSound result code.
const char *dsound_error_name(u32 code);
