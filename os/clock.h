// The tick counter, its conversions, calendar time and sleeping.
#pragma once

#include "os/types.h"

struct DateTime {
    u16 year;
    u8 month;
    u8 day;
    u8 weekday;  // 1 = Monday ... 7 = Sunday
    u8 hour;
    u8 minute;
    u8 second;
    u32 microsecond;  // always a multiple of 1000
};

// Set once by os_init; every conversion divides by it.
extern u64 os_counter_frequency;

u64 os_get_ticks(void);
u64 os_ticks_to_microseconds(u64 ticks);
u64 os_get_microseconds(void);
u64 os_get_milliseconds(void);
DateTime *os_get_utc_datetime(DateTime *out);
DateTime *os_get_local_datetime(DateTime *out);

// The system's weekday (0 to 6, Monday = 1) as 1 = Monday ... 7.
static inline u8 os_weekday_from_system(u32 system_weekday) { return system_weekday == 0 ? 7 : (u8)system_weekday; }

// What a sleep returns when a queued call or a signal ended it early.
#define OS_SLEEP_INTERRUPTED 0xC0u

// The whole milliseconds slept for a count of microseconds: truncated (999 µs
// sleep 0 ms), and held below 0xFFFFFFFF, which the system takes for "forever".
static inline u32 os_sleep_milliseconds_for(u64 microseconds) {
    u64 ms = microseconds / 1000;
    return ms > 0xFFFFFFFEu ? 0xFFFFFFFEu : (u32)ms;
}

// All three sleep in whole milliseconds and may be ended early by a queued
// asynchronous call; they return what the system's sleep returned.
u32 os_sleep_microseconds(u64 microseconds);
u32 os_sleep_milliseconds(u32 milliseconds);
u32 os_sleep_seconds(u32 seconds);
