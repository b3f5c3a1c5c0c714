// A busy folder, as a download or temporary folder is: creates and removes one entry in it,
// `rate` times a second each, on a steady clock, until it is ended (SIGTERM) or `seconds` pass.
//
//   bench_churn <folder> [rate per second, default 10] [seconds, default: until ended]
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onStop(int) {
    g_stop = 1;
}

void addNs(timespec& t, long ns) {
    t.tv_nsec += ns;
    while (t.tv_nsec >= 1000000000L) {
        t.tv_nsec -= 1000000000L;
        ++t.tv_sec;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder> [rate per second] [seconds]\n", argv[0]);
        return 2;
    }
    const std::string entry = std::string(argv[1]) + "/tunara-bench-churn.tmp";
    const double rate = argc > 2 ? std::atof(argv[2]) : 10.0;
    const double seconds = argc > 3 ? std::atof(argv[3]) : 0.0;
    if (rate <= 0.0) {
        std::fprintf(stderr, "bench_churn: the rate must be positive\n");
        return 2;
    }
    std::signal(SIGTERM, onStop);
    std::signal(SIGINT, onStop);

    // Half a period between creating and removing, so the entry is there half of the time.
    const long halfPeriodNs = static_cast<long>(1e9 / rate / 2.0);
    const long steps = seconds > 0.0 ? static_cast<long>(seconds * rate * 2.0) : -1;
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (long step = 0; !g_stop && step != steps; ++step) {
        if (step % 2 == 0) {
            const int fd = open(entry.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0) {
                std::perror("bench_churn: create");
                return 1;
            }
            close(fd);
        } else {
            unlink(entry.c_str());
        }
        addNs(next, halfPeriodNs);
        while (!g_stop && clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr) != 0) {
        }
    }
    unlink(entry.c_str());
    return 0;
}
