// AppleDouble companions built byte by byte: what the reader takes from them,
// and how it tells a damaged companion from a file that is not one at all.
#include "failure.h"
#include "mac_metadata.h"

#include "temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>

namespace binhex::cli {
namespace {

struct Entry {
    std::uint32_t id;
    std::string bytes;
    // Overrides the entry's recorded place, to describe a damaged file.
    std::optional<std::uint32_t> offset = std::nullopt;
    std::optional<std::uint32_t> length = std::nullopt;
};

void put32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>(v >> shift);
    }
}

std::string apple_double(const std::vector<Entry>& entries, std::uint32_t magic = 0x00051607) {
    std::string out;
    put32(out, magic);
    put32(out, 0x00020000);
    out += std::string(16, '\0');
    out += static_cast<char>(entries.size() >> 8);
    out += static_cast<char>(entries.size());
    std::uint32_t offset = static_cast<std::uint32_t>(26 + 12 * entries.size());
    std::string bodies;
    for (const auto& e : entries) {
        put32(out, e.id);
        put32(out, e.offset.value_or(offset));
        put32(out, e.length.value_or(static_cast<std::uint32_t>(e.bytes.size())));
        offset += static_cast<std::uint32_t>(e.bytes.size());
        bodies += e.bytes;
    }
    return out + bodies;
}

std::string finder_info(const char* type, const char* creator, std::uint16_t flags) {
    std::string info = std::string(type, 4) + std::string(creator, 4);
    info += static_cast<char>(flags >> 8);
    info += static_cast<char>(flags);
    return info + std::string(22, '\0');
}

class AppleDoubleTest : public ::testing::Test {
  protected:
    MacMetadata read() {
        dir_fd_.reset(::open(dir_.path().c_str(), O_PATH | O_DIRECTORY));
        return read_mac_metadata(dir_fd_.get(), "file");
    }
    test::TempDir dir_;
    UniqueFd dir_fd_;
};

TEST_F(AppleDoubleTest, NoCompanionMeansNothing) {
    const MacMetadata m = read();
    EXPECT_EQ(m.type, (std::array<std::uint8_t, 4>{}));
    EXPECT_EQ(m.finder_flags, 0);
    EXPECT_FALSE(m.resource_fd);
    EXPECT_EQ(m.resource.length, 0u);
}

TEST_F(AppleDoubleTest, TakesTheResourceForkAndFinderInformation) {
    // Entries out of order and one the reader has no use for (3, the real
    // name) between them.
    dir_.write("._file", apple_double({{3, "ignored"},
                                       {2, "RESOURCE BYTES"},
                                       {9, finder_info("APPL", "ttxt", 0x4123)}}));
    const MacMetadata m = read();
    EXPECT_EQ(std::string(m.type.begin(), m.type.end()), "APPL");
    EXPECT_EQ(std::string(m.creator.begin(), m.creator.end()), "ttxt");
    EXPECT_EQ(m.finder_flags, 0x4123) << "masking is the encoder's job";
    ASSERT_TRUE(m.resource_fd);
    EXPECT_EQ(m.resource.length, 14u);
    std::string bytes(m.resource.length, '\0');
    ASSERT_EQ(::pread(m.resource_fd.get(), bytes.data(), bytes.size(),
                      static_cast<off_t>(m.resource.offset)),
              14);
    EXPECT_EQ(bytes, "RESOURCE BYTES");
}

TEST_F(AppleDoubleTest, EitherEntryMayBeMissingOrEmpty) {
    dir_.write("._file", apple_double({{9, finder_info("TEXT", "R*ch", 0)}, {2, ""}}));
    MacMetadata m = read();
    EXPECT_EQ(std::string(m.type.begin(), m.type.end()), "TEXT");
    EXPECT_FALSE(m.resource_fd) << "an empty resource fork needs no reading";

    dir_.write("._file", apple_double({{2, "xyz"}}));
    m = read();
    EXPECT_EQ(m.type, (std::array<std::uint8_t, 4>{}));
    EXPECT_EQ(m.resource.length, 3u);
}

TEST_F(AppleDoubleTest, OtherFilesByThatNameAreNotCompanions) {
    dir_.write("._file", "just some text that happens to have this name");
    EXPECT_FALSE(read().resource_fd);
    dir_.write("._file", apple_double({{2, "xyz"}}, 0x00051600));
    EXPECT_FALSE(read().resource_fd) << "AppleSingle is not a companion";
    dir_.write("._file", "");
    EXPECT_FALSE(read().resource_fd);
    std::filesystem::remove(dir_.path() / "._file");
    std::filesystem::create_directory(dir_.path() / "._file");
    EXPECT_FALSE(read().resource_fd);
}

TEST_F(AppleDoubleTest, DamagedCompanionsAreFailures) {
    const std::vector<std::string> damaged = {
        apple_double({{2, "xyz", std::nullopt, 1000}}),
        apple_double({{2, "xyz", 0xFFFFFFF0, std::nullopt}}),
        apple_double({{9, "short"}}),
        apple_double({{2, "xyz"}}).substr(0, 30),
    };
    for (const auto& bytes : damaged) {
        dir_.write("._file", bytes);
        EXPECT_THROW(read(), Failure) << bytes.size();
    }
}

// A companion's header is 26 bytes: magic number, version, filler, entry count.
TEST_F(AppleDoubleTest, ACompanionCutInsideItsHeaderIsDamaged) {
    const std::string header = apple_double({});
    ASSERT_EQ(header.size(), 26u);
    for (std::size_t length = 4; length < header.size(); ++length) {
        dir_.write("._file", header.substr(0, length));
        try {
            read();
            ADD_FAILURE() << length << " bytes were taken as no companion";
        } catch (const Failure& failure) {
            EXPECT_STREQ(failure.what(), "its AppleDouble companion is damaged") << length;
        }
    }
}

TEST_F(AppleDoubleTest, AShortFileWithoutTheMagicNumberIsNoCompanion) {
    const std::string other = apple_double({}, 0x00051600);
    for (std::size_t length = 0; length < other.size(); ++length) {
        dir_.write("._file", other.substr(0, length));
        EXPECT_NO_THROW(read()) << length;
    }
    for (std::size_t length = 0; length < 4; ++length) {
        dir_.write("._file", apple_double({}).substr(0, length));
        EXPECT_NO_THROW(read()) << "a part of the magic number alone, " << length << " bytes";
    }
}

} // namespace
} // namespace binhex::cli
