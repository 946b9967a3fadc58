// What the program's batch path adds to encoding 3000 small files: the
// program's own road (dialog answers, one runner, /bin/sh per command, the
// real binhex) against the same command lines run by one plain shell loop.

#include "app/startup.h"
#include "runtime/file.h"
#include "runtime/scripted/scripted_platform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

int main() {
    const int kFiles = 3000;
    const fs::path work = fs::temp_directory_path() / "tamzel-batch-bench";
    fs::remove_all(work);
    fs::create_directories(work / "in");
    fs::create_directories(work / "out-program");
    fs::create_directories(work / "out-shell");
    std::vector<std::string> files;
    for (int i = 0; i < kFiles; ++i) {
        fs::path p = work / "in" / ("file " + std::to_string(i) + ".txt");
        std::ofstream(p) << "a small file, number " << i << "\n";
        files.push_back(p.string());
    }
    // Both runs find the same binhex first on PATH.
    const std::string path = std::string(TAMZEL_TOOLS_DIR) + ":" + std::getenv("PATH");
    ::setenv("PATH", path.c_str(), 1);

    std::ofstream loop(work / "loop.sh");
    for (const auto& f : files)
        loop << "binhex encode " << ShellQuote(f) << " -C "
             << ShellQuote((work / "out-shell").string()) << "\n";
    loop.close();

    using Clock = std::chrono::steady_clock;
    auto t0 = Clock::now();
    std::system(("/bin/sh " + ShellQuote((work / "loop.sh").string()) + " >/dev/null").c_str());
    double shellSeconds = std::chrono::duration<double>(Clock::now() - t0).count();

    auto platform = std::make_unique<ScriptedPlatform>();
    platform->RunCommands(true)
        .SetResources((work / "no resources").string())
        .AnswerFiles(files)
        .AnswerFolder((work / "out-program").string())
        .ChooseMenuItem("FileEncode")
        .ChooseMenuItem("FileQuit");
    RuntimeSelectBackend(std::move(platform));
    t0 = Clock::now();
    RunProgram();
    double programSeconds = std::chrono::duration<double>(Clock::now() - t0).count();

    std::printf("batch of %d small files\n", kFiles);
    std::printf("  plain shell loop   %7.3f s\n", shellSeconds);
    std::printf("  program batch path %7.3f s\n", programSeconds);
    std::printf("  ratio              %7.3f (aim: at most 1.10)\n", programSeconds / shellSeconds);
    fs::remove_all(work);
    return 0;
}
