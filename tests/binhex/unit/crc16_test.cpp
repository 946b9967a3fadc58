// The CRC as the format computes it, bit by bit: each data bit is shifted into
// the register from the right, 0x1021 is added whenever a 1 falls out of the
// top, and two zero bytes are pushed through at the end. Every kernel's
// table or carry-less version must agree with it at every length.
#include "crc16.h"
#include "kernel_ops.h"

#include "encode_helpers.h"

#include <gtest/gtest.h>

namespace binhex::detail {
namespace {

std::uint16_t bit_serial_crc(const test::Bytes& data) {
    std::uint32_t reg = 0;
    const auto shift_in = [&](std::uint8_t byte) {
        for (int bit = 7; bit >= 0; --bit) {
            const bool out = (reg & 0x8000) != 0;
            reg = ((reg << 1) | ((byte >> bit) & 1)) & 0xFFFF;
            if (out) {
                reg ^= 0x1021;
            }
        }
    };
    for (const auto b : data) {
        shift_in(b);
    }
    shift_in(0);
    shift_in(0);
    return static_cast<std::uint16_t>(reg);
}

test::Bytes bytes_of(std::string_view text) {
    return {text.begin(), text.end()};
}

struct KnownCrc {
    test::Bytes data;
    std::uint16_t crc;
};

TEST(Crc16, KnownAnswers) {
    const KnownCrc cases[] = {
        {{}, 0x0000},
        {bytes_of("123456789"), 0x31C3},
        {bytes_of("A"), 0x58E5},
        {{0x00}, 0x0000},
        {{0xFF, 0xFF}, 0x1D0F},
        // A CRC appended to its own data leaves a remainder of zero.
        {{0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x31, 0xC3}, 0x0000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bit_serial_crc(c.data), c.crc);
        EXPECT_EQ(crc16_bytewise(0, c.data.data(), c.data.size()), c.crc);
    }
}

class Crc16Kernels : public ::testing::TestWithParam<Kernel> {
  protected:
    void SetUp() override {
        if (!kernel_available(GetParam())) {
            GTEST_SKIP() << kernel_name(GetParam()) << " needs instructions this processor lacks";
        }
    }
};

TEST_P(Crc16Kernels, MatchesTheBitSerialRegisterAtEveryLength) {
    const auto& ops = kernel_ops(GetParam());
    const test::Bytes data = test::random_bytes(600, 7);
    for (std::size_t size = 0; size <= data.size(); ++size) {
        const test::Bytes prefix(data.begin(), data.begin() + static_cast<long>(size));
        ASSERT_EQ(ops.crc_update(0, prefix.data(), prefix.size()), bit_serial_crc(prefix))
            << "length " << size;
    }
}

TEST_P(Crc16Kernels, CarriesOnAcrossSplitsAtAnyPoint) {
    const auto& ops = kernel_ops(GetParam());
    const test::Bytes data = test::random_bytes(1000, 8);
    const std::uint16_t whole = bit_serial_crc(data);
    for (std::size_t split = 0; split <= data.size(); split += 7) {
        const std::uint16_t first = ops.crc_update(0, data.data(), split);
        ASSERT_EQ(ops.crc_update(first, data.data() + split, data.size() - split), whole)
            << "split at " << split;
    }
}

TEST_P(Crc16Kernels, HandlesLongInputsAndAllOnes) {
    const auto& ops = kernel_ops(GetParam());
    const test::Bytes ones(100000, 0xFF);
    EXPECT_EQ(ops.crc_update(0, ones.data(), ones.size()),
              crc16_bytewise(0, ones.data(), ones.size()));
    const test::Bytes noise = test::random_bytes(1 << 20, 9);
    EXPECT_EQ(ops.crc_update(0, noise.data(), noise.size()),
              crc16_bytewise(0, noise.data(), noise.size()));
}

INSTANTIATE_TEST_SUITE_P(AllKernels, Crc16Kernels,
                         ::testing::Values(Kernel::plain, Kernel::wide, Kernel::avx2),
                         [](const ::testing::TestParamInfo<Kernel>& p) {
                             return kernel_name(p.param);
                         });

} // namespace
} // namespace binhex::detail
