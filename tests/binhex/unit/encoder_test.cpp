// The whole stream: known answers, the shape of the lines, the streaming
// invariant and the encoder's answers to calls out of turn.
#include "encode_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace binhex::test {
namespace {

constexpr std::string_view kIntroduction = "(This file must be converted with BinHex 4.0)";

Bytes bytes_of(std::string_view text) {
    return {text.begin(), text.end()};
}

// Whole streams for small files as the program writes them, each checked when
// it was recorded by decoding it with macutils' hexbin, Convert::BinHex and
// uudeview. (macutils' own encoder leaves the header and the CRCs out of the
// run-length stage, so its streams differ in those bytes.)
struct KnownStream {
    const char* name;
    Bytes data;
    std::string encoded;
};

TEST(Encoder, KnownAnswers) {
    Bytes runs(300, 'x');
    runs.insert(runs.end(), 5, 0x90);
    for (const auto b : bytes_of("ab\x90\x90"
                                 "c")) {
        runs.push_back(b);
    }
    // Lone markers, a pair, a run of 70 markers, a run of another byte
    // beside a marker, a run of three markers, and a marker last.
    Bytes markers = {0x90, 'A', 0x90, 'A', 0x90, 0x90, 'A'};
    markers.insert(markers.end(), 70, 0x90);
    for (const auto b : bytes_of("AAA\x90\x90\x90\x90"
                                 "B\x90")) {
        markers.push_back(b);
    }
    const KnownStream cases[] = {
        {"hello.txt", bytes_of("hello world\n"),
         ":#@KPE'a[,R4iG!#3$J`!N!3(&fKPE'a[)(G[FQaN#X*b!!!:"},
        {"one", bytes_of("A"), ":!fpZC3#3$J%!N!4i5%&Bj3!!:"},
        {"empty", {}, ":\"@9YF(4j!*!6&\"!!N!3:"},
        {"runs", runs, ":\"(*eER-!N!d\"0J#3\"*!!1hL3rhL3,C!!N!9KBT!!N!\"M0YX!!!:"},
        {"markers", markers, ":\"feKFQYPFR-!N!j@!*!%3cb3!%'3!%'3!*!!3C!!N%C\"N!13!*!%3T!!\"aN!!!:"},
    };
    for (const auto& c : cases) {
        const std::string text = encode(info_for(c.name, c.data), c.data, {});
        EXPECT_EQ(text, std::string(kIntroduction) + "\n\n" + c.encoded + "\n") << c.name;
    }
}

std::uint16_t crc_of(const Bytes& bytes, std::size_t from, std::size_t to) {
    std::uint32_t crc = 0;
    for (std::size_t i = from; i < to; ++i) {
        crc ^= std::uint32_t{bytes[i]} << 8;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x8000) ? ((crc << 1) ^ 0x1021) & 0xFFFF : (crc << 1) & 0xFFFF;
        }
    }
    return static_cast<std::uint16_t>(crc);
}

