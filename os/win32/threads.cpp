#include <windows.h>
#include <string.h>

#include "os/memory.h"
#include "os/threads.h"

static_assert(sizeof(CRITICAL_SECTION) <= sizeof(Mutex), "Mutex holds a critical section");
static_assert(alignof(CRITICAL_SECTION) <= alignof(Mutex), "");

static CRITICAL_SECTION *critical_section(Mutex *mutex) { return (CRITICAL_SECTION *)mutex->storage; }

Mutex os_create_mutex(void) {
    Mutex mutex;
    memset(&mutex, 0, sizeof(mutex));
    InitializeCriticalSection(critical_section(&mutex));
    return mutex;
}

void os_destroy_mutex(Mutex *mutex) {
    DeleteCriticalSection(critical_section(mutex));
    memset(mutex, 0, sizeof(*mutex));
}

void os_lock_mutex(Mutex *mutex) { EnterCriticalSection(critical_section(mutex)); }
void os_unlock_mutex(Mutex *mutex) { LeaveCriticalSection(critical_section(mutex)); }

// The record handed out is the head of a larger block, so the start routine
// finds the entry without a field in the public record.
struct ThreadBlock {
    Thread thread;
    ThreadEntry entry;
};

static u32 thread_counter;

static DWORD WINAPI thread_start(void *arg) {
    ThreadBlock *block = (ThreadBlock *)arg;
    return block->entry(&block->thread);
}

Thread *os_create_thread(ThreadEntry entry, u64 user_data) {
    thread_counter++;
    ThreadBlock *block = (ThreadBlock *)os_alloc_zeroed(sizeof(ThreadBlock));
    if (!block) return nullptr;
    block->thread.number = thread_counter;
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

void os_suspend_thread(Thread *thread) {
    if (!thread || !(thread->flags & THREAD_RUNNING) || (thread->flags & THREAD_SUSPENDED)) return;
    thread->flags |= THREAD_SUSPENDED;
    SuspendThread(thread->handle);
}

void os_resume_thread(Thread *thread) {
    if (!thread || !(thread->flags & THREAD_RUNNING) || !(thread->flags & THREAD_SUSPENDED)) return;
    thread->flags &= (u8)~THREAD_SUSPENDED;
    ResumeThread(thread->handle);
}

void os_terminate_thread(Thread *thread) {
    if (!thread || !(thread->flags & THREAD_RUNNING)) return;
    TerminateThread(thread->handle, 1);
    memset(thread, 0, sizeof(*thread));
}
