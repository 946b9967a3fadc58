// Streaming BinHex 4.0 encoder.
//
// The encoder is push-style: begin() with the header fields, update() with the
// fork bytes in chunks of any size (the data fork first, then the resource
// fork), end() to close the stream. It keeps a few bytes of state and never
// allocates; the caller owns every output buffer, sized with the *_bound
// helpers. The output is the same whatever the chunk sizes are.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace binhex {

// The one list of outcomes; it generates both the enum and its texts so that
// the two cannot drift apart.
#define BINHEX_STATUS_LIST(X)                                                                      \
    X(ok, "success")                                                                               \
    X(name_empty, "the name is empty")                                                             \
    X(name_too_long, "the name is longer than 63 bytes")                                           \
    X(out_of_order, "the call does not fit the encoder's state")                                   \
    X(too_much_data, "more fork bytes than the header announced")                                  \
    X(too_little_data, "fewer fork bytes than the header announced")                               \
    X(output_too_small, "the output buffer is smaller than the bound")

enum class Status : std::uint8_t {
#define BINHEX_STATUS_ENUM(id, text) id,
    BINHEX_STATUS_LIST(BINHEX_STATUS_ENUM)
#undef BINHEX_STATUS_ENUM
};

// Returns the identifier of `status` ("too_much_data"), or "unknown" for a
// value outside the list. Never null.
const char* status_name(Status status) noexcept;

// Returns a short English sentence for `status`, or "unknown status" for a
// value outside the list. Never null.
const char* status_message(Status status) noexcept;

// The implementations of the hot loops. `plain` is the byte-at-a-time
// reference every other one is checked against; `wide` works a 64-bit word at
// a time and runs anywhere; `avx2` needs AVX2 and PCLMULQDQ.
enum class Kernel : std::uint8_t { automatic, plain, wide, avx2 };

// Returns whether `kernel` can run on this processor. `automatic`, `plain` and
// `wide` always can.
bool kernel_available(Kernel kernel) noexcept;

// Returns the kernel that `automatic` stands for on this processor: the
// fastest available one, chosen once on first use.
Kernel automatic_kernel() noexcept;

// Returns "automatic", "plain", "wide" or "avx2"; "unknown" otherwise.
const char* kernel_name(Kernel kernel) noexcept;

// The header of one file. `name` holds Mac OS Roman bytes, 1 to 63 of them.
// `finder_flags` is written masked with 0xF800: the lower bits are the
// Finder's own bookkeeping (inited, changed, busy, ...) and mean nothing on
// another machine.
struct FileInfo {
    std::string_view name;
    std::array<std::uint8_t, 4> type{};
    std::array<std::uint8_t, 4> creator{};
    std::uint16_t finder_flags = 0;
    std::uint32_t data_length = 0;
    std::uint32_t resource_length = 0;
};

inline constexpr std::uint16_t kWrittenFinderFlags = 0xF800;

namespace detail {
struct KernelOps;

// A run whose end has not been seen yet: `count` copies of `byte`.
struct PendingRun {
    std::uint32_t count = 0;
    std::uint8_t byte = 0;
};

// Where the character stream stands: bytes still waiting for a full group of
// three, and how many characters the current line has, the opening colon
// included.
struct TextState {
    std::array<std::uint8_t, 2> carry{};
    std::uint8_t carry_count = 0;
    std::uint8_t column = 0;
};
} // namespace detail

// What a call wrote: `size` bytes at the start of its output buffer. When
// `status` is not ok, `size` is 0 and the encoder is as it was before the call.
struct Written {
    Status status = Status::ok;
    std::size_t size = 0;
};

class Encoder {
  public:
    // Output room that begin() and end() need at most.
    static constexpr std::size_t kBeginBound = 384;
    static constexpr std::size_t kEndBound = 32;

    // Output room that update() needs at most for `fork_bytes` input bytes:
    // every byte may double (a lone 0x90 becomes 90 00), four characters carry
    // three bytes, one line break follows every 64 characters, and a fork's
    // CRC may be emitted along the way. Precondition: fork_bytes < SIZE_MAX / 3.
    static constexpr std::size_t update_bound(std::size_t fork_bytes) noexcept {
        return 3 * fork_bytes + 64;
    }

    // Precondition: kernel_available(kernel). An unavailable kernel falls back
    // to `automatic` rather than faulting on an illegal instruction.
    explicit Encoder(Kernel kernel = Kernel::automatic) noexcept;

    // The kernel this encoder runs, never `automatic`.
    Kernel kernel() const noexcept { return kernel_; }

    // Starts a stream: writes the introduction line, the opening colon and the
    // encoded header; when a fork is empty its CRC follows at once.
    // Precondition: the encoder is new. Errors: out_of_order (already begun),
    // name_empty, name_too_long, output_too_small (out.size() < kBeginBound).
    Written begin(const FileInfo& info, std::span<char> out) noexcept;

    // Encodes the next fork bytes: the data fork's bytes until data_length of
    // them have come, then the resource fork's. Each fork's CRC is written as
    // soon as its last byte has come. An empty chunk is fine.
    // Precondition: begin() succeeded, end() not yet called. Errors:
    // out_of_order, too_much_data (the chunk goes past the announced lengths;
    // none of it is taken), output_too_small (out.size() < update_bound(size)).
    Written update(std::span<const std::byte> fork_bytes, std::span<char> out) noexcept;

    // Finishes the stream: flushes the last run and the last partial group of
    // characters, writes the closing colon and a line break. The encoder is
    // then spent; a new stream needs a new encoder.
    // Precondition: every announced fork byte was given to update(). Errors:
    // out_of_order, too_little_data, output_too_small (out.size() < kEndBound).
    Written end(std::span<char> out) noexcept;

  private:
    enum class Phase : std::uint8_t { fresh, data, resource, complete, ended };

    struct Stage;
    char* feed(const std::uint8_t* bytes, std::size_t size, char* out) noexcept;
    char* finish_fork(char* out) noexcept;

    const detail::KernelOps* ops_;
    Kernel kernel_;
    Phase phase_ = Phase::fresh;
    std::uint16_t crc_ = 0;
    std::uint32_t fork_left_ = 0;
    std::uint32_t resource_length_ = 0;
    detail::PendingRun run_;
    detail::TextState text_;
};

} // namespace binhex
