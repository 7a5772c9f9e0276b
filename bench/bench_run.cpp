// Starts the program's window and the bare baseline alike, several times each, in turns, and
// prints start-up to first frame, peak resident memory and the cost of one click, with ratios.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double startupMs = 0;
    double peakKiB = 0;
    double clickNs = 0;
    bool ok = false;
};

double Now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

Run Start(const std::string& program, int clicks)
{
    Run run;
    int out[2];
    if (pipe(out) != 0) {
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string count = std::to_string(clicks);
    std::vector<char*> args = {const_cast<char*>(program.c_str())};
    if (clicks > 0) {
        args.push_back(const_cast<char*>("--clicks"));
        args.push_back(const_cast<char*>(count.c_str()));
    }
    args.push_back(nullptr);
    const double started = Now();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (failed != 0) {
        close(out[0]);
        std::fprintf(stderr, "bench: cannot start %s: %s\n", program.c_str(), std::strerror(failed));
        return run;
    }
    std::string text;
    char buffer[256];
    bool frame = false;
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, std::size_t(n));
        if (!frame && text.find("frame\n") != std::string::npos) {
            frame = true;
            run.startupMs = Now() - started;
        }
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakKiB = double(usage.ru_maxrss);
    const auto click = text.find("click ");
    if (click != std::string::npos) {
        run.clickNs = std::stod(text.substr(click + 6));
    }
    run.ok = frame && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const std::string dir = argc > 1 ? argv[1] : ".";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
    const std::string window = dir + "/bench-window";
    const std::string baseline = dir + "/bench-baseline";
    std::vector<double> startup[2], peak[2], click[2];
    for (int i = 0; i < runs; ++i) {
        for (int which = 0; which < 2; ++which) { // in turns, so drift hits both alike
            const Run run = Start(which == 0 ? window : baseline, 0);
            if (!run.ok) {
                std::fprintf(stderr, "bench: a run failed\n");
                return 1;
            }
            startup[which].push_back(run.startupMs);
            peak[which].push_back(run.peakKiB);
        }
    }
    for (int i = 0; i < 3; ++i) {
        for (int which = 0; which < 2; ++which) {
            const Run run = Start(which == 0 ? window : baseline, 5000);
            click[which].push_back(run.clickNs);
        }
    }
    const double s0 = Median(startup[0]), s1 = Median(startup[1]);
    const double p0 = Median(peak[0]), p1 = Median(peak[1]);
    const double c0 = Median(click[0]), c1 = Median(click[1]);
    std::printf("%-34s %12s %12s %10s\n", "median of runs", "program", "bare Qt", "ratio");
    std::printf(
        "%-34s %12.1f %12.1f %10.3f  (target 1.10)\n", "start-up to first frame (ms)", s0, s1, s0 / s1);
    std::printf(
        "%-34s %12.0f %12.0f %+10.0f  (target +2048 KiB)\n", "peak resident memory (KiB)", p0, p1, p0 - p1);
    std::printf(
        "%-34s %12.0f %12.0f %10.3f  (target 1.50)\n", "one Next click with repaint (ns)", c0, c1, c0 / c1);
    return 0;
}
