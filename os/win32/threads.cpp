#include <windows.h>

#include "os/backend.h"
#include "os/memory.h"

static_assert(sizeof(CRITICAL_SECTION) <= sizeof(Mutex), "Mutex holds a critical section");
static_assert(alignof(CRITICAL_SECTION) <= alignof(Mutex), "");

static CRITICAL_SECTION *critical_section(Mutex *mutex) { return (CRITICAL_SECTION *)mutex->storage; }

void backend_mutex_init(Mutex *mutex) { InitializeCriticalSection(critical_section(mutex)); }
void backend_mutex_destroy(Mutex *mutex) { DeleteCriticalSection(critical_section(mutex)); }
void backend_mutex_lock(Mutex *mutex) { EnterCriticalSection(critical_section(mutex)); }
void backend_mutex_unlock(Mutex *mutex) { LeaveCriticalSection(critical_section(mutex)); }

// The record handed out is the head of a larger block, so the start routine
// finds the entry without a field in the public record.
struct ThreadBlock {
    Thread thread;
    ThreadEntry entry;
};

static DWORD WINAPI thread_start(void *arg) {
    ThreadBlock *block = (ThreadBlock *)arg;
    return block->entry(&block->thread);
}

Thread *backend_start_thread(ThreadEntry entry, u32 number, u64 user_data) {
    ThreadBlock *block = (ThreadBlock *)os_alloc_zeroed(sizeof(ThreadBlock));
    if (!block) return nullptr;
    block->thread.number = number;
    block->thread.user_data = user_data;
    block->entry = entry;
    // The handle is stored before the routine can look at its record.
    HANDLE handle = CreateThread(nullptr, 0, thread_start, block, CREATE_SUSPENDED, nullptr);
    if (!handle) {
        os_free(block);
        return nullptr;
    }
    block->thread.handle = handle;
    ResumeThread(handle);
    return &block->thread;
}

void backend_suspend_thread(Thread *thread) { SuspendThread(thread->handle); }
void backend_resume_thread(Thread *thread) { ResumeThread(thread->handle); }
void backend_terminate_thread(Thread *thread) { TerminateThread(thread->handle, 1); }
