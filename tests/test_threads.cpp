#include <doctest/doctest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "os/clock.h"
#include "os/memory.h"
#include "os/threads.h"

static std::atomic<u64> worker_ticks;
static std::atomic<u64> seen_user_data;
static std::atomic<Thread *> seen_record;

// Counts until ended from outside; marks itself as running so that suspend,
// resume and terminate act on it.
static u32 counting_worker(Thread *thread) {
    seen_record = thread;
    seen_user_data = thread->user_data;
    thread->flags |= THREAD_RUNNING;
    for (;;) {
        worker_ticks++;
        os_sleep_milliseconds(1);
    }
}

static u32 returning_worker(Thread *thread) {
    seen_record = thread;
    return 0;
}

static void wait_for(std::atomic<Thread *> &slot, Thread *value) {
    for (int i = 0; i < 2000 && slot.load() != value; i++) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Whether the worker's counter moves within a while.
static bool worker_moves(void) {
    u64 before = worker_ticks;
    for (int i = 0; i < 400; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (worker_ticks != before) return true;
    }
    return false;
}

static bool worker_stays(void) {
    u64 before = worker_ticks;
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    return worker_ticks == before;
}

TEST_CASE("threads are numbered from 1 and get their own record and user value") {
    Thread *first = os_create_thread(returning_worker, 7);
    REQUIRE(first);
    CHECK(first->number == 1);
    CHECK(first->user_data == 7);
    CHECK(first->handle != nullptr);
    wait_for(seen_record, first);
    CHECK(seen_record.load() == first);

    Thread *second = os_create_thread(returning_worker, 8);
    REQUIRE(second);
    CHECK(second->number == 2);
    wait_for(seen_record, second);
    CHECK(seen_record.load() == second);
    // The layer itself never marks a thread as running.
    CHECK(first->flags == 0);
    CHECK(second->flags == 0);
    os_free(first);
    os_free(second);
}

TEST_CASE("suspend, resume and terminate act only on records marked running") {
    os_suspend_thread(nullptr);
    os_resume_thread(nullptr);
    os_terminate_thread(nullptr);

    Thread fresh = {};
    fresh.number = 99;
    os_suspend_thread(&fresh);
    os_resume_thread(&fresh);
    os_terminate_thread(&fresh);
    CHECK(fresh.flags == 0);
    CHECK(fresh.number == 99);  // terminate left it alone

    worker_ticks = 0;
    Thread *thread = os_create_thread(counting_worker, 0xABCDEF0123ull);
    REQUIRE(thread);
    wait_for(seen_record, thread);
    CHECK(seen_user_data.load() == 0xABCDEF0123ull);
    CHECK(worker_moves());

    // Resuming a thread that was not suspended through the layer does nothing.
    os_resume_thread(thread);
    CHECK(thread->flags == THREAD_RUNNING);

    os_suspend_thread(thread);
    CHECK(thread->flags == (THREAD_RUNNING | THREAD_SUSPENDED));
    CHECK(worker_stays());
    // A second suspend is ignored, so one resume is enough.
    os_suspend_thread(thread);
    os_resume_thread(thread);
    CHECK(thread->flags == THREAD_RUNNING);
    CHECK(worker_moves());

    os_terminate_thread(thread);
    CHECK(thread->number == 0);
    CHECK(thread->flags == 0);
    CHECK(thread->user_data == 0);
    CHECK(thread->handle == nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    CHECK(worker_stays());
    os_free(thread);
}

TEST_CASE("a suspended thread can be terminated") {
    worker_ticks = 0;
    Thread *thread = os_create_thread(counting_worker, 1);
    REQUIRE(thread);
    wait_for(seen_record, thread);
    CHECK(worker_moves());
    os_suspend_thread(thread);
    os_terminate_thread(thread);
    CHECK(thread->flags == 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    CHECK(worker_stays());
    os_free(thread);
}

static Mutex shared_mutex;
static u64 shared_total;

static u32 adding_worker(Thread *thread) {
    for (int i = 0; i < 20000; i++) {
        os_lock_mutex(&shared_mutex);
        os_lock_mutex(&shared_mutex);  // recursive for its owner
        u64 v = shared_total;
        shared_total = v + 1;
        os_unlock_mutex(&shared_mutex);
        os_unlock_mutex(&shared_mutex);
    }
    seen_record = thread;
    return 0;
}

TEST_CASE("a mutex serialises threads and is recursive for its owner") {
    shared_mutex = os_create_mutex();
    shared_total = 0;
    seen_record = nullptr;
    Thread *a = os_create_thread(adding_worker, 0);
    REQUIRE(a);
    for (int i = 0; i < 20000; i++) {
        os_lock_mutex(&shared_mutex);
        shared_total = shared_total + 1;
        os_unlock_mutex(&shared_mutex);
    }
    wait_for(seen_record, a);
    os_lock_mutex(&shared_mutex);
    CHECK(shared_total == 40000);
    os_unlock_mutex(&shared_mutex);
    os_destroy_mutex(&shared_mutex);
    bool all_zero = true;
    for (u8 b : shared_mutex.storage) all_zero = all_zero && b == 0;
    CHECK(all_zero);
    os_free(a);
}
