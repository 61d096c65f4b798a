#pragma once

// Runs the program itself as a child process and measures that run alone: its wall time
// and its peak resident memory, as the shop's PC would see a command-line export.
#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace pemo::bench {

struct ChildRun {
    bool ok = false;
    double seconds = 0;
    double peakRssMiB = 0;
};

// Runs the built program (PEMO_PROGRAM, or the one PEMO_BENCH_PROGRAM names, to compare
// with another build) with arguments; ok when it exits with 0.
inline ChildRun runProgram(const QStringList& arguments) {
    const QByteArray other = qgetenv("PEMO_BENCH_PROGRAM");
    std::vector<QByteArray> storage{other.isEmpty() ? QByteArray(PEMO_PROGRAM) : other};
    for (const QString& a : arguments) storage.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& s : storage) argv.push_back(s.data());
    argv.push_back(nullptr);
    ChildRun run;
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    // What the program prints would only mix with the benchmark's table.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return run;
    run.seconds = double(clock.nsecsElapsed()) / 1e9;
    run.peakRssMiB = double(usage.ru_maxrss) / 1024.0;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

// The median wall time and the largest peak memory of repeated runs.
inline ChildRun medianRun(const QStringList& arguments, int runs) {
    std::vector<double> times;
    ChildRun result{true, 0, 0};
    for (int i = 0; i < runs; ++i) {
        const ChildRun run = runProgram(arguments);
        if (!run.ok) return run;
        times.push_back(run.seconds);
        result.peakRssMiB = std::max(result.peakRssMiB, run.peakRssMiB);
    }
    std::sort(times.begin(), times.end());
    result.seconds = times[times.size() / 2];
    return result;
}

}  // namespace pemo::bench
