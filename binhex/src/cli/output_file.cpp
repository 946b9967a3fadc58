#include "output_file.h"

#include "cleanup_on_signal.h"
#include "failure.h"
#include "message.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace binhex::cli {
namespace {

// Asking the kernel to start writing back every few megabytes keeps the final
// fsync short and lets the disk work while we encode.
constexpr std::uint64_t kWritebackStep = std::uint64_t{8} << 20;

// A file without a name gets one through its /proc/self/fd link, which needs
// no privilege (AT_EMPTY_PATH would).
bool can_link_unnamed_files() {
    return ::access("/proc/self/fd", X_OK) == 0;
}

std::string random_suffix() {
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[6] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        // Only the uniqueness matters, and O_EXCL guards that anyway.
        const auto seed = static_cast<unsigned>(::getpid()) ^ static_cast<unsigned>(clock());
        for (std::size_t i = 0; i < sizeof bytes; ++i) {
            bytes[i] = static_cast<unsigned char>(seed >> (i * 5));
        }
    }
    std::string suffix;
    for (const unsigned char b : bytes) {
        suffix += kChars[b % (sizeof kChars - 1)];
    }
    return suffix;
}

} // namespace

std::string OutputFile::candidate_name(const std::string& file_name, unsigned attempt,
                                       std::size_t name_max) {
    const std::string suffix = attempt <= 1 ? ".hqx" : " " + std::to_string(attempt) + ".hqx";
    return fit_name(file_name, suffix, name_max);
}

OutputFile::OutputFile(int directory_fd, std::string directory, const std::string& file_name,
                       Temporary temporary)
    : directory_fd_(directory_fd), directory_(std::move(directory)), file_name_(file_name),
      name_max_(name_max(directory_fd)) {
    if (temporary == Temporary::automatic && can_link_unnamed_files()) {
        fd_.reset(::openat(directory_fd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        if (fd_) {
            return;
        }
        // These say the file system has no unnamed files; anything else
        // (no permission, read-only) would stop a named one as well.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT) {
            fail(errno);
        }
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Shortened like the final names, so that a long name fits here too.
        const std::string name =
            "." + fit_name(file_name, ".hqx." + random_suffix(), name_max_ - 1);
        CleanupSignalsHeld held;
        fd_.reset(
            ::openat(directory_fd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd_) {
            temporary_name_ = name;
            arm_cleanup(directory_fd_, name.c_str());
            return;
        }
        if (errno != EEXIST) {
            fail(errno);
        }
    }
    fail(EEXIST);
}

OutputFile::~OutputFile() {
    if (!published_) {
        discard();
    }
}

void OutputFile::fail(int error) const {
    throw Failure("cannot write into " + printable_path(directory_) + ": " + error_text(error));
}

void OutputFile::discard() {
    if (!temporary_name_.empty()) {
        CleanupSignalsHeld held;
        ::unlinkat(directory_fd_, temporary_name_.c_str(), 0);
        disarm_cleanup();
        temporary_name_.clear();
    }
    fd_.reset();
}

void OutputFile::write_all(const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd_.get(), bytes, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            fail(errno);
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
        written_ += static_cast<std::uint64_t>(n);
    }
    if (written_ - flushed_ >= kWritebackStep) {
        ::sync_file_range(fd_.get(), static_cast<off_t>(flushed_),
                          static_cast<off_t>(written_ - flushed_), SYNC_FILE_RANGE_WRITE);
        flushed_ = written_;
    }
}

bool OutputFile::link_as(const std::string& name) {
    if (temporary_name_.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
        if (::linkat(AT_FDCWD, self.c_str(), directory_fd_, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return true;
        }
        if (errno == EEXIST) {
            return false;
        }
        fail(errno);
    }
    if (::renameat2(directory_fd_, temporary_name_.c_str(), directory_fd_, name.c_str(),
                    RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        fail(errno);
    }
    // No RENAME_NOREPLACE here: a hard link refuses to replace just the same.
    if (::linkat(directory_fd_, temporary_name_.c_str(), directory_fd_, name.c_str(), 0) != 0) {
        if (errno == EEXIST) {
            return false;
        }
        fail(errno);
    }
    ::unlinkat(directory_fd_, temporary_name_.c_str(), 0);
    return true;
}

std::string OutputFile::publish() {
    if (::fsync(fd_.get()) != 0) {
        fail(errno);
    }
    CleanupSignalsHeld held;
    for (unsigned attempt = 1;; ++attempt) {
        if (attempt == 0) {
            fail(EEXIST);
        }
        const std::string name = candidate_name(file_name_, attempt, name_max_);
        if (link_as(name)) {
            published_ = true;
            published_name_ = name;
            disarm_cleanup();
            temporary_name_.clear();
            // The descriptor stays open: it tells withdraw() our file from one
            // that took the name since. The new name is only safe on disk once
            // the directory is; a descriptor that only names the directory
            // cannot sync it (EBADF).
            ::fsync(directory_fd_);
            return name;
        }
    }
}

void OutputFile::withdraw() {
    struct stat ours {};
    struct stat named {};
    if (!published_ || ::fstat(fd_.get(), &ours) != 0 ||
        ::fstatat(directory_fd_, published_name_.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        ours.st_dev != named.st_dev || ours.st_ino != named.st_ino) {
        return;
    }
    ::unlinkat(directory_fd_, published_name_.c_str(), 0);
    ::fsync(directory_fd_);
}

} // namespace binhex::cli
