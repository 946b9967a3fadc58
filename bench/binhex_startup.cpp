// What one start of `binhex` costs, since a batch starts it once per file, up
// to some thousands of times: `--version` (loading and exit alone), encoding
// a tiny file with a plain ASCII name, and with a decomposed name that has to
// be composed before it becomes Mac OS Roman. Runs are interleaved so that a
// change in the machine's load falls on every column alike. Give a second
// program (an older build) to see what the newer one adds.
//
//   <build>/bench/binhex_startup <build>/libexec/tamzel/binhex [OTHER_BINHEX...] [--runs N]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct Timing {
    std::vector<double> wall_us;
    std::vector<double> cpu_us;
    // Minor page faults: a steady figure where the clock is not, on a busy
    // machine or in a virtual one where each fault is dear.
    std::vector<double> faults;
};

double microseconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_usec);
}

// Runs argv with its standard output on /dev/null; adds its wall-clock and
// CPU time (its own, user and system) to `timing`.
void run_once(const std::vector<std::string>& argv, Timing& timing) {
    std::vector<char*> args;
    for (const auto& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", args[0]);
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s %s failed\n", args[0], args[1]);
        std::exit(1);
    }
    timing.wall_us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    timing.cpu_us.push_back(microseconds(usage.ru_utime) + microseconds(usage.ru_stime));
    timing.faults.push_back(static_cast<double>(usage.ru_minflt));
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double mean(const std::vector<double>& values) {
    double sum = 0;
    for (const double v : values) {
        sum += v;
    }
    return sum / static_cast<double>(values.size());
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> programs;
    int runs = 1000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            programs.push_back(fs::absolute(arg).string());
        }
    }
    if (programs.empty()) {
        std::fprintf(stderr, "usage: %s BINHEX [OTHER_BINHEX...] [--runs N]\n", argv[0]);
        return 2;
    }

    const fs::path work =
        fs::temp_directory_path() / ("binhex-startup." + std::to_string(::getpid()));
    fs::create_directories(work / "out");
    // "Résumé.txt" as a Mac writes it: each e followed by a combining acute.
    const std::vector<std::pair<std::string, std::string>> names = {
        {"ASCII name", "resume.txt"},
        {"decomposed name", "Re\xCC\x81sume\xCC\x81.txt"},
    };
    for (const auto& [label, name] : names) {
        std::ofstream(work / name) << "a small file\n";
    }

    // One column per kind of start, one row per program.
    const std::size_t columns = 1 + names.size();
    std::vector<std::vector<Timing>> timings(programs.size(), std::vector<Timing>(columns));
    for (int round = 0; round < runs; ++round) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            run_once({programs[p], "--version"}, timings[p][0]);
            for (std::size_t n = 0; n < names.size(); ++n) {
                const std::string file = (work / names[n].second).string();
                run_once({programs[p], "encode", file, "-C", (work / "out").string()},
                         timings[p][1 + n]);
                fs::remove(work / "out" / (names[n].second + ".hqx"));
            }
        }
    }
    fs::remove_all(work);

    // One figure: median wall-clock, mean CPU (both microseconds), mean page
    // faults.
    const auto figures = [](const Timing& t) {
        char text[64];
        std::snprintf(text, sizeof text, "%6.0f %6.0f %5.0f", median(t.wall_us), mean(t.cpu_us),
                      mean(t.faults));
        return std::string(text);
    };
    const auto difference = [](const Timing& a, const Timing& b) {
        char text[96];
        std::snprintf(text, sizeof text, "%+6.0f us wall-clock, %+6.0f us CPU, %+4.0f faults",
                      median(a.wall_us) - median(b.wall_us), mean(a.cpu_us) - mean(b.cpu_us),
                      mean(a.faults) - mean(b.faults));
        return std::string(text);
    };
    const char* const column_names[] = {"--version", "encode, ASCII name", "encode, decomposed"};

    std::printf("binhex start-up, %d runs of each: median wall-clock us, mean CPU us, mean page "
                "faults\n\n",
                runs);
    std::printf("%-10s", "");
    for (const char* name : column_names) {
        std::printf("  %-21s", name);
    }
    std::printf("\n");
    for (std::size_t p = 0; p < programs.size(); ++p) {
        std::printf("program %zu ", p + 1);
        for (const auto& t : timings[p]) {
            std::printf("  %-21s", figures(t).c_str());
        }
        std::printf("\n");
    }
    std::printf("\n");
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const auto& t = timings[p];
        std::printf("program %zu: %s\n", p + 1, programs[p].c_str());
        std::printf("  composing a decomposed name adds %s\n", difference(t[2], t[1]).c_str());
        if (p > 0) {
            for (std::size_t c = 0; c < columns; ++c) {
                std::printf("  %-20s program 1 adds %s\n", column_names[c],
                            difference(timings[0][c], t[c]).c_str());
            }
        }
    }
    return 0;
}