std::uint16_t be16(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

TEST(Encoder, LaysOutTheHeaderForksAndCrcs) {
    FileInfo info;
    info.name = "Ab";
    info.type = {'a', 'p', 'p', 'l'};
    info.creator = {'d', 'e', 'm', 'o'};
    info.finder_flags = 0xFFFF;
    const Bytes data = bytes_of("data fork");
    const Bytes resource = bytes_of("rsrc");
    info.data_length = static_cast<std::uint32_t>(data.size());
    info.resource_length = static_cast<std::uint32_t>(resource.size());
    const Bytes stream = decode_stream(encode(info, data, resource));

    const Bytes header = {2,   'A',  'b',  0, 'a', 'p', 'p', 'l', 'd', 'e', 'm',
                          'o', 0xF8, 0x00, 0, 0,   0,   9,   0,   0,   0,   4};
    ASSERT_EQ(stream.size(), header.size() + 2 + data.size() + 2 + resource.size() + 2);
    EXPECT_EQ(Bytes(stream.begin(), stream.begin() + 22), header)
        << "the flags keep only the bits 0xF800";
    EXPECT_EQ(be16(stream, 22), crc_of(stream, 0, 22));
    EXPECT_EQ(Bytes(stream.begin() + 24, stream.begin() + 33), data);
    EXPECT_EQ(be16(stream, 33), crc_of(stream, 24, 33));
    EXPECT_EQ(Bytes(stream.begin() + 35, stream.begin() + 39), resource);
    EXPECT_EQ(be16(stream, 39), crc_of(stream, 35, 39));
}

TEST(Encoder, EmptyForksStillGetTheirCrcs) {
    const Bytes stream = decode_stream(encode(info_for("e", {}), {}, {}));
    ASSERT_EQ(stream.size(), 1u + 1 + 1 + 4 + 4 + 2 + 4 + 4 + 2 + 2 + 2);
    EXPECT_EQ(be16(stream, stream.size() - 4), 0);
    EXPECT_EQ(be16(stream, stream.size() - 2), 0);
}

// The run-length stage covers the whole stream: a run goes on from the header
// into the data fork and from a fork into its CRC. The round trips that put
// runs at those places rely on this to reach the decoders' handling of them.
TEST(Encoder, RunsCarryOnAcrossThePartsOfTheStream) {
    const auto contains = [](const Bytes& stream, const Bytes& part) {
        return std::search(stream.begin(), stream.end(), part.begin(), part.end()) != stream.end();
    };
    // The header's CRC depends on the fork lengths only.
    const Bytes probe(300, 0x00);
    const Bytes stream = decode_stream(encode(info_for("runs", probe), probe, {}));
    const std::uint8_t crc_high = stream[24];
    const std::uint8_t crc_low = stream[25];
    ASSERT_NE(crc_high, crc_low);
    ASSERT_NE(crc_low, 0x90);
    const Bytes data(300, crc_low);
    const Bytes packed = packed_stream(encode(info_for("runs", data), data, {}));
    EXPECT_TRUE(contains(packed, {crc_high, crc_low, 0x90, 0xFF, crc_low, 0x90, 46}))
        << "the header's last byte and the 300 that follow are one run of 301";

    // Empty forks have CRCs of zero: four zero bytes end the stream as one run.
    const std::string empty = encode(info_for("e", {}), {}, {});
    ASSERT_NE(decode_stream(empty)[22], 0x00) << "the header's CRC must not end in zero here";
    const Bytes empty_packed = packed_stream(empty);
    EXPECT_EQ(Bytes(empty_packed.end() - 3, empty_packed.end()), Bytes({0x00, 0x90, 0x04}));
}

// Lines are 64 characters, the opening colon counting on the first; the last
// may be shorter, and when the data fills it exactly the closing colon goes on
// as its 65th character rather than alone on a line.
TEST(Encoder, BreaksLinesEverySixtyFourCharacters) {
    bool saw_full_last_line = false;
    for (std::size_t size = 0; size < 400; ++size) {
        const Bytes data = random_bytes(size, static_cast<std::uint32_t>(size));
        const auto lines = lines_of(encode(info_for("f", data), data, {}));
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[0], kIntroduction);
        EXPECT_EQ(lines[1], "");
        EXPECT_EQ(lines[2][0], ':');
        for (std::size_t i = 2; i + 1 < lines.size(); ++i) {
            ASSERT_EQ(lines[i].size(), 64u) << "size " << size << ", line " << i;
        }
        const std::string& last = lines.back();
        ASSERT_EQ(last.back(), ':');
        ASSERT_GE(last.size(), 2u);
        ASSERT_LE(last.size(), 65u);
        if (last.size() == 65) {
            saw_full_last_line = true;
        }
        EXPECT_EQ(last.find(':'), lines.size() == 3 ? 0u : last.size() - 1);
    }
    EXPECT_TRUE(saw_full_last_line) << "no size in the range filled the last line exactly";
}

// Whatever the chunk sizes, the stream is the same bytes as the one-shot one.
class Streaming : public ::testing::TestWithParam<Kernel> {
  protected:
    void SetUp() override {
        if (!kernel_available(GetParam())) {
            GTEST_SKIP() << kernel_name(GetParam()) << " needs instructions this processor lacks";
        }
    }
};

