// Through the real /bin/sh: file names of any bytes reach the binhex tool as
// exactly one literal argument, in both command forms, and run nothing else.

#include "encode/command_line.h"
#include "runtime/file.h"
#include "runtime/platform.h"
#include "tests/shell/binhex_probe_log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

std::vector<std::string> HostileNames() {
    std::vector<std::string> names = {
        "-",
        "--help",
        "-C",
        "a\nb",
        "\n",
        "'",
        "\"",
        "$(touch CANARY)",
        "`touch CANARY`",
        "; touch CANARY",
        "a\" ; touch CANARY ; \"",
        "$HOME",
        "\\",
        "\\\"",
        "it's",
        "*",
        "?",
        "~",
        "!",
        "#x",
        "a b\tc",
        std::string(255, 'x'),
        "\xff\xfe not utf-8",
        "\x01\x1b[31m",
    };
    for (int b = 1; b < 256; ++b) {
        if (b == '/')
            continue;
        names.push_back(std::string(1, static_cast<char>(b)));
        names.push_back(std::string(1, static_cast<char>(b)) + "name");
    }
    // Then 10,000 names of random bytes and lengths, one in ten with a dash
    // in front.
    const std::size_t generated = names.size() + 10000;
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> length(1, 255), byte(1, 255), dash(0, 9);
    while (names.size() < generated) {
        std::string name;
        int n = length(random);
        for (int i = 0; i < n; ++i) {
            char c;
            do
                c = static_cast<char>(byte(random));
            while (c == '/');
            name += c;
        }
        if (dash(random) == 0)
            name[0] = '-';
        names.push_back(name);
    }
    return names;
}

TEST(ShellQuoting, EveryNameReachesTheToolAsOneLiteralArgument) {
    const fs::path work =
        fs::temp_directory_path() / ("tamzel-quoting-" + std::to_string(getpid()));
    fs::create_directories(work);
    const fs::path log = work / "probe.log";
    ::setenv("TAMZEL_PROBE_LOG", log.c_str(), 1);
    ::setenv("PATH", (std::string(TAMZEL_PROBE_DIR) + ":" + std::getenv("PATH")).c_str(), 1);
    // Anything a name manages to run would happen in here.
    const fs::path savedCwd = fs::current_path();
    ASSERT_EQ(::chdir(work.c_str()), 0);

    const auto names = HostileNames();
    const std::string destination = (work / "out $dir 'x'").string();
    for (const auto& name : names) {
        const std::string path = "/tmp/in/" + name;
        RunShellCommand(BatchEncodeCommand(RuntimeNewObject<FolderItem>(path)->ShellPath(),
                                           RuntimeNewObject<FolderItem>(destination)->ShellPath()));
        RunShellCommand(DropEncodeCommand(path));
    }

    const auto runs = ReadProbeLog(log);
    ASSERT_EQ(runs.size(), 2 * names.size());
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string path = "/tmp/in/" + names[i];
        const std::vector<std::string> batch = {"encode", path, "-C", destination};
        const std::vector<std::string> drop = {"encode", path};
        if (runs[2 * i] != batch || runs[2 * i + 1] != drop) {
            if (++wrong < 5)
                ADD_FAILURE() << "name #" << i << " did not arrive intact";
        }
    }
    EXPECT_EQ(wrong, 0u);
    EXPECT_FALSE(fs::exists(work / "CANARY"));
    std::printf("shell quoting: %zu names tried, each in both command forms\n", names.size());
    ASSERT_EQ(::chdir(savedCwd.c_str()), 0);
    fs::remove_all(work);
}

// An empty element of PATH is the current folder; the runner must not add
// one, or a binhex lying in the folder the program was started from would
// run in place of the real one.
TEST(ShellRunner, NeverSearchesTheCurrentFolder) {
    const fs::path work = fs::temp_directory_path() / ("tamzel-path-" + std::to_string(getpid()));
    fs::create_directories(work);
    const fs::path stray = work / "tamzel-stray-tool";
    std::ofstream(stray) << "#!/bin/sh\ntouch " << (work / "CANARY").string() << "\n";
    fs::permissions(stray, fs::perms::owner_all);
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    const fs::path savedCwd = fs::current_path();
    ASSERT_EQ(::chdir(work.c_str()), 0);

    // The stray tool works when asked for by its path...
    RunShellCommand("./tamzel-stray-tool");
    EXPECT_TRUE(fs::exists(work / "CANARY"));
    fs::remove(work / "CANARY");
    // ...but a search by name, even with no PATH inherited, does not find it.
    ::setenv("PATH", "", 1);
    RunShellCommand("tamzel-stray-tool 2>/dev/null");
    EXPECT_FALSE(fs::exists(work / "CANARY"));

    ::setenv("PATH", savedPath.c_str(), 1);
    ASSERT_EQ(::chdir(savedCwd.c_str()), 0);
    fs::remove_all(work);
}
} // namespace
