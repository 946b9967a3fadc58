#include "binhex/binhex.h"

#include "alphabet.h"
#include "crc16.h"
#include "kernel_ops.h"
#include "run_length.h"
#include "text_writer.h"

#include <algorithm>

namespace binhex {
namespace {

using detail::KernelOps;
using detail::TextWriter;

constexpr char kIntroduction[] = "(This file must be converted with BinHex 4.0)\n";
constexpr std::size_t kNameMax = 63;
constexpr std::size_t kHeaderMax = 1 + kNameMax + 1 + 4 + 4 + 2 + 4 + 4;

// Fork bytes are taken in blocks this large: the CRC pass and the encoding
// pass then find them still in the first-level cache.
constexpr std::size_t kBlock = 16384;

std::uint8_t* put_u16(std::uint16_t value, std::uint8_t* out) {
    *out++ = static_cast<std::uint8_t>(value >> 8);
    *out++ = static_cast<std::uint8_t>(value);
    return out;
}

std::uint8_t* put_u32(std::uint32_t value, std::uint8_t* out) {
    out = put_u16(static_cast<std::uint16_t>(value >> 16), out);
    return put_u16(static_cast<std::uint16_t>(value), out);
}

const KernelOps& resolve(Kernel& kernel) {
    if (kernel == Kernel::automatic || !kernel_available(kernel)) {
        kernel = automatic_kernel();
    }
    return detail::kernel_ops(kernel);
}

} // namespace

Encoder::Encoder(Kernel kernel) noexcept : ops_(&resolve(kernel)), kernel_(kernel) {}

// Gathers a block's run-length output so that it turns into characters in one
// pass: runs break data into stretches, and encoding each stretch on its own
// would keep falling off the fast path.
struct Encoder::Stage {
    std::uint8_t bytes[2 * kBlock + detail::kPieceMax];
};

char* Encoder::feed(const std::uint8_t* bytes, std::size_t size, char* out) noexcept {
    Stage stage;
    const std::uint8_t* end = ops_->run_length_encode(run_, bytes, size, stage.bytes);
    TextWriter writer(*ops_, text_, out);
    writer.put(stage.bytes, static_cast<std::size_t>(end - stage.bytes));
    return writer.out();
}

char* Encoder::finish_fork(char* out) noexcept {
    std::uint8_t crc[2];
    put_u16(crc_, crc);
    out = feed(crc, sizeof crc, out);
    crc_ = 0;
    if (phase_ == Phase::data) {
        phase_ = Phase::resource;
        fork_left_ = resource_length_;
        if (fork_left_ == 0) {
            return finish_fork(out);
        }
    } else {
        phase_ = Phase::complete;
    }
    return out;
}

Written Encoder::begin(const FileInfo& info, std::span<char> out) noexcept {
    if (phase_ != Phase::fresh) {
        return {Status::out_of_order, 0};
    }
    if (info.name.empty()) {
        return {Status::name_empty, 0};
    }
    if (info.name.size() > kNameMax) {
        return {Status::name_too_long, 0};
    }
    if (out.size() < kBeginBound) {
        return {Status::output_too_small, 0};
    }
    char* next = out.data();
    // A blank line between the introduction and the data: some decoders only
    // look for the opening colon from the line after next.
    next = std::copy_n(kIntroduction, sizeof kIntroduction - 1, next);
    *next++ = '\n';
    *next++ = ':';
    text_.column = 1;

    std::uint8_t header[kHeaderMax + 2];
    std::uint8_t* p = header;
    *p++ = static_cast<std::uint8_t>(info.name.size());
    p = std::copy(info.name.begin(), info.name.end(), p);
    *p++ = 0; // version
    p = std::copy(info.type.begin(), info.type.end(), p);
    p = std::copy(info.creator.begin(), info.creator.end(), p);
    p = put_u16(info.finder_flags & kWrittenFinderFlags, p);
    p = put_u32(info.data_length, p);
    p = put_u32(info.resource_length, p);
    p = put_u16(detail::crc16_bytewise(0, header, static_cast<std::size_t>(p - header)), p);
    next = feed(header, static_cast<std::size_t>(p - header), next);

    phase_ = Phase::data;
    crc_ = 0;
    fork_left_ = info.data_length;
    resource_length_ = info.resource_length;
    if (fork_left_ == 0) {
        next = finish_fork(next);
    }
    return {Status::ok, static_cast<std::size_t>(next - out.data())};
}

Written Encoder::update(std::span<const std::byte> fork_bytes, std::span<char> out) noexcept {
    std::uint64_t left = 0;
    switch (phase_) {
    case Phase::fresh:
    case Phase::ended:
        return {Status::out_of_order, 0};
    case Phase::data:
        left = std::uint64_t{fork_left_} + resource_length_;
        break;
    case Phase::resource:
        left = fork_left_;
        break;
    case Phase::complete:
        break;
    }
    if (fork_bytes.size() > left) {
        return {Status::too_much_data, 0};
    }
    if (out.size() < update_bound(fork_bytes.size())) {
        return {Status::output_too_small, 0};
    }
    char* next = out.data();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(fork_bytes.data());
    std::size_t size = fork_bytes.size();
    while (size > 0) {
        const std::size_t take = std::min({size, std::size_t{fork_left_}, kBlock});
        crc_ = ops_->crc_update(crc_, bytes, take);
        next = feed(bytes, take, next);
        fork_left_ -= static_cast<std::uint32_t>(take);
        if (fork_left_ == 0) {
            next = finish_fork(next);
        }
        bytes += take;
        size -= take;
    }
    return {Status::ok, static_cast<std::size_t>(next - out.data())};
}

Written Encoder::end(std::span<char> out) noexcept {
    if (phase_ == Phase::fresh || phase_ == Phase::ended) {
        return {Status::out_of_order, 0};
    }
    if (phase_ != Phase::complete) {
        return {Status::too_little_data, 0};
    }
    if (out.size() < kEndBound) {
        return {Status::output_too_small, 0};
    }
    std::uint8_t last_run[detail::kPieceMax];
    const std::uint8_t* last_run_end = detail::run_length_flush(run_, last_run);
    TextWriter writer(*ops_, text_, out.data());
    writer.put(last_run, static_cast<std::size_t>(last_run_end - last_run));
    writer.finish();
    char* next = writer.out();
    *next++ = ':';
    *next++ = '\n';
    phase_ = Phase::ended;
    return {Status::ok, static_cast<std::size_t>(next - out.data())};
}

} // namespace binhex
