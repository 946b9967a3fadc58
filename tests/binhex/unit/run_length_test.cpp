// The run-length stage on its own: a table of inputs and the bytes they must
// become, through every kernel's scanning loops and at every way of cutting
// the input into chunks.
#include "kernel_ops.h"
#include "run_length.h"

#include "encode_helpers.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace binhex::detail {
namespace {

using test::Bytes;

// Each call gets a buffer of exactly the room it may use, so that the address
// sanitizer catches a kernel writing past it.
Bytes encode_in_chunks(const KernelOps& ops, const Bytes& input, std::size_t chunk) {
    Bytes packed;
    PendingRun run;
    for (std::size_t at = 0; at < input.size(); at += chunk) {
        const std::size_t size = std::min(chunk, input.size() - at);
        Bytes room(2 * size + kPieceMax);
        std::uint8_t* end = ops.run_length_encode(run, input.data() + at, size, room.data());
        packed.insert(packed.end(), room.data(), end);
    }
    Bytes room(kPieceMax);
    std::uint8_t* end = run_length_flush(run, room.data());
    packed.insert(packed.end(), room.data(), end);
    return packed;
}

// The stage as the format defines it, one byte at a time over the whole
// input, written apart from the encoder: each longest stretch of equal bytes
// is cut into pieces of 255 from its start; a piece of three or more is the
// byte, the marker and the count, a shorter one stays literal; a literal
// marker is followed by 00.
Bytes packed_by_definition(const Bytes& input) {
    Bytes packed;
    const auto literal = [&](std::uint8_t byte) {
        packed.push_back(byte);
        if (byte == 0x90) {
            packed.push_back(0x00);
        }
    };
    for (std::size_t i = 0; i < input.size();) {
        std::size_t end = i;
        while (end < input.size() && input[end] == input[i]) {
            ++end;
        }
        for (std::size_t left = end - i; left > 0;) {
            const std::size_t piece = std::min<std::size_t>(left, 255);
            literal(input[i]);
            if (piece >= 3) {
                packed.push_back(0x90);
                packed.push_back(static_cast<std::uint8_t>(piece));
            } else if (piece == 2) {
                literal(input[i]);
            }
            left -= piece;
        }
        i = end;
    }
    return packed;
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
    std::string what;
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

// The reference the tables below are checked against agrees with the known
// answers.
TEST(RunLengthDefinition, GivesTheKnownAnswers) {
    for (const auto& c : run_cases()) {
        EXPECT_EQ(packed_by_definition(c.input), c.expected) << c.what;
    }
}

Bytes varied(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 2 + 1);
    }
    return bytes;
}

