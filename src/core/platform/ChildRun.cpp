#include "ChildRun.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <cstdio>

namespace pemo {

namespace {

constexpr int kOverLimitsExit = 3;

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

// The address space the process holds now, in bytes (0 when unknown).
rlim_t addressSpaceInUse() {
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    unsigned long pages = 0;
    const int read = std::fscanf(statm, "%lu", &pages);
    std::fclose(statm);
    return read == 1 ? rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) : 0;
}

// The child's side: limits, then the work; never returns.
[[noreturn]] void runChild(int fd, const std::function<QByteArray()>& work, const ChildRun::Limits& limits) {
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) {
        ::dup2(null, STDERR_FILENO);
        ::close(null);
    }
    rlimit space{};
    if (::getrlimit(RLIMIT_AS, &space) == 0) {
        const rlim_t wanted = addressSpaceInUse() + rlim_t(limits.memoryBytes);
        if (space.rlim_cur == RLIM_INFINITY || wanted < space.rlim_cur) space.rlim_cur = wanted;
        ::setrlimit(RLIMIT_AS, &space);
    }
    if (ChildRun::childSetup) ChildRun::childSetup();
    int status = 1;
    try {
        status = writeAll(fd, work()) ? 0 : 1;
    } catch (const std::bad_alloc&) {
        status = kOverLimitsExit;
    } catch (...) {
    }
    // No exit handlers: they belong to the parent.
    ::_exit(status);
}

}  // namespace

void (*ChildRun::childSetup)() = nullptr;

ChildRun::Outcome ChildRun::run(const std::function<QByteArray()>& work, const Limits& limits,
                                QByteArray& out) {
    out.clear();
    int fds[2];
    if (::pipe(fds) != 0) return Outcome::Failed;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return Outcome::Failed;
    }
    if (child == 0) {
        ::close(fds[0]);
        runChild(fds[1], work, limits);
    }
    ::close(fds[1]);
    QElapsedTimer clock;
    clock.start();
    bool late = false;
    char chunk[64 * 1024];
    for (;;) {
        const qint64 left = limits.milliseconds - clock.elapsed();
        if (left <= 0) {
            late = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, int(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            late = true;
            break;
        }
        const ssize_t n = ::read(fds[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        out.append(chunk, n);
    }
    ::close(fds[0]);
    if (late) ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (late || (WIFEXITED(status) && WEXITSTATUS(status) == kOverLimitsExit) ||
        (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU)) {
        out.clear();
        return Outcome::OverLimits;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        out.clear();
        return Outcome::Failed;
    }
    return Outcome::Done;
}

}  // namespace pemo
