// Prints how fast each kernel encodes in memory, without any file I/O, for
// random bytes, text, long runs and the inputs that are hardest on the run
// scan: lone 0x90 markers, all markers, and runs of three back to back or one
// byte apart, each run one stop of the scan: the ceiling for the program
// itself.
#include <binhex/binhex.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::byte> random_bytes(std::size_t size) {
    std::vector<std::byte> bytes(size);
    std::mt19937_64 generator(1);
    for (std::size_t i = 0; i < size; i += 8) {
        const std::uint64_t word = generator();
        std::memcpy(bytes.data() + i, &word, std::min<std::size_t>(8, size - i));
    }
    return bytes;
}

std::vector<std::byte> text_bytes(std::size_t size) {
    static const char* const kWords[] = {"the ",     "quick ",  "brown ", "fox ",   "jumps ",
                                         "over ",    "lazy ",   "dog ",   "and ",   "keeps ",
                                         "running ", "across ", "green ", "hills ", "\n"};
    std::vector<std::byte> bytes;
    bytes.reserve(size);
    std::mt19937 generator(2);
    while (bytes.size() < size) {
        const char* word = kWords[generator() % std::size(kWords)];
        for (const char* p = word; *p && bytes.size() < size; ++p) {
            bytes.push_back(static_cast<std::byte>(*p));
        }
    }
    return bytes;
}

std::vector<std::byte> run_bytes(std::size_t size) {
    std::vector<std::byte> bytes;
    bytes.reserve(size);
    std::mt19937 generator(3);
    while (bytes.size() < size) {
        const auto value = static_cast<std::byte>(generator());
        const std::size_t length = 100 + generator() % 4000;
        bytes.insert(bytes.end(), std::min(length, size - bytes.size()), value);
    }
    return bytes;
}

// Cycles through `pattern` until `size` bytes.
std::vector<std::byte> repeated_pattern(std::size_t size,
                                        std::initializer_list<std::uint8_t> pattern) {
    std::vector<std::byte> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::byte>(pattern.begin()[i % pattern.size()]);
    }
    return bytes;
}

// A figure for an encoding that stopped half-way would be meaningless.
void check(const binhex::Written& written) {
    if (written.status != binhex::Status::ok) {
        std::fprintf(stderr, "encoding failed: %s\n", binhex::status_message(written.status));
        std::exit(1);
    }
}

double encode_seconds(binhex::Kernel kernel, const std::vector<std::byte>& input,
                      std::vector<char>& output) {
    constexpr std::size_t kChunk = 256 * 1024;
    const auto start = std::chrono::steady_clock::now();
    binhex::Encoder encoder(kernel);
    binhex::FileInfo info;
    info.name = "bench";
    info.data_length = static_cast<std::uint32_t>(input.size());
    check(encoder.begin(info, output));
    for (std::size_t at = 0; at < input.size(); at += kChunk) {
        const std::size_t size = std::min(kChunk, input.size() - at);
        check(encoder.update(std::span(input).subspan(at, size), output));
    }
    check(encoder.end(output));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

// binhex_codec_throughput [MIB]: MIB mebibytes of each input, 64 by default.
int main(int argc, char** argv) {
    const long mib = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 64;
    if (argc > 2 || mib < 1 || mib > 4095) {
        std::fprintf(stderr, "usage: %s [MIB]   (1 to 4095, default 64)\n", argv[0]);
        return 2;
    }
    const auto size = static_cast<std::size_t>(mib) << 20;
    const std::pair<const char*, std::vector<std::byte>> inputs[] = {
        {"random", random_bytes(size)},
        {"text", text_bytes(size)},
        {"runs", run_bytes(size)},
        {"90 41", repeated_pattern(size, {0x90, 0x41})},
        {"all 90", repeated_pattern(size, {0x90})},
        {"runs of 3", repeated_pattern(size, {0x41, 0x41, 0x41, 0x42, 0x42, 0x42})},
        {"3 then 1", repeated_pattern(size, {0x41, 0x41, 0x41, 0x42})}};
    std::vector<char> output(binhex::Encoder::update_bound(256 * 1024));
    std::printf("%-8s %-9s %10s\n", "kernel", "input", "MB/s");
    for (const auto kernel : {binhex::Kernel::plain, binhex::Kernel::wide, binhex::Kernel::avx2}) {
        if (!binhex::kernel_available(kernel)) {
            std::printf("%-8s (not available on this processor)\n", binhex::kernel_name(kernel));
            continue;
        }
        for (const auto& [name, input] : inputs) {
            double best = 1e9;
            for (int round = 0; round < 3; ++round) {
                best = std::min(best, encode_seconds(kernel, input, output));
            }
            std::printf("%-8s %-9s %10.0f\n", binhex::kernel_name(kernel), name,
                        static_cast<double>(input.size()) / best / 1e6);
        }
    }
}