// Inputs thick with the marker, where the stage does the most work per byte.
// Each sits behind stretches of varied bytes of every length up to past one
// window of the scan, so that its markers and runs fall at every offset in a
// window.
std::vector<RunCase> marker_cases() {
    std::vector<std::pair<std::string, Bytes>> shapes;
    Bytes alternating;
    for (int i = 0; i < 300; ++i) {
        alternating.insert(alternating.end(), {0x90, 0x41});
    }
    shapes.emplace_back("90 41 alternating", alternating);
    shapes.emplace_back("41 90 alternating, ending in a marker",
                        concat({{0x41}, alternating, {0x41, 0x90}}));
    for (const std::size_t length : {1u, 2u, 3u, 4u, 63u, 64u, 65u, 254u, 255u, 256u, 300u}) {
        shapes.emplace_back("all markers, " + std::to_string(length), repeat(0x90, length));
    }
    Bytes growing; // a marker, then runs of markers of every length, apart
    for (std::size_t length = 1; length <= 70; ++length) {
        growing.insert(growing.end(), {0x41, 0x90, 0x42});
        growing.insert(growing.end(), length, 0x90);
    }
    shapes.emplace_back("a marker, then runs of markers of lengths 1 to 70", growing);
    Bytes beside; // runs of the bytes before and after lone markers and pairs
    for (std::size_t before = 0; before <= 5; ++before) {
        for (std::size_t after = 0; after <= 5; ++after) {
            for (std::size_t markers = 1; markers <= 2; ++markers) {
                beside.insert(beside.end(), before, 0x8F);
                beside.insert(beside.end(), markers, 0x90);
                beside.insert(beside.end(), after, 0x91);
                beside.insert(beside.end(), before, 0x41);
                beside.insert(beside.end(), markers, 0x90);
                beside.insert(beside.end(), after, 0x41);
            }
        }
    }
    shapes.emplace_back("runs of the bytes before and after markers", beside);
    Bytes short_runs; // runs of three to five, back to back or one byte apart
    for (int i = 0; i < 100; ++i) {
        const auto byte = static_cast<std::uint8_t>(i % 2 == 0 ? 0x90 : i);
        short_runs.insert(short_runs.end(), 3 + i % 3, byte);
        if (i % 4 == 0) {
            short_runs.push_back(0x90);
        }
    }
    shapes.emplace_back("short runs of markers and others", short_runs);
    shapes.emplace_back("a run of markers at the end", concat({varied(10), repeat(0x90, 3)}));

    std::vector<RunCase> cases;
    for (const auto& [what, shape] : shapes) {
        for (const std::size_t lead : {0u, 1u, 2u, 31u, 32u, 33u, 61u, 62u, 63u, 64u, 65u, 66u}) {
            const Bytes input = concat({varied(lead), shape});
            cases.push_back({what + " after " + std::to_string(lead) + " varied bytes", input,
                             packed_by_definition(input)});
        }
    }
    return cases;
}

// Against the definition, in one chunk and in chunks that put the ends of
// chunks at every place in the input's runs and windows.
TEST_P(RunLengthKernels, MarkerHeavyInputsMatchTheDefinition) {
    for (const auto& c : marker_cases()) {
        for (const std::size_t chunk :
             {std::max<std::size_t>(c.input.size(), 1), std::size_t{1}, std::size_t{2},
              std::size_t{3}, std::size_t{7}, std::size_t{64}, std::size_t{65}, std::size_t{66},
              std::size_t{97}, std::size_t{128}, std::size_t{129}, std::size_t{255},
              std::size_t{256}}) {
            ASSERT_EQ(encode_in_chunks(ops(), c.input, chunk), c.expected)
                << c.what << ", chunks of " << chunk;
        }
    }
}

// Markers and runs of every length from 1 to 300 behind every lead-in length
// around a window, against the definition, whole and cut where the run is.
TEST_P(RunLengthKernels, RunsOfEveryLengthMatchTheDefinition) {
    for (const std::uint8_t byte : {std::uint8_t{0x90}, std::uint8_t{0x41}}) {
        for (std::size_t length = 1; length <= 300; ++length) {
            for (const std::size_t lead : {0u, 1u, 62u, 63u, 64u, 65u}) {
                const Bytes input = concat({varied(lead), repeat(byte, length), {0x90, 0x42}});
                const Bytes expected = packed_by_definition(input);
                for (const std::size_t chunk :
                     {input.size(), lead + 1, lead + length, lead + length + 1, std::size_t{70}}) {
                    ASSERT_EQ(encode_in_chunks(ops(), input, chunk), expected)
                        << "a run of " << length << " of " << int{byte} << " after " << lead
                        << ", chunks of " << chunk;
                }
            }
        }
    }
}

// Random mixes of short runs, lone markers and pairs, at lengths that span
// several windows.
TEST_P(RunLengthKernels, ShortRunsAndMarkersMatchTheDefinition) {
    std::mt19937 generator(12);
    for (int round = 0; round < 300; ++round) {
        Bytes input;
        const std::size_t size = 1 + generator() % 400;
        while (input.size() < size) {
            const unsigned kind = generator() % 4;
            const auto value = static_cast<std::uint8_t>(kind == 0 ? 0x90 : 0x40 + generator() % 3);
            input.insert(input.end(), 1 + generator() % (kind == 3 ? 70 : 4), value);
        }
        const Bytes expected = packed_by_definition(input);
        ASSERT_EQ(encode_in_chunks(ops(), input, input.size()), expected) << "round " << round;
        ASSERT_EQ(encode_in_chunks(ops(), input, 1 + generator() % 200), expected)
            << "round " << round;
    }
}

