// The run-length stage on its own: a table of inputs and the bytes they must
// become, through every kernel's scanning loops and at every way of cutting
// the input into chunks.
#include "kernel_ops.h"
#include "run_length.h"

#include "encode_helpers.h"

#include <gtest/gtest.h>

namespace binhex::detail {
namespace {

using test::Bytes;

struct VectorSink {
    Bytes bytes;
    void put(const std::uint8_t* data, std::size_t size) {
        bytes.insert(bytes.end(), data, data + size);
    }
};

Bytes encode_in_chunks(const KernelOps& ops, const Bytes& input, std::size_t chunk) {
    VectorSink sink;
    PendingRun run;
    for (std::size_t at = 0; at < input.size(); at += chunk) {
        const std::size_t size = std::min(chunk, input.size() - at);
        run_length_encode(ops, run, input.data() + at, size, sink);
    }
    run_length_flush(run, sink);
    return sink.bytes;
}

Bytes repeat(std::uint8_t byte, std::size_t count) {
    return Bytes(count, byte);
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

struct RunCase {
    const char* what;
    Bytes input;
    Bytes expected;
};

std::vector<RunCase> run_cases() {
    return {
        {"empty", {}, {}},
        {"no runs", {0x00, 0x11, 0x22, 0x33}, {0x00, 0x11, 0x22, 0x33}},
        {"a pair stays literal", {0x11, 0x22, 0x22, 0x33}, {0x11, 0x22, 0x22, 0x33}},
        {"three make a run", {0x11, 0x22, 0x22, 0x22, 0x33}, {0x11, 0x22, 0x90, 0x03, 0x33}},
        {"six as in the published example",
         {0x11, 0x22, 0x22, 0x22, 0x22, 0x22, 0x22, 0x33},
         {0x11, 0x22, 0x90, 0x06, 0x33}},
        {"a literal marker", {0x11, 0x22, 0x90, 0x33, 0x44}, {0x11, 0x22, 0x90, 0x00, 0x33, 0x44}},
        {"a lone marker", {0x90}, {0x90, 0x00}},
        {"two markers", {0x90, 0x90}, {0x90, 0x00, 0x90, 0x00}},
        {"a run of markers", repeat(0x90, 5), {0x90, 0x00, 0x90, 0x05}},
        {"a run at the very start", repeat(0x41, 4), {0x41, 0x90, 0x04}},
        {"a count equal to the marker", repeat(0x41, 0x90), {0x41, 0x90, 0x90}},
        {"255 is the longest piece", repeat(0x41, 255), {0x41, 0x90, 0xFF}},
        {"256 needs a second piece", repeat(0x41, 256), {0x41, 0x90, 0xFF, 0x41}},
        {"257 ends in a pair", repeat(0x41, 257), {0x41, 0x90, 0xFF, 0x41, 0x41}},
        {"258 ends in a run of three", repeat(0x41, 258), {0x41, 0x90, 0xFF, 0x41, 0x90, 0x03}},
        {"1000 in four pieces",
         repeat(0x00, 1000),
         {0x00, 0x90, 0xFF, 0x00, 0x90, 0xFF, 0x00, 0x90, 0xFF, 0x00, 0x90, 0xEB}},
        {"300 markers", repeat(0x90, 300), {0x90, 0x00, 0x90, 0xFF, 0x90, 0x00, 0x90, 0x2D}},
        {"runs back to back",
         concat({repeat(0x01, 3), repeat(0x02, 4), repeat(0x90, 3)}),
         {0x01, 0x90, 0x03, 0x02, 0x90, 0x04, 0x90, 0x00, 0x90, 0x03}},
        {"a run ending the input after literals",
         concat({{0x05, 0x06}, repeat(0x07, 3)}),
         {0x05, 0x06, 0x07, 0x90, 0x03}},
    };
}

class RunLengthKernels : public ::testing::TestWithParam<Kernel> {
  protected:
    void SetUp() override {
        if (!kernel_available(GetParam())) {
            GTEST_SKIP() << kernel_name(GetParam()) << " needs instructions this processor lacks";
        }
    }
    const KernelOps& ops() const { return kernel_ops(GetParam()); }
};

TEST_P(RunLengthKernels, KnownAnswers) {
    for (const auto& c : run_cases()) {
        EXPECT_EQ(encode_in_chunks(ops(), c.input, std::max<std::size_t>(c.input.size(), 1)),
                  c.expected)
            << c.what;
    }
}

TEST_P(RunLengthKernels, SameBytesWhateverTheChunks) {
    for (const auto& c : run_cases()) {
        for (std::size_t chunk = 1; chunk <= c.input.size(); ++chunk) {
            ASSERT_EQ(encode_in_chunks(ops(), c.input, chunk), c.expected)
                << c.what << ", chunks of " << chunk;
        }
    }
}

// Long stretches around the scanning loops' step sizes, with runs and markers
// at every offset, against the byte-at-a-time reference.
TEST_P(RunLengthKernels, MatchesThePlainKernelOnMixedData) {
    std::mt19937 generator(11);
    for (int round = 0; round < 200; ++round) {
        Bytes input;
        while (input.size() < 700) {
            const unsigned kind = generator() % 4;
            const auto value = static_cast<std::uint8_t>(kind == 3 ? 0x90 : generator());
            const std::size_t length = kind == 0 ? 1 + generator() % 300 : 1 + generator() % 3;
            input.insert(input.end(), length, value);
        }
        const Bytes expected = encode_in_chunks(plain_kernel_ops(), input, input.size());
        ASSERT_EQ(encode_in_chunks(ops(), input, input.size()), expected) << "round " << round;
        ASSERT_EQ(encode_in_chunks(ops(), input, 1 + generator() % 97), expected)
            << "round " << round;
    }
}

TEST_P(RunLengthKernels, ScannersFindTheFirstStopAtEveryPosition) {
    for (std::size_t size = 1; size <= 80; ++size) {
        for (std::size_t at = 0; at < size; ++at) {
            Bytes bytes(size);
            for (std::size_t i = 0; i < size; ++i) {
                bytes[i] = static_cast<std::uint8_t>(i * 2 + 1);
            }
            bytes[at] = 0x90;
            ASSERT_EQ(ops().find_run_or_marker(bytes.data(), size), at) << size << "/" << at;
            if (at + 3 <= size) {
                bytes[at] = bytes[at + 1] = bytes[at + 2] = 0x42;
                ASSERT_EQ(ops().find_run_or_marker(bytes.data(), size), at) << size << "/" << at;
            }
            const Bytes same(size, 0x37);
            Bytes cut = same;
            cut[at] = 0x38;
            ASSERT_EQ(ops().count_equal(cut.data(), size, 0x37), at);
            ASSERT_EQ(ops().count_equal(same.data(), size, 0x37), size);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllKernels, RunLengthKernels,
                         ::testing::Values(Kernel::plain, Kernel::wide, Kernel::avx2),
                         [](const ::testing::TestParamInfo<Kernel>& p) {
                             return kernel_name(p.param);
                         });

} // namespace
} // namespace binhex::detail
