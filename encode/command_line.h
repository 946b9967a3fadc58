#pragma once
// The command lines handed to the binhex tool.

#include <string>

// "binhex encode " + file + " -C " + destination, both already quoted for
// the shell (FolderItem::ShellPath).
std::string BatchEncodeCommand(const std::string& fileShellPath,
                               const std::string& destinationShellPath);

// "binhex encode \"PATH\"". Inside double quotes the shell still gives
// meaning to ", $, ` and \, so each of them is escaped with a backslash:
// any path reaches the tool as one literal argument, and a path without
// them is quoted exactly as it stands.
std::string DropEncodeCommand(const std::string& nativePath);
