// The check's own choice of mix path: the scalar reference, since the
// processor-feature probe of sound/mix_select.cpp has no WebAssembly form.
#include "sound/mixer.h"

MixAddFrames mix_fastest_path(void) { return mix_add_frames_scalar; }
