// Which mix path this processor runs: AVX2 when both the processor and the
// system (which must save the wide registers) support it, SSE2 otherwise.
#include "sound/mixer.h"

#if defined(_MSC_VER)
#include <intrin.h>
static void cpuid(u32 leaf, u32 out[4]) { __cpuidex((int *)out, (int)leaf, 0); }
static u64 enabled_register_state(void) { return _xgetbv(0); }
#else
#include <cpuid.h>
static void cpuid(u32 leaf, u32 out[4]) { __cpuid_count(leaf, 0, out[0], out[1], out[2], out[3]); }
static u64 enabled_register_state(void) {
    u32 lo, hi;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    return ((u64)hi << 32) | lo;
}
#endif

bool cpu_supports_avx2(void) {
    u32 r[4];
    cpuid(0, r);
    if (r[0] < 7) return false;
    cpuid(1, r);
    const u32 OSXSAVE = 1u << 27, AVX = 1u << 28;
    if ((r[2] & (OSXSAVE | AVX)) != (OSXSAVE | AVX)) return false;
    if ((enabled_register_state() & 6) != 6) return false;  // XMM and YMM state
    cpuid(7, r);
    return (r[1] & (1u << 5)) != 0;
}

MixAddFrames mix_fastest_path(void) {
    static const MixAddFrames path = cpu_supports_avx2() ? mix_add_frames_avx2 : mix_add_frames_sse2;
    return path;
}
