// The .hqx being written. It has no name, or a hidden one, until it is
// complete and on disk; only then does it get its real name, the first free
// one of "NAME.hqx", "NAME 2.hqx", "NAME 3.hqx", ... taken without a window in
// which another program could take it too. Until then, any failure or signal
// leaves nothing behind. Where one of these names would be too long for the
// file system, NAME is shortened to fit (see fitted_name.h), so that the work
// done is never lost to a name.
#pragma once

#include "fitted_name.h"
#include "unique_fd.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace binhex::cli {

class OutputFile {
  public:
    enum class Temporary {
        // A file without a name (O_TMPFILE) where the file system has them;
        // even SIGKILL leaves nothing. Otherwise a hidden name.
        automatic,
        // Always the hidden name ".NAME.hqx.XXXXXX".
        named,
    };

    // Creates the temporary in `directory_fd`; `directory` is its path for
    // messages, `file_name` the name of the file being encoded. Throws Failure.
    // `directory_fd` may be one that only names the directory (O_PATH); the
    // directory is then not synced.
    OutputFile(int directory_fd, std::string directory, const std::string& file_name,
               Temporary temporary = Temporary::automatic);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    // Removes the temporary unless it was published.
    ~OutputFile();

    // Throws Failure (a full disk, a file size limit, an I/O error).
    void write_all(const char* bytes, std::size_t size);

    // Flushes the file to disk, gives it its name and flushes the directory.
    // Returns the name taken. Throws Failure; the temporary is then removed.
    std::string publish();

    // Takes the published name away again, when what the file was made for
    // failed after all; a file that has replaced it since is left alone.
    void withdraw();

    // The hidden name, or empty for a file without a name.
    const std::string& temporary_name() const { return temporary_name_; }

    // The name for the attempt-th free name: 1 gives "NAME.hqx", 2 gives
    // "NAME 2.hqx"; NAME is shortened where the name would be longer than
    // `name_max` bytes.
    static std::string candidate_name(const std::string& file_name, unsigned attempt,
                                      std::size_t name_max = kUsualNameMax);

  private:
    [[noreturn]] void fail(int error) const;
    bool link_as(const std::string& name);
    void discard();

    int directory_fd_;
    std::string directory_;
    std::string file_name_;
    std::size_t name_max_;
    UniqueFd fd_;
    std::string temporary_name_;
    std::string published_name_;
    bool published_ = false;
    std::uint64_t written_ = 0;
    std::uint64_t flushed_ = 0;
};

} // namespace binhex::cli
