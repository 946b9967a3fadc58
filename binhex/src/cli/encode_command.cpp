#include "encode_command.h"

#include "encode_pipeline.h"
#include "failure.h"
#include "input_file.h"
#include "mac_metadata.h"
#include "mac_name.h"
#include "message.h"
#include "output_file.h"
#include "path_parts.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <system_error>
#include <unistd.h>

namespace binhex::cli {
namespace {

UniqueFd open_directory(const std::string& path, int flags, const char* what) {
    UniqueFd fd(::open(path.c_str(), flags | O_DIRECTORY | O_CLOEXEC));
    if (!fd) {
        fail_with_errno(std::string(what) + printable_path(path), errno);
    }
    return fd;
}

// A folder one may write into but not list (a drop box, mode 0333 or 1733)
// cannot be opened for reading, which syncing it needs; a descriptor that only
// names it is enough to write the file there. The folder then goes unsynced,
// but the file itself is still synced before it gets its name.
UniqueFd open_destination(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) {
        return fd;
    }
    if (errno != EACCES) {
        fail_with_errno("cannot write into " + printable_path(path), errno);
    }
    return open_directory(path, O_PATH, "cannot write into ");
}

void encode(const EncodeRequest& request) {
    InputFile input = open_input_file(request.file);
    const PathParts parts = split_path(request.file);
    const UniqueFd source_directory = open_directory(parts.directory, O_PATH, "cannot open ");
    MacMetadata metadata = read_mac_metadata(source_directory.get(), parts.name);

    const std::string destination = request.directory.value_or(parts.directory);
    const UniqueFd destination_fd = open_destination(destination);

    const std::string mac_name = mac_name_from_file_name(parts.name);
    FileInfo info;
    info.name = mac_name;
    info.type = metadata.type;
    info.creator = metadata.creator;
    info.finder_flags = metadata.finder_flags;
    info.data_length = input.size;
    info.resource_length = metadata.resource.length;

    OutputFile output(destination_fd.get(), destination, parts.name);
    encode_to_file(info, {input.fd.get(), metadata.resource_fd.get(), metadata.resource}, output);
    const std::string path = join_path(destination, output.publish());
    // The name is known only once the file has it, so the path cannot go
    // first; and a run that fails leaves no file behind.
    if (const int error = print_result(path + "\n")) {
        output.withdraw();
        throw Failure(result_error(error));
    }
}

} // namespace

int run_encode(const EncodeRequest& request) {
    try {
        encode(request);
        return kExitSuccess;
    } catch (const Failure& failure) {
        print_error(request.file, failure.what());
    } catch (const std::bad_alloc&) {
        print_error(request.file, error_text(ENOMEM));
    } catch (const std::system_error& error) {
        print_error(request.file, error.what());
    }
    return kExitFailure;
}

} // namespace binhex::cli
