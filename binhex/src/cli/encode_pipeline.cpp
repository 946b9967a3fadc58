#include "encode_pipeline.h"

#include "channel.h"
#include "failure.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace binhex::cli {
namespace {

// Large enough that each system call moves plenty, small enough that all the
// buffers together stay near 3 MiB.
constexpr std::size_t kInputChunk = 256 * 1024;
constexpr std::size_t kOutputChunk =
    Encoder::update_bound(kInputChunk) + Encoder::kBeginBound + Encoder::kEndBound;
constexpr int kBuffersPerSide = 3;

struct Buffer {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
};

// Reads until `size` bytes have come or the file ends; returns how many came.
// With an offset it uses pread and leaves the file offset alone.
std::size_t read_up_to(int fd, char* bytes, std::size_t size, std::optional<std::uint64_t> offset,
                       const char* what) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n =
            offset ? ::pread(fd, bytes + done, size - done, static_cast<off_t>(*offset + done))
                   : ::read(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            fail_with_errno(what, errno);
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

class ForkReader {
  public:
    ForkReader(Channel<Buffer>& empty, Channel<Buffer>& full) : empty_(empty), full_(full) {}

    void run(const ForkSources& sources, std::uint32_t data_length) {
        static constexpr char kChanged[] = "it changed size while being read";
        if (!pump(sources.data_fd, data_length, std::nullopt, "", kChanged)) {
            return;
        }
        char probe;
        if (read_up_to(sources.data_fd, &probe, 1, std::nullopt, "") != 0) {
            throw Failure(kChanged);
        }
        if (sources.resource.length > 0) {
            pump(sources.resource_fd, sources.resource.length, sources.resource.offset,
                 "cannot read its AppleDouble companion",
                 "its AppleDouble companion changed while being read");
        }
    }

  private:
    // Returns false when the other side has stopped.
    bool pump(int fd, std::uint64_t length, std::optional<std::uint64_t> offset,
              const char* read_error, const char* changed) {
        while (length > 0) {
            auto buffer = empty_.pop();
            if (!buffer) {
                return false;
            }
            const std::size_t want =
                static_cast<std::size_t>(std::min<std::uint64_t>(length, kInputChunk));
            buffer->size = read_up_to(fd, buffer->bytes.get(), want, offset, read_error);
            if (buffer->size < want) {
                throw Failure(changed);
            }
            length -= want;
            if (offset) {
                *offset += want;
            }
            if (!full_.push(std::move(*buffer))) {
                return false;
            }
        }
        return true;
    }

    Channel<Buffer>& empty_;
    Channel<Buffer>& full_;
};

// Ends both helper threads however the encoding ends.
class Workers {
  public:
    explicit Workers(std::initializer_list<Channel<Buffer>*> channels) : channels_(channels) {}
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;
    ~Workers() { stop(); }

    std::thread reader;
    std::thread writer;

    void stop() {
        for (auto* channel : channels_) {
            channel->cancel();
        }
        join();
    }
    void join() {
        if (reader.joinable()) {
            reader.join();
        }
        if (writer.joinable()) {
            writer.join();
        }
    }

  private:
    std::vector<Channel<Buffer>*> channels_;
};

// Without this, a thread the system refuses shows as a bare "Resource
// temporarily unavailable".
template <typename Body> std::thread start_thread(Body&& body) {
    try {
        return std::thread(std::forward<Body>(body));
    } catch (const std::system_error& error) {
        fail_with_errno("cannot start the encoder thread", error.code().value());
    }
}

void check(const Written& written) {
    if (written.status != Status::ok) {
        throw Failure(std::string("cannot encode it: ") + status_message(written.status));
    }
}

} // namespace

void encode_to_file(const FileInfo& info, const ForkSources& sources, OutputFile& output) {
    Channel<Buffer> empty_in;
    Channel<Buffer> full_in;
    Channel<Buffer> empty_out;
    Channel<Buffer> full_out;
    for (int i = 0; i < kBuffersPerSide; ++i) {
        empty_in.push(Buffer{std::make_unique_for_overwrite<char[]>(kInputChunk)});
        empty_out.push(Buffer{std::make_unique_for_overwrite<char[]>(kOutputChunk)});
    }
    std::exception_ptr reader_error;
    std::exception_ptr writer_error;
    Workers workers{&empty_in, &full_in, &empty_out, &full_out};
    workers.reader = start_thread([&] {
        try {
            ForkReader(empty_in, full_in).run(sources, info.data_length);
            full_in.close();
        } catch (...) {
            reader_error = std::current_exception();
            full_in.cancel();
        }
    });
    workers.writer = start_thread([&] {
        try {
            while (auto buffer = full_out.pop()) {
                output.write_all(buffer->bytes.get(), buffer->size);
                empty_out.push(std::move(*buffer));
            }
        } catch (...) {
            writer_error = std::current_exception();
            empty_out.cancel();
            full_out.cancel();
        }
    });

    Encoder encoder;
    // Called when a side has stopped early; always throws.
    const auto stop_and_throw = [&] {
        workers.stop();
        if (reader_error) {
            std::rethrow_exception(reader_error);
        }
        if (writer_error) {
            std::rethrow_exception(writer_error);
        }
        throw Failure("the encoding stopped unexpectedly");
    };
    auto out = empty_out.pop();
    if (!out) {
        stop_and_throw();
    }
    Written written = encoder.begin(info, {out->bytes.get(), kOutputChunk});
    check(written);
    out->size = written.size;
    while (auto in = full_in.pop()) {
        written = encoder.update(std::as_bytes(std::span(in->bytes.get(), in->size)),
                                 {out->bytes.get() + out->size, kOutputChunk - out->size});
        check(written);
        out->size += written.size;
        empty_in.push(std::move(*in));
        full_out.push(std::move(*out));
        out = empty_out.pop();
        if (!out) {
            stop_and_throw();
        }
        out->size = 0;
    }
    // The reader has closed or cancelled its channel, so it is done or about
    // to be.
    workers.reader.join();
    if (reader_error) {
        stop_and_throw();
    }
    written = encoder.end({out->bytes.get() + out->size, kOutputChunk - out->size});
    check(written);
    out->size += written.size;
    full_out.push(std::move(*out));
    full_out.close();
    workers.writer.join();
    if (writer_error) {
        std::rethrow_exception(writer_error);
    }
}

} // namespace binhex::cli
