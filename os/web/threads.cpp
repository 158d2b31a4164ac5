// A page runs on one thread: locks have no one to exclude, and no thread can
// be started.
#include "os/backend.h"
#include "os/log.h"

void backend_mutex_init(Mutex *) {}
void backend_mutex_destroy(Mutex *) {}
void backend_mutex_lock(Mutex *) {}
void backend_mutex_unlock(Mutex *) {}

Thread *backend_start_thread(ThreadEntry, u32 number, u64) {
    os_printf("FAILED backend_start_thread(%u) a page has no threads\n", number);
    return nullptr;
}

// Never reached: no record is ever marked running.
void backend_suspend_thread(Thread *) {}
void backend_resume_thread(Thread *) {}
void backend_terminate_thread(Thread *) {}
