// The command line, read strictly by position: the argument after `encode` is
// always the file and the one after `-C` always the directory, whatever they
// look like, so that any name the caller passes is taken literally.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <variant>

namespace binhex::cli {

struct ShowHelp {};
struct ShowVersion {};
struct EncodeRequest {
    std::string file;
    std::optional<std::string> directory;
};
struct UsageError {
    std::string message;
};

using Command = std::variant<ShowHelp, ShowVersion, EncodeRequest, UsageError>;

// `args` are the arguments after the program name.
Command parse_arguments(std::span<const char* const> args);

} // namespace binhex::cli