TEST_P(RunLengthKernels, FindRunStopsAtTriplesOnly) {
    for (std::size_t size = 1; size <= 80; ++size) {
        for (std::size_t at = 0; at < size; ++at) {
            Bytes bytes = varied(size);
            bytes[at] = 0x90;
            ASSERT_EQ(ops().find_run(bytes.data(), size), size) << "a lone marker, " << size;
            if (at + 2 < size) {
                bytes[at + 1] = 0x90;
                ASSERT_EQ(ops().find_run(bytes.data(), size), size) << "a pair, " << size;
                bytes[at] = bytes[at + 1] = bytes[at + 2] = 0x42;
                ASSERT_EQ(ops().find_run(bytes.data(), size), at) << size << "/" << at;
            } else if (at + 2 == size) {
                // Only two of the three inside the range.
                bytes[at] = bytes[at + 1] = 0x42;
                ASSERT_EQ(ops().find_run(bytes.data(), size), size) << size << "/" << at;
            }
            const Bytes same(size, 0x37);
            Bytes cut = same;
            cut[at] = 0x38;
            ASSERT_EQ(ops().count_equal(cut.data(), size, 0x37), at);
            ASSERT_EQ(ops().count_equal(same.data(), size, 0x37), size);
        }
    }
}

// Every pattern of markers in every length, with the kernel's copy in a buffer
// of exactly the room it may use.
TEST_P(RunLengthKernels, EscapeMarkersDoublesEachMarkerOnly) {
    std::mt19937 generator(13);
    for (std::size_t size = 0; size <= 100; ++size) {
        for (int round = 0; round < 40; ++round) {
            Bytes bytes(size);
            const unsigned density = round % 4; // none, some, most, all markers
            for (auto& b : bytes) {
                const bool marker = density == 3 || (density > 0 && generator() % 4 < density);
                b = marker ? 0x90 : static_cast<std::uint8_t>(generator());
                if (!marker && b == 0x90) {
                    b = 0x91;
                }
            }
            Bytes expected;
            for (const auto b : bytes) {
                expected.push_back(b);
                if (b == 0x90) {
                    expected.push_back(0x00);
                }
            }
            Bytes room(2 * size);
            std::uint8_t* end = ops().escape_markers(bytes.data(), size, room.data());
            ASSERT_EQ(Bytes(room.data(), end), expected) << size << ", round " << round;
        }
    }
}

TEST_P(RunLengthKernels, EqualNextFlagsEveryEqualNeighbour) {
    std::mt19937 generator(14);
    for (int round = 0; round < 2000; ++round) {
        Bytes bytes(65);
        for (auto& b : bytes) {
            b = static_cast<std::uint8_t>(generator() % (round % 2 == 0 ? 2 : 256));
        }
        if (round % 3 == 0) {
            bytes[generator() % 65] ^= 0x80; // equal in the low bits only
        }
        std::uint64_t expected = 0;
        for (unsigned j = 0; j < 64; ++j) {
            expected |= std::uint64_t{bytes[j] == bytes[j + 1]} << j;
        }
        ASSERT_EQ(ops().equal_next(bytes.data()), expected) << "round " << round;
    }
    const Bytes same(65, 0x90);
    EXPECT_EQ(ops().equal_next(same.data()), ~std::uint64_t{0});
    const Bytes none = varied(65);
    EXPECT_EQ(ops().equal_next(none.data()), 0u);
}

INSTANTIATE_TEST_SUITE_P(AllKernels, RunLengthKernels,
                         ::testing::Values(Kernel::plain, Kernel::wide, Kernel::avx2),
                         [](const ::testing::TestParamInfo<Kernel>& p) {
                             return kernel_name(p.param);
                         });

} // namespace
} // namespace binhex::detail
