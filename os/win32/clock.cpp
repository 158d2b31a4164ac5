#include <windows.h>

#include "os/clock.h"

u64 os_get_ticks(void) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (u64)now.QuadPart;
}

static DateTime *fill_datetime(DateTime *out, const SYSTEMTIME *st) {
    out->year = st->wYear;
    out->month = (u8)st->wMonth;
    out->day = (u8)st->wDay;
    out->weekday = os_weekday_from_system(st->wDayOfWeek);
    out->hour = (u8)st->wHour;
    out->minute = (u8)st->wMinute;
    out->second = (u8)st->wSecond;
    out->microsecond = (u32)st->wMilliseconds * 1000u;
    return out;
}

DateTime *os_get_utc_datetime(DateTime *out) {
    SYSTEMTIME st;
    GetSystemTime(&st);
    return fill_datetime(out, &st);
}

DateTime *os_get_local_datetime(DateTime *out) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return fill_datetime(out, &st);
}

u32 os_sleep_milliseconds(u32 milliseconds) { return SleepEx(milliseconds, TRUE); }
