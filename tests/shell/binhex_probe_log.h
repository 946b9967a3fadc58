#pragma once
// Reads back what the stand-in binhex (binhex_probe.c) recorded: one vector
// of arguments per run, in the order the runs happened.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::vector<std::vector<std::string>> ReadProbeLog(const std::filesystem::path& log) {
    std::ifstream in(log, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::vector<std::string>> runs;
    std::size_t pos = 0;
    while (pos < data.size()) {
        std::size_t nl = data.find('\n', pos);
        int count = std::stoi(data.substr(pos, nl - pos));
        pos = nl + 1;
        std::vector<std::string> args;
        for (int i = 0; i < count; ++i) {
            std::size_t colon = data.find(':', pos);
            std::size_t len = std::stoul(data.substr(pos, colon - pos));
            args.push_back(data.substr(colon + 1, len));
            pos = colon + 1 + len;
        }
        runs.push_back(args);
    }
    return runs;
}
