// Mutexes and threads over the system's lock and thread calls: the zeroed
// records, the thread numbers and the flags that say when suspend, resume and
// terminate act.
#include <string.h>

#include "os/backend.h"

Mutex os_create_mutex(void) {
    Mutex mutex;
    memset(&mutex, 0, sizeof(mutex));
    backend_mutex_init(&mutex);
    return mutex;
}

void os_destroy_mutex(Mutex *mutex) {
    backend_mutex_destroy(mutex);
    memset(mutex, 0, sizeof(*mutex));
}

void os_lock_mutex(Mutex *mutex) { backend_mutex_lock(mutex); }
void os_unlock_mutex(Mutex *mutex) { backend_mutex_unlock(mutex); }

static u32 thread_counter;

// Counted before the record exists, so a refused thread uses up its number.
Thread *os_create_thread(ThreadEntry entry, u64 user_data) {
    thread_counter++;
    return backend_start_thread(entry, thread_counter, user_data);
}

void os_suspend_thread(Thread *thread) {
    if (!thread || !(thread->flags & THREAD_RUNNING) || (thread->flags & THREAD_SUSPENDED)) return;
    thread->flags |= THREAD_SUSPENDED;
    backend_suspend_thread(thread);
}

void os_resume_thread(Thread *thread) {
    if (!thread || !(thread->flags & THREAD_RUNNING) || !(thread->flags & THREAD_SUSPENDED)) return;
    thread->flags &= (u8)~THREAD_SUSPENDED;
    backend_resume_thread(thread);
}

void os_terminate_thread(Thread *thread) {
    if (!thread || !(thread->flags & THREAD_RUNNING)) return;
    backend_terminate_thread(thread);
    memset(thread, 0, sizeof(*thread));
}
