#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "os/backend.h"
#include "os/memory.h"

extern char **environ;

// Handles are file descriptors plus one, so that a zeroed record holds none.
static void *fd_handle(int fd) { return (void *)(intptr_t)(fd + 1); }
static int handle_fd(void *handle) { return (int)(intptr_t)handle - 1; }

void backend_close_handle(void **handle) {
    if (*handle) close(handle_fd(*handle));
    *handle = nullptr;
}

// The command line goes to the shell whole, as Windows takes it whole.
static char *terminated_copy(Str text) {
    char *copy = (char *)os_alloc(text.len + 1);
    if (!copy) return nullptr;
    if (text.len) memcpy(copy, text.data, text.len);
    copy[text.len] = 0;
    return copy;
}

static u32 exit_code_of(int status) {
    if (WIFEXITED(status)) return (u32)WEXITSTATUS(status);
    return 128u + (u32)WTERMSIG(status);
}

static bool set_private(int fd) { return fcntl(fd, F_SETFD, FD_CLOEXEC) == 0; }

bool backend_create_pipe(Process *, void **read_end, void **write_end) {
    int ends[2];
    if (pipe(ends) != 0) return false;
    *read_end = fd_handle(ends[0]);
    *write_end = fd_handle(ends[1]);
    return true;
}

bool backend_make_private(void *handle) { return set_private(handle_fd(handle)); }

// The child gets the pipes as standard input, output and error, and a process
// group of its own: the shell may run the command as a process of its own, and
// ending the child ends the whole group.  The Windows creation records have no
// meaning here and stay zero.
bool backend_create_child(Process *p, Str command, bool) {
    char *line = terminated_copy(command);
    if (!line) return false;
    int in = handle_fd(p->child_stdin), out = handle_fd(p->child_stdout);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, 0);
    posix_spawn_file_actions_adddup2(&actions, out, 1);
    posix_spawn_file_actions_adddup2(&actions, out, 2);
    if (in > 2) posix_spawn_file_actions_addclose(&actions, in);
    if (out > 2) posix_spawn_file_actions_addclose(&actions, out);
    char *argv[] = {(char *)"sh", (char *)"-c", line, nullptr};
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = 0;
    int failed = posix_spawn(&pid, "/bin/sh", &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    os_free(line);
    if (failed) return false;
    p->process_info.process = (void *)(intptr_t)pid;
    p->process_info.process_id = (u32)pid;
    p->process_info.thread_id = (u32)pid;
    return true;
}

static pid_t child_pid(Process *p) { return (pid_t)(intptr_t)p->process_info.process; }

void backend_release_child(Process *p) { p->process_info.process = nullptr; }

// A middle process starts the child, asks at once whether it has ended and
// reports that, then exits; the child is left to init, so no zombie stays
// behind for a process nobody waits for.
u32 backend_run_detached(Str command, bool) {
    char *line = terminated_copy(command);
    if (!line) return 1;
    char *argv[] = {(char *)"sh", (char *)"-c", line, nullptr};
    int report[2];
    if (pipe(report) != 0) {
        os_free(line);
        return 1;
    }
    set_private(report[0]);
    set_private(report[1]);
    pid_t middle = fork();
    if (middle == 0) {
        u32 code = 1;
        pid_t child = fork();
        if (child == 0) {
            execve("/bin/sh", argv, environ);
            _exit(127);
        }
        if (child > 0) {
            int status;
            pid_t ended = waitpid(child, &status, WNOHANG);
            code = ended == 0 ? PROCESS_STILL_ACTIVE : ended == child ? exit_code_of(status) : 1;
        }
        ssize_t ignored = write(report[1], &code, sizeof(code));
        (void)ignored;
        _exit(0);
    }
    os_free(line);
    close(report[1]);
    u32 code = 1;
    if (middle > 0) {
        if (read(report[0], &code, sizeof(code)) != (ssize_t)sizeof(code)) code = 1;
        while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {}
    }
    close(report[0]);
    return code;
}

