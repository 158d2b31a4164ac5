#include "os/clock.h"

u64 os_counter_frequency;

u64 os_ticks_to_microseconds(u64 ticks) {
    // Split so that ticks * 1,000,000 cannot overflow for any real counter value.
    u64 f = os_counter_frequency;
    return ticks / f * 1000000u + ticks % f * 1000000u / f;
}

u64 os_get_microseconds(void) { return os_ticks_to_microseconds(os_get_ticks()); }
u64 os_get_milliseconds(void) { return os_get_microseconds() / 1000; }

u32 os_sleep_microseconds(u64 microseconds) { return os_sleep_milliseconds(os_sleep_milliseconds_for(microseconds)); }
u32 os_sleep_seconds(u32 seconds) { return os_sleep_milliseconds(os_sleep_milliseconds_for((u64)seconds * 1000000u)); }
