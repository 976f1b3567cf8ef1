// Runs one program and writes to RESULT_FILE its wall time from fork to exit and its processor
// time (user and system) in milliseconds, its peak resident memory in KiB, and the monotonic
// clock's time at its end in milliseconds ("123.456 78.901 67890 5234567.890"), measured the same
// way for every program the start-up benchmark compares; the end time is what the exit figure is
// taken against (the program says when it was asked to end, on the same clock). The
// processor time is the figure a busy machine disturbs least. The program's stdout goes where
// this one's does; a program that fails makes this fail.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

namespace {

double NowMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: spawn_measure RESULT_FILE PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    const double start = NowMs();
    const pid_t child = ::fork();
    if (child < 0) {
        std::perror("spawn_measure: fork");
        return 2;
    }
    if (child == 0) {
        ::execv(argv[2], argv + 2);
        std::perror("spawn_measure: exec");
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child) {
        std::perror("spawn_measure: wait4");
        return 2;
    }
    const double ended = NowMs();
    const double elapsed = ended - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "spawn_measure: %s failed (status %d)\n", argv[2], status);
        return 1;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror("spawn_measure: result file");
        return 2;
    }
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    std::fprintf(out, "%.3f %.3f %ld %.3f\n", elapsed, ms(usage.ru_utime) + ms(usage.ru_stime),
                 usage.ru_maxrss, ended);
    return std::fclose(out) == 0 ? 0 : 2;
}
