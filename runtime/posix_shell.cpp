// The POSIX shell runner: /bin/sh -c COMMAND, waited for. Standard output is
// discarded and standard error passes through; the folder of the program's
// bundled tools comes first on the command's PATH, so the binhex that ships
// with the program is the one the shell finds.

#include "platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
// An empty element in PATH stands for the current folder, where a stray
// binhex would then run in place of ours: the tools' folder is put first
// only when it is known, and an empty inherited PATH counts as none.
std::vector<std::string> EnvironmentWithOwnPath() {
    std::vector<std::string> env;
    const char* inherited = std::getenv("PATH");
    std::string path = "PATH=";
    if (const std::string own = BundledToolsDirectory(); !own.empty())
        path += own + ":";
    path += inherited && *inherited ? inherited : "/usr/local/bin:/usr/bin:/bin";
    env.push_back(path);
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "PATH=", 5) != 0)
            env.emplace_back(*e);
    return env;
}
} // namespace

void RunShellCommand(const std::string& command) {
    std::vector<std::string> env = EnvironmentWithOwnPath();
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    std::string commandCopy = command;
    char sh[] = "/bin/sh", dashC[] = "-c";
    char* argv[] = {sh, dashC, commandCopy.data(), nullptr};
    pid_t pid = -1;
    int rc = posix_spawn(&pid, "/bin/sh", &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return; // Nothing is read back, failures included: the tool reports its own.
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}
