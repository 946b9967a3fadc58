#include "arguments.h"

#include <string_view>

namespace binhex::cli {

Command parse_arguments(std::span<const char* const> args) {
    if (args.empty()) {
        return UsageError{"missing command (try 'binhex --help')"};
    }
    const std::string_view command = args[0];
    if (command == "--help" || command == "-h") {
        if (args.size() > 1) {
            return UsageError{"--help takes no arguments"};
        }
        return ShowHelp{};
    }
    if (command == "--version") {
        if (args.size() > 1) {
            return UsageError{"--version takes no arguments"};
        }
        return ShowVersion{};
    }
    if (command != "encode") {
        return UsageError{"unknown command '" + std::string(command) + "' (try 'binhex --help')"};
    }
    if (args.size() < 2) {
        return UsageError{"missing FILE after 'encode'"};
    }
    EncodeRequest request{args[1], std::nullopt};
    if (args.size() == 2) {
        return request;
    }
    if (std::string_view(args[2]) != "-C") {
        return UsageError{"unexpected argument after FILE (only -C DIR may follow)"};
    }
    if (args.size() < 4) {
        return UsageError{"missing DIR after -C"};
    }
    if (args.size() > 4) {
        return UsageError{"unexpected argument after -C DIR"};
    }
    request.directory = args[3];
    return request;
}

} // namespace binhex::cli
