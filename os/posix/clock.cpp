#include <errno.h>
#include <sys/time.h>
#include <time.h>

#include "os/clock.h"

// The monotonic clock in nanoseconds plays the performance counter.
u64 os_get_ticks(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (u64)ts.tv_sec * 1000000000u + (u64)ts.tv_nsec;
}

static DateTime *fill_datetime(DateTime *out, const struct tm *tm, long microseconds) {
    out->year = (u16)(tm->tm_year + 1900);
    out->month = (u8)(tm->tm_mon + 1);
    out->day = (u8)tm->tm_mday;
    out->weekday = os_weekday_from_system((u32)tm->tm_wday);
    out->hour = (u8)tm->tm_hour;
    out->minute = (u8)tm->tm_min;
    out->second = (u8)(tm->tm_sec > 59 ? 59 : tm->tm_sec);
    // The Windows source only has milliseconds; keep the same resolution.
    out->microsecond = (u32)(microseconds / 1000) * 1000u;
    return out;
}

// Now, broken down by gmtime_r or localtime_r.
static DateTime *datetime_now(DateTime *out, struct tm *(*break_down)(const time_t *, struct tm *)) {
    struct timeval tv;
    gettimeofday(&tv, nullptr);
    struct tm tm;
    break_down(&tv.tv_sec, &tm);
    return fill_datetime(out, &tm, tv.tv_usec);
}

DateTime *os_get_utc_datetime(DateTime *out) { return datetime_now(out, gmtime_r); }

DateTime *os_get_local_datetime(DateTime *out) { return datetime_now(out, localtime_r); }

// Like an alertable sleep: a signal ends it early.
u32 os_sleep_milliseconds(u32 milliseconds) {
    struct timespec req = {(time_t)(milliseconds / 1000), (long)(milliseconds % 1000) * 1000000L};
    if (nanosleep(&req, nullptr) == -1 && errno == EINTR) return OS_SLEEP_INTERRUPTED;
    return 0;
}
