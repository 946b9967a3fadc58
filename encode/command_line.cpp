#include "command_line.h"

#include "runtime/process.h"

std::string BatchEncodeCommand(const std::string& fileShellPath,
                               const std::string& destinationShellPath) {
    return RuntimeAddString(
        RuntimeAddString(RuntimeAddString("binhex encode ", fileShellPath), " -C "),
        destinationShellPath);
}

std::string DropEncodeCommand(const std::string& nativePath) {
    std::string escaped;
    escaped.reserve(nativePath.size());
    for (char c : nativePath) {
        if (c == '"' || c == '$' || c == '`' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return RuntimeAddString(RuntimeAddString("binhex encode \"", escaped), "\"");
}