Bytes mixed_bytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 generator(seed);
    Bytes bytes;
    while (bytes.size() < size) {
        const unsigned kind = generator() % 5;
        const auto value = static_cast<std::uint8_t>(kind == 4 ? 0x90 : generator());
        const std::size_t length = kind < 2 ? 1 : 1 + generator() % (kind == 2 ? 4 : 600);
        bytes.insert(bytes.end(), std::min(length, size - bytes.size()), value);
    }
    return bytes;
}

// Lone markers, pairs and short runs of them and of other bytes, the input
// the run-length stage works hardest on.
Bytes marker_heavy_bytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 generator(seed);
    Bytes bytes;
    while (bytes.size() < size) {
        const unsigned kind = generator() % 4;
        if (kind == 0) {
            bytes.insert(bytes.end(), {0x90, 0x41});
        } else {
            const auto value = static_cast<std::uint8_t>(kind == 1 ? 0x41 : 0x90);
            bytes.insert(bytes.end(), 1 + generator() % 6, value);
        }
    }
    bytes.resize(size);
    return bytes;
}

Bytes alternating_bytes(std::size_t size, std::uint8_t first, std::uint8_t second) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = i % 2 == 0 ? first : second;
    }
    return bytes;
}

TEST_P(Streaming, EveryChunkSizeGivesTheOneShotStream) {
    const std::pair<Bytes, Bytes> forks[] = {
        {mixed_bytes(3000, 21), mixed_bytes(700, 22)},
        {marker_heavy_bytes(3000, 23), alternating_bytes(701, 0x90, 0x41)}};
    for (const auto& [data, resource] : forks) {
        const FileInfo info = info_for("stream", data, resource);
        const std::string whole = encode(info, data, resource, Kernel::plain);
        for (std::size_t chunk = 1; chunk <= 160; ++chunk) {
            ASSERT_EQ(encode(info, data, resource, GetParam(), chunk), whole)
                << "chunks of " << chunk;
        }
        for (const std::size_t chunk : {255u, 256u, 1000u, 4095u, 4096u, 16383u, 16384u, 16385u}) {
            ASSERT_EQ(encode(info, data, resource, GetParam(), chunk), whole)
                << "chunks of " << chunk;
        }
    }
}

TEST_P(Streaming, LargeInputsMatchThePlainKernel) {
    const Bytes inputs[] = {random_bytes(200000, 31),
                            mixed_bytes(200000, 32),
                            Bytes(100000, 0x90),
                            Bytes(100000, 0x00),
                            alternating_bytes(100001, 0x90, 0x41),
                            marker_heavy_bytes(200000, 33)};
    for (const auto& data : inputs) {
        const FileInfo info = info_for("large", data, data);
        const std::string reference = encode(info, data, data, Kernel::plain);
        EXPECT_EQ(encode(info, data, data, GetParam()), reference);
        EXPECT_EQ(encode(info, data, data, GetParam(), 65536 + 17), reference);
    }
}

INSTANTIATE_TEST_SUITE_P(AllKernels, Streaming,
                         ::testing::Values(Kernel::plain, Kernel::wide, Kernel::avx2),
                         [](const ::testing::TestParamInfo<Kernel>& p) {
                             return kernel_name(p.param);
                         });

TEST(Encoder, AutomaticPicksAnAvailableKernel) {
    const Encoder encoder;
    EXPECT_NE(encoder.kernel(), Kernel::automatic);
    EXPECT_TRUE(kernel_available(encoder.kernel()));
    EXPECT_EQ(encoder.kernel(), automatic_kernel());
}

