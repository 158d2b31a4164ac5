// Mutual exclusion and threads.
#pragma once

#include "os/types.h"

// The system's recursive lock, kept in the caller's memory.  Large enough for
// either backend's object; must not move once more than one thread uses it.
struct Mutex {
    alignas(8) u8 storage[64];
};

// Thread flags.
enum : u8 {
    THREAD_SUSPENDED = 0x01,  // suspended through this layer
    THREAD_RUNNING = 0x02,    // set by the entry routine: suspend, resume and terminate act only then
};

// On the process heap; the owner frees it with os_free.
struct Thread {
    u32 number;  // 1 for the first thread this layer creates, then counting up
    u8 flags;
    u64 user_data;
    void *handle;
};

// Runs on the new thread with its own record; the result is the thread's exit code.
typedef u32 (*ThreadEntry)(Thread *thread);

Mutex os_create_mutex(void);
void os_destroy_mutex(Mutex *mutex);
void os_lock_mutex(Mutex *mutex);
void os_unlock_mutex(Mutex *mutex);

// The thread starts at once with the default stack size.  Null if the system
// refuses it.  Threads are created from one thread at a time.
Thread *os_create_thread(ThreadEntry entry, u64 user_data);
void os_suspend_thread(Thread *thread);
void os_resume_thread(Thread *thread);
// Ends the thread with exit code 1 and zeroes the record (which stays allocated).
void os_terminate_thread(Thread *thread);
