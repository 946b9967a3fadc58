#include "arguments.h"
#include "cleanup_on_signal.h"
#include "encode_command.h"
#include "message.h"

#include <csignal>

#ifndef BINHEX_VERSION
#error "the build defines BINHEX_VERSION"
#endif

namespace {

constexpr char kHelp[] =
    "Usage: binhex encode FILE [-C DIR]\n"
    "       binhex --help | --version\n"
    "\n"
    "Encodes FILE as BinHex 4.0 into FILE.hqx beside it, or into DIR with -C.\n"
    "The argument after 'encode' is always FILE and the one after -C always DIR,\n"
    "even when they begin with '-'.\n"
    "\n"
    "An existing file is never replaced: the first free name of \"FILE.hqx\",\n"
    "\"FILE 2.hqx\", \"FILE 3.hqx\", ... is taken. The .hqx gets its name only once\n"
    "it is complete and on disk. A name too long for the folder is shortened\n"
    "before its extension to fit. The resource fork and the Finder information\n"
    "come from an AppleDouble companion \"._FILE\" beside FILE when there is one.\n"
    "\n"
    "On success the path of the new .hqx is printed on standard output; when it\n"
    "cannot be, the new .hqx is removed again and that is a failure.\n"
    "A failure prints one line \"binhex: FILE: reason\" on standard error, with\n"
    "control characters in FILE shown as \\n, \\t or \\xHH, '\\' as \\\\ and an\n"
    "empty FILE as ''.\n"
    "\n"
    "Exit status: 0 on success, 1 when FILE could not be encoded or standard\n"
    "output could not be written, 2 for a usage error.\n";

int show(const char* text) {
    using namespace binhex::cli;
    if (const int error = print_result(text)) {
        print_error(result_error(error));
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace

int main(int argc, char** argv) {
    using namespace binhex::cli;
    // A file size limit must show as a failed write, not kill us mid-file.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    install_cleanup_handlers();

    const Command command =
        parse_arguments(std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1)));
    if (const auto* usage = std::get_if<UsageError>(&command)) {
        print_error(usage->message);
        return kExitUsage;
    }
    if (std::holds_alternative<ShowHelp>(command)) {
        return show(kHelp);
    }
    if (std::holds_alternative<ShowVersion>(command)) {
        return show("binhex " BINHEX_VERSION "\n");
    }
    return run_encode(std::get<EncodeRequest>(command));
}