TEST(Encoder, RefusesCallsOutOfTurnAndKeepsItsState) {
    const Bytes data = bytes_of("abc");
    std::vector<char> out(1024);
    const auto begin = [&](Encoder& e) { return e.begin(info_for("x", data), out); };

    Encoder fresh;
    EXPECT_EQ(fresh.update(std::as_bytes(std::span(data)), out).status, Status::out_of_order);
    EXPECT_EQ(fresh.end(out).status, Status::out_of_order);

    Encoder encoder;
    ASSERT_EQ(begin(encoder).status, Status::ok);
    EXPECT_EQ(begin(encoder).status, Status::out_of_order);
    EXPECT_EQ(encoder.end(out).status, Status::too_little_data);
    const Bytes four = bytes_of("abcd");
    const Written too_much = encoder.update(std::as_bytes(std::span(four)), out);
    EXPECT_EQ(too_much.status, Status::too_much_data);
    EXPECT_EQ(too_much.size, 0u);
    EXPECT_EQ(encoder.update(std::as_bytes(std::span(data)), std::span(out).first(10)).status,
              Status::output_too_small);
    // None of the refused calls took anything: the stream still comes out
    // whole and right.
    const std::string expected = encode(info_for("x", data), data, {});
    Written w = encoder.update(std::as_bytes(std::span(data)), out);
    ASSERT_EQ(w.status, Status::ok);
    std::string rest(out.data(), w.size);
    w = encoder.end(out);
    ASSERT_EQ(w.status, Status::ok);
    rest.append(out.data(), w.size);
    EXPECT_TRUE(expected.ends_with(rest));
    EXPECT_EQ(encoder.end(out).status, Status::out_of_order);
    EXPECT_EQ(encoder.update({}, out).status, Status::out_of_order);
}

TEST(Encoder, ChecksTheNameAndTheOutputRoom) {
    std::vector<char> out(Encoder::kBeginBound);
    const std::string longest(63, 'n');
    const std::string too_long(64, 'n');
    struct NameCase {
        std::string name;
        Status status;
    };
    const NameCase cases[] = {{"", Status::name_empty},
                              {too_long, Status::name_too_long},
                              {"a", Status::ok},
                              {longest, Status::ok}};
    for (const auto& c : cases) {
        Encoder encoder;
        FileInfo info;
        info.name = c.name;
        EXPECT_EQ(encoder.begin(info, out).status, c.status) << c.name.size();
    }
    Encoder encoder;
    FileInfo info;
    info.name = longest;
    EXPECT_EQ(encoder.begin(info, std::span(out).first(Encoder::kBeginBound - 1)).status,
              Status::output_too_small);
    EXPECT_EQ(encoder.begin(info, out).status, Status::ok) << "a refused begin changes nothing";
}

TEST(Encoder, TheBoundsHoldForTheWorstInputs) {
    // Lone markers double; runs of markers and long names fill the header.
    Bytes lone_markers;
    for (int i = 0; i < 3000; ++i) {
        lone_markers.push_back(0x90);
        lone_markers.push_back(static_cast<std::uint8_t>(i));
    }
    const std::string name(63, '\x90');
    for (const auto& data : {lone_markers, Bytes(3000, 0x90), random_bytes(3000, 5)}) {
        FileInfo info = info_for(name, data, data);
        Encoder encoder;
        std::vector<char> out(Encoder::kBeginBound);
        Written w = encoder.begin(info, out);
        ASSERT_EQ(w.status, Status::ok);
        EXPECT_LE(w.size, Encoder::kBeginBound);
        for (int fork = 0; fork < 2; ++fork) {
            out.assign(Encoder::update_bound(data.size()), 0);
            w = encoder.update(std::as_bytes(std::span(data)), out);
            ASSERT_EQ(w.status, Status::ok);
        }
        out.assign(Encoder::kEndBound, 0);
        EXPECT_EQ(encoder.end(out).status, Status::ok);
    }
}

TEST(Status, EveryStatusHasANameAndAText) {
    EXPECT_STREQ(status_name(Status::too_much_data), "too_much_data");
    EXPECT_STREQ(status_message(Status::ok), "success");
    EXPECT_STREQ(status_name(static_cast<Status>(200)), "unknown");
    EXPECT_STREQ(status_message(static_cast<Status>(200)), "unknown status");
    for (int s = 0; s <= static_cast<int>(Status::output_too_small); ++s) {
        EXPECT_STRNE(status_name(static_cast<Status>(s)), "unknown");
    }
}

} // namespace
} // namespace binhex::test
