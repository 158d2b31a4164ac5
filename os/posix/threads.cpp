#include <errno.h>
#include <pthread.h>
#include <semaphore.h>
#include <signal.h>
#include <string.h>
#include <time.h>

#include "os/backend.h"
#include "os/memory.h"

static_assert(sizeof(pthread_mutex_t) <= sizeof(Mutex), "Mutex holds a pthread mutex");
static_assert(alignof(pthread_mutex_t) <= alignof(Mutex), "");
static_assert(sizeof(pthread_t) <= sizeof(void *), "a thread id fits the handle field");

static pthread_mutex_t *system_mutex(Mutex *mutex) { return (pthread_mutex_t *)mutex->storage; }

// Recursive, like the Windows critical section.
void backend_mutex_init(Mutex *mutex) {
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(system_mutex(mutex), &attr);
    pthread_mutexattr_destroy(&attr);
}

void backend_mutex_destroy(Mutex *mutex) { pthread_mutex_destroy(system_mutex(mutex)); }
void backend_mutex_lock(Mutex *mutex) { pthread_mutex_lock(system_mutex(mutex)); }
void backend_mutex_unlock(Mutex *mutex) { pthread_mutex_unlock(system_mutex(mutex)); }

// POSIX threads cannot be suspended or ended from outside, so the layer's own
// threads take three signals: one parks the thread in its handler until the
// resume signal clears its flag, one ends it.  The public record heads a
// private block that the handlers reach through a thread-local pointer.
struct ThreadBlock {
    Thread thread;
    ThreadEntry entry;
    pthread_t id;
    int parked;       // written by suspend and resume, read by the handler
    sem_t started;     // posted once the handle is stored
    sem_t parked_ack;  // posted once the handler has seen a suspend request
};

static thread_local ThreadBlock *current_block;
static pthread_once_t signals_once = PTHREAD_ONCE_INIT;

static int suspend_signal(void) { return SIGRTMIN + 3; }
static int resume_signal(void) { return SIGRTMIN + 4; }
static int terminate_signal(void) { return SIGRTMIN + 5; }

static void on_suspend(int) {
    int saved_errno = errno;
    ThreadBlock *block = current_block;
    if (!block) return;
    sem_post(&block->parked_ack);
    sigset_t wait_mask;
    pthread_sigmask(SIG_SETMASK, nullptr, &wait_mask);
    sigdelset(&wait_mask, resume_signal());
    sigdelset(&wait_mask, terminate_signal());
    while (__atomic_load_n(&block->parked, __ATOMIC_ACQUIRE)) sigsuspend(&wait_mask);
    errno = saved_errno;
}

static void on_resume(int) {}

static void on_terminate(int) { pthread_exit((void *)1); }

static void install_signals(void) {
    struct sigaction sa;
    memset(&sa, 0, sizeof(sa));
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sa.sa_handler = on_suspend;
    // A resume that comes before the handler waits stays pending until it does.
    sigaddset(&sa.sa_mask, resume_signal());
    sigaction(suspend_signal(), &sa, nullptr);
    sigemptyset(&sa.sa_mask);
    sa.sa_handler = on_resume;
    sigaction(resume_signal(), &sa, nullptr);
    sa.sa_handler = on_terminate;
    sigaction(terminate_signal(), &sa, nullptr);
}

static void *thread_start(void *arg) {
    ThreadBlock *block = (ThreadBlock *)arg;
    current_block = block;
    // The creator stores the handle before the routine may look at its record.
    while (sem_wait(&block->started) != 0) {}
    return (void *)(uintptr_t)block->entry(&block->thread);
}

Thread *backend_start_thread(ThreadEntry entry, u32 number, u64 user_data) {
    pthread_once(&signals_once, install_signals);
    ThreadBlock *block = (ThreadBlock *)os_alloc_zeroed(sizeof(ThreadBlock));
    if (!block) return nullptr;
    block->thread.number = number;
    block->thread.user_data = user_data;
    block->entry = entry;
    sem_init(&block->started, 0, 0);
    sem_init(&block->parked_ack, 0, 0);
    if (pthread_create(&block->id, nullptr, thread_start, block) != 0) {
        sem_destroy(&block->started);
        sem_destroy(&block->parked_ack);
        os_free(block);
        return nullptr;
    }
    memcpy(&block->thread.handle, &block->id, sizeof(block->id));
    sem_post(&block->started);
    return &block->thread;
}

// Waits until the thread has entered its parking handler, so that the caller
// sees it stopped as SuspendThread would leave it; a thread that has already
// ended never answers, hence the bound.
static void wait_parked(ThreadBlock *block) {
    struct timespec until;
    clock_gettime(CLOCK_REALTIME, &until);
    until.tv_sec += 1;
    while (sem_timedwait(&block->parked_ack, &until) != 0 && errno == EINTR) {}
}

void backend_suspend_thread(Thread *thread) {
    ThreadBlock *block = (ThreadBlock *)thread;
    __atomic_store_n(&block->parked, 1, __ATOMIC_RELEASE);
    if (pthread_kill(block->id, suspend_signal()) == 0) wait_parked(block);
}

void backend_resume_thread(Thread *thread) {
    ThreadBlock *block = (ThreadBlock *)thread;
    __atomic_store_n(&block->parked, 0, __ATOMIC_RELEASE);
    pthread_kill(block->id, resume_signal());
}

void backend_terminate_thread(Thread *thread) {
    ThreadBlock *block = (ThreadBlock *)thread;
    pthread_kill(block->id, terminate_signal());
}