static i64 read_some(int fd, void *buffer, u32 max) {
    ssize_t got;
    while ((got = read(fd, buffer, max)) < 0 && errno == EINTR) {}
    return got < 0 ? -1 : (i64)got;
}

i64 backend_read_pipe(void *handle, void *buffer, u32 max) { return read_some(handle_fd(handle), buffer, max); }

bool backend_wait_exit_code(Process *p, u32 *code) {
    int status;
    pid_t ended;
    while ((ended = waitpid(child_pid(p), &status, 0)) < 0 && errno == EINTR) {}
    if (ended != child_pid(p)) return false;
    *code = exit_code_of(status);
    return true;
}

// A child that closed its input must not end this process with SIGPIPE: the
// signal is held back for the write and a pending one is taken away.
i64 os_write_process_input(Process *process, u32 count, const void *bytes) {
    if (!process->stdin_write) return -1;
    sigset_t pipe_signal, old;
    sigemptyset(&pipe_signal);
    sigaddset(&pipe_signal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_signal, &old);
    ssize_t written;
    while ((written = write(handle_fd(process->stdin_write), bytes, count)) < 0 && errno == EINTR) {}
    if (written < 0 && errno == EPIPE) {
        struct timespec none = {0, 0};
        sigtimedwait(&pipe_signal, nullptr, &none);
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return written < 0 ? -1 : (i64)written;
}

i64 os_read_process_output(Process *process, u32 max, void *buffer) {
    if (!process->stdout_read) return -1;
    int fd = handle_fd(process->stdout_read);
    int waiting = 0;
    if (ioctl(fd, FIONREAD, &waiting) != 0) return -1;
    if (waiting <= 0) return 0;
    return read_some(fd, buffer, (u32)waiting < max ? (u32)waiting : max);
}

// Once ended, the child is reaped and the record no longer names it.
bool os_is_process_running(Process *process) {
    if (!process->process_info.process) return false;
    int status;
    pid_t ended = waitpid(child_pid(process), &status, WNOHANG);
    if (ended == 0) return true;
    process->process_info.process = nullptr;
    return false;
}

// Whether every process of the group sleeps in a wait ('S' in /proc/<pid>/stat).
static bool group_sleeps(pid_t group) {
    DIR *dir = opendir("/proc");
    if (!dir) return false;
    bool any = false, all_sleep = true;
    struct dirent *entry;
    while (all_sleep && (entry = readdir(dir)) != nullptr) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9') continue;
        char path[300];
        snprintf(path, sizeof(path), "/proc/%s/stat", entry->d_name);
        FILE *f = fopen(path, "r");
        if (!f) continue;
        char text[512];
        size_t n = fread(text, 1, sizeof(text) - 1, f);
        fclose(f);
        text[n] = 0;
        // The name in parentheses may hold anything; the fields follow the last ')'.
        char *close_paren = strrchr(text, ')');
        char state;
        int parent, process_group;
        if (!close_paren || sscanf(close_paren + 1, " %c %d %d", &state, &parent, &process_group) != 3) continue;
        if (process_group != group) continue;
        any = true;
        if (state != 'S') all_sleep = false;
    }
    closedir(dir);
    return any && all_sleep;
}

// Idle: every process of the child's group sleeps and nothing is waiting in
// its input pipe.
bool os_wait_process_idle(Process *process) {
    for (int waited = 0; waited <= 5000; waited += 5) {
        if (!os_is_process_running(process)) return false;
        int pending = 0;
        if (process->child_stdin) ioctl(handle_fd(process->child_stdin), FIONREAD, &pending);
        if (pending == 0 && group_sleeps(child_pid(process))) return true;
        struct timespec step = {0, 5000000};
        nanosleep(&step, nullptr);
    }
    return false;
}

// The whole group: the shell may have started the command as a process of its own.
void backend_end_child(Process *process) {
    kill(-child_pid(process), SIGKILL);
    while (waitpid(child_pid(process), nullptr, 0) < 0 && errno == EINTR) {}
}
