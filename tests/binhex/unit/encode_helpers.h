// Shared by the encoder tests: whole-stream encoding with any chunk size, and
// a reading of the text back into its lines.
#pragma once

#include <binhex/binhex.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace binhex::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes random_bytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 generator(seed);
    Bytes bytes(size);
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(generator());
    }
    return bytes;
}

inline FileInfo info_for(std::string_view name, const Bytes& data, const Bytes& resource = {}) {
    FileInfo info;
    info.name = name;
    info.data_length = static_cast<std::uint32_t>(data.size());
    info.resource_length = static_cast<std::uint32_t>(resource.size());
    return info;
}

// Encodes data then resource in chunks of `chunk` bytes (the whole of both
// forks in one call when 0). Fails the calling test on any status but ok.
inline std::string encode(const FileInfo& info, const Bytes& data, const Bytes& resource,
                          Kernel kernel = Kernel::automatic, std::size_t chunk = 0) {
    Bytes forks = data;
    forks.insert(forks.end(), resource.begin(), resource.end());
    if (chunk == 0) {
        chunk = std::max<std::size_t>(forks.size(), 1);
    }
    Encoder encoder(kernel);
    std::string text;
    std::vector<char> out(Encoder::update_bound(chunk) + Encoder::kBeginBound);
    Written w = encoder.begin(info, out);
    EXPECT_EQ(w.status, Status::ok);
    text.append(out.data(), w.size);
    for (std::size_t at = 0; at < forks.size(); at += chunk) {
        const std::size_t size = std::min(chunk, forks.size() - at);
        w = encoder.update(std::as_bytes(std::span(forks).subspan(at, size)), out);
        EXPECT_EQ(w.status, Status::ok);
        text.append(out.data(), w.size);
    }
    w = encoder.end(out);
    EXPECT_EQ(w.status, Status::ok);
    text.append(out.data(), w.size);
    return text;
}

inline std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Reads the run-length coded bytes back out of the characters between the
// colons. Deliberately naive, for checking fields.
inline Bytes packed_stream(const std::string& text) {
    static constexpr std::string_view kAlphabet =
        "!\"#$%&'()*+,-012345689@ABCDEFGHIJKLMNPQRSTUVXYZ[`abcdefhijklmpqr";
    const std::size_t open = text.find("\n:");
    Bytes packed;
    unsigned bits = 0;
    int count = 0;
    for (std::size_t i = open + 2; i < text.size() && text[i] != ':'; ++i) {
        if (text[i] == '\n') {
            continue;
        }
        bits = (bits << 6) | static_cast<unsigned>(kAlphabet.find(text[i]));
        count += 6;
        if (count >= 8) {
            count -= 8;
            packed.push_back(static_cast<std::uint8_t>(bits >> count));
        }
    }
    return packed;
}

// The 8-bit stream: packed_stream() with its runs expanded.
inline Bytes decode_stream(const std::string& text) {
    const Bytes packed = packed_stream(text);
    Bytes bytes;
    for (std::size_t i = 0; i < packed.size(); ++i) {
        if (packed[i] != 0x90) {
            bytes.push_back(packed[i]);
        } else if (packed.at(i + 1) == 0) {
            bytes.push_back(0x90);
            ++i;
        } else {
            bytes.insert(bytes.end(), packed[i + 1] - 1u, bytes.back());
            ++i;
        }
    }
    return bytes;
}

} // namespace binhex::test
