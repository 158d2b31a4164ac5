// Processors without the x86 vector paths (WebAssembly) mix with the scalar
// reference, which stores the same samples.
#include "sound/mixer.h"

bool cpu_supports_avx2(void) { return false; }

MixAddFrames mix_fastest_path(void) { return mix_add_frames_scalar; }
