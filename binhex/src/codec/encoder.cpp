#include "binhex/binhex.h"

#include "alphabet.h"
#include "crc16.h"
#include "kernel_ops.h"
#include "line_writer.h"
#include "run_length.h"

#include <algorithm>
#include <cstring>

namespace binhex {
namespace {

using detail::KernelOps;

constexpr char kIntroduction[] = "(This file must be converted with BinHex 4.0)\n";
constexpr std::size_t kNameMax = 63;
constexpr std::size_t kHeaderMax = 1 + kNameMax + 1 + 4 + 4 + 2 + 4 + 4;

// Fork bytes are taken in blocks this large, so that each block's
// run-length output and characters stay in the first-level cache.
constexpr std::size_t kBlock = 8192;

// The block, a fork CRC and the CRC of an empty resource fork after it.
constexpr std::size_t kStageBytes =
    detail::run_length_bound(kBlock) + 2 * detail::run_length_bound(2);

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

// Scratch space for one call: run-length output waits in `stage` until it is
// turned into characters, with two bytes of room in front for the bytes held
// over from the last call that did not fill a group of three.
struct Encoder::Sink {
    static constexpr std::size_t kFront = 2;
    static constexpr std::size_t kSlack = 16;

    char* out;
    std::size_t staged = 0;
    std::uint8_t stage[kFront + kStageBytes + kSlack];
    char chars[(kFront + kStageBytes) / 3 * 4];

    explicit Sink(char* first) : out(first) {}
    std::uint8_t* stage_end() { return stage + kFront + staged; }
};

Encoder::Encoder(Kernel kernel) noexcept : ops_(&resolve(kernel)), kernel_(kernel) {}

void Encoder::feed(const std::uint8_t* bytes, std::size_t size, Sink& sink) noexcept {
    std::uint8_t* end = detail::run_length_encode(*ops_, run_, bytes, size, sink.stage_end());
    sink.staged = static_cast<std::size_t>(end - (sink.stage + Sink::kFront));
}

void Encoder::drain(Sink& sink) noexcept {
    std::uint8_t* first = sink.stage + Sink::kFront - carry_count_;
    std::memcpy(first, carry_.data(), carry_count_);
    const std::size_t total = carry_count_ + sink.staged;
    const std::size_t groups = total / 3;
    ops_->encode_groups(first, groups, sink.chars);
    carry_count_ = static_cast<std::uint8_t>(total - 3 * groups);
    std::memcpy(carry_.data(), first + 3 * groups, carry_count_);
    sink.staged = 0;
    sink.out = detail::put_lines(sink.chars, 4 * groups, sink.out, column_);
}

void Encoder::finish_fork(Sink& sink) noexcept {
    std::uint8_t crc[2];
    put_u16(crc_, crc);
    feed(crc, sizeof crc, sink);
    crc_ = 0;
    if (phase_ == Phase::data) {
        phase_ = Phase::resource;
        fork_left_ = resource_length_;
        if (fork_left_ == 0) {
            finish_fork(sink);
        }
    } else {
        phase_ = Phase::complete;
    }
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
    Sink sink(out.data());
    // A blank line between the introduction and the data: some decoders only
    // look for the opening colon from the line after next.
    std::memcpy(sink.out, kIntroduction, sizeof kIntroduction - 1);
    sink.out += sizeof kIntroduction - 1;
    *sink.out++ = '\n';
    *sink.out++ = ':';
    column_ = 1;

    std::uint8_t header[kHeaderMax + 2];
    std::uint8_t* p = header;
    *p++ = static_cast<std::uint8_t>(info.name.size());
    std::memcpy(p, info.name.data(), info.name.size());
    p += info.name.size();
    *p++ = 0; // version
    p = std::copy(info.type.begin(), info.type.end(), p);
    p = std::copy(info.creator.begin(), info.creator.end(), p);
    p = put_u16(info.finder_flags & kWrittenFinderFlags, p);
    p = put_u32(info.data_length, p);
    p = put_u32(info.resource_length, p);
    p = put_u16(detail::crc16_bytewise(0, header, static_cast<std::size_t>(p - header)), p);
    feed(header, static_cast<std::size_t>(p - header), sink);

    phase_ = Phase::data;
    crc_ = 0;
    fork_left_ = info.data_length;
    resource_length_ = info.resource_length;
    if (fork_left_ == 0) {
        finish_fork(sink);
    }
    drain(sink);
    return {Status::ok, static_cast<std::size_t>(sink.out - out.data())};
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
    Sink sink(out.data());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(fork_bytes.data());
    std::size_t size = fork_bytes.size();
    while (size > 0) {
        const std::size_t take = std::min({size, std::size_t{fork_left_}, kBlock});
        crc_ = ops_->crc_update(crc_, bytes, take);
        feed(bytes, take, sink);
        fork_left_ -= static_cast<std::uint32_t>(take);
        if (fork_left_ == 0) {
            finish_fork(sink);
        }
        drain(sink);
        bytes += take;
        size -= take;
    }
    return {Status::ok, static_cast<std::size_t>(sink.out - out.data())};
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
    Sink sink(out.data());
    std::uint8_t* end = detail::run_length_flush(run_, sink.stage_end());
    sink.staged = static_cast<std::size_t>(end - (sink.stage + Sink::kFront));
    drain(sink);
    if (carry_count_ > 0) {
        // The last bits are padded with zeros to a whole character; no
        // character is written for bits that were never there.
        std::uint8_t group[3] = {};
        std::memcpy(group, carry_.data(), carry_count_);
        char chars[4];
        detail::plain_kernel_ops().encode_groups(group, 1, chars);
        sink.out = detail::put_lines(chars, carry_count_ + 1u, sink.out, column_);
        carry_count_ = 0;
    }
    *sink.out++ = ':';
    *sink.out++ = '\n';
    phase_ = Phase::ended;
    return {Status::ok, static_cast<std::size_t>(sink.out - out.data())};
}

} // namespace binhex
